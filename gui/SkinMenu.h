// The Skin menu as a model (the window shows it and forwards its commands),
// the start-up choice of the skin and the periodic change.
#pragma once

#include "base/StrBuffer.h"
#include "gui/MenuModel.h"
#include "gui/SkinSchedule.h"
#include "gui/Skinner.h"

#include <cstdint>
#include <vector>

namespace s::map {
class IMappedData;
}

namespace s::gui::drawer {

// Where the skin choices live in the settings.
class ISkinSettings {
public:
    virtual ~ISkinSettings() = default;
    virtual s::str::strbuffer::StrBuffer skinName(std::u16string_view defaultName) = 0;
    virtual void setSkinName(std::u16string_view name) = 0;
    virtual int32_t changePeriod(int32_t defaultPeriod) = 0;
    virtual void setChangePeriod(int32_t period) = 0;
    virtual int64_t lastChange(int64_t defaultTime) = 0;
    virtual void setLastChange(int64_t time) = 0;
};

inline constexpr char16_t kDefaultSkinName[] = u"Classic LG";

// The skin choices in the program's settings store: "Skin" (element text of
// the root's child) and the main window's View section.
class StoredSkinSettings : public ISkinSettings {
public:
    explicit StoredSkinSettings(s::map::IMappedData& store) : m_store(store) {}
    s::str::strbuffer::StrBuffer skinName(std::u16string_view defaultName) override;
    void setSkinName(std::u16string_view name) override;
    int32_t changePeriod(int32_t defaultPeriod) override;
    void setChangePeriod(int32_t period) override;
    int64_t lastChange(int64_t defaultTime) override;
    void setLastChange(int64_t time) override;

private:
    s::map::IMappedData& m_store;
};

// Start-up: the stored "Skin" (else "Classic LG", else the first skin) becomes
// current.
void selectStartupSkin(Skinner& skinner, ISkinSettings& settings);
// Start-up: change the skin if the stored period says so.
// True when it changed the skin.
bool applyPeriodicChange(Skinner& skinner, ISkinSettings& settings, const s::platform::ILocalClock& clock);

using MenuItem = s::gui::menu::MenuItem;

class SkinMenu {
public:
    static constexpr int kSeeThumbnail = 29997;
    static constexpr int kFirstSkin = 28200;
    static constexpr int kFirstPeriod = 29290;  // 29290 … 29298
    static constexpr int kLastPeriod = 29298;

    SkinMenu(Skinner& skinner, ISkinSettings& settings, const s::platform::ILocalClock& clock);

    // Rebuilt each time the menu bar opens: thumbnail link, separator, the
    // "Change Periodically" submenu, separator, one item per skin. The
    // periods and the skins are radio groups.
    MenuItem build() const;
    // The Skin submenu for a MenuModel: empty until it opens, then refilled
    // by build() on every opening. The menu must not outlive this object.
    MenuItem submenu() const;
    // The period command that carries the mark for a stored period.
    static int markedPeriodCommand(int32_t period);
    // Handles 29290 … 29298 and 28200 + i; false for any other command.
    bool onCommand(int command);

private:
    Skinner& m_skinner;
    ISkinSettings& m_settings;
    const s::platform::ILocalClock& m_clock;
};

}  // namespace s::gui::drawer
