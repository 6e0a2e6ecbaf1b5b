// purgo.exe: the program's start, then the main window until it is closed.
#include "app/about/About3_win.h"
#include "app/about/UpdateCheck_win.h"
#include "app/editor/Custom_win.h"
#include "app/items/ItemsWindow_win.h"
#include "app/keep/KeepListWindow_win.h"
#include "app/main/MainWindow_win.h"
#include "app/start/ProgramStart_win.h"
#include "app/start/StartupRules.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return s::app::win::runProgram([](s::app::win::StartedProgram& started) {
        s::file::gui::dialogs::purgo::Dialog dialog(started.app, started.frame, started.pictures.icon.get());
        dialog.setSmallIcon(started.pictures.smallIcon.get());
        s::file::gui::dialogs::Custom editor(started.app);
        // "Add Custom Target..." and "Modify Target Items..." open the
        // editor (the controller asks only while the list is ready); its
        // results go back to the controller as copies.
        dialog.openCustomEditor = [&editor](s::file::gui::dialogs::purgo::Dialog& owner,
                                            const s::file::gui::dialogs::purgo::TimeRecord* group) {
            auto& controller = owner.controller();
            editor.openEditor(owner.hwnd(), group,
                              [&controller](s::file::gui::dialogs::CustomEditor::Message message,
                                            const s::file::gui::dialogs::purgo::TimeRecord& edited) {
                                  if (message == s::file::gui::dialogs::CustomEditor::Message::AddNewRecord)
                                      controller.addNewRecord(edited);
                                  else
                                      controller.modifyRecord(edited);
                              });
        };
        // "Show Items..." lists the row's items; what the user keeps there
        // is measured again by the controller.
        // View → "Keep List..." shows the stored list; its changes, and what
        // the items window keeps, reach both the other window and the rows.
        s::file::gui::dialogs::purgo::KeepListWindow keepList(started.app);
        s::file::gui::dialogs::purgo::ItemsWindow items(started.app);
        dialog.showItems = [&items, &keepList](s::file::gui::dialogs::purgo::Dialog& owner,
                                               s::file::gui::dialogs::purgo::TimeRecord& row) {
            items.onKept = [&owner, &keepList] {
                keepList.reload();
                owner.controller().keepListChanged();
            };
            items.open(owner.hwnd(), row);
        };
        dialog.showKeepList = [&keepList](s::file::gui::dialogs::purgo::Dialog& owner) {
            keepList.onChanged = [&owner] {
                owner.controller().keepListChanged();
            };
            keepList.open(owner.hwnd());
        };
        s::gui::dialogs::About3 about(started.app.lang(), started.app.settings(), s::app::win::displayScale(),
                                      [&started](int32_t id) { started.app.openPage(id); });
        dialog.showVersionInformation = [&about](s::file::gui::dialogs::purgo::Dialog& window) {
            about.show(window.hwnd());
        };
        // The update check waits on the network: beside a window on a worker
        // of its own; after a boot run (no window left to keep answering)
        // on this thread.
        s::app::win::BackgroundUpdateCheck updateCheck(started.app);
        dialog.afterBuild = [&started, &updateCheck](s::file::gui::dialogs::purgo::Dialog& window) {
            if (window.hwnd())
                updateCheck.start(window.hwnd(), window.closures(), s::app::win::displayScale());
            else
                s::app::win::checkForUpdate(started.app, nullptr, s::app::win::displayScale());
        };
        dialog.build(started.bootRun);
        dialog.runMessageLoop();
    });
}
