#include "gui/SkinPainter_win.h"

#include <algorithm>

namespace s::gui {

using s::gui::drawer::ButtonColours;
using s::gui::drawer::ButtonState;
using s::gui::drawer::CheckState;
using s::gui::drawer::SkinColour;
using s::gui::drawer::SkinPalette;

SkinPainter::SkinPainter(Scale scale) : m_scale(scale)
{
}

void SkinPainter::setSkin(const s::gui::drawer::ISkin* skin)
{
    m_palette = SkinPalette(skin);
    // Fonts stay: they do not depend on the colours, and EDIT and COMBOBOX
    // controls hold the font handle they were given with WM_SETFONT.
    m_brushes.clear();
    m_pens.clear();
}

void SkinPainter::setScale(Scale scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    m_retired[0] = std::move(m_font);
    m_retired[1] = std::move(m_boldFont);
    m_retired[2] = std::move(m_underlinedFont);
    clearCache();
}

void SkinPainter::clearCache()
{
    m_brushes.clear();
    m_pens.clear();
    m_font.reset();
    m_boldFont.reset();
    m_underlinedFont.reset();
}

HBRUSH SkinPainter::brush(COLORREF colour)
{
    auto found = m_brushes.find(colour);
    if (found == m_brushes.end())
        found = m_brushes.emplace(colour, Brush(CreateSolidBrush(colour))).first;
    return found->second.get();
}

HPEN SkinPainter::pen(COLORREF colour, int width)
{
    const unsigned long long key = (static_cast<unsigned long long>(width) << 32) | colour;
    auto found = m_pens.find(key);
    if (found == m_pens.end())
        found = m_pens.emplace(key, Pen(CreatePen(PS_SOLID, width, colour))).first;
    return found->second.get();
}

HFONT SkinPainter::font(FontWeight weight)
{
    Font& slot = weight == FontWeight::bold ? m_boldFont : weight == FontWeight::underlined ? m_underlinedFont : m_font;
    if (!slot) {
        // A negative height asks for the character height in pixels, so the
        // text scales with the rest and does not follow the screen's DPI a
        // second time. Tahoma is on every Windows and ships with Wine.
        slot.reset(CreateFontW(-kFontHeight * m_scale, 0, 0, 0, weight == FontWeight::bold ? FW_BOLD : FW_NORMAL, FALSE,
                               weight == FontWeight::underlined, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    }
    return slot.get();
}

SIZE SkinPainter::measureText(HDC dc, std::wstring_view text, FontWeight weight)
{
    SIZE size{};
    Selection selected(dc, font(weight));
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void SkinPainter::fill(HDC dc, const RECT& rect, SkinColour which)
{
    fillColour(dc, rect, colour(which));
}

void SkinPainter::fillColour(HDC dc, const RECT& rect, COLORREF colour)
{
    FillRect(dc, &rect, brush(colour));
}

void SkinPainter::frame(HDC dc, const RECT& rect, COLORREF colour)
{
    const int w = m_scale(1);
    HBRUSH b = brush(colour);
    const RECT top{rect.left, rect.top, rect.right, rect.top + w};
    const RECT bottom{rect.left, rect.bottom - w, rect.right, rect.bottom};
    const RECT left{rect.left, rect.top, rect.left + w, rect.bottom};
    const RECT right{rect.right - w, rect.top, rect.right, rect.bottom};
    FillRect(dc, &top, b);
    FillRect(dc, &bottom, b);
    FillRect(dc, &left, b);
    FillRect(dc, &right, b);
}

void SkinPainter::drawText(HDC dc, const RECT& rect, std::wstring_view text, COLORREF colour, UINT format,
                           Outline outline, FontWeight weight)
{
    Selection selected(dc, font(weight));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const auto length = static_cast<int>(text.size());
    if (outline == Outline::skinOutline) {
        SetTextColor(dc, this->colour(SkinColour::textOutLineSpecific));
        const int d = m_scale(1);
        for (int dy = -d; dy <= d; dy += d) {
            for (int dx = -d; dx <= d; dx += d) {
                if (dx == 0 && dy == 0)
                    continue;
                RECT shifted = rect;
                OffsetRect(&shifted, dx, dy);
                // DrawTextW may write the ellipsis into its buffer with
                // DT_MODIFYSTRING only; without it the text stays const.
                DrawTextW(dc, const_cast<wchar_t*>(text.data()), length, &shifted, format);
            }
        }
    }
    SetTextColor(dc, colour);
    RECT area = rect;
    DrawTextW(dc, const_cast<wchar_t*>(text.data()), length, &area, format);
    SetBkMode(dc, oldMode);
}

void SkinPainter::drawGroupBorder(HDC dc, const RECT& rect)
{
    frame(dc, rect, colour(SkinColour::groupBorder));
}

void SkinPainter::drawButton(HDC dc, const RECT& rect, std::wstring_view text, ButtonState state)
{
    const ButtonColours colours = m_palette.button(state);
    fillColour(dc, rect, colorRef(colours.face));
    frame(dc, rect, colorRef(colours.border));
    RECT label = rect;
    if (state == ButtonState::pressed)
        OffsetRect(&label, m_scale(1), m_scale(1));
    drawText(dc, label, text, colorRef(colours.text), DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
    if (state == ButtonState::focused) {
        // A second frame inside the border in the text colour: visible in
        // every skin, unlike the system's dotted rectangle on dark faces.
        RECT inner = rect;
        InflateRect(&inner, -3 * m_scale, -3 * m_scale);
        frame(dc, inner, colorRef(colours.text));
    }
}

void SkinPainter::drawCheckBox(HDC dc, const RECT& rect, std::wstring_view text, CheckState state, bool enabled)
{
    const int size = kCheckBoxSize * m_scale;
    const int top = rect.top + (rect.bottom - rect.top - size) / 2;
    const RECT box{rect.left, top, rect.left + size, top + size};
    const COLORREF ink = colour(enabled ? SkinColour::compFg : SkinColour::compDisabled);
    fill(dc, box, SkinColour::windowBg);
    frame(dc, box, ink);
    if (state == CheckState::Checked) {
        // A tick of two strokes, as thick as the scale.
        const Scale s = m_scale;
        const POINT points[] = {{box.left + 3 * s, box.top + 6 * s},
                                {box.left + 5 * s, box.top + 9 * s},
                                {box.left + 10 * s, box.top + 3 * s}};
        Selection selected(dc, pen(ink, 2 * s));
        Polyline(dc, points, 3);
    } else if (state == CheckState::Partial) {
        RECT square = box;
        InflateRect(&square, -3 * m_scale, -3 * m_scale);
        fillColour(dc, square, ink);
    }
    RECT label{box.right + kTextPadding * m_scale, rect.top, rect.right, rect.bottom};
    drawText(dc, label, text, colour(enabled ? SkinColour::text : SkinColour::compDisabled),
             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

void SkinPainter::drawProgress(HDC dc, const RECT& rect, int percent)
{
    percent = std::clamp(percent, 0, 100);
    // The track is a list's background: in several skins the slider colour
    // equals the window background, and the bar would vanish on it.
    fill(dc, rect, SkinColour::listBg);
    frame(dc, rect, colour(SkinColour::compFg));
    RECT bar = rect;
    InflateRect(&bar, -2 * m_scale, -2 * m_scale);
    bar.right = bar.left + (bar.right - bar.left) * percent / 100;
    if (bar.right > bar.left)
        fill(dc, bar, SkinColour::sliderBg);
}

void SkinPainter::drawHeaderCell(HDC dc, const RECT& rect, std::wstring_view text)
{
    fill(dc, rect, SkinColour::listHeaderBg);
    // The divider at the right edge, in the header's text colour.
    const RECT divider{rect.right - m_scale(1), rect.top + 3 * m_scale, rect.right, rect.bottom - 3 * m_scale};
    fill(dc, divider, SkinColour::listHeaderFont);
    RECT label{rect.left + kTextPadding * m_scale, rect.top, rect.right - kTextPadding * m_scale, rect.bottom};
    drawText(dc, label, text, colour(SkinColour::listHeaderFont),
             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

void SkinPainter::drawListRow(HDC dc, const RECT& rect, std::wstring_view text, int index, bool alternate)
{
    fillColour(dc, rect, colorRef(m_palette.row(index, alternate)));
    RECT label{rect.left + kTextPadding * m_scale, rect.top, rect.right - kTextPadding * m_scale, rect.bottom};
    drawText(dc, label, text, colour(SkinColour::listFont), DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

void SkinPainter::drawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, ButtonState state)
{
    const ButtonColours colours = m_palette.captionButton(state);
    fillColour(dc, rect, colorRef(colours.face));
    const Scale s = m_scale;
    const COLORREF ink = colorRef(colours.text);
    // The glyph sits in a 10 × 10 square in the button's middle.
    const int left = rect.left + (rect.right - rect.left - 10 * s) / 2;
    const int top = rect.top + (rect.bottom - rect.top - 10 * s) / 2;
    switch (glyph) {
    case CaptionGlyph::minimise: {
        const RECT bar{left + 1 * s, top + 8 * s, left + 9 * s, top + 10 * s};
        fillColour(dc, bar, ink);
        break;
    }
    case CaptionGlyph::maximise: {
        const RECT square{left, top, left + 10 * s, top + 10 * s};
        frame(dc, square, ink);
        const RECT lid{left, top, left + 10 * s, top + 2 * s};
        fillColour(dc, lid, ink);
        break;
    }
    case CaptionGlyph::restore: {
        const RECT back{left + 3 * s, top, left + 10 * s, top + 7 * s};
        frame(dc, back, ink);
        const RECT front{left, top + 3 * s, left + 7 * s, top + 10 * s};
        fillColour(dc, front, colorRef(colours.face));
        frame(dc, front, ink);
        const RECT lid{left, top + 3 * s, left + 7 * s, top + 5 * s};
        fillColour(dc, lid, ink);
        break;
    }
    case CaptionGlyph::close: {
        // Two diagonals, each drawn as parallel one-pixel lines: a wide GDI
        // pen gives blunt, uneven ends on short diagonals.
        Selection selected(dc, pen(ink, 1));
        for (int t = 0; t < 2 * s; ++t) {
            MoveToEx(dc, left + t, top, nullptr);
            LineTo(dc, left + 10 * s, top + 10 * s - t);
            MoveToEx(dc, left, top + t, nullptr);
            LineTo(dc, left + 10 * s - t, top + 10 * s);
            MoveToEx(dc, left + 10 * s - 1 - t, top, nullptr);
            LineTo(dc, left - 1, top + 10 * s - t);
            MoveToEx(dc, left + 10 * s - 1, top + t, nullptr);
            LineTo(dc, left - 1 + t, top + 10 * s);
        }
        break;
    }
    }
}

}  // namespace s::gui

namespace s::gui {

void SkinPainter::drawPicture(HDC dc, const RECT& rect, Picture picture, ButtonState state)
{
    // Pictures sit on the window background like the title bar's buttons,
    // and take their colours.
    const ButtonColours colours = m_palette.captionButton(state);
    fillColour(dc, rect, colorRef(colours.face));
    const COLORREF ink = colorRef(colours.text);
    const Scale s = m_scale;
    // The glyph fills a square of 10 × 10 (scaled) in the middle, whatever
    // the button's size, as the 14 × 14 pictures of the program do.
    const int side = std::min<int>({10 * s, rect.right - rect.left, rect.bottom - rect.top});
    const int left = rect.left + (rect.right - rect.left - side) / 2;
    const int top = rect.top + (rect.bottom - rect.top - side) / 2;
    switch (picture) {
    case Picture::plus: {
        const int thick = 2 * s;
        const int middle = (side - thick) / 2;
        const RECT across{left, top + middle, left + side, top + middle + thick};
        const RECT down{left + middle, top, left + middle + thick, top + side};
        fillColour(dc, across, ink);
        fillColour(dc, down, ink);
        break;
    }
    case Picture::cross: {
        // Parallel one-pixel lines, as the close glyph: a wide pen gives
        // blunt ends on short diagonals.
        Selection selected(dc, pen(ink, 1));
        for (int t = 0; t < 2 * s; ++t) {
            MoveToEx(dc, left + t, top, nullptr);
            LineTo(dc, left + side, top + side - t);
            MoveToEx(dc, left, top + t, nullptr);
            LineTo(dc, left + side - t, top + side);
            MoveToEx(dc, left + side - 1 - t, top, nullptr);
            LineTo(dc, left - 1, top + side - t);
            MoveToEx(dc, left + side - 1, top + t, nullptr);
            LineTo(dc, left - 1 + t, top + side);
        }
        break;
    }
    }
}

}  // namespace s::gui
