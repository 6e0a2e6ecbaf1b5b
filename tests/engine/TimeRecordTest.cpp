#include "engine/TimeRecord.h"

#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <string>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;

namespace {

std::string utf8(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

s::thread::EasyPooler& recordPool()
{
    return s::thread::Pool<TimeRecord>::pooler();
}

struct KindCase {
    purgo::TargetKind kind;
    const char16_t* name;
    const char16_t* title;
    bool inWindowsFolder;
    const char16_t* iconSuffix;  // after the folder
};

TEST(TimeRecord, MakeTargetSetsPlaceholderTitleAndIconPerKind)
{
    const auto& facts = s::platform::systemFacts();
    const char16_t* valueIcon = facts.majorVersion >= 6 ? u"\\regedit.exe,3" : u"\\regedit.exe,7";
    const KindCase cases[] = {
        {purgo::Type_RegKey_1_Level, u"Type_RegKey_1_Level", u"Values Under Registry Key, 1-Level", true,
         u"\\regedit.exe,0"},
        {purgo::Type_RegKey_All_Levels, u"Type_RegKey_All_Levels", u"All Under Registry Key", true, u"\\regedit.exe,0"},
        {purgo::Type_RegKey_All_Levels_IncludeSelf, u"Type_RegKey_All_Levels_IncludeSelf",
         u"All Under Registry Key and Self", true, u"\\regedit.exe,0"},
        {purgo::Type_RegKey_OnlyAllSubKeys, u"Type_RegKey_OnlyAllSubKeys", u"All SubKeys", true, u"\\regedit.exe,0"},
        {purgo::Type_RegValue, u"Type_RegValue", u"Registry Value", true, valueIcon},
        {purgo::Type_RegValue_Wild, u"Type_RegValue_Wild", u"Registry Values", true, valueIcon},
        {purgo::Type_Folder_1_Level, u"Type_Folder_1_Level", u"Files Under Folder, 1-Level", false, u"\\shell32.dll,4"},
        {purgo::Type_Folder_All_Levels, u"Type_Folder_All_Levels", u"All Under Folder", false, u"\\shell32.dll,4"},
        {purgo::Type_Folder_All_Levels_IncludeSelf, u"Type_Folder_All_Levels_IncludeSelf", u"All Under Folder and Self",
         false, u"\\shell32.dll,4"},
        {purgo::Type_Folder_OnlyAllSubFolders, u"Type_Folder_OnlyAllSubFolders", u"Only All Subfolders", false,
         u"\\shell32.dll,4"},
        {purgo::Type_File, u"Type_File", u"File", false, u"\\shell32.dll,70"},
        {purgo::Type_File_Wild, u"Type_File_Wild", u"Files", false, u"\\shell32.dll,70"},
    };
    ASSERT_FALSE(facts.windowsFolder.empty());
    ASSERT_FALSE(facts.systemFolder.empty());
    for (const auto& c : cases) {
        const std::u16string path = u"C:\\Some\\Where";
        TimeRecordHandle t(TimeRecord::makeTarget(c.kind, u"id7", path));
        const std::u16string icon = (c.inWindowsFolder ? facts.windowsFolder : facts.systemFolder) + c.iconSuffix;
        SCOPED_TRACE(utf8(c.name));
        EXPECT_EQ(t->id, u"id7");
        EXPECT_EQ(t->title, c.title);
        EXPECT_EQ(t->description, path);
        EXPECT_EQ(t->target, path);
        EXPECT_EQ(t->iconSpec, icon);
        EXPECT_TRUE(t->checked);
        EXPECT_TRUE(t->isTarget);
        EXPECT_FALSE(t->defaultChecked);
        EXPECT_FALSE(t->wildInSubfolders);
        EXPECT_EQ(t->kind, c.kind);
        EXPECT_EQ(t->childCount(), 0u);
        EXPECT_EQ(std::u16string(purgo::targetKindName(c.kind)), c.name);
        EXPECT_EQ(purgo::targetKindFromName(c.name), c.kind);
    }
    EXPECT_EQ(std::u16string(purgo::targetKindName(purgo::Type_File_Func)), u"Type_File_Func");
    EXPECT_EQ(purgo::targetKindName(13), nullptr);
    EXPECT_EQ(purgo::targetKindName(-1), nullptr);
    EXPECT_EQ(purgo::targetKindFromName(u"type_file"), -1) << "stored names match exactly";
}

int g_counted = 0;
void countHandler(purgo::Text& target, int64_t& size, int64_t& found, intptr_t data, int32_t)
{
    target = u"C:\\computed";
    size = 10;
    found = data;
    ++g_counted;
}
void cleanHandler(intptr_t, int32_t)
{
}
bool existsHandler(const purgo::Text&)
{
    return true;
}

TEST(TimeRecord, GroupsAndSpecialTargets)
{
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"Group", u"About it"));
    EXPECT_FALSE(group->isTarget);
    EXPECT_FALSE(group->checked);
    EXPECT_TRUE(group->iconSpec.isEmpty()) << "no icon given, none set";
    ASSERT_NE(group->children, nullptr);
    EXPECT_EQ(group->childCount(), 0u);

    TimeRecordHandle withIcon(TimeRecord::makeGroup(u"g2", u"T", u"D", u"x.dll,3"));
    EXPECT_EQ(withIcon->iconSpec, u"x.dll,3");

    TimeRecord* special = TimeRecord::makeSpecialTarget(u"s", u"Special", u"Desc ", &countHandler, &cleanHandler,
                                                        &existsHandler, nullptr, 3, u"y.dll,1");
    EXPECT_EQ(special->kind, purgo::Type_File_Func);
    EXPECT_TRUE(special->checked);
    EXPECT_TRUE(special->isTarget);
    EXPECT_EQ(special->handlerExtra, 0);
    EXPECT_EQ(special->handlerData, 3);
    EXPECT_TRUE(special->target.isEmpty());
    EXPECT_EQ(special->iconSpec, u"y.dll,1");
    EXPECT_EQ(special->lookUpHandler, nullptr);

    EXPECT_EQ(group->addChild(special), group.get()) << "addChild returns the group";
    EXPECT_EQ(special->parent, group.get());
    ASSERT_EQ(group->childCount(), 1u);
    EXPECT_EQ(group->child(0), special);

    special->countHandler(special->target, special->size, special->found, special->handlerData, special->handlerExtra);
    EXPECT_EQ(special->target, u"C:\\computed");
    EXPECT_EQ(special->found, 3);
}

TEST(TimeRecord, SelectionNeedsTargetAndGroupChecked)
{
    struct Case {
        bool group;
        bool target;
        bool selected;
    };
    const Case cases[] = {{true, true, true}, {false, true, false}, {true, false, false}, {false, false, false}};
    for (const auto& c : cases) {
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        TimeRecord* t = TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\a.txt");
        group->addChild(t);
        group->checked = c.group;
        t->checked = c.target;
        EXPECT_EQ(t->isSelected(), c.selected) << "group checked " << c.group << ", target checked " << c.target;
    }
}

TEST(TimeRecord, CloneIsIndependentAndReparented)
{
    TimeRecord* source = TimeRecord::makeGroup(u"g", u"Group", u"Desc", u"i.dll,1");
    source->checked = true;
    source->custom = true;
    source->customRecordId = 4;
    source->customChildRecordId = 9;
    source->found = 12;
    source->size = 3400000000LL;
    TimeRecord* a = TimeRecord::makeTarget(purgo::Type_File_Wild, u"a", u"C:\\Temp\\*.tmp");
    a->wildInSubfolders = true;
    a->defaultChecked = true;
    source->addChild(a);
    source->addChild(
        TimeRecord::makeSpecialTarget(u"b", u"B", u"Bd", &countHandler, &cleanHandler, nullptr, nullptr, 77));

    TimeRecord* copy = source->clone();
    source->release();  // the copy must not share anything with the source

    EXPECT_EQ(copy->id, u"g");
    EXPECT_EQ(copy->title, u"Group");
    EXPECT_EQ(copy->description, u"Desc");
    EXPECT_EQ(copy->iconSpec, u"i.dll,1");
    EXPECT_TRUE(copy->checked);
    EXPECT_TRUE(copy->custom);
    EXPECT_EQ(copy->customRecordId, 4);
    EXPECT_EQ(copy->customChildRecordId, 9);
    EXPECT_EQ(copy->found, 12);
    EXPECT_EQ(copy->size, 3400000000LL);
    EXPECT_EQ(copy->parent, nullptr);
    ASSERT_EQ(copy->childCount(), 2u);

    TimeRecord* ca = copy->child(0);
    EXPECT_EQ(ca->parent, copy);
    EXPECT_EQ(ca->target, u"C:\\Temp\\*.tmp");
    EXPECT_TRUE(ca->wildInSubfolders);
    EXPECT_TRUE(ca->defaultChecked);
    EXPECT_EQ(ca->kind, purgo::Type_File_Wild);
    EXPECT_EQ(ca->children, nullptr) << "a target's copy has no children array";

    TimeRecord* cb = copy->child(1);
    EXPECT_EQ(cb->parent, copy);
    EXPECT_EQ(cb->countHandler, &countHandler);
    EXPECT_EQ(cb->handlerData, 77);

    copy->release();
}

// A row that records being given back.
class CountingRow : public purgo::IListRow {
public:
    void release() override { ++released; }
    void reset() override {}
    void showMeasures(const TimeRecord&) override {}
    int released = 0;
};

TEST(TimeRecord, DropRowGivesTheRowBackAndCloneLeavesItBehind)
{
    TimeRecordHandle t(TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\x"));
    CountingRow row;
    t->listRow = &row;
    TimeRecordHandle copy(t->clone());
    EXPECT_EQ(copy->listRow, nullptr);

    t->dropRow();
    EXPECT_EQ(t->listRow, nullptr);
    EXPECT_EQ(row.released, 1) << "the row went back to its pool";
    t->dropRow();
    EXPECT_EQ(row.released, 1) << "nothing linked, nothing given back";
}

TEST(TimeRecord, ReleasingAGroupReturnsChildrenAndReuseStartsReset)
{
    auto& pool = recordPool();
    TimeRecord* group = TimeRecord::makeGroup(u"g", u"G", u"D", u"i,1");
    for (int i = 0; i < 3; ++i) {
        TimeRecord* t = TimeRecord::makeTarget(purgo::Type_RegValue, u"t", u"HKEY_CURRENT_USER\\Software\\x\\v");
        t->found = 5;
        t->size = 6;
        t->custom = true;
        t->handlerData = 8;
        group->addChild(t);
    }
    group->checked = true;
    const std::size_t before = pool.spareCount();
    group->release();
    EXPECT_EQ(pool.spareCount(), before + 4) << "the group and its three targets";

    // The four spares come back in the freshly reset state; hold them all so
    // that each take returns a different one.
    std::vector<TimeRecordHandle> held;
    for (int i = 0; i < 4; ++i) {
        held.emplace_back(s::thread::Pool<TimeRecord>::take());
        const TimeRecord& r = *held.back();
        SCOPED_TRACE(i);
        EXPECT_EQ(r.kind, purgo::Type_File);
        EXPECT_TRUE(r.id.isEmpty() && r.title.isEmpty() && r.description.isEmpty());
        EXPECT_TRUE(r.iconSpec.isEmpty() && r.target.isEmpty());
        EXPECT_FALSE(r.checked || r.isTarget || r.custom || r.defaultChecked || r.wildInSubfolders);
        EXPECT_EQ(r.found, 0);
        EXPECT_EQ(r.size, 0);
        EXPECT_EQ(r.children, nullptr);
        EXPECT_EQ(r.parent, nullptr);
        EXPECT_EQ(r.listRow, nullptr);
        EXPECT_EQ(r.countHandler, nullptr);
        EXPECT_EQ(r.handlerData, 0);
    }
}

TEST(TimeRecord, ClassNameAndNewInstance)
{
    TimeRecordHandle t(TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\x"));
    EXPECT_STREQ(t->className(), "s_file_gui_dialogs_purgo_TimeRecord");
    auto* other = static_cast<TimeRecord*>(t->newInstance());
    EXPECT_NE(other, t.get());
    EXPECT_EQ(other->kind, purgo::Type_File);
    other->release();
}

}  // namespace
