// The path object against the build's backend: the in-memory fake natively,
// real temporary folders under Wine. Every case here holds for both; what
// only the fake can model (file links, access faults, Windows' MAX_PATH
// limit on plain paths, notifications) is in PathWinFakeTest.cpp.
#include "platform/PathWin.h"

#include "platform/FileSystem.h"
#include "platform/ProtectedPlaces.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <malloc.h>
#endif

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace s::file::win {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
namespace p = s::platform;

std::vector<std::u16string> texts(const PathList& list)
{
    std::vector<std::u16string> out;
    for (int k = 0; k < list.count(); ++k)
        out.push_back(list[k].fullPath().toU16String());
    return out;
}

std::set<std::u16string> asSet(const std::vector<std::u16string>& items)
{
    return {items.begin(), items.end()};
}

std::string show(const std::vector<std::u16string>& items)
{
    std::string out;
    for (const auto& item : items)
        out += "\n  " + narrow(item);
    return out;
}

// A path text of exactly `length` characters under `base`: folders of 20
// characters, the last one shortened to fit.
std::u16string pathOfLength(const std::u16string& base, std::size_t length, std::vector<std::u16string>& steps)
{
    std::u16string path = base;
    while (path.size() < length) {
        if (length - path.size() == 1) {
            // No room for another separator and name: lengthen the last name.
            path += u'x';
            if (!steps.empty())
                steps.back() = path;
            break;
        }
        path += u'\\';
        path += std::u16string(std::min<std::size_t>(length - path.size(), 20), u'd');
        steps.push_back(path);
    }
    return path;
}

class PathWinTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    Sandbox box;
};

// ---- reading the text -------------------------------------------------------

TEST(PathWinForms, TextIsNormalisedAndSplitAsWin32SplitsIt)
{
    struct Row {
        std::u16string text;
        const char16_t* full;
        const char16_t* drive;
        const char16_t* directory;
        const char16_t* title;
        const char16_t* extension;
        bool valid;
        bool rooted;
    };
    const Row rows[] = {
        {u"C:/Temp/", u"C:\\Temp", u"C:", u"\\", u"Temp", u"", true, true},
        {u"C:\\Temp", u"C:\\Temp", u"C:", u"\\", u"Temp", u"", true, true},
        {u"C:\\Temp\\\\\\", u"C:\\Temp", u"C:", u"\\", u"Temp", u"", true, true},
        {u"c:\\dir\\sub\\archive.tar.gz", u"c:\\dir\\sub\\archive.tar.gz", u"c:", u"\\dir\\sub\\", u"archive.tar",
         u".gz", true, true},
        {u"C:\\dir\\*.tmp", u"C:\\dir\\*.tmp", u"C:", u"\\dir\\", u"*", u".tmp", true, true},
        {u"C:\\", u"C:", u"C:", u"", u"", u"", true, true},
        {u"C:", u"C:", u"C:", u"", u"", u"", true, true},
        {u"C:name.txt", u"C:name.txt", u"C:", u"", u"name", u".txt", true, true},
        {u"\\\\server\\share\\f.txt", u"\\\\server\\share\\f.txt", u"", u"\\\\server\\share\\", u"f", u".txt", true,
         true},
        {u"//server/share/", u"\\\\server\\share", u"", u"\\\\server\\", u"share", u"", true, true},
        {u"\\\\\\x", u"\\\\\\x", u"", u"\\\\\\", u"x", u"", true, false},
        {u"\\\\", u"", u"", u"", u"", u"", false, false},
        {u"\\Windows", u"\\Windows", u"", u"\\", u"Windows", u"", true, false},
        {u"Temp\\x", u"Temp\\x", u"", u"Temp\\", u"x", u"", true, false},
        {u".hidden", u".hidden", u"", u"", u"", u".hidden", true, false},
        {u"", u"", u"", u"", u"", u"", false, false},
        // The directory part holds its leading and trailing backslash.
        {u"C:\\" + std::u16string(778, u'd') + u"\\f", nullptr, nullptr, nullptr, u"f", u"", true, true},
        {u"C:\\" + std::u16string(779, u'd') + u"\\f", nullptr, nullptr, nullptr, u"", u"", false, true},
        {u"C:\\d\\" + std::u16string(780, u't'), nullptr, nullptr, nullptr, nullptr, u"", true, true},
        {u"C:\\d\\" + std::u16string(781, u't'), nullptr, nullptr, nullptr, u"", u"", false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text.substr(0, 40)) + (row.text.size() > 40 ? "..." : ""));
        auto path = PathWin::make(row.text);
        EXPECT_EQ(path->text(), row.text);
        if (row.full) {
            EXPECT_EQ(path->fullPath(), row.full);
        }
        EXPECT_EQ(path->isValid(), row.valid);
        EXPECT_EQ(path->isRooted(), row.rooted);
        EXPECT_EQ(path->isValidLocation(), row.valid && row.rooted);
        if (row.drive) {
            EXPECT_EQ(path->drive(), row.drive);
        }
        if (row.directory) {
            EXPECT_EQ(path->directory(), row.directory);
        }
        if (row.title) {
            EXPECT_EQ(path->fileTitle(), row.title);
        }
        EXPECT_EQ(path->extension(), row.extension);
        if (row.valid && row.title) {
            EXPECT_EQ(path->lastComponent(), std::u16string(row.title) + row.extension);
        }
    }
}

TEST(PathWinForms, EveryAbsolutePathHasALongForm)
{
    std::vector<std::u16string> ignored;
    const std::u16string at250 = pathOfLength(u"C:\\base", 250, ignored);
    const std::u16string unc = pathOfLength(u"\\\\server\\share", 300, ignored);
    const std::u16string relative = pathOfLength(u"base", 300, ignored);
    const std::u16string verbatim = pathOfLength(u"\\\\?\\C:\\base", 300, ignored);
    const std::u16string dotted = u"C:\\a\\.\\b\\..\\c\\\\" + std::u16string(260, u'e');
    struct Row {
        const char* what;
        std::u16string text;
        std::u16string longForm;  // empty: none, the calls take the text as it is
    };
    const Row rows[] = {
        {"a short path", u"C:\\Temp\\x.tmp", u"\\\\?\\C:\\Temp\\x.tmp"},
        {"250 characters", at250, u"\\\\?\\" + at250},
        {"network path", unc, u"\\\\?\\UNC\\" + unc.substr(2)},
        {"a short network path", u"\\\\server\\share\\x", u"\\\\?\\UNC\\server\\share\\x"},
        {"slashes and a trailing separator", u"C:/base/" + at250.substr(8) + u"/", u"\\\\?\\" + at250},
        {"dots resolved, empty components dropped", dotted, u"\\\\?\\C:\\a\\c\\" + std::u16string(260, u'e')},
        // What Win32 would rewrite stays as it is.
        {"trailing dot", u"C:\\junk\\trailing-dot.", u"\\\\?\\C:\\junk\\trailing-dot."},
        {"trailing space", u"C:\\junk\\trailing-space ", u"\\\\?\\C:\\junk\\trailing-space "},
        {"a device name", u"C:\\junk\\nul.txt", u"\\\\?\\C:\\junk\\nul.txt"},
        {"a dotted folder on the way", u"C:\\junk\\dotdir.\\con", u"\\\\?\\C:\\junk\\dotdir.\\con"},
        {"a drive root", u"C:\\", u"\\\\?\\C:\\"},
        {"relative: none", relative, u""},
        {"drive-relative: none", u"C:Temp", u""},
        {"already verbatim: none", verbatim, u""},
        {"a device namespace path: none", u"\\\\.\\C:\\x", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto path = PathWin::make(row.text);
        ASSERT_TRUE(path->isValid());
        EXPECT_EQ(path->longForm(), row.longForm) << narrow(path->longForm().view());
        EXPECT_EQ(path->callPath(), row.longForm.empty() ? path->fullPath() : path->longForm());
    }
    StrBuffer out(u"untouched");
    EXPECT_FALSE(PathWin::makeLongForm(u"\\\\server", out)) << "a server without a share";
    EXPECT_EQ(out, u"untouched");
    EXPECT_TRUE(PathWin::makeLongForm(u"C:\\..\\x", out));
    EXPECT_EQ(out, u"\\\\?\\C:\\x") << "a root's parent is the root";
    EXPECT_TRUE(PathWin::makeLongForm(u"C:\\x\\..", out));
    EXPECT_EQ(out, u"\\\\?\\C:\\") << "the root keeps its backslash";
    out.assign(u"C:\\a\\..\\b\\c.");
    EXPECT_TRUE(PathWin::makeLongForm(out.view(), out));
    EXPECT_EQ(out, u"\\\\?\\C:\\b\\c.") << "from a view of the buffer it writes";
}

// The path checks a walk makes on its worker, on workers that end one after
// another, as each scan's worker does: whatever a check keeps for the next
// entry must not outlive its thread in a way that damages the heap.
TEST(PathWinForms, ChecksOnWorkersThatEndLeaveTheHeapWhole)
{
    for (int round = 0; round < 20; ++round) {
        std::thread worker([] {
            StrBuffer out;
            for (int i = 0; i < 50; ++i) {
                PathWin::makeLongForm(u"C:\\Users\\someone\\AppData\\Local\\Temp\\a rather long name.tmp", out);
                ProtectedPlaces::contains(u"C:\\Users\\someone\\AppData\\Local\\Temp\\a rather long name.tmp");
                ProtectedPlaces::isAbsolute(u"\\\\server\\share with a long name\\folder");
            }
        });
        worker.join();
        // What the ended threads left behind is what the next blocks use.
        std::vector<std::unique_ptr<std::u16string>> blocks;
        for (int i = 0; i < 200; ++i)
            blocks.push_back(std::make_unique<std::u16string>(static_cast<std::size_t>(16 + i % 64), u'x'));
    }
#ifdef _WIN32
    EXPECT_NE(HeapValidate(GetProcessHeap(), 0, nullptr), FALSE);
    EXPECT_EQ(_heapchk(), _HEAPOK);
#endif
}

TEST(PathWinForms, RootsAndTheCurrentDirectoryAreRecognised)
{
    struct Row {
        const char16_t* text;
        bool root;
    };
    const Row rows[] = {
        {u"C:", true},
        {u"C:\\.", true},
        {u"C:\\x\\..", true},
        {u"C:\\..\\..", true},
        {u"\\", true},
        {u"\\x\\..\\.", true},
        {u"\\\\server\\share", true},
        {u"\\\\server\\share\\.\\x\\..", true},
        {u"\\\\server", true},
        {u"\\\\?\\C:\\", true},
        {u"\\\\?\\UNC\\server\\share", true},
        {u".", true},
        {u"x\\..", true},
        {u"..\\x", true},
        {u"C:..", true},
        {u"C:\\x", false},
        {u"C:\\..\\x", false},
        {u"\\\\server\\share\\x", false},
        {u"\\\\?\\C:\\x", false},
        {u"x", false},
        {u"x\\y\\..", false},
        {u"C:x", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PathWin::namesRoot(row.text), row.root) << narrow(row.text);
}

// ---- questions about one path ----------------------------------------------

TEST_F(PathWinTest, ExistenceAttributesAndSizeOfEachKindOfEntry)
{
    ASSERT_TRUE(box.makeFile(u"plain.bin", 1234));
    ASSERT_TRUE(box.makeFile(u"secret.sys", 7, p::kFileAttributeHidden | p::kFileAttributeSystem));
    ASSERT_TRUE(box.makeFolder(u"folder"));
    struct Row {
        const char16_t* relative;
        bool exists;
        bool directory;
        std::int64_t size;
    };
    const Row rows[] = {
        {u"plain.bin", true, false, 1234},
        {u"secret.sys", true, false, 7},
        {u"folder", true, true, 0},
        {u"folder/", true, true, 0},
        {u"missing.txt", false, true, 0},  // all bits set: a missing path reads
                                           // as a directory
        {u"missing\\deeper", false, true, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.relative));
        auto path = PathWin::make(box.path(row.relative));
        EXPECT_EQ(path->exists(), row.exists);
        EXPECT_EQ(path->isDirectory(), row.directory);
        EXPECT_EQ(path->isFile(), !row.directory);
        EXPECT_EQ(path->fileSize(), row.size);
        if (!row.exists) {
            EXPECT_EQ(path->attributes(), p::kInvalidFileAttributes);
        }
    }
    auto empty = PathWin::make(u"");
    EXPECT_FALSE(empty->exists());
    EXPECT_EQ(empty->attributes(), p::kInvalidFileAttributes);
    EXPECT_EQ(empty->fileSize(), 0);
}

TEST_F(PathWinTest, AttributesAndSizeAreReadOnceAndForgottenOnSetPath)
{
    ASSERT_TRUE(box.makeFile(u"f.txt", 10));
    auto path = PathWin::make(box.path(u"f.txt"));
    const std::uint32_t before = path->attributes();
    ASSERT_NE(before, p::kInvalidFileAttributes);
    ASSERT_EQ(path->fileSize(), 10);
    ASSERT_EQ(p::fileSystem().deleteFile(box.path(u"f.txt").c_str()), p::kErrorSuccess);

    EXPECT_EQ(path->attributes(), before) << "cached";
    EXPECT_EQ(path->fileSize(), 10) << "cached";
    EXPECT_FALSE(path->exists()) << "the existence test is never cached";
    path->setPath(path->text());
    EXPECT_EQ(path->attributes(), p::kInvalidFileAttributes);
    EXPECT_EQ(path->fileSize(), 0);
}

TEST_F(PathWinTest, ClearReadOnlyKeepsTheOtherBits)
{
    ASSERT_TRUE(box.makeFile(u"ro.txt", 1, p::kFileAttributeReadOnly | p::kFileAttributeHidden));
    ASSERT_TRUE(box.makeFile(u"rw.txt", 1));
    auto readOnly = PathWin::make(box.path(u"ro.txt"));
    ASSERT_TRUE(readOnly->attributes() & p::kFileAttributeReadOnly);
    EXPECT_TRUE(readOnly->clearReadOnly());
    const std::uint32_t after = readOnly->attributes();
    EXPECT_EQ(after & p::kFileAttributeReadOnly, 0u) << "the cache was forgotten and read again";
    EXPECT_TRUE(after & p::kFileAttributeHidden);

    auto writable = PathWin::make(box.path(u"rw.txt"));
    const std::uint32_t unchanged = writable->attributes();
    EXPECT_TRUE(writable->clearReadOnly()) << "nothing to do";
    writable->setPath(writable->text());
    EXPECT_EQ(writable->attributes(), unchanged);

    // An unreadable attribute word (all bits set) is never written back.
    auto missing = PathWin::make(box.path(u"missing.txt"));
    EXPECT_FALSE(missing->clearReadOnly());
    EXPECT_FALSE(box.entryExists(u"missing.txt"));
}

// ---- long paths --------------------------------------------------------------

TEST_F(PathWinTest, PathsBeyondMaxPathAreMeasuredListedAndDeletedThroughTheLongForm)
{
    std::vector<std::u16string> steps;
    const std::u16string deep = pathOfLength(box.path(u"deep"), 300, steps);
    ASSERT_TRUE(box.makeFolder(u"deep"));
    for (const std::u16string& step : steps)
        ASSERT_TRUE(box.makeFolder(step.substr(box.folder().size() + 1))) << step.size();
    const std::u16string deepRelative = deep.substr(box.folder().size() + 1);
    ASSERT_TRUE(box.makeFile(deepRelative + u"\\one.txt", 11));
    ASSERT_TRUE(box.makeFile(deepRelative + u"\\two.txt", 22));
    ASSERT_TRUE(box.makeFolder(deepRelative + u"\\inner"));
    ASSERT_TRUE(box.makeFile(deepRelative + u"\\inner\\three.txt", 33));

    auto folder = PathWin::make(deep);
    ASSERT_EQ(folder->fullPath().length(), 300);
    EXPECT_FALSE(folder->longForm().isEmpty());
    // The existence test goes through the long form as well: on Windows the
    // plain text fails from MAX_PATH on, and delete path would then report a
    // folder it never touched as gone.
    EXPECT_TRUE(folder->exists());
    EXPECT_TRUE(folder->isDirectory());
    auto file = PathWin::make(deep + u"\\two.txt");
    EXPECT_TRUE(file->exists());
    EXPECT_EQ(file->fileSize(), 22);

    std::int64_t files = 0;
    std::int64_t folders = 0;
    EXPECT_EQ(folder->measureFolder(Descend::Yes, TopFiles::Count, files, folders), 66);
    EXPECT_EQ(files, 3);
    EXPECT_EQ(folders, 1);

    PathListHandle listed = PathListHandle::take();
    EXPECT_EQ(folder->listFiles(*listed, HiddenAndSystem::Include, Recursion::AllLevels), 3);
    EXPECT_EQ(asSet(texts(*listed)),
              (std::set<std::u16string>{deep + u"\\one.txt", deep + u"\\two.txt", deep + u"\\inner\\three.txt"}));
    listed->clear();
    auto wildcard = PathWin::make(deep + u"\\*.txt");
    EXPECT_EQ(wildcard->expandWildcard(*listed, HiddenAndSystem::Include, InSubfolders::Yes), 3);

    // Held open, one file stays; it and the folders above it up to the
    // target go on the boot-time list in their full (plain) form.
    {
        auto held = box.holdOpen(deepRelative + u"\\inner\\three.txt");
        ASSERT_TRUE(held);
        EXPECT_FALSE(folder->deletePath(NotifyShell::No, AtReboot::Schedule));
        EXPECT_TRUE(box.entryExists(deepRelative + u"\\inner\\three.txt"));
        EXPECT_FALSE(box.entryExists(deepRelative + u"\\one.txt"));
        const std::vector<std::u16string> scheduled = box.scheduledAtReboot();
        const auto heldAt = std::find(scheduled.begin(), scheduled.end(), deep + u"\\inner\\three.txt");
        const auto innerAt = std::find(scheduled.begin(), scheduled.end(), deep + u"\\inner");
        const auto deepAt = std::find(scheduled.begin(), scheduled.end(), deep);
        ASSERT_NE(heldAt, scheduled.end()) << show(scheduled);
        ASSERT_NE(innerAt, scheduled.end()) << show(scheduled);
        ASSERT_NE(deepAt, scheduled.end()) << show(scheduled);
        EXPECT_LT(heldAt, innerAt);
        EXPECT_LT(innerAt, deepAt);
    }
    EXPECT_TRUE(folder->deletePath(NotifyShell::No, AtReboot::Leave));
    EXPECT_FALSE(box.entryExists(deepRelative));
    EXPECT_TRUE(box.entryExists(u"deep")) << "only the target goes";
}

// ---- listings ------------------------------------------------------------------

class PathWinListing : public PathWinTest {
protected:
    void SetUp() override
    {
        PathWinTest::SetUp();
        ASSERT_TRUE(box.makeFolder(u"list"));
        ASSERT_TRUE(box.makeFile(u"list\\plain.txt", 1));
        ASSERT_TRUE(box.makeFile(u"list\\hidden.txt", 2, p::kFileAttributeHidden));
        ASSERT_TRUE(box.makeFile(u"list\\system.dat", 3, p::kFileAttributeSystem));
        ASSERT_TRUE(box.makeFile(u"list\\readonly.txt", 4, p::kFileAttributeReadOnly));
        ASSERT_TRUE(box.makeFolder(u"list\\sub"));
        ASSERT_TRUE(box.makeFile(u"list\\sub\\inner.txt", 5));
        ASSERT_TRUE(box.makeFolder(u"list\\sub\\deeper"));
        ASSERT_TRUE(box.makeFile(u"list\\sub\\deeper\\deepest.txt", 6));
        ASSERT_TRUE(box.makeFolder(u"list\\shade"));
        ASSERT_TRUE(p::fileSystem().setAttributes(box.path(u"list\\shade").c_str(), p::kFileAttributeHidden) ==
                    p::kErrorSuccess);
    }

    std::set<std::u16string> full(std::initializer_list<const char16_t*> relatives) const
    {
        std::set<std::u16string> out;
        for (const char16_t* relative : relatives)
            out.insert(box.path(std::u16string(u"list\\") + relative));
        return out;
    }
};

TEST_F(PathWinListing, ModesListTheirEntriesWithHiddenSystemAndReadOnlyIncluded)
{
    enum class Mode { Children, Subdirectories, Files };
    struct Row {
        const char* what;
        Mode mode;
        HiddenAndSystem hidden;
        Recursion recursion;
        std::set<std::u16string> expected;
    };
    const Row rows[] = {
        {"children", Mode::Children, HiddenAndSystem::Include, Recursion::TopLevel,
         full({u"plain.txt", u"hidden.txt", u"system.dat", u"readonly.txt", u"sub", u"shade"})},
        {"subdirectories", Mode::Subdirectories, HiddenAndSystem::Include, Recursion::TopLevel,
         full({u"sub", u"shade"})},
        {"files", Mode::Files, HiddenAndSystem::Include, Recursion::TopLevel,
         full({u"plain.txt", u"hidden.txt", u"system.dat", u"readonly.txt"})},
        {"visible children", Mode::Children, HiddenAndSystem::Skip, Recursion::TopLevel,
         full({u"plain.txt", u"readonly.txt", u"sub"})},
        {"files at all levels", Mode::Files, HiddenAndSystem::Include, Recursion::AllLevels,
         full({u"plain.txt", u"hidden.txt", u"system.dat", u"readonly.txt", u"sub\\inner.txt",
               u"sub\\deeper\\deepest.txt"})},
        {"subdirectories at all levels", Mode::Subdirectories, HiddenAndSystem::Include, Recursion::AllLevels,
         full({u"sub", u"shade", u"sub\\deeper"})},
    };
    auto folder = PathWin::make(box.path(u"list"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PathListHandle listed = PathListHandle::take();
        listed->add(PathWin::make(u"C:\\already-there"));
        int added = 0;
        switch (row.mode) {
        case Mode::Children:
            added = folder->listChildren(*listed, row.hidden, row.recursion);
            break;
        case Mode::Subdirectories:
            added = folder->listSubdirectories(*listed, row.hidden, row.recursion);
            break;
        case Mode::Files:
            added = folder->listFiles(*listed, row.hidden, row.recursion);
            break;
        }
        std::vector<std::u16string> got = texts(*listed);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got.front(), u"C:\\already-there") << "appended, not replaced";
        got.erase(got.begin());
        EXPECT_EQ(added, static_cast<int>(got.size()));
        EXPECT_EQ(asSet(got), row.expected) << show(got);
    }
}

TEST_F(PathWinListing, RecursiveListingGoesDepthFirstAfterTheFolderItself)
{
    auto folder = PathWin::make(box.path(u"list"));
    PathListHandle listed = PathListHandle::take();
    folder->listChildren(*listed, HiddenAndSystem::Include, Recursion::AllLevels);
    const std::vector<std::u16string> got = texts(*listed);
    const auto at = [&](const char16_t* relative) {
        return std::find(got.begin(), got.end(), box.path(std::u16string(u"list\\") + relative)) - got.begin();
    };
    SCOPED_TRACE(show(got));
    ASSERT_EQ(got.size(), 9u);
    // The folder's own six entries first, in whatever order it enumerates.
    for (const char16_t* top : {u"plain.txt", u"hidden.txt", u"system.dat", u"readonly.txt", u"sub", u"shade"})
        EXPECT_LT(at(top), 6) << narrow(top);
    // Then sub's subtree in one piece: its entries, then deeper's.
    const auto inner = at(u"sub\\inner.txt");
    const auto deeper = at(u"sub\\deeper");
    const auto deepest = at(u"sub\\deeper\\deepest.txt");
    EXPECT_EQ(std::max(inner, deeper), std::min(inner, deeper) + 1);
    EXPECT_EQ(deepest, std::max(inner, deeper) + 1);
}

TEST_F(PathWinListing, MissingOrFileOrInvalidFolderListsNothing)
{
    struct Row {
        const char* what;
        std::u16string folder;    // listed
        std::u16string wildcard;  // expanded
    };
    const Row rows[] = {
        {"missing folder", box.path(u"nowhere"), box.path(u"nowhere\\*")},
        {"a file", box.path(u"list\\plain.txt"), box.path(u"list\\plain.txt\\*")},
        {"invalid path", u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PathListHandle listed = PathListHandle::take();
        EXPECT_EQ(PathWin::make(row.folder)->listChildren(*listed, HiddenAndSystem::Include, Recursion::AllLevels), 0);
        EXPECT_EQ(PathWin::make(row.wildcard)->expandWildcard(*listed, HiddenAndSystem::Include, InSubfolders::Yes), 0);
        EXPECT_TRUE(listed->isEmpty());
    }
}

TEST_F(PathWinTest, FolderLinksAreNeitherListedNorEnteredNorCounted)
{
    const auto links = box.linkFixture();
    auto measured = PathWin::make(links.measured);
    ASSERT_TRUE(measured->exists()) << "the link fixture was not made: " << narrow(links.measured);
    auto link = PathWin::make(links.measured + u"\\folderlink");
    ASSERT_TRUE(link->attributes() & p::kFileAttributeReparsePoint);

    PathListHandle listed = PathListHandle::take();
    measured->listChildren(*listed, HiddenAndSystem::Include, Recursion::AllLevels);
    EXPECT_EQ(texts(*listed), std::vector<std::u16string>{links.measured + u"\\a.txt"});
    listed->clear();
    measured->listSubdirectories(*listed, HiddenAndSystem::Include, Recursion::AllLevels);
    EXPECT_TRUE(listed->isEmpty());
    auto wildcard = PathWin::make(links.measured + u"\\*");
    wildcard->expandWildcard(*listed, HiddenAndSystem::Include, InSubfolders::Yes);
    EXPECT_EQ(texts(*listed), std::vector<std::u16string>{links.measured + u"\\a.txt"}) << "keep.txt is not ours";

    std::int64_t files = 0;
    std::int64_t folders = 0;
    EXPECT_EQ(measured->measureFolder(Descend::Yes, TopFiles::Count, files, folders), 3);
    EXPECT_EQ(files, 1);
    EXPECT_EQ(folders, 0);
}

// ---- wildcards -------------------------------------------------------------------

class PathWinWildcard : public PathWinTest {
protected:
    void SetUp() override
    {
        PathWinTest::SetUp();
        for (const char16_t* folder : {u"wild", u"wild\\d1", u"wild\\d1\\deeper", u"wild\\d2", u"wild\\match.tmp"})
            ASSERT_TRUE(box.makeFolder(folder)) << narrow(folder);
        struct File {
            const char16_t* relative;
            std::uint32_t attributes;
        };
        const File files[] = {
            {u"wild\\a.tmp", 0},
            {u"wild\\B.TMP", p::kFileAttributeHidden | p::kFileAttributeSystem},
            {u"wild\\c.txt", 0},
            {u"wild\\d1\\x.tmp", p::kFileAttributeReadOnly},
            {u"wild\\d1\\deeper\\y.tmp", 0},
            {u"wild\\d2\\z.tmp", 0},
            {u"wild\\d2\\z.txt", 0},
            {u"wild\\match.tmp\\inside.txt", 0},
        };
        for (const File& file : files)
            ASSERT_TRUE(box.makeFile(file.relative, 1, file.attributes)) << narrow(file.relative);
    }

    std::vector<std::u16string> expand(const std::u16string& text, InSubfolders inSubfolders,
                                       HiddenAndSystem hidden = HiddenAndSystem::Include)
    {
        auto path = PathWin::make(text);
        PathListHandle listed = PathListHandle::take();
        const int added = path->expandWildcard(*listed, hidden, inSubfolders);
        EXPECT_EQ(added, listed->count());
        return texts(*listed);
    }

    std::u16string in(const char16_t* relative) const { return box.path(std::u16string(u"wild\\") + relative); }
};

TEST_F(PathWinWildcard, MatchesFilesIgnoringCaseAndNeverFolders)
{
    struct Row {
        const char* what;
        std::u16string text;
        InSubfolders inSubfolders;
        HiddenAndSystem hidden;
        std::set<std::u16string> expected;
    };
    const Row rows[] = {
        {"folder only", in(u"*.tmp"), InSubfolders::No, HiddenAndSystem::Include, {in(u"a.tmp"), in(u"B.TMP")}},
        {"with subfolders",
         in(u"*.tmp"),
         InSubfolders::Yes,
         HiddenAndSystem::Include,
         {in(u"a.tmp"), in(u"B.TMP"), in(u"d1\\x.tmp"), in(u"d1\\deeper\\y.tmp"), in(u"d2\\z.tmp")}},
        {"hidden and system skipped", in(u"*.tmp"), InSubfolders::No, HiddenAndSystem::Skip, {in(u"a.tmp")}},
        {"question mark", in(u"?.t?t"), InSubfolders::Yes, HiddenAndSystem::Include, {in(u"c.txt"), in(u"d2\\z.txt")}},
        {"plain name", in(u"c.txt"), InSubfolders::No, HiddenAndSystem::Include, {in(u"c.txt")}},
        {"slashes", box.path(u"wild/*.TMP"), InSubfolders::No, HiddenAndSystem::Include, {in(u"a.tmp"), in(u"B.TMP")}},
        {"missing folder", in(u"nowhere\\*.tmp"), InSubfolders::Yes, HiddenAndSystem::Include, {}},
        {"wildcard in the folder part", in(u"d*\\*.tmp"), InSubfolders::Yes, HiddenAndSystem::Include, {}},
        {"no match", in(u"*.none"), InSubfolders::Yes, HiddenAndSystem::Include, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::vector<std::u16string> got = expand(row.text, row.inSubfolders, row.hidden);
        EXPECT_EQ(asSet(got), row.expected) << show(got);
        EXPECT_EQ(got.size(), row.expected.size()) << "each file once" << show(got);
    }
}

TEST_F(PathWinWildcard, FolderFirstThenEachSubfolderDepthFirst)
{
    const std::vector<std::u16string> got = expand(in(u"*.tmp"), InSubfolders::Yes);
    SCOPED_TRACE(show(got));
    ASSERT_EQ(got.size(), 5u);
    const auto at = [&](const char16_t* relative) {
        return std::find(got.begin(), got.end(), in(relative)) - got.begin();
    };
    EXPECT_LT(std::max(at(u"a.tmp"), at(u"B.TMP")), 2);
    // d1's subtree is one run (x, then deeper's y); d2's z is before or after it.
    EXPECT_EQ(at(u"d1\\deeper\\y.tmp"), at(u"d1\\x.tmp") + 1);
    const auto z = at(u"d2\\z.tmp");
    EXPECT_TRUE(z == 2 || z == 4) << z;
}

// ---- folder measure ----------------------------------------------------------------

TEST_F(PathWinTest, FolderMeasureCountsByDescendAndTopFiles)
{
    // Two files of 10 bytes (one hidden and system, one read-only) and a
    // subfolder with one file of 5 bytes.
    ASSERT_TRUE(box.makeFolder(u"m"));
    ASSERT_TRUE(box.makeFile(u"m\\one", 10, p::kFileAttributeHidden | p::kFileAttributeSystem));
    ASSERT_TRUE(box.makeFile(u"m\\two", 10, p::kFileAttributeReadOnly));
    ASSERT_TRUE(box.makeFolder(u"m\\sub"));
    ASSERT_TRUE(box.makeFile(u"m\\sub\\three", 5));
    ASSERT_TRUE(box.makeFile(u"lone.bin", 77));
    struct Row {
        const char* what;
        std::u16string path;
        Descend descend;
        TopFiles topFiles;
        std::int64_t bytes;
        std::int64_t files;
        std::int64_t folders;
    };
    const Row rows[] = {
        {"one level", box.path(u"m"), Descend::No, TopFiles::Count, 20, 2, 0},
        {"all levels", box.path(u"m"), Descend::Yes, TopFiles::Count, 25, 3, 1},
        {"only subfolders", box.path(u"m"), Descend::Yes, TopFiles::Skip, 5, 1, 1},
        {"nothing asked", box.path(u"m"), Descend::No, TopFiles::Skip, 0, 0, 0},
        {"missing folder", box.path(u"nowhere"), Descend::Yes, TopFiles::Count, 0, 0, 0},
        {"a file measures as its size", box.path(u"lone.bin"), Descend::Yes, TopFiles::Count, 77, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto path = PathWin::make(row.path);
        std::int64_t files = 100;  // the measure adds to what the caller has
        std::int64_t folders = 200;
        EXPECT_EQ(path->measureFolder(row.descend, row.topFiles, files, folders), row.bytes);
        EXPECT_EQ(files, 100 + row.files);
        EXPECT_EQ(folders, 200 + row.folders);
    }
}

// ---- delete path ---------------------------------------------------------------------

class PathWinDelete : public PathWinTest {
protected:
    // Sentinels beside and around every target: a sibling whose name starts
    // like the target's, a file next to it, and the folder that holds it.
    void SetUp() override
    {
        PathWinTest::SetUp();
        ASSERT_TRUE(box.makeFolder(u"area"));
        ASSERT_TRUE(box.makeFile(u"area\\beside.txt", 3));
        ASSERT_TRUE(box.makeFolder(u"area\\target-sibling"));
        ASSERT_TRUE(box.makeFile(u"area\\target-sibling\\keep.txt", 3));
        ASSERT_TRUE(box.makeFile(u"area\\target.txt-sibling", 3));
    }

    void expectSentinels() const
    {
        for (const char16_t* sentinel :
             {u"area\\beside.txt", u"area\\target-sibling\\keep.txt", u"area\\target.txt-sibling"})
            EXPECT_TRUE(box.entryExists(sentinel)) << narrow(sentinel);
    }

    std::vector<std::u16string> scheduledHere() const
    {
        std::vector<std::u16string> out;
        for (const std::u16string& entry : box.scheduledAtReboot())
            if (entry.rfind(box.folder(), 0) == 0)
                out.push_back(entry);
        return out;
    }
};

TEST_F(PathWinDelete, FilesAndTreesGoWithReadOnlyHiddenAndSystemEntries)
{
    constexpr std::uint32_t kAll = p::kFileAttributeReadOnly | p::kFileAttributeHidden | p::kFileAttributeSystem;
    struct Entry {
        const char16_t* relative;  // under area; a trailing '\' makes a folder
        std::uint32_t attributes;
    };
    struct Row {
        const char* what;
        std::vector<Entry> made;
        const char16_t* target;  // under area
    };
    const Row rows[] = {
        {"plain file", {{u"target.txt", 0}}, u"target.txt"},
        {"read-only file", {{u"target.txt", p::kFileAttributeReadOnly}}, u"target.txt"},
        {"read-only, hidden and system file", {{u"target.txt", kAll}}, u"target.txt"},
        {"missing path", {}, u"target.txt"},
        {"empty folder", {{u"target\\", 0}}, u"target"},
        {"read-only empty folder", {{u"target\\", p::kFileAttributeReadOnly}}, u"target"},
        {"tree",
         {{u"target\\", 0},
          {u"target\\a.txt", 0},
          {u"target\\h.txt", kAll},
          {u"target\\sub\\", p::kFileAttributeReadOnly | p::kFileAttributeHidden},
          {u"target\\sub\\b.txt", p::kFileAttributeReadOnly},
          {u"target\\sub\\deeper\\", 0},
          {u"target\\sub\\deeper\\c.txt", 0},
          {u"target\\empty\\", 0}},
         u"target"},
        {"forward slashes and a trailing one", {{u"target\\", 0}, {u"target\\a.txt", 0}}, u"target/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const Entry& entry : row.made) {
            std::u16string relative = std::u16string(u"area\\") + entry.relative;
            if (relative.back() == u'\\') {
                relative.pop_back();
                ASSERT_TRUE(box.makeFolder(relative));
                // Folders get their attributes after their contents exist.
            } else {
                ASSERT_TRUE(box.makeFile(relative, 4, entry.attributes));
            }
        }
        for (const Entry& entry : row.made) {
            std::u16string relative = std::u16string(u"area\\") + entry.relative;
            if (relative.back() == u'\\' && entry.attributes) {
                relative.pop_back();
                // Wine keeps no read-only bit on folders; Windows and the fake
                // do, and then refuse to remove the folder until it is cleared.
                p::fileSystem().setAttributes(box.path(relative).c_str(), entry.attributes);
            }
        }
        auto target = PathWin::make(box.path(std::u16string(u"area\\") + row.target));
        EXPECT_TRUE(target->deletePath(NotifyShell::No, AtReboot::Schedule));
        EXPECT_FALSE(box.entryExists(u"area\\target.txt"));
        EXPECT_FALSE(box.entryExists(u"area\\target"));
        EXPECT_TRUE(scheduledHere().empty()) << "nothing left for the next boot";
        expectSentinels();
    }
}

TEST_F(PathWinDelete, RootsAndShortTextsAreNeverTouched)
{
    ASSERT_TRUE(box.makeFile(u"area\\x", 1));
    for (const std::u16string& text :
         {std::u16string(u"C:\\"), std::u16string(u"C:"), std::u16string(u"C:/"), std::u16string(u"\\"),
          std::u16string(u":"), std::u16string(u"C:\\."), std::u16string(u"C:\\Windows\\.."), std::u16string(u"."),
          std::u16string(u".."), std::u16string(u"")}) {
        SCOPED_TRACE(narrow(text));
        auto path = PathWin::make(text);
        EXPECT_FALSE(path->deletePath(NotifyShell::Yes, AtReboot::Schedule));
    }
    EXPECT_TRUE(box.entryExists(u"area\\x"));
    expectSentinels();
    EXPECT_TRUE(scheduledHere().empty());
}

// Windows would read such a text up to its NUL, so the checks and the calls
// would see two different paths: the area itself, where the text pretends to
// name a file inside it.
TEST_F(PathWinDelete, ATextWithANulNamesNothing)
{
    ASSERT_TRUE(box.makeFile(u"area\\x", 1));
    ASSERT_TRUE(box.makeFile(u"area\\sub\\y", 1));
    std::u16string text = box.path(u"area");
    text += u'\0';
    text += u"\\sub";
    auto path = PathWin::make(text);
    EXPECT_FALSE(path->isValid());
    EXPECT_FALSE(path->isAbsolute());
    EXPECT_FALSE(path->exists());
    std::int64_t files = 0;
    std::int64_t folders = 0;
    EXPECT_EQ(path->measureFolder(s::file::Descend::Yes, s::file::TopFiles::Count, files, folders), 0);
    EXPECT_EQ(files + folders, 0);
    auto list = s::file::win::PathListHandle::take();
    EXPECT_EQ(path->listChildren(*list, s::file::HiddenAndSystem::Include, s::file::Recursion::AllLevels), 0);
    EXPECT_FALSE(path->deletePath(NotifyShell::No, AtReboot::Schedule));
    EXPECT_TRUE(box.entryExists(u"area\\x"));
    EXPECT_TRUE(box.entryExists(u"area\\sub\\y"));
    EXPECT_TRUE(scheduledHere().empty());
}

TEST_F(PathWinDelete, WhatCannotGoIsScheduledChildrenBeforeTheirFolder)
{
    ASSERT_TRUE(box.makeFolder(u"area\\target"));
    ASSERT_TRUE(box.makeFile(u"area\\target\\free.txt", 1));
    ASSERT_TRUE(box.makeFolder(u"area\\target\\sub"));
    ASSERT_TRUE(box.makeFile(u"area\\target\\sub\\busy.log", 1));
    ASSERT_TRUE(box.makeFile(u"area\\target\\sub\\free2.txt", 1));
    const std::u16string target = box.path(u"area\\target");
    {
        auto held = box.holdOpen(u"area\\target\\sub\\busy.log");
        ASSERT_TRUE(held);

        auto path = PathWin::make(target);
        EXPECT_FALSE(path->deletePath(NotifyShell::No, AtReboot::Leave));
        EXPECT_TRUE(scheduledHere().empty()) << "not asked to schedule";
        EXPECT_TRUE(box.entryExists(u"area\\target\\sub\\busy.log"));
        EXPECT_FALSE(box.entryExists(u"area\\target\\free.txt"));
        EXPECT_FALSE(box.entryExists(u"area\\target\\sub\\free2.txt"));

        ASSERT_TRUE(box.makeFile(u"area\\target\\free.txt", 1));
        path->setPath(target);
        EXPECT_FALSE(path->deletePath(NotifyShell::No, AtReboot::Schedule));
        EXPECT_FALSE(box.entryExists(u"area\\target\\free.txt"));
        const std::vector<std::u16string> expected = {target + u"\\sub\\busy.log", target + u"\\sub", target};
        EXPECT_EQ(scheduledHere(), expected) << show(scheduledHere());
    }
    expectSentinels();
    auto path = PathWin::make(target);
    EXPECT_TRUE(path->deletePath(NotifyShell::No, AtReboot::Leave)) << "closed again";
}

TEST_F(PathWinDelete, AFolderLinkIsNeverDeletedThrough)
{
    const auto links = box.linkFixture();
    ASSERT_TRUE(PathWin::make(links.outsideFile)->exists()) << "the link fixture was not made";
    ASSERT_TRUE(PathWin::make(links.doomed)->exists()) << "the link fixture was not made";

    // The link itself: Windows removes a junction or folder link with
    // RemoveDirectoryW; Wine refuses a Unix link, and the target's contents
    // must not go instead.
    auto link = PathWin::make(links.doomed + u"\\folderlink");
    const bool linkGone = link->deletePath(NotifyShell::No, AtReboot::Leave);
    EXPECT_EQ(linkGone, !PathWin::make(links.doomed + u"\\folderlink")->exists());
    EXPECT_TRUE(PathWin::make(links.outsideFile)->exists());
    EXPECT_TRUE(PathWin::make(links.outside)->exists());

    // The folder that holds it: its own entries go, the link is not listed,
    // so the folder cannot go and is scheduled.
    auto doomed = PathWin::make(links.doomed);
    const bool doomedGone = doomed->deletePath(NotifyShell::No, AtReboot::Schedule);
    EXPECT_FALSE(PathWin::make(links.doomed + u"\\a.txt")->exists());
    EXPECT_FALSE(PathWin::make(links.doomed + u"\\sub")->exists());
    EXPECT_TRUE(PathWin::make(links.outsideFile)->exists()) << "nothing behind the link went";
    if (!linkGone) {
        EXPECT_FALSE(doomedGone);
        const auto scheduled = box.scheduledAtReboot();
        EXPECT_NE(std::find(scheduled.begin(), scheduled.end(), links.doomed), scheduled.end()) << show(scheduled);
    }
}

}  // namespace
}  // namespace s::file::win
