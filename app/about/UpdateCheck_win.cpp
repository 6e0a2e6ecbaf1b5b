#include "app/about/UpdateCheck_win.h"

#include "gui/TextControl_win.h"
#include "gui/dialogs/FlexAsker_win.h"

#include <atomic>
#include <future>

namespace s::app::win {

std::function<bool(const std::u16string& title, const std::u16string& message)>
updateQuestion(s::lang::Localizer& lang, s::gui::drawer::Skinner* skins, HWND owner, s::gui::Scale scale)
{
    return [&lang, skins, owner, scale](const std::u16string& title, const std::u16string& message) {
        s::gui::dialogs::FlexAsker asker(lang, skins, scale);
        asker.setShowDontAsk(false);
        return asker.ask(owner, s::gui::toWide(title), s::gui::toWide(message));
    };
}

UpdateOutcome checkForUpdate(AppBase& app, HWND parent, s::gui::Scale scale)
{
    // A boot run's window is gone by now: the question then stands alone.
    const HWND owner = parent && IsWindow(parent) ? parent : nullptr;
    const UpdateCheckServices services{s::platform::systemClock(), s::platform::network(), s::platform::shell(),
                                       updateQuestion(app.lang(), app.skins(), owner, scale)};
    return checkForUpdate(app.settings(), app.lang(), services);
}

struct BackgroundUpdateCheck::Task final : s::thread::ITask {
    explicit Task(AppBase& program) : app(program) {}

    void run() override
    {
        // The question goes to the window thread; the promise lives in the
        // closure, so a closure the closed queue frees unrun breaks it and
        // the worker reads No.
        const auto ask = [this](const std::u16string& title, const std::u16string& message) {
            auto answer = std::make_shared<std::promise<bool>>();
            std::future<bool> future = answer->get_future();
            const bool posted = closures->post([this, answer, title, message] {
                answer->set_value(updateQuestion(app.lang(), app.skins(), window, scale)(title, message));
            });
            if (!posted)
                return false;
            answer.reset();
            try {
                return future.get();
            } catch (const std::future_error&) {
                return false;
            }
        };
        const UpdateCheckServices services{s::platform::systemClock(), s::platform::network(), s::platform::shell(),
                                           ask};
        outcome = checkForUpdate(app.settings(), app.lang(), services);
        done = true;
    }

    AppBase& app;
    HWND window = nullptr;
    std::shared_ptr<s::gui::ClosureQueue> closures;
    s::gui::Scale scale;
    std::atomic<bool> done{false};
    UpdateOutcome outcome = UpdateOutcome::NotOffered;
};

BackgroundUpdateCheck::BackgroundUpdateCheck(AppBase& app) : m_task(std::make_unique<Task>(app))
{
}

BackgroundUpdateCheck::~BackgroundUpdateCheck()
{
    if (m_worker)
        m_worker->waitIdle();
}

void BackgroundUpdateCheck::start(HWND window, std::shared_ptr<s::gui::ClosureQueue> closures, s::gui::Scale scale)
{
    if (m_worker || m_task->done || !closures)
        return;
    // Most starts end before the network (too early, the first run): then
    // without a worker, here.
    if (const auto early =
            checkWithoutNetwork(m_task->app.settings(), m_task->app.lang(), s::platform::systemClock())) {
        m_task->outcome = *early;
        m_task->done = true;
        return;
    }
    m_task->window = window;
    m_task->closures = std::move(closures);
    m_task->scale = scale;
    m_worker = std::make_unique<s::thread::win::Thread>();
    m_worker->runOnce(m_task.get());
}

bool BackgroundUpdateCheck::finished() const
{
    return m_task->done;
}

UpdateOutcome BackgroundUpdateCheck::outcome() const
{
    return m_task->outcome;
}

}  // namespace s::app::win
