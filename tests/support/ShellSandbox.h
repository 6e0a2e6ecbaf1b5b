// What the tests of the shell services and the special handlers make outside
// the plain Sandbox (tests/support/Sandbox.h), and take away again: entries
// of the Internet cache, files in the user's own folders (Recent), and the
// USERPROFILE variable.
//
// Natively it seeds the in-memory fakes (and resets them, before and after).
// Under Wine it works on the real system with plain Win32 calls, never
// through the services under test: cache entries are made with
// CreateUrlCacheEntryW and CommitUrlCacheEntryW and looked up with
// GetUrlCacheEntryInfoW. Every source name it makes carries a tag unique to
// the sandbox, so a test can tell its own entries from any other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform::testing {

class ShellSandbox {
public:
    ShellSandbox();
    ~ShellSandbox();
    ShellSandbox(const ShellSandbox&) = delete;
    ShellSandbox& operator=(const ShellSandbox&) = delete;

    bool ok() const { return m_failure.empty(); }
    const std::string& failure() const { return m_failure; }
    static bool underWine();

    // ---- Internet cache ----
    // http://oxlepurgo-<tag>.invalid/<name>
    std::u16string normalUrl(std::u16string_view name) const;
    // Cookie:tester@<name>.oxlepurgo-<tag>.invalid/
    std::u16string cookieUrl(std::u16string_view name) const;
    // Visited: tester@http://oxlepurgo-<tag>.invalid/<name>
    std::u16string historyUrl(std::u16string_view name) const;
    // Does a source name carry this sandbox's tag?
    bool ours(std::u16string_view sourceUrl) const;
    // An entry of `type` whose content is `size` bytes.
    bool addEntry(std::u16string_view sourceUrl, std::uint32_t type, std::uint32_t size);
    bool hasEntry(std::u16string_view sourceUrl) const;
    // Source names of the cache's entries that this sandbox did not make,
    // among those whose type passes `accept` (normal: neither cookie nor
    // history; cookie; history).
    enum class Kind : std::uint8_t { Normal, Cookie, History };
    std::vector<std::u16string> foreignEntries(Kind kind) const;
    // Whether FindFirstUrlCacheEntryExW lists the entries (Wine's is a stub
    // that fails with ERROR_FILE_NOT_FOUND).
    bool exEnumerationWorks() const;

    // ---- the user's folders ----
    // The Recent folder, made when missing.
    std::u16string recentFolder();
    // A file anywhere, removed when the sandbox goes.
    bool makeFile(std::u16string_view path, std::uint64_t size);
    bool makeFolder(std::u16string_view path);
    bool exists(std::u16string_view path) const;
    // Names of the entries directly in folder that are not folders.
    std::vector<std::u16string> filesIn(std::u16string_view folder) const;

    // Ends a process that a test made the shell start (a file manager
    // window); 0 is none.
    static void endProcess(std::uint32_t id);

    // ---- the Recycle Bin ----
    // A bin of known contents: kBinItems items of kBinBytes bytes in all, for
    // drive C:. Natively the fake's bin of C:\ is filled and every other
    // drive's is empty. Under Wine the bin is the XDG trash under
    // XDG_DATA_HOME (Wine keeps one bin for every drive, in the Linux user's
    // trash), which the CTest fixture recycle_bin_sandbox fills before the
    // test (tests/support/recycle_bin_sandbox.cmake); without that variable
    // the bin would be the machine's own trash, and this returns false.
    static constexpr std::int64_t kBinItems = 2;
    static constexpr std::int64_t kBinBytes = 1000 + 2345;
    bool useSandboxBin();

    // ---- environment ----
    // USERPROFILE for the rest of the test; the old value comes back.
    bool setProfile(std::u16string_view path);

private:
    std::string m_failure;
    std::u16string m_tag;
    std::vector<std::u16string> m_entries;
    std::vector<std::u16string> m_files;    // removed in reverse order
    std::vector<std::u16string> m_folders;  // after the files, in reverse order
    bool m_profileSet = false;
    bool m_hadProfile = false;
    std::u16string m_oldProfile;
};

}  // namespace s::platform::testing
