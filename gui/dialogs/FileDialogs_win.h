// The system's dialogs for choosing a file to open and a folder. Where the
// system has the item dialog (CLSID_FileOpenDialog: Windows Vista and later,
// and Wine) it is used, with FOS_PICKFOLDERS for folders; otherwise
// GetOpenFileNameW and SHBrowseForFolderW. The choice is made at run time by
// trying to create the item dialog. Cancelling, or any failure, gives no
// choice (std::nullopt). COM is initialised for the call when the thread has
// not done it (single-threaded apartment, as the shell's dialogs need).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace s::gui::dialogs {

enum class FileDialogApi {
    automatic,  // the item dialog when it can be created, else the older one
    itemDialog,
    legacy,
};

struct FileFilter {
    std::wstring name;     // "Executable files"
    std::wstring pattern;  // "*.exe;*.com"
};

struct FileDialogArgs {
    HWND parent = nullptr;
    std::wstring title;  // empty: the system's
    std::vector<FileFilter> filters;
    std::wstring startFolder;  // empty: the system's choice
    FileDialogApi api = FileDialogApi::automatic;
};

// What automatic resolves to on this system (never automatic).
FileDialogApi availableFileDialogApi();

// The chosen file's full path.
std::optional<std::wstring> chooseFile(const FileDialogArgs& args);
// The chosen folder's full path; filters are ignored.
std::optional<std::wstring> chooseFolder(const FileDialogArgs& args);

}  // namespace s::gui::dialogs
