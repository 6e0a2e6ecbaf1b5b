#include "gui/ListTheme_win.h"

#include <string>

namespace s::gui {

namespace {

using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

SetWindowThemeFunction boundSetWindowTheme()
{
    // From the system folder by its full path: a uxtheme.dll beside the
    // program must not be loaded in its place.
    static const SetWindowThemeFunction function = []() -> SetWindowThemeFunction {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return nullptr;
        const std::wstring path = std::wstring(folder, length) + L"\\uxtheme.dll";
        HMODULE module = LoadLibraryW(path.c_str());
        if (!module)
            return nullptr;
        // Kept loaded for the life of the process: the themed windows hold
        // on to it.
        return reinterpret_cast<SetWindowThemeFunction>(
            reinterpret_cast<void*>(GetProcAddress(module, "SetWindowTheme")));
    }();
    return function;
}

}  // namespace

bool applyListTheme(HWND list, ListTheme theme)
{
    const SetWindowThemeFunction setWindowTheme = boundSetWindowTheme();
    if (!setWindowTheme || !list)
        return false;
    // Null names give the window back the application's ordinary theme, the
    // one it had before any call.
    const HRESULT result = theme == ListTheme::dark ? setWindowTheme(list, L"DarkMode_Explorer", nullptr)
                                                    : setWindowTheme(list, nullptr, nullptr);
    return SUCCEEDED(result);
}

}  // namespace s::gui
