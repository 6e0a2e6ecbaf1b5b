#include "app/about/UpdateCheck_win.h"

#include "gui/TextControl_win.h"
#include "gui/dialogs/FlexAsker_win.h"

namespace s::app::win {

std::function<bool(const std::u16string& title, const std::u16string& message)>
updateQuestion(s::lang::Localizer& lang, s::gui::drawer::Skinner* skins, HWND owner, int scale)
{
    return [&lang, skins, owner, scale](const std::u16string& title, const std::u16string& message) {
        s::gui::dialogs::FlexAsker asker(lang, skins, scale);
        asker.setShowDontAsk(false);
        return asker.ask(owner, s::gui::toWide(title), s::gui::toWide(message));
    };
}

UpdateOutcome checkForUpdate(AppBase& app, HWND parent, int scale)
{
    // A boot run's window is gone by now: the question then stands alone.
    const HWND owner = parent && IsWindow(parent) ? parent : nullptr;
    const UpdateCheckServices services{s::platform::systemClock(), s::platform::network(), s::platform::shell(),
                                       updateQuestion(app.lang(), app.skins(), owner, scale)};
    return checkForUpdate(app.settings(), app.lang(), services);
}

}  // namespace s::app::win
