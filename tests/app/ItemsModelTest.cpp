// The items window's model: what one row lists (against the build's backend:
// the fakes natively, a real folder and test key under Wine), which items
// its filter and order show, and what keeping the unchecked ones does to the
// row's figures and to its clean.
#include "app/items/ItemsModel.h"

#include "engine/Clean.h"
#include "engine/Scan.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

constexpr std::uint32_t kRegBinary = 3;

ListedItem item(CleanItemType type, std::u16string text, int64_t size, std::u16string valueName = {})
{
    ListedItem listed;
    listed.type = type;
    listed.text = std::move(text);
    listed.valueName = std::move(valueName);
    listed.found = 1;
    listed.size = size;
    return listed;
}

std::vector<std::u16string> shown(const ItemsModel& model)
{
    std::vector<std::u16string> texts;
    for (std::size_t i = 0; i < model.rowCount(); ++i)
        texts.push_back(model.row(i).text);
    return texts;
}

std::string joined(const std::vector<std::u16string>& texts)
{
    std::string out;
    for (const auto& text : texts)
        out += narrow(text) + "; ";
    return out;
}

ListedItem modifiedAt(ListedItem listed, int64_t fileTime)
{
    listed.modified = fileTime;
    return listed;
}

ItemsModel fixture()
{
    ItemsModel model;
    // Times: A.tmp and Ete.log alike, the empty folder's unread (0).
    model.setItems({
        modifiedAt(item(CleanItemType::File, u"C:\\Temp\\b.log", 30), 300),
        modifiedAt(item(CleanItemType::File, u"C:\\Temp\\A.tmp", 10), 100),
        modifiedAt(item(CleanItemType::Folder, u"C:\\Temp\\Cache", 20), 200),
        modifiedAt(item(CleanItemType::File, u"C:\\Temp\\\xC9t\xE9.log", 10), 100),
        item(CleanItemType::EmptyFolder, u"C:\\Temp", 0),
    });
    return model;
}

TEST(ItemsModel, FilterAndOrderChooseTheVisibleRows)
{
    using C = ItemsModel::Column;
    struct Row {
        std::u16string filter;
        C column;
        bool ascending;
        std::vector<std::u16string> expected;
    };
    const Row rows[] = {
        // Case folded order; the shorter text first.
        {u"",
         C::Path,
         true,
         {u"C:\\Temp", u"C:\\Temp\\A.tmp", u"C:\\Temp\\b.log", u"C:\\Temp\\Cache", u"C:\\Temp\\\xC9t\xE9.log"}},
        // Equal sizes keep the listing's order, in either direction.
        {u"",
         C::Size,
         true,
         {u"C:\\Temp", u"C:\\Temp\\A.tmp", u"C:\\Temp\\\xC9t\xE9.log", u"C:\\Temp\\Cache", u"C:\\Temp\\b.log"}},
        {u"",
         C::Size,
         false,
         {u"C:\\Temp\\b.log", u"C:\\Temp\\Cache", u"C:\\Temp\\A.tmp", u"C:\\Temp\\\xC9t\xE9.log", u"C:\\Temp"}},
        // Equal times keep the listing's order too; an unread time is the
        // oldest.
        {u"",
         C::Modified,
         true,
         {u"C:\\Temp", u"C:\\Temp\\A.tmp", u"C:\\Temp\\\xC9t\xE9.log", u"C:\\Temp\\Cache", u"C:\\Temp\\b.log"}},
        {u"",
         C::Modified,
         false,
         {u"C:\\Temp\\b.log", u"C:\\Temp\\Cache", u"C:\\Temp\\A.tmp", u"C:\\Temp\\\xC9t\xE9.log", u"C:\\Temp"}},
        {u"log", C::Modified, false, {u"C:\\Temp\\b.log", u"C:\\Temp\\\xC9t\xE9.log"}},
        {u".LOG", C::Path, true, {u"C:\\Temp\\b.log", u"C:\\Temp\\\xC9t\xE9.log"}},
        {u"\xE9T", C::Path, true, {u"C:\\Temp\\\xC9t\xE9.log"}},
        {u"cache", C::Path, false, {u"C:\\Temp\\Cache"}},
        {u"nothing", C::Path, true, {}},
    };
    for (const Row& row : rows) {
        ItemsModel model = fixture();
        model.sortBy(row.column, row.ascending);
        model.setFilter(row.filter);
        EXPECT_EQ(shown(model), row.expected)
            << "filter '" << narrow(row.filter) << "' column " << static_cast<int>(row.column) << " ascending "
            << row.ascending << ": " << joined(shown(model));
    }
}

TEST(ItemsModel, UncheckedItemsBecomeEntriesThatKeepThemAndNothingElse)
{
    ItemsModel model;
    model.setItems({
        item(CleanItemType::File, u"C:\\Temp\\a.log", 1),
        item(CleanItemType::Folder, u"C:\\Temp\\Cache", 1),
        item(CleanItemType::Value, u"HKEY_CURRENT_USER\\Software\\App\\MRU\\a\\b", 1, u"a\\b"),
        item(CleanItemType::Value, u"HKEY_CURRENT_USER\\Software\\App\\", 1, u""),
        item(CleanItemType::Key, u"HKEY_CURRENT_USER\\Software\\App\\Sub", 1),
        item(CleanItemType::Handler, u"The Recycle Bin", 1),
        item(CleanItemType::EmptyFolder, u"C:\\Temp", 0),
        item(CleanItemType::File, u"C:\\Temp\\stays.log", 1),
    });
    // Filtered out rows keep their marks; the header's box changes only
    // what is shown, and never a special target or an empty folder.
    model.setFilter(u"stays");
    model.setAllChecked(false);
    model.setAllChecked(true);
    model.setFilter(u"");
    model.setAllChecked(false);
    model.setFilter(u"stays");
    ASSERT_EQ(model.rowCount(), 1u);
    EXPECT_TRUE(model.setChecked(0, true));
    EXPECT_FALSE(model.setChecked(0, true)) << "nothing changed";
    model.setFilter(u"");
    EXPECT_EQ(model.uncheckedCount(), 5u);

    UserKeepList list;
    ASSERT_EQ(list.add({KeepEntryType::File, u"C:\\TEMP\\A.LOG", {}, 1}), UserKeepList::Added::Added);
    EXPECT_EQ(model.keepUnchecked(list, 1765000000), 4u) << "a.log was kept already";
    std::vector<std::u16string> texts;
    for (const KeepEntry& entry : list.entries()) {
        texts.push_back(std::u16string(keepEntryTypeName(entry.type)) + u" " + keepEntryText(entry));
        if (entry.added != 1) {
            EXPECT_EQ(entry.added, 1765000000) << narrow(keepEntryText(entry));
        }
    }
    const std::vector<std::u16string> expected = {
        u"file C:\\TEMP\\A.LOG",
        u"folder C:\\Temp\\Cache",
        u"value HKEY_CURRENT_USER\\Software\\App\\MRU\\a\\b",
        u"value HKEY_CURRENT_USER\\Software\\App\\",
        u"key HKEY_CURRENT_USER\\Software\\App\\Sub",
    };
    EXPECT_EQ(texts, expected) << joined(texts);
    EXPECT_EQ(list.entries()[2].path, u"HKEY_CURRENT_USER\\Software\\App\\MRU");
    EXPECT_EQ(list.entries()[2].name, u"a\\b");
}

// The window's whole use on one row: list it, uncheck some items, keep
// them, measure the row again, clean it.
class ItemsModelOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    std::u16string key(std::u16string_view relative) const
    {
        return u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + std::u16string(relative);
    }

    Sandbox box;
};

TEST_F(ItemsModelOnDisk, KeptItemsLeaveTheRowsFiguresAndSurviveItsClean)
{
    ASSERT_TRUE(box.makeFile(u"t\\a.log", 3) && box.makeFile(u"t\\b.log", 5) && box.makeFile(u"t\\sub\\c.log", 7) &&
                box.makeFile(u"t\\sub\\d.log", 11));
    ASSERT_TRUE(box.makeKey(u"r\\k"));
    const std::vector<std::byte> data(4, std::byte{0x5A});
    ASSERT_TRUE(box.setValue(u"r\\k", u"x", kRegBinary, data) && box.setValue(u"r\\k", u"y", kRegBinary, data));

    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    TimeRecord* files = TimeRecord::makeTarget(Type_Folder_All_Levels, u"f", box.path(u"t"));
    TimeRecord* values = TimeRecord::makeTarget(Type_RegKey_1_Level, u"v", key(u"r\\k"));
    files->checked = values->checked = true;
    group->addChild(files);
    group->addChild(values);
    scan(*group, nullptr, Captions::Without);
    ASSERT_EQ(group->found, 7) << "a, b, the folder sub with c and d, x, y";
    ASSERT_EQ(group->size, 3 + 5 + 18 + 8);

    ItemsModel model;
    model.setItems(listRowItems(*group));
    model.sortBy(ItemsModel::Column::Size, false);
    ASSERT_EQ(model.rowCount(), 5u) << joined(shown(model));
    EXPECT_EQ(model.row(0).text, box.path(u"t\\sub"));
    EXPECT_EQ(model.row(0).found, 3);
    model.setFilter(u"\\sub");
    ASSERT_EQ(model.rowCount(), 1u);
    model.setChecked(0, false);
    model.setFilter(u"\\k\\y");
    ASSERT_EQ(model.rowCount(), 1u);
    model.setChecked(0, false);
    model.setFilter(u"");

    UserKeepList list;
    EXPECT_EQ(model.keepUnchecked(list, 1765000000), 2u);
    applyUserKeepList({group.get()}, list.keepList());
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(group->found, 3) << "a, b, x";
    EXPECT_EQ(group->size, 3 + 5 + 4);
    model.setItems(listRowItems(*group));
    EXPECT_EQ(model.rowCount(), 3u) << joined(shown(model));

    CleanContext context;
    clean(*group, context);
    EXPECT_FALSE(box.entryExists(u"t\\a.log"));
    EXPECT_FALSE(box.valueExists(u"r\\k", u"x"));
    EXPECT_TRUE(box.entryExists(u"t\\sub\\c.log") && box.entryExists(u"t\\sub\\d.log"));
    EXPECT_TRUE(box.valueExists(u"r\\k", u"y"));
}

// Every file and folder listed carries its last-write time, whichever way
// the listing reached it: an enumeration's entry, a path asked by itself,
// a walk around a kept file. Registry items have none.
TEST_F(ItemsModelOnDisk, FilesAndFoldersCarryTheirLastWriteTime)
{
    // Whole seconds, as every file system keeps them: 2021-06-01 12:00 UTC
    // and the hours after it.
    constexpr int64_t kHour = 36000000000LL;
    constexpr int64_t kBase = 132670224000000000LL;
    ASSERT_TRUE(box.makeFile(u"one\\f.txt", 1) && box.makeFile(u"flat\\a.txt", 2) && box.makeFile(u"flat\\b.txt", 3) &&
                box.makeFile(u"tree\\sub\\c.txt", 4) && box.makeFile(u"wild\\x.log", 5) &&
                box.makeFile(u"wild\\y.txt", 6) && box.makeFile(u"kept\\keep.txt", 7) &&
                box.makeFile(u"kept\\go.txt", 8) && box.makeFile(u"kept\\dir\\in.txt", 9));
    ASSERT_TRUE(box.makeKey(u"r\\k"));
    const std::vector<std::byte> data(2, std::byte{0x11});
    ASSERT_TRUE(box.setValue(u"r\\k", u"x", kRegBinary, data));
    // The files first: a folder's time changes with what is made in it.
    const std::pair<std::u16string, int64_t> times[] = {
        {u"one\\f.txt", kBase + 1 * kHour},        {u"flat\\a.txt", kBase + 2 * kHour},
        {u"flat\\b.txt", kBase + 3 * kHour},       {u"tree\\sub\\c.txt", kBase + 4 * kHour},
        {u"wild\\x.log", kBase + 5 * kHour},       {u"kept\\go.txt", kBase + 6 * kHour},
        {u"kept\\dir\\in.txt", kBase + 7 * kHour}, {u"tree\\sub", kBase + 8 * kHour},
        {u"kept\\dir", kBase + 9 * kHour},
    };
    for (const auto& [relative, time] : times)
        ASSERT_TRUE(box.setLastWriteTime(relative, time)) << narrow(relative);

    struct Row {
        const char* what;
        TargetKind kind;
        std::u16string target;
        std::u16string keptFile;  // relative; empty: no keep list
        std::vector<std::pair<std::u16string, int64_t>> expected;
    };
    const Row rows[] = {
        {"one file, asked by itself",
         Type_File,
         box.path(u"one\\f.txt"),
         {},
         {{box.path(u"one\\f.txt"), kBase + kHour}}},
        {"a folder's files, enumerated",
         Type_Folder_1_Level,
         box.path(u"flat"),
         {},
         {{box.path(u"flat\\a.txt"), kBase + 2 * kHour}, {box.path(u"flat\\b.txt"), kBase + 3 * kHour}}},
        {"a subfolder whole",
         Type_Folder_All_Levels,
         box.path(u"tree"),
         {},
         {{box.path(u"tree\\sub"), kBase + 8 * kHour}}},
        {"a wildcard's match",
         Type_File_Wild,
         box.path(u"wild\\*.log"),
         {},
         {{box.path(u"wild\\x.log"), kBase + 5 * kHour}}},
        {"around a kept file",
         Type_Folder_All_Levels,
         box.path(u"kept"),
         u"kept\\keep.txt",
         {{box.path(u"kept\\dir"), kBase + 9 * kHour}, {box.path(u"kept\\go.txt"), kBase + 6 * kHour}}},
        {"a key's values", Type_RegKey_1_Level, key(u"r\\k"), {}, {{key(u"r\\k\\x"), 0}}},
        {"one value", Type_RegValue, key(u"r\\k\\x"), {}, {{key(u"r\\k\\x"), 0}}},
    };
    for (const Row& row : rows) {
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->addChild(TimeRecord::makeTarget(row.kind, u"t", row.target));
        UserKeepList list;
        if (!row.keptFile.empty())
            list.add({KeepEntryType::File, box.path(row.keptFile), {}, 1});
        applyUserKeepList({group.get()}, list.keepList());
        ItemsModel model;
        model.setItems(listRowItems(*group));
        std::vector<std::pair<std::u16string, int64_t>> listed;
        for (std::size_t i = 0; i < model.rowCount(); ++i)
            listed.emplace_back(model.row(i).text, model.row(i).modified);
        std::string shownTimes;
        for (const auto& [text, time] : listed)
            shownTimes += narrow(text) + " " + std::to_string(time) + "; ";
        EXPECT_EQ(listed, row.expected) << row.what << ": " << shownTimes;
    }
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
