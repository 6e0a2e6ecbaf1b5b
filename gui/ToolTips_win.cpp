#include "gui/ToolTips_win.h"

namespace s::gui {

bool ToolTips::known(const TTTOOLINFOW& tool) const
{
    TTTOOLINFOW asked{};
    asked.cbSize = sizeof(asked);
    asked.hwnd = tool.hwnd;
    asked.uId = tool.uId;
    return SendMessageW(m_tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&asked)) != 0;
}

ToolTips::~ToolTips()
{
    if (m_tip && IsWindow(m_tip))
        DestroyWindow(m_tip);
}

bool ToolTips::create()
{
    // Owned by no window: Wine 8 never moves a window into the topmost band
    // (Keep on Top) while it owns a popup, and the tooltip follows its tools
    // by subclassing them, without an owner.
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    return m_tip != nullptr;
}

void ToolTips::setControlTip(HWND control, const std::wstring& text)
{
    if (!m_tip || !control)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    // The tooltip window copies the text.
    SendMessageW(m_tip, known(tool) ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTips::setAreaTip(HWND window, UINT id, const RECT& area, const std::wstring& text)
{
    if (!m_tip || !window)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = id;
    tool.rect = area;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (known(tool)) {
        SendMessageW(m_tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace s::gui
