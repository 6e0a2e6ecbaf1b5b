#include "tests/support/ShellSandbox.h"

#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeUrlCache.h"
#include "platform/fake/FakeUrlHistory.h"

#include <algorithm>
#include <string>

namespace s::platform::testing {

namespace {

void resetFakes()
{
    fakeUrlCache().clear();
    fakeShellItems().clear();
    fakeEnvironment().clear();
    fakeUrlHistory().clear();
}

bool startsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool ShellSandbox::underWine()
{
    return false;
}

bool ShellSandbox::useSandboxBin()
{
    fakeShellItems().setRecycleBin(u"C:\\", kBinBytes, kBinItems);
    return true;
}

ShellSandbox::ShellSandbox()
{
    static unsigned counter = 0;
    for (char c : std::to_string(++counter))
        m_tag += static_cast<char16_t>(c);
    resetFakes();
}

ShellSandbox::~ShellSandbox()
{
    for (auto it = m_files.rbegin(); it != m_files.rend(); ++it)
        fakeFileSystem().removeTree(*it);
    for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
        fakeFileSystem().removeTree(*it);
    resetFakes();
}

bool ShellSandbox::addEntry(std::u16string_view sourceUrl, std::uint32_t type, std::uint32_t size)
{
    fakeUrlCache().addEntry(sourceUrl, type, size);
    m_entries.emplace_back(sourceUrl);
    return true;
}

bool ShellSandbox::hasEntry(std::u16string_view sourceUrl) const
{
    return fakeUrlCache().contains(sourceUrl);
}

std::vector<std::u16string> ShellSandbox::foreignEntries(Kind kind) const
{
    // The fake's entries are all made by tests; their kind shows in their
    // names, as this sandbox makes them.
    std::vector<std::u16string> out;
    for (const std::u16string& url : fakeUrlCache().sourceUrls()) {
        const Kind entryKind = startsWith(url, u"Cookie:")    ? Kind::Cookie
                               : startsWith(url, u"Visited:") ? Kind::History
                                                              : Kind::Normal;
        if (entryKind == kind && !ours(url))
            out.push_back(url);
    }
    return out;
}

bool ShellSandbox::exEnumerationWorks() const
{
    return true;
}

std::u16string ShellSandbox::recentFolder()
{
    std::u16string folder;
    fakeShellItems().specialFolderPath(kCsidlRecent, folder);
    if (!folder.empty() && !fakeFileSystem().contains(folder))
        fakeFileSystem().addFolder(folder);
    return folder;
}

bool ShellSandbox::makeFile(std::u16string_view path, std::uint64_t size)
{
    if (!fakeFileSystem().addFile(path, size))
        return false;
    m_files.emplace_back(path);
    return true;
}

bool ShellSandbox::makeFolder(std::u16string_view path)
{
    if (!fakeFileSystem().addFolder(path))
        return false;
    m_folders.emplace_back(path);
    return true;
}

bool ShellSandbox::exists(std::u16string_view path) const
{
    return fakeFileSystem().contains(path);
}

std::vector<std::u16string> ShellSandbox::filesIn(std::u16string_view folder) const
{
    std::vector<std::u16string> names;
    const std::u16string pattern = std::u16string(folder) + u"\\*";
    FindHandle find;
    FindData data;
    for (Win32Error error = fakeFileSystem().findFirst(pattern.c_str(), find, data); !error;
         error = fakeFileSystem().findNext(find, data)) {
        if (!(data.attributes & kFileAttributeDirectory))
            names.push_back(data.name);
    }
    return names;
}

void ShellSandbox::endProcess(std::uint32_t /*id*/)
{
}

bool ShellSandbox::setProfile(std::u16string_view path)
{
    fakeEnvironment().setVariable(u"USERPROFILE", path);
    m_profileSet = true;
    return true;
}

}  // namespace s::platform::testing
