// The main window's menus, column layout and custom groups, without a window.
#include "app/main/MainWindowState.h"
#include "app/main/MainMenus.h"

#include "lang/Localizer.h"
#include "settings/MappedData.h"
#include "tests/support/LanguageTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::gui::menu::MenuItem;
using s::gui::menu::MenuModel;

s::lang::Localizer& table()
{
    return testing_platform::shippedLanguageTable();
}

// "text:command" per item, "-" for a separator, "[text]" for a submenu; a
// check or radio mark as "*".
std::string outline(const MenuModel& model, const MenuItem& menu)
{
    std::string out;
    for (const MenuItem& item : menu.items) {
        if (!out.empty())
            out += " | ";
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            out += "-";
            break;
        case MenuItem::Kind::Submenu:
            out += "[" + model.text(item).toUtf8() + "]";
            break;
        case MenuItem::Kind::Item:
            out += model.text(item).toUtf8() + ":" + std::to_string(item.command) + (item.marked ? "*" : "") +
                   (item.enabled ? "" : "(off)");
            break;
        }
    }
    return out;
}

TEST(MainMenus, ViewAndAboutInOrderWithTheirMarks)
{
    MenuModel model(&table());
    ViewMenuState state;
    state.keepOnTop = true;
    state.closeByMiddleClick = false;
    state.alternateRows = true;
    state.opacity = 80;
    state.fontSize = s::gui::list::kDefaultFontSize;
    state.cellHeight = s::gui::list::defaultCellHeight(10);
    state.windowsMajorVersion = 10;
    MenuItem skins = MenuItem::submenu(8000000);
    state.skinMenu = &skins;
    buildMainMenus(model, state, table());
    ASSERT_EQ(model.root().items.size(), 2u);
    const MenuItem& view = model.root().items[0];
    EXPECT_EQ(model.text(view).toUtf8(), "View");
    EXPECT_EQ(outline(model, view),
              "Add Custom Target...:550 | Get Community Rules...:560 | Keep List...:570 | - | Select All  (only top "
              "level items):511 | "
              "Deselect All  (only top level items):512 | - | Keep on Top:100* | Close By Mouse-Wheel Click:110 | "
              "Use Alternate Row Background Color:991* | - | [Skin] | [Transparency (%)] | [Font Size] | "
              "[Cell Height] | [Language] | - | Exit:999");
    EXPECT_EQ(outline(model, view.items[12]),
              "0%:600 | 10%:610 | 20%:620* | 30%:630 | 40%:640 | 50%:650 | 60%:660 | 70%:670 | 80%:680 | 90%:690");
    const MenuItem& languages = view.items[15];
    ASSERT_EQ(languages.items.size(), static_cast<std::size_t>(table().count() + 2));
    EXPECT_EQ(languages.items.back().command, table().count()) << "Translate? (online) follows the languages";
    int marked = 0;
    for (const MenuItem& item : languages.items)
        marked += item.marked ? 1 : 0;
    EXPECT_EQ(marked, 1) << "the current language";
    EXPECT_EQ(outline(model, model.root().items[1]),
              "Version Information:10000 | Software Page (online):10100 | Tell Developers (online):10200 | - | "
              "More Software from Oxle (online):10900 | - | Using at Workplace? (online):10950");
}

TEST(MainMenus, TransparencyStepsAndTheirMarks)
{
    const int marks[][2] = {{100, 600}, {90, 610}, {80, 620}, {10, 690}, {55, 600}, {0, 600}, {95, 600}};
    for (const auto& row : marks)
        EXPECT_EQ(transparencyCommandOf(row[0]), row[1]) << "opacity " << row[0];
    EXPECT_EQ(opacityOfCommand(610), 90) << "\"10%\" stores 90";
    EXPECT_EQ(opacityOfCommand(600), 100);
    EXPECT_EQ(opacityOfCommand(690), 10);
}

TEST(MainMenus, TheContextMenuFollowsTheRow)
{
    struct Row {
        const char* what;
        RowFacts facts;
        const char* expected;
    };
    const Row rows[] = {
        {"no row",
         {},
         "Select:700(off) | - | See Target Details:800(off) | Show Items...:830(off) | - | Modify Target "
         "Items...:810(off) | - | "
         "Remove from List...:820(off)"},
        {"an unchecked built-in group",
         {true, true, false, false, false, false},
         "Select:700 | - | See Target Details:800 | Show Items...:830 | - | Modify Target Items...:810(off) | - | "
         "Remove from List...:820(off)"},
        {"an open checked custom group",
         {true, true, true, true, false, true},
         "Deselect:700 | - | Hide Target Details:800 | Show Items...:830 | - | Modify Target Items...:810 | - | Remove "
         "from List...:820"},
        {"a target that is there",
         {true, false, true, false, true, false},
         "Deselect:700 | - | Look up Target...:800 | Show Items...:830 | - | Modify Target Items...:810(off) | - | "
         "Remove from List...:820(off)"},
        {"a target that is not",
         {true, false, false, false, false, false},
         "Select:700 | - | Look up Target...:800(off) | Show Items...:830 | - | Modify Target Items...:810(off) | - | "
         "Remove from List...:820(off)"},
    };
    for (const Row& row : rows) {
        MenuModel model(&table());
        model.add(listContextMenu(row.facts));
        EXPECT_EQ(outline(model, model.root().items[0]), row.expected) << row.what;
    }
}

TEST(MainWindowColumns, TheStoredLayoutIsTakenOnlyWhenComplete)
{
    struct Row {
        const char* what;
        const char* stored;
        std::vector<int> order;
        std::vector<int> widths;
    };
    const Row rows[] = {
        {"nothing stored", "", {}, {}},
        {"four columns",
         R"(<ColumnOrder2 length="4" _0="3" _1="0" _2="1" _3="2"></ColumnOrder2>)"
         R"(<ColumnWidth2 _0="200" _1="70" _2="50" _3="400"></ColumnWidth2>)",
         {3, 0, 1, 2},
         {200, 70, 50, 400}},
        {"fewer than four: the default widths",
         R"(<ColumnOrder2 length="3"></ColumnOrder2>)"
         R"(<ColumnWidth2 _0="200" _1="70" _2="50"></ColumnWidth2>)",
         {},
         {}},
        {"an order that repeats a column",
         R"(<ColumnOrder2 length="4" _0="1" _1="1" _2="2" _3="3"></ColumnOrder2>)",
         {},
         {0, 0, 0, 0}},
        {"a length of nonsense", R"(<ColumnOrder2 length="-7"></ColumnOrder2>)", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto store = s::thread::Pooled<s::xml::MappedData>::take();
        store->openDocument(std::string("<savedata><MainWindow>") + row.stored + "</MainWindow></savedata>");
        const ColumnLayout layout = readColumnLayout(*store, 4);
        EXPECT_EQ(layout.order, row.order);
        EXPECT_EQ(layout.widths, row.widths);
    }
    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    store->openDocument("<savedata></savedata>");
    storeColumnLayout(*store, {2, 0, 1, 3}, {90, 260, 60, 800});
    const ColumnLayout back = readColumnLayout(*store, 4);
    EXPECT_EQ(back.order, (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(back.widths, (std::vector<int>{90, 260, 60, 800}));
}

class CustomGroups : public ::testing::Test {
protected:
    CustomGroups()
    {
        for (const char16_t* id : {u"Browser", u"Custom_1", u"Logs"}) {
            TimeRecord* group = TimeRecord::makeGroup(id, id, u"");
            group->custom = std::u16string_view(id).starts_with(u"Custom");
            group->addChild(TimeRecord::makeTarget(Type_File, u"t", u"C:\\x.txt"));
            groups.push_back(group);
        }
        list.setGroups(groups);
    }
    ~CustomGroups() override
    {
        for (TimeRecord* group : groups)
            group->release();
    }
    std::string titles() const
    {
        std::string out;
        for (int row = 0; row < list.rowCount(); ++row)
            out += (out.empty() ? "" : " ") + list.record(row)->title.toUtf8();
        return out;
    }
    std::string ids() const
    {
        std::string out;
        for (const TimeRecord* group : groups)
            out += (out.empty() ? "" : " ") + group->id.toUtf8();
        return out;
    }

    std::vector<TimeRecord*> groups;
    s::gui::list::TargetListModel list{[](const TimeRecord&) {
        return true;
    }};
};

TEST_F(CustomGroups, ANewGroupComesFirstInTheListAndLastInTheTree)
{
    TimeRecord* added = TimeRecord::makeGroup(u"Custom_2", u"New", u"");
    added->custom = true;
    EXPECT_EQ(addCustomGroup(groups, list, added), 0);
    EXPECT_EQ(titles(), "New Browser Custom_1 Logs");
    EXPECT_EQ(ids(), "Browser Custom_1 Logs Custom_2");
}

TEST_F(CustomGroups, AModifiedGroupKeepsItsRowAndMovesToTheEnd)
{
    TimeRecord* copy = groups[1]->clone();
    copy->id = u"custom_1";  // ids compare ignoring case
    copy->title = u"Changed";
    EXPECT_TRUE(replaceCustomGroup(groups, list, copy));
    EXPECT_EQ(titles(), "Browser Changed Logs");
    EXPECT_EQ(ids(), "Browser Logs custom_1");

    TimeRecord* stranger = TimeRecord::makeGroup(u"Custom_9", u"Stranger", u"");
    EXPECT_FALSE(replaceCustomGroup(groups, list, stranger)) << "no group has that id";
    EXPECT_EQ(titles(), "Browser Changed Logs");
}

TEST_F(CustomGroups, ARemovedGroupLeavesListAndTree)
{
    EXPECT_TRUE(removeCustomGroup(groups, list, groups[1]));
    EXPECT_EQ(titles(), "Browser Logs");
    EXPECT_EQ(ids(), "Browser Logs");
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
