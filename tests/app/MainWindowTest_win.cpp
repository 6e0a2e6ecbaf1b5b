// The main window under Wine, over a tree of its own: two groups of files in
// a scratch folder (one with files, one empty) and a custom group. The test
// runs from C:\purgo-test-window\ (copied there by the CTest fixture) so that
// the settings file lies beside it on a drive.
#include "app/editor/Custom_win.h"
#include "app/main/MainMenus.h"
#include "app/main/MainWindow_win.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "app/start/StartupRules.h"
#include "catalogue/CustomGroups.h"
#include "engine/TimeRecord.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"
#include "tests/app/MainWindowTexts_win.h"
#include "tests/support/MessagePump_win.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WholeFile.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::app::win::AppBase;
using s::app::win::AppWindow;

constexpr wchar_t kSettings[] = L"C:\\purgo-test-window\\savedata\\SaveData.xml";

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

// The system dialog (#32770) of this thread that Browse opened: a thread
// timer answers it from inside the dialog's own loop, typing `choice` into
// its file name box and pressing OK, or cancelling when there is none.
std::wstring g_choice;
int g_dialogsAnswered = 0;

BOOL CALLBACK findEdit(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == L"Edit" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK answerDialog(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(window))
                return TRUE;
            HWND edit = nullptr;
            EnumChildWindows(window, findEdit, reinterpret_cast<LPARAM>(&edit));
            if (!g_choice.empty() && edit) {
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_choice.c_str()));
                PostMessageW(window, WM_COMMAND, IDOK, 0);
            } else {
                PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            }
            ++g_dialogsAnswered;
            return FALSE;
        },
        0);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testing_platform::writeWholeFile(kSettings,
                                                     "<savedata><Version>1.25</Version>"
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
        for (int row = 0; row < dialog.controller().list().rowCount(); ++row)
            out += (out.empty() ? "" : ", ") + dialog.controller().list().record(row)->title.toUtf8();
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
    EXPECT_EQ(narrow(shown::statusText(dialog)), "Collecting Information...");
    ASSERT_TRUE(pumpUntil([&] { return dialog.controller().state() == MainController::State::Ready; }))
        << "the collect run ends";

    EXPECT_EQ(titles(dialog), "Sandbox files") << "only related groups while \"Show only Related\" is on";
    EXPECT_EQ(narrow(shown::statusText(dialog)), "18 B  (4  Items)");
    EXPECT_EQ(narrow(shown::cleanButtonText(dialog)), "Clean Now!  (18 B) (4)");

    dialog.controller().setShowOnlyRelated(false);
    EXPECT_EQ(titles(dialog), "Sandbox files, Empty folder");
    EXPECT_FALSE(app.settings().getBool(u"MainWindow\\View", u"ShowOnlyRelated", true));
    dialog.controller().setShowOnlyRelated(true);
    EXPECT_EQ(titles(dialog), "Sandbox files");

    // Unchecking the group through its context-menu command empties the
    // selection; Select All checks it again.
    dialog.controller().list().toggleCheck(0);
    dialog.controller().command(command::kSelectAll);
    EXPECT_EQ(narrow(shown::cleanButtonText(dialog)), "Clean Now!  (18 B) (4)");
    dialog.controller().command(command::kDeselectAll);
    EXPECT_EQ(narrow(shown::cleanButtonText(dialog)), "Clean Now!  (0 B) (0)");
    dialog.controller().command(command::kSelectAll);

    g_owner = dialog.hwnd();
    g_boxesClosed = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeBoxes);
    dialog.controller().pressCleanButton();
    ASSERT_TRUE(pumpUntil([&] {
        return dialog.controller().state() == MainController::State::Ready && g_boxesClosed > 0;
    })) << "the clean run ends with its message";
    KillTimer(nullptr, timer);
    EXPECT_EQ(dialog.controller().runs().lastMessage().toUtf8(),
              "4 (18 B) items have been deleted successfully.\r\n0 (0 B) items will be deleted on the next system "
              "boot.");
    EXPECT_FALSE(exists(u"junk\\a.tmp"));
    EXPECT_FALSE(exists(u"junk\\deeper\\c.tmp"));
    EXPECT_FALSE(exists(u"junk\\deeper")) << "all under the folder";
    EXPECT_TRUE(exists(u"junk")) << "but not the folder itself";
    EXPECT_EQ(narrow(shown::statusText(dialog)), "0 B  (0  Items)");

    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.controller().state(), MainController::State::Closed);
    EXPECT_EQ(app.settings().getS32(u"MainWindow\\ColumnOrder2", u"length", 0), 4);
    EXPECT_EQ(app.settings().getS32(u"MainWindow\\ColumnWidth2", u"_0", 0), 260);
    EXPECT_TRUE(app.settings().getBool(u"items\\Sandbox_Files", u"", false)) << "the checks are saved";
    EXPECT_TRUE(app.settings().exists(u"MainWindow\\View", u"Width")) << "the geometry is stored on hide";
}

TEST_F(MainWindow, ABootRunCleansSilentlyAndCloses)
{
    Dialog dialog(app, *frame, nullptr, builder());
    dialog.build(true);
    EXPECT_EQ(dialog.controller().state(), MainController::State::Closed);
    EXPECT_EQ(dialog.hwnd(), nullptr) << "the window is gone";
    EXPECT_FALSE(exists(u"junk\\b.tmp")) << "the checked group was cleaned";
    EXPECT_EQ(dialog.controller().runs().lastMessage().toUtf8(), "") << "nothing is shown";
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
    ASSERT_EQ(dialog.controller().state(), MainController::State::Collecting);
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(dialog.controller().runs().busy()) << "the close waited for the collect run";
    EXPECT_TRUE(app.settings().getBool(u"items\\Sandbox_Files", u"", false))
        << "the save saw the whole tree, checks included";
}

// --- The custom target editor, opened from the running main window -------------

class CustomEditorWindow : public MainWindow {
protected:
    // The editor the main window opens, wired as the program wires it.
    static void attachCustomEditor(Dialog& dialog, Custom& editor)
    {
        dialog.openCustomEditor = [&editor](Dialog& owner, const TimeRecord* group) {
            MainController& controller = owner.controller();
            editor.openEditor(owner.hwnd(), group,
                              [&controller](CustomEditor::Message message, const TimeRecord& edited) {
                                  if (message == CustomEditor::Message::AddNewRecord)
                                      controller.addNewRecord(edited);
                                  else
                                      controller.modifyRecord(edited);
                              });
        };
    }
    // The tree as the catalogue builds it: custom groups first, read from
    // the settings file.
    TreeBuilder builderWithCustomGroups()
    {
        return [this, sandbox = builder()](std::vector<TimeRecord*>& groups) {
            readCustomGroups(app.settings(), groups);
            sandbox(groups);
        };
    }
    static std::wstring textOf(HWND window)
    {
        wchar_t text[1024] = {};
        GetWindowTextW(window, text, 1024);
        return text;
    }
    // The user picks a type: the combo box's own selection, then the
    // notification it sends its parent.
    static void chooseType(HWND combo, EditorType type)
    {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(static_cast<int>(type) - 1), 0);
        SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    static void type(HWND box, const s::str::StrBuffer& text)
    {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static void click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
    static void selectListRow(HWND list, int row)
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    static std::string cell(HWND list, int row, int column)
    {
        wchar_t text[512] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return narrow(text);
    }
    static bool enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
    static bool visible(HWND window) { return IsWindowVisible(window) != FALSE; }
    // An editor control as the system finds it: by its child-window id, in
    // the window or in the "Clean Up Target" box.
    static HWND control(const Custom& editor, int id)
    {
        if (HWND direct = GetDlgItem(editor.hwnd(), id))
            return direct;
        return GetDlgItem(GetDlgItem(editor.hwnd(), Custom::kBox), id);
    }
    int32_t customId() { return app.settings().getS32(u"CustomItems", u"CustomID", 0); }
    // The main window with the editor attached, ready, and the editor open
    // for a new group.
    void openForNewGroup(Dialog& dialog, Custom& editor)
    {
        attachCustomEditor(dialog, editor);
        dialog.build(false);
        ASSERT_TRUE(pumpUntil([&] { return dialog.controller().state() == MainController::State::Ready; }));
        dialog.controller().command(command::kAddCustomTarget);
        ASSERT_TRUE(editor.isOpen());
    }
};

TEST_F(CustomEditorWindow, AddsAGroupModifiesItInPlaceAndTheNextStartReadsItBack)
{
    {
        Dialog dialog(app, *frame, nullptr, builderWithCustomGroups());
        Custom editor(app);
        ASSERT_NO_FATAL_FAILURE(openForNewGroup(dialog, editor));
        EXPECT_FALSE(enabled(dialog.hwnd())) << "the owner waits while the editor is open";
        EXPECT_EQ(GetWindow(editor.hwnd(), GW_OWNER), dialog.hwnd());
        EXPECT_EQ(narrow(textOf(editor.hwnd())), "Add Custom Target");
        EXPECT_EQ(narrow(textOf(control(editor, Custom::kTitle))), "001 Custom Target");
        EXPECT_EQ(narrow(textOf(control(editor, Custom::kDescription))), "Erase Custom Target");
        EXPECT_EQ(SendMessageW(control(editor, Custom::kType), CB_GETCURSEL, 0, 0), CB_ERR) << "no type yet";
        for (int action : {Custom::kTestFind, Custom::kApplyChange, Custom::kAddAsNew, Custom::kRemove})
            EXPECT_FALSE(enabled(control(editor, action)));

        chooseType(control(editor, Custom::kType), EditorType::FolderAll);
        EXPECT_TRUE(visible(control(editor, Custom::pathBoxId(EditorType::FolderAll))));
        EXPECT_TRUE(visible(control(editor, Custom::browseId(EditorType::FolderAll))));
        EXPECT_FALSE(visible(control(editor, Custom::pathBoxId(EditorType::File))));
        EXPECT_FALSE(visible(control(editor, Custom::kSubFolders)));
        EXPECT_FALSE(enabled(control(editor, Custom::kAddAsNew))) << "an empty folder box";
        type(control(editor, Custom::pathBoxId(EditorType::FolderAll)), scratch.join(u"junk\\"));
        EXPECT_TRUE(enabled(control(editor, Custom::kAddAsNew)));
        EXPECT_TRUE(enabled(control(editor, Custom::kTestFind)));

        click(control(editor, Custom::kTestFind));
        const std::string result =
            narrow(textOf(control(editor, Custom::kCounts)) + L"\n" + textOf(control(editor, Custom::kItems)));
        EXPECT_EQ(result.substr(0, result.find('\n')), "Found: 4    Size: 18 B");
        for (const char* item : {"a.tmp", "b.tmp", "deeper"})
            EXPECT_NE(result.find(item), std::string::npos) << result;
        const HWND list = control(editor, Custom::kList);
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0) << "Test-Find adds nothing";

        click(control(editor, Custom::kAddAsNew));
        ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
        EXPECT_EQ(cell(list, 0, 0), "junk");
        EXPECT_EQ(cell(list, 0, 1), "18 B");
        EXPECT_EQ(cell(list, 0, 2), "4");
        EXPECT_EQ(editor.editor().group()->child(0)->id, u"Custom_1_0");
        EXPECT_FALSE(enabled(control(editor, Custom::kApplyChange)));
        EXPECT_TRUE(enabled(control(editor, Custom::kRemove)));

        type(control(editor, Custom::kTitle), u"My junk");
        click(control(editor, Custom::kOk));
        EXPECT_FALSE(editor.isOpen());
        EXPECT_TRUE(enabled(dialog.hwnd())) << "the owner is back";
        EXPECT_EQ(customId(), 1);
        ASSERT_GT(dialog.controller().list().rowCount(), 0);
        const TimeRecord* added = dialog.controller().list().record(0);
        EXPECT_EQ(added->title, u"My junk") << "at the top: " << titles(dialog);
        EXPECT_EQ(added->found, 4);
        EXPECT_EQ(added->size, 18);
        EXPECT_TRUE(added->custom);
        EXPECT_EQ(titles(dialog), "My junk, Sandbox files");

        // "Modify Target Items..." works on a copy; the row keeps its place.
        dialog.openCustomEditor(dialog, added);
        ASSERT_TRUE(editor.isOpen());
        EXPECT_EQ(narrow(textOf(editor.hwnd())), "Modify Custom Target");
        selectListRow(control(editor, Custom::kList), 0);
        const HWND combo = control(editor, Custom::kType);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2) << "the row's type";
        EXPECT_EQ(textOf(control(editor, Custom::pathBoxId(EditorType::FolderAll))),
                  reinterpret_cast<const wchar_t*>(scratch.join(u"junk").c_str()));
        EXPECT_FALSE(enabled(control(editor, Custom::kApplyChange))) << "until the form changes";
        chooseType(combo, EditorType::FolderFiles);
        type(control(editor, Custom::pathBoxId(EditorType::FolderFiles)), scratch.join(u"junk"));
        EXPECT_TRUE(enabled(control(editor, Custom::kApplyChange)));
        click(control(editor, Custom::kApplyChange));
        EXPECT_EQ(cell(control(editor, Custom::kList), 0, 2), "2") << "the files directly in it";
        EXPECT_EQ(added->child(0)->kind, Type_Folder_All_Levels) << "the main tree waits for OK";
        click(control(editor, Custom::kOk));
        EXPECT_EQ(customId(), 1) << "a modified group takes no number";
        EXPECT_EQ(titles(dialog), "My junk, Sandbox files");
        const TimeRecord* modified = dialog.controller().list().record(0);
        ASSERT_EQ(modified->childCount(), 1u);
        EXPECT_EQ(modified->child(0)->kind, Type_Folder_1_Level);
        EXPECT_EQ(modified->child(0)->id, u"Custom_1_0");
        EXPECT_EQ(modified->found, 2);
        EXPECT_EQ(modified->size, 15);
        SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(app.settings().exists(u"CustomTargetWindow\\View", u"Width")) << "the editor's geometry";
    }

    // The next start reads the group back from the settings file.
    Dialog again(app, *frame, nullptr, builderWithCustomGroups());
    again.build(false);
    ASSERT_TRUE(pumpUntil([&] { return again.controller().state() == MainController::State::Ready; }));
    EXPECT_EQ(titles(again), "My junk, Sandbox files");
    const TimeRecord* read = again.controller().list().record(0);
    ASSERT_EQ(read->childCount(), 1u);
    EXPECT_EQ(read->child(0)->kind, Type_Folder_1_Level);
    EXPECT_EQ(read->child(0)->target, scratch.join(u"junk"));
    EXPECT_EQ(read->found, 2);
    SendMessageW(again.hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(CustomEditorWindow, CancelAndTheCloseBoxLeaveTheNumberAndTheList)
{
    Dialog dialog(app, *frame, nullptr, builderWithCustomGroups());
    Custom editor(app);
    attachCustomEditor(dialog, editor);
    dialog.build(false);
    ASSERT_TRUE(pumpUntil([&] { return dialog.controller().state() == MainController::State::Ready; }));

    const std::size_t spares = s::thread::Pool<TimeRecord>::pooler().spareCount();
    enum class Closing { Cancel, CloseBox, Escape };
    for (Closing close : {Closing::Cancel, Closing::CloseBox, Closing::Escape}) {
        SCOPED_TRACE(static_cast<int>(close));
        dialog.controller().command(command::kAddCustomTarget);
        ASSERT_TRUE(editor.isOpen());
        EXPECT_EQ(narrow(textOf(control(editor, Custom::kTitle))), "001 Custom Target") << "the same number again";
        const HWND combo = control(editor, Custom::kType);

        // Everything under a key: the warning shows, and a bare root is refused.
        chooseType(combo, EditorType::KeyAll);
        EXPECT_TRUE(visible(control(editor, Custom::kWarning)));
        EXPECT_EQ(narrow(textOf(control(editor, Custom::kWarning))), "(*Be Very Careful!*)");
        type(control(editor, Custom::pathBoxId(EditorType::KeyAll)), u"HKEY_CURRENT_USER");
        EXPECT_FALSE(enabled(control(editor, Custom::kAddAsNew)));
        type(control(editor, Custom::pathBoxId(EditorType::KeyAll)),
             u"HKEY_CURRENT_USER\\Software\\OxlePurgoEditorTest");
        EXPECT_TRUE(enabled(control(editor, Custom::kAddAsNew)));

        // The panels keep their text: the extension panel and back.
        chooseType(combo, EditorType::Extension);
        EXPECT_FALSE(visible(control(editor, Custom::kWarning)));
        EXPECT_TRUE(visible(control(editor, Custom::kExtension)));
        EXPECT_TRUE(visible(control(editor, Custom::kSubFolders)));
        wchar_t hint[64] = {};
        SendMessageW(control(editor, Custom::kExtension), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 64);
        EXPECT_EQ(narrow(hint), "e.g. jpg") << "the hint in the empty box";
        EXPECT_FALSE(enabled(control(editor, Custom::kAddAsNew)));
        chooseType(combo, EditorType::RegistryValue);
        EXPECT_EQ(narrow(textOf(control(editor, Custom::kValueName))), "(Default)");
        chooseType(combo, EditorType::KeyAll);
        EXPECT_EQ(narrow(textOf(control(editor, Custom::pathBoxId(EditorType::KeyAll)))),
                  "HKEY_CURRENT_USER\\Software\\OxlePurgoEditorTest");
        click(control(editor, Custom::kAddAsNew));
        EXPECT_EQ(editor.editor().group()->childCount(), 1u);

        switch (close) {
        case Closing::Cancel:
            click(control(editor, Custom::kCancel));
            break;
        case Closing::CloseBox:
            SendMessageW(editor.hwnd(), WM_CLOSE, 0, 0);
            break;
        case Closing::Escape:
            // Keys reach the window through the owner's loop: Tab moves the
            // focus on, Escape cancels.
            SetFocus(control(editor, Custom::kTitle));
            PostMessageW(control(editor, Custom::kTitle), WM_KEYDOWN, VK_TAB, 0);
            pumpUntil([] { return false; }, 200);
            EXPECT_EQ(GetFocus(), control(editor, Custom::kDescription)) << "Tab";
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            pumpUntil([&] { return !editor.isOpen(); }, 2000);
            break;
        }
        EXPECT_FALSE(editor.isOpen());
        EXPECT_TRUE(enabled(dialog.hwnd()));
        EXPECT_EQ(customId(), 0);
        EXPECT_EQ(titles(dialog), "Sandbox files");
        EXPECT_EQ(s::thread::Pool<TimeRecord>::pooler().spareCount(), spares) << "the group and its target went back";
    }
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(CustomEditorWindow, BrowseFillsTheBoxWithWhatTheSystemDialogChose)
{
    Dialog dialog(app, *frame, nullptr, builderWithCustomGroups());
    Custom editor(app);
    ASSERT_NO_FATAL_FAILURE(openForNewGroup(dialog, editor));
    const HWND combo = control(editor, Custom::kType);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, answerDialog);

    chooseType(combo, EditorType::File);
    g_dialogsAnswered = 0;
    g_choice.clear();
    click(control(editor, Custom::browseId(EditorType::File)));
    EXPECT_EQ(g_dialogsAnswered, 1) << "the file dialog opened";
    EXPECT_EQ(textOf(control(editor, Custom::pathBoxId(EditorType::File))), L"") << "cancelled: nothing chosen";

    const s::str::StrBuffer file = scratch.join(u"junk\\a.tmp");
    g_choice = reinterpret_cast<const wchar_t*>(file.c_str());
    click(control(editor, Custom::browseId(EditorType::File)));
    EXPECT_EQ(g_dialogsAnswered, 2);
    EXPECT_EQ(textOf(control(editor, Custom::pathBoxId(EditorType::File))), g_choice);
    EXPECT_TRUE(enabled(control(editor, Custom::kAddAsNew))) << "the form was checked";

    chooseType(combo, EditorType::FolderFiles);
    g_choice.clear();
    click(control(editor, Custom::browseId(EditorType::FolderFiles)));
    EXPECT_EQ(g_dialogsAnswered, 3) << "the folder dialog opened";
    EXPECT_EQ(textOf(control(editor, Custom::pathBoxId(EditorType::FolderFiles))), L"");
    KillTimer(nullptr, timer);
    click(control(editor, Custom::kCancel));
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
}

TEST_F(CustomEditorWindow, OpensOnlyOnceTheListIsFilled)
{
    TreeBuilder slow = [inner = builderWithCustomGroups()](std::vector<TimeRecord*>& groups) {
        Sleep(1000);
        inner(groups);
    };
    Dialog dialog(app, *frame, nullptr, slow);
    Custom editor(app);
    attachCustomEditor(dialog, editor);
    dialog.build(false);
    ASSERT_EQ(dialog.controller().state(), MainController::State::Collecting);
    dialog.controller().command(command::kAddCustomTarget);
    EXPECT_FALSE(editor.isOpen()) << "the collect run still adds groups";
    EXPECT_TRUE(enabled(dialog.hwnd()));
    ASSERT_TRUE(pumpUntil([&] { return dialog.controller().state() == MainController::State::Ready; }));
    dialog.controller().command(command::kAddCustomTarget);
    EXPECT_TRUE(editor.isOpen());
    click(control(editor, Custom::kCancel));
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
