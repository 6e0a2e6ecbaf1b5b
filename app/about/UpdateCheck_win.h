// The update check as the program runs it: the system's clock, WinINet and
// URLMon, the shell, and the Yes/No question window over the main window
// (none in a boot run, whose window is gone by then).
#pragma once

#include "app/about/UpdateCheck.h"
#include "app/start/AppBase.h"
#include "base/Thread.h"
#include "gui/ClosureQueue.h"
#include "gui/Scale.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::gui::drawer {
class Skinner;
}

namespace s::app::win {

// The question as the program asks it: the Yes/No window over owner (null:
// none), without "Don't ask me again".
std::function<bool(const std::u16string& title, const std::u16string& message)>
updateQuestion(s::lang::Localizer& lang, s::gui::drawer::Skinner* skins, HWND owner, s::gui::Scale scale);

// parent: the main window, or null (or a window already destroyed).
UpdateOutcome checkForUpdate(AppBase& app, HWND parent, s::gui::Scale scale);

// The same check on a worker of its own, so that the window keeps answering
// while the network is slow: the question, when there is one, is asked on
// the window's thread through its closure queue while the worker waits for
// the answer (No when the window is gone first). Giving it back waits for
// the worker.
class BackgroundUpdateCheck {
public:
    explicit BackgroundUpdateCheck(AppBase& app);
    ~BackgroundUpdateCheck();
    BackgroundUpdateCheck(const BackgroundUpdateCheck&) = delete;
    BackgroundUpdateCheck& operator=(const BackgroundUpdateCheck&) = delete;

    // Once; window is the main window, closures its queue.
    void start(HWND window, std::shared_ptr<s::gui::ClosureQueue> closures, s::gui::Scale scale);
    bool finished() const;
    // What the check came to; meaningful once finished.
    UpdateOutcome outcome() const;

private:
    struct Task;
    std::unique_ptr<Task> m_task;
    std::unique_ptr<s::thread::win::Thread> m_worker;
};

}  // namespace s::app::win
