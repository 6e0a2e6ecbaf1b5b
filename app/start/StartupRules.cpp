#include "app/start/StartupRules.h"

#include <algorithm>

#include "base/StrBuffer.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/Screens.h"

namespace s::app::win {

namespace {

bool equalsFolded(std::u16string_view a, std::u16string_view b)
{
    return s::str::strbuffer::StrBuffer::compareFolded(a, b) == 0;
}

}  // namespace

StartMode startModeOf(const s::process::commandline::win::CommandLine& line)
{
    if (line.hasSwitch(u"-uninstall"))
        return StartMode::Uninstall;
    if (line.hasSwitch(u"-startup"))
        return StartMode::BootRun;
    return StartMode::Interactive;
}

int scaleFactorFor(int screenWidth, int screenHeight, int dpi)
{
    if ((screenWidth >= 4097 && screenHeight >= 3240) || dpi >= 4 * 96)
        return 4;
    if ((screenWidth >= 1921 && screenHeight >= 1620) || dpi >= 2 * 96)
        return 2;
    return 1;
}

int scaleFactor()
{
    static const int scale = [] {
        s::platform::IScreens& screens = s::platform::screens();
        const s::platform::ScreenRect screen = screens.primary();
        return scaleFactorFor(screen.width, screen.height, screens.dpi());
    }();
    return scale;
}

s::gui::Scale displayScaleFor(int screenWidth, int screenHeight, int dpi)
{
    const int step = scaleFactorFor(screenWidth, screenHeight, dpi);
    return s::gui::Scale::ofDpi(std::max(step * s::gui::Scale::kBaseDpi, dpi));
}

s::gui::Scale displayScale()
{
    static const s::gui::Scale scale = [] {
        s::platform::IScreens& screens = s::platform::screens();
        const s::platform::ScreenRect screen = screens.primary();
        return displayScaleFor(screen.width, screen.height, screens.dpi());
    }();
    return scale;
}

std::u16string_view viewSectionFor(int scale)
{
    if (scale >= 4)
        return u"View8K";
    if (scale == 2)
        return u"View4K";
    return u"View";
}

bool OsVersion::supported() const
{
    if (!nt)
        return false;
    return (major == 5 && (minor == 1 || minor == 2)) || major >= 6;
}

OsVersion osVersionFrom(const s::platform::SystemFacts& facts)
{
    OsVersion version;
    version.major = facts.majorVersion;
    version.minor = facts.minorVersion;
    version.build = facts.buildNumber;
    version.nt = facts.nt;
    version.wow64 = facts.wow64;
    version.servicePack = facts.servicePack;
    return version;
}

const OsVersion& osVersion()
{
    // A function-local static is initialised once, under the compiler's own
    // lock; later readers take it without one.
    static const OsVersion version = osVersionFrom(s::platform::systemFacts());
    return version;
}

std::u16string bootEntryName(s::lang::Localizer& localizer)
{
    std::u16string name(localizer.englishText(s::lang::ids::kProductName).view());
    name += u' ';
    name += localizer.text(s::lang::ids::kVersionText).view();
    return name;
}

bool versionChangeOpensPage(std::u16string_view stored, std::u16string_view current)
{
    if (equalsFolded(stored, current))
        return false;
    const std::size_t dot = current.rfind(u'.');
    return dot != std::u16string_view::npos && current.size() - dot - 1 == 2;
}

}  // namespace s::app::win
