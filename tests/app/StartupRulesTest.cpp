// The start-up's decisions: the command line and its switches, the scale and
// the view sections, the OS version record, the boot entry name, the
// version-change rule and the frames' geometry.
#include "app/start/StartupRules.h"
#include "app/start/AppWindow.h"
#include "app/start/CommandLine.h"
#include "app/start/WindowGeometry.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/FileIo.h"
#include "platform/Resources.h"
#include "platform/Screens.h"
#include "settings/MappedData.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::app::win {
namespace {

using s::process::commandline::win::CommandLine;
using s::process::commandline::win::splitArguments;

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST(CommandLineTest, ArgumentsAreSplitAsWindowsSplitsThem)
{
    struct Row {
        std::u16string text;
        std::vector<std::u16string> arguments;
    };
    const Row rows[] = {
        {u"", {}},
        {u"   \t ", {}},
        {u"a b\tc", {u"a", u"b", u"c"}},
        {u"\"C:\\Program Files\\x\" -y", {u"C:\\Program Files\\x", u"-y"}},
        {u"a\"b c\"d", {u"ab cd"}},
        {u"\"\"", {u""}},
        {u"\"a\"\"b\"", {u"a\"b"}},
        {u"a\\\\b", {u"a\\\\b"}},
        {u"a\\\"b", {u"a\"b"}},
        {u"a\\\\\"b c\"", {u"a\\b c"}},
        {u"a\\\\\\\"b", {u"a\\\"b"}},
        {u"\"C:\\dir\\\\\" next", {u"C:\\dir\\", u"next"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(splitArguments(row.text), row.arguments) << narrow(row.text);
}

TEST(CommandLineTest, TheProgramNameIsSkippedAndSlashesReadAsDashes)
{
    struct Row {
        std::u16string processText;
        std::vector<std::u16string> arguments;
    };
    const Row rows[] = {
        {u"purgo.exe", {}},
        {u"\"C:\\Program Files\\Oxle Purgo\\purgo.exe\"", {}},
        {u"\"C:\\Program Files\\Oxle Purgo\\purgo.exe\" /startup", {u"-startup"}},
        {u"C:\\a\\purgo.exe   -Uninstall /x/y", {u"-Uninstall", u"-x/y"}},
        {u"C:\\dir\\\\purgo.exe \"two words\"", {u"two words"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CommandLine::fromProcessText(row.processText).arguments(), row.arguments) << narrow(row.processText);
}

TEST(StartupRulesTest, TheSwitchesAreWholeArgumentsInAnyCase)
{
    struct Row {
        std::u16string arguments;
        StartMode mode;
    };
    const Row rows[] = {
        {u"", StartMode::Interactive},
        {u"-startup", StartMode::BootRun},
        {u"/STARTUP", StartMode::BootRun},
        {u"-StartUp other", StartMode::BootRun},
        {u"-startupx", StartMode::Interactive},
        {u"startup", StartMode::Interactive},
        {u"\"-startup \"", StartMode::Interactive},
        {u"/uninstall", StartMode::Uninstall},
        {u"-startup -uninstall", StartMode::Uninstall},
        {u"/Uninstall /startup", StartMode::Uninstall},
        {u"--uninstall", StartMode::Interactive},
    };
    for (const Row& row : rows)
        EXPECT_EQ(startModeOf(CommandLine::fromArguments(row.arguments)), row.mode) << narrow(row.arguments);
}

TEST(StartupRulesTest, ScaleFromThePrimaryScreenAndItsViewSection)
{
    struct Row {
        int width;
        int height;
        int scale;
        const char16_t* section;
    };
    const Row rows[] = {
        {1920, 1080, 1, u"View"},   {1921, 1620, 2, u"View4K"}, {1920, 1620, 1, u"View"},   {1921, 1619, 1, u"View"},
        {3840, 2160, 2, u"View4K"}, {4096, 3240, 2, u"View4K"}, {4097, 3240, 4, u"View8K"}, {4097, 3239, 2, u"View4K"},
        {7680, 4320, 4, u"View8K"}, {800, 600, 1, u"View"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
        EXPECT_EQ(scaleFactorFor(row.width, row.height), row.scale);
        EXPECT_EQ(viewSectionFor(row.scale), row.section);
    }
    EXPECT_EQ(viewSectionFor(3), u"View");

    // The display setting counts too: 200 % and 400 % give their steps on
    // any screen; the steps between them keep the screen's rule.
    struct DpiRow {
        int width, height, dpi, scale;
    };
    for (const DpiRow row : {DpiRow{1920, 1080, 192, 2}, DpiRow{2560, 1440, 144, 1}, DpiRow{1920, 1080, 120, 1},
                             DpiRow{3840, 2160, 96, 2}, DpiRow{3840, 2160, 384, 4}, DpiRow{1366, 768, 96, 1}}) {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height) + " at " + std::to_string(row.dpi));
        EXPECT_EQ(scaleFactorFor(row.width, row.height, row.dpi), row.scale);
    }
}

TEST(StartupRulesTest, TheVersionRecordTrustsRtlGetVersionFirst)
{
    using s::platform::VersionAnswer;
    const VersionAnswer win10{10, 0, 19045, 2, u""};
    const VersionAnswer lyingWin8{6, 2, 9200, 2, u""};
    const VersionAnswer xp{5, 1, 2600, 2, u"Service Pack 3"};
    const VersionAnswer nothing{0, 0, 0, 2, u""};
    const auto chooseOsVersion = [](const std::optional<VersionAnswer>& rtl, const std::optional<VersionAnswer>& ex,
                                    std::optional<bool> wow64) {
        s::platform::SystemFacts facts;
        s::platform::chooseVersion(rtl, ex, wow64, facts);
        return osVersionFrom(facts);
    };
    struct Row {
        const char* what;
        std::optional<VersionAnswer> rtl;
        std::optional<VersionAnswer> ex;
        std::optional<bool> wow64;
        unsigned major, minor;
        bool vista, win7, ten, supported, wow;
    };
    const Row rows[] = {
        {"RtlGetVersion tells the truth", win10, lyingWin8, true, 10, 0, true, true, true, true, true},
        {"missing: GetVersionExW", std::nullopt, xp, std::nullopt, 5, 1, false, false, false, true, false},
        {"0.0.0: GetVersionExW", nothing, lyingWin8, false, 6, 2, true, true, false, true, false},
        {"Vista", VersionAnswer{6, 0, 6002, 2, u""}, std::nullopt, false, 6, 0, true, false, false, true, false},
        {"Windows 7", VersionAnswer{6, 1, 7601, 2, u""}, std::nullopt, false, 6, 1, true, true, false, true, false},
        {"Windows 2000", VersionAnswer{5, 0, 2195, 2, u""}, std::nullopt, false, 5, 0, false, false, false, false,
         false},
        {"Server 2003", VersionAnswer{5, 2, 3790, 2, u""}, std::nullopt, false, 5, 2, false, false, false, true, false},
        {"Windows 98 is not NT", VersionAnswer{4, 10, 2222, 1, u""}, std::nullopt, false, 4, 10, false, false, false,
         false, false},
        {"nothing known", std::nullopt, std::nullopt, std::nullopt, 0, 0, false, false, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const OsVersion version = chooseOsVersion(row.rtl, row.ex, row.wow64);
        EXPECT_EQ(version.major, row.major);
        EXPECT_EQ(version.minor, row.minor);
        EXPECT_EQ(version.vistaOrLater(), row.vista);
        EXPECT_EQ(version.win7OrLater(), row.win7);
        EXPECT_EQ(version.major10OrLater(), row.ten);
        EXPECT_EQ(version.supported(), row.supported);
        EXPECT_EQ(version.wow64, row.wow);
    }
    VersionAnswer longPack = xp;
    longPack.servicePack.assign(300, u'x');
    EXPECT_EQ(chooseOsVersion(longPack, std::nullopt, std::nullopt).servicePack.size(), 256u);
}

TEST(StartupRulesTest, TheRunningSystemIsASupportedNtVersion)
{
    // 6.1 in a new Wine prefix, and on the in-memory machine.
    const OsVersion& version = osVersion();
    EXPECT_TRUE(version.nt);
    EXPECT_TRUE(version.supported());
    EXPECT_GE(version.major, 6u);
    EXPECT_EQ(&version, &osVersion()) << "computed once";
}

TEST(StartupRulesTest, ANewVersionOpensTheSoftwarePageOnce)
{
    struct Row {
        std::u16string stored;
        std::u16string current;
        bool opens;
    };
    const Row rows[] = {
        {u"0.00", u"1.25", true},   // a fresh installation
        {u"1.25", u"1.25", false},  // the second start
        {u"1.24", u"1.25", true},    {u"1.25", u"1.3", false}, {u"1.25", u"1.300", false},
        {u"1.25A", u"1.25a", false}, {u"", u"125", false},     {u"1.2", u"2.10", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(versionChangeOpensPage(row.stored, row.current), row.opens)
            << narrow(row.stored) << " -> " << narrow(row.current);
}

TEST(StartupRulesTest, TheBootEntryNameIsTheEnglishProductNameAndTheVersion)
{
    s::lang::Localizer localizer;
    const auto data = s::platform::findResource(u"IDR_XML", 130);
    ASSERT_GT(data.size, 0u);
    s::xml::Node root;
    root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
    localizer.load(root, 10);
    for (const char16_t* language : {u"English", u"German", u"Japanese"}) {
        localizer.select(language);
        ASSERT_EQ(localizer.englishText(500000), u"Oxle Purgo");
        EXPECT_EQ(bootEntryName(localizer), u"Oxle Purgo 1.25") << narrow(language);
    }
}

// ---- geometry ----------------------------------------------------------------

TEST(WindowGeometryTest, VisibleRectanglesAndCentring)
{
    // Two monitors: one left of the primary, at negative coordinates.
    const Rect virtualScreen{-1920, 0, 3840, 1080};
    struct Row {
        const char* what;
        Rect rect;
        bool visible;
    };
    const Row rows[] = {
        {"on the primary", {100, 100, 630, 500}, true},
        {"on the left monitor", {-1800, 50, 630, 500}, true},
        {"10 pixels in from the right", {1910, 0, 630, 500}, true},
        {"9 pixels in from the right", {1911, 0, 630, 500}, false},
        {"reaching 10 pixels in from the left", {-2550, 0, 640, 500}, true},
        {"reaching 9 pixels in from the left", {-2550, 0, 639, 500}, false},
        {"below every monitor", {100, 1075, 630, 500}, false},
        {"too narrow", {100, 100, 10, 500}, false},
        {"too low", {100, 100, 630, 10}, false},
        {"11 by 11", {100, 100, 11, 11}, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(isVisible(row.rect, virtualScreen), row.visible) << row.what;

    const Rect workArea{0, 0, 1920, 1040};
    EXPECT_EQ(centredIn(630, 500, workArea), (Rect{645, 270, 630, 500}));
    EXPECT_EQ(centredIn(3000, 2000, workArea), (Rect{0, 0, 3000, 2000})) << "never above or left of it";
    EXPECT_EQ(centredIn(630, 500, Rect{100, 40, 1820, 1000}), (Rect{695, 290, 630, 500}));
}

class StoredGeometry : public ::testing::Test {
protected:
    s::xml::MappedDataHandle open(std::string_view content)
    {
        scratch.putFile(u"SaveData.xml", content);
        return s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo());
    }
    testing_platform::ScratchFolder scratch;
};

// The windows' scale: the whole step, or the density the display setting
// asks for where that is more; the frame sizes follow it and the settings
// section stays the step's.
TEST_F(StoredGeometry, TheWindowsScaleFollowsTheDisplaySettingBetweenTheSteps)
{
    struct Row {
        int width, height, dpi;
        int scaledDpi;  // 96 is 1×
        int mainWidth, mainHeight;
        const char16_t* section;
    };
    const Row rows[] = {
        {1920, 1080, 96, 96, 630, 500, u"View"},       {1920, 1080, 120, 120, 788, 625, u"View"},
        {1920, 1080, 144, 144, 945, 750, u"View"},     {2560, 1440, 168, 168, 1103, 875, u"View"},
        {1920, 1080, 192, 192, 1260, 1000, u"View4K"}, {3840, 2160, 144, 192, 1260, 1000, u"View4K"},
        {3840, 2160, 288, 288, 1890, 1500, u"View4K"}, {7680, 4320, 96, 384, 2520, 2000, u"View8K"},
        {1366, 768, 72, 96, 630, 500, u"View"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height) + " at " + std::to_string(row.dpi));
        const s::gui::Scale scale = displayScaleFor(row.width, row.height, row.dpi);
        EXPECT_EQ(scale.dpi(), row.scaledDpi);
        auto store = open("<savedata></savedata>");
        ASSERT_TRUE(store);
        const AppWindow main = AppWindow::mainWindow(scale, *store);
        EXPECT_EQ(main.width(), row.mainWidth);
        EXPECT_EQ(main.height(), row.mainHeight);
        EXPECT_EQ(main.viewSection(), row.section);
    }
}

TEST_F(StoredGeometry, PlacementFollowsTheStoredValuesOfTheScale)
{
    const Rect virtualScreen{0, 0, 3840, 2160};
    const Rect workArea{0, 0, 3840, 2120};
    struct Row {
        const char* what;
        const char* stored;
        int scale;
        Rect rect;
        bool maximize;
    };
    const Row rows[] = {
        {"nothing stored: centred with the defaults", "<savedata/>", 1, {1605, 810, 630, 500}, false},
        {"a stored rectangle",
         R"(<savedata><MainWindow><View X="10" Y="20" Width="700" Height="600"/></MainWindow></savedata>)",
         1,
         {10, 20, 700, 600},
         false},
        {"the 4K section at scale 2",
         R"(<savedata><MainWindow><View X="10" Y="20"/><View4K X="30" Y="40" Width="1300"/></MainWindow></savedata>)",
         2,
         {30, 40, 1300, 500},
         false},
        {"a size but no position: centred",
         R"(<savedata><MainWindow><View Width="800" Height="600"/></MainWindow></savedata>)",
         1,
         {1520, 760, 800, 600},
         false},
        {"a position off every screen: centred",
         R"(<savedata><MainWindow><View X="5000" Y="20" Width="700" Height="600"/></MainWindow></savedata>)",
         1,
         {1570, 760, 700, 600},
         false},
        {"maximised at every scale",
         R"(<savedata><MainWindow><View Maximized="1" X="10" Y="20"/></MainWindow></savedata>)",
         2,
         {1605, 810, 630, 500},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto store = open(row.stored);
        ASSERT_TRUE(store);
        const FrameGeometry geometry(u"MainWindow", row.scale, 630, 500);
        const FrameGeometry::Placement placement = geometry.placement(*store, virtualScreen, workArea);
        EXPECT_EQ(placement.rect, row.rect);
        EXPECT_EQ(placement.maximize, row.maximize);
    }
}

TEST_F(StoredGeometry, OnlyWhatChangedIsWritten)
{
    struct Row {
        const char* what;
        const char* stored;
        WindowState state;
        Rect rect;
        const char* expected;
    };
    const Row rows[] = {
        {"maximised: only the flag",
         "<savedata></savedata>",
         WindowState::Maximized,
         {1, 2, 3, 4},
         R"(<savedata><MainWindow><View Maximized="1"></View></MainWindow></savedata>)"},
        {"maximised again: nothing",
         R"(<savedata><MainWindow><View Maximized="1"></View></MainWindow></savedata>)",
         WindowState::Maximized,
         {1, 2, 3, 4},
         R"(<savedata><MainWindow><View Maximized="1"></View></MainWindow></savedata>)"},
        {"minimised: nothing", "<savedata></savedata>", WindowState::Minimized, {1, 2, 3, 4}, "<savedata></savedata>"},
        {"normal: the rectangle",
         "<savedata></savedata>",
         WindowState::Normal,
         {1, 2, 3, 4},
         R"(<savedata><MainWindow><View4K X="1" Y="2" Width="3" Height="4"></View4K></MainWindow></savedata>)"},
        {"normal after maximised",
         R"(<savedata><MainWindow><View Maximized="1"></View><View4K X="1" Y="2" Width="3" Height="4"></View4K></MainWindow></savedata>)",
         WindowState::Normal,
         {1, 2, 30, 4},
         // The store moves a rewritten value to the end: only Width was.
         R"(<savedata><MainWindow><View Maximized="0"></View><View4K X="1" Y="2" Height="4" Width="30"></View4K></MainWindow></savedata>)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto store = open(row.stored);
        ASSERT_TRUE(store);
        const FrameGeometry geometry(u"MainWindow", 2, 1260, 1000);
        geometry.store(*store, row.state, row.rect);
        EXPECT_EQ(store->toString().toUtf8(), row.expected);
    }
}

TEST_F(StoredGeometry, MaximisingAndMinimisingStoreTheLastNormalRectangle)
{
    struct Row {
        const char* what;
        const char* stored;
        WindowState now;
        WindowState before;
        const char* expected;
    };
    const Row rows[] = {
        {"maximised: the flag and the rectangle it had",
         R"(<savedata><MainWindow><View4K X="9" Y="9" Width="9" Height="9"></View4K></MainWindow></savedata>)",
         WindowState::Maximized, WindowState::Normal,
         R"(<savedata><MainWindow><View4K X="1" Y="2" Width="3" Height="4"></View4K><View Maximized="1"></View></MainWindow></savedata>)"},
        {"minimised: not maximised, and the rectangle",
         R"(<savedata><MainWindow><View Maximized="1"></View></MainWindow></savedata>)", WindowState::Minimized,
         WindowState::Maximized,
         R"(<savedata><MainWindow><View Maximized="0"></View><View4K X="1" Y="2" Width="3" Height="4"></View4K></MainWindow></savedata>)"},
        {"restored from maximised: stored as a normal window",
         R"(<savedata><MainWindow><View Maximized="1"></View></MainWindow></savedata>)", WindowState::Normal,
         WindowState::Maximized,
         R"(<savedata><MainWindow><View Maximized="0"></View><View4K X="1" Y="2" Width="3" Height="4"></View4K></MainWindow></savedata>)"},
        {"restored from minimised: nothing", "<savedata></savedata>", WindowState::Normal, WindowState::Minimized,
         "<savedata></savedata>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto store = open(row.stored);
        ASSERT_TRUE(store);
        const FrameGeometry geometry(u"MainWindow", 2, 1260, 1000);
        geometry.storeShownChange(*store, row.now, row.before, Rect{1, 2, 3, 4});
        EXPECT_EQ(store->toString().toUtf8(), row.expected);
    }
}

TEST_F(StoredGeometry, TheFramesKeepTheirValuesWhereTheScaleSays)
{
    auto store = open(R"(<savedata><MainWindow><View X="1" Y="2" KeepOnTop="1" OnMClick="Iconize"/>)"
                      R"(<View4K X="3" Y="4" Width="1300"/></MainWindow>)"
                      R"(<AboutWindow><View OnMClick="Sideways"/></AboutWindow></savedata>)");
    ASSERT_TRUE(store);
    struct Row {
        const char* what;
        AppWindow frame;
        const char16_t* section;
        int x, width, height;
        bool keepOnTop;
        MiddleClick middle;
    };
    const Row rows[] = {
        {"main window at 1", AppWindow::mainWindow(1, *store), u"View", 1, 630, 500, true, MiddleClick::Iconize},
        {"main window at 2: its own size, the same view values", AppWindow::mainWindow(2, *store), u"View4K", 3, 1300,
         1000, true, MiddleClick::Iconize},
        {"about window: on top by default, an unknown action does nothing", AppWindow::aboutWindow(4, *store),
         u"View8K", -1, 1360, 1140, true, MiddleClick::DoNothing},
        {"question window: never scaled", AppWindow::flexAskerWindow(*store), u"View", -1, 400, 200, true,
         MiddleClick::Close},
        {"editor", AppWindow::customTargetWindow(1, *store), u"View", -1, 450, 270, false, MiddleClick::Close},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.frame.viewSection(), row.section);
        EXPECT_EQ(row.frame.x(-1), row.x);
        EXPECT_EQ(row.frame.width(), row.width);
        EXPECT_EQ(row.frame.height(), row.height);
        EXPECT_EQ(row.frame.keepOnTop(), row.keepOnTop);
        EXPECT_EQ(row.frame.middleClick(), row.middle);
        EXPECT_TRUE(row.frame.easyDrag());
    }
    AppWindow main = AppWindow::mainWindow(2, *store);
    EXPECT_EQ(main.keyPath(u"View"), u"MainWindow\\View");
    main.setMiddleClick(MiddleClick::DoNothing);
    main.setKeepOnTop(false);
    EXPECT_EQ(store->getString(u"MainWindow\\View", u"OnMClick", u"").toUtf8(), "DoNothing");
    EXPECT_FALSE(AppWindow::mainWindow(1, *store).keepOnTop()) << "view values are shared by every scale";
}

TEST_F(StoredGeometry, TheMachinesScreensGiveTheScaleAndThePlace)
{
    const s::platform::ScreenRect primary = s::platform::screens().primary();
    ASSERT_GT(primary.width, 0) << "no screen (under Wine, scripts/test starts Xvfb)";
    EXPECT_EQ(scaleFactor(), scaleFactorFor(primary.width, primary.height));
    const s::platform::ScreenRect work = s::platform::screens().workArea();
    auto store = open("<savedata/>");
    ASSERT_TRUE(store);
    const FrameGeometry geometry(u"MainWindow", 1, 300, 200);
    const FrameGeometry::Placement placement = geometry.placement(*store);
    EXPECT_GE(placement.rect.left, work.left);
    EXPECT_GE(placement.rect.top, work.top);
    EXPECT_LE(placement.rect.left + placement.rect.width, work.left + work.width) << "centred in the work area";
}

}  // namespace
}  // namespace s::app::win
