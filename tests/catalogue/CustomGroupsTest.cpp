// Custom groups in the settings store: reading records (also damaged ones),
// writing them, numbering new groups, and the main window's save of a whole
// list with its checked states.
#include "catalogue/CustomGroups.h"
#include "catalogue/TargetState.h"

#include "base/XmlNode.h"
#include "engine/CheckedStates.h"
#include "platform/FileIo.h"
#include "platform/SystemInfo.h"
#include "settings/MappedData.h"
#include "tests/base/TextPrint.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;
using s::str::StrBuffer;
using s::xml::MappedDataHandle;
using testing_text::utf8;

namespace {

std::u16string shell32Icon()
{
    return s::platform::systemFacts().systemFolder + u"\\shell32.dll,160";
}

// The top-level list of a tree, owning its groups as the main window's list
// does.
struct TopLevel {
    ~TopLevel()
    {
        for (TimeRecord* node : nodes)
            node->release();
    }
    std::vector<TimeRecord*> nodes;
};

class CustomGroups : public ::testing::Test {
protected:
    MappedDataHandle open(std::string_view content)
    {
        scratch.putFile(u"SaveData.xml", content);
        return s::xml::openFileStore(path(), s::platform::fileIo());
    }
    MappedDataHandle reopen() { return s::xml::openFileStore(path(), s::platform::fileIo()); }
    s::str::StrBuffer path() const { return scratch.join(u"SaveData.xml"); }
    std::string onDisk() const
    {
        std::string bytes;
        scratch.readBack(u"SaveData.xml", bytes);
        return bytes;
    }

    testing_platform::ScratchFolder scratch;
};

TEST_F(CustomGroups, TheCountBoundsTheRecordsRead)
{
    MappedDataHandle store = open(R"(<savedata><CustomItems NumOfCustom="2" CustomID="7">)"
                                  R"(<_0 ID="Custom3" Title="003 Logs" Desctiption="Old &amp; new&#10;logs" )"
                                  R"(CustomRecordID="3" CustomChildRecordID="4" NumOfChildren="1">)"
                                  R"(<_0 ID="Custom_3_2" TargetType="Type_Folder_1_Level" Target="C:\Logs"></_0></_0>)"
                                  R"(<_1 ID="Custom7" Title="007 Empty"></_1>)"
                                  R"(<_2 ID="Custom5" Title="stale"></_2>)"
                                  R"(</CustomItems></savedata>)");
    TopLevel list;
    EXPECT_EQ(purgo::readCustomGroups(*store, list.nodes), 2);
    ASSERT_EQ(list.nodes.size(), 2u);

    const TimeRecord& logs = *list.nodes[0];
    EXPECT_EQ(logs.id, u"Custom3");
    EXPECT_EQ(logs.title, u"003 Logs");
    EXPECT_EQ(logs.description, u"Old & new\nlogs");
    EXPECT_EQ(logs.iconSpec, shell32Icon());
    EXPECT_TRUE(logs.custom);
    EXPECT_FALSE(logs.isTarget);
    EXPECT_FALSE(logs.checked);
    EXPECT_EQ(logs.customRecordId, 3);
    EXPECT_EQ(logs.customChildRecordId, 4);
    ASSERT_EQ(logs.childCount(), 1u);
    const TimeRecord& folder = *logs.child(0);
    EXPECT_EQ(folder.id, u"Custom_3_2");
    EXPECT_EQ(folder.kind, purgo::Type_Folder_1_Level);
    EXPECT_EQ(folder.target, u"C:\\Logs");
    EXPECT_EQ(folder.title, u"Files Under Folder, 1-Level");
    EXPECT_EQ(folder.parent, &logs);
    EXPECT_TRUE(folder.checked);

    const TimeRecord& empty = *list.nodes[1];
    EXPECT_EQ(empty.id, u"Custom7");
    EXPECT_EQ(empty.description, u"") << "missing values read as their defaults";
    EXPECT_EQ(empty.customRecordId, 0);
    EXPECT_EQ(empty.childCount(), 0u);
    EXPECT_TRUE(empty.custom);

    // A record that does not exist still makes a group (the reader of one
    // record always yields one).
    TimeRecordHandle missing = purgo::readCustomGroup(*store, 40);
    EXPECT_TRUE(missing->custom);
    EXPECT_EQ(missing->id, u"");
    EXPECT_EQ(missing->childCount(), 0u);
}

TEST_F(CustomGroups, EachTargetTypeReadsAsItsKindWhateverItsCase)
{
    struct Row {
        const char* stored;
        int32_t kind;  // -1: no target
    };
    const Row rows[] = {
        {"Type_RegKey_1_Level", purgo::Type_RegKey_1_Level},
        {"TYPE_REGKEY_ALL_LEVELS", purgo::Type_RegKey_All_Levels},
        {"type_regkey_all_levels_includeself", purgo::Type_RegKey_All_Levels_IncludeSelf},
        {"Type_RegKey_OnlyAllSubKeys", purgo::Type_RegKey_OnlyAllSubKeys},
        {"Type_RegValue", purgo::Type_RegValue},
        {"Type_RegValue_Wild", purgo::Type_RegValue_Wild},
        {"Type_Folder_1_Level", purgo::Type_Folder_1_Level},
        {"Type_Folder_All_Levels", purgo::Type_Folder_All_Levels},
        {"Type_Folder_All_Levels_IncludeSelf", purgo::Type_Folder_All_Levels_IncludeSelf},
        {"Type_Folder_OnlyAllSubFolders", purgo::Type_Folder_OnlyAllSubFolders},
        {"type_file", purgo::Type_File},
        {"Type_File_Wild", purgo::Type_File_Wild},
        {"Type_File_Func", -1},
        {"File", -1},
        {"", -1},
        {" Type_File", -1},
        {"Type_File ", -1},
        {"Type_Files", -1},
        {"10", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        // The odd record sits between two good ones: only it is lost.
        MappedDataHandle store = open(std::string(R"(<savedata><CustomItems><_0 ID="Custom1" NumOfChildren="3">)"
                                                  R"(<_0 ID="a" TargetType="Type_File" Target="C:\a"></_0>)"
                                                  R"(<_1 ID="b" TargetType=")") +
                                      row.stored +
                                      R"(" Target="C:\b"></_1>)"
                                      R"(<_2 ID="c" TargetType="Type_RegValue" Target="HKCU\c\v"></_2>)"
                                      R"(</_0></CustomItems></savedata>)");
        TimeRecordHandle group = purgo::readCustomGroup(*store, 0);
        const std::size_t expected = row.kind < 0 ? 2 : 3;
        ASSERT_EQ(group->childCount(), expected);
        EXPECT_EQ(group->child(0)->id, u"a");
        EXPECT_EQ(group->child(expected - 1)->id, u"c");
        if (row.kind >= 0) {
            EXPECT_EQ(group->child(1)->kind, row.kind);
            EXPECT_EQ(group->child(1)->target, u"C:\\b");
        }
    }
}

TEST_F(CustomGroups, OnlyWildFileTargetsTakeTheSubfolderFlag)
{
    struct Row {
        const char* type;
        const char* flag;  // nullptr: not stored
        bool wild;
    };
    const Row rows[] = {
        {"Type_File_Wild", "1", true},          {"Type_File_Wild", "true", true},   {"Type_File_Wild", "0", false},
        {"Type_File_Wild", "True", false},      {"Type_File_Wild", nullptr, false}, {"Type_File", "1", false},
        {"Type_Folder_All_Levels", "1", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.type) + " " + (row.flag ? row.flag : "(none)"));
        std::string record = std::string(R"(<_0 ID="t" TargetType=")") + row.type + R"(" Target="C:\*.tmp")";
        if (row.flag)
            record += std::string(R"( IsCheckWildFileExpressionInSubFolders=")") + row.flag + "\"";
        MappedDataHandle store =
            open(R"(<savedata><CustomItems><_0 NumOfChildren="1">)" + record + "></_0></_0></CustomItems></savedata>");
        TimeRecordHandle group = purgo::readCustomGroup(*store, 0);
        ASSERT_EQ(group->childCount(), 1u);
        EXPECT_EQ(group->child(0)->wildInSubfolders, row.wild);
    }
}

// Counts from a damaged or hostile file: reading stops at the first record
// that is not there, so no count makes it loop or allocate for long.
TEST_F(CustomGroups, CountsBeyondTheRecordsStopAtTheFirstMissingOne)
{
    struct Row {
        const char* what;
        const char* numOfCustom;
        const char* numOfChildren;
        std::size_t groups;
        std::size_t targets;  // of the first group
    };
    const Row rows[] = {
        {"as stored", "2", "2", 2, 2},
        {"huge counts", "2000000000", "2000000000", 2, 2},
        {"the largest", "2147483647", "99999999999", 2, 2},
        {"negative", "-5", "-2000000000", 0, 0},
        {"letters", "many", "x", 0, 0},
        {"fewer", "1", "1", 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Records _0 and _1 and a lone _3 (a gap before it).
        MappedDataHandle store = open(
            std::string(R"(<savedata><CustomItems NumOfCustom=")") + row.numOfCustom +
            R"("><_0 ID="Custom1" NumOfChildren=")" + row.numOfChildren +
            R"("><_0 ID="x" TargetType="Type_File" Target="C:\x"></_0><_1 ID="y" TargetType="Type_File" Target="C:\y"></_1>)"
            R"(<_3 ID="z" TargetType="Type_File" Target="C:\z"></_3></_0>)"
            R"(<_1 ID="Custom2"></_1><_3 ID="Custom4"></_3></CustomItems></savedata>)");
        TopLevel list;
        purgo::readCustomGroups(*store, list.nodes);
        ASSERT_EQ(list.nodes.size(), row.groups);
        if (row.groups > 0) {
            EXPECT_EQ(list.nodes[0]->childCount(), row.targets);
        }
        if (row.groups > 1) {
            EXPECT_EQ(list.nodes[1]->id, u"Custom2");
        }
    }
}

TEST_F(CustomGroups, WrittenRecordsHaveTheStoredFormatAndReadBack)
{
    TimeRecordHandle group(
        TimeRecord::makeGroup(u"Custom12", u"012 Temp \"files\"", u"All <temp>\r\nfiles", purgo::customGroupIcon()));
    group->custom = true;
    group->customRecordId = 12;
    group->customChildRecordId = 14;
    TimeRecord* wild = TimeRecord::makeTarget(purgo::Type_File_Wild, u"Custom_12_3", u"C:\\Temp\\*.tmp");
    wild->wildInSubfolders = true;
    group->addChild(wild);
    group->addChild(TimeRecord::makeTarget(purgo::Type_RegKey_All_Levels, u"Custom_12_13", u"HKCU\\Software\\X"));

    MappedDataHandle store = open("<savedata></savedata>");
    purgo::writeCustomGroup(*group, *store, 0);
    EXPECT_EQ(store->toString(),
              uR"(<savedata><CustomItems><_0 ID="Custom12" Title="012 Temp &quot;files&quot;" )"
              uR"(Desctiption="All &lt;temp>&#13;&#10;files" CustomRecordID="12" CustomChildRecordID="14" )"
              uR"(NumOfChildren="2"><_0 ID="Custom_12_3" TargetType="Type_File_Wild" Target="C:\Temp\*.tmp" )"
              uR"(IsCheckWildFileExpressionInSubFolders="1"></_0><_1 ID="Custom_12_13" )"
              uR"(TargetType="Type_RegKey_All_Levels" Target="HKCU\Software\X" )"
              uR"(IsCheckWildFileExpressionInSubFolders="0"></_1></_0></CustomItems></savedata>)");

    TimeRecordHandle read = purgo::readCustomGroup(*store, 0);
    EXPECT_EQ(read->id, group->id);
    EXPECT_EQ(read->title, group->title);
    EXPECT_EQ(read->description, group->description);
    EXPECT_EQ(read->iconSpec, group->iconSpec);
    EXPECT_EQ(read->customRecordId, 12);
    EXPECT_EQ(read->customChildRecordId, 14);
    ASSERT_EQ(read->childCount(), 2u);
    for (std::size_t j = 0; j < 2; ++j) {
        SCOPED_TRACE(j);
        const TimeRecord& a = *group->child(j);
        const TimeRecord& b = *read->child(j);
        EXPECT_EQ(b.id, a.id);
        EXPECT_EQ(b.kind, a.kind);
        EXPECT_EQ(b.target, a.target);
        EXPECT_EQ(b.title, a.title);
        EXPECT_EQ(b.iconSpec, a.iconSpec);
        EXPECT_EQ(b.wildInSubfolders, a.wildInSubfolders);
    }

    // Rewriting a record with fewer targets: the count excludes the old one.
    group->child(1)->release();
    group->children->pop_back();
    purgo::writeCustomGroup(*group, *store, 0);
    EXPECT_TRUE(store->findSection(u"CustomItems\\_0\\_1")) << "left in the store";
    EXPECT_EQ(purgo::readCustomGroup(*store, 0)->childCount(), 1u);
}

// A language table with the two texts of a new group.
const char kTable[] = R"(<lang><languages>
  <entry tagName="eng" engName="English" trueName="English"/>
  <entry tagName="deu" engName="German" trueName="Deutsch"/>
</languages><entries>
  <entry id="3000100"><eng>Custom Target</eng><deu>Benutzerdefiniertes Ziel</deu></entry>
  <entry id="3000101"><eng>Erase Custom Target</eng><deu>Benutzerdefiniertes Ziel löschen</deu></entry>
</entries></lang>)";

class NewGroups : public CustomGroups {
protected:
    void SetUp() override
    {
        s::xml::Node table;
        table.parseUtf8(std::string_view(kTable, sizeof(kTable) - 1));
        localizer.load(table, 10);
        localizer.select(u"English");
    }

    s::lang::Localizer localizer;
};

TEST_F(NewGroups, NumbersFollowTheHighestOneHandedOut)
{
    struct Row {
        const char* customId;  // nullptr: absent
        int32_t number;
        const char16_t* title;
    };
    const Row rows[] = {
        {nullptr, 1, u"001 Custom Target"},
        {"8", 9, u"009 Custom Target"},
        {"9", 10, u"010 Custom Target"},
        {"98", 99, u"099 Custom Target"},
        {"99", 100, u"100 Custom Target"},
        {"1233", 1234, u"1234 Custom Target"},
        {"-5", 1, u"001 Custom Target"},
        {"abc", 1, u"001 Custom Target"},
        {"2147483647", INT32_MAX, u"2147483647 Custom Target"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.customId ? row.customId : "(none)");
        std::string content = "<savedata><CustomItems";
        if (row.customId)
            content += std::string(" CustomID=\"") + row.customId + "\"";
        content += "></CustomItems></savedata>";
        MappedDataHandle store = open(content);
        const StrBuffer before = store->toString();
        TimeRecordHandle group = purgo::newCustomGroup(*store, localizer);
        StrBuffer id(u"Custom");
        EXPECT_EQ(group->id, id.appendS32(row.number));
        EXPECT_EQ(group->title, row.title);
        EXPECT_EQ(group->description, u"Erase Custom Target");
        EXPECT_EQ(group->iconSpec, shell32Icon());
        EXPECT_TRUE(group->custom);
        EXPECT_EQ(group->customRecordId, row.number);
        EXPECT_EQ(group->customChildRecordId, 0);
        EXPECT_EQ(group->childCount(), 0u);
        EXPECT_EQ(store->toString(), before) << "nothing is written until the user confirms";
    }

    localizer.select(u"German");
    MappedDataHandle store = open("<savedata></savedata>");
    TimeRecordHandle german = purgo::newCustomGroup(*store, localizer);
    EXPECT_EQ(german->title, u"001 Benutzerdefiniertes Ziel");
    EXPECT_EQ(german->description, u"Benutzerdefiniertes Ziel l\u00F6schen");
}

TEST_F(NewGroups, OnlyAConfirmedGroupTakesItsNumber)
{
    MappedDataHandle store = open("<savedata></savedata>");
    store->setAutoSave(true);
    TimeRecordHandle cancelled = purgo::newCustomGroup(*store, localizer);
    TimeRecordHandle first = purgo::newCustomGroup(*store, localizer);
    EXPECT_EQ(first->id, u"Custom1") << "the cancelled group's number is handed out again";
    purgo::confirmNewCustomGroup(*first, *store);
    EXPECT_EQ(onDisk(), R"(<savedata><CustomItems CustomID="1"></CustomItems></savedata>)") << "on disk at once";
    TimeRecordHandle second = purgo::newCustomGroup(*store, localizer);
    EXPECT_EQ(second->id, u"Custom2");
    purgo::confirmNewCustomGroup(*second, *store);
    purgo::confirmNewCustomGroup(*first, *store);
    EXPECT_EQ(store->getS32(u"CustomItems", u"CustomID", 0), 2) << "never lowered";
}

// Three groups: a built-in one between custom ones, as the list may hold
// them after an add.
struct ThreeCustomGroups {
    ThreeCustomGroups()
    {
        for (int n : {1, 2, 3}) {
            StrBuffer id(u"Custom");
            id.appendS32(n);
            StrBuffer title(u"00");
            title.appendS32(n).append(u" Custom Target");
            TimeRecord* group = TimeRecord::makeGroup(id, title, u"Erase Custom Target", purgo::customGroupIcon());
            group->custom = true;
            group->customRecordId = n;
            group->customChildRecordId = 1;
            StrBuffer targetId(u"Custom_");
            targetId.appendS32(n).append(u"_0");
            StrBuffer path(u"C:\\Data");
            path.appendS32(n);
            group->addChild(TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, targetId, path));
            list.nodes.push_back(group);
            if (n == 1) {
                TimeRecord* builtIn = TimeRecord::makeGroup(u"Firefox", u"Mozilla Firefox", u"");
                builtIn->addChild(TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"Cache", u"C:\\Cache"));
                builtIn->child(0)->defaultChecked = true;
                builtIn->checked = true;
                list.nodes.push_back(builtIn);
            }
        }
    }
    TopLevel list;
};

TEST_F(CustomGroups, SavingAfterRemovingTheFirstOfThreeRenumbersTheRest)
{
    MappedDataHandle store = open("<savedata></savedata>");
    store->setAutoSave(true);
    s::thread::ObjLocker lock;
    ThreeCustomGroups tree;
    tree.list.nodes[2]->checked = true;  // Custom2
    purgo::saveTargetState(tree.list.nodes, *store, lock);
    if (const std::optional<int> writes = scratch.writes()) {
        EXPECT_EQ(*writes, 1) << "the whole save is one write of the file";
    }
    EXPECT_EQ(store->getS32(u"CustomItems", u"NumOfCustom", 0), 3);

    tree.list.nodes[0]->release();  // the user removes Custom1
    tree.list.nodes.erase(tree.list.nodes.begin());
    purgo::saveTargetState(tree.list.nodes, *store, lock);

    MappedDataHandle reopened = reopen();
    EXPECT_EQ(reopened->getS32(u"CustomItems", u"NumOfCustom", 0), 2);
    EXPECT_EQ(reopened->getString(u"CustomItems\\_0", u"ID"), u"Custom2");
    EXPECT_EQ(reopened->getString(u"CustomItems\\_1", u"ID"), u"Custom3");
    EXPECT_EQ(reopened->getString(u"CustomItems\\_2", u"ID"), u"Custom3") << "the old record stays, unread";
    EXPECT_EQ(reopened->getString(u"CustomItems\\_1\\_0", u"Target"), u"C:\\Data3");

    // The next collect run: custom groups first, then the built-in ones, and
    // every group's checked states.
    TopLevel next;
    EXPECT_EQ(purgo::readCustomGroups(*reopened, next.nodes), 2);
    TimeRecord* firefox = TimeRecord::makeGroup(u"Firefox", u"Mozilla Firefox", u"");
    firefox->addChild(TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"Cache", u"C:\\Cache"));
    firefox->child(0)->defaultChecked = true;
    next.nodes.push_back(firefox);
    for (TimeRecord* node : next.nodes)
        purgo::loadChecks(*node, purgo::kItemsPrefix, *reopened);
    ASSERT_EQ(next.nodes.size(), 3u);
    EXPECT_EQ(next.nodes[0]->id, u"Custom2");
    EXPECT_TRUE(next.nodes[0]->checked);
    EXPECT_EQ(next.nodes[0]->child(0)->id, u"Custom_2_0");
    EXPECT_EQ(next.nodes[1]->id, u"Custom3");
    EXPECT_FALSE(next.nodes[1]->checked);
    EXPECT_TRUE(next.nodes[2]->checked);
    EXPECT_TRUE(next.nodes[2]->child(0)->checked);
}

// A group changed in the editor keeps its id, so its checked states still
// apply after it replaces the old node.
TEST_F(CustomGroups, AModifiedGroupKeepsItsCheckedStates)
{
    MappedDataHandle store = open("<savedata></savedata>");
    s::thread::ObjLocker lock;
    ThreeCustomGroups tree;
    TimeRecord* second = tree.list.nodes[2];
    second->checked = true;
    second->child(0)->checked = false;
    purgo::saveTargetState(tree.list.nodes, *store, lock);

    TimeRecord* edited = second->clone();
    edited->title = u"002 Renamed";
    edited->addChild(TimeRecord::makeTarget(purgo::Type_File, u"Custom_2_1", u"C:\\new.log"));
    edited->customChildRecordId = 2;
    second->release();
    tree.list.nodes.erase(tree.list.nodes.begin() + 2);
    tree.list.nodes.push_back(edited);
    purgo::saveTargetState(tree.list.nodes, *store, lock);

    TopLevel next;
    purgo::readCustomGroups(*store, next.nodes);
    ASSERT_EQ(next.nodes.size(), 3u);
    TimeRecord& renamed = *next.nodes[2];
    EXPECT_EQ(renamed.title, u"002 Renamed");
    EXPECT_EQ(renamed.customChildRecordId, 2);
    purgo::loadChecks(renamed, purgo::kItemsPrefix, *store);
    EXPECT_TRUE(renamed.checked);
    ASSERT_EQ(renamed.childCount(), 2u);
    EXPECT_FALSE(renamed.child(0)->checked);
    EXPECT_TRUE(renamed.child(1)->checked);
}

// A hand-edited group id that the file could not carry as a section name:
// the group's records are kept, its checked state is not, and every other
// group's data survives the save.
TEST_F(CustomGroups, AnIdTheFileCannotCarryHarmsNoOtherGroup)
{
    MappedDataHandle store = open(R"(<savedata><CustomItems NumOfCustom="2">)"
                                  R"(<_0 ID="bad id/x&quot;" Title="Odd"></_0><_1 ID="Custom2" Title="Fine"></_1>)"
                                  R"(</CustomItems></savedata>)");
    TopLevel list;
    ASSERT_EQ(purgo::readCustomGroups(*store, list.nodes), 2);
    EXPECT_EQ(list.nodes[0]->id, u"bad id/x\"");
    for (TimeRecord* node : list.nodes)
        node->checked = true;
    store->setAutoSave(true);
    s::thread::ObjLocker lock;
    purgo::saveTargetState(list.nodes, *store, lock);

    MappedDataHandle reopened = reopen();
    TopLevel next;
    ASSERT_EQ(purgo::readCustomGroups(*reopened, next.nodes), 2);
    EXPECT_EQ(next.nodes[0]->id, u"bad id/x\"");
    EXPECT_EQ(next.nodes[0]->title, u"Odd");
    EXPECT_EQ(next.nodes[1]->title, u"Fine");
    for (TimeRecord* node : next.nodes)
        purgo::loadChecks(*node, purgo::kItemsPrefix, *reopened);
    EXPECT_TRUE(next.nodes[1]->checked);
}

}  // namespace
