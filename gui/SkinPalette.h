// The colours a painter uses, taken from a skin: the fifteen skin colours and
// the ones derived from them for control states. A palette without a skin
// (the program has no current skin yet) holds the built-in "Classic LG", the
// skin the program falls back to.
#pragma once

#include "gui/ThinWindow.h"

#include "gui/CheckState.h"
#include <array>

namespace s::gui::drawer {

enum class ButtonState { normal, hot, pressed, disabled, focused };

using CheckState = s::gui::CheckState;

struct ButtonColours {
    Rgb face;
    Rgb border;
    Rgb text;
    friend bool operator==(const ButtonColours&, const ButtonColours&) = default;
};

class SkinPalette {
public:
    SkinPalette();
    // A null skin gives the defaults.
    explicit SkinPalette(const ISkin* skin);

    Rgb operator[](SkinColour which) const { return m_colours[static_cast<std::size_t>(which)]; }

    // Push buttons: the list header's colours, as the header cells they sit
    // beside; pressed inverts them; disabled keeps the face and greys text and
    // border. Focused looks like normal: the painter adds the focus frame.
    ButtonColours button(ButtonState state) const;
    // The title bar's buttons sit on the window background.
    ButtonColours captionButton(ButtonState state) const;
    // Row index 0, 1, 2 …; odd rows take the alternate colour when asked.
    Rgb row(int index, bool alternate) const;

    // a mixed with b, percentOfB in 0 … 100.
    static Rgb blend(Rgb a, Rgb b, int percentOfB);

private:
    std::array<Rgb, kSkinColourCount> m_colours{};
};

}  // namespace s::gui::drawer
