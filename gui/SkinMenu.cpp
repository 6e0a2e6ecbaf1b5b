#include "gui/SkinMenu.h"

#include "lang/TextIds.h"
#include "settings/IMappedData.h"
#include "settings/MainWindowView.h"

#include <utility>

namespace s::gui::drawer {

namespace {

struct PeriodItem {
    int command;
    int32_t period;
    int32_t textId;
};

// "Don't Change" first, then a separator, then the periods.
constexpr PeriodItem kPeriods[] = {
    {29290, kNeverChange, 8105010},
    {29291, 0, 8105020},
    {29292, 1, 8105030},
    {29293, 2, 8105040},
    {29294, 3, 8105050},
    {29295, 5, 8105060},
    {29296, 7, 8105070},
    {29297, 14, 8105080},
    {29298, 30, 8105090},
};

constexpr char16_t kSkinSection[] = u"Skin";

}  // namespace

s::str::strbuffer::StrBuffer StoredSkinSettings::skinName(std::u16string_view defaultName)
{
    return m_store.getString(kSkinSection, u"", defaultName);
}

void StoredSkinSettings::setSkinName(std::u16string_view name)
{
    m_store.setString(kSkinSection, u"", name);
}

int32_t StoredSkinSettings::changePeriod(int32_t defaultPeriod)
{
    return m_store.getS32(s::map::mainwindow::kViewSection, u"RandomSkinDay", defaultPeriod);
}

void StoredSkinSettings::setChangePeriod(int32_t period)
{
    m_store.setS32(s::map::mainwindow::kViewSection, u"RandomSkinDay", period);
}

int64_t StoredSkinSettings::lastChange(int64_t defaultTime)
{
    return m_store.getS64(s::map::mainwindow::kViewSection, u"RandomSkinLastChange", defaultTime);
}

void StoredSkinSettings::setLastChange(int64_t time)
{
    m_store.setS64(s::map::mainwindow::kViewSection, u"RandomSkinLastChange", time);
}

void selectStartupSkin(Skinner& skinner, ISkinSettings& settings)
{
    if (skinner.skinCount() == 0)
        return;
    int index = skinner.findSkin(settings.skinName(kDefaultSkinName).view());
    if (index < 0)
        index = skinner.findSkin(kDefaultSkinName);
    skinner.selectSkin(skinner.skin(index >= 0 ? index : 0));
}

bool applyPeriodicChange(Skinner& skinner, ISkinSettings& settings, const s::platform::ILocalClock& clock)
{
    const int64_t now = clock.now();
    const int32_t period = settings.changePeriod(kNeverChange);
    const int64_t last = period >= 1 ? settings.lastChange(now) : now;
    switch (decideSkinChange(period, last, now, clock)) {
    case ScheduleDecision::Change:
        skinner.changeSkinRandomly();
        settings.setLastChange(now);
        return true;
    case ScheduleDecision::StoreNowOnly:
        settings.setLastChange(now);
        break;
    case ScheduleDecision::Nothing:
        break;
    }
    return false;
}

SkinMenu::SkinMenu(Skinner& skinner, ISkinSettings& settings, const s::platform::ILocalClock& clock)
    : m_skinner(skinner), m_settings(settings), m_clock(clock)
{
}

int SkinMenu::markedPeriodCommand(int32_t period)
{
    for (const PeriodItem& item : kPeriods) {
        if (item.period == period)
            return item.command;
    }
    return kFirstPeriod;
}

MenuItem SkinMenu::build() const
{
    MenuItem menu = MenuItem::submenu(s::lang::ids::kSkinMenu);
    menu.add(MenuItem::item(8000001, kSeeThumbnail));
    menu.add(MenuItem::separator());

    MenuItem periodic = MenuItem::submenu(8105000);
    const int marked = markedPeriodCommand(m_settings.changePeriod(kNeverChange));
    for (const PeriodItem& period : kPeriods) {
        periodic.add(MenuItem::item(period.textId, period.command).withRadio(0, period.command == marked));
        if (period.command == kFirstPeriod)
            periodic.add(MenuItem::separator());
    }
    menu.add(std::move(periodic));
    menu.add(MenuItem::separator());

    const int current = m_skinner.currentIndex();
    for (int i = 0; i < m_skinner.skinCount(); ++i)
        menu.add(MenuItem::literal(m_skinner.skinName(i).view(), kFirstSkin + i).withRadio(0, i == current));
    return menu;
}

MenuItem SkinMenu::submenu() const
{
    MenuItem menu = MenuItem::submenu(s::lang::ids::kSkinMenu);
    menu.rebuild = [this](MenuItem& opening) {
        opening.items = build().items;
    };
    return menu;
}

bool SkinMenu::onCommand(int command)
{
    if (command >= kFirstPeriod && command <= kLastPeriod) {
        // Only the period changes; the skin stays until the next start.
        m_settings.setChangePeriod(kPeriods[command - kFirstPeriod].period);
        m_settings.setLastChange(m_clock.now());
        return true;
    }
    const int index = command - kFirstSkin;
    if (index >= 0 && index < m_skinner.skinCount()) {
        m_skinner.selectSkin(m_skinner.skin(index));
        m_settings.setLastChange(m_clock.now());
        return true;
    }
    return false;
}

}  // namespace s::gui::drawer
