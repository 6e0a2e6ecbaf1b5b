#include "gui/Skinner.h"

#include "settings/IMappedData.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <random>

namespace s::gui::drawer {

namespace {

struct BuiltIn {
    const char16_t* name;
    std::array<uint32_t, kSkinColourCount> colours;
};

// Present before the embedded set loads, and the set if it yields nothing.
const BuiltIn kBuiltIns[] = {
    {u"White",
     {0xFFFFFF, 0x444444, 0x444444, 0xCCCCCC, 0x444444, 0x000000, 0xEEEEEE, 0x777777, 0x777777, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0x777777, 0xFFA500}},
    {u"Ivory",
     {0xF2F0E6, 0x000000, 0x000000, 0xAAAAAA, 0x000000, 0x000000, 0xEEEEEE, 0xB0B0B0, 0xB0B0B0, 0xF0EEE4, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xB0B0B0, 0xFFA500}},
    {u"Black",
     {0x333333, 0x555555, 0xB0B0B0, 0x555555, 0xB0B0B0, 0xFFFFFF, 0x333333, 0x999999, 0xCCCCCC, 0x000000, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {u"Black II",
     {0x333333, 0x555555, 0xB0B0B0, 0x555555, 0xB0B0B0, 0xDDDDDD, 0x333333, 0x999999, 0xCCCCCC, 0x000000, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {u"Black Black",
     {0x000000, 0x333333, 0xB0B0B0, 0x333333, 0xB0B0B0, 0xFFFFFF, 0x333333, 0x999999, 0xCCCCCC, 0x000000, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {u"Black Black II",
     {0x000000, 0x333333, 0xB0B0B0, 0x333333, 0xB0B0B0, 0xDDDDDD, 0x333333, 0x999999, 0xCCCCCC, 0x000000, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {u"Classic LG",
     {0x747474, 0x111111, 0x111111, 0x565656, 0x111111, 0xFFFFFF, 0x333333, 0x747474, 0x191919, 0xFFFFFF, 0x313131,
      0xBFBFBF, 0x383838, 0xC3EA00, 0x191919}},
    {u"Beige",
     {0xECE9D8, 0x000000, 0x000000, 0xAAAAAA, 0x000000, 0x000000, 0xEEEEEE, 0xA8A280, 0xA8A280, 0xECE9D8, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xA8A280, 0xFFA500}},
    {u"Sky Blue",
     {0xC2DFFF, 0x5785FF, 0x5785FF, 0x5785FF, 0x5785FF, 0x000000, 0xEEEEEE, 0x5785FF, 0x5785FF, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0x5785FF, 0xFFA500}},
    {u"Pink",
     {0xFFC2E6, 0xFF5DA2, 0xFF5DA2, 0xFF5DA2, 0xFF5DA2, 0x000000, 0xEEEEEE, 0xFF5DA2, 0xFF5DA2, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xFF305C, 0xFFA500}},
    {u"Salmon Red",
     {0xFF305C, 0xFFBDCB, 0xFFBDCB, 0xFFBDCB, 0xFFBDCB, 0xFFFFFF, 0x333333, 0xFFBDCB, 0xFFBDCB, 0xFF305C, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xFFC2E6, 0xFFA500}},
    {u"Yellow",
     {0xFCFF5B, 0xE0CE00, 0xE0CE00, 0xE0CE00, 0xE0CE00, 0x000000, 0xEEEEEE, 0xE0CE00, 0xE0CE00, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xA8FF53, 0xFFA500}},
    {u"Green",
     {0xB8FF3D, 0x81A007, 0x81A007, 0x81A007, 0x81A007, 0x000000, 0xEEEEEE, 0x8FAF11, 0x8FAF11, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0x8FAF11, 0xFFA500}},
    {u"Orange",
     {0xFFCF3D, 0xDD8702, 0xDD8702, 0xDD8702, 0xDD8702, 0x000000, 0xEEEEEE, 0xDD8702, 0xDD8702, 0xFFFFFF, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xFFFFFF, 0xFFA500}},
    {u"Khaki",
     {0x3E5C00, 0x92B941, 0x92B941, 0x92B941, 0x92B941, 0xFFFFFF, 0x333333, 0xDD8702, 0xDD8702, 0x3E5C00, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {u"Indigo",
     {0x310082, 0xC07DFF, 0xC07DFF, 0xC07DFF, 0xC07DFF, 0xFFFFFF, 0x333333, 0xC39EFF, 0xC39EFF, 0x310082, 0xFFFFFF,
      0x000000, 0xEEEEEE, 0xC07DFF, 0xFFA500}},
};

// One generator for the process, seeded from the clock on first use.
uint32_t processRandom15()
{
    static std::mutex lock;
    static std::minstd_rand generator(
        static_cast<std::minstd_rand::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::lock_guard guard(lock);
    return static_cast<uint32_t>(generator() & 0x7FFF);
}

}  // namespace

int Skinner::load(s::map::IMappedData& store, std::u16string_view section, bool replace)
{
    s::str::strbuffer::StrBuffer element(section);
    element.append(u"\\ThinWindow");
    const int32_t announced = store.getS32(element.view(), u"numOfSkins", 0);
    if (announced <= 0)
        return 0;
    // The skins are read first and replace the present ones only when there
    // is at least one: a set whose every entry is unusable would otherwise
    // leave the program with no skin at all.
    std::vector<skin::ThinWindow*> loaded;
    s::str::strbuffer::StrBuffer skinSection;
    s::str::strbuffer::StrBuffer colourSection;
    for (int32_t i = 0; i < announced; ++i) {
        skinSection.assign(section);
        skinSection.append(u"\\ThinWindow_");
        skinSection.appendS32(i);
        // A set that announces more skins than it holds ends at the first
        // missing one instead of trying every number up to the count.
        if (!store.findSection(skinSection.view()))
            break;
        const s::str::strbuffer::StrBuffer name = store.getString(skinSection.view(), u"name", u"");
        if (name.isEmpty())
            continue;
        skin::ThinWindow* skin = s::thread::Pool<skin::ThinWindow>::take();
        skin->setName(name.view());
        for (int c = 0; c < kSkinColourCount; ++c) {
            const auto colour = static_cast<SkinColour>(c);
            Rgb fallback{};
            if (colour == SkinColour::groupBorder) {
                fallback = skin->colour(SkinColour::compFg);
            } else if (colour == SkinColour::textOutLineSpecific) {
                const Rgb text = skin->colour(SkinColour::text);
                const int sum = text.r + text.g + text.b;
                fallback = sum < 234 ? Rgb{238, 238, 238} : Rgb{51, 51, 51};
            }
            colourSection.assign(skinSection.view());
            colourSection.append(u'\\');
            colourSection.append(skinColourName(colour));
            const auto component = [&](const char16_t* name16, uint8_t def) {
                return static_cast<uint8_t>(store.getS32(colourSection.view(), name16, def));
            };
            skin->setColour(colour,
                            Rgb{component(u"R", fallback.r), component(u"G", fallback.g), component(u"B", fallback.b)});
        }
        loaded.push_back(skin);
    }
    if (replace && !loaded.empty())
        removeAllSkins();
    for (skin::ThinWindow* skin : loaded)
        addSkin(skin);
    return static_cast<int>(loaded.size());
}

Skinner::Skinner()
{
    addBuiltInSkins();
}

Skinner::~Skinner()
{
    removeAllSkins();
}

void Skinner::reset()
{
    removeAllSkins();
    m_listeners.clear();
    m_random = nullptr;
    addBuiltInSkins();
}

void Skinner::addBuiltInSkins()
{
    for (const BuiltIn& builtIn : kBuiltIns)
        addSkin(skin::ThinWindow::make(builtIn.name, builtIn.colours));
}

void Skinner::removeAllSkins()
{
    // From the last to the first, as the set was built.
    while (!m_skins.empty()) {
        if (m_current == m_skins.back())
            m_current = nullptr;
        m_skins.back()->release();
        m_skins.pop_back();
        m_names.removeAt(m_names.count() - 1);
    }
}

void Skinner::addSkin(skin::ThinWindow* skin)
{
    m_skins.push_back(skin);
    m_names.add(skin->name().view());
}

int Skinner::findSkin(std::u16string_view name) const
{
    return m_names.indexOfIgnoreCase(name);
}

int Skinner::currentIndex() const
{
    auto found = std::find(m_skins.begin(), m_skins.end(), m_current);
    return found == m_skins.end() ? -1 : static_cast<int>(found - m_skins.begin());
}

void Skinner::selectSkin(ISkin* skin)
{
    if (skin == m_current)
        return;
    m_current = skin;
    notifySkinChanged();
}

uint32_t Skinner::draw() const
{
    const auto next = [this] {
        return (m_random ? m_random() : processRandom15()) & 0x7FFFu;
    };
    const uint32_t r1 = next();
    const uint32_t r2 = next();
    const uint32_t r3 = next();
    // ((r1 * 2^15 + r2) * 2^15 + r3), kept to 32 bits.
    return static_cast<uint32_t>((((static_cast<uint64_t>(r1) << 15) + r2) << 15) + r3);
}

void Skinner::changeSkinRandomly()
{
    const auto count = static_cast<uint32_t>(m_skins.size());
    if (count < 2)
        return;
    skin::ThinWindow* chosen = nullptr;
    do {
        chosen = m_skins[draw() % count];
    } while (chosen == m_current);
    m_current = chosen;
    notifySkinChanged();
}

void Skinner::notifySkinChanged()
{
    const auto listeners = m_listeners;  // a listener may remove itself
    for (auto* listener : listeners)
        listener->onEvent(this, 0);
}

void Skinner::addListener(s::gui::events::IEventListener* listener)
{
    m_listeners.push_back(listener);
}

void Skinner::removeListener(s::gui::events::IEventListener* listener)
{
    auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (found != m_listeners.end())
        m_listeners.erase(found);
}

}  // namespace s::gui::drawer
