#include "gui/ThinWindow.h"

namespace s::gui::drawer {

namespace {

constexpr const char16_t* kColourNames[kSkinColourCount] = {
    u"windowBg",
    u"windowFg",
    u"compFg",
    u"compDisabled",
    u"groupBorder",
    u"text",
    u"textOutLineSpecific",
    u"sliderBg",
    u"listHeaderBg",
    u"listHeaderFont",
    u"listBg",
    u"listFont",
    u"listAlternate",
    u"counter01",
    u"counter02",
};

}  // namespace

const char16_t* skinColourName(SkinColour colour)
{
    return kColourNames[static_cast<int>(colour)];
}

namespace skin {

void ThinWindow::reset()
{
    m_name.clear();
    m_colours = {};
}

ThinWindow* ThinWindow::make(std::u16string_view name, const std::array<uint32_t, kSkinColourCount>& colours)
{
    ThinWindow* skin = s::thread::Pool<ThinWindow>::take();
    skin->setName(name);
    for (int i = 0; i < kSkinColourCount; ++i) {
        const uint32_t rgb = colours[static_cast<std::size_t>(i)];
        skin->setColour(static_cast<SkinColour>(i), Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                                        static_cast<uint8_t>(rgb)});
    }
    return skin;
}

}  // namespace skin

}  // namespace s::gui::drawer
