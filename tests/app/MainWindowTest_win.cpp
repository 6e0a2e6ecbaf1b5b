// The main window under Wine, over a tree of its own: two groups of files in
// a scratch folder (one with files, one empty) and a custom group. The test
// runs from C:\purgo-test-window\ (copied there by the CTest fixture) so that
// the settings file lies beside it on a drive.
#include "app/AppBase.h"
#include "app/AppWindow.h"
#include "app/MainMenus.h"
#include "app/MainWindow_win.h"
#include "app/StartupRules.h"
#include "engine/TimeRecord.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"
#include "tests/support/MessagePump_win.h"
#include "tests/support/ScratchFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::app::win::AppBase;
using s::app::win::AppWindow;

constexpr wchar_t kSettings[] = L"C:\\purgo-test-window\\savedata\\SaveData.xml";

bool writeFile(const std::wstring& path, std::string_view bytes)
{
    CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return written == bytes.size();
}

using testing_platform::pumpUntil;

// Closes the message boxes the window shows (they run their own loop), and
// counts them.
int g_boxesClosed = 0;
HWND g_owner = nullptr;

void CALLBACK closeBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            if (window != g_owner && GetWindow(window, GW_OWNER) == g_owner && IsWindowVisible(window) &&
                IsWindowEnabled(window)) {
                ++g_boxesClosed;
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        0);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeFile(kSettings, "<savedata><Version>1.25</Version>"
                                         "<items><Sandbox_Files>1</Sandbox_Files></items></savedata>"));
        for (const char16_t* folder : {u"junk", u"junk\\deeper", u"empty"})
            CreateDirectoryW(reinterpret_cast<const wchar_t*>(scratch.join(folder).c_str()), nullptr);
        scratch.putFile(u"junk\\a.tmp", "12345");
        scratch.putFile(u"junk\\b.tmp", "1234567890");
        scratch.putFile(u"junk\\deeper\\c.tmp", "123");
        ASSERT_TRUE(exists(u"junk\\deeper\\c.tmp"));
        app.initialise(u"app_window_tests.exe", &skins);
        app.lang().select(u"English");
        frame = std::make_unique<AppWindow>(AppWindow::mainWindow(1, app.settings()));
    }

    // Everything under a folder, checked unless the settings say otherwise
    // (as the catalogue makes its targets).
    static TimeRecord* checkedTarget(std::u16string_view id, const s::str::StrBuffer& folder)
    {
        TimeRecord* target = TimeRecord::makeTarget(Type_Folder_All_Levels, id, folder);
        target->defaultChecked = true;
        return target;
    }

    // The tree: the scratch folder's files (checked through the settings),
    // an empty folder, and a custom group over the same files.
    TreeBuilder builder()
    {
        return [this](std::vector<TimeRecord*>& groups) {
            TimeRecord* files = TimeRecord::makeGroup(u"Sandbox_Files", u"Sandbox files", u"The scratch folder");
            files->addChild(checkedTarget(u"Sandbox_Files_1", scratch.join(u"junk")));
            groups.push_back(files);
            TimeRecord* empty = TimeRecord::makeGroup(u"Sandbox_Empty", u"Empty folder", u"Nothing in it");
            empty->addChild(checkedTarget(u"Sandbox_Empty_1", scratch.join(u"empty")));
            groups.push_back(empty);
        };
    }

    std::string titles(Dialog& dialog)
    {
        std::string out;
        for (int row = 0; row < dialog.list().rowCount(); ++row)
            out += (out.empty() ? "" : ", ") + dialog.list().record(row)->title.toUtf8();
        return out;
    }
    static std::string narrow(const std::wstring& text)
    {
        std::string out;
        for (wchar_t c : text)
            out += c < 0x80 ? static_cast<char>(c) : (c == 0xA0 ? ' ' : '?');
        return out;
    }
    bool exists(std::u16string_view relative)
    {
        return GetFileAttributesW(reinterpret_cast<const wchar_t*>(scratch.join(relative).c_str())) !=
               INVALID_FILE_ATTRIBUTES;
    }

    testing_platform::ScratchFolder scratch;
    s::gui::drawer::Skinner skins;
    AppBase app;
    std::unique_ptr<AppWindow> frame;
};

TEST_F(MainWindow, CollectsChecksCleansAndSavesOnClose)
{
    Dialog dialog(app, *frame, nullptr, builder());
    dialog.build(false);
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(narrow(dialog.statusText()), "Collecting Information...");
    ASSERT_TRUE(pumpUntil([&] { return dialog.state() == Dialog::State::Ready; })) << "the collect run ends";

    EXPECT_EQ(titles(dialog), "Sandbox files") << "only related groups while \"Show only Related\" is on";
    EXPECT_EQ(narrow(dialog.statusText()), "18 B  (4  Items)");
    EXPECT_EQ(narrow(dialog.cleanButtonText()), "Clean Now!  (18 B) (4)");

    dialog.setShowOnlyRelated(false);
    EXPECT_EQ(titles(dialog), "Sandbox files, Empty folder");
    EXPECT_FALSE(app.settings().getBool(u"MainWindow\\View", u"ShowOnlyRelated", true));
    dialog.setShowOnlyRelated(true);
    EXPECT_EQ(titles(dialog), "Sandbox files");

    // Unchecking the group through its context-menu command empties the
    // selection; Select All checks it again.
    dialog.list().toggleCheck(0);
    dialog.command(command::kSelectAll);
    EXPECT_EQ(narrow(dialog.cleanButtonText()), "Clean Now!  (18 B) (4)");
    dialog.command(command::kDeselectAll);
    EXPECT_EQ(narrow(dialog.cleanButtonText()), "Clean Now!  (0 B) (0)");
    dialog.command(command::kSelectAll);

    g_owner = dialog.hwnd();
    g_boxesClosed = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeBoxes);
    dialog.pressCleanButton();
    ASSERT_TRUE(pumpUntil([&] { return dialog.state() == Dialog::State::Ready && g_boxesClosed > 0; }))
        << "the clean run ends with its message";
    KillTimer(nullptr, timer);
    EXPECT_EQ(dialog.runs().lastMessage().toUtf8(),
              "4 (18 B) items have been deleted successfully.\r\n0 (0 B) items will be deleted on the next system "
              "boot.");
    EXPECT_FALSE(exists(u"junk\\a.tmp"));
    EXPECT_FALSE(exists(u"junk\\deeper\\c.tmp"));
    EXPECT_FALSE(exists(u"junk\\deeper")) << "all under the folder";
    EXPECT_TRUE(exists(u"junk")) << "but not the folder itself";
    EXPECT_EQ(narrow(dialog.statusText()), "0 B  (0  Items)");

    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.state(), Dialog::State::Closed);
    EXPECT_EQ(app.settings().getS32(u"MainWindow\\ColumnOrder2", u"length", 0), 4);
    EXPECT_EQ(app.settings().getS32(u"MainWindow\\ColumnWidth2", u"_0", 0), 260);
    EXPECT_TRUE(app.settings().getBool(u"items\\Sandbox_Files", u"", false)) << "the checks are saved";
    EXPECT_TRUE(app.settings().exists(u"MainWindow\\View", u"Width")) << "the geometry is stored on hide";
}

TEST_F(MainWindow, ABootRunCleansSilentlyAndCloses)
{
    Dialog dialog(app, *frame, nullptr, builder());
    dialog.build(true);
    EXPECT_EQ(dialog.state(), Dialog::State::Closed);
    EXPECT_EQ(dialog.hwnd(), nullptr) << "the window is gone";
    EXPECT_FALSE(exists(u"junk\\b.tmp")) << "the checked group was cleaned";
    EXPECT_EQ(dialog.runs().lastMessage().toUtf8(), "") << "nothing is shown";
    EXPECT_FALSE(app.settings().exists(u"MainWindow\\ColumnOrder2", u"length")) << "a boot run saves nothing";
}

TEST_F(MainWindow, ClosingWhileTheListIsFilledWaitsForTheRunBeforeSaving)
{
    TreeBuilder slow = [inner = builder()](std::vector<TimeRecord*>& groups) {
        Sleep(1500);
        inner(groups);
    };
    Dialog dialog(app, *frame, nullptr, slow);
    dialog.build(false);
    ASSERT_EQ(dialog.state(), Dialog::State::Collecting);
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog.runs().busy()) << "the close waited for the collect run";
    EXPECT_TRUE(app.settings().getBool(u"items\\Sandbox_Files", u"", false))
        << "the save saw the whole tree, checks included";
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
