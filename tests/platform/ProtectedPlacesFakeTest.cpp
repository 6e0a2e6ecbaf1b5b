// Where the protected places come from on a machine only the fakes can be:
// profiles in the registry's profile list, redirected user folders, a
// program installed elsewhere.
#include "platform/ProtectedPlaces.h"

#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeProgramFolder.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShellItems.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <vector>

namespace s::file {
namespace {

namespace p = s::platform;
using p::testing::narrow;

class ProtectedPlacesFakeTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        p::fakeShellItems().clear();
        p::fakeEnvironment().clear();
        p::fakeRegistry().clear();
        p::fakeFileSystem().clear();
        p::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
        ProtectedPlaces::forget();
    }

    void setText(const std::u16string& key, const std::u16string& name, const std::u16string& text, std::uint32_t type)
    {
        std::vector<std::byte> data((text.size() + 1) * sizeof(char16_t));
        std::memcpy(data.data(), text.c_str(), data.size());
        ASSERT_TRUE(p::fakeRegistry().setValue(key, name, type, data));
    }
};

TEST_F(ProtectedPlacesFakeTest, EveryProfileOfTheListAndWhereTheShellMovedTheUsersFolders)
{
    const std::u16string list = u"\\Registry\\Machine\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
    p::fakeEnvironment().setVariable(u"SystemDrive", u"E:");
    setText(list, u"ProfilesDirectory", u"%SystemDrive%\\Profiles", p::kRegExpandSz);
    setText(list, u"Public", u"E:\\Profiles\\Public", p::kRegSz);
    setText(list, u"Default", u"Default", p::kRegSz);  // older systems: relative to the profiles folder
    setText(list + u"\\S-1-5-21-1-2-3-1001", u"ProfileImagePath", u"%SystemDrive%\\Profiles\\ann", p::kRegExpandSz);
    setText(list + u"\\S-1-5-21-1-2-3-1002", u"ProfileImagePath", u"D:\\bob", p::kRegSz);
    p::fakeShellItems().setSpecialFolder(p::kCsidlPersonal, u"F:\\Redirected\\Docs");
    p::fakeShellItems().setSpecialFolder(p::kFolderDownloads, u"F:\\Redirected\\Downloads");
    p::setProgramFolder(u"G:\\Tools\\Purgo");
    ProtectedPlaces::forget();
    struct Row {
        const char16_t* path;
        bool protectedPlace;
    };
    const Row rows[] = {
        {u"E:\\Profiles", true},
        {u"E:\\Profiles\\ann", true},
        {u"E:\\Profiles\\ann\\Documents", true},
        {u"E:\\Profiles\\ann\\AppData\\LocalLow", true},
        {u"E:\\Profiles\\ann\\AppData\\Local\\Temp", false},
        {u"E:\\Profiles\\Default\\AppData\\Roaming", true},
        {u"E:\\Profiles\\Public\\Desktop", true},
        {u"D:\\bob\\Favorites", true},
        {u"D:\\", true},
        {u"D:\\bob\\cache", false},
        {u"F:\\Redirected\\Docs", true},
        {u"F:\\Redirected\\Downloads", true},
        {u"F:\\Redirected", false},
        {u"G:\\Tools\\Purgo", true},
        {u"G:\\Tools\\Purgo\\savedata", true},
        {u"G:\\Tools\\Purgo\\savedata\\old", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProtectedPlaces::contains(row.path), row.protectedPlace) << narrow(row.path);
}

// A profile the environment names by its short names (Windows XP's
// "C:\DOCUME~1\ADMINI~1") protects its long names too; the places without a
// "~" cost no long-name question at all (each walks the whole path).
TEST_F(ProtectedPlacesFakeTest, ShortNamedPlacesAreKnownByTheirLongNamesAndOnlyTheyAreAsked)
{
    auto& files = p::fakeFileSystem();
    ASSERT_TRUE(files.addFolder(u"C:\\Documents and Settings"));
    ASSERT_TRUE(files.addFolder(u"C:\\Documents and Settings\\Administrator"));
    ASSERT_TRUE(files.addFolder(u"C:\\Documents and Settings\\Administrator\\Desktop"));
    ASSERT_TRUE(files.setShortName(u"C:\\Documents and Settings", u"DOCUME~1"));
    ASSERT_TRUE(files.setShortName(u"C:\\Documents and Settings\\Administrator", u"ADMINI~1"));
    p::fakeEnvironment().setVariable(u"USERPROFILE", u"C:\\DOCUME~1\\ADMINI~1");
    ProtectedPlaces::forget();
    files.resetCallCounts();
    struct Row {
        const char16_t* path;
        bool protectedPlace;
    };
    const Row rows[] = {
        {u"C:\\Documents and Settings\\Administrator", true},
        {u"C:\\Documents and Settings\\Administrator\\Desktop", true},
        {u"C:\\Documents and Settings", true},
        {u"C:\\DOCUME~1\\ADMINI~1\\Desktop", true},
        {u"C:\\Documents and Settings\\Administrator\\Desktop\\old", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProtectedPlaces::contains(row.path), row.protectedPlace) << narrow(row.path);
    // The profile, its 21 folders and its parent hold a "~"; nothing else
    // the places are read from does.
    EXPECT_GT(files.callCounts().longPathName, 0);
    EXPECT_LE(files.callCounts().longPathName, 23);
}

}  // namespace
}  // namespace s::file
