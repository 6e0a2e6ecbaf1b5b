// A rule file of our own against sandbox folders and keys, on the build's
// backend (the fakes natively, the real system under Wine): what is
// detected, the figures measured, what a clean deletes and what the
// exclusions keep.
#include "catalogue/RuleGroups.h"

#include "engine/Clean.h"
#include "engine/CleanItems.h"
#include "engine/Scan.h"
#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFolder.h"
#include "platform/ShellItems.h"
#include "tests/support/LanguageTable.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

std::string toUtf8(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer(text).toUtf8();
}

constexpr std::uint32_t kRegBinary = 3;

bool startsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    using s::str::strbuffer::StrBuffer;
    return StrBuffer::foldedCopy(text.substr(0, prefix.size())) == StrBuffer::foldedCopy(prefix);
}

class RuleGroups : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        // The sandbox lies in the user's profile on both backends (the fake
        // user's Temp folder, Wine's C:\users\<user>\Temp): the rules reach it
        // through %UserProfile%, as the community file reaches its places.
        std::u16string profile;
        ASSERT_GE(s::platform::shellItems().specialFolderPath(s::platform::kCsidlProfile, profile), 0);
        ASSERT_TRUE(startsWithFolded(box.folder(), profile + u"\\")) << narrow(box.folder());
        variablePath = "%UserProfile%" + toUtf8(box.folder().substr(profile.size()));
        keyText = "HKCU\\" + toUtf8(box.keyPath());
    }

    void TearDown() override
    {
        for (TimeRecord* group : groups)
            group->release();
    }

    void build(const std::string& text)
    {
        RuleGroupBuilder builder;
        builder.add(readRuleFile(text), groups);
        report = builder.report();
    }

    bool file(std::u16string_view relative, std::uint64_t size) { return box.makeFile(relative, size); }
    bool value(std::u16string_view key, std::u16string_view name, std::size_t bytes)
    {
        std::vector<std::byte> data(bytes, std::byte{0x33});
        return box.makeKey(key) && box.setValue(key, name, kRegBinary, data);
    }

    Sandbox box;
    std::string variablePath;  // the sandbox folder as "%UserProfile%\..."
    std::string keyText;       // the sandbox key as "HKCU\Software\..."
    std::vector<TimeRecord*> groups;
    RulesReport report;
};

TEST_F(RuleGroups, MeasuresAndCleansWhatTheEntriesNameAndKeepsTheExclusions)
{
    for (const auto& [path, size] : std::vector<std::pair<std::u16string_view, int>>{
             {u"app\\a\\marker.txt", 1},
             {u"app\\Profiles\\p1\\cache\\x.bin", 100},
             {u"app\\Profiles\\p1\\cache\\sub\\y.bin", 50},
             {u"app\\Profiles\\p1\\cache\\keep\\k.bin", 7},
             {u"app\\Profiles\\p2\\cache\\z.bin", 20},
             {u"app\\logs\\one.log", 3},
             {u"app\\logs\\keep.log", 4},
             {u"app\\logs\\note.txt", 5},
             {u"app\\tmp\\t1", 8},
             {u"app\\tmp\\d\\t2", 9},
             {u"app\\state.bin", 11},
         })
        ASSERT_TRUE(file(path, static_cast<std::uint64_t>(size))) << narrow(path);
    ASSERT_TRUE(value(u"App\\MRU", u"a", 2) && value(u"App\\MRU", u"b", 3));
    ASSERT_TRUE(value(u"App\\MRU\\Pinned", u"p", 5) && value(u"App\\MRU\\Old", u"o", 1));
    ASSERT_TRUE(value(u"App", u"LastFile", 6) && value(u"App", u"Other", 1));

    const std::string& v = variablePath;
    const std::string& k = keyText;
    build("[Rules Test App *]\r\n"
          "LangSecRef=3021\r\n"
          "DetectFile=" +
          v +
          "\\app\\*\\marker.txt\r\n"
          "FileKey1=" +
          v +
          "\\app\\Profiles\\*\\cache|*.*|RECURSE\r\n"
          "FileKey2=" +
          v +
          "\\app\\logs|*.log\r\n"
          "FileKey3=" +
          v +
          "\\app\\tmp|*.*|REMOVESELF\r\n"
          "FileKey4=" +
          v +
          "\\app|state.bin\r\n"
          "RegKey1=" +
          k +
          "\\App\\MRU\r\n"
          "RegKey2=" +
          k +
          "\\App|LastFile\r\n"
          "ExcludeKey1=FILE|" +
          v +
          "\\app\\logs\\|keep.log\r\n"
          "ExcludeKey2=PATH|" +
          v +
          "\\app\\Profiles\\p1\\cache\\keep\\|*.*\r\n"
          "ExcludeKey3=REG|" +
          k +
          "\\App\\MRU\\Pinned\r\n"
          "\r\n"
          "[Rules Test Missing *]\r\n"
          "Detect=" +
          k +
          "\\NotThere\r\n"
          "FileKey1=" +
          v +
          "\\app\\logs|*.*\r\n"
          "[Rules Test Special *]\r\n"
          "SpecialDetect=DET_CHROME\r\n"
          "FileKey1=" +
          v +
          "\\app\\logs|*.*\r\n"
          "[Rules Test Protected *]\r\n"
          "FileKey1=%UserProfile%|*.*|RECURSE\r\n");

    EXPECT_EQ(report.entries, 4);
    EXPECT_EQ(report.detected, 1);
    EXPECT_EQ(report.notDetected, 1);
    EXPECT_EQ(report.ignored, 1);
    ASSERT_EQ(report.dropped.size(), 1u);
    EXPECT_EQ(report.dropped[0].entry, u"Rules Test Protected *");
    EXPECT_EQ(report.dropped[0].text.find(u"every path is protected or invalid"), 0u) << narrow(report.dropped[0].text);
    ASSERT_EQ(groups.size(), 1u);
    TimeRecord& group = *groups[0];
    EXPECT_EQ(group.title, u"Rules Test App");
    EXPECT_EQ(group.description, u"Applications");
    EXPECT_FALSE(group.checked);

    // Per target: the profile caches (one kept folder inside p1's), the logs
    // but the kept one, the tmp folder with itself, one file, the MRU key
    // with everything but its Pinned subkey, one value.
    struct Expect {
        int32_t kind;
        std::u16string_view tail;
        int64_t found;
        int64_t size;
    };
    const Expect expected[] = {
        {Type_Folder_All_Levels, u"app\\Profiles\\p1\\cache", 3, 150},
        {Type_Folder_All_Levels, u"app\\Profiles\\p2\\cache", 1, 20},
        {Type_File_Wild, u"app\\logs\\*.log", 1, 3},
        {Type_Folder_All_Levels_IncludeSelf, u"app\\tmp", 4, 17},
        {Type_File, u"app\\state.bin", 1, 11},
        {Type_RegKey_All_Levels_IncludeSelf, u"App\\MRU", 4, 6},
        {Type_RegValue, u"App\\LastFile", 1, 6},
    };
    scan(group, nullptr, Captions::Without);
    // Wildcard folders come in the file system's order: find each by path.
    ASSERT_EQ(group.childCount(), std::size(expected));
    for (const Expect& e : expected) {
        const bool registry = e.kind <= Type_RegValue_Wild;
        const std::u16string path =
            (registry ? u"HKEY_CURRENT_USER\\" + box.keyPath() : box.folder()) + u"\\" + std::u16string(e.tail);
        const TimeRecord* target = nullptr;
        for (std::size_t i = 0; i < group.childCount(); ++i) {
            if (group.child(i)->target.equalsIgnoreCase(path))
                target = group.child(i);
        }
        ASSERT_NE(target, nullptr) << narrow(e.tail);
        EXPECT_EQ(target->kind, e.kind) << narrow(e.tail);
        EXPECT_EQ(target->found, e.found) << narrow(e.tail);
        EXPECT_EQ(target->size, e.size) << narrow(e.tail);
        EXPECT_TRUE(target->checked);
    }
    EXPECT_EQ(group.found, 15);
    EXPECT_EQ(group.size, 213);

    group.checked = true;
    CleanContext context;
    clean(group, context);
    for (std::u16string_view gone :
         {u"app\\Profiles\\p1\\cache\\x.bin", u"app\\Profiles\\p1\\cache\\sub", u"app\\Profiles\\p2\\cache\\z.bin",
          u"app\\logs\\one.log", u"app\\tmp", u"app\\state.bin"})
        EXPECT_FALSE(box.entryExists(gone)) << narrow(gone);
    for (std::u16string_view kept : {u"app\\Profiles\\p1\\cache\\keep\\k.bin", u"app\\logs\\keep.log",
                                     u"app\\logs\\note.txt", u"app\\a\\marker.txt"})
        EXPECT_TRUE(box.entryExists(kept)) << narrow(kept);
    EXPECT_FALSE(box.valueExists(u"App\\MRU", u"a"));
    EXPECT_FALSE(box.keyExists(u"App\\MRU\\Old"));
    EXPECT_FALSE(box.valueExists(u"App", u"LastFile"));
    EXPECT_TRUE(box.valueExists(u"App\\MRU\\Pinned", u"p"));
    EXPECT_TRUE(box.valueExists(u"App", u"Other"));
    // What is left is what the exclusions keep, which counts as nothing; the
    // "and self" folder is gone and counts no more.
    EXPECT_EQ(group.found, 0);
    EXPECT_EQ(context.pendingFound, 0);
}

// REMOVESELF as the format has it, whatever the pattern: the matching files
// at every depth, then each folder left holding nothing, deepest first, then
// the named folder itself when nothing is left in it; an excluded file keeps
// its folders. The scan counts exactly the files and folders the clean
// removes, and what is left counts as nothing.
TEST_F(RuleGroups, RemoveSelfTakesTheMatchesThenTheFoldersLeftEmpty)
{
    struct Case {
        const char* name;
        std::u16string_view folder;  // the FileKey's folder in the sandbox
        std::string keyTail;         // "|pattern|flags"
        std::string excludeTail;     // an ExcludeKey's "FILE|" tail below the folder, or ""
        std::vector<std::pair<std::u16string_view, int>> files;
        std::vector<std::u16string_view> emptyFolders;  // made before the clean
        int64_t found;
        int64_t size;
        std::vector<std::u16string_view> gone;
        std::vector<std::u16string_view> left;
    };
    const Case cases[] = {
        {"a pattern narrower than *: the folder keeps what it does not match",
         u"rs1",
         "|*.log|REMOVESELF",
         "",
         {{u"a.log", 1}, {u"sub\\b.log", 2}, {u"sub\\deep\\c.log", 4}, {u"keep.txt", 8}},
         {},
         5,
         7,
         {u"a.log", u"sub"},
         {u"keep.txt"}},
        {"everything matched: nested and empty folders, then the folder",
         u"rs2",
         "|*.tmp|REMOVESELF",
         "",
         {{u"x.tmp", 1}, {u"d1\\d2\\y.tmp", 2}},
         {u"empty", u"d1\\d3"},
         7,
         3,
         {},
         {}},
        {"a kept file keeps its folders; the others go whole",
         u"rs3",
         "|*|REMOVESELF",
         "a\\b|keep.dat",
         {{u"x", 1}, {u"a\\y", 2}, {u"a\\b\\keep.dat", 4}, {u"a\\b\\z", 8}, {u"c\\d\\w", 16}},
         {},
         6,
         27,
         {u"x", u"a\\y", u"a\\b\\z", u"c"},
         {u"a\\b\\keep.dat"}},
        {"a plain name in every subfolder",
         u"rs4",
         "|Thumbs.db|REMOVESELF",
         "",
         {{u"Thumbs.db", 1}, {u"p\\Thumbs.db", 2}, {u"p\\photo.jpg", 4}, {u"q\\Thumbs.db", 8}},
         {},
         4,
         11,
         {u"Thumbs.db", u"p\\Thumbs.db", u"q"},
         {u"p\\photo.jpg"}},
    };
    for (const Case& c : cases) {
        const std::u16string base = std::u16string(c.folder) + u"\\";
        for (const auto& [relative, size] : c.files)
            ASSERT_TRUE(file(base + std::u16string(relative), static_cast<std::uint64_t>(size))) << c.name;
        for (std::u16string_view folder : c.emptyFolders)
            ASSERT_TRUE(box.makeFolder(base + std::u16string(folder))) << c.name;
        for (TimeRecord* group : groups)
            group->release();
        groups.clear();
        const std::string folder = variablePath + "\\" + toUtf8(c.folder);
        std::string text = "[Remove Self *]\r\nFileKey1=" + folder + c.keyTail + "\r\n";
        if (!c.excludeTail.empty())
            text += "ExcludeKey1=FILE|" + folder + "\\" + c.excludeTail + "\r\n";
        build(text);
        ASSERT_EQ(groups.size(), 1u) << c.name << ": "
                                     << (report.dropped.empty() ? "" : narrow(report.dropped[0].text));
        TimeRecord& group = *groups[0];
        scan(group, nullptr, Captions::Without);
        EXPECT_EQ(group.found, c.found) << c.name;
        EXPECT_EQ(group.size, c.size) << c.name;

        // What preview --files lists is what the scan counted.
        int64_t listed = 0;
        forEachCleanItem(*group.child(0),
                         [&](CleanItem& item) { listed += measureCleanItem(item, *group.child(0)).found; });
        EXPECT_EQ(listed, c.found) << c.name;

        group.checked = true;
        CleanContext context;
        clean(group, context);
        for (std::u16string_view gone : c.gone)
            EXPECT_FALSE(box.entryExists(base + std::u16string(gone))) << c.name << ": " << narrow(gone);
        for (std::u16string_view left : c.left)
            EXPECT_TRUE(box.entryExists(base + std::u16string(left))) << c.name << ": " << narrow(left);
        // The named folder stays exactly when something is left in it.
        EXPECT_EQ(box.entryExists(c.folder), !c.left.empty()) << c.name;
        EXPECT_EQ(group.found, 0) << c.name;
        EXPECT_EQ(context.pendingFound, 0) << c.name;
    }
}

// The guard of what browsers keep for their users: a rule that reaches a
// Chromium profile's saved passwords, bookmarks, settings or extensions, the
// settings beside the profiles, or a Firefox profile's passwords, bookmarks
// or settings gets a warning of its own; caches, logs and cookies do not.
TEST_F(RuleGroups, RulesReachingABrowsersSavedDataGetAWarningOfTheirOwn)
{
    for (std::u16string_view path :
         {u"cr\\User Data\\Local State", u"cr\\User Data\\Default\\Preferences", u"cr\\User Data\\Default\\Login Data",
          u"cr\\User Data\\Default\\Bookmarks", u"cr\\User Data\\Default\\History",
          u"cr\\User Data\\Default\\Cache\\Cache_Data\\f_1",
          u"cr\\User Data\\Default\\Extensions\\abc\\1.0\\manifest.json", u"cr\\User Data\\Default\\debug.log",
          u"ff\\Profiles\\x.default\\prefs.js", u"ff\\Profiles\\x.default\\key4.db",
          u"ff\\Profiles\\x.default\\logins.json", u"ff\\Profiles\\x.default\\places.sqlite",
          u"ff\\Profiles\\x.default\\cookies.sqlite", u"ff\\Profiles\\x.default\\cache2\\entries\\e1",
          u"other\\App\\data.db"})
        ASSERT_TRUE(file(path, 1)) << narrow(path);
    struct Case {
        const char* what;
        const char* key;  // below the sandbox
        bool guarded;
    };
    const Case cases[] = {
        {"the saved passwords by name", "cr\\User Data\\*|Login Data*", true},
        {"a profile's cache", "cr\\User Data\\*\\Cache|*|REMOVESELF", false},
        {"a profile's logs", "cr\\User Data\\*|*.log", false},
        {"the profiles' folder with everything", "cr\\User Data|*|RECURSE", true},
        {"the browser's folder with everything below", "cr|*.*|REMOVESELF", true},
        {"inside the extensions", "cr\\User Data\\Default\\Extensions|*|RECURSE", true},
        {"the files of a profile", "cr\\User Data\\Default|*", true},
        {"the settings beside the profiles", "cr\\User Data|Local State", true},
        {"Firefox's passwords", "ff\\Profiles\\*|key4.db;logins.json", true},
        {"Firefox's bookmarks by a wildcard", "ff\\Profiles\\*|*.sqlite", true},
        {"Firefox's cookies", "ff\\Profiles\\*|cookies.sqlite", false},
        {"Firefox's cache", "ff\\Profiles\\*\\cache2|*|REMOVESELF", false},
        {"an application's own files", "other\\App|*.db", false},
    };
    for (const Case& c : cases) {
        for (TimeRecord* group : groups)
            group->release();
        groups.clear();
        build("[Guard Case *]\r\nFileKey1=" + variablePath + "\\" + c.key + "\r\n");
        ASSERT_EQ(groups.size(), 1u) << c.what;
        EXPECT_EQ(groups[0]->warningTextId, c.guarded ? kBrowserDataWarningText : 0) << c.what;
        EXPECT_EQ(report.browserData.size(), c.guarded ? 1u : 0u) << c.what;
    }

    // The guard's warning comes first, in the language shown, then the
    // file's own.
    for (TimeRecord* group : groups)
        group->release();
    groups.clear();
    build("[Passwords *]\r\nWarning=Signs you out of every site.\r\nFileKey1=" + variablePath +
          "\\cr\\User Data\\*|Login Data\r\n[Plain *]\r\nFileKey1=" + variablePath + "\\other\\App|*.db\r\n");
    ASSERT_EQ(groups.size(), 2u);
    s::lang::Localizer& english = testing_platform::shippedLanguageTable();
    EXPECT_EQ(toUtf8(groupWarning(*groups[0], english)),
              "This group reaches a web browser's saved passwords, bookmarks or settings.\r\n"
              "Signs you out of every site.");
    EXPECT_EQ(groupWarning(*groups[1], english), u"");
}

TEST_F(RuleGroups, DetectsByKeyFileFolderAndWildcard)
{
    ASSERT_TRUE(box.makeKey(u"Installed\\App"));
    ASSERT_TRUE(file(u"det\\here.txt", 1));
    ASSERT_TRUE(box.makeFolder(u"det\\Folder"));
    ASSERT_TRUE(file(u"det\\p\\x1\\prefs.js", 1));
    ASSERT_TRUE(file(u"det\\clean\\a.tmp", 1));
    const std::string& v = variablePath;
    const std::string& k = keyText;
    const std::string target = "FileKey1=" + v + "\\det\\clean|*.tmp\r\n";
    struct Case {
        const char* name;
        std::string lines;
        bool detected;
    };
    const Case cases[] = {
        {"a key that exists", "Detect=" + k + "\\Installed\\App\r\n", true},
        {"a full root name", "Detect=HKEY_CURRENT_USER\\" + toUtf8(box.keyPath()) + "\\Installed\r\n", true},
        {"a key that does not", "Detect=" + k + "\\Installed\\Other\r\n", false},
        {"a second key that does", "Detect1=" + k + "\\Nope\r\nDetect2=" + k + "\\Installed\r\n", true},
        {"a file", "DetectFile=" + v + "\\det\\here.txt\r\n", true},
        {"a folder", "DetectFile=" + v + "\\det\\Folder\r\n", true},
        {"a wildcard name", "DetectFile=" + v + "\\det\\he*.txt\r\n", true},
        {"a wildcard folder", "DetectFile=" + v + "\\det\\p\\*\\prefs.js\r\n", true},
        {"a missing file", "DetectFile=" + v + "\\det\\gone.txt\r\n", false},
        {"a key or a file", "Detect=" + k + "\\Nope\r\nDetectFile=" + v + "\\det\\here.txt\r\n", true},
        {"nothing to detect", "", true},
        {"an unknown variable", "DetectFile=%Nowhere%\\det\\here.txt\r\n", false},
        // Enough questions about one folder or key that the build lists it
        // and answers from the listing, names compared without regard to case.
        {"many files asked in one folder",
         "DetectFile1=" + v + "\\det\\a.txt\r\nDetectFile2=" + v + "\\det\\b.txt\r\nDetectFile3=" + v +
             "\\det\\c.txt\r\nDetectFile4=" + v + "\\DET\\HERE.TXT\r\n",
         true},
        {"many files asked, none there",
         "DetectFile1=" + v + "\\det\\a.txt\r\nDetectFile2=" + v + "\\det\\b.txt\r\nDetectFile3=" + v +
             "\\det\\c.txt\r\nDetectFile4=" + v + "\\det\\d\\here.txt\r\n",
         false},
        {"many keys asked below one key",
         "Detect1=" + k + "\\Installed\\A\r\nDetect2=" + k + "\\Installed\\B\r\nDetect3=" + k +
             "\\Installed\\C\r\nDetect4=" + k + "\\INSTALLED\\app\r\n",
         true},
        {"many keys asked, none there",
         "Detect1=" + k + "\\Installed\\A\r\nDetect2=" + k + "\\Installed\\B\r\nDetect3=" + k +
             "\\Installed\\C\r\nDetect4=" + k + "\\Installed\\D\r\n",
         false},
    };
    for (const Case& c : cases) {
        for (TimeRecord* group : groups)
            group->release();
        groups.clear();
        build("[Detect Case *]\r\n" + c.lines + target);
        EXPECT_EQ(report.detected, c.detected ? 1 : 0) << c.name;
        EXPECT_EQ(report.notDetected, c.detected ? 0 : 1) << c.name;
    }
}

// A wildcard folder matches real folders only: the link beside them (a Unix
// symbolic link under Wine) is neither matched nor entered.
TEST_F(RuleGroups, WildcardFoldersNeverExpandIntoALink)
{
    const s::platform::testing::LinkFixture links = box.linkFixture();
    const std::string parent = toUtf8(links.parent);
    build("[Links *]\r\nFileKey1=" + parent +
          "\\*|*.log\r\n"
          "[Through *]\r\nDetectFile=" +
          parent + "\\l?nk\\keep.txt\r\nFileKey1=" + parent + "|*.log\r\n");
    EXPECT_EQ(report.notDetected, 1);
    ASSERT_EQ(groups.size(), 1u);
    bool target = false;
    for (std::size_t i = 0; i < groups[0]->childCount(); ++i) {
        const std::u16string path = groups[0]->child(i)->target.toU16String();
        EXPECT_FALSE(startsWithFolded(path, links.link + u"\\")) << narrow(path);
        target = target || startsWithFolded(path, links.target + u"\\");
    }
    EXPECT_TRUE(target);
}

// The program reads winapp2.ini beside itself (under Wine this test runs from
// a copy on drive C:, a real program folder).
TEST_F(RuleGroups, TheFileBesideTheProgramIsRead)
{
    const std::u16string folder = s::platform::programFolder().toU16String();
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(file(u"beside\\a.log", 9) && file(u"beside\\b.txt", 4));
    const std::string text = "[Beside Test *]\r\nFileKey1=" + variablePath + "\\beside|*.log\r\n";
    const std::u16string ini = folder + u"\\winapp2.ini";
    auto& files = s::platform::fileSystem();
    // Natively the program's folder is one the in-memory disk lacks.
    for (std::size_t slash = folder.find(u'\\', 3);; slash = folder.find(u'\\', slash + 1)) {
        files.createDirectory(folder.substr(0, slash).c_str());
        if (slash == std::u16string::npos)
            break;
    }
    ASSERT_EQ(files.writeFile(ini.c_str(), reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                              s::platform::IFileSystem::Flush::No),
              s::platform::kErrorSuccess)
        << narrow(ini);
    appendRuleGroups(groups, report);
    files.deleteFile(ini.c_str());
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0], ini);
    ASSERT_EQ(groups.size(), 1u);
    scan(*groups[0], nullptr, Captions::Without);
    EXPECT_EQ(groups[0]->found, 1);
    EXPECT_EQ(groups[0]->size, 9);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
