// The start-up's decisions, as plain functions of what the machine and the
// settings say, so that the window code only has to act on their answers.
#pragma once

#include "app/start/CommandLine.h"
#include "gui/Scale.h"
#include "platform/SystemInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace s::lang {
class Localizer;
}

namespace s::app::win {

// What the command line asks for: "-startup" cleans silently at logon,
// "-uninstall" only removes the boot registration (and wins when both are
// given, in either order). Other arguments are ignored.
enum class StartMode : std::uint8_t { Interactive, BootRun, Uninstall };
StartMode startModeOf(const s::process::commandline::win::CommandLine& line);

// 4 from 4097 × 3240 on, 2 from 1921 × 1620 on, else 1.
// A user's display setting of 200 % or 400 % asks for the same steps (a
// 2560 × 1440 laptop screen at 200 %).
int scaleFactorFor(int screenWidth, int screenHeight, int dpi = 96);
// The primary screen's, computed on first use.
int scaleFactor();
// The windows' scale on a screen: the whole step above, or the density the
// user's display setting asks for where it is more (150 % on a 1920 × 1080
// screen draws at 1.5×, 150 % on a 3840 × 2160 screen stays at 2×).
s::gui::Scale displayScaleFor(int screenWidth, int screenHeight, int dpi);
// The primary screen's, computed on first use: a window's scale until it
// learns its own screen's.
s::gui::Scale displayScale();
// The settings section of a frame's position and size at a scale: "View" at
// 1 (and 3), "View4K" at 2, "View8K" at 4 and above.
std::u16string_view viewSectionFor(int scale);

// The OS version record.
struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    bool nt = false;
    bool wow64 = false;
    std::u16string servicePack;  // at most 256 characters

    bool vistaOrLater() const { return major >= 6; }
    bool win7OrLater() const { return major > 6 || (major == 6 && minor > 0); }
    bool major10OrLater() const { return major > 9; }
    // NT 5.1 (XP), NT 5.2 (Server 2003, XP x64) and everything from 6.0 on.
    bool supported() const;
};

// The record of the platform's facts (platform/SystemInfo.h, where the
// version is chosen from the system's queries).
OsVersion osVersionFrom(const s::platform::SystemFacts& facts);
// The running system's, computed on first use.
const OsVersion& osVersion();

// The name of the boot registration: the English product name (500000), a
// space, the current language's version text (500010): "Oxle Purgo 1.25".
std::u16string bootEntryName(s::lang::Localizer& localizer);

// A new version opens the software page once: when the stored "Version"
// differs (ignoring case) from the program's and the program's has exactly
// two characters after its last dot ("1.25").
bool versionChangeOpensPage(std::u16string_view stored, std::u16string_view current);

}  // namespace s::app::win
