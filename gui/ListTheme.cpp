#include "gui/ListTheme.h"

#include <cmath>

namespace s::gui {

namespace {

double linear(uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(s::gui::drawer::Rgb colour)
{
    return 0.2126 * linear(colour.r) + 0.7152 * linear(colour.g) + 0.0722 * linear(colour.b);
}

ListTheme listThemeFor(s::gui::drawer::Rgb listBackground)
{
    // (L + 0.05) / 0.05 = 1.05 / (L + 0.05) at L = sqrt(1.05 × 0.05) − 0.05.
    const double even = std::sqrt(1.05 * 0.05) - 0.05;
    return relativeLuminance(listBackground) < even ? ListTheme::dark : ListTheme::light;
}

}  // namespace s::gui
