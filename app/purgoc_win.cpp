// purgoc.exe: the console program's entry on Windows.
#include "app/console/ConsoleProgram.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Text goes to a console as UTF-16 (WriteConsoleW shows every script), to a
// pipe or file as the UTF-8 bytes. Every write goes out at once: nothing is
// buffered in the process, so a script reading the pipe sees each line as it
// is written.
class StdStreams final : public s::app::ConsoleStreams {
public:
    StdStreams()
        : m_out(GetStdHandle(STD_OUTPUT_HANDLE)), m_err(GetStdHandle(STD_ERROR_HANDLE)), m_outConsole(isConsole(m_out)),
          m_errConsole(isConsole(m_err))
    {
    }

    void writeOut(std::string_view utf8) override { write(m_out, m_outConsole, utf8); }
    void writeErr(std::string_view utf8) override { write(m_err, m_errConsole, utf8); }
    bool errIsConsole() const override { return m_errConsole; }

private:
    static bool isConsole(HANDLE handle)
    {
        DWORD mode = 0;
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
    }

    static void write(HANDLE handle, bool console, std::string_view utf8)
    {
        if (utf8.empty() || handle == nullptr || handle == INVALID_HANDLE_VALUE)
            return;
        if (console) {
            const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
            DWORD written = 0;
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
            return;
        }
        // A pipe may take less than asked at a time.
        while (!utf8.empty()) {
            DWORD written = 0;
            if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) || written == 0)
                return;
            utf8.remove_prefix(written);
        }
    }

    HANDLE m_out;
    HANDLE m_err;
    bool m_outConsole;
    bool m_errConsole;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    StdStreams streams;
    return s::app::runConsole(args, streams);
}
