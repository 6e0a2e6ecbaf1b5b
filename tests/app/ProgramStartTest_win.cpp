// The program's whole start under Wine, run as its own process
// (program_start.exe, copied to C:\purgo-test-start\ by the CTest fixture,
// and a copy built without resources in C:\purgo-test-start\bare\): what the
// main window is handed, what the settings file holds afterwards, the
// switches, a second start, a logon through the Startup folder, and the bad
// inputs start-up has to survive.
//
// Every case stores "Version" 1.25 first: a new version opens the software
// page, which under Wine would start the machine's browser (that rule is
// checked on the in-memory machine).
#include "app/start/BootRegistration.h"
#include "tests/app/BootRegistrationFixture.h"
#include "tests/support/HeldFile.h"

#include "tests/support/WholeFile.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace s::app::win {
namespace {

constexpr wchar_t kFolder[] = L"C:\\purgo-test-start\\";
constexpr wchar_t kBareFolder[] = L"C:\\purgo-test-start\\bare\\";

std::wstring programIn(const std::wstring& folder)
{
    return folder + L"program_start.exe";
}

void storeSettings(const std::wstring& folder, std::string_view xml)
{
    ASSERT_TRUE(testing_platform::writeWholeFile(folder + L"savedata\\SaveData.xml", xml));
}

// Runs a program with the arguments and waits up to `milliseconds` for its
// end. Standard handles go to NUL: whatever it starts must not hold the test
// runner's pipes.
struct Finished {
    bool ended = false;
    DWORD exitCode = 0;
};

Finished run(const std::wstring& program, const std::wstring& arguments, DWORD milliseconds,
             PROCESS_INFORMATION* keep = nullptr)
{
    std::wstring command = L"\"" + program + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    Finished result;
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    const BOOL started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.c_str(), &startup, &process);
    CloseHandle(nul);
    if (!started)
        return result;
    if (keep) {
        *keep = process;
        return result;
    }
    result.ended = WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0;
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    if (!result.ended)
        TerminateProcess(process.hProcess, 9);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

// One field of the report ("skin=Fresh L" reads up to the next " name=").
std::string field(const std::string& report, const std::string& name)
{
    const std::size_t at = report.find(name + "=");
    if (at == std::string::npos)
        return "(missing)";
    const std::size_t from = at + name.size() + 1;
    std::size_t end = from;
    while (end < report.size()) {
        const std::size_t space = report.find(' ', end);
        if (space == std::string::npos) {
            end = report.size();
            break;
        }
        const std::size_t equals = report.find('=', space);
        const std::size_t nextSpace = report.find(' ', space + 1);
        if (equals != std::string::npos && (nextSpace == std::string::npos || equals < nextSpace)) {
            end = space;
            break;
        }
        end = space + 1;
    }
    return report.substr(from, end - from);
}

class ProgramStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(GetFileAttributesW(programIn(kFolder).c_str()), INVALID_FILE_ATTRIBUTES)
            << "the CTest fixture copies program_start.exe first";
        DeleteFileW((std::wstring(kFolder) + L"started.txt").c_str());
        DeleteFileW((std::wstring(kBareFolder) + L"started.txt").c_str());
    }
    std::string startedReport(const wchar_t* folder = kFolder)
    {
        return testing_platform::readWholeFile(std::wstring(folder) + L"started.txt");
    }
};

TEST_F(ProgramStart, TheSwitchesDecideWhatRuns)
{
    struct Row {
        const wchar_t* arguments;
        const char* mode;  // nullptr: the start ends before the main window
    };
    const Row rows[] = {
        {L"", "interactive"},          {L"/STARTUP", "boot"},
        {L"-startupx", "interactive"}, {L"something else", "interactive"},
        {L"-uninstall", nullptr},      {L"/startup -UNINSTALL", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << "arguments \"" << std::string(row.arguments, row.arguments + wcslen(row.arguments)) << "\"");
        storeSettings(kFolder,
                      "<savedata><Version>1.25</Version><Language>German</Language><Skin>Fresh L</Skin></savedata>");
        DeleteFileW((std::wstring(kFolder) + L"started.txt").c_str());
        const Finished finished = run(programIn(kFolder), row.arguments, 30000);
        ASSERT_TRUE(finished.ended);
        EXPECT_EQ(finished.exitCode, 0u);
        const std::string report = startedReport();
        if (!row.mode) {
            EXPECT_EQ(report, "");
            continue;
        }
        EXPECT_EQ(field(report, "mode"), row.mode) << report;
        EXPECT_EQ(field(report, "language"), "German") << report;
        EXPECT_EQ(field(report, "skin"), "Fresh L") << report;
        EXPECT_EQ(field(report, "banner"), "700x230") << report;
        EXPECT_EQ(field(report, "upright"), "230x700") << report;
        EXPECT_EQ(field(report, "icon"), "1") << report;
        EXPECT_EQ(field(report, "frame"), "MainWindow\\View") << "Xvfb's screen is 1280 x 1024: scale 1";
        EXPECT_EQ(testing_platform::readWholeFile(std::wstring(kFolder) + L"savedata\\SaveData.xml"),
                  "<savedata><Version>1.25</Version><Language>German</Language><Skin>Fresh L</Skin>"
                  "<SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID>"
                  "<MainWindow><SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID>"
                  "<Version>1.25</Version></MainWindow></savedata>");
    }
}

TEST_F(ProgramStart, UninstallRemovesTheBootRegistrationAndNothingElse)
{
    UacSetting uac;
    uac.set(0);  // the Startup-folder form, which Wine fully implements
    const OsVersion os = version(6, 1);
    const std::u16string name = u"Oxle Purgo 1.25";
    const std::wstring program = programIn(kFolder);
    registerBootRun(name, std::u16string(program.begin(), program.end()), os);
    ASSERT_TRUE(isBootRunRegistered(name, os));
    storeSettings(kFolder, "<savedata><Version>1.25</Version></savedata>");
    ASSERT_TRUE(run(program, L"-Uninstall", 30000).ended);
    EXPECT_FALSE(isBootRunRegistered(name, os));
    EXPECT_NE(testing_platform::readWholeFile(std::wstring(kFolder) + L"savedata\\SaveData.xml"), "")
        << "the settings stay";
}

TEST_F(ProgramStart, ALogonStartsTheSilentRunFromTheStartupFolder)
{
    UacSetting uac;
    uac.set(0);
    const OsVersion os = version(6, 1);
    const std::u16string name = u"Oxle Purgo 1.25";
    const std::wstring program = programIn(kFolder);
    registerBootRun(name, std::u16string(program.begin(), program.end()), os);
    ASSERT_TRUE(isBootRunRegistered(name, os));
    storeSettings(kFolder, "<savedata><Version>1.25</Version></savedata>");

    // A plain wineboot is Wine's logon: it runs the Startup folder's
    // shortcuts with their arguments.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const Finished logon = run(std::wstring(system) + L"\\wineboot.exe", L"", 60000);
    EXPECT_TRUE(logon.ended);
    std::string report;
    for (int waited = 0; report.empty() && waited < 30000; waited += 100) {
        Sleep(100);
        report = startedReport();
    }
    unregisterBootRun(name, os);
    EXPECT_EQ(field(report, "mode"), "boot") << "the shortcut starts the program with -startup: " << report;
}

TEST_F(ProgramStart, ASecondStartFromTheSameFileShowsTheFirstAndEnds)
{
    storeSettings(kFolder, "<savedata><Version>1.25</Version></savedata>");
    SetEnvironmentVariableW(L"PURGO_TEST_HOLD", L"8000");
    PROCESS_INFORMATION first{};
    run(programIn(kFolder), L"", 0, &first);
    SetEnvironmentVariableW(L"PURGO_TEST_HOLD", nullptr);
    ASSERT_NE(first.hProcess, nullptr);
    for (int waited = 0; !FindWindowW(L"OxlePurgoStartTest", nullptr) && waited < 15000; waited += 50)
        Sleep(50);
    ASSERT_NE(FindWindowW(L"OxlePurgoStartTest", nullptr), nullptr) << "the first copy shows no window";

    const Finished second = run(programIn(kFolder), L"", 15000);
    EXPECT_TRUE(second.ended) << "the second start ends by itself";
    EXPECT_EQ(startedReport(), "") << "the second start reaches no window of its own";

    ASSERT_EQ(WaitForSingleObject(first.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(first.hThread);
    CloseHandle(first.hProcess);
    // Once for every language whose product name begins its caption: the
    // answers are not looked at.
    EXPECT_GE(std::atoi(field(startedReport(), "1027").c_str()), 1) << "the first copy was told to show itself";
}

TEST_F(ProgramStart, TheVersionIsTheOneWindowsReports)
{
    // Wine reports Windows 7 in a new prefix; a program's own entry under
    // AppDefaults makes it report Windows 10 to that program alone.
    constexpr wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\program_start.exe";
    storeSettings(kFolder, "<savedata><Version>1.25</Version></savedata>");
    ASSERT_TRUE(run(programIn(kFolder), L"-startup", 30000).ended);
    EXPECT_EQ(field(startedReport(), "os"), "6.1") << startedReport();

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t win10[] = L"win10";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(win10), sizeof(win10));
    RegCloseKey(key);
    DeleteFileW((std::wstring(kFolder) + L"started.txt").c_str());
    const Finished finished = run(programIn(kFolder), L"-startup", 30000);
    RegDeleteKeyW(HKEY_CURRENT_USER, kAppDefaults);
    ASSERT_TRUE(finished.ended);
    EXPECT_EQ(field(startedReport(), "os"), "10.0") << startedReport();
}

TEST_F(ProgramStart, BadInputLeavesDefaults)
{
    // No resources at all: no language table, skin set, pictures or icon.
    storeSettings(kBareFolder, "<savedata><Version>1.25</Version></savedata>");
    ASSERT_TRUE(run(programIn(kBareFolder), L"", 30000).ended);
    const std::string bare = startedReport(kBareFolder);
    EXPECT_EQ(field(bare, "mode"), "interactive") << bare;
    EXPECT_EQ(field(bare, "language"), "") << bare;
    EXPECT_EQ(field(bare, "skin"), "Classic LG") << "the built-in skins remain: " << bare;
    EXPECT_EQ(field(bare, "banner"), "0x0") << bare;
    EXPECT_EQ(field(bare, "icon"), "0") << bare;
    EXPECT_EQ(testing_platform::readWholeFile(std::wstring(kBareFolder) + L"savedata\\SaveData.xml"),
              "<savedata><Version>1.25</Version></savedata>")
        << "without the language table no version is recorded";

    // A settings file another program holds: defaults, and the file stays.
    const std::string held = "<savedata><Version>1.25</Version><Language>German</Language></savedata>";
    storeSettings(kFolder, held);
    {
        const std::wstring path = std::wstring(kFolder) + L"savedata\\SaveData.xml";
        testing_platform::HeldFile lock(std::u16string(path.begin(), path.end()));
        ASSERT_TRUE(lock.held());
        ASSERT_TRUE(run(programIn(kFolder), L"", 30000).ended);
    }
    EXPECT_EQ(field(startedReport(), "language"), "English") << startedReport();
    EXPECT_EQ(testing_platform::readWholeFile(std::wstring(kFolder) + L"savedata\\SaveData.xml"), held);
}

// The program itself (purgo.exe, copied to C:\purgo-test-exe\ by the CTest
// fixture), driven from outside as a user would: its settings name one custom
// group over C:\purgo-test-exe\junk\*.log, checked.
constexpr wchar_t kExeFolder[] = L"C:\\purgo-test-exe\\";
constexpr char kExeSettings[] =
    "<savedata><Version>1.25</Version><Language>English</Language>"
    "<CustomItems NumOfCustom=\"1\" CustomID=\"1\"><_0 ID=\"Custom1\" Title=\"Test Logs\" Desctiption=\"Logs\" "
    "CustomRecordID=\"1\" CustomChildRecordID=\"1\" NumOfChildren=\"1\"><_0 ID=\"Custom_1_0\" "
    "TargetType=\"Type_File_Wild\" Target=\"C:\\purgo-test-exe\\junk\\*.log\" "
    "IsCheckWildFileExpressionInSubFolders=\"0\"></_0></_0></CustomItems>"
    "<items><Custom1 Custom_1_0=\"1\">1</Custom1></items></savedata>";

class ProgramExe : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(GetFileAttributesW(program().c_str()), INVALID_FILE_ATTRIBUTES)
            << "the CTest fixture copies purgo.exe first";
        storeSettings(kExeFolder, kExeSettings);
        ASSERT_TRUE(testing_platform::writeWholeFile(std::wstring(kExeFolder) + L"junk\\a.log", "twelve bytes"));
        ASSERT_TRUE(testing_platform::writeWholeFile(std::wstring(kExeFolder) + L"junk\\b.log", "seven b"));
        ASSERT_TRUE(testing_platform::writeWholeFile(std::wstring(kExeFolder) + L"junk\\keep.txt", "not a log"));
    }
    static std::wstring program() { return std::wstring(kExeFolder) + L"purgo.exe"; }
    static bool exists(const wchar_t* relative)
    {
        return GetFileAttributesW((std::wstring(kExeFolder) + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    static std::string settings()
    {
        return testing_platform::readWholeFile(std::wstring(kExeFolder) + L"savedata\\SaveData.xml");
    }
    // The main window of a running copy, once it is there.
    static HWND waitForWindow(DWORD milliseconds = 20000)
    {
        for (DWORD waited = 0; waited < milliseconds; waited += 100) {
            HWND window = FindWindowW(nullptr, L"Oxle Purgo");
            if (window && IsWindowVisible(window))
                return window;
            Sleep(100);
        }
        return nullptr;
    }
    // The list's row count, through the list view's own message.
    static int listRows(HWND window)
    {
        HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
        return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
    }
};

TEST_F(ProgramExe, TheBootRunCleansTheCheckedGroupSilently)
{
    const std::string before = settings();
    const Finished finished = run(program(), L"-startup", 60000);
    ASSERT_TRUE(finished.ended);
    EXPECT_EQ(finished.exitCode, 0u);
    EXPECT_FALSE(exists(L"junk\\a.log"));
    EXPECT_FALSE(exists(L"junk\\b.log"));
    EXPECT_TRUE(exists(L"junk\\keep.txt")) << "only what the group names";
    // Only the start's own record of the program and the update check that
    // follows the run (its first time: the hour is stored, nothing fetched);
    // the run itself saves nothing (no checks, no window geometry, no column
    // layout).
    const std::string after = settings();
    const size_t update = after.find("<Update Version=\"");
    ASSERT_NE(update, std::string::npos) << after;
    const size_t updateEnd = after.find("\"></Update>", update);
    ASSERT_NE(updateEnd, std::string::npos) << after;
    const long long hour = std::stoll(after.substr(update + 17, updateEnd - update - 17));
    const long long now = static_cast<long long>(time(nullptr)) / 3600;
    EXPECT_TRUE(hour == now || hour == now - 1) << hour << " against " << now;
    std::string expected = before.substr(0, before.rfind("</savedata>"));
    expected += "<SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID><MainWindow>"
                "<SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID><Version>1.25</Version>"
                "</MainWindow></savedata>";
    EXPECT_EQ(after.substr(0, update) + after.substr(updateEnd + 11), expected);
}

TEST_F(ProgramExe, TheWindowListsSavesOnCloseAndAnswersASecondStart)
{
    PROCESS_INFORMATION first{};
    run(program(), L"", 0, &first);
    ASSERT_NE(first.hProcess, nullptr);
    HWND window = waitForWindow();
    ASSERT_NE(window, nullptr) << "the window titled \"Oxle Purgo\" appears";
    int rows = 0;
    for (int waited = 0; rows < 1 && waited < 20000; waited += 100) {
        Sleep(100);
        rows = listRows(window);
    }
    EXPECT_GE(rows, 1) << "the collect run lists the custom group";

    const Finished second = run(program(), L"", 20000);
    EXPECT_TRUE(second.ended) << "a second start ends by itself";
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first goes on";

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(first.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(first.hProcess, &exitCode);
    CloseHandle(first.hThread);
    CloseHandle(first.hProcess);
    EXPECT_EQ(exitCode, 0u);
    const std::string saved = settings();
    EXPECT_NE(saved.find("<ColumnOrder2 length=\"4\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("<Custom1 Custom_1_0=\"1\">1</Custom1>"), std::string::npos) << saved;
    EXPECT_TRUE(exists(L"junk\\a.log")) << "nothing was cleaned";
}

TEST_F(ProgramExe, TheBootCheckBoxRegistersARunThatALogonCarriesOut)
{
    UacSetting uac;
    uac.set(0);  // the Startup-folder form
    PROCESS_INFORMATION process{};
    run(program(), L"", 0, &process);
    ASSERT_NE(process.hProcess, nullptr);
    HWND window = waitForWindow();
    ASSERT_NE(window, nullptr);
    HWND box = FindWindowExW(window, nullptr, L"BUTTON", L"Always Clean on System Boot");
    ASSERT_NE(box, nullptr);
    SendMessageW(box, BM_CLICK, 0, 0);
    const OsVersion os = version(6, 1);
    EXPECT_TRUE(isBootRunRegistered(u"Oxle Purgo 1.25", os)) << "checking the box made the shortcut";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(exists(L"junk\\a.log"));

    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_TRUE(run(std::wstring(system) + L"\\wineboot.exe", L"", 60000).ended);
    for (int waited = 0; exists(L"junk\\a.log") && waited < 30000; waited += 100)
        Sleep(100);
    unregisterBootRun(u"Oxle Purgo 1.25", os);
    EXPECT_FALSE(exists(L"junk\\a.log")) << "the logon ran the boot clean";
    EXPECT_TRUE(exists(L"junk\\keep.txt"));
}

// The top-level windows of a process.
std::vector<HWND> windowsOf(DWORD processId)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* into = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == into->processId && IsWindowVisible(window))
                into->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring textOf(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

// The program's message box (an "OK" button) showing a text that contains
// `part`, and that text; null when there is none.
HWND findMessage(DWORD processId, const std::wstring& part, std::wstring& text)
{
    for (HWND window : windowsOf(processId)) {
        if (!FindWindowExW(window, nullptr, L"BUTTON", L"OK"))
            continue;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring shown = textOf(child);
            if (shown.find(part) != std::wstring::npos) {
                text = shown;
                return window;
            }
        }
    }
    return nullptr;
}

// The main window: the one with the target list.
HWND findMainWindow(DWORD processId)
{
    for (HWND window : windowsOf(processId))
        if (FindWindowExW(window, nullptr, L"SysListView32", nullptr))
            return window;
    return nullptr;
}

void removeDamagedCopies()
{
    const std::wstring folder = std::wstring(kExeFolder) + L"savedata\\";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"SaveData.damaged-*.xml").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
        DeleteFileW((folder + found.cFileName).c_str());
    while (FindNextFileW(find, &found));
    FindClose(find);
}

// A settings file that another tool cut short: the window uses what could be
// read (the custom group; its checks at the end are lost), keeps the file as
// it was beside the new one before writing it, and says where, once.
TEST_F(ProgramExe, ADamagedSettingsFileIsKeptAsItWasAndTheUserIsToldWhere)
{
    removeDamagedCopies();
    const std::string whole = kExeSettings;
    const std::string damaged = whole.substr(0, whole.size() - 40);
    storeSettings(kExeFolder, damaged);

    PROCESS_INFORMATION process{};
    run(program(), L"", 0, &process);
    ASSERT_NE(process.hProcess, nullptr);
    std::wstring text;
    HWND message = nullptr;
    for (int waited = 0; !message && waited < 20000; waited += 100) {
        Sleep(100);
        message = findMessage(process.dwProcessId, L"SaveData.damaged-", text);
    }
    ASSERT_NE(message, nullptr) << "no message names the kept copy";
    const std::wstring intro = L"The settings file was damaged and could be read only in part.";
    EXPECT_EQ(text.rfind(intro, 0), 0u);
    const std::wstring copy = text.substr(text.rfind(L'\n') + 1);
    const std::wstring prefix = std::wstring(kExeFolder) + L"savedata\\SaveData.damaged-";
    EXPECT_EQ(copy.rfind(prefix, 0), 0u) << std::string(copy.begin(), copy.end());
    EXPECT_EQ(testing_platform::readWholeFile(copy), damaged) << "the copy is the file as it was, byte for byte";
    const std::string written = settings();
    EXPECT_NE(written.find("Title=\"Test Logs\""), std::string::npos) << "what could be read is kept";
    EXPECT_EQ(written.substr(written.size() - 11), "</savedata>") << "the new file is whole";

    HWND window = findMainWindow(process.dwProcessId);
    ASSERT_NE(window, nullptr);
    int rows = 0;
    for (int waited = 0; rows < 1 && waited < 20000; waited += 100) {
        Sleep(100);
        rows = listRows(window);
    }
    EXPECT_GE(rows, 1) << "the custom group that could be read is listed";
    SendMessageW(FindWindowExW(message, nullptr, L"BUTTON", L"OK"), BM_CLICK, 0, 0);
    for (int waited = 0; IsWindow(message) && waited < 5000; waited += 50)
        Sleep(50);
    EXPECT_FALSE(IsWindow(message)) << "OK closes the message";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    // The next start finds a whole file: no message.
    PROCESS_INFORMATION again{};
    run(program(), L"", 0, &again);
    ASSERT_NE(again.hProcess, nullptr);
    HWND second = nullptr;
    rows = 0;
    for (int waited = 0; rows < 1 && waited < 20000; waited += 100) {
        Sleep(100);
        second = findMainWindow(again.dwProcessId);
        rows = second ? listRows(second) : 0;
    }
    ASSERT_GE(rows, 1);
    Sleep(500);
    EXPECT_EQ(findMessage(again.dwProcessId, L"SaveData.damaged-", text), nullptr) << "told once";
    PostMessageW(second, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(again.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(again.hThread);
    CloseHandle(again.hProcess);
    removeDamagedCopies();
}

// A community rule file beside the program whose one entry carries a
// Warning=: checking its group in the window asks first, with the warning;
// No leaves it unchecked, Yes checks it, and the check is what is saved.
constexpr char kWarnedRules[] = "[Warned App *]\r\nLangSecRef=3021\r\n"
                                "Warning=Also removes the app's saved sessions.\r\n"
                                "DetectFile=C:\\purgo-test-exe\\warned\r\n"
                                "FileKey1=C:\\purgo-test-exe\\warned|*.log\r\n";

// The top-level window of that title, once it is there.
HWND waitForTopLevel(const wchar_t* title, DWORD milliseconds = 20000)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (HWND window = FindWindowW(nullptr, title); window && IsWindowVisible(window))
            return window;
        Sleep(50);
    }
    return nullptr;
}

// The check state the list view reports for a row (1 unchecked, 2 checked),
// asked through its own message: the owner-data list asks the program.
int checkStateOf(HWND list, int row)
{
    return static_cast<int>(
        (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >>
        12);
}

TEST_F(ProgramExe, AGroupWithAWarningAsksBeforeItIsChecked)
{
    const std::wstring rules = std::wstring(kExeFolder) + L"winapp2.ini";
    ASSERT_TRUE(testing_platform::writeWholeFile(rules, kWarnedRules));
    ASSERT_TRUE(testing_platform::writeWholeFile(std::wstring(kExeFolder) + L"warned\\x.log", "a log"));
    struct RemoveRules {
        std::wstring path;
        ~RemoveRules() { DeleteFileW(path.c_str()); }
    } removeRules{rules};

    PROCESS_INFORMATION process{};
    run(program(), L"", 0, &process);
    ASSERT_NE(process.hProcess, nullptr);
    HWND window = waitForWindow();
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
    ASSERT_NE(list, nullptr);
    // The rule groups come last; the collect run is done when the button
    // that starts the clean is enabled again.
    HWND clean = nullptr;
    for (int waited = 0; waited < 30000; waited += 100) {
        for (HWND child = FindWindowExW(window, nullptr, L"BUTTON", nullptr); child;
             child = FindWindowExW(window, child, L"BUTTON", nullptr)) {
            wchar_t text[64] = {};
            GetWindowTextW(child, text, 64);
            if (std::wstring(text).rfind(L"Clean", 0) == 0)
                clean = child;
        }
        if (clean && IsWindowEnabled(clean))
            break;
        Sleep(100);
    }
    ASSERT_TRUE(clean && IsWindowEnabled(clean)) << "the collect run ends";
    const int row = listRows(window) - 1;
    ASSERT_GE(row, 1);
    // The last row selected as the keyboard does it, then its box toggled
    // with the space bar (posted: the question holds the program's thread).
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(checkStateOf(list, row), 1);

    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
        HWND question = waitForTopLevel(L"Warned App");
        ASSERT_NE(question, nullptr) << "the question titled with the group's name";
        EXPECT_NE(FindWindowExW(question, nullptr, L"Static",
                                L"Also removes the app's saved sessions.\n\nSelect this group anyway?"),
                  nullptr)
            << "the warning, then the question";
        HWND button = FindWindowExW(question, nullptr, L"BUTTON", yes ? L"       Yes       " : L"       No       ");
        ASSERT_NE(button, nullptr);
        PostMessageW(button, BM_CLICK, 0, 0);
        for (int waited = 0; IsWindow(question) && waited < 10000; waited += 50)
            Sleep(50);
        EXPECT_FALSE(IsWindow(question));
        EXPECT_EQ(checkStateOf(list, row), yes ? 2 : 1);
    }

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string saved = settings();
    const std::size_t group = saved.find("<Rules_Warned_App_");
    ASSERT_NE(group, std::string::npos) << saved;
    const std::size_t close = saved.find('>', group);
    EXPECT_EQ(saved.substr(close, 3), ">1<") << "saved checked: " << saved.substr(group, 80);
    EXPECT_TRUE(exists(L"warned\\x.log")) << "nothing was cleaned";
}

}  // namespace
}  // namespace s::app::win
