// The user's keep list: its entries (what is the same entry, what cannot be
// one), and, against the build's backend (the fakes natively, a real folder
// and test key under Wine), every kind of target scanned and cleaned with an
// entry of each type: the scan counts what the clean deletes, and what is
// kept survives.
#include "engine/UserKeepList.h"

#include "engine/Clean.h"
#include "engine/KeptWalk.h"
#include "engine/Scan.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

constexpr std::uint32_t kRegBinary = 3;

KeepEntry entry(KeepEntryType type, std::u16string path, std::u16string name = {})
{
    return KeepEntry{type, std::move(path), std::move(name), 1765000000};
}

TEST(UserKeepList, AddsEachThingOnceInItsLongFormAndRefusesWhatItCannotMatch)
{
    using Added = UserKeepList::Added;
    using T = KeepEntryType;
    UserKeepList list;
    struct Row {
        KeepEntry entry;
        Added expected;
        std::u16string_view stored;  // the entry's text once added
    };
    const Row rows[] = {
        {entry(T::File, u"C:\\Data\\app.log"), Added::Added, u"C:\\Data\\app.log"},
        {entry(T::File, u"c:/data/./APP.LOG"), Added::Duplicate, {}},
        // The same path as a folder is another entry: it keeps more.
        {entry(T::Folder, u"C:\\Data\\app.log\\"), Added::Added, u"C:\\Data\\app.log"},
        {entry(T::Pattern, u"C:\\Data", u"*.tmp"), Added::Added, u"C:\\Data\\*.tmp"},
        {entry(T::Pattern, u"C:\\DATA\\", u"*.TMP"), Added::Duplicate, {}},
        {entry(T::Pattern, u"C:\\Data", u"sub\\*.tmp"), Added::Invalid, {}},
        {entry(T::Pattern, u"C:\\Data", u""), Added::Invalid, {}},
        {entry(T::Key, u"HKCU\\Software\\App\\\\Prefs\\"), Added::Added, u"HKEY_CURRENT_USER\\Software\\App\\Prefs"},
        {entry(T::Key, u"hkey_current_user\\software\\app\\prefs"), Added::Duplicate, {}},
        {entry(T::Value, u"HKLM\\Software\\App", u"Path"), Added::Added, u"HKEY_LOCAL_MACHINE\\Software\\App\\Path"},
        {entry(T::Value, u"HKEY_LOCAL_MACHINE\\Software\\App", u"path"), Added::Duplicate, {}},
        {entry(T::Value, u"HKEY_LOCAL_MACHINE\\Software\\App", u""), Added::Added,
         u"HKEY_LOCAL_MACHINE\\Software\\App\\"},
        {entry(T::File, u"relative\\app.log"), Added::Invalid, {}},
        {entry(T::Folder, u""), Added::Invalid, {}},
        {entry(T::Key, u"HKEY_NOWHERE\\Software"), Added::Invalid, {}},
        {entry(T::Key, u"HKCUX\\Software"), Added::Invalid, {}},
    };
    std::size_t expectedCount = 0;
    for (const Row& row : rows) {
        const std::string shown =
            narrow(keepEntryTypeName(row.entry.type)) + " " + narrow(row.entry.path) + " | " + narrow(row.entry.name);
        EXPECT_EQ(list.add(row.entry), row.expected) << shown;
        if (row.expected != Added::Added)
            continue;
        ++expectedCount;
        ASSERT_EQ(list.entries().size(), expectedCount) << shown;
        EXPECT_EQ(narrow(keepEntryText(list.entries().back())), narrow(row.stored)) << shown;
        EXPECT_EQ(list.entries().back().added, row.entry.added) << shown;
    }

    // Found by their text as a user types it; removed by index.
    EXPECT_EQ(list.find(u"c:\\data\\APP.log"), 0);
    EXPECT_EQ(list.find(u"HKCU\\Software\\App\\Prefs"), 3);
    EXPECT_EQ(list.find(u"C:\\Data\\*.tmp"), 2);
    EXPECT_EQ(list.find(u"C:\\Data\\other.log"), -1);
    EXPECT_TRUE(list.remove(0));
    EXPECT_FALSE(list.remove(list.entries().size()));
    EXPECT_EQ(list.find(u"C:\\Data\\app.log"), 0) << "the folder entry of the same text is left";
    EXPECT_EQ(list.entries()[0].type, T::Folder);

    for (KeepEntryType type : {T::File, T::Folder, T::Pattern, T::Key, T::Value})
        EXPECT_EQ(keepEntryTypeFromName(keepEntryTypeName(type)), type);
    EXPECT_FALSE(keepEntryTypeFromName(u"File"));
    EXPECT_EQ(UserKeepList().keepList(), nullptr);
}

// Where the rows' entries point: the sandbox folder "k" and key "r".
struct Places {
    std::u16string folder;
    std::u16string key;
};

struct Planned {
    KeepEntryType type;
    std::u16string_view where;  // relative to the folder (files) or key (registry); "" itself
    std::u16string_view name;
};

struct Row {
    const char* name;
    int32_t kind;
    bool inSubfolders;
    std::u16string_view target;  // "" the folder (or key) itself, else relative to it
    std::vector<Planned> entries;
    int64_t found;
    int64_t size;
    std::vector<std::u16string_view> kept;  // still there after the clean ("r:" a key, "v:" key|value)
    std::vector<std::u16string_view> gone;
    bool ruleKeepsKeepTxt = false;  // the target's own keep list keeps k\keep.txt too
};

bool isRegistry(int32_t kind)
{
    return kind <= Type_RegValue_Wild;
}

// k: a.log 10, b.txt 20, keep.txt 30, sub\c.log 4, sub\keep.txt 5, deep\x\d.log 6.
// r: v1 4, v2 6, keep 3; s1\a 2; s2\b 1, s2\t\c 5; ks\z 7.
const std::vector<Row>& rows()
{
    using T = KeepEntryType;
    static const std::vector<Row> table = {
        {"1-level folder, a file kept",
         Type_Folder_1_Level,
         false,
         u"",
         {{T::File, u"keep.txt", {}}},
         2,
         30,
         {u"keep.txt"},
         {u"a.log", u"b.txt"}},
        {"all levels, a folder kept whole",
         Type_Folder_All_Levels,
         false,
         u"",
         {{T::Folder, u"sub", {}}},
         6,
         66,
         {u"sub\\c.log", u"sub\\keep.txt"},
         {u"a.log", u"keep.txt", u"deep"}},
        {"all levels and self, a pattern kept at every depth: the folders stay",
         Type_Folder_All_Levels_IncludeSelf,
         false,
         u"",
         {{T::Pattern, u"", u"*.LOG"}},
         3,
         55,
         {u"a.log", u"sub\\c.log", u"deep\\x\\d.log"},
         {u"b.txt", u"keep.txt", u"sub\\keep.txt"}},
        {"only subfolders, a file deep down kept",
         Type_Folder_OnlyAllSubFolders,
         false,
         u"",
         {{T::File, u"deep\\x\\d.log", {}}},
         3,
         9,
         {u"deep\\x\\d.log", u"a.log"},
         {u"sub"}},
        {"one file, kept (its name in other letters)",
         Type_File,
         false,
         u"keep.txt",
         {{T::File, u"KEEP.TXT", {}}},
         0,
         0,
         {u"keep.txt"},
         {}},
        {"wildcard in subfolders, one match kept",
         Type_File_Wild,
         true,
         u"*.log",
         {{T::File, u"sub\\c.log", {}}},
         2,
         16,
         {u"sub\\c.log"},
         {u"a.log", u"deep\\x\\d.log"}},
        {"entries that name nothing there keep nothing",
         Type_Folder_1_Level,
         false,
         u"",
         {{T::File, u"gone.txt", {}}, {T::Folder, u"nowhere", {}}, {T::Key, u"nokey", {}}},
         3,
         60,
         {},
         {u"a.log", u"b.txt", u"keep.txt"}},
        {"the target's own keep list and the user's both hold",
         Type_Folder_1_Level,
         false,
         u"",
         {{T::File, u"a.log", {}}},
         1,
         20,
         {u"a.log", u"keep.txt"},
         {u"b.txt"},
         true},
        {"1-level key, a value kept",
         Type_RegKey_1_Level,
         false,
         u"",
         {{T::Value, u"", u"KEEP"}},
         2,
         10,
         {u"v:|keep"},
         {u"v:|v1", u"v:|v2"}},
        {"key and self, a subkey kept: the key stays",
         Type_RegKey_All_Levels_IncludeSelf,
         false,
         u"",
         {{T::Key, u"s2", {}}},
         7,
         22,
         {u"r:", u"r:s2", u"v:s2\\t|c"},
         {u"r:s1", u"r:ks", u"v:|v1"}},
        {"only subkeys, one kept whole",
         Type_RegKey_OnlyAllSubKeys,
         false,
         u"",
         {{T::Key, u"ks", {}}},
         6,
         8,
         {u"r:ks", u"v:ks|z"},
         {u"r:s1", u"r:s2"}},
        {"one value, kept", Type_RegValue, false, u"v1", {{T::Value, u"", u"v1"}}, 0, 0, {u"v:|v1"}, {}},
    };
    return table;
}

class UserKeepWalk : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        for (const auto& [path, size] : std::vector<std::pair<std::u16string_view, int>>{{u"k\\a.log", 10},
                                                                                         {u"k\\b.txt", 20},
                                                                                         {u"k\\keep.txt", 30},
                                                                                         {u"k\\sub\\c.log", 4},
                                                                                         {u"k\\sub\\keep.txt", 5},
                                                                                         {u"k\\deep\\x\\d.log", 6}})
            ASSERT_TRUE(box.makeFile(path, static_cast<std::uint64_t>(size)));
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
        // The short root form a user types: the list stores the long one.
        places.key = u"HKCU\\" + box.keyPath() + u"\\r";
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
        return box.entryExists(u"k\\" + std::u16string(what));
    }

    std::u16string place(const Planned& planned) const
    {
        const bool key = planned.type == KeepEntryType::Key || planned.type == KeepEntryType::Value;
        const std::u16string& base = key ? places.key : places.folder;
        return planned.where.empty() ? base : base + u"\\" + std::u16string(planned.where);
    }

    Sandbox box;
    Places places;
};

TEST_P(UserKeepWalk, CountsWhatTheCleanDeletesAndLeavesWhatIsKept)
{
    const Row& row = GetParam();
    const std::u16string base = isRegistry(row.kind) ? u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\r" : places.folder;
    const std::u16string path = row.target.empty() ? base : base + u"\\" + std::u16string(row.target);
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    const std::vector<TimeRecord*> groups{&*group};
    group->checked = true;
    TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", path);
    target->wildInSubfolders = row.inSubfolders;
    if (row.ruleKeepsKeepTxt) {
        auto rules = std::make_shared<KeepList>();
        rules->keepFiles(places.folder, u"keep.txt", KeepList::Depth::ThisFolder);
        target->keep = rules;
    }
    group->addChild(target);

    UserKeepList list;
    for (const Planned& planned : row.entries)
        ASSERT_EQ(list.add({planned.type, place(planned), std::u16string(planned.name), 0}), UserKeepList::Added::Added)
            << row.name;
    applyUserKeepList(groups, list.keepList());

    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(target->found, row.found) << row.name << " (" << Sandbox::backend() << ")";
    EXPECT_EQ(target->size, row.size) << row.name;

    CleanContext context;
    clean(*group, context);
    for (std::u16string_view what : row.kept)
        EXPECT_TRUE(stillThere(what)) << row.name << ": " << narrow(what) << " was deleted";
    for (std::u16string_view what : row.gone)
        EXPECT_FALSE(stillThere(what)) << row.name << ": " << narrow(what) << " is still there";
    EXPECT_EQ(target->found, 0) << row.name << ": the rescan after the clean";

    // Without the list, what it kept is there to clean again.
    const int64_t keptFound = keptByUser(*target).found;
    applyUserKeepList(groups, nullptr);
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(target->found, keptFound) << row.name << ": what the list saved, measured without it";
    EXPECT_EQ(keptFound > 0, !row.kept.empty()) << row.name;
}

INSTANTIATE_TEST_SUITE_P(Kinds, UserKeepWalk, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row>& param) {
                             return "row" + std::to_string(param.index);
                         });

// A value entry without a name keeps the key's default value and nothing
// else; a named one leaves the default value to the clean.
TEST(UserKeepDefaultValue, KeepsTheKeysUnnamedValueOnly)
{
    struct Case {
        const char* name;
        std::u16string_view keptName;
        std::u16string_view kept;  // the value left, "" the default one
        std::u16string_view gone;
    };
    const Case cases[] = {
        {"the default value kept", u"", u"", u"named"},
        {"a named value kept", u"named", u"named", u""},
    };
    for (const Case& row : cases) {
        Sandbox box;
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        ASSERT_TRUE(box.makeKey(u"d"));
        const std::vector<std::byte> data(3, std::byte{0x5A});
        ASSERT_TRUE(box.setValue(u"d", u"", kRegBinary, data) && box.setValue(u"d", u"named", kRegBinary, data));
        const std::u16string key = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\d";

        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->checked = true;
        TimeRecord* target = TimeRecord::makeTarget(Type_RegKey_1_Level, u"t", key);
        target->checked = true;
        group->addChild(target);
        UserKeepList list;
        ASSERT_EQ(list.add({KeepEntryType::Value, key, std::u16string(row.keptName), 0}), UserKeepList::Added::Added);
        applyUserKeepList({group.get()}, list.keepList());
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(target->found, 1) << row.name << " (" << Sandbox::backend() << ")";
        EXPECT_EQ(target->size, 3) << row.name;

        CleanContext context;
        clean(*group, context);
        EXPECT_TRUE(box.valueExists(u"d", row.kept)) << row.name << ": the kept value was deleted";
        EXPECT_FALSE(box.valueExists(u"d", row.gone)) << row.name << ": the other value is still there";
    }
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
