#include "gui/dialogs/FileDialogs_win.h"

#include "platform/win32/ComPtr.h"
#include "platform/win32/ComScope.h"
#include "platform/win32/ProcAddress.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

namespace s::gui::dialogs {

namespace {

using s::platform::ComPtr;
using s::platform::ComScope;

class CoTaskText {
public:
    ~CoTaskText() { CoTaskMemFree(m_text); }
    PWSTR* put() { return &m_text; }
    PWSTR get() const { return m_text; }

private:
    PWSTR m_text = nullptr;
};

bool itemDialogAvailable()
{
    ComScope com;
    ComPtr<IFileOpenDialog> dialog;
    return SUCCEEDED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                      reinterpret_cast<void**>(dialog.put())));
}

FileDialogApi resolve(FileDialogApi api)
{
    return api == FileDialogApi::automatic ? availableFileDialogApi() : api;
}

std::optional<std::wstring> showItemDialog(const FileDialogArgs& args, bool folders)
{
    ComScope com;
    ComPtr<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.put()))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR;
    options |= folders ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST;
    dialog->SetOptions(options);
    if (!args.title.empty())
        dialog->SetTitle(args.title.c_str());
    std::vector<COMDLG_FILTERSPEC> specs;
    if (!folders) {
        for (const FileFilter& filter : args.filters)
            specs.push_back({filter.name.c_str(), filter.pattern.c_str()});
        if (!specs.empty())
            dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    }
    if (!args.startFolder.empty()) {
        ComPtr<IShellItem> folder;
        // SetFolder, not SetDefaultFolder: the caller's folder wins over the
        // one the system remembers from the last use.
        if (SUCCEEDED(SHCreateItemFromParsingName(args.startFolder.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(folder.put()))))
            dialog->SetFolder(folder.get());
    }
    // Cancel gives HRESULT_FROM_WIN32(ERROR_CANCELLED).
    if (FAILED(dialog->Show(args.parent)))
        return std::nullopt;
    ComPtr<IShellItem> result;
    if (FAILED(dialog->GetResult(result.put())))
        return std::nullopt;
    CoTaskText path;
    if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, path.put())) || !path.get())
        return std::nullopt;
    return std::wstring(path.get());
}

std::optional<std::wstring> showOpenFileName(const FileDialogArgs& args)
{
    // "name\0pattern\0" pairs, ended by one more NUL.
    std::wstring filter;
    for (const FileFilter& item : args.filters) {
        filter += item.name;
        filter.push_back(L'\0');
        filter += item.pattern;
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    // Room for a long path: the dialog does not say how much it needs.
    std::wstring path(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = args.parent;
    ofn.lpstrFilter = args.filters.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = args.startFolder.empty() ? nullptr : args.startFolder.c_str();
    ofn.lpstrTitle = args.title.empty() ? nullptr : args.title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    // comdlg32 is bound when a dialog is first asked for: loading it brings
    // in the printing services (about 6 MB under Wine) at every start,
    // while most starts open no dialog of it.
    static const decltype(&::GetOpenFileNameW) openFileName = [] {
        decltype(&::GetOpenFileNameW) bound = nullptr;
        s::platform::bindProc(LoadLibraryW(L"comdlg32.dll"), "GetOpenFileNameW", bound);
        return bound;
    }();
    if (!openFileName || !openFileName(&ofn))
        return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
}

int CALLBACK browseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    // The folder tree takes its start only once it exists.
    if (msg == BFFM_INITIALIZED && data)
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

std::optional<std::wstring> showBrowseForFolder(const FileDialogArgs& args)
{
    ComScope com;
    BROWSEINFOW info{};
    info.hwndOwner = args.parent;
    info.lpszTitle = args.title.empty() ? nullptr : args.title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &browseCallback;
    info.lParam = args.startFolder.empty() ? 0 : reinterpret_cast<LPARAM>(args.startFolder.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen)
        return std::nullopt;
    std::wstring path(32768, L'\0');
    const bool ok = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!ok)
        return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
}

}  // namespace

FileDialogApi availableFileDialogApi()
{
    // Asked once: the answer is the system's and does not change.
    static const FileDialogApi api = itemDialogAvailable() ? FileDialogApi::itemDialog : FileDialogApi::legacy;
    return api;
}

std::optional<std::wstring> chooseFile(const FileDialogArgs& args)
{
    if (resolve(args.api) == FileDialogApi::itemDialog)
        return showItemDialog(args, false);
    return showOpenFileName(args);
}

std::optional<std::wstring> chooseFolder(const FileDialogArgs& args)
{
    if (resolve(args.api) == FileDialogApi::itemDialog)
        return showItemDialog(args, true);
    return showBrowseForFolder(args);
}

}  // namespace s::gui::dialogs
