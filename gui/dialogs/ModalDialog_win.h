// The base of the toolkit's own modal windows (the OK message box, the
// Yes/No question): a skinned frame of the program's kind, run in a message
// loop of its own while its parent is disabled. The loop handles the dialog
// keys itself, as IsDialogMessage would for a dialog: Tab and Shift+Tab move
// the focus between the controls with WS_TABSTOP, Enter presses the focused
// push button (or the default one), Escape cancels.
#pragma once

#include "gui/Button_win.h"
#include "gui/Scale.h"
#include "gui/SkinnedFrame_win.h"

#include <memory>
#include <string>
#include <vector>

namespace s::gui::drawer {
class Skinner;
}

namespace s::gui::dialogs {

class ModalDialog {
public:
    // skins: the frame follows the current skin (none: the default colours).
    ModalDialog(s::gui::drawer::Skinner* skins, Scale scale);
    virtual ~ModalDialog();
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // The frame while the dialog runs, else null.
    HWND hwnd() const { return m_frame ? m_frame->hwnd() : nullptr; }

protected:
    // Makes the frame (width × height, already scaled) centred on parent, or
    // on the screen's work area without one.
    bool createFrame(HWND parent, const std::wstring& title, int width, int height);
    SkinnedFrame& frame() { return *m_frame; }
    // Disables parent, shows the frame with the focus on `focus`, runs until
    // finish(), enables parent again and destroys the frame. A WM_QUIT met
    // on the way ends it too and is posted again for the outer loop.
    void run(HWND parent, HWND focus);
    void finish() { m_done = true; }
    // A push button with Enter's meaning when the focus is on no button.
    Button* addButton(const std::wstring& text, int x, int y, int width, int height);
    void setDefaultButton(Button* button) { m_default = button; }
    Scale scale() const { return m_scale; }
    // The width and height of a push button showing text.
    SIZE buttonSize(const std::wstring& text);

    // Escape, the close button, Alt+F4, a middle click: the window closes
    // without an answer. The dialog ends after it.
    virtual void onCancel() {}

private:
    bool handleKey(const MSG& msg);

    s::gui::drawer::Skinner* m_skins;
    Scale m_scale;
    std::unique_ptr<SkinnedFrame> m_frame;
    std::vector<std::unique_ptr<Button>> m_buttons;
    Button* m_default = nullptr;
    bool m_done = false;
};

}  // namespace s::gui::dialogs
