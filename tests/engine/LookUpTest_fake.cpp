// What lookUp asks the shell to show, by kind, read back from the recording
// shell of native builds (nothing is started).
#include "engine/TargetLocation.h"

#include "platform/SystemInfo.h"
#include "platform/fake/FakeShell.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::fakeShell;
using s::platform::SelectValue;
using s::platform::ShellRequest;
using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
using Kind = ShellRequest::Kind;

std::u16string g_lookedUp;

void recordLookUp(const Text& target)
{
    g_lookedUp = target.toU16String();
}

struct Expected {
    Kind kind;
    std::u16string first;
    std::u16string second;
    SelectValue select = SelectValue::No;
};

std::string show(const std::vector<ShellRequest>& requests)
{
    std::string out;
    for (const ShellRequest& request : requests)
        out += "\n  " + std::to_string(static_cast<int>(request.kind)) + " [" + narrow(request.first) + "] [" +
               narrow(request.second) + "]";
    return out;
}

class LookUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << box.failure();
        fakeShell().forgetRequests();
        ASSERT_TRUE(box.makeFolder(u"dir"));
        ASSERT_TRUE(box.makeFile(u"dir\\file.txt", 3));
    }
    void TearDown() override
    {
        fakeShell().setRegistryEditorAvailable(true);
        fakeShell().forgetRequests();
    }

    Sandbox box;
};

TEST_F(LookUpTest, EachKindShowsItsLocation)
{
    const std::u16string dir = box.path(u"dir");
    const std::u16string file = box.path(u"dir\\file.txt");
    const std::u16string explorer = s::platform::systemFacts().windowsFolder + u"\\explorer.exe";
    struct Row {
        const char* what;
        TargetKind kind;
        std::u16string target;
        std::vector<Expected> expected;  // empty: nothing is shown
    };
    const Row rows[] = {
        {"key",
         Type_RegKey_1_Level,
         u"hkey_current_user\\Software\\X",
         {{Kind::RegistryEditor, u"HKEY_CURRENT_USER\\Software\\X", u""}}},
        {"key tree",
         Type_RegKey_All_Levels_IncludeSelf,
         u"HKEY_LOCAL_MACHINE\\Software\\X\\",
         {{Kind::RegistryEditor, u"HKEY_LOCAL_MACHINE\\Software\\X", u""}}},
        {"value",
         Type_RegValue,
         u"HKEY_CURRENT_USER\\Software\\X\\MRUList",
         {{Kind::RegistryEditor, u"HKEY_CURRENT_USER\\Software\\X", u"MRUList", SelectValue::Yes}}},
        {"default value",
         Type_RegValue,
         u"HKEY_CURRENT_USER\\Software\\X\\",
         {{Kind::RegistryEditor, u"HKEY_CURRENT_USER\\Software\\X", u"", SelectValue::Yes}}},
        {"value without a key", Type_RegValue, u"\\Name", {}},
        {"wild value: its key only",
         Type_RegValue_Wild,
         u"HKEY_CURRENT_USER\\Software\\X\\url*",
         {{Kind::RegistryEditor, u"HKEY_CURRENT_USER\\Software\\X", u""}}},
        {"wild value without a key", Type_RegValue_Wild, u"url*", {}},
        {"folder", Type_Folder_1_Level, dir, {{Kind::OpenFolder, dir, u""}}},
        {"folder with slashes", Type_Folder_All_Levels, dir + u"/", {{Kind::OpenFolder, dir, u""}}},
        {"folder that is a file: its folder", Type_Folder_All_Levels_IncludeSelf, file, {{Kind::OpenFolder, dir, u""}}},
        {"drive root", Type_Folder_OnlyAllSubFolders, u"C:\\", {{Kind::OpenFolder, u"C:\\", u""}}},
        {"missing folder", Type_Folder_1_Level, box.path(u"missing"), {}},
        {"relative folder", Type_Folder_1_Level, u"dir", {}},
        {"file, selected in a new window",
         Type_File,
         file,
         {{Kind::StartProgram, explorer, u"/n, /select, \"" + file + u"\""}}},
        {"file with slashes",
         Type_File,
         dir + u"/file.txt",
         {{Kind::StartProgram, explorer, u"/n, /select, \"" + file + u"\""}}},
        {"missing file", Type_File, box.path(u"missing.txt"), {}},
        {"wildcard: its folder", Type_File_Wild, dir + u"\\*.tmp", {{Kind::OpenFolder, dir, u""}}},
        {"wildcard in a missing folder", Type_File_Wild, box.path(u"missing\\*.tmp"), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": " + narrow(row.target));
        fakeShell().forgetRequests();
        TimeRecordHandle node(TimeRecord::makeTarget(row.kind, u"id", row.target));
        lookUp(*node);
        const auto requests = fakeShell().requests();
        ASSERT_EQ(requests.size(), row.expected.size()) << show(requests);
        for (std::size_t k = 0; k < requests.size(); ++k) {
            EXPECT_EQ(requests[k].kind, row.expected[k].kind);
            EXPECT_EQ(requests[k].first, row.expected[k].first);
            EXPECT_EQ(requests[k].second, row.expected[k].second);
            EXPECT_EQ(requests[k].select, row.expected[k].select);
        }
    }
}

TEST_F(LookUpTest, RegistryEditorThatCannotStartIsReported)
{
    fakeShell().setRegistryEditorAvailable(false);
    TimeRecordHandle node(TimeRecord::makeTarget(Type_RegKey_1_Level, u"id", u"HKEY_CURRENT_USER\\Software"));

    lookUp(*node);
    LookUpTexts texts;
    texts.regeditFailed = u"Regedit konnte nicht gestartet werden!";
    texts.caption = u"Oxle Purgo";
    lookUp(*node, texts);

    const auto requests = fakeShell().requests();
    ASSERT_EQ(requests.size(), 2u) << show(requests);
    EXPECT_EQ(requests[0].kind, Kind::Message);
    EXPECT_EQ(requests[0].first, u"");
    EXPECT_EQ(requests[0].second, u"Failed to Launch Regedit!");
    EXPECT_EQ(requests[1].first, u"Oxle Purgo");
    EXPECT_EQ(requests[1].second, u"Regedit konnte nicht gestartet werden!");
}

TEST_F(LookUpTest, SpecialTargetsCallTheirHandlerAndGroupsShowNothing)
{
    TimeRecordHandle special(
        TimeRecord::makeSpecialTarget(u"id", u"t", u"d", nullptr, nullptr, nullptr, &recordLookUp, 0));
    special->target = u"C:\\cache";
    g_lookedUp.clear();
    lookUp(*special);
    EXPECT_EQ(g_lookedUp, u"C:\\cache");

    TimeRecordHandle silent(TimeRecord::makeSpecialTarget(u"id", u"t", u"d", nullptr, nullptr, nullptr, nullptr, 0));
    lookUp(*silent);

    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"Group", u""));
    group->kind = Type_Folder_1_Level;
    group->target = box.path(u"dir");
    lookUp(*group);
    EXPECT_TRUE(fakeShell().requests().empty()) << show(fakeShell().requests());
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
