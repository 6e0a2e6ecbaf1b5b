#include "tests/support/SafetyMachine.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/ProgramFolder.h"
#include "platform/ProtectedPlaces.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace safety_test {

namespace {

const wchar_t* wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::optional<std::u16string> variable(const std::u16string& name)
{
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(wide(name), buffer, 32768);
    if (length == 0 || length >= 32768)
        return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

}  // namespace

struct SafetyMachine::Saved {
    std::map<std::u16string, std::optional<std::u16string>> variables;
    std::u16string currentFolder;

    void set(const std::u16string& name, const std::optional<std::u16string>& value)
    {
        if (!variables.count(name))
            variables[name] = variable(name);
        SetEnvironmentVariableW(wide(name), value ? wide(*value) : nullptr);
    }
};

SafetyMachine::SafetyMachine() : m_saved(std::make_unique<Saved>())
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    if (length > 0 && length <= MAX_PATH)
        m_saved->currentFolder.assign(reinterpret_cast<const char16_t*>(buffer), length);
    forgetAnswers();
}

SafetyMachine::~SafetyMachine()
{
    for (const auto& [name, value] : m_saved->variables)
        SetEnvironmentVariableW(wide(name), value ? wide(*value) : nullptr);
    if (!m_saved->currentFolder.empty())
        SetCurrentDirectoryW(wide(m_saved->currentFolder));
    forgetAnswers();
}

void SafetyMachine::pointWindowsFolderAt(std::u16string_view folder)
{
    m_saved->set(u"SystemRoot", std::u16string(folder));
    m_saved->set(u"windir", std::u16string(folder));
    forgetAnswers();
}

void SafetyMachine::pointProfileAt(std::u16string_view folder)
{
    m_saved->set(u"USERPROFILE", std::u16string(folder));
    forgetAnswers();
}

void SafetyMachine::dropTemporaryFolder(std::u16string_view profile)
{
    // GetTempPathW reads TMP, TEMP, USERPROFILE and then the Windows folder.
    m_saved->set(u"TMP", std::nullopt);
    m_saved->set(u"TEMP", std::nullopt);
    pointProfileAt(profile);
}

void SafetyMachine::setCurrentFolder(std::u16string_view folder)
{
    SetCurrentDirectoryW(wide(std::u16string(folder)));
}

std::u16string SafetyMachine::programFolder(std::u16string_view)
{
    return std::u16string(s::platform::programFolder().view());
}

std::u16string SafetyMachine::shortForm(std::u16string_view path, std::u16string_view)
{
    const std::u16string full(path);
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetShortPathNameW(wide(full), buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return {};
    std::u16string shortPath(reinterpret_cast<const char16_t*>(buffer), length);
    return shortPath == full ? std::u16string() : shortPath;
}

bool SafetyMachine::makeFile(std::u16string_view path, std::uint64_t size)
{
    return writeFile(path, std::string(static_cast<std::size_t>(size), 'x'));
}

bool SafetyMachine::writeFile(std::u16string_view path, std::string_view bytes)
{
    const std::u16string full(path);
    for (std::size_t slash = full.find(u'\\', 3); slash != std::u16string::npos; slash = full.find(u'\\', slash + 1))
        CreateDirectoryW(wide(full.substr(0, slash)), nullptr);
    HANDLE file = CreateFileW(wide(full), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string SafetyMachine::readFile(std::u16string_view path)
{
    HANDLE file = CreateFileW(wide(std::u16string(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool SafetyMachine::exists(std::u16string_view path)
{
    return GetFileAttributesW(wide(std::u16string(path))) != INVALID_FILE_ATTRIBUTES;
}

void SafetyMachine::removeFile(std::u16string_view path)
{
    DeleteFileW(wide(std::u16string(path)));
}

void SafetyMachine::forgetAnswers()
{
    s::file::ProtectedPlaces::forget();
    s::file::gui::dialogs::purgo::forgetPlatformFolders();
}

}  // namespace safety_test
