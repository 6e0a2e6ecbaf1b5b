#include "gui/SkinPalette.h"

#include "gui/Skinner.h"

namespace s::gui::drawer {

namespace {

// Copied once from a fresh skin manager's built-in set, so the defaults are the
// same colours the program shows before any skin set is loaded.
std::array<Rgb, kSkinColourCount> defaultColours()
{
    static const std::array<Rgb, kSkinColourCount> colours = [] {
        std::array<Rgb, kSkinColourCount> result{};
        Skinner builtIns;
        const int index = builtIns.findSkin(u"Classic LG");
        const ISkin* skin = builtIns.skin(index < 0 ? 0 : index);
        for (int c = 0; c < kSkinColourCount; ++c)
            result[static_cast<std::size_t>(c)] = skin->colour(static_cast<SkinColour>(c));
        return result;
    }();
    return colours;
}

}  // namespace

SkinPalette::SkinPalette() : m_colours(defaultColours())
{
}

SkinPalette::SkinPalette(const ISkin* skin)
{
    if (!skin) {
        m_colours = defaultColours();
        return;
    }
    for (int c = 0; c < kSkinColourCount; ++c)
        m_colours[static_cast<std::size_t>(c)] = skin->colour(static_cast<SkinColour>(c));
}

Rgb SkinPalette::blend(Rgb a, Rgb b, int percentOfB)
{
    const auto mix = [percentOfB](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>((x * (100 - percentOfB) + y * percentOfB + 50) / 100);
    };
    return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

ButtonColours SkinPalette::button(ButtonState state) const
{
    const Rgb face = (*this)[SkinColour::listHeaderBg];
    const Rgb font = (*this)[SkinColour::listHeaderFont];
    const Rgb border = (*this)[SkinColour::compFg];
    switch (state) {
    case ButtonState::hot:
        return {blend(face, font, 25), border, font};
    case ButtonState::pressed:
        return {font, border, face};
    case ButtonState::disabled: {
        const Rgb disabled = (*this)[SkinColour::compDisabled];
        return {face, disabled, disabled};
    }
    case ButtonState::normal:
    case ButtonState::focused:
        break;
    }
    return {face, border, font};
}

ButtonColours SkinPalette::captionButton(ButtonState state) const
{
    const Rgb bg = (*this)[SkinColour::windowBg];
    const Rgb glyph = (*this)[SkinColour::text];
    switch (state) {
    case ButtonState::hot:
        return {blend(bg, glyph, 20), blend(bg, glyph, 20), glyph};
    case ButtonState::pressed:
        return {blend(bg, glyph, 40), blend(bg, glyph, 40), glyph};
    case ButtonState::disabled:
        return {bg, bg, (*this)[SkinColour::compDisabled]};
    case ButtonState::normal:
    case ButtonState::focused:
        break;
    }
    return {bg, bg, glyph};
}

Rgb SkinPalette::row(int index, bool alternate) const
{
    return alternate && index % 2 == 1 ? (*this)[SkinColour::listAlternate] : (*this)[SkinColour::listBg];
}

}  // namespace s::gui::drawer
