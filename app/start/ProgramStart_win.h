// The program's start and end on Windows: the common controls, OLE and the
// process's COM security, the application object and its pictures, the main
// window's frame, the decisions of the command line, and then the main
// window, handed over as a function so that this file does not depend on it.
#pragma once

#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "image/Image.h"
#include "image/ProgramImages_win.h"

#include <functional>

namespace s::app::win {

// The program's own pictures: the banner ("IDR_JPG" 131, 700 × 230), the
// upright picture (132, 230 × 700) and the application icon (group 128) at
// the system's icon size. Empty when a resource is missing or damaged.
//
// The two pictures are decoded when a window first asks for them, not at the
// start: decoding loads WIC and its JPEG decoder into the process and holds
// 630 KB of pixels each, and the main window shows neither.
class ProgramPictures {
public:
    const s::image::Image& banner() const { return decoded(m_banner, m_bannerRead, kBannerId); }
    const s::image::Image& upright() const { return decoded(m_upright, m_uprightRead, kUprightId); }

    s::image::IconHandle icon;
    // The same at the small icon size (title bar, taskbar, Alt+Tab lists).
    s::image::IconHandle smallIcon;

private:
    static constexpr int kBannerId = 131;
    static constexpr int kUprightId = 132;

    static const s::image::Image& decoded(s::image::Image& image, bool& read, int id)
    {
        if (!read) {
            image = s::image::loadPicture(id);
            read = true;
        }
        return image;
    }

    mutable s::image::Image m_banner;
    mutable s::image::Image m_upright;
    mutable bool m_bannerRead = false;
    mutable bool m_uprightRead = false;
};

// What the main window gets: the prepared application, the main window's
// frame, the pictures, and whether this is the silent run at logon.
struct StartedProgram {
    AppBase& app;
    AppWindow& frame;
    const ProgramPictures& pictures;
    bool bootRun;
};

// Builds and runs the main window until it is closed (a boot run: until the
// silent clean is done).
using MainWindowRun = std::function<void(StartedProgram&)>;

// The whole program. Returns the process's exit code (0) once the main
// window has run, or at once when the start ends early: an unsupported
// Windows, "-uninstall", or a copy already running.
int runProgram(const MainWindowRun& runMainWindow);

}  // namespace s::app::win
