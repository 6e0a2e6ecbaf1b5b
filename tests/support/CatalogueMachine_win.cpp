#include "tests/support/CatalogueMachine.h"

#include "catalogue/CatalogueFolders.h"

#include <windows.h>

namespace catalogue_test {

namespace {

std::wstring wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

void removeTree(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    // Never walk into a link: only what a test made goes.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name != L"." && name != L"..")
                    removeTree(path + L"\\" + name);
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

}  // namespace

void setUpMachine()
{
    s::file::gui::dialogs::purgo::forgetPlatformFolders();
}

bool makeFolder(std::u16string_view path)
{
    std::wstring full = wide(path);
    for (std::size_t at = full.find(L'\\', 3); at != std::wstring::npos; at = full.find(L'\\', at + 1))
        CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(full.c_str(), nullptr);
    DWORD attributes = GetFileAttributesW(full.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool writeIniFile(std::u16string_view path, std::string_view text)
{
    std::wstring full = wide(path);
    std::size_t slash = full.rfind(L'\\');
    if (slash != std::wstring::npos)
        makeFolder(std::u16string_view(path).substr(0, slash));
    HANDLE file = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    // Windows caches ini files it has read; a test that rewrites one must not
    // see the old text.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, full.c_str());
    return ok && written == text.size();
}

bool makeFile(std::u16string_view path, std::size_t bytes)
{
    return writeIniFile(path, std::string(bytes, 'x'));
}

// The stand-ins are copies of browser_standin.exe, one per name, made by
// the browser_standins fixture.
constexpr wchar_t kStandInFolder[] = L"C:\\purgo-test-browsers\\";

RunningProgram::RunningProgram(std::u16string_view executableName)
{
    std::wstring program = kStandInFolder + wide(executableName);
    // It ends by itself after a minute should the test die before ending it.
    std::wstring command = L"\"" + program + L"\" 60000";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    m_handle = reinterpret_cast<std::uintptr_t>(process.hProcess);
    m_id = process.dwProcessId;
    // Listed in a snapshot from its creation on; a short wait shows that it
    // did not fail to start.
    m_started = WaitForSingleObject(process.hProcess, 200) == WAIT_TIMEOUT;
}

RunningProgram::~RunningProgram()
{
    if (!m_handle)
        return;
    auto process = reinterpret_cast<HANDLE>(m_handle);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
}

void removePath(std::u16string_view path)
{
    removeTree(wide(path));
}

}  // namespace catalogue_test
