// Checked states in the settings store: what loadChecks restores and what
// saveChecks writes, on a store over an in-memory file.
#include "engine/CheckedStates.h"

#include "platform/FileIo.h"
#include "settings/MappedData.h"
#include "tests/base/TextPrint.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;
using s::xml::MappedDataHandle;

namespace {

// A group "Firefox" with the targets Cache and Cookies, as a catalogue
// builds it: the group unchecked, the targets checked, defaultChecked given.
TimeRecordHandle makeFirefox(bool cacheDefault, bool cookiesDefault)
{
    TimeRecordHandle group(TimeRecord::makeGroup(u"Firefox", u"Mozilla Firefox", u"Browser"));
    TimeRecord* cache = TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"Cache", u"C:\\Cache");
    cache->defaultChecked = cacheDefault;
    TimeRecord* cookies = TimeRecord::makeTarget(purgo::Type_File, u"Cookies", u"C:\\cookies.sqlite");
    cookies->defaultChecked = cookiesDefault;
    group->addChild(cache);
    group->addChild(cookies);
    return group;
}

class Checks : public ::testing::Test {
protected:
    MappedDataHandle open(std::string_view content)
    {
        scratch.putFile(u"SaveData.xml", content);
        return s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo());
    }

    testing_platform::ScratchFolder scratch;
};

TEST_F(Checks, LoadRestoresStoredStatesAndDefaultsForTheRest)
{
    struct Row {
        const char* stored;  // the group's section, or "" for none
        bool group;
        bool cache;    // defaultChecked 0
        bool cookies;  // defaultChecked 1
    };
    const Row rows[] = {
        // The group holds a state: targets without one take defaultChecked,
        // even where the constructor made them checked.
        {R"(<Firefox>1</Firefox>)", true, false, true},
        {R"(<Firefox>0</Firefox>)", false, false, true},
        {R"(<FIREFOX Cache="1" COOKIES="0">true</FIREFOX>)", true, true, false},
        {R"(<Firefox Cache="True" Cookies="yes">True</Firefox>)", false, false, false},
        {R"(<Firefox Cache="1abc">1</Firefox>)", true, true, true},
        {R"(<Firefox Cookies="">1</Firefox>)", true, false, false},
        // No state of the group: the group and every target stay as built,
        // stored target values notwithstanding.
        {R"(<Firefox Cache="0" Cookies="0"></Firefox>)", false, true, true},
        {R"(<Firefox Cache="0"><Sub>1</Sub></Firefox>)", false, true, true},
        {R"(<Opera>1</Opera>)", false, true, true},
        {"", false, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        MappedDataHandle store = open(std::string("<savedata><items>") + row.stored + "</items></savedata>");
        TimeRecordHandle group = makeFirefox(false, true);
        purgo::loadChecks(*group, purgo::kItemsPrefix, *store);
        EXPECT_EQ(group->checked, row.group);
        EXPECT_EQ(group->child(0)->checked, row.cache);
        EXPECT_EQ(group->child(1)->checked, row.cookies);
    }
}

TEST_F(Checks, SaveWritesNothingThatEqualsAFreshTreeTheFirstTime)
{
    MappedDataHandle store = open("<savedata></savedata>");
    TimeRecordHandle group = makeFirefox(false, false);
    purgo::saveChecks(*group, purgo::kItemsPrefix, *store);
    EXPECT_EQ(store->toString(), u"<savedata></savedata>") << "unchecked group, every target checked";

    group->child(1)->checked = false;
    purgo::saveChecks(*group, purgo::kItemsPrefix, *store);
    EXPECT_EQ(store->toString(), uR"(<savedata><items><Firefox Cache="1" Cookies="0">0</Firefox></items></savedata>)")
        << "one unchecked target: the group's state and every target's";

    // Once stored, the group is written again even as built (and each value
    // moves behind the others as it is rewritten).
    group->child(1)->checked = true;
    purgo::saveChecks(*group, purgo::kItemsPrefix, *store);
    EXPECT_EQ(store->toString(), uR"(<savedata><items><Firefox Cache="1" Cookies="1">0</Firefox></items></savedata>)");

    // defaultChecked targets: checked and never stored, nothing is written;
    // unchecked, the state is written; once stored, always rewritten.
    MappedDataHandle other = open("<savedata></savedata>");
    TimeRecordHandle defaults = makeFirefox(true, true);
    defaults->checked = true;
    purgo::saveChecks(*defaults, purgo::kItemsPrefix, *other);
    EXPECT_EQ(other->toString(), uR"(<savedata><items><Firefox>1</Firefox></items></savedata>)");
    defaults->child(0)->checked = false;
    purgo::saveChecks(*defaults, purgo::kItemsPrefix, *other);
    EXPECT_EQ(other->toString(), uR"(<savedata><items><Firefox Cache="0">1</Firefox></items></savedata>)");
    defaults->child(0)->checked = true;
    purgo::saveChecks(*defaults, purgo::kItemsPrefix, *other);
    EXPECT_EQ(other->toString(), uR"(<savedata><items><Firefox Cache="1">1</Firefox></items></savedata>)");
}

TEST_F(Checks, SavedStatesComeBackIntoAFreshTree)
{
    struct Row {
        bool group, cache, cookies;
    };
    const Row rows[] = {
        {false, true, true},  {false, false, true},  {true, true, true},
        {true, false, false}, {false, false, false}, {true, true, false},
    };
    for (bool defaults : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(::testing::Message() << "defaults " << defaults << ", group " << row.group << ", cache "
                                              << row.cache << ", cookies " << row.cookies);
            MappedDataHandle store = open("<savedata></savedata>");
            TimeRecordHandle saved = makeFirefox(defaults, defaults);
            saved->checked = row.group;
            saved->child(0)->checked = row.cache;
            saved->child(1)->checked = row.cookies;
            purgo::saveChecks(*saved, purgo::kItemsPrefix, *store);

            TimeRecordHandle loaded = makeFirefox(defaults, defaults);
            purgo::loadChecks(*loaded, purgo::kItemsPrefix, *store);
            EXPECT_EQ(loaded->checked, row.group);
            EXPECT_EQ(loaded->child(0)->checked, row.cache);
            EXPECT_EQ(loaded->child(1)->checked, row.cookies);
        }
    }
}

// A target without an id (a hand-edited custom record) would share the empty
// name with its group's own state; it keeps no state instead.
TEST_F(Checks, ATargetWithoutAnIdNeverTakesItsGroupsState)
{
    MappedDataHandle store = open("<savedata></savedata>");
    TimeRecordHandle group(TimeRecord::makeGroup(u"Custom1", u"001 Custom Target", u""));
    group->addChild(TimeRecord::makeTarget(purgo::Type_File, u"", u"C:\\a.txt"));
    group->checked = true;
    group->child(0)->checked = false;
    purgo::saveChecks(*group, purgo::kItemsPrefix, *store);
    EXPECT_EQ(store->toString(), uR"(<savedata><items><Custom1>1</Custom1></items></savedata>)");

    TimeRecordHandle loaded(TimeRecord::makeGroup(u"Custom1", u"", u""));
    loaded->addChild(TimeRecord::makeTarget(purgo::Type_File, u"", u"C:\\a.txt"));
    loaded->child(0)->defaultChecked = true;
    loaded->child(0)->checked = false;
    purgo::loadChecks(*loaded, purgo::kItemsPrefix, *store);
    EXPECT_TRUE(loaded->checked);
    EXPECT_TRUE(loaded->child(0)->checked) << "its defaultChecked";
}

}  // namespace
