// The items window under Wine, opened as the main window opens it: a row's
// "Show Items..." lists what its clean deletes, the filter box narrows the
// list, an unchecked item kept goes into the stored keep list, the row is
// measured again without it, and the clean leaves it. The Keep List window
// from the View menu shows that entry, adds and removes entries, and the
// row is measured again after each.
#include "app/items/DateText_win.h"
#include "app/items/ItemsWindow_win.h"
#include "app/keep/KeepListWindow_win.h"
#include "app/main/MainMenus.h"
#include "app/main/MainWindow_win.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "base/WideText.h"
#include "catalogue/KeepListStore.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"
#include "tests/app/MainWindowTexts_win.h"
#include "tests/support/MessagePump_win.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WholeFile.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::app::win::AppBase;
using s::app::win::AppWindow;

constexpr wchar_t kSettings[] = L"C:\\purgo-test-window\\savedata\\SaveData.xml";

bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 30000)
{
    return testing_platform::pumpUntil(done, milliseconds,
                                       [](MSG& message) { return s::gui::SkinnedFrame::translate(message); });
}

// The clean ends with a message box owned by the main window: closed as soon
// as it shows.
HWND g_owner = nullptr;
int g_boxesClosed = 0;

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

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

bool setLastWriteTime(const s::str::StrBuffer& path, int64_t fileTime)
{
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTime) >> 32);
    const bool set = SetFileTime(file, nullptr, nullptr, &time) != 0;
    CloseHandle(file);
    return set;
}

std::wstring listCell(HWND list, int row, int column)
{
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

class ItemsWindowUse : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testing_platform::writeWholeFile(kSettings,
                                                     "<savedata><Version>1.25</Version>"
                                                     "<items><Sandbox_Files>1</Sandbox_Files></items></savedata>"));
        CreateDirectoryW(reinterpret_cast<const wchar_t*>(scratch.join(u"junk").c_str()), nullptr);
        scratch.putFile(u"junk\\a.tmp", "12345");
        scratch.putFile(u"junk\\b.tmp", "123");
        app.initialise(u"app_window_tests.exe", &skins);
        app.lang().select(u"English");
        frame = std::make_unique<AppWindow>(AppWindow::mainWindow(1, app.settings()));
    }

    // The catalogue's part that matters here: one group, and the stored keep
    // list applied to it as the catalogue applies it.
    TreeBuilder builder()
    {
        return [this](std::vector<TimeRecord*>& groups) {
            TimeRecord* files = TimeRecord::makeGroup(u"Sandbox_Files", u"Sandbox files", u"The scratch folder");
            TimeRecord* target =
                TimeRecord::makeTarget(Type_Folder_All_Levels, u"Sandbox_Files_1", scratch.join(u"junk"));
            target->defaultChecked = true;
            files->addChild(target);
            groups.push_back(files);
            applyStoredKeepList(groups, app.settings());
        };
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

TEST_F(ItemsWindowUse, AnItemKeptFromTheWindowLeavesTheRowsFiguresAndSurvivesTheClean)
{
    // 2021-06-01 12:00 UTC (summer time in a zone that has one) and a day
    // before it.
    constexpr int64_t kNewer = 132670224000000000LL;
    constexpr int64_t kOlder = kNewer - 864000000000LL;
    ASSERT_TRUE(setLastWriteTime(scratch.join(u"junk\\a.tmp"), kNewer));
    ASSERT_TRUE(setLastWriteTime(scratch.join(u"junk\\b.tmp"), kOlder));
    Dialog dialog(app, *frame, nullptr, builder());
    ItemsWindow items(app);
    dialog.showItems = [&items](Dialog& owner, TimeRecord& row) {
        items.onKept = [&owner] {
            owner.controller().keepListChanged();
        };
        items.open(owner.hwnd(), row);
    };
    dialog.build(false);
    ASSERT_TRUE(pumpUntil([&] { return dialog.controller().state() == MainController::State::Ready; }));
    ASSERT_TRUE(pumpUntil([&] { return !dialog.controller().backgroundWorkRunning(); }));
    ASSERT_EQ(dialog.controller().targets().size(), 1u);
    EXPECT_EQ(dialog.controller().targets()[0]->found, 2);

    // The context menu offers the command on the row; choosing it opens the
    // window with the row's items.
    s::gui::menu::MenuModel model(&app.lang());
    s::gui::menu::MenuItem* menu = dialog.controller().contextMenu(0, model);
    ASSERT_NE(menu, nullptr);
    const s::gui::menu::MenuItem* show = model.find(command::kShowItems);
    ASSERT_NE(show, nullptr);
    EXPECT_TRUE(show->enabled);
    dialog.controller().rowCommand(command::kShowItems, 0);
    ASSERT_TRUE(items.isOpen());
    EXPECT_TRUE(IsWindowVisible(items.hwnd()));
    EXPECT_EQ(GetWindow(items.hwnd(), GW_OWNER), dialog.hwnd());
    HWND list = items.control(ItemsWindow::Control::List);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);

    // The Modified column shows each file's last-write time as the user's
    // formats show it, and sorts by it.
    const int modified = static_cast<int>(ItemRows::Column::Modified);
    items.rows().sortByColumn(modified, s::gui::list::SortDirection::Ascending);
    const std::wstring older = s::str::toWide(localFileTimeText(kOlder));
    const std::wstring newer = s::str::toWide(localFileTimeText(kNewer));
    ASSERT_FALSE(older.empty());
    EXPECT_NE(older, newer);
    EXPECT_EQ(listCell(list, 0, 0), s::str::toWide(scratch.join(u"junk\\b.tmp").view()));
    EXPECT_EQ(listCell(list, 0, modified), older);
    EXPECT_EQ(listCell(list, 1, 0), s::str::toWide(scratch.join(u"junk\\a.tmp").view()));
    EXPECT_EQ(listCell(list, 1, modified), newer);

    // Typing into the filter box narrows the list view itself.
    SetWindowTextW(items.control(ItemsWindow::Control::Filter), L"A.TMP");
    ASSERT_TRUE(pumpUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));
    ASSERT_EQ(items.rows().rowCount(), 1);
    s::str::strbuffer::StrBuffer path;
    items.rows().cellText(0, 0, path);
    EXPECT_EQ(path.toU16String(), scratch.join(u"junk\\a.tmp").toU16String());

    // Unchecked, kept with the button: stored, gone from the window, and
    // the row measured again on the worker while the window stays usable.
    ASSERT_TRUE(items.rows().toggleCheck(0));
    SetWindowTextW(items.control(ItemsWindow::Control::Filter), L"");
    SendMessageW(items.control(ItemsWindow::Control::Keep), BM_CLICK, 0, 0);
    const UserKeepList stored = readKeepList(app.settings());
    ASSERT_EQ(stored.entries().size(), 1u);
    EXPECT_EQ(stored.entries()[0].type, KeepEntryType::File);
    EXPECT_EQ(stored.find(scratch.join(u"junk\\a.tmp").view()), 0);
    EXPECT_EQ(items.rows().rowCount(), 1) << "only b.tmp is left to delete";
    ASSERT_TRUE(pumpUntil([&] {
        return dialog.controller().state() == MainController::State::Ready &&
               dialog.controller().targets().size() == 1 && dialog.controller().targets()[0]->found == 1;
    })) << "the row measured again";
    EXPECT_EQ(dialog.controller().targets()[0]->size, 3);
    EXPECT_EQ(narrow(shown::statusText(dialog)), "3 B  (1  Items)");

    g_owner = dialog.hwnd();
    g_boxesClosed = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeBoxes);
    dialog.controller().pressCleanButton();
    ASSERT_TRUE(pumpUntil([&] {
        return dialog.controller().state() == MainController::State::Ready && g_boxesClosed > 0;
    })) << "the clean run ends with its message";
    KillTimer(nullptr, timer);
    EXPECT_TRUE(exists(u"junk\\a.tmp")) << "kept";
    EXPECT_FALSE(exists(u"junk\\b.tmp"));

    // Opened again (the clean's message closed every window the main window
    // owns): nothing is left to delete, the kept file is not listed.
    dialog.controller().rowCommand(command::kShowItems, 0);
    ASSERT_TRUE(items.isOpen());
    EXPECT_EQ(SendMessageW(items.control(ItemsWindow::Control::List), LVM_GETITEMCOUNT, 0, 0), 0);

    // Where the window was is stored when it closes.
    SetWindowPos(items.hwnd(), nullptr, 123, 77, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(items.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(items.isOpen());
    EXPECT_EQ(app.settings().getS32(u"ItemsWindow\\View", u"X", 0), 123);
    EXPECT_EQ(app.settings().getS32(u"ItemsWindow\\View", u"Width", 0), 500);
}

TEST_F(ItemsWindowUse, TheKeepListWindowShowsAnItemKeptInTheItemsWindowAndRemovingItMeasuresTheRowAgain)
{
    // Wired as the program wires the two windows.
    Dialog dialog(app, *frame, nullptr, builder());
    KeepListWindow keepList(app);
    ItemsWindow items(app);
    dialog.showItems = [&items, &keepList](Dialog& owner, TimeRecord& row) {
        items.onKept = [&owner, &keepList] {
            keepList.reload();
            owner.controller().keepListChanged();
        };
        items.open(owner.hwnd(), row);
    };
    dialog.showKeepList = [&keepList](Dialog& owner) {
        keepList.onChanged = [&owner] {
            owner.controller().keepListChanged();
        };
        keepList.open(owner.hwnd());
    };
    dialog.build(false);
    const auto found = [&](int64_t count) {
        return pumpUntil([&] {
            return dialog.controller().state() == MainController::State::Ready &&
                   !dialog.controller().backgroundWorkRunning() && dialog.controller().targets().size() == 1 &&
                   dialog.controller().targets()[0]->found == count;
        });
    };
    ASSERT_TRUE(found(2));

    // The View menu offers the window; its command opens it, owned by the
    // main window, with the (empty) stored list.
    ASSERT_NE(dialog.controller().menus().find(command::kKeepList), nullptr);
    dialog.controller().command(command::kKeepList);
    ASSERT_TRUE(keepList.isOpen());
    EXPECT_TRUE(IsWindowVisible(keepList.hwnd()));
    EXPECT_EQ(GetWindow(keepList.hwnd(), GW_OWNER), dialog.hwnd());
    HWND list = keepList.control(KeepListWindow::Control::List);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);

    // Kept in the items window while the keep list window is open: it shows
    // there at once, with its type and today's date.
    dialog.controller().rowCommand(command::kShowItems, 0);
    ASSERT_TRUE(items.isOpen());
    ASSERT_EQ(items.rows().rowCount(), 2);
    items.rows().sortByColumn(0, s::gui::list::SortDirection::Ascending);
    ASSERT_TRUE(items.rows().toggleCheck(0));  // a.tmp
    SendMessageW(items.control(ItemsWindow::Control::Keep), BM_CLICK, 0, 0);
    ASSERT_TRUE(found(1));
    ASSERT_TRUE(pumpUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000));
    s::str::strbuffer::StrBuffer cell;
    keepList.rows().cellText(0, 0, cell);
    EXPECT_EQ(cell.toUtf8(), "File");
    keepList.rows().cellText(0, 1, cell);
    EXPECT_EQ(cell.toU16String(), scratch.join(u"junk\\a.tmp").toU16String());
    keepList.rows().cellText(0, 2, cell);
    EXPECT_EQ(cell.toU16String(), localDateTimeText(readKeepList(app.settings()).entries()[0].added));
    EXPECT_FALSE(cell.isEmpty());

    // "Add Pattern...": the form's boxes, OK; stored, listed, and the row
    // measured again without b.tmp.
    SendMessageW(keepList.control(KeepListWindow::Control::AddPattern), BM_CLICK, 0, 0);
    ASSERT_EQ(keepList.form(), KeepListWindow::Form::Pattern);
    EXPECT_TRUE(IsWindowVisible(keepList.control(KeepListWindow::Control::Browse)));
    SetWindowTextW(keepList.control(KeepListWindow::Control::FirstBox),
                   reinterpret_cast<const wchar_t*>(scratch.join(u"junk").c_str()));
    SetWindowTextW(keepList.control(KeepListWindow::Control::SecondBox), L"b.*");
    SendMessageW(keepList.control(KeepListWindow::Control::Ok), BM_CLICK, 0, 0);
    EXPECT_EQ(keepList.form(), KeepListWindow::Form::None);
    EXPECT_FALSE(IsWindowVisible(keepList.control(KeepListWindow::Control::FirstBox)));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    ASSERT_TRUE(found(0));

    // "Add Registry..." with a key that is none: refused, the form stays.
    SendMessageW(keepList.control(KeepListWindow::Control::AddRegistry), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(keepList.control(KeepListWindow::Control::Browse)));
    SetWindowTextW(keepList.control(KeepListWindow::Control::FirstBox), L"Software\\Nowhere");
    SendMessageW(keepList.control(KeepListWindow::Control::Ok), BM_CLICK, 0, 0);
    EXPECT_EQ(keepList.form(), KeepListWindow::Form::Registry);
    EXPECT_EQ(readKeepList(app.settings()).entries().size(), 2u);

    // A key's default value: "Default value" checked takes the name box out
    // of use; the entry is a value without a name, shown as "(Default)".
    HWND name = keepList.control(KeepListWindow::Control::SecondBox);
    EXPECT_TRUE(IsWindowVisible(keepList.control(KeepListWindow::Control::DefaultValue)));
    EXPECT_TRUE(IsWindowEnabled(name));
    SendMessageW(keepList.control(KeepListWindow::Control::DefaultValue), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(name));
    SetWindowTextW(keepList.control(KeepListWindow::Control::FirstBox), L"HKCU\\Software\\PurgoTestTool");
    SendMessageW(keepList.control(KeepListWindow::Control::Ok), BM_CLICK, 0, 0);
    EXPECT_EQ(keepList.form(), KeepListWindow::Form::None);
    const UserKeepList withValue = readKeepList(app.settings());
    ASSERT_EQ(withValue.entries().size(), 3u);
    EXPECT_EQ(withValue.entries()[2].type, KeepEntryType::Value);
    EXPECT_EQ(withValue.entries()[2].path, u"HKEY_CURRENT_USER\\Software\\PurgoTestTool");
    EXPECT_TRUE(withValue.entries()[2].name.empty());
    EXPECT_EQ(narrow(listCell(list, 2, 1)), "HKEY_CURRENT_USER\\Software\\PurgoTestTool\\(Default)");
    // Opened again, the form starts with the box clear.
    SendMessageW(keepList.control(KeepListWindow::Control::AddRegistry), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(name));
    EXPECT_EQ(SendMessageW(keepList.control(KeepListWindow::Control::DefaultValue), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(keepList.control(KeepListWindow::Control::Cancel), BM_CLICK, 0, 0);

    // All checked and removed: the store is empty and the row finds both
    // files again.
    ASSERT_TRUE(keepList.rows().toggleCheck(0));
    ASSERT_TRUE(keepList.rows().toggleCheck(1));
    ASSERT_TRUE(keepList.rows().toggleCheck(2));
    SendMessageW(keepList.control(KeepListWindow::Control::Remove), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(readKeepList(app.settings()).isEmpty());
    ASSERT_TRUE(found(2)) << "the row measured again";

    // Where the window was is stored when it closes.
    SetWindowPos(keepList.hwnd(), nullptr, 111, 66, 520, 310, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(keepList.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(keepList.isOpen());
    EXPECT_EQ(app.settings().getS32(u"KeepListWindow\\View", u"X", 0), 111);
    EXPECT_EQ(app.settings().getS32(u"KeepListWindow\\View", u"Width", 0), 520);
    SendMessageW(items.hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
