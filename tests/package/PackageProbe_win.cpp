// What the installer test asks Windows about the installed files, printed on
// one line:
//   package_probe.exe version <file>   FileVersion|ProductVersion|ProductName|CompanyName
//   package_probe.exe link <file.lnk>  target path|arguments
//   package_probe.exe startup          the user's Startup folder (made when missing)
// Exit code 1 when the file or the answer is missing.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

int version(const wchar_t* file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0)
        return 1;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(file, 0, size, data.data()))
        return 1;
    std::string line;
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName", L"CompanyName"}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        wchar_t* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
            return 1;
        line += (line.empty() ? "" : "|") + utf8(value);
    }
    std::printf("%s\n", line.c_str());
    return 0;
}

int link(const wchar_t* file)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return 1;
    IPersistFile* persist = nullptr;
    int result = 1;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        wchar_t path[MAX_PATH] = {};
        wchar_t arguments[1024] = {};
        if (SUCCEEDED(persist->Load(file, STGM_READ)) && SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)) &&
            SUCCEEDED(shellLink->GetArguments(arguments, 1024))) {
            std::printf("%s|%s\n", utf8(path).c_str(), utf8(arguments).c_str());
            result = 0;
        }
        persist->Release();
    }
    shellLink->Release();
    CoUninitialize();
    return result;
}

int startupFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return 1;
    std::printf("%s\n", utf8(path).c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"startup")
        return startupFolder();
    if (argc != 3)
        return 2;
    const std::wstring what = argv[1];
    if (what == L"version")
        return version(argv[2]);
    if (what == L"link")
        return link(argv[2]);
    return 2;
}
