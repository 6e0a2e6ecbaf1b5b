// The skin set and the current skin. Filled with sixteen built-in skins; the
// embedded set replaces them when it loads. Used by the window thread only.
#pragma once

#include "base/IEventListener.h"
#include "base/Pool.h"
#include "base/StrArray.h"
#include "gui/ThinWindow.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace s::map {
class IMappedData;
}

namespace s::gui::drawer {

class Skinner : public s::thread::PooledObject<Skinner> {
public:
    // Gives 15-bit pseudo-random values (0 … 32767).
    using RandomSource = std::function<uint32_t()>;

    Skinner();
    ~Skinner() override;
    Skinner(const Skinner&) = delete;
    Skinner& operator=(const Skinner&) = delete;

    const char* className() const override { return "s_gui_drawer_Skinner"; }
    // Back to the built-in skins, no current skin, no listeners.
    void reset() override;

    const char16_t* kind() const { return u"ThinWindow"; }

    // Reads a skin set below section of a key/value store: element
    // "ThinWindow" with numOfSkins, then "ThinWindow_<i>" with a name and the
    // fifteen colour elements. With replace and at least one skin announced,
    // the present skins go first. Returns the number of skins added.
    int load(s::map::IMappedData& store, std::u16string_view section, bool replace);

    int skinCount() const { return static_cast<int>(m_skins.size()); }
    skin::ThinWindow* skin(int index) const { return m_skins[static_cast<std::size_t>(index)]; }
    const s::str::strbuffer::StrBuffer& skinName(int index) const { return m_names.get(index); }
    // The first skin whose name equals name ignoring case, or -1.
    int findSkin(std::u16string_view name) const;
    // Appends a skin (ownership passes to the set); never replaces one of the
    // same name.
    void addSkin(skin::ThinWindow* skin);
    void removeAllSkins();

    ISkin* current() const { return m_current; }
    int currentIndex() const;
    // Makes skin current and tells the listeners, unless it already is.
    void selectSkin(ISkin* skin);
    // Draws skins until one differs from the current one; nothing with fewer
    // than two skins.
    void changeSkinRandomly();
    void notifySkinChanged();

    void addListener(s::gui::events::IEventListener* listener);
    void removeListener(s::gui::events::IEventListener* listener);

    // Tests replace the process's generator with their own sequence.
    void setRandomSource(RandomSource source) { m_random = std::move(source); }

private:
    void addBuiltInSkins();
    uint32_t draw() const;

    std::vector<skin::ThinWindow*> m_skins;  // owned
    s::str::StrArray m_names;
    ISkin* m_current = nullptr;
    std::vector<s::gui::events::IEventListener*> m_listeners;  // not owned
    RandomSource m_random;
};

}  // namespace s::gui::drawer
