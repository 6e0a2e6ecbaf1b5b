#include "gui/MenuModel.h"
#include "gui/ListViewStep.h"
#include "gui/SkinMenu.h"
#include "gui/Skinner.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/LocalClock.h"
#include "tests/support/Utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace s::gui::menu;
using s::gui::list::ListViewStep;

namespace {

using testing_platform::utf8;

// A two-language table with the few texts these menus show.
class MenuFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        s::xml::Node root;
        root.parse(uR"(<lang><languages>
<entry tagName="eng" engName="English" trueName="English"/>
<entry tagName="deu" engName="German" trueName="Deutsch"/></languages>
<entries>
<entry id="609000"><eng>View</eng><deu>Ansicht</deu></entry>
<entry id="609100"><eng>Keep on Top</eng><deu>Immer oben</deu></entry>
<entry id="715000"><eng>Transparency (%)</eng><deu>Transparenz (%)</deu></entry>
<entry id="6001001"><eng>0  (Default)</eng><deu>0  (Standard)</deu></entry>
<entry id="6001002"><eng>-1  (Default)</eng><deu>-1  (Standard)</deu></entry>
</entries></lang>)");
        localizer.load(root, 10);
        localizer.selectIndex(0);
    }

    s::lang::Localizer localizer;
};

class RecordingMenuView : public IMenuListener {
public:
    void menuTextsChanged() override { log += "texts;"; }
    void menuItemChanged(const MenuItem& item) override
    {
        log += "item " + std::to_string(item.command) + (item.marked ? "+" : "-") + ";";
    }
    void submenuRebuilt(const MenuItem& submenu) override
    {
        log += "rebuilt " + std::to_string(submenu.items.size()) + ";";
    }
    std::string log;
};

// The marks of the items with these commands, as "x" (marked) and "." .
std::string marks(MenuModel& model, std::initializer_list<int> commands)
{
    std::string text;
    for (int command : commands) {
        const MenuItem* item = model.find(command);
        text += item == nullptr ? '?' : (item->marked ? 'x' : '.');
    }
    return text;
}

TEST_F(MenuFixture, ChecksFlipAndRadioMarksExcludeTheirGroupOnly)
{
    MenuModel model(&localizer);
    RecordingMenuView view;
    model.setListener(&view);
    model.add(MenuItem::item(609100, 100).withCheck(false));
    MenuItem submenu = MenuItem::submenu(715000);
    submenu.add(MenuItem::literal(u"0%", 600).withRadio(0, true));
    submenu.add(MenuItem::literal(u"10%", 610).withRadio(0, false));
    submenu.add(MenuItem::separator());
    submenu.add(MenuItem::literal(u"20%", 620).withRadio(0, false));
    submenu.add(MenuItem::literal(u"a", 700).withRadio(1, true));
    submenu.add(MenuItem::literal(u"b", 701).withRadio(1, false));
    submenu.add(MenuItem::literal(u"off", 702).withEnabled(false));
    model.add(submenu);
    model.add(MenuItem::literal(u"English", 0).withRadio(0, false));

    // Each step acts on one command; then the marks of 100 600 610 620 700
    // 701 0 and what the view was told.
    struct Step {
        const char* name;
        enum { Choose, Mark, Unmark } action;
        int command;
        bool handled;
        const char* marks;
        const char* told;
    };
    const Step steps[] = {
        {"a check item flips on", Step::Choose, 100, true, "xx..x..", "item 100+;"},
        {"and off", Step::Choose, 100, true, ".x..x..", "item 100-;"},
        {"a radio item takes the mark of its group, across a separator", Step::Choose, 620, true, "...xx..",
         "item 600-;item 620+;"},
        {"choosing the marked radio item again changes nothing", Step::Choose, 620, true, "...xx..", ""},
        {"the other group of the submenu is its own", Step::Choose, 701, true, "...x.x.", "item 700-;item 701+;"},
        {"a radio group of another menu is apart", Step::Choose, 0, true, "...x.xx", "item 0+;"},
        {"marking by the program clears the group too", Step::Mark, 610, true, "..x..xx", "item 620-;item 610+;"},
        {"unmarking leaves the group without a mark", Step::Unmark, 610, true, ".....xx", "item 610-;"},
        {"a disabled item is not chosen", Step::Choose, 702, false, ".....xx", ""},
        {"an unknown command changes nothing", Step::Mark, 12345, false, ".....xx", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        bool handled = false;
        switch (step.action) {
        case Step::Choose:
            handled = model.choose(step.command) != nullptr;
            break;
        case Step::Mark:
            handled = model.setMarked(step.command, true);
            break;
        case Step::Unmark:
            handled = model.setMarked(step.command, false);
            break;
        }
        EXPECT_EQ(handled, step.handled);
        EXPECT_EQ(marks(model, {100, 600, 610, 620, 700, 701, 0}), step.marks);
        EXPECT_EQ(view.log, step.told);
        view.log.clear();
    }

    EXPECT_TRUE(model.setEnabled(702, true));
    EXPECT_EQ(view.log, "item 702-;");
    EXPECT_NE(model.choose(702), nullptr);
    EXPECT_EQ(model.find(0)->text.toUtf8(), "English") << "command 0 is an item, separators are not";
    EXPECT_EQ(model.findSubmenu(715000)->items.size(), 7u);
    EXPECT_EQ(model.findSubmenu(609100), nullptr) << "an item is no submenu";
}

TEST_F(MenuFixture, TextsFollowTheLanguage)
{
    RecordingMenuView view;
    {
        MenuModel model(&localizer);
        model.setListener(&view);
        MenuItem& viewMenu = model.add(MenuItem::submenu(609000));
        viewMenu.add(MenuItem::item(609100, 100));
        viewMenu.add(MenuItem::literal(u"Deutsch", 1));
        viewMenu.add(MenuItem::item(424242, 2));  // not in the table

        struct Row {
            int language;
            const char* view;
            const char* keepOnTop;
            const char* told;
        };
        for (const Row& row : {Row{1, "Ansicht", "Immer oben", "texts;"}, Row{0, "View", "Keep on Top", "texts;"},
                               Row{0, "View", "Keep on Top", ""}}) {
            SCOPED_TRACE(row.language);
            localizer.selectIndex(row.language);
            EXPECT_EQ(view.log, row.told) << "told once per change, not when the language stays";
            view.log.clear();
            EXPECT_EQ(utf8(model.text(model.root().items[0])), row.view);
            EXPECT_EQ(utf8(model.text(*model.find(100))), row.keepOnTop);
            EXPECT_EQ(utf8(model.text(*model.find(1))), "Deutsch") << "a literal stays as it is";
            EXPECT_EQ(utf8(model.text(*model.find(2))), "");
        }
    }
    // The model stopped listening when it went away.
    localizer.selectIndex(1);
    EXPECT_EQ(view.log, "");

    MenuModel withoutTable(nullptr);
    EXPECT_EQ(utf8(withoutTable.text(MenuItem::item(609000, 1))), "");
    EXPECT_EQ(utf8(withoutTable.text(MenuItem::literal(u"x", 1))), "x");
}

TEST_F(MenuFixture, ASubmenuIsRebuiltEachTimeItOpens)
{
    MenuModel model(&localizer);
    RecordingMenuView view;
    model.setListener(&view);
    std::vector<std::u16string> names{u"one", u"two"};
    int marked = 1;
    MenuItem list = MenuItem::submenu(609000);
    list.rebuild = [&](MenuItem& submenu) {
        for (std::size_t i = 0; i < names.size(); ++i)
            submenu.add(
                MenuItem::literal(names[i], 500 + static_cast<int>(i)).withRadio(0, marked == static_cast<int>(i)));
    };
    model.add(list);
    MenuItem& opening = *model.findSubmenu(609000);
    EXPECT_TRUE(opening.items.empty()) << "filled on opening only";

    model.open(opening);
    EXPECT_EQ(view.log, "rebuilt 2;");
    EXPECT_EQ(marks(model, {500, 501, 502}), ".x?");

    names.push_back(u"three");
    marked = 2;
    model.open(opening);
    EXPECT_EQ(marks(model, {500, 501, 502}), "..x") << "the old items are gone, not doubled";
    EXPECT_EQ(opening.items.size(), 3u);

    model.open(opening);
    EXPECT_EQ(opening.items.size(), 3u) << "the callback survives its own rebuilds";
}

// A clock that never moves: the Skin menu only stores it.
class FixedClock : public s::platform::ILocalClock {
public:
    int64_t now() const override { return 1800000000; }
    s::platform::LocalDay dayOf(int64_t) const override { return {}; }
};

class MemorySettings : public s::gui::drawer::ISkinSettings {
public:
    s::str::strbuffer::StrBuffer skinName(std::u16string_view defaultName) override { return defaultName; }
    void setSkinName(std::u16string_view) override {}
    int32_t changePeriod(int32_t) override { return period; }
    void setChangePeriod(int32_t value) override { period = value; }
    int64_t lastChange(int64_t defaultTime) override { return defaultTime; }
    void setLastChange(int64_t) override {}
    int32_t period = 7;
};

TEST_F(MenuFixture, TheSkinMenuOpensWithTheCurrentSkinMarked)
{
    s::gui::drawer::Skinner skinner;
    ASSERT_GT(skinner.skinCount(), 3);
    skinner.selectSkin(skinner.skin(2));
    MemorySettings settings;
    FixedClock clock;
    s::gui::drawer::SkinMenu skins(skinner, settings, clock);
    MenuModel model(&localizer);
    model.add(skins.submenu());

    model.open(*model.findSubmenu(s::lang::ids::kSkinMenu));
    EXPECT_EQ(marks(model, {28200, 28201, 28202, 28203, 29296}), "..x.x");
    EXPECT_EQ(model.find(28203)->text.toUtf8(), skinner.skinName(3).toUtf8());

    // The skin changes elsewhere (the periodic change); the next opening shows it.
    skinner.selectSkin(skinner.skin(0));
    settings.period = 30;
    model.open(*model.findSubmenu(s::lang::ids::kSkinMenu));
    EXPECT_EQ(marks(model, {28200, 28201, 28202, 28203, 29296, 29298}), "x....x");

    // Choosing a skin in the model moves the mark at once, and the Skin menu
    // applies it.
    ASSERT_NE(model.choose(28203), nullptr);
    EXPECT_EQ(marks(model, {28200, 28203}), ".x");
    EXPECT_TRUE(skins.onCommand(28203));
    EXPECT_EQ(skinner.currentIndex(), 3);
}

TEST(ListViewStep, StoredValuesOutsideTheRangeKeepTheListsOwnValues)
{
    struct Case {
        int32_t stored;
        bool set;
        int cellCommand;
        int fontCommand;
        int32_t heightAtScale1;
        int32_t heightAtScale2;
    };
    const Case cases[] = {
        {3, true, 724, 774, 25, 50},        {2, true, 726, 776, 23, 46},        {1, true, 728, 778, 21, 42},
        {0, true, 730, 780, 20, 40},        {-1, true, 732, 782, 19, 38},       {-2, true, 734, 784, 17, 34},
        {-3, true, 736, 786, 16, 32},       {4, false, -1, -1, 99, 99},         {-4, false, -1, -1, 99, 99},
        {INT32_MAX, false, -1, -1, 99, 99}, {INT32_MIN, false, -1, -1, 99, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const ListViewStep step = ListViewStep::fromStored(c.stored);
        EXPECT_EQ(step.isSet(), c.set);
        EXPECT_EQ(step.command(s::gui::list::kCellHeightFirstCommand), c.cellCommand);
        EXPECT_EQ(step.command(s::gui::list::kFontSizeFirstCommand), c.fontCommand);
        EXPECT_EQ(s::gui::list::rowHeight(step, 1, 99), c.heightAtScale1);
        EXPECT_EQ(s::gui::list::rowHeight(step, 2, 99), c.heightAtScale2);
        if (c.set) {
            EXPECT_EQ(step.value(), c.stored);
            EXPECT_EQ(ListViewStep::fromCommand(724, c.cellCommand), step) << "the command gives the step back";
        }
    }
    for (int notAStep : {722, 723, 725, 737, 738, 774}) {
        SCOPED_TRACE(notAStep);
        EXPECT_FALSE(ListViewStep::fromCommand(724, notAStep).isSet());
    }
}

TEST_F(MenuFixture, StepSubmenusMarkTheStepAndNameTheDefault)
{
    using namespace s::gui::list;
    struct Case {
        const char* name;
        bool fontSize;
        unsigned windowsMajor;
        ListViewStep current;
        int markedCommand;  // -1: none
        int defaultCommand;
        const char* zeroText;
    };
    const Case cases[] = {
        {"cell height on Windows 10: 0 is the default", false, 10, defaultCellHeight(10), 730, 730, "0  (Default)"},
        {"cell height on Windows XP: -1 is the default", false, 5, defaultCellHeight(5), 732, 732, "0"},
        {"a stored 7 marks nothing", false, 10, ListViewStep::fromStored(7), -1, 730, "0  (Default)"},
        {"font size: -1 is the default everywhere", true, 10, kDefaultFontSize, 782, 782, "\u00B10"},
        {"font size +3", true, 5, ListViewStep::fromStored(3), 774, 782, "\u00B10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MenuModel model(&localizer);
        model.add(c.fontSize ? fontSizeMenu(c.current) : cellHeightMenu(c.current, c.windowsMajor));
        const MenuItem& submenu = model.root().items[0];
        EXPECT_EQ(submenu.textId, c.fontSize ? s::lang::ids::kFontSizeMenu : s::lang::ids::kCellHeightMenu);
        ASSERT_EQ(submenu.items.size(), 7u);
        const int first = c.fontSize ? kFontSizeFirstCommand : kCellHeightFirstCommand;
        for (int k = 0; k < 7; ++k) {
            const MenuItem& item = submenu.items[static_cast<std::size_t>(k)];
            EXPECT_EQ(item.command, first + 2 * k);
            EXPECT_EQ(item.mark, Mark::Radio);
            EXPECT_EQ(item.marked, item.command == c.markedCommand) << item.command;
        }
        EXPECT_NE(utf8(model.text(*model.find(c.defaultCommand))).find("(Default)"), std::string::npos);
        EXPECT_EQ(utf8(model.text(submenu.items[0])), "+3");
        EXPECT_EQ(utf8(model.text(submenu.items[3])), c.zeroText);

        // Choosing a step moves the mark; the command gives the step.
        ASSERT_NE(model.choose(first + 10), nullptr);
        EXPECT_EQ(ListViewStep::fromCommand(first, first + 10).value(), -2);
        for (const MenuItem& item : model.root().items[0].items)
            EXPECT_EQ(item.marked, item.command == first + 10) << item.command;
    }
}

}  // namespace
