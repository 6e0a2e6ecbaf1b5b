// The program started under a display setting between the whole steps
// (LogPixels in the user's desktop settings, where the display settings keep
// it): its window and its controls come out at the setting's scale, where
// before they kept their 96-dpi size. The program itself (purgo.exe, copied
// to C:\purgo-test-window\dpi\ by the CTest fixture) is started, as Wine
// reads the setting once per process.
#include "app/main/MainWindow_win.h"
#include "tests/support/WholeFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

constexpr wchar_t kFolder[] = L"C:\\purgo-test-window\\dpi\\";

// The display setting for the processes started while it lives; the one
// before comes back after (or none, as the prefix had).
class DisplaySetting {
public:
    explicit DisplaySetting(DWORD dpi)
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &m_key, nullptr) != ERROR_SUCCESS) {
            m_key = nullptr;
            return;
        }
        DWORD type = 0;
        DWORD size = sizeof(m_before);
        m_had = RegQueryValueExW(m_key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&m_before), &size) ==
                    ERROR_SUCCESS &&
                type == REG_DWORD;
        m_set = RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)) ==
                ERROR_SUCCESS;
    }
    ~DisplaySetting()
    {
        if (!m_key)
            return;
        if (m_had)
            RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_before),
                           sizeof(m_before));
        else
            RegDeleteValueW(m_key, L"LogPixels");
        RegCloseKey(m_key);
    }
    DisplaySetting(const DisplaySetting&) = delete;
    DisplaySetting& operator=(const DisplaySetting&) = delete;
    bool set() const { return m_set; }

private:
    HKEY m_key = nullptr;
    DWORD m_before = 0;
    bool m_had = false;
    bool m_set = false;
};

struct Found {
    DWORD process;
    HWND window;
};

// The visible top-level window of a process titled as the program is.
HWND windowOf(DWORD process)
{
    Found found{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& wanted = *reinterpret_cast<Found*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (owner == wanted.process && IsWindowVisible(window) && std::wstring(title) == L"Oxle Purgo") {
                wanted.window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

SIZE sizeOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// At 150 % the main window opens at 945 × 750 (630 × 500 at 1.5×), its
// fixed-height controls with it, and the size is stored where the 96-dpi
// one is ("View": the whole step is still 1).
TEST(MainWindowDpi, AtADisplaySettingOf150PercentTheWindowIsOneAndAHalfTimesItsSize)
{
    const std::wstring program = std::wstring(kFolder) + L"purgo.exe";
    ASSERT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "the CTest fixture copies purgo.exe";
    ASSERT_TRUE(testing_platform::writeWholeFile(std::wstring(kFolder) + L"savedata\\SaveData.xml",
                                                 "<savedata><Version>1.25</Version><Language>English</Language>"
                                                 "<items></items></savedata>"));
    PROCESS_INFORMATION process{};
    {
        DisplaySetting setting(144);
        ASSERT_TRUE(setting.set());
        std::wstring command = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, kFolder,
                                   &startup, &process));
        // The setting is read as the process starts its window system; it
        // stays until the window is there.
        HWND window = nullptr;
        for (int waited = 0; !window && waited < 30000; waited += 100) {
            Sleep(100);
            window = windowOf(process.dwProcessId);
        }
        ASSERT_NE(window, nullptr) << "the window appears";
        const SIZE size = sizeOf(window);
        EXPECT_EQ(size.cx, 945);
        EXPECT_EQ(size.cy, 750);
        EXPECT_EQ(sizeOf(GetDlgItem(window, Dialog::kClean)).cy, 36) << "the button row, 24 pixels at 96 dpi";
        EXPECT_EQ(sizeOf(GetDlgItem(window, Dialog::kBootRun)).cy, 27) << "the boot row, 18 pixels at 96 dpi";
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string saved = testing_platform::readWholeFile(std::wstring(kFolder) + L"savedata\\SaveData.xml");
    EXPECT_NE(saved.find("Width=\"945\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("View4K"), std::string::npos) << saved;
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
