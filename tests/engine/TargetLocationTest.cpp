// Whether a target's location exists, by kind, against the build's backend:
// the in-memory fakes natively, a real temporary folder and test key under
// Wine.
#include "engine/TargetLocation.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

bool yes(const Text&)
{
    return true;
}

bool no(const Text&)
{
    return false;
}

TEST(TargetLocation, ValueTargetSplitsAtItsLastBackslash)
{
    struct Row {
        const char16_t* target;
        const char16_t* keyPath;
        const char16_t* name;
    };
    const Row rows[] = {
        {u"HKEY_CURRENT_USER\\Software\\X\\Name", u"HKEY_CURRENT_USER\\Software\\X", u"Name"},
        {u"HKEY_CURRENT_USER\\Software\\X\\", u"HKEY_CURRENT_USER\\Software\\X", u""},
        {u"HKEY_CURRENT_USER", u"HKEY_CURRENT_USER", u""},
        {u"\\Name", u"", u"Name"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.target));
        Text keyPath(u"old");
        Text name(u"old");
        splitValueTarget(row.target, keyPath, name);
        EXPECT_EQ(keyPath, row.keyPath);
        EXPECT_EQ(name, row.name);
    }
    Text both(u"HKEY_USERS\\a\\b");
    Text name;
    splitValueTarget(both.view(), both, name);
    EXPECT_EQ(both, u"HKEY_USERS\\a") << "the target may be one of the outputs";
    EXPECT_EQ(name, u"b");
}

TEST(TargetLocation, ExistsByKind)
{
    Sandbox box;
    ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
    ASSERT_TRUE(box.makeFolder(u"dir"));
    ASSERT_TRUE(box.makeFile(u"dir\\x.tmp", 3));
    ASSERT_TRUE(box.makeFile(u"file.txt", 3));
    ASSERT_TRUE(box.makeKey(u"Key\\Sub"));
    const std::u16string key = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\Key";
    const std::u16string wildKey = u"HKEY_CURRENT_USER\\" + box.keyPath().substr(0, 12) + u"*\\Key";
    const std::u16string dir = box.path(u"dir");
    const std::u16string file = box.path(u"file.txt");
    const std::u16string missing = box.path(u"missing");

    struct Row {
        const char* what;
        TargetKind kind;
        std::u16string target;
        bool exists;
    };
    const Row rows[] = {
        {"key", Type_RegKey_1_Level, key, true},
        {"key, other case", Type_RegKey_All_Levels, u"hkey_current_user\\" + box.keyPath() + u"\\KEY", true},
        {"key and self", Type_RegKey_All_Levels_IncludeSelf, key + u"\\", true},
        {"subkeys", Type_RegKey_OnlyAllSubKeys, key + u"\\Sub", true},
        {"missing key", Type_RegKey_1_Level, key + u"\\Missing", false},
        {"abbreviated root", Type_RegKey_1_Level, u"HKCU\\" + box.keyPath() + u"\\Key", false},
        {"value of a key", Type_RegValue, key + u"\\AnyValue", true},
        {"default value", Type_RegValue, key + u"\\", true},
        {"value without a key", Type_RegValue, u"\\Name", false},
        {"value text without a backslash", Type_RegValue, u"HKEY_CURRENT_USER", false},
        {"value of a missing key", Type_RegValue, key + u"\\Missing\\Name", false},
        {"wild value", Type_RegValue_Wild, key + u"\\Any*", true},
        {"wildcard in the key path", Type_RegValue_Wild, wildKey + u"\\Name", false},
        {"folder", Type_Folder_1_Level, dir, true},
        {"folder with slashes", Type_Folder_All_Levels, dir + u"/", true},
        {"folder and self", Type_Folder_All_Levels_IncludeSelf, dir, true},
        {"subfolders", Type_Folder_OnlyAllSubFolders, dir, true},
        {"folder that is a file", Type_Folder_1_Level, file, false},
        {"missing folder", Type_Folder_1_Level, missing, false},
        {"relative folder", Type_Folder_1_Level, u"dir", false},
        {"file", Type_File, file, true},
        {"file that is a folder", Type_File, dir, false},
        {"missing file", Type_File, missing, false},
        {"relative file", Type_File, u"file.txt", false},
        {"wildcard", Type_File_Wild, dir + u"\\*.tmp", true},
        {"wildcard matching nothing", Type_File_Wild, dir + u"\\*.none", true},
        {"wildcard in the folder part", Type_File_Wild, box.path(u"d*r\\*.tmp"), false},
        {"wildcard without a folder", Type_File_Wild, u"*.tmp", false},
        {"wildcard in a missing folder", Type_File_Wild, missing + u"\\*.tmp", false},
        {"wildcard under a file", Type_File_Wild, file + u"\\*.tmp", false},
        {"relative wildcard", Type_File_Wild, u"dir\\*.tmp", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": " + narrow(row.target));
        TimeRecordHandle node(TimeRecord::makeTarget(row.kind, u"id", row.target));
        EXPECT_EQ(locationExists(*node), row.exists);
    }
}

TEST(TargetLocation, SpecialTargetsAskTheirHandlerAndGroupsHaveNone)
{
    struct Row {
        const char* what;
        TargetExistsHandler handler;
        bool exists;
    };
    const Row rows[] = {
        {"handler says yes", &yes, true}, {"handler says no", &no, false}, {"no handler", nullptr, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimeRecordHandle node(
            TimeRecord::makeSpecialTarget(u"id", u"t", u"d", nullptr, nullptr, row.handler, nullptr, 0));
        EXPECT_EQ(locationExists(*node), row.exists);
    }
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"Group", u""));
    group->target = u"C:\\";
    EXPECT_FALSE(locationExists(*group));
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
