#include "platform/ShellItems.h"

#include "platform/win32/ComScope.h"
#include "platform/win32/ProcAddress.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

namespace s::platform {

namespace {

// An item list from the shell; freed with ILFree.
class ItemList {
public:
    ItemList() = default;
    ~ItemList()
    {
        if (m_list)
            ILFree(m_list);
    }
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    LPITEMIDLIST* out() { return &m_list; }
    LPITEMIDLIST get() const { return m_list; }

private:
    LPITEMIDLIST m_list = nullptr;
};

class ShellItemsWin final : public IShellItems {
public:
    HResult specialFolderPath(int csidl, std::u16string& path) override
    {
        ItemList list;
        // SHGetSpecialFolderLocation rather than SHGetFolderPathW: it answers
        // the same on every Windows version the program supports, and the
        // item list is what the shell hands out for virtual folders too.
        const HRESULT located = SHGetSpecialFolderLocation(nullptr, csidl, list.out());
        if (FAILED(located))
            return located;
        if (!list.get())
            return kEFail;
        wchar_t buffer[MAX_PATH + 1] = {};
        // A virtual folder (the Recycle Bin, the Control Panel) has no path.
        if (!SHGetPathFromIDListW(list.get(), buffer) || buffer[0] == 0)
            return kEFail;
        std::u16string text(reinterpret_cast<const char16_t*>(buffer));
        // Only a drive root keeps its backslash ("C:\").
        while (text.size() > 3 && text.back() == u'\\')
            text.pop_back();
        path = std::move(text);
        return kSOk;
    }

    HResult downloadsFolderPath(std::u16string& path) override { return knownFolderPath(KnownFolder::Downloads, path); }

    HResult knownFolderPath(KnownFolder folder, std::u16string& path) override
    {
        // FOLDERID_Downloads {374DE290-123F-4565-9164-39C4925E467B},
        // FOLDERID_LocalAppDataLow {A520A1A4-1780-4FF6-BD18-167343C5AF16},
        // FOLDERID_Public {DFDF76A2-C82A-4D63-906A-5644AC457385}. The known
        // folder calls came with Windows Vista, so they are bound by name.
        static const GUID kDownloads = {0x374DE290, 0x123F, 0x4565, {0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B}};
        static const GUID kLocalAppDataLow = {
            0xA520A1A4, 0x1780, 0x4FF6, {0xBD, 0x18, 0x16, 0x73, 0x43, 0xC5, 0xAF, 0x16}};
        static const GUID kPublic = {0xDFDF76A2, 0xC82A, 0x4D63, {0x90, 0x6A, 0x56, 0x44, 0xAC, 0x45, 0x73, 0x85}};
        const GUID* id = nullptr;
        switch (folder) {
        case KnownFolder::Downloads:
            id = &kDownloads;
            break;
        case KnownFolder::LocalAppDataLow:
            id = &kLocalAppDataLow;
            break;
        case KnownFolder::Public:
            id = &kPublic;
            break;
        }
        if (!id)
            return kEInvalidArg;
        using GetKnownFolderPathFn = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
        GetKnownFolderPathFn getKnownFolderPath = nullptr;
        bindProc(GetModuleHandleW(L"shell32.dll"), "SHGetKnownFolderPath", getKnownFolderPath);
        if (!getKnownFolderPath)
            return kEFail;
        PWSTR found = nullptr;
        const HRESULT result = getKnownFolderPath(*id, 0, nullptr, &found);
        // The buffer is the caller's to free, also when the call fails.
        std::u16string text =
            SUCCEEDED(result) && found ? std::u16string(reinterpret_cast<const char16_t*>(found)) : u"";
        CoTaskMemFree(found);
        if (FAILED(result))
            return result;
        if (text.empty())
            return kEFail;
        while (text.size() > 3 && text.back() == u'\\')
            text.pop_back();
        path = std::move(text);
        return kSOk;
    }

    HResult openSpecialFolder(int csidl, std::uint32_t* process) override
    {
        // ShellExecuteExW may hand the request to shell extensions, which are
        // COM objects.
        ComScope com;
        ItemList list;
        const HRESULT located = SHGetSpecialFolderLocation(nullptr, csidl, list.out());
        if (FAILED(located))
            return located;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_IDLIST | SEE_MASK_NOCLOSEPROCESS;
        info.lpIDList = list.get();
        info.nShow = SW_SHOWNORMAL;
        if (!ShellExecuteExW(&info))
            return HRESULT_FROM_WIN32(GetLastError());
        if (process)
            *process = info.hProcess ? GetProcessId(info.hProcess) : 0;
        if (info.hProcess)
            CloseHandle(info.hProcess);
        return kSOk;
    }

    HResult queryRecycleBin(const char16_t* root, std::int64_t& size, std::int64_t& items) override
    {
        SHQUERYRBINFO info{};
        info.cbSize = sizeof(info);
        const HRESULT result = SHQueryRecycleBinW(reinterpret_cast<const wchar_t*>(root), &info);
        if (SUCCEEDED(result)) {
            size = info.i64Size;
            items = info.i64NumItems;
        }
        return result;
    }

    HResult emptyRecycleBin(const char16_t* root, std::uint32_t flags) override
    {
        return SHEmptyRecycleBinW(nullptr, reinterpret_cast<const wchar_t*>(root), flags);
    }

    void clearRecentDocuments() override
    {
        // A null document with either flag means "clear"; SHARD_PIDL is what
        // the documentation shows.
        SHAddToRecentDocs(SHARD_PIDL, nullptr);
    }
};

}  // namespace

IShellItems& shellItems()
{
    static ShellItemsWin instance;
    return instance;
}

}  // namespace s::platform
