// A skin: a name and the fifteen colours the drawers paint with.
#pragma once

#include "base/IObject.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace s::gui::drawer {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colours in file order; each drawer takes the ones it needs.
enum class SkinColour : int {
    windowBg,
    windowFg,
    compFg,
    compDisabled,
    groupBorder,
    text,
    textOutLineSpecific,
    sliderBg,
    listHeaderBg,
    listHeaderFont,
    listBg,
    listFont,
    listAlternate,
    counter01,
    counter02,
};

inline constexpr int kSkinColourCount = 15;

// The element name of a colour in a skin set ("windowBg" …).
const char16_t* skinColourName(SkinColour colour);

class ISkin : public s::base::IObject {
public:
    virtual const s::str::strbuffer::StrBuffer& name() const = 0;
    virtual Rgb colour(SkinColour which) const = 0;
};

namespace skin {

class ThinWindow : public s::thread::PooledObject<ThinWindow, ISkin> {
public:
    const char* className() const override { return "s_gui_drawer_skin_ThinWindow"; }
    void reset() override;

    const s::str::strbuffer::StrBuffer& name() const override { return m_name; }
    Rgb colour(SkinColour which) const override { return m_colours[static_cast<std::size_t>(which)]; }

    void setName(std::u16string_view name) { m_name.assign(name); }
    void setColour(SkinColour which, Rgb value) { m_colours[static_cast<std::size_t>(which)] = value; }

    // A skin from 0xRRGGBB values in file order.
    static ThinWindow* make(std::u16string_view name, const std::array<uint32_t, kSkinColourCount>& colours);

private:
    s::str::strbuffer::StrBuffer m_name;
    std::array<Rgb, kSkinColourCount> m_colours{};
};

}  // namespace skin

}  // namespace s::gui::drawer
