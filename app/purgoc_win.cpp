// purgoc.exe: the console program's entry on Windows.
#include "app/ConsoleProgram.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Text goes to a console as UTF-16 (WriteConsoleW shows every script), to a
// pipe or file as the UTF-8 bytes.
void write(DWORD which, const std::string& utf8)
{
    if (utf8.empty())
        return;
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    DWORD written = 0;
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    s::app::ConsoleOutput output;
    const int status = s::app::runConsole(args, output);
    write(STD_OUTPUT_HANDLE, output.out);
    write(STD_ERROR_HANDLE, output.err);
    return status;
}
