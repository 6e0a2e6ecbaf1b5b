#include "app/start/ProgramStart_win.h"

#include "app/start/StartupRules.h"
#include "app/start/StartupSteps.h"
#include "gui/Skinner.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

namespace s::app::win {

namespace {

constexpr int kIconGroup = 128;

// OLE for the shell's dialogs and drag and drop, and the process's COM
// security before any interface is used: packet-level authentication,
// impersonation allowed, no capabilities.
class OleScope {
public:
    OleScope() : m_ready(SUCCEEDED(OleInitialize(nullptr)))
    {
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                             EOAC_NONE, nullptr);
    }
    ~OleScope()
    {
        if (m_ready)
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool m_ready;
};

std::u16string_view processCommandLine()
{
    return reinterpret_cast<const char16_t*>(GetCommandLineW());
}

}  // namespace

int runProgram(const MainWindowRun& runMainWindow)
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
    InitCommonControlsEx(&controls);

    s::gui::drawer::Skinner skins;
    OleScope ole;
    AppBase app;
    app.initialise(processCommandLine(), &skins);

    ProgramPictures pictures;
    pictures.icon = s::image::loadIcon(kIconGroup, GetSystemMetrics(SM_CXICON));
    pictures.smallIcon = s::image::loadIcon(kIconGroup, 16 * displayScale());

    AppWindow frame = AppWindow::mainWindow(displayScale(), app.settings());
    recordVersionUnder(app.settings(), frame.windowName(), app.lang());

    const StartDecision decision = decideStart(app, osVersion());
    if (decision == StartDecision::End)
        return 0;
    StartedProgram started{app, frame, pictures, decision == StartDecision::BootRun};
    runMainWindow(started);
    return 0;
}

}  // namespace s::app::win
