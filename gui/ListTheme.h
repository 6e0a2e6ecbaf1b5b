// Which system theme a list of a skin wants for what the system still draws
// in it (the scroll bars): the dark one when the skin's list background is
// dark, the ordinary one otherwise.
#pragma once

#include "gui/ThinWindow.h"

namespace s::gui {

enum class ListTheme { light, dark };

// The relative luminance of an sRGB colour (0 black … 1 white), as the
// contrast rules of WCAG 2 define it.
double relativeLuminance(s::gui::drawer::Rgb colour);

// Dark below 0.179, the luminance at which white and black text contrast
// equally with the background: where white text reads better, a white
// scroll bar is the glaring exception.
ListTheme listThemeFor(s::gui::drawer::Rgb listBackground);

}  // namespace s::gui
