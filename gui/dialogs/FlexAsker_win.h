// The Yes/No question window ("FlexAskerWindow"): a title, a message, the
// buttons "Yes" and "No" and, when asked for, the check box "Don't ask me
// again". Its texts come from the language table; without a title or a
// message it asks "Are you sure you want to proceed this operation?" under
// "Confirmation Dialog". The window is 400 × 200 pixels (not scaled) and
// widens to the message width plus 50 when the message is wider; it is
// centred on its parent, which stays disabled while it is shown. Tab moves
// between the buttons, Enter answers with the focused one (Yes at first);
// Escape or closing the window answers no.
#pragma once

#include "gui/CheckBox_win.h"
#include "gui/Label_win.h"
#include "gui/dialogs/ModalDialog_win.h"

#include <memory>
#include <optional>
#include <string>

namespace s::lang {
class Localizer;
}

namespace s::gui::dialogs {

class FlexAsker : public ModalDialog {
public:
    // Language ids of the window's texts.
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 200;

    // Neither is owned.
    FlexAsker(s::lang::Localizer& localizer, s::gui::drawer::Skinner* skins, Scale scale = Scale());
    ~FlexAsker() override;

    void setShowDontAsk(bool show) { m_showDontAsk = show; }
    bool showDontAsk() const { return m_showDontAsk; }

    // Shows the question and returns when it is closed, with answer().
    bool ask(HWND parent, std::optional<std::wstring> title = std::nullopt,
             std::optional<std::wstring> message = std::nullopt);
    bool answer() const { return m_answer; }
    bool dontAskAgain() const { return m_dontAskAgain; }

private:
    s::lang::Localizer& m_localizer;
    bool m_showDontAsk = true;
    bool m_answer = false;
    bool m_dontAskAgain = false;
    std::unique_ptr<Label> m_message;
    std::unique_ptr<CheckBox> m_dontAsk;
};

}  // namespace s::gui::dialogs
