#include "gui/TextControl_win.h"

#include "lang/Localizer.h"

namespace s::gui {

TextControl::TextControl(SkinPainter& painter, s::lang::Localizer* localizer)
    : m_painter(painter), m_localizer(localizer)
{
}

TextControl::~TextControl()
{
    if (m_listening)
        m_localizer->removeListener(this);
    // The window goes before the members its messages read.
    destroy();
}

std::wstring TextControl::resolve() const
{
    if (m_caption.id == 0)
        return m_caption.literal;
    if (!m_localizer)
        return {};
    return toWide(m_localizer->text(m_caption.id).view());
}

void TextControl::setCaption(const Caption& caption)
{
    m_caption = caption;
    if (caption.id != 0 && m_localizer && !m_listening) {
        m_localizer->addListener(this);
        m_listening = true;
    }
    applyText();
}

void TextControl::applyText()
{
    m_text = resolve();
    if (!hwnd())
        return;
    SetWindowTextW(hwnd(), m_text.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool TextControl::createWithCaption(WndArgs args, const Caption& caption)
{
    setCaption(caption);
    args.text = m_text;
    return Wnd::create(args);
}

SIZE TextControl::textSize(FontWeight weight) const
{
    WindowDc dc(hwnd());
    Selection selected(dc.get(), m_painter.font(weight));
    RECT area{0, 0, 0, 0};
    // DT_CALCRECT without DT_SINGLELINE measures every line of a text with
    // line breaks ("\r\n" in a question).
    DrawTextW(dc.get(), m_text.c_str(), static_cast<int>(m_text.size()), &area, DT_CALCRECT | DT_NOPREFIX);
    return SIZE{area.right - area.left, area.bottom - area.top};
}

void TextControl::onEvent(s::base::IObject* source, int)
{
    if (m_localizer && source == static_cast<s::base::IObject*>(m_localizer))
        applyText();
}

}  // namespace s::gui
