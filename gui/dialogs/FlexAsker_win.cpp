#include "gui/dialogs/FlexAsker_win.h"

#include "gui/LineLayout.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"

#include <algorithm>

namespace s::gui::dialogs {

namespace {

// Pixels at scale 1.
constexpr int kGrowMargin = 50;  // beside a message wider than the window
constexpr int kTopGap = 18;
constexpr int kGap = 12;
constexpr int kBottomGap = 14;
constexpr int kButtonGap = 10;

}  // namespace

FlexAsker::FlexAsker(s::lang::Localizer& localizer, s::gui::drawer::Skinner* skins, Scale scale)
    : ModalDialog(skins, scale), m_localizer(localizer)
{
}

FlexAsker::~FlexAsker() = default;

bool FlexAsker::ask(HWND parent, std::optional<std::wstring> title, std::optional<std::wstring> message)
{
    m_answer = false;
    m_dontAskAgain = false;
    const s::gui::Scale s = scale();
    const std::wstring titleText = title ? *title : toWide(m_localizer.text(s::lang::ids::kAskerTitle).view());
    const std::wstring messageText = message ? *message : toWide(m_localizer.text(s::lang::ids::kAskerMessage).view());
    if (!createFrame(parent, titleText, kWidth, kHeight))
        return false;
    HWND window = frame().hwnd();
    const int top = frame().layout().content().top;

    m_message = std::make_unique<Label>(frame().painter(), &m_localizer);
    LabelArgs label;
    label.parent = window;
    label.caption = Caption::text(messageText);
    label.align = TextAlign::left;
    if (!m_message->create(label))
        return false;
    const SIZE messageSize = m_message->preferredSize();

    if (m_showDontAsk) {
        m_dontAsk = std::make_unique<CheckBox>(frame().painter(), &m_localizer);
        CheckBox::Args box;
        box.parent = window;
        box.caption = Caption::language(s::lang::ids::kDontAskText);
        if (!m_dontAsk->create(box))
            return false;
    } else {
        m_dontAsk.reset();
    }
    const SIZE boxSize = m_dontAsk ? m_dontAsk->preferredSize() : SIZE{0, 0};

    const std::wstring yesText = toWide(m_localizer.text(s::lang::ids::kYesText).view());
    const std::wstring noText = toWide(m_localizer.text(s::lang::ids::kNoText).view());
    SIZE button = buttonSize(yesText);
    const SIZE noSize = buttonSize(noText);
    button.cx = std::max(button.cx, noSize.cx);

    // The window's own size is not scaled; what it holds is, and it grows to
    // hold it at any scale.
    const int width = std::max<int>(kWidth, messageSize.cx + kGrowMargin * s);
    const int contentHeight =
        kTopGap * s + messageSize.cy + (m_dontAsk ? kGap * s + boxSize.cy : 0) + kGap * s + button.cy + kBottomGap * s;
    const int height = std::max<int>(kHeight, top + contentHeight);
    RECT centred{};
    GetWindowRect(window, &centred);
    SetWindowPos(window, nullptr, centred.left + (centred.right - centred.left - width) / 2,
                 centred.top + (centred.bottom - centred.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    // The message and the check box as a column in the middle of the space
    // above the buttons, aligned on the message's left; the buttons as a
    // centred row at the bottom.
    const int buttonsTop = height - kBottomGap * s - button.cy;
    LineLayout block(Axis::column, kGap * s);
    block.add({messageSize.cx, messageSize.cy});
    if (m_dontAsk)
        block.add({boxSize.cx, boxSize.cy});
    const int messageLeft = (width - messageSize.cx) / 2;
    const auto placed = block.place(Box{messageLeft, top + kTopGap * s, width, buttonsTop - kGap * s},
                                    LineAlign::centre, LineAlign::start);
    const auto move = [](HWND control, const Box& box) {
        SetWindowPos(control, nullptr, box.left, box.top, box.width(), box.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    move(m_message->hwnd(), placed[0]);
    if (m_dontAsk)
        move(m_dontAsk->hwnd(), placed[1]);

    LineLayout buttons(Axis::row, kButtonGap * s);
    buttons.add({button.cx, button.cy});
    buttons.add({button.cx, button.cy});
    const auto buttonBoxes =
        buttons.place(Box{0, buttonsTop, width, buttonsTop + button.cy}, LineAlign::centre, LineAlign::start);
    const auto addAt = [this](const std::wstring& text, const Box& box) {
        return addButton(text, box.left, box.top, box.width(), box.height());
    };
    Button* yes = addAt(yesText, buttonBoxes[0]);
    Button* no = addAt(noText, buttonBoxes[1]);
    if (!yes || !no)
        return false;
    yes->onClick = [this] {
        m_answer = true;
        finish();
    };
    no->onClick = [this] {
        m_answer = false;
        finish();
    };
    setDefaultButton(yes);
    run(parent, yes->hwnd());
    // The box keeps its state after its window went with the frame; it
    // counts whichever way the question was closed.
    m_dontAskAgain = m_dontAsk && m_dontAsk->isChecked();
    m_dontAsk.reset();
    m_message.reset();
    return m_answer;
}

}  // namespace s::gui::dialogs
