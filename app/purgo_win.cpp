// purgo.exe: the program's start, then the main window until it is closed.
#include "app/Custom_win.h"
#include "app/MainWindow_win.h"
#include "app/ProgramStart_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return s::app::win::runProgram([](s::app::win::StartedProgram& started) {
        s::file::gui::dialogs::purgo::Dialog dialog(started.app, started.frame, started.pictures.icon.get());
        s::file::gui::dialogs::Custom editor(started.app);
        s::file::gui::dialogs::attachCustomEditor(dialog, editor);
        dialog.build(started.bootRun);
        dialog.runMessageLoop();
    });
}
