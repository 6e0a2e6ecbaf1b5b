#include "platform/fake/FakeShellItems.h"

#include "base/StrBuffer.h"
#include "platform/fake/FakeFileSystem.h"

#include <map>
#include <mutex>

namespace s::platform {

namespace {

std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

std::map<int, std::u16string> defaultFolders()
{
    const std::u16string profile = u"C:\\Users\\tester";
    return {
        {kCsidlRecent, profile + u"\\AppData\\Roaming\\Microsoft\\Windows\\Recent"},
        {kCsidlStartup, profile + u"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
        {kCsidlInternetCache, profile + u"\\AppData\\Local\\Microsoft\\Windows\\INetCache"},
        {kCsidlHistory, profile + u"\\AppData\\Local\\Microsoft\\Windows\\History"},
        {kCsidlAppData, profile + u"\\AppData\\Roaming"},
        {kCsidlLocalAppData, profile + u"\\AppData\\Local"},
        {kCsidlCommonAppData, u"C:\\ProgramData"},
        {kCsidlWindows, u"C:\\Windows"},
        {kCsidlSystem, u"C:\\Windows\\system32"},
        {kCsidlProgramFiles, u"C:\\Program Files"},
        {kCsidlProgramFilesX86, u"C:\\Program Files (x86)"},
        {kCsidlProfile, profile},
        {kCsidlPersonal, profile + u"\\Documents"},
        {kCsidlDesktopDirectory, profile + u"\\Desktop"},
        {kCsidlMyPictures, profile + u"\\Pictures"},
        {kCsidlMyMusic, profile + u"\\Music"},
        {kCsidlMyVideo, profile + u"\\Videos"},
        {kCsidlFavorites, profile + u"\\Favorites"},
        {kFolderDownloads, profile + u"\\Downloads"},
        {kFolderLocalAppDataLow, profile + u"\\AppData\\LocalLow"},
        {kFolderPublic, u"C:\\Users\\Public"},
    };
}

struct Bin {
    std::int64_t size = 0;
    std::int64_t items = 0;
    HResult fault = kSOk;
};

class FakeShellItemsImpl final : public FakeShellItems {
public:
    FakeShellItemsImpl() { reset(); }

    HResult specialFolderPath(int csidl, std::u16string& path) override
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_folders.find(csidl);
        if (found == m_folders.end() || found->second.empty())
            return kEFail;
        path = found->second;
        return kSOk;
    }

    HResult downloadsFolderPath(std::u16string& path) override { return specialFolderPath(kFolderDownloads, path); }

    HResult knownFolderPath(KnownFolder folder, std::u16string& path) override
    {
        switch (folder) {
        case KnownFolder::Downloads:
            return specialFolderPath(kFolderDownloads, path);
        case KnownFolder::LocalAppDataLow:
            return specialFolderPath(kFolderLocalAppDataLow, path);
        case KnownFolder::Public:
            return specialFolderPath(kFolderPublic, path);
        }
        return kEInvalidArg;
    }

    HResult openSpecialFolder(int csidl, std::uint32_t* process) override
    {
        std::lock_guard lock(m_mutex);
        if (csidl != kCsidlBitBucket && !m_folders.count(csidl))
            return kEInvalidArg;
        m_opened.push_back(csidl);
        if (process)
            *process = 0;
        return kSOk;
    }

    HResult queryRecycleBin(const char16_t* root, std::int64_t& size, std::int64_t& items) override
    {
        std::lock_guard lock(m_mutex);
        if (!root)
            return kEInvalidArg;
        const auto found = m_bins.find(folded(root));
        if (found == m_bins.end())
            return kEFail;
        if (found->second.fault != kSOk)
            return found->second.fault;
        size = found->second.size;
        items = found->second.items;
        return kSOk;
    }

    HResult emptyRecycleBin(const char16_t* root, std::uint32_t flags) override
    {
        std::lock_guard lock(m_mutex);
        if (!root)
            return kEInvalidArg;
        const auto found = m_bins.find(folded(root));
        if (found == m_bins.end())
            return kEFail;
        if (found->second.fault != kSOk)
            return found->second.fault;
        m_emptied.push_back({root, flags});
        found->second.size = 0;
        found->second.items = 0;
        return kSOk;
    }

    void clearRecentDocuments() override
    {
        std::u16string recent;
        {
            std::lock_guard lock(m_mutex);
            ++m_recentClears;
            recent = m_folders[kCsidlRecent];
        }
        if (recent.empty())
            return;
        FakeFileSystem& files = fakeFileSystem();
        std::vector<std::u16string> doomed;
        FindHandle find;
        FindData data;
        const std::u16string pattern = recent + u"\\*";
        for (Win32Error error = files.findFirst(pattern.c_str(), find, data); !error;
             error = files.findNext(find, data)) {
            if (!(data.attributes & kFileAttributeDirectory))
                doomed.push_back(recent + u"\\" + data.name);
        }
        find.close();
        for (const std::u16string& path : doomed)
            files.removeTree(path);
    }

    void setSpecialFolder(int csidl, std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        m_folders[csidl] = std::u16string(path);
    }

    void setRecycleBin(std::u16string_view root, std::int64_t size, std::int64_t items) override
    {
        std::lock_guard lock(m_mutex);
        Bin& bin = m_bins[folded(root)];
        bin.size = size;
        bin.items = items;
    }

    void failRecycleBin(std::u16string_view root, HResult result) override
    {
        std::lock_guard lock(m_mutex);
        m_bins[folded(root)].fault = result;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        reset();
    }

    std::vector<int> openedFolders() override
    {
        std::lock_guard lock(m_mutex);
        return m_opened;
    }

    std::vector<EmptyRecycleBinCall> emptiedBins() override
    {
        std::lock_guard lock(m_mutex);
        return m_emptied;
    }

    int recentDocumentClears() override
    {
        std::lock_guard lock(m_mutex);
        return m_recentClears;
    }

private:
    void reset()
    {
        m_folders = defaultFolders();
        m_bins.clear();
        m_bins[folded(u"C:\\")] = Bin{};
        m_opened.clear();
        m_emptied.clear();
        m_recentClears = 0;
    }

    std::mutex m_mutex;
    std::map<int, std::u16string> m_folders;
    std::map<std::u16string, Bin> m_bins;
    std::vector<int> m_opened;
    std::vector<EmptyRecycleBinCall> m_emptied;
    int m_recentClears = 0;
};

}  // namespace

FakeShellItems& fakeShellItems()
{
    static FakeShellItemsImpl instance;
    return instance;
}

IShellItems& shellItems()
{
    return fakeShellItems();
}

}  // namespace s::platform
