// The items of each kind's clean, as `purgoc preview --files` shows them,
// against the build's backend: what is listed is what the clean then
// deletes, with the measures the scan gives the target.
#include "engine/CleanItems.h"

#include "engine/Clean.h"
#include "engine/Scan.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

constexpr std::uint32_t kRegBinary = 3;

struct Item {
    std::string type;
    std::u16string text;
    int64_t found;
    int64_t size;
    bool operator==(const Item&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    return out << item.type << " " << narrow(item.text) << " " << item.found << "/" << item.size;
}

class CleanItemsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    std::u16string key(std::u16string_view relative) const
    {
        return u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + std::u16string(relative);
    }

    void seed()
    {
        ASSERT_TRUE(box.makeFile(u"p\\t\\a.txt", 3) && box.makeFile(u"p\\t\\ro.txt", 2) &&
                    box.makeFile(u"p\\t\\sub\\b.txt", 1));
        ASSERT_TRUE(box.makeKey(u"r\\t\\s"));
        for (const auto& [keyRelative, name, bytes] :
             {std::tuple{u"r\\t", u"a", 4}, std::tuple{u"r\\t", u"", 2}, std::tuple{u"r\\t\\s", u"b", 1}}) {
            std::vector<std::byte> data(static_cast<std::size_t>(bytes), std::byte{0x5A});
            ASSERT_TRUE(box.setValue(keyRelative, name, kRegBinary, data));
        }
    }

    Sandbox box;
};

TEST_F(CleanItemsTest, EachKindListsWhatItsCleanDeletes)
{
    const Item a{"file", box.path(u"p\\t\\a.txt"), 1, 3};
    const Item ro{"file", box.path(u"p\\t\\ro.txt"), 1, 2};
    const Item sub{"folder", box.path(u"p\\t\\sub"), 2, 1};
    const Item valueA{"value", key(u"r\\t\\a"), 1, 4};
    const Item defaultValue{"value", key(u"r\\t\\"), 1, 2};
    const Item subkey{"key", key(u"r\\t\\s"), 2, 1};
    struct Row {
        int32_t kind;
        std::u16string target;
        std::vector<Item> items;
        // The items hold all the scan counts (the all-levels key keeps its
        // own values, which its clean never deletes).
        bool wholeTarget;
    };
    const Row rows[] = {
        {Type_Folder_1_Level, box.path(u"p\\t"), {a, ro}, true},
        {Type_Folder_All_Levels, box.path(u"p\\t"), {a, ro, sub}, true},
        {Type_Folder_All_Levels_IncludeSelf, box.path(u"p\\t"), {{"folder", box.path(u"p\\t"), 5, 6}}, true},
        {Type_Folder_OnlyAllSubFolders, box.path(u"p\\t"), {sub}, true},
        {Type_File, box.path(u"p\\t\\a.txt"), {a}, true},
        {Type_File, box.path(u"p\\t\\none.txt"), {}, true},
        {Type_File_Wild, box.path(u"p\\t\\*.txt"), {a, ro}, true},
        {Type_RegKey_1_Level, key(u"r\\t"), {defaultValue, valueA}, true},
        {Type_RegKey_All_Levels, key(u"r\\t"), {subkey}, false},
        {Type_RegKey_All_Levels_IncludeSelf, key(u"r\\t"), {{"key", key(u"r\\t"), 5, 7}}, true},
        {Type_RegKey_OnlyAllSubKeys, key(u"r\\t"), {subkey}, true},
        {Type_RegValue, key(u"r\\t\\a"), {valueA}, true},
        {Type_RegValue, key(u"r\\t\\none"), {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(targetKindName(row.kind)) + " " + narrow(row.target));
        seed();
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->checked = true;
        TimeRecord* target = TimeRecord::makeTarget(static_cast<TargetKind>(row.kind), u"t", row.target);
        group->addChild(target);
        scan(*group, nullptr, Captions::Without);

        std::vector<Item> items;
        forEachCleanItem(*target, [&](CleanItem& item) {
            const ItemMeasures measures = measureCleanItem(item, *target);
            items.push_back({cleanItemTypeName(item.type), cleanItemText(item, *target).toU16String(), measures.found,
                             measures.size});
        });
        std::sort(items.begin(), items.end(), [](const Item& l, const Item& r) { return l.text < r.text; });
        EXPECT_EQ(items, row.items);
        if (row.wholeTarget) {
            int64_t found = 0;
            int64_t size = 0;
            for (const Item& item : items) {
                found += item.found;
                size += item.size;
            }
            EXPECT_EQ(found, target->found) << "the scan's count";
            EXPECT_EQ(size, target->size) << "the scan's size";
        }

        CleanContext context;
        clean(*group, context);
        EXPECT_EQ(context.pendingFound, row.wholeTarget ? 0 : 2) << "what the clean left";
        const std::u16string prefix = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\";
        for (const Item& item : items) {
            const std::u16string relative =
                item.text.substr((item.type == "key" || item.type == "value" ? prefix : box.folder() + u"\\").size());
            if (item.type == "value") {
                const std::size_t slash = relative.rfind(u'\\');
                EXPECT_FALSE(box.valueExists(relative.substr(0, slash), relative.substr(slash + 1))) << item;
            } else if (item.type == "key") {
                EXPECT_FALSE(box.keyExists(relative)) << item;
            } else {
                EXPECT_FALSE(box.entryExists(relative)) << item;
            }
        }
    }
}

TEST_F(CleanItemsTest, ARefusedTargetListsNothing)
{
    // A relative path would act on the current folder.
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    TimeRecord* target = TimeRecord::makeTarget(Type_Folder_1_Level, u"t", u"Temp");
    group->addChild(target);
    int listed = 0;
    forEachCleanItem(*target, [&](CleanItem&) { ++listed; });
    EXPECT_EQ(listed, 0);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
