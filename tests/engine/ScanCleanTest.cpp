// Measuring and cleaning by kind, against the build's backend: the in-memory
// fakes natively, a real temporary folder and test key under Wine.
#include "engine/Clean.h"
#include "engine/Scan.h"

#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "tests/support/LanguageTable.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kReadOnly = 0x1;

bool present(const std::u16string& path)
{
    return s::platform::fileSystem().exists(path.c_str());
}

class ScanClean : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    std::u16string key(std::u16string_view relative) const
    {
        return u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + std::u16string(relative);
    }
    bool value(std::u16string_view keyRelative, std::u16string_view name, std::size_t bytes)
    {
        std::vector<std::byte> data(bytes, std::byte{0x5A});
        return box.setValue(keyRelative, name, kRegBinary, data);
    }

    // A checked group holding one checked target.
    TimeRecordHandle groupWith(int32_t kind, const std::u16string& path)
    {
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->checked = true;
        group->addChild(TimeRecord::makeTarget(static_cast<TargetKind>(kind), u"t", path));
        return group;
    }

    Sandbox box;
};

struct Measure {
    int32_t kind;
    int64_t found;
    int64_t size;
};

TEST_F(ScanClean, FolderKindsMeasureFilesAndFolders)
{
    ASSERT_TRUE(box.makeFile(u"m\\a.txt", 10) && box.makeFile(u"m\\b.txt", 10) && box.makeFile(u"m\\sub\\c.txt", 5));
    ASSERT_TRUE(box.makeFile(u"file.bin", 7));
    struct Row {
        const char* what;
        const char16_t* relative;
        Measure measure;
    };
    const Row rows[] = {
        {"1-level", u"m", {Type_Folder_1_Level, 2, 20}},
        {"all levels", u"m", {Type_Folder_All_Levels, 4, 25}},
        {"all levels and self", u"m", {Type_Folder_All_Levels_IncludeSelf, 5, 25}},
        {"only subfolders", u"m", {Type_Folder_OnlyAllSubFolders, 2, 5}},
        {"missing, 1-level", u"none", {Type_Folder_1_Level, 0, 0}},
        {"missing, all levels", u"none", {Type_Folder_All_Levels, 0, 0}},
        {"missing, nothing to count", u"none", {Type_Folder_All_Levels_IncludeSelf, 0, 0}},
        {"missing, only subfolders", u"none", {Type_Folder_OnlyAllSubFolders, 0, 0}},
        {"a folder path naming a file", u"file.bin", {Type_Folder_1_Level, 0, 7}},
        {"file", u"m\\a.txt", {Type_File, 1, 10}},
        {"missing file", u"m\\x.txt", {Type_File, 0, 0}},
        {"wildcard", u"m\\*.txt", {Type_File_Wild, 2, 20}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimeRecordHandle group = groupWith(row.measure.kind, box.path(row.relative));
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(group->child(0)->found, row.measure.found);
        EXPECT_EQ(group->child(0)->size, row.measure.size);
        EXPECT_EQ(group->found, row.measure.found) << "the group holds the sum";
        EXPECT_EQ(group->size, row.measure.size);
    }

    // In subfolders too when the target says so.
    TimeRecordHandle group = groupWith(Type_File_Wild, box.path(u"m\\*.txt"));
    group->child(0)->wildInSubfolders = true;
    scan(*group, nullptr, Captions::Without);
    EXPECT_EQ(group->found, 3);
    EXPECT_EQ(group->size, 25);
}

TEST_F(ScanClean, RegistryKindsMeasureValuesAndSubkeys)
{
    ASSERT_TRUE(box.makeKey(u"k\\s"));
    ASSERT_TRUE(value(u"k", u"v4", 4) && value(u"k", u"v6", 6) && value(u"k\\s", u"v3", 3));
    ASSERT_TRUE(value(u"k", u"empty", 0) == true);
    ASSERT_TRUE(value(u"k\\s", u"", 8));
    struct Row {
        const char* what;
        const char16_t* relative;
        Measure measure;
    };
    // k holds v4, v6 and an empty value; k\s holds v3 and a default value of 8.
    const Row rows[] = {
        {"values, 1 level", u"k", {Type_RegKey_1_Level, 3, 10}},
        {"all under", u"k", {Type_RegKey_All_Levels, 6, 21}},
        {"all under and self", u"k", {Type_RegKey_All_Levels_IncludeSelf, 7, 21}},
        {"only subkeys", u"k", {Type_RegKey_OnlyAllSubKeys, 3, 11}},
        {"missing key, nothing to count", u"none", {Type_RegKey_All_Levels_IncludeSelf, 0, 0}},
        {"missing key", u"none", {Type_RegKey_All_Levels, 0, 0}},
        {"value", u"k\\v6", {Type_RegValue, 1, 6}},
        {"empty value counts nothing", u"k\\empty", {Type_RegValue, 0, 0}},
        {"default value by a trailing backslash", u"k\\s\\", {Type_RegValue_Wild, 1, 8}},
        {"missing value", u"k\\none", {Type_RegValue, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimeRecordHandle group = groupWith(row.measure.kind, key(row.relative));
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(group->child(0)->found, row.measure.found);
        EXPECT_EQ(group->child(0)->size, row.measure.size);
    }
}

TEST_F(ScanClean, CaptionsNameTheKindAndThePath)
{
    ASSERT_TRUE(box.makeFile(u"cap\\x.log", 1));
    ASSERT_TRUE(box.makeKey(u"ck"));
    struct Row {
        int32_t kind;
        std::u16string target;
        std::string title;
        std::string caption;
    };
    const Row rows[] = {
        {Type_Folder_All_Levels, box.path(u"cap"), "cap", "(All Under Folder) "},
        {Type_File_Wild, box.path(u"cap\\*.log"), "*.log", "(Some Files) "},
        {Type_File, box.path(u"cap\\x.log"), "x.log", "(File) "},
        {Type_RegKey_1_Level, key(u"ck"), "ck", "(Values Under Registry Key, 1-Level) "},
        {Type_RegValue, key(u"ck\\Name"), "Name", "(Registry Value) "},
        {Type_RegValue, key(u"ck\\"), "(Default)", "(Registry Value) "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.target));
        TimeRecordHandle group = groupWith(row.kind, row.target);
        scan(*group, &testing_platform::shippedLanguageTable(), Captions::With);
        EXPECT_EQ(group->child(0)->title.toUtf8(), row.title);
        EXPECT_EQ(group->child(0)->description.toUtf8(), row.caption + narrow(row.target));
    }
}

int g_specialCleans = 0;
std::atomic<bool> g_cancel{false};

void countNothing(Text& target, int64_t& size, int64_t& found, intptr_t data, int32_t)
{
    target = u"C:\\special";
    size = data;
    found = data;
}

void cleanAndCancel(intptr_t data, int32_t)
{
    ++g_specialCleans;
    if (data == 2)
        g_cancel = true;
}

TEST_F(ScanClean, SpecialTargetsAndTheCancelFlag)
{
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    for (intptr_t i = 1; i <= 3; ++i)
        group->addChild(TimeRecord::makeSpecialTarget(u"s", u"S", u"Caption ", &countNothing, &cleanAndCancel, nullptr,
                                                      nullptr, i));
    scan(*group, &testing_platform::shippedLanguageTable(), Captions::With);
    EXPECT_EQ(group->found, 6);
    EXPECT_EQ(group->child(0)->description.toUtf8(), "Caption C:\\special") << "the handler's target is appended";

    g_specialCleans = 0;
    g_cancel = false;
    CleanContext context;
    context.cancel = &g_cancel;
    clean(*group, context);
    EXPECT_EQ(g_specialCleans, 2) << "the flag set during the second target stops the third";
    EXPECT_EQ(context.pendingFound, 3) << "the two cleaned targets, measured again";
    EXPECT_EQ(group->found, 6) << "the group still sums all its targets";
}

TEST_F(ScanClean, OnlySelectedTargetsAreCleaned)
{
    ASSERT_TRUE(box.makeFile(u"sel\\a.txt", 4) && box.makeFile(u"sel\\b.txt", 4));
    struct Row {
        const char* what;
        bool groupChecked;
        bool targetChecked;
        bool deleted;
    };
    const Row rows[] = {
        {"checked group, unchecked target", true, false, false},
        {"checked target in an unchecked group", false, true, false},
        {"both checked", true, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimeRecordHandle group = groupWith(Type_File, box.path(u"sel\\a.txt"));
        group->addChild(TimeRecord::makeTarget(Type_File, u"b", box.path(u"sel\\b.txt")));
        group->checked = row.groupChecked;
        group->child(0)->checked = row.targetChecked;
        group->child(1)->checked = false;
        scan(*group, nullptr, Captions::Without);
        const int64_t before = group->found;
        CleanContext context;
        clean(*group, context);
        EXPECT_EQ(box.entryExists(u"sel\\a.txt"), !row.deleted);
        EXPECT_TRUE(box.entryExists(u"sel\\b.txt"));
        EXPECT_EQ(group->found, before - (row.deleted ? 1 : 0));
        EXPECT_EQ(context.pendingFound, 0);
    }
}

// Everything beside, above and around a target survives its clean.
TEST_F(ScanClean, ACleanDeletesWhatTheTargetCoversAndNothingElse)
{
    struct Row {
        int32_t kind;
        const char16_t* target;
        std::vector<std::u16string> gone;
        std::vector<std::u16string> kept;
    };
    const std::vector<std::u16string> sentinels = {u"p\\keep.txt", u"p\\t.txt", u"p\\t2\\x.txt", u"p\\tt\\y.txt",
                                                   u"keep.txt"};
    const Row rows[] = {
        {Type_Folder_1_Level, u"p\\t", {u"p\\t\\a.txt", u"p\\t\\ro.txt"}, {u"p\\t", u"p\\t\\sub\\b.txt"}},
        {Type_Folder_All_Levels, u"p\\t", {u"p\\t\\a.txt", u"p\\t\\sub"}, {u"p\\t"}},
        {Type_Folder_All_Levels_IncludeSelf, u"p\\t", {u"p\\t"}, {}},
        {Type_Folder_OnlyAllSubFolders, u"p\\t", {u"p\\t\\sub"}, {u"p\\t\\a.txt", u"p\\t\\ro.txt"}},
        {Type_File, u"p\\t\\a.txt", {u"p\\t\\a.txt"}, {u"p\\t\\ro.txt", u"p\\t\\sub\\b.txt"}},
        {Type_File_Wild, u"p\\t\\*.txt", {u"p\\t\\a.txt", u"p\\t\\ro.txt"}, {u"p\\t\\sub\\b.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(targetKindName(row.kind) ? narrow(targetKindName(row.kind)) : "?");
        ASSERT_TRUE(box.makeFile(u"p\\t\\a.txt", 3) && box.makeFile(u"p\\t\\ro.txt", 2, kReadOnly) &&
                    box.makeFile(u"p\\t\\sub\\b.txt", 1));
        for (const auto& sentinel : sentinels)
            ASSERT_TRUE(box.makeFile(sentinel, 1));
        TimeRecordHandle group = groupWith(row.kind, box.path(row.target));
        CleanContext context;
        clean(*group, context);
        for (const auto& path : row.gone)
            EXPECT_FALSE(box.entryExists(path)) << narrow(path) << " should be gone";
        for (const auto& path : row.kept)
            EXPECT_TRUE(box.entryExists(path)) << narrow(path) << " should stay";
        for (const auto& path : sentinels)
            EXPECT_TRUE(box.entryExists(path)) << narrow(path) << " is outside the target";
        EXPECT_EQ(context.pendingFound, 0) << "a folder that went is not left for the next boot";
        EXPECT_TRUE(box.scheduledAtReboot().empty()) << "everything went at once";
        // Next row starts from a fresh tree.
        TimeRecordHandle wipe = groupWith(Type_Folder_All_Levels_IncludeSelf, box.path(u"p"));
        clean(*wipe, context);
    }
}

TEST_F(ScanClean, RegistryCleansStayInsideTheirKey)
{
    struct Row {
        int32_t kind;
        const char16_t* target;
        std::vector<std::pair<std::u16string, std::u16string>> goneValues;
        std::vector<std::pair<std::u16string, std::u16string>> keptValues;
        std::vector<std::u16string> goneKeys;
        std::vector<std::u16string> keptKeys;
        int64_t pending;
    };
    const Row rows[] = {
        {Type_RegKey_1_Level, u"r\\t", {{u"r\\t", u"a"}, {u"r\\t", u""}}, {{u"r\\t\\s", u"b"}}, {}, {u"r\\t\\s"}, 0},
        // The key's own values stay and keep counting.
        {Type_RegKey_All_Levels,
         u"r\\t",
         {{u"r\\t\\s", u"b"}},
         {{u"r\\t", u"a"}, {u"r\\t", u""}},
         {u"r\\t\\s"},
         {u"r\\t"},
         2},
        {Type_RegKey_All_Levels_IncludeSelf, u"r\\t", {}, {}, {u"r\\t"}, {}, 0},
        {Type_RegKey_OnlyAllSubKeys, u"r\\t", {{u"r\\t\\s", u"b"}}, {{u"r\\t", u"a"}}, {u"r\\t\\s"}, {u"r\\t"}, 0},
        {Type_RegValue, u"r\\t\\a", {{u"r\\t", u"a"}}, {{u"r\\t", u""}, {u"r\\t\\s", u"b"}}, {}, {u"r\\t\\s"}, 0},
        {Type_RegValue_Wild, u"r\\t\\", {{u"r\\t", u""}}, {{u"r\\t", u"a"}}, {}, {u"r\\t\\s"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(targetKindName(row.kind)));
        ASSERT_TRUE(box.makeKey(u"r\\t\\s") && box.makeKey(u"r\\t2") && box.makeKey(u"r\\tt"));
        ASSERT_TRUE(value(u"r\\t", u"a", 4) && value(u"r\\t", u"", 2) && value(u"r\\t\\s", u"b", 1));
        ASSERT_TRUE(value(u"r", u"a", 1) && value(u"r\\t2", u"a", 1) && value(u"r\\tt", u"a", 1));
        TimeRecordHandle group = groupWith(row.kind, key(row.target));
        CleanContext context;
        clean(*group, context);
        for (const auto& [k, v] : row.goneValues)
            EXPECT_FALSE(box.valueExists(k, v)) << narrow(k) << " \"" << narrow(v) << "\" should be gone";
        for (const auto& [k, v] : row.keptValues)
            EXPECT_TRUE(box.valueExists(k, v)) << narrow(k) << " \"" << narrow(v) << "\" should stay";
        for (const auto& k : row.goneKeys)
            EXPECT_FALSE(box.keyExists(k)) << narrow(k) << " should be gone";
        for (const auto& k : row.keptKeys)
            EXPECT_TRUE(box.keyExists(k)) << narrow(k) << " should stay";
        EXPECT_TRUE(box.valueExists(u"r", u"a") && box.valueExists(u"r\\t2", u"a") && box.valueExists(u"r\\tt", u"a"))
            << "values beside and above the target stay";
        EXPECT_EQ(context.pendingFound, row.pending);
        TimeRecordHandle wipe = groupWith(Type_RegKey_All_Levels_IncludeSelf, key(u"r"));
        clean(*wipe, context);
    }
}

TEST_F(ScanClean, AFolderLinkIsNeverEnteredNorCounted)
{
    const auto links = box.linkFixture();
    struct Row {
        int32_t kind;
        const char16_t* dir;
        std::vector<const char16_t*> gone;
        std::vector<const char16_t*> kept;
        Measure before;
    };
    // Each folder holds a.txt (3), sub\b.txt (1) and a link to `outside`.
    const Row rows[] = {
        {Type_Folder_1_Level, u"\\k6", {u"\\a.txt"}, {u"\\sub\\b.txt", u"\\folderlink"}, {Type_Folder_1_Level, 1, 3}},
        {Type_Folder_All_Levels,
         u"\\k7",
         {u"\\a.txt", u"\\sub"},
         {u"\\folderlink", u""},
         {Type_Folder_All_Levels, 3, 4}},
        {Type_Folder_All_Levels_IncludeSelf,
         u"\\k8",
         {u"\\a.txt", u"\\sub"},
         {u"\\folderlink", u""},
         {Type_Folder_All_Levels_IncludeSelf, 4, 4}},
        {Type_Folder_OnlyAllSubFolders,
         u"\\k9",
         {u"\\sub"},
         {u"\\a.txt", u"\\folderlink"},
         {Type_Folder_OnlyAllSubFolders, 2, 1}},
    };
    for (const Row& row : rows) {
        const std::u16string dir = links.engine + row.dir;
        SCOPED_TRACE(narrow(dir));
        // Without the link the row would prove nothing: a missing fixture
        // fails here rather than passing quietly.
        const std::u16string link = dir + u"\\folderlink";
        ASSERT_NE(s::platform::fileSystem().attributes(link.c_str()) & s::platform::kFileAttributeReparsePoint, 0u)
            << "no folder link at " << narrow(link) << " (under Wine the CTest fixture platform_link_fixture makes it)";
        ASSERT_TRUE(present(dir + u"\\a.txt") && present(dir + u"\\sub\\b.txt"));
        TimeRecordHandle group = groupWith(row.kind, dir);
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(group->found, row.before.found) << "the link adds nothing";
        EXPECT_EQ(group->size, row.before.size);
        // Start-up mode: nothing is scheduled for the next boot, so the real
        // boot list stays untouched by the folder the link keeps alive.
        CleanContext context;
        context.mode = CleanMode::Startup;
        clean(*group, context);
        for (const char16_t* entry : row.gone)
            EXPECT_FALSE(present(dir + entry)) << narrow(entry);
        for (const char16_t* entry : row.kept)
            EXPECT_TRUE(present(dir + entry)) << narrow(entry);
        EXPECT_TRUE(present(links.outsideFile)) << "nothing behind the link is touched";
    }
}

TEST_F(ScanClean, AFileInUseIsScheduledInteractivelyAndLeftAtStartup)
{
    for (CleanMode mode : {CleanMode::Interactive, CleanMode::Startup}) {
        const bool interactive = mode == CleanMode::Interactive;
        SCOPED_TRACE(interactive ? "interactive" : "start-up");
        ASSERT_TRUE(box.makeFile(u"busy\\held.txt", 6) && box.makeFile(u"busy\\free.txt", 4));
        TimeRecordHandle group = groupWith(Type_Folder_All_Levels_IncludeSelf, box.path(u"busy"));
        scan(*group, nullptr, Captions::Without);
        ASSERT_EQ(group->found, 3);
        const std::size_t scheduledBefore = box.scheduledAtReboot().size();
        {
            auto held = box.holdOpen(u"busy\\held.txt");
            ASSERT_NE(held, nullptr);
            CleanContext context;
            context.mode = mode;
            clean(*group, context);
            EXPECT_FALSE(box.entryExists(u"busy\\free.txt"));
            EXPECT_TRUE(box.entryExists(u"busy\\held.txt"));
            auto scheduled = box.scheduledAtReboot();
            scheduled.erase(scheduled.begin(), scheduled.begin() + static_cast<std::ptrdiff_t>(scheduledBefore));
            if (interactive) {
                ASSERT_EQ(scheduled.size(), 2u);
                EXPECT_EQ(scheduled[0], box.path(u"busy\\held.txt")) << "the file before its folder";
                EXPECT_EQ(scheduled[1], box.path(u"busy"));
                EXPECT_EQ(context.pendingFound, 2) << "the held file and the folder itself";
                EXPECT_EQ(context.pendingSize, 6);
                EXPECT_EQ(group->found, 2);
            } else {
                EXPECT_TRUE(scheduled.empty());
                EXPECT_EQ(context.pendingFound, 3) << "start-up mode does not measure again";
                EXPECT_EQ(group->found, 3) << "nor update the group";
            }
        }
        TimeRecordHandle wipe = groupWith(Type_Folder_All_Levels_IncludeSelf, box.path(u"busy"));
        CleanContext context;
        context.mode = CleanMode::Startup;
        clean(*wipe, context);
    }
}

// The custom all-levels group of a temporary folder holding names that
// Win32 rewrites in a plain path (con, nul.txt, trailing-dot., dotdir.\...,
// a path beyond MAX_PATH): each kind measures them with their real sizes,
// and the clean takes every one. Under Wine the Linux side made them.
TEST_F(ScanClean, NamesWindowsRewritesAreMeasuredAndCleaned)
{
    using s::platform::testing::FixtureEntry;
    using s::platform::testing::rewrittenNames;
    const std::u16string folder = box.namesFixture(u"engine", rewrittenNames());
    ASSERT_FALSE(folder.empty()) << "the names fixture is missing (under Wine the CTest fixture wine_names makes it)";
    Measure topFiles{Type_Folder_1_Level, 0, 0};
    Measure everything{Type_Folder_All_Levels, 0, 0};
    Measure textFiles{Type_File_Wild, 0, 0};
    for (const FixtureEntry& entry : rewrittenNames()) {
        const auto bytes = static_cast<int64_t>(entry.size());
        ++everything.found;
        everything.size += bytes;
        if (!entry.folder && entry.relative.find(u'\\') == std::u16string::npos) {
            ++topFiles.found;
            topFiles.size += bytes;
        }
        if (!entry.folder && entry.relative.size() > 4 && entry.relative.substr(entry.relative.size() - 4) == u".txt") {
            ++textFiles.found;
            textFiles.size += bytes;
        }
    }
    struct Row {
        const char* what;
        std::u16string target;
        Measure measure;
    };
    const Row rows[] = {
        {"1-level", folder, topFiles},
        {"all levels", folder, everything},
        {"*.txt at every depth", folder + u"\\*.txt", textFiles},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TimeRecordHandle group = groupWith(row.measure.kind, row.target);
        group->child(0)->wildInSubfolders = true;
        scan(*group, nullptr, Captions::Without);
        EXPECT_EQ(group->found, row.measure.found);
        EXPECT_EQ(group->size, row.measure.size);
    }

    TimeRecordHandle group = groupWith(Type_Folder_All_Levels, folder);
    scan(*group, nullptr, Captions::Without);
    CleanContext context;
    clean(*group, context);
    EXPECT_EQ(context.pendingFound, 0);
    EXPECT_EQ(context.pendingSize, 0);
    EXPECT_EQ(group->found, 0) << "measured again: nothing left";
    EXPECT_TRUE(Sandbox::listedNames(folder).empty());
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
