// Tooltips: a short text that appears when the mouse rests over a control,
// or over a part of a window that the window paints itself (the skinned
// frame's title-bar buttons). One tooltip window serves all of a window's
// tools; it follows the mouse by subclassing each tool's window, so the
// window's own message loop needs nothing.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace s::gui {

class ToolTips {
public:
    ToolTips() = default;
    ~ToolTips();
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;

    // The tooltip window (destroyed with this object). False when the
    // system gave none; the tools are then silently left out.
    bool create();
    HWND hwnd() const { return m_tip; }

    // The whole of control; adds the tool or changes its text.
    void setControlTip(HWND control, const std::wstring& text);
    // A rectangle of window (client coordinates) known by id; adds the tool
    // or changes its text and place.
    void setAreaTip(HWND window, UINT id, const RECT& area, const std::wstring& text);

private:
    bool known(const TTTOOLINFOW& tool) const;

    HWND m_tip = nullptr;
};

}  // namespace s::gui
