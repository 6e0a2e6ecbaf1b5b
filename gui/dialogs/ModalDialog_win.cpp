#include "gui/dialogs/ModalDialog_win.h"

#include <algorithm>

namespace s::gui::dialogs {

ModalDialog::ModalDialog(s::gui::drawer::Skinner* skins, Scale scale) : m_skins(skins), m_scale(scale)
{
}

ModalDialog::~ModalDialog()
{
    // Buttons before the frame that holds their windows.
    m_buttons.clear();
    m_frame.reset();
}

bool ModalDialog::createFrame(HWND parent, const std::wstring& title, int width, int height)
{
    m_buttons.clear();
    m_default = nullptr;
    m_done = false;
    m_frame = std::make_unique<SkinnedFrame>();
    RECT area{};
    if (parent && IsWindow(parent))
        GetWindowRect(parent, &area);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    FrameArgs args;
    args.caption = title;
    args.scale = m_scale;
    args.x = area.left + (area.right - area.left - width) / 2;
    args.y = area.top + (area.bottom - area.top - height) / 2;
    args.width = width;
    args.height = height;
    args.skins = m_skins;
    args.owner = parent && IsWindow(parent) ? parent : nullptr;
    args.sizeButtons = false;
    // The question stays above the other windows, as the program's small
    // windows do by default.
    args.keepOnTop = true;
    if (!m_frame->create(args))
        return false;
    // Closing in any way but a button is a cancel; the loop then ends.
    m_frame->onClose = [this] {
        onCancel();
        finish();
        return false;
    };
    return true;
}

SIZE ModalDialog::buttonSize(const std::wstring& text)
{
    WindowDc dc(m_frame->hwnd());
    const SIZE label = m_frame->painter().measureText(dc.get(), text);
    return SIZE{std::max<LONG>(label.cx + 20 * m_scale, 75 * m_scale), 24 * m_scale};
}

Button* ModalDialog::addButton(const std::wstring& text, int x, int y, int width, int height)
{
    auto button = std::make_unique<Button>(m_frame->painter());
    Button::Args args;
    args.parent = m_frame->hwnd();
    args.text = text;
    args.x = x;
    args.y = y;
    args.width = width;
    args.height = height;
    if (!button->create(args))
        return nullptr;
    m_buttons.push_back(std::move(button));
    return m_buttons.back().get();
}

bool ModalDialog::handleKey(const MSG& msg)
{
    HWND dialog = hwnd();
    if (msg.message != WM_KEYDOWN || !dialog || (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)))
        return false;
    switch (msg.wParam) {
    case VK_TAB: {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(dialog, GetFocus(), back);
        if (next)
            SetFocus(next);
        return true;
    }
    case VK_RETURN: {
        HWND focus = GetFocus();
        Button* pressed = nullptr;
        for (const auto& button : m_buttons)
            if (button->hwnd() == focus)
                pressed = button.get();
        if (!pressed)
            pressed = m_default;
        // BM_CLICK goes the way of a real click: BN_CLICKED, reflected to the
        // button's onClick.
        if (pressed)
            SendMessageW(pressed->hwnd(), BM_CLICK, 0, 0);
        return true;
    }
    case VK_ESCAPE:
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

void ModalDialog::run(HWND parent, HWND focus)
{
    HWND dialog = hwnd();
    // Disabled before the dialog shows, as DialogBox does: no click can
    // reach the parent in between.
    const bool disabledHere = parent && IsWindow(parent) && !EnableWindow(parent, FALSE);
    m_frame->show();
    if (focus)
        SetFocus(focus);
    MSG msg{};
    while (!m_done && IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the outer loop: give it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (handleKey(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // The parent is enabled before the dialog goes, so that Windows gives
    // the activation back to it and not to another program's window.
    if (disabledHere)
        EnableWindow(parent, TRUE);
    if (parent && IsWindow(parent) && GetActiveWindow() == dialog)
        SetActiveWindow(parent);
    m_buttons.clear();
    m_default = nullptr;
    m_frame.reset();
}

}  // namespace s::gui::dialogs
