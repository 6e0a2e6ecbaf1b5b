// The program's OK message box in the skin's colours: a title, a text (line
// breaks kept) and one "OK" button; modal to its parent. Enter, Escape and
// closing the window all dismiss it.
#pragma once

#include "gui/Label_win.h"
#include "gui/dialogs/ModalDialog_win.h"

#include <memory>
#include <string>

namespace s::gui::dialogs {

class MessageBox : public ModalDialog {
public:
    MessageBox(s::gui::drawer::Skinner* skins, Scale scale) : ModalDialog(skins, scale) {}

    // Returns when the box is closed; false when it could not be shown.
    bool show(HWND parent, const std::wstring& title, const std::wstring& text);

private:
    std::unique_ptr<Label> m_text;
};

}  // namespace s::gui::dialogs
