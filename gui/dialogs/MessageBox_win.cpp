#include "gui/dialogs/MessageBox_win.h"

#include <algorithm>

namespace s::gui::dialogs {

namespace {

// Pixels at scale 1.
constexpr int kMinWidth = 300;
constexpr int kMargin = 20;
constexpr int kGap = 16;

}  // namespace

bool MessageBox::show(HWND parent, const std::wstring& title, const std::wstring& text)
{
    const s::gui::Scale s = scale();
    // The frame is made first at its least size: the text is measured in
    // its font, and the frame then grows to fit.
    if (!createFrame(parent, title, kMinWidth * s, 150 * s))
        return false;
    m_text = std::make_unique<Label>(frame().painter());
    const int top = frame().layout().content().top;
    LabelArgs label;
    label.parent = frame().hwnd();
    label.caption = Caption::text(text);
    if (!m_text->create(label))
        return false;
    const SIZE textSize = m_text->preferredSize();
    // The "OK" of the system's own message boxes.
    const std::wstring okText = L"OK";
    const SIZE button = buttonSize(okText);
    const int width = std::max<int>(kMinWidth * s, textSize.cx + 2 * kMargin * s);
    const int height = top + kMargin * s + textSize.cy + kGap * s + button.cy + kMargin * s;
    RECT window{};
    GetWindowRect(frame().hwnd(), &window);
    const int x = window.left + ((window.right - window.left) - width) / 2;
    const int y = window.top + ((window.bottom - window.top) - height) / 2;
    SetWindowPos(frame().hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(m_text->hwnd(), nullptr, (width - textSize.cx) / 2, top + kMargin * s, textSize.cx, textSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Button* ok = addButton(okText, (width - button.cx) / 2, height - kMargin * s - button.cy, button.cx, button.cy);
    if (!ok)
        return false;
    ok->onClick = [this] {
        finish();
    };
    setDefaultButton(ok);
    run(parent, ok->hwnd());
    m_text.reset();
    return true;
}

}  // namespace s::gui::dialogs
