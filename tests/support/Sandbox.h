// A throw-away place for tests that run against both platform backends: a
// unique folder and a unique registry key under HKEY_CURRENT_USER\Software,
// made when the sandbox is made and removed with everything in them when it
// goes.
//
// Natively the sandbox seeds the in-memory fakes through their test API.
// Under Wine it works on the real system with plain Win32 calls, never
// through the services under test: the folder is a real one under
// GetTempPathW, the key a real one; a file "held open" is opened by this
// process with share mode 0, and the reboot list is read back from
// PendingFileRenameOperations. Under Wine the sandbox refuses to start in a
// prefix that still maps drive Z: to the Linux file system (one not prepared
// by scripts/wine-prefix).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform::testing {

// A file kept open without sharing for as long as this lives.
class HeldFile {
public:
    virtual ~HeldFile() = default;
};

// A folder link whose target holds one file, so that a test can prove that
// nothing reached the target. Under Wine it is a Unix symbolic link made
// before the test run (a Windows process cannot make one); natively a fake
// link that, like Wine's, cannot be removed with RemoveDirectoryW.
struct LinkFixture {
    std::u16string parent;    // the folder that holds link and target
    std::u16string link;      // reports reparse point | directory
    std::u16string target;    // the folder the link leads to
    std::u16string keptFile;  // a file in the target

    // A second set, for the path object: `measured` holds a.txt (3 bytes) and
    // a folder link to `outside`; `doomed` holds a.txt, sub\b.txt and a folder
    // link to `outside`, and is there to be deleted. Nothing in `outside`
    // (keep.txt, 5 bytes) may ever go. Under Wine the links are made once
    // per test run (by the CTest fixture); the plain entries of `doomed` are
    // made again each time linkFixture() is called.
    std::u16string outside;
    std::u16string outsideFile;
    std::u16string measured;
    std::u16string doomed;
    // The engine's set: engine + "\\k<kind>" for the four folder kinds
    // (6 to 9), each holding a.txt (3 bytes), sub\\b.txt (1 byte) and a
    // folder link to `outside`; its plain entries made again like `doomed`'s.
    std::u16string engine;
};

// One entry of a names fixture: a folder, or a file that holds its own
// relative path (backslashes) and a line feed, so that its size is known and
// a mix-up of two files shows.
struct FixtureEntry {
    std::u16string relative;
    bool folder = false;
    std::uint64_t size() const { return folder ? 0 : relative.size() + 1; }
};

// The names Win32 rewrites in a plain path, with an ordinary one beside them:
// the DOS device names (con, nul.txt, aux.log, prn, com1, com9.txt, lpt1,
// lpt9.log), a trailing dot, a trailing space, a folder "dotdir." (a dot
// Win32 drops on the way to what is inside) and one "spacedir " with files in
// them, and a file deeper than MAX_PATH. cmake/WineNamesFixture.cmake makes
// the same entries under Wine: keep the two lists alike.
const std::vector<FixtureEntry>& rewrittenNames();
// Stand-ins of a Windows folder and a Documents folder ("win",
// "prof\Documents"), each with a sentinel, and beside each a folder of the
// same name with a trailing dot and one with a trailing space, each with a
// sentinel of its own (also in cmake/WineNamesFixture.cmake).
const std::vector<FixtureEntry>& protectedLookalikes();

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // False when the sandbox could not be made; failure() says why.
    bool ok() const { return m_failure.empty(); }
    const std::string& failure() const { return m_failure; }
    static const char* backend();

    // ---- files ----
    const std::u16string& folder() const { return m_folder; }  // no trailing backslash
    std::u16string path(std::u16string_view relative) const;
    bool makeFolder(std::u16string_view relative);
    // A file of `size` bytes, in folders made as needed; `attributes` 0 leaves
    // the new file's own.
    bool makeFile(std::u16string_view relative, std::uint64_t size, std::uint32_t attributes = 0);
    // Sets the last-write time of a file or folder (a FILETIME as one
    // number); set a folder's after its contents, which change it.
    bool setLastWriteTime(std::u16string_view relative, std::int64_t fileTime);
    // Checked independently of the service under test.
    bool entryExists(std::u16string_view relative) const;
    std::unique_ptr<HeldFile> holdOpen(std::u16string_view relative);
    // Full paths of the boot-time list, without prefix.
    std::vector<std::u16string> scheduledAtReboot() const;
    LinkFixture linkFixture();
    // A folder holding `entries`, made so that nothing on the Windows side
    // decides what their names become: under Wine the Linux side makes it
    // before the tests run (C:\purgo-test-names\<set>, by the CTest fixture
    // wine_names; a test that deletes uses its set up, and ctest makes it
    // again), natively it is seeded in the fake through "\\?\" forms.
    // Empty when an entry is missing (under Wine: run the tests through
    // ctest).
    std::u16string namesFixture(std::u16string_view set, const std::vector<FixtureEntry>& entries);
    // The names a folder lists (FindFirstFileW on its "\\?\" form), "." and
    // ".." left out; empty for a missing folder. Names as the disk has them.
    static std::set<std::u16string> listedNames(std::u16string_view folder);
    // Whether an entry is there, by listing its folder.
    static bool listed(std::u16string_view path);
    // An absolute path in any form, held open without sharing.
    std::unique_ptr<HeldFile> holdOpenPath(std::u16string_view path);

    // ---- registry ----
    // The sandbox key relative to HKEY_CURRENT_USER: Software\OxlePurgoTest-...
    const std::u16string& keyPath() const { return m_key; }
    // \Registry\User\<SID>\Software\OxlePurgoTest-...[\relative]; the SID
    // comes from the system's own SID conversion, not from the code under test.
    std::u16string nativeKeyPath(std::u16string_view relative = {}) const;
    bool makeKey(std::u16string_view relative);
    bool setValue(std::u16string_view keyRelative, std::u16string_view name, std::uint32_t type,
                  std::span<const std::byte> data);
    // Opened by name, so a link counts by its target.
    bool keyExists(std::u16string_view relative) const;
    bool valueExists(std::u16string_view keyRelative, std::u16string_view name) const;
    // A registry link at `relative` (parents made as needed) that stands for
    // the sandbox key `targetRelative`, which need not exist yet. Under Wine
    // a volatile link made with REG_OPTION_CREATE_LINK, removed as itself
    // when the sandbox goes (RegDeleteTreeW would follow it).
    bool makeLinkKey(std::u16string_view relative, std::u16string_view targetRelative);
    // True when `relative` is still a link key (its last component not
    // followed).
    bool linkKeyExists(std::u16string_view relative) const;

private:
    std::string m_failure;
    std::u16string m_folder;
    std::u16string m_key;
    std::u16string m_sid;
    std::vector<std::u16string> m_links;  // made by makeLinkKey, relative
};

// Test output: UTF-16 shown as UTF-8-ish ASCII.
std::string narrow(std::u16string_view text);

}  // namespace s::platform::testing
