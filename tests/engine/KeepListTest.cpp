// Targets with a keep list, against the build's backend (the fakes natively,
// a real folder and test key under Wine): the scan counts what the clean
// deletes, kept files, folders, keys and values survive the clean and are not
// counted, and a folder or key that holds something kept stays.
#include "engine/KeepList.h"
#include "engine/Clean.h"
#include "engine/Scan.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

constexpr std::uint32_t kRegBinary = 3;

// Where the rows' rules point: the sandbox folder and key.
struct Places {
    std::u16string folder;  // the sandbox's "k"
    std::u16string key;     // HKEY_CURRENT_USER\...\r
    std::u16string in(std::u16string_view relative) const { return folder + u"\\" + std::u16string(relative); }
    std::u16string sub(std::u16string_view relative) const { return key + u"\\" + std::u16string(relative); }
};

struct Row {
    const char* name;
    int32_t kind;
    bool inSubfolders;
    std::u16string_view target;  // "" the folder (or key) itself, else relative to it
    void (*keep)(KeepList&, const Places&);
    int64_t found;
    int64_t size;
    std::vector<std::u16string_view> kept;  // still there after the clean ("r:" a key, "v:" key|value)
    std::vector<std::u16string_view> gone;
    int64_t foundAfter;  // the rescan after the clean
};

bool isRegistry(int32_t kind)
{
    return kind <= Type_RegValue_Wild;
}

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        {"1-level folder keeps one name",
         Type_Folder_1_Level,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.folder, u"keep.txt", KeepList::Depth::ThisFolder); },
         2,
         30,
         {u"keep.txt", u"sub\\c.log"},
         {u"a.log", u"b.txt"},
         0},
        // A name kept at every level may be in any subfolder: each is walked
        // and stays, emptied of what is not kept.
        {"all levels keep a name everywhere: every folder is walked",
         Type_Folder_All_Levels,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.folder, u"KEEP.TXT", KeepList::Depth::AllLevels); },
         4,
         40,
         {u"keep.txt", u"sub\\keep.txt", u"deep\\x"},
         {u"a.log", u"b.txt", u"sub\\c.log", u"deep\\x\\d.log"},
         0},
        {"all levels keep a subfolder whole",
         Type_Folder_All_Levels,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.in(u"sub"), u"*.*", KeepList::Depth::AllLevels); },
         6,
         66,
         {u"sub\\c.log", u"sub\\keep.txt"},
         {u"a.log", u"keep.txt", u"deep"},
         0},
        {"and self with files kept directly in it: the folder stays",
         Type_Folder_All_Levels_IncludeSelf,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.folder, u"*.txt", KeepList::Depth::ThisFolder); },
         7,
         25,
         {u"b.txt", u"keep.txt"},
         {u"a.log", u"sub", u"deep"},
         0},
        {"and self with a rule elsewhere goes whole",
         Type_Folder_All_Levels_IncludeSelf,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.folder + u"-other", u"*.*", KeepList::Depth::AllLevels); },
         10,
         75,
         {},
         {u""},
         0},
        {"wildcard in subfolders keeps one folder's matches",
         Type_File_Wild,
         true,
         u"*.log",
         [](KeepList& k, const Places& p) { k.keepFiles(p.in(u"sub"), u"*.log", KeepList::Depth::ThisFolder); },
         2,
         16,
         {u"sub\\c.log"},
         {u"a.log", u"deep\\x\\d.log"},
         0},
        {"a kept file",
         Type_File,
         false,
         u"keep.txt",
         [](KeepList& k, const Places& p) { k.keepFiles(p.folder, u"keep.*", KeepList::Depth::ThisFolder); },
         0,
         0,
         {u"keep.txt"},
         {},
         0},
        {"only subfolders, one file deep inside kept",
         Type_Folder_OnlyAllSubFolders,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepFiles(p.in(u"deep\\x"), u"d.log", KeepList::Depth::ThisFolder); },
         3,
         9,
         {u"deep\\x\\d.log", u"a.log"},
         {u"sub"},
         0},
        {"key and self keeps a subkey",
         Type_RegKey_All_Levels_IncludeSelf,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepKey(p.sub(u"ks")); },
         9,
         21,
         {u"r:", u"r:ks", u"v:ks|z"},
         {u"r:s1", u"r:s2", u"v:|v1"},
         0},
        {"key and self keeps a value",
         Type_RegKey_All_Levels_IncludeSelf,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepValue(p.key, u"KEEP"); },
         10,
         25,
         {u"v:|keep"},
         {u"r:s1", u"r:ks", u"v:|v2"},
         0},
        {"values of a key, one kept",
         Type_RegKey_1_Level,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepValue(p.key, u"keep"); },
         2,
         10,
         {u"v:|keep", u"r:s1"},
         {u"v:|v1", u"v:|v2"},
         0},
        {"a kept value",
         Type_RegValue,
         false,
         u"keep",
         [](KeepList& k, const Places& p) { k.keepValue(p.key, u"keep"); },
         0,
         0,
         {u"v:|keep"},
         {},
         0},
        {"all under a key keeps a key two down: its parent stays",
         Type_RegKey_All_Levels,
         false,
         u"",
         [](KeepList& k, const Places& p) { k.keepKey(p.sub(u"s2\\t")); },
         8,
         23,
         {u"r:s2\\t", u"v:s2\\t|c", u"v:|v1"},
         {u"r:s1", u"r:ks", u"v:s2|b"},
         3},
    };
    return table;
}

class KeepListWalk : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        // k: a.log 10, b.txt 20, keep.txt 30, sub\c.log 4, sub\keep.txt 5,
        // deep\x\d.log 6.
        for (const auto& [path, size] : std::vector<std::pair<std::u16string_view, int>>{{u"k\\a.log", 10},
                                                                                         {u"k\\b.txt", 20},
                                                                                         {u"k\\keep.txt", 30},
                                                                                         {u"k\\sub\\c.log", 4},
                                                                                         {u"k\\sub\\keep.txt", 5},
                                                                                         {u"k\\deep\\x\\d.log", 6}})
            ASSERT_TRUE(box.makeFile(path, static_cast<std::uint64_t>(size)));
        // r: v1 4, v2 6, keep 3; s1\a 2; s2\b 1, s2\t\c 5; ks\z 7.
        for (const auto& [key, name, size] :
             std::vector<std::tuple<std::u16string_view, std::u16string_view, std::size_t>>{{u"r", u"v1", 4},
                                                                                            {u"r", u"v2", 6},
                                                                                            {u"r", u"keep", 3},
                                                                                            {u"r\\s1", u"a", 2},
                                                                                            {u"r\\s2", u"b", 1},
                                                                                            {u"r\\s2\\t", u"c", 5},
                                                                                            {u"r\\ks", u"z", 7}}) {
            ASSERT_TRUE(box.makeKey(key));
            std::vector<std::byte> data(size, std::byte{0x5A});
            ASSERT_TRUE(box.setValue(key, name, kRegBinary, data));
        }
        places.folder = box.path(u"k");
        places.key = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\r";
    }

    bool stillThere(std::u16string_view what) const
    {
        if (what.substr(0, 2) == u"r:") {
            const std::u16string_view rest = what.substr(2);
            return box.keyExists(rest.empty() ? u"r" : u"r\\" + std::u16string(rest));
        }
        if (what.substr(0, 2) == u"v:") {
            const std::u16string_view rest = what.substr(2);
            const std::size_t bar = rest.find(u'|');
            const std::u16string_view key = rest.substr(0, bar);
            return box.valueExists(key.empty() ? u"r" : u"r\\" + std::u16string(key), rest.substr(bar + 1));
        }
        return box.entryExists(what.empty() ? u"k" : u"k\\" + std::u16string(what));
    }

    Sandbox box;
    Places places;
};

TEST_P(KeepListWalk, CountsWhatTheCleanDeletesAndLeavesWhatIsKept)
{
    const Row& row = GetParam();
    const std::u16string base = isRegistry(row.kind) ? places.key : places.folder;
    const std::u16string path = row.target.empty() ? base : base + u"\\" + std::u16string(row.target);
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", path);
    target->wildInSubfolders = row.inSubfolders;
    auto keep = std::make_shared<KeepList>();
    row.keep(*keep, places);
    target->keep = keep;
    group->addChild(target);

    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(target->found, row.found) << row.name << " (" << Sandbox::backend() << ")";
    EXPECT_EQ(target->size, row.size) << row.name;

    CleanContext context;
    clean(*group, context);
    for (std::u16string_view what : row.kept)
        EXPECT_TRUE(stillThere(what)) << row.name << ": " << narrow(what) << " was deleted";
    for (std::u16string_view what : row.gone)
        EXPECT_FALSE(stillThere(what)) << row.name << ": " << narrow(what) << " is still there";
    EXPECT_EQ(target->found, row.foundAfter) << row.name << ": the rescan after the clean";
}

INSTANTIATE_TEST_SUITE_P(Kinds, KeepListWalk, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& param) {
                             return "row" + std::to_string(param.index);
                         });

// The rules' own matching, without a disk.
TEST(KeepList, MatchesPathsAsTheProtectedPlacesCompareThem)
{
    KeepList keep;
    EXPECT_TRUE(keep.keepFiles(u"C:\\Data\\App", u"*.json", KeepList::Depth::ThisFolder));
    EXPECT_TRUE(keep.keepFiles(u"C:\\Data\\Whole\\", u"*", KeepList::Depth::AllLevels));
    EXPECT_FALSE(keep.keepFiles(u"Data\\Relative", u"*.*", KeepList::Depth::AllLevels));
    EXPECT_FALSE(keep.keepFiles(u"C:\\Data", u"sub\\*.txt", KeepList::Depth::ThisFolder));
    EXPECT_FALSE(keep.keepFiles(u"C:\\Data", u"", KeepList::Depth::ThisFolder));

    struct Case {
        std::u16string_view path;
        bool file;
        bool folder;
        bool inside;
    };
    const Case cases[] = {
        {u"c:/data/app/settings.JSON", true, false, false},
        {u"C:\\Data\\App\\sub\\settings.json", false, false, false},
        {u"C:\\Data\\App", false, false, true},
        {u"C:\\Data", false, false, true},
        {u"C:\\Data\\AppX", false, false, false},
        {u"C:\\Data\\Whole", false, true, true},
        {u"C:\\Data\\Whole\\a\\b.bin", true, true, true},
        {u"C:\\Data\\Wholesale\\b.bin", false, false, false},
        {u"C:\\Data\\App\\..\\Whole\\x.txt", true, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keep.keepsFile(c.path), c.file) << narrow(c.path);
        EXPECT_EQ(keep.keepsFolder(c.path), c.folder) << narrow(c.path);
        EXPECT_EQ(keep.keepsInside(c.path), c.inside) << narrow(c.path);
    }

    KeepList keys;
    keys.keepKey(u"HKEY_CURRENT_USER\\Software\\App\\Keep\\");
    keys.keepValue(u"HKEY_CURRENT_USER\\Software\\App", u"Name");
    EXPECT_TRUE(keys.keepsKey(u"hkey_current_user\\software\\app\\keep\\deeper"));
    EXPECT_FALSE(keys.keepsKey(u"HKEY_CURRENT_USER\\Software\\App\\Keeper"));
    EXPECT_TRUE(keys.keepsInsideKey(u"HKEY_CURRENT_USER\\Software\\App"));
    EXPECT_TRUE(keys.keepsInsideKey(u"HKEY_CURRENT_USER\\\\Software"));
    EXPECT_FALSE(keys.keepsInsideKey(u"HKEY_CURRENT_USER\\Software\\Other"));
    EXPECT_TRUE(keys.keepsValue(u"HKEY_CURRENT_USER\\Software\\App", u"name"));
    EXPECT_FALSE(keys.keepsValue(u"HKEY_CURRENT_USER\\Software\\App", u"Other"));
    EXPECT_TRUE(keys.keepsValue(u"HKEY_CURRENT_USER\\Software\\App\\Keep", u"Any"));
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
