// The form protected places are compared in, and where the machine's own
// places come from (the in-memory machine natively, the prefix under Wine).
#include "platform/ProtectedPlaces.h"

#include "platform/ShellItems.h"
#include "platform/SystemInfo.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>

namespace s::file {
namespace {

using s::platform::testing::narrow;

TEST(ProtectedPlaces, PathsAreComparedInOneForm)
{
    struct Row {
        std::u16string path;
        std::u16string key;  // empty: not an absolute path
    };
    const Row rows[] = {
        {u"C:\\Windows", u"C:\\WINDOWS"},
        {u"c:/windows/", u"C:\\WINDOWS"},
        {u"C:\\Windows\\.\\System32\\..", u"C:\\WINDOWS"},
        {u"C:\\Windows.. \\", u"C:\\WINDOWS"},
        {u"C:\\\\Windows\\\\\\Fonts", u"C:\\WINDOWS\\FONTS"},
        {u"C:\\..\\..\\Users", u"C:\\USERS"},
        {u"\\\\?\\C:\\Users\\x", u"C:\\USERS\\X"},
        {u"\\\\.\\C:\\Users", u"C:\\USERS"},
        {u"\\\\?\\C:", u"C:"},
        {u"C:\\", u"C:"},
        {u"\\\\server\\share\\Dir", u"\\\\SERVER\\SHARE\\DIR"},
        {u"\\\\?\\UNC\\server\\share", u"\\\\SERVER\\SHARE"},
        {u"\\\\localhost\\c$\\Windows", u"C:\\WINDOWS"},
        {u"\\\\127.0.0.1\\D$", u"D:"},
        {u"C:", u""},
        {u"C:Windows", u""},
        {u"\\Windows", u""},
        {u"Windows\\System32", u""},
        {u"..\\x", u""},
        {u"\\\\server", u""},
        {u"", u""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProtectedPlaces::comparisonKey(row.path), row.key) << narrow(row.path);
}

TEST(ProtectedPlaces, RootsAndTheMachinesOwnPlaces)
{
    ProtectedPlaces::forget();
    std::u16string documents;
    ASSERT_GE(s::platform::shellItems().specialFolderPath(s::platform::kCsidlPersonal, documents), 0);
    std::u16string profile;
    ASSERT_GE(s::platform::shellItems().specialFolderPath(s::platform::kCsidlProfile, profile), 0);
    const std::u16string windows = s::platform::systemFacts().windowsFolder;
    struct Row {
        std::u16string path;
        bool protectedPlace;
    };
    const Row rows[] = {
        {u"C:\\", true},
        {u"D:\\", true},
        {u"\\\\server\\share", true},
        {windows, true},
        {windows + u"\\System32", true},
        {windows + u"\\WinSxS\\", true},
        {windows + u"\\Temp", false},
        {windows + u"\\Prefetch", false},
        {profile, true},
        {profile + u"\\AppData\\Local", true},
        {profile + u"\\AppData\\Local\\Temp", false},
        {profile + u"\\..", true},
        {documents, true},
        {documents + u"\\Work", false},
        {u"Documents", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProtectedPlaces::contains(row.path), row.protectedPlace) << narrow(row.path);
}

}  // namespace
}  // namespace s::file
