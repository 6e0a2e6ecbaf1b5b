#include "gui/ListTheme.h"
#include "gui/SkinMenu.h"
#include "gui/SkinSchedule.h"
#include "gui/Skinner.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

using namespace s::gui::drawer;
using s::gui::ListTheme;
using s::gui::listThemeFor;
using s::gui::relativeLuminance;
using s::platform::ILocalClock;
using s::platform::LocalDay;

namespace {

using testing_platform::utf8;

// Central European time with the EU rule: summer time from the last Sunday of
// March 01:00 UTC to the last Sunday of October 01:00 UTC. A fixed zone keeps
// the cases independent of the machine's.
class CentralEuropeanClock : public ILocalClock {
public:
    explicit CentralEuropeanClock(int64_t now = 0) : m_now(now) {}
    int64_t now() const override { return m_now; }
    void setNow(int64_t now) { m_now = now; }

    LocalDay dayOf(int64_t instant) const override
    {
        const int64_t local = instant + offsetAt(instant);
        const int64_t days = floorDiv(local, 86400);
        LocalDay day;
        // Transitions happen at 01:00 UTC, never at local midnight, so the
        // offset an hour before midnight is the offset at midnight.
        day.midnight = days * 86400 - offsetAt(days * 86400 - 3600 - 3600);
        day.weekday = static_cast<int>(((days + 3) % 7 + 7) % 7);
        int y, m, d;
        civil(days, y, m, d);
        day.month = m;
        return day;
    }

    // Seconds since 1970 of a local wall-clock time in this zone.
    static int64_t local(int y, int m, int d, int hh, int mm)
    {
        const int64_t wall = daysFromCivil(y, m, d) * 86400 + hh * 3600 + mm * 60;
        const int64_t guess = wall - 3600;
        return wall - offsetAt(guess - offsetAt(guess) + 3600);
    }

private:
    static int64_t floorDiv(int64_t a, int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

    static int64_t daysFromCivil(int y, int m, int d)
    {
        y -= m <= 2;
        const int64_t era = (y >= 0 ? y : y - 399) / 400;
        const int64_t yoe = y - era * 400;
        const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe - 719468;
    }

    static void civil(int64_t z, int& y, int& m, int& d)
    {
        z += 719468;
        const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
        const int64_t doe = z - era * 146097;
        const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const int64_t mp = (5 * doy + 2) / 153;
        d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
        m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
        y = static_cast<int>(yoe + era * 400 + (m <= 2));
    }

    static int64_t lastSundayAt1Utc(int y, int m)
    {
        int64_t day = daysFromCivil(y, m, 31);
        while (((day + 3) % 7 + 7) % 7 != 6)
            --day;
        return day * 86400 + 3600;
    }

    static int64_t offsetAt(int64_t instant)
    {
        int y, m, d;
        civil(floorDiv(instant, 86400), y, m, d);
        const bool summer = instant >= lastSundayAt1Utc(y, 3) && instant < lastSundayAt1Utc(y, 10);
        return summer ? 7200 : 3600;
    }

    int64_t m_now;
};

TEST(SkinSchedule, DecidesByDaysWeeksAndMonthsOfTheLocalCalendar)
{
    using C = CentralEuropeanClock;
    struct Case {
        const char* name;
        int32_t period;
        int64_t last;
        int64_t now;
        ScheduleDecision expected;
    };
    const auto change = ScheduleDecision::Change;
    const auto keep = ScheduleDecision::Nothing;
    const Case cases[] = {
        {"every start", 0, C::local(2027, 1, 5, 10, 0), C::local(2027, 1, 5, 10, 1), change},
        {"never", -1, C::local(2027, 1, 5, 10, 0), C::local(2028, 1, 5, 10, 0), keep},
        {"day: 23:50 yesterday, 00:05 today", 1, C::local(2027, 1, 4, 23, 50), C::local(2027, 1, 5, 0, 5), change},
        {"day: 00:05 today, 23:59 today", 1, C::local(2027, 1, 5, 0, 5), C::local(2027, 1, 5, 23, 59), keep},
        {"3 days: not yet", 3, C::local(2027, 1, 5, 9, 0), C::local(2027, 1, 7, 23, 59), keep},
        {"3 days: due", 3, C::local(2027, 1, 5, 9, 0), C::local(2027, 1, 8, 0, 0), change},
        // 2027-01-10 is a Sunday; its week began on Monday the 4th.
        {"week: Sunday, then Monday 00:00", 7, C::local(2027, 1, 10, 12, 0), C::local(2027, 1, 11, 0, 0), change},
        {"week: Sunday, then Sunday 23:59", 7, C::local(2027, 1, 10, 0, 0), C::local(2027, 1, 10, 23, 59), keep},
        {"2 weeks: next Monday is too early", 14, C::local(2027, 1, 10, 12, 0), C::local(2027, 1, 11, 0, 0), keep},
        {"2 weeks: the Monday after", 14, C::local(2027, 1, 10, 12, 0), C::local(2027, 1, 18, 0, 0), change},
        {"29 counts as 4 weeks: too early", 29, C::local(2027, 1, 4, 0, 0), C::local(2027, 1, 31, 23, 59), keep},
        {"29 counts as 4 weeks: due", 29, C::local(2027, 1, 4, 0, 0), C::local(2027, 2, 1, 0, 0), change},
        {"month: March to April", 30, C::local(2027, 3, 31, 23, 0), C::local(2027, 4, 1, 0, 30), change},
        {"month: March to March next year", 30, C::local(2027, 3, 5, 0, 0), C::local(2028, 3, 20, 0, 0), keep},
        {"above 30: never", 31, C::local(2027, 1, 5, 0, 0), C::local(2028, 1, 5, 0, 0), keep},
        {"clock set back", 1, C::local(2027, 1, 6, 0, 0), C::local(2027, 1, 5, 0, 0), ScheduleDecision::StoreNowOnly},
        {"clock set back, period above 30", 45, C::local(2027, 1, 6, 0, 0), C::local(2027, 1, 5, 0, 0),
         ScheduleDecision::StoreNowOnly},
    };
    const CentralEuropeanClock clock;
    for (const auto& c : cases)
        EXPECT_EQ(decideSkinChange(c.period, c.last, c.now, clock), c.expected) << c.name;
}

TEST(SkinSchedule, LocalMidnightAcrossTheSpringChange)
{
    // 2027-03-28: clocks go from 02:00 to 03:00 local. Noon that day is summer
    // time, but the day began at 00:00 winter time, 23:00 UTC the day before.
    const CentralEuropeanClock clock;
    const int64_t noon = CentralEuropeanClock::local(2027, 3, 28, 12, 0);
    const LocalDay day = clock.dayOf(noon);
    EXPECT_EQ(noon - day.midnight, 11 * 3600) << "a 23-hour day: 11 real hours from midnight to noon";
    EXPECT_EQ(day.weekday, 6);
    EXPECT_EQ(decideSkinChange(1, noon, day.midnight + 86400 - 1, clock), ScheduleDecision::Nothing);
    EXPECT_EQ(decideSkinChange(1, noon, day.midnight + 86400, clock), ScheduleDecision::Change);
}

TEST(SkinSchedule, TheMachineClockGivesAPlausibleDay)
{
    const auto& clock = s::platform::systemClock();
    const int64_t now = clock.now();
    const LocalDay day = clock.dayOf(now);
    EXPECT_LE(day.midnight, now);
    EXPECT_LT(now - day.midnight, 25 * 3600);
    EXPECT_GE(day.weekday, 0);
    EXPECT_LE(day.weekday, 6);
    EXPECT_GE(day.month, 1);
    EXPECT_LE(day.month, 12);
    EXPECT_GT(now, 1700000000) << "seconds since 1970";
}

struct Recorder : s::gui::events::IEventListener {
    void onEvent(s::base::IObject* source, int code) override
    {
        sources.push_back(source);
        codes.push_back(code);
    }
    std::vector<s::base::IObject*> sources;
    std::vector<int> codes;
};

TEST(Skinner, StartsWithTheSixteenBuiltInSkins)
{
    Skinner skinner;
    const char* names[] = {"White",      "Ivory",  "Black",    "Black II", "Black Black", "Black Black II",
                           "Classic LG", "Beige",  "Sky Blue", "Pink",     "Salmon Red",  "Yellow",
                           "Green",      "Orange", "Khaki",    "Indigo"};
    ASSERT_EQ(skinner.skinCount(), 16);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(utf8(skinner.skinName(i)), names[i]) << i;
        EXPECT_EQ(utf8(skinner.skin(i)->name()), names[i]) << i;
    }
    const ISkin* classic = skinner.skin(6);
    EXPECT_EQ(classic->colour(SkinColour::windowBg), (Rgb{0x74, 0x74, 0x74}));
    EXPECT_EQ(classic->colour(SkinColour::listHeaderFont), (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(classic->colour(SkinColour::counter02), (Rgb{0x19, 0x19, 0x19}));
    EXPECT_EQ(skinner.findSkin(u"classic lg"), 6);
    EXPECT_EQ(skinner.findSkin(u"Classic"), -1);
    EXPECT_EQ(skinner.current(), nullptr);
}

TEST(Skinner, SelectingTellsListenersOnlyOnChange)
{
    Skinner skinner;
    Recorder first, second;
    skinner.addListener(&first);
    skinner.addListener(&second);
    skinner.selectSkin(skinner.skin(2));
    skinner.selectSkin(skinner.skin(2));
    EXPECT_EQ(first.codes, std::vector<int>{0});
    EXPECT_EQ(second.codes, std::vector<int>{0});
    EXPECT_EQ(first.sources.at(0), &skinner);
    skinner.removeListener(&first);
    skinner.selectSkin(skinner.skin(3));
    EXPECT_EQ(first.codes.size(), 1u);
    EXPECT_EQ(second.codes.size(), 2u);
}

TEST(Skinner, RandomChangeDrawsUntilTheSkinDiffers)
{
    Skinner skinner;
    skinner.removeAllSkins();
    for (const char16_t* name : {u"A", u"B", u"C"})
        skinner.addSkin(skin::ThinWindow::make(name, {}));
    skinner.selectSkin(skinner.skin(0));

    // Each draw takes three 15-bit values: (r1 * 2^15 + r2) * 2^15 + r3. The
    // first draw lands on the current skin (index 0) and is drawn again.
    std::deque<uint32_t> values = {0, 0, 3, 1, 0, 2};  // 3 % 3 = 0; 2^30 + 2 = 1073741826, % 3 = 0 → again
    values.insert(values.end(), {0, 0, 5});            // 5 % 3 = 2
    skinner.setRandomSource([&] {
        const uint32_t v = values.front();
        values.pop_front();
        return v;
    });
    Recorder recorder;
    skinner.addListener(&recorder);
    skinner.changeSkinRandomly();
    EXPECT_EQ(skinner.currentIndex(), 2);
    EXPECT_TRUE(values.empty()) << "three draws of three values each";
    EXPECT_EQ(recorder.codes.size(), 1u);
}

TEST(Skinner, OneSkinNeverLoops)
{
    Skinner skinner;
    skinner.removeAllSkins();
    skinner.addSkin(skin::ThinWindow::make(u"Only", {}));
    skinner.selectSkin(skinner.skin(0));
    int draws = 0;
    skinner.setRandomSource([&] {
        ++draws;
        return 0u;
    });
    skinner.changeSkinRandomly();
    EXPECT_EQ(draws, 0);
    EXPECT_EQ(skinner.currentIndex(), 0);
}

// Settings kept in memory, as the main window's store would keep them.
class MemorySkinSettings : public ISkinSettings {
public:
    s::str::strbuffer::StrBuffer skinName(std::u16string_view defaultName) override
    {
        return name.isEmpty() ? s::str::strbuffer::StrBuffer(defaultName) : name;
    }
    void setSkinName(std::u16string_view value) override { name = value; }
    int32_t changePeriod(int32_t defaultPeriod) override { return hasPeriod ? period : defaultPeriod; }
    void setChangePeriod(int32_t value) override
    {
        period = value;
        hasPeriod = true;
    }
    int64_t lastChange(int64_t defaultTime) override { return hasLast ? last : defaultTime; }
    void setLastChange(int64_t time) override
    {
        last = time;
        hasLast = true;
        ++lastWrites;
    }
    s::str::strbuffer::StrBuffer name;
    int32_t period = 0;
    bool hasPeriod = false;
    int64_t last = 0;
    bool hasLast = false;
    int lastWrites = 0;
};

TEST(SkinStartup, StoredNameElseClassicLgElseTheFirstSkin)
{
    struct Case {
        const char16_t* stored;
        const char* expected;
    };
    const Case cases[] = {{u"", "Classic LG"}, {u"pink", "Pink"}, {u"No Such Skin", "Classic LG"}};
    for (const auto& c : cases) {
        Skinner skinner;
        MemorySkinSettings settings;
        settings.name = c.stored;
        selectStartupSkin(skinner, settings);
        ASSERT_NE(skinner.current(), nullptr);
        EXPECT_EQ(utf8(skinner.current()->name()), c.expected);
    }
    Skinner withoutClassic;
    withoutClassic.removeAllSkins();
    withoutClassic.addSkin(skin::ThinWindow::make(u"First", {}));
    withoutClassic.addSkin(skin::ThinWindow::make(u"Second", {}));
    MemorySkinSettings settings;
    selectStartupSkin(withoutClassic, settings);
    EXPECT_EQ(withoutClassic.currentIndex(), 0);
}

TEST(SkinStartup, PeriodicChangeStoresTheTimeOnlyWhenItActs)
{
    const int64_t now = CentralEuropeanClock::local(2027, 1, 11, 9, 0);
    struct Case {
        const char* name;
        bool hasPeriod;
        int32_t period;
        bool hasLast;
        int64_t last;
        bool changes;
        bool stores;
    };
    const Case cases[] = {
        {"nothing stored: never", false, 0, false, 0, false, false},
        {"every start", true, 0, false, 0, true, true},
        {"daily, first time: last defaults to now", true, 1, false, 0, false, true},
        {"daily, due", true, 1, true, now - 2 * 86400, true, true},
        {"daily, not due", true, 1, true, now - 60, false, false},
        {"clock set back", true, 7, true, now + 3600, false, true},
    };
    for (const auto& c : cases) {
        Skinner skinner;
        skinner.selectSkin(skinner.skin(0));
        MemorySkinSettings settings;
        settings.hasPeriod = c.hasPeriod;
        settings.period = c.period;
        settings.hasLast = c.hasLast;
        settings.last = c.last;
        const CentralEuropeanClock clock(now);
        applyPeriodicChange(skinner, settings, clock);
        EXPECT_EQ(skinner.currentIndex() != 0, c.changes) << c.name;
        EXPECT_EQ(settings.lastWrites, c.stores ? 1 : 0) << c.name;
        if (c.stores) {
            EXPECT_EQ(settings.last, now) << c.name;
        }
    }
}

TEST(SkinMenuModel, ItemsCommandsAndMarks)
{
    Skinner skinner;
    MemorySkinSettings settings;
    settings.setChangePeriod(14);
    settings.lastWrites = 0;
    const CentralEuropeanClock clock(1800000000);
    skinner.selectSkin(skinner.skin(5));
    SkinMenu menu(skinner, settings, clock);

    const MenuItem root = menu.build();
    EXPECT_EQ(root.textId, 8000000);
    ASSERT_EQ(root.items.size(), 4u + 16u);
    EXPECT_EQ(root.items[0].command, 29997);
    EXPECT_EQ(root.items[1].kind, MenuItem::Kind::Separator);
    const MenuItem& periodic = root.items[2];
    EXPECT_EQ(periodic.textId, 8105000);
    ASSERT_EQ(periodic.items.size(), 10u);
    EXPECT_EQ(periodic.items[0].command, 29290);
    EXPECT_EQ(periodic.items[1].kind, MenuItem::Kind::Separator);
    for (const MenuItem& item : periodic.items)
        EXPECT_EQ(item.marked, item.command == 29297) << item.command;
    EXPECT_EQ(root.items[3].kind, MenuItem::Kind::Separator);
    for (int i = 0; i < 16; ++i) {
        const MenuItem& item = root.items[static_cast<std::size_t>(4 + i)];
        EXPECT_EQ(item.command, 28200 + i);
        EXPECT_EQ(item.marked, i == 5) << i;
        EXPECT_EQ(utf8(item.text), utf8(skinner.skinName(i)));
    }

    struct PeriodCase {
        int32_t period;
        int command;
    };
    for (const PeriodCase& c : {PeriodCase{-1, 29290}, PeriodCase{0, 29291}, PeriodCase{1, 29292}, PeriodCase{2, 29293},
                                PeriodCase{3, 29294}, PeriodCase{5, 29295}, PeriodCase{7, 29296}, PeriodCase{14, 29297},
                                PeriodCase{30, 29298}, PeriodCase{4, 29290}, PeriodCase{29, 29290}}) {
        EXPECT_EQ(SkinMenu::markedPeriodCommand(c.period), c.command) << c.period;
        if (c.command != 29290 || c.period == -1) {
            EXPECT_TRUE(menu.onCommand(c.command));
            EXPECT_EQ(settings.changePeriod(99), c.period) << c.command;
            EXPECT_EQ(settings.last, 1800000000);
        }
    }
    EXPECT_EQ(skinner.currentIndex(), 5) << "a period command leaves the skin alone";

    EXPECT_TRUE(menu.onCommand(28200 + 9));
    EXPECT_EQ(skinner.currentIndex(), 9);
    EXPECT_FALSE(menu.onCommand(28200 + 16)) << "no such skin";
    EXPECT_FALSE(menu.onCommand(12345));
}

}  // namespace

namespace {

s::xml::MappedDataHandle storeOf(std::string_view document)
{
    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    store->openDocument(document);
    return store;
}

TEST(SkinSetLoading, DefaultsSkippedNamesAndReplacement)
{
    auto store = storeOf(R"(<SkinSetXml><SkinSet><ThinWindow numOfSkins="3"></ThinWindow>
<ThinWindow_0 name="Dark"><compFg R="1" G="2" B="3"></compFg><text R="0" G="0" B="0"></text></ThinWindow_0>
<ThinWindow_1 name=""></ThinWindow_1>
<ThinWindow_2 name="Light"><text R="200" G="200" B="200"></text><windowBg R="9"></windowBg></ThinWindow_2>
</SkinSet></SkinSetXml>)");
    Skinner skinner;
    EXPECT_EQ(skinner.load(*store, u"SkinSet", true), 2);
    ASSERT_EQ(skinner.skinCount(), 2) << "the empty name takes no index; the built-ins are gone";
    EXPECT_EQ(utf8(skinner.skinName(0)), "Dark");
    EXPECT_EQ(utf8(skinner.skinName(1)), "Light");
    const ISkin* dark = skinner.skin(0);
    EXPECT_EQ(dark->colour(SkinColour::groupBorder), (Rgb{1, 2, 3})) << "groupBorder defaults to compFg";
    EXPECT_EQ(dark->colour(SkinColour::textOutLineSpecific), (Rgb{238, 238, 238})) << "dark text: light outline";
    EXPECT_EQ(dark->colour(SkinColour::listBg), (Rgb{0, 0, 0})) << "other colours default to 0";
    const ISkin* light = skinner.skin(1);
    EXPECT_EQ(light->colour(SkinColour::textOutLineSpecific), (Rgb{51, 51, 51})) << "light text: dark outline";
    EXPECT_EQ(light->colour(SkinColour::windowBg), (Rgb{9, 0, 0})) << "a missing component is 0";
}

TEST(SkinSetLoading, NothingUsableKeepsThePresentSkins)
{
    struct Case {
        const char* name;
        const char* document;
    };
    const Case cases[] = {
        {"no count", "<SkinSetXml><SkinSet></SkinSet></SkinSetXml>"},
        {"count 0", R"(<SkinSetXml><SkinSet><ThinWindow numOfSkins="0"></ThinWindow></SkinSet></SkinSetXml>)"},
        {"only empty names",
         R"(<SkinSetXml><SkinSet><ThinWindow numOfSkins="1"></ThinWindow><ThinWindow_0></ThinWindow_0></SkinSet></SkinSetXml>)"},
        {"a huge count and no skins",
         R"(<SkinSetXml><SkinSet><ThinWindow numOfSkins="2000000000"></ThinWindow></SkinSet></SkinSetXml>)"},
        {"not a skin set", "junk"},
    };
    for (const auto& c : cases) {
        auto store = storeOf(c.document);
        Skinner skinner;
        EXPECT_EQ(skinner.load(*store, u"SkinSet", true), 0) << c.name;
        EXPECT_EQ(skinner.skinCount(), 16) << c.name;
    }
}

// WCAG 2 contrast of two colours.
double contrast(Rgb a, Rgb b)
{
    auto channel = [](uint8_t v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    auto luminance = [&](Rgb c) {
        return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ShippedSkinSet, NinetyNamedReadableSkins)
{
    const auto data = s::platform::findResource(u"IDR_XML", 150);
    ASSERT_TRUE(data) << "the skin set is embedded";
    auto store = storeOf(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
    Skinner skinner;
    ASSERT_EQ(skinner.load(*store, u"SkinSet", true), 90);
    const char* given[][2] = {{"0", "Fresh L"}, {"9", "Classic LG"}, {"52", "Trans GR 70%"}, {"89", "Black Black II"}};
    for (const auto& g : given)
        EXPECT_EQ(utf8(skinner.skinName(std::atoi(g[0]))), g[1]);
    // Fresh L exactly as designed.
    const ISkin* fresh = skinner.skin(0);
    EXPECT_EQ(fresh->colour(SkinColour::windowBg), (Rgb{0xE7, 0xE9, 0xED}));
    EXPECT_EQ(fresh->colour(SkinColour::sliderBg), (Rgb{0xAD, 0xCE, 0x35}));
    EXPECT_EQ(fresh->colour(SkinColour::counter01), (Rgb{0xF8, 0xDC, 0x2A}));

    std::vector<std::string> names;
    for (int i = 0; i < skinner.skinCount(); ++i) {
        const ISkin* skin = skinner.skin(i);
        const std::string name = utf8(skin->name());
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << "duplicate " << name;
        names.push_back(name);
        // Text must stay readable: 4.5:1 (WCAG AA) for list text on both row
        // colours, header and button text, and window text. No shipped skin
        // is an exception.
        struct Pair {
            const char* what;
            SkinColour fg, bg;
        };
        const Pair pairs[] = {
            {"list text", SkinColour::listFont, SkinColour::listBg},
            {"list text on alternate rows", SkinColour::listFont, SkinColour::listAlternate},
            {"header and button text", SkinColour::listHeaderFont, SkinColour::listHeaderBg},
            {"window text", SkinColour::text, SkinColour::windowBg},
        };
        for (const Pair& p : pairs)
            EXPECT_GE(contrast(skin->colour(p.fg), skin->colour(p.bg)), 4.5) << name << ": " << p.what;
    }
}

// The scroll bars take the dark system theme exactly where the skin's list is
// dark: every shipped skin with light text on its list gets it, every skin
// with dark text keeps the ordinary theme.
TEST(ShippedSkinSet, DarkListsGetTheDarkScrollBars)
{
    struct Row {
        Rgb colour;
        ListTheme expected;
    };
    const Row rows[] = {
        {{0, 0, 0}, ListTheme::dark},           {{255, 255, 255}, ListTheme::light},
        {{49, 49, 49}, ListTheme::dark},        {{0x70, 0x70, 0x70}, ListTheme::dark},  // luminance 0.162
        {{0x76, 0x76, 0x76}, ListTheme::light},                                         // 0.181
        {{0, 0, 255}, ListTheme::dark},         {{255, 0, 0}, ListTheme::light},
        {{0, 255, 0}, ListTheme::light},        {{40, 15, 51}, ListTheme::dark},
    };
    for (const Row& row : rows)
        EXPECT_EQ(listThemeFor(row.colour), row.expected)
            << "rgb " << int(row.colour.r) << "," << int(row.colour.g) << "," << int(row.colour.b);

    const auto data = s::platform::findResource(u"IDR_XML", 150);
    ASSERT_TRUE(data);
    auto store = storeOf(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
    Skinner skinner;
    ASSERT_EQ(skinner.load(*store, u"SkinSet", true), 90);
    for (int i = 0; i < skinner.skinCount(); ++i) {
        const ISkin* skin = skinner.skin(i);
        const bool lightText =
            relativeLuminance(skin->colour(SkinColour::listFont)) > relativeLuminance(skin->colour(SkinColour::listBg));
        const ListTheme theme = listThemeFor(skin->colour(SkinColour::listBg));
        EXPECT_EQ(theme == ListTheme::dark, lightText) << utf8(skin->name());
    }
    EXPECT_EQ(listThemeFor(skinner.skin(skinner.findSkin(u"Classic LG"))->colour(SkinColour::listBg)), ListTheme::dark);
    EXPECT_EQ(listThemeFor(skinner.skin(skinner.findSkin(u"Fresh L"))->colour(SkinColour::listBg)), ListTheme::light);
}

}  // namespace

namespace {

TEST(StoredSkinSettings, LiveWhereTheSettingsFileKeepsThem)
{
    auto store = storeOf("<savedata></savedata>");
    StoredSkinSettings settings(*store);
    EXPECT_EQ(utf8(settings.skinName(u"Classic LG")), "Classic LG");
    EXPECT_EQ(settings.changePeriod(-1), -1);
    EXPECT_EQ(settings.lastChange(77), 77);
    settings.setSkinName(u"Pink Velvet");
    settings.setChangePeriod(14);
    settings.setLastChange(1800000000123LL);
    EXPECT_EQ(store->getString(u"Skin", u"", u"").toUtf8(), "Pink Velvet");
    EXPECT_EQ(store->getS32(u"MainWindow\\View", u"RandomSkinDay", 0), 14);
    EXPECT_EQ(store->getS64(u"mainwindow/view", u"randomskinlastchange", 0), 1800000000123LL);
    EXPECT_EQ(utf8(settings.skinName(u"x")), "Pink Velvet");
}

}  // namespace
