// Draws the toolkit's elements in the colours of a skin, at a scale (whole
// steps of 1, 2 or 4, or the fraction the screen asks for). Controls decide their state and hand the drawing here;
// nothing else in the toolkit picks a colour. Brushes, pens and fonts are made on first use; brushes and pens are kept
// until the skin or the scale changes, fonts until the scale changes (a control given a font with WM_SETFONT keeps its
// handle, so the fonts of the scale before stay alive until the next change).
#pragma once

#include "gui/GdiHandles_win.h"
#include "gui/Scale.h"
#include "gui/SkinPalette.h"

#include <windows.h>

#include <string_view>
#include <unordered_map>

namespace s::gui {

enum class CaptionGlyph { minimise, maximise, restore, close };
enum class Outline { none, skinOutline };
enum class FontWeight { normal, bold, underlined };
// The program's vector pictures, by their names in the window layouts:
// "#Plus" and "#X".
enum class Picture { plus, cross };

class SkinPainter {
public:
    explicit SkinPainter(Scale scale = Scale());
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;

    // A null skin paints with the default colours.
    void setSkin(const s::gui::drawer::ISkin* skin);
    void setScale(Scale scale);
    Scale scale() const { return m_scale; }
    int px(int pixelsAtScale1) const { return m_scale(pixelsAtScale1); }
    const s::gui::drawer::SkinPalette& palette() const { return m_palette; }

    static COLORREF colorRef(s::gui::drawer::Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }
    COLORREF colour(s::gui::drawer::SkinColour which) const { return colorRef(m_palette[which]); }
    HBRUSH brush(COLORREF colour);
    HPEN pen(COLORREF colour, int width = 1);
    HFONT font(FontWeight weight = FontWeight::normal);
    SIZE measureText(HDC dc, std::wstring_view text, FontWeight weight = FontWeight::normal);

    void fill(HDC dc, const RECT& rect, s::gui::drawer::SkinColour which);
    void fillColour(HDC dc, const RECT& rect, COLORREF colour);
    // A frame one scaled pixel wide.
    void frame(HDC dc, const RECT& rect, COLORREF colour);
    // format: DT_* flags; DT_SINGLELINE | DT_VCENTER | DT_LEFT for most uses.
    // With an outline the text is drawn first in textOutLineSpecific around
    // each letter, so it stays readable on any background.
    void drawText(HDC dc, const RECT& rect, std::wstring_view text, COLORREF colour, UINT format,
                  Outline outline = Outline::none, FontWeight weight = FontWeight::normal);

    void drawBackground(HDC dc, const RECT& rect) { fill(dc, rect, s::gui::drawer::SkinColour::windowBg); }
    void drawGroupBorder(HDC dc, const RECT& rect);
    void drawButton(HDC dc, const RECT& rect, std::wstring_view text, s::gui::drawer::ButtonState state);
    // rect holds the box and the label; the box is 13 × 13 × scale at the left.
    void drawCheckBox(HDC dc, const RECT& rect, std::wstring_view text, s::gui::drawer::CheckState state,
                      bool enabled = true);
    void drawProgress(HDC dc, const RECT& rect, int percent);
    void drawHeaderCell(HDC dc, const RECT& rect, std::wstring_view text);
    void drawListRow(HDC dc, const RECT& rect, std::wstring_view text, int index, bool alternate);
    void drawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, s::gui::drawer::ButtonState state);
    void drawPicture(HDC dc, const RECT& rect, Picture picture, s::gui::drawer::ButtonState state);

    static constexpr int kFontHeight = 13;  // pixels at scale 1
    static constexpr int kCheckBoxSize = 13;
    static constexpr int kTextPadding = 6;

private:
    void clearCache();

    Scale m_scale;
    s::gui::drawer::SkinPalette m_palette;
    std::unordered_map<COLORREF, Brush> m_brushes;
    std::unordered_map<unsigned long long, Pen> m_pens;
    Font m_font;
    Font m_boldFont;
    Font m_underlinedFont;
    // The fonts of the scale before the last change, which controls may still
    // hold until their owner hands them the new ones.
    Font m_retired[3];
};

}  // namespace s::gui
