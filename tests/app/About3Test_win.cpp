// The version information window under Wine on the virtual display, with the
// program's language table and icon linked in: its texts in the current
// language (rebuilt on each show), the links, Close and the cross, the size
// of the frame and the icon by scale. And the whole update check against a
// server of the test's own on 127.0.0.1, with the real question window.
#include "app/about/About3_win.h"
#include "app/about/UpdateCheck_win.h"
#include "app/main/MainMenus.h"
#include "app/main/MainWindow_win.h"
#include "app/start/AppBase.h"
#include "app/start/StartupRules.h"

#include "base/XmlNode.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/MessagePump_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace s::gui::dialogs {
namespace {

std::string narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

using testing_platform::pumpFor;
using testing_platform::pumpUntil;

// A click as the mouse makes it: pressed and released over the control.
void click(HWND control)
{
    RECT rect{};
    GetClientRect(control, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto data = s::platform::findResource(u"IDR_XML", 130);
        ASSERT_GT(data.size, 0u) << "the language table is linked in";
        auto* root = s::thread::Pool<s::xml::Node>::take();
        root->parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        lang.load(*root, 10);
        root->release();
        lang.select(u"English");
    }

    s::lang::Localizer lang;
    s::thread::Pooled<s::xml::MappedData> settings = s::thread::Pooled<s::xml::MappedData>::take();
    std::vector<int32_t> opened;
};

TEST_F(AboutWindow, ShowsTheTextsOfTheCurrentLanguageRebuiltOnEachShow)
{
    About3 about(lang, *settings, 1, [this](int32_t id) { opened.push_back(id); });
    EXPECT_EQ(about.hwnd(), nullptr) << "made on first use";
    ASSERT_TRUE(about.show(nullptr));
    EXPECT_TRUE(about.visible());
    std::vector<std::string> texts;
    for (const auto& text : about.texts())
        texts.push_back(narrow(text));
    const std::vector<std::string> english = {"Version Information",
                                              "Version Information",
                                              "Oxle Purgo",
                                              "Version:",
                                              "1.25",
                                              "Last Updated:",
                                              narrow(s::gui::toWide(lang.text(500020).view())),
                                              "License:",
                                              narrow(s::gui::toWide(lang.text(500050).view())),
                                              "URL:",
                                              "https://oxle.example/purgo/",
                                              "Is this freeware useful?",
                                              "Close"};
    EXPECT_EQ(texts, english);
    EXPECT_FALSE(lang.text(500020).isEmpty());
    EXPECT_FALSE(lang.text(500050).isEmpty());

    const HWND first = about.hwnd();
    about.close();
    EXPECT_FALSE(about.visible());
    lang.select(u"German");
    ASSERT_TRUE(about.show(nullptr));
    EXPECT_EQ(about.hwnd(), first) << "the window is kept";
    const auto german = about.texts();
    EXPECT_EQ(narrow(german[0]), "Versionsinformationen");
    EXPECT_EQ(narrow(german[1]), "Versionsinformationen");
    EXPECT_EQ(german.back(), L"Schlie\u00DFen");
    about.close();
}

TEST_F(AboutWindow, LinksOpenTheirAddressesAndCloseAndTheCrossHide)
{
    About3 about(lang, *settings, 1, [this](int32_t id) { opened.push_back(id); });
    ASSERT_TRUE(about.show(nullptr));
    pumpFor(100);
    click(GetDlgItem(about.hwnd(), About3::kAddress));
    click(GetDlgItem(about.hwnd(), About3::kUseful));
    EXPECT_EQ(opened, (std::vector<int32_t>{101000, 500100}));

    EXPECT_TRUE(GetWindowLongW(about.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "on top by default";
    SendMessageW(GetDlgItem(about.hwnd(), About3::kClose), BM_CLICK, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return !about.visible(); })) << "Close hides it";
    EXPECT_NE(settings->getS32(u"AboutWindow\\View", u"Width", -1), -1) << "its geometry is stored";

    ASSERT_TRUE(about.show(nullptr));
    SendMessageW(GetDlgItem(about.hwnd(), About3::kCross), BM_CLICK, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return !about.visible(); })) << "the cross hides it";

    ASSERT_TRUE(about.show(nullptr));
    SendMessageW(about.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return !about.visible(); })) << "the title bar's close hides it";
    EXPECT_TRUE(IsWindow(about.hwnd()));
}

TEST_F(AboutWindow, FrameAndIconGrowWithTheScale)
{
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        auto store = s::thread::Pooled<s::xml::MappedData>::take();
        About3 about(lang, *store, scale, [](int32_t) {});
        ASSERT_TRUE(about.show(nullptr));
        RECT frame{};
        GetWindowRect(about.hwnd(), &frame);
        EXPECT_EQ(frame.right - frame.left, 340 * scale);
        EXPECT_EQ(frame.bottom - frame.top, 285 * scale);
        EXPECT_EQ(about.iconSize(), 64 * scale);
        EXPECT_EQ(about.icon().width(), 64 * scale) << "the program icon at that size";
        RECT icon{};
        GetClientRect(GetDlgItem(about.hwnd(), About3::kIcon), &icon);
        EXPECT_EQ(icon.right, 64 * scale);
        EXPECT_EQ(icon.bottom, 64 * scale);
        // Every control lies inside the frame.
        for (HWND control : {GetDlgItem(about.hwnd(), About3::kAddress), GetDlgItem(about.hwnd(), About3::kUseful),
                             GetDlgItem(about.hwnd(), About3::kClose), GetDlgItem(about.hwnd(), About3::kCross)}) {
            RECT rect{};
            GetWindowRect(control, &rect);
            EXPECT_GE(rect.left, frame.left);
            EXPECT_LE(rect.right, frame.right);
            EXPECT_LE(rect.bottom, frame.bottom);
        }
        about.close();
    }
}

// --- The update check, end to end -------------------------------------------

class FixedClock : public s::platform::ILocalClock {
public:
    std::int64_t now() const override { return 1800000000; }
    s::platform::LocalDay dayOf(std::int64_t) const override { return {}; }
};

// Finds the question window of this thread by its title and closes it (the
// answer is then No), counting what it found.
struct QuestionCloser {
    static inline int found = 0;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD)
    {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
                wchar_t title[256] = {};
                GetWindowTextW(window, title, 256);
                if (IsWindowVisible(window) && std::wstring(title) == L"There is improved version available.") {
                    ++found;
                    PostMessageW(window, WM_CLOSE, 0, 0);
                }
                return TRUE;
            },
            0);
    }
};

TEST_F(AboutWindow, TheUpdateCheckAsksOnlyForANewerVersion)
{
    testing_platform::LocalHttpServer server;
    ASSERT_NE(server.port(), 0);
    // The program's table with the version service on the test's server.
    const std::u16string service = server.url("/");
    const std::string table =
        R"(<lang><languages><entry tagName="eng" engName="English" trueName="English"/></languages>
<entries>
<entry id="400200"><eng>There is a newer version available.</eng></entry>
<entry id="400210"><eng>There is improved version available.</eng></entry>
<entry id="400230"><eng>Would you like to check it out?</eng></entry>
<entry id="400330"><eng>Yes</eng></entry><entry id="400340"><eng>No</eng></entry>
<entry id="500010"><eng>1.25</eng></entry>
<entry id="500006"><eng>)" +
        std::string(service.begin(), service.end()) + "</eng></entry></entries></lang>";
    auto* root = s::thread::Pool<s::xml::Node>::take();
    root->parseUtf8(table);
    s::lang::Localizer checkLang;
    checkLang.load(*root, 10);
    root->release();

    struct Row {
        const char* answer;
        s::app::win::UpdateOutcome outcome;
        int questions;
    };
    for (const Row& row : {Row{"*1.25", s::app::win::UpdateOutcome::UpToDate, 0},
                           Row{"*1.26", s::app::win::UpdateOutcome::Declined, 1}}) {
        SCOPED_TRACE(row.answer);
        server.answer("/check/", {testing_platform::HttpAnswer::Kind::Body, 200, row.answer});
        auto store = s::thread::Pooled<s::xml::MappedData>::take();
        store->setS32(s::app::win::kUpdateSection, s::app::win::kUpdateValue, 500000 - 720);
        const FixedClock clock;
        QuestionCloser::found = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, &QuestionCloser::tick);
        const s::app::win::UpdateCheckServices services{clock, s::platform::network(), s::platform::shell(),
                                                        s::app::win::updateQuestion(checkLang, nullptr, nullptr, 1)};
        EXPECT_EQ(s::app::win::checkForUpdate(*store, checkLang, services), row.outcome);
        KillTimer(nullptr, timer);
        EXPECT_EQ(QuestionCloser::found, row.questions);
        EXPECT_EQ(server.requestCount("/check/"), row.questions + 1);
        EXPECT_EQ(store->getS32(s::app::win::kUpdateSection, s::app::win::kUpdateValue, 0), 500000);
    }
}

// As purgo.exe wires them: About → Version Information (command 10000) shows
// the window over the main window, and the build ends with the update check,
// whose first run only stores the hour count.
TEST(AboutInTheProgram, TheMenuShowsTheWindowAndTheBuildChecksForUpdates)
{
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    app.initialise(u"app_window_tests.exe", &skins);
    app.lang().select(u"English");
    app.settings().setS32(s::app::win::kUpdateSection, s::app::win::kUpdateValue, 0);
    auto frame = s::app::win::AppWindow::mainWindow(1, app.settings());
    s::file::gui::dialogs::purgo::Dialog dialog(app, frame, nullptr,
                                                [](std::vector<s::file::gui::dialogs::purgo::TimeRecord*>&) {});
    About3 about(app.lang(), app.settings(), 1, [&app](int32_t id) { app.openPage(id); });
    dialog.showVersionInformation = [&about](s::file::gui::dialogs::purgo::Dialog& window) {
        about.show(window.hwnd());
    };
    s::app::win::UpdateOutcome outcome = s::app::win::UpdateOutcome::NotOffered;
    dialog.afterBuild = [&outcome, &app](s::file::gui::dialogs::purgo::Dialog& window) {
        outcome = s::app::win::checkForUpdate(app, window.hwnd(), s::app::win::scaleFactor());
    };
    dialog.build(false);
    EXPECT_EQ(outcome, s::app::win::UpdateOutcome::FirstRun);
    // The hour may turn between the check and this line.
    const std::int64_t stored = app.settings().getS32(s::app::win::kUpdateSection, s::app::win::kUpdateValue, 0);
    EXPECT_NEAR(static_cast<double>(stored),
                static_cast<double>(s::app::win::hourCount(s::platform::systemClock().now())), 1.0);

    dialog.controller().command(s::file::gui::dialogs::purgo::command::kVersionInformation);
    ASSERT_TRUE(about.visible());
    EXPECT_EQ(GetWindow(about.hwnd(), GW_OWNER), dialog.hwnd()) << "owned by the main window";
    about.close();
    pumpUntil(
        [&] { return dialog.controller().state() == s::file::gui::dialogs::purgo::MainController::State::Ready; });
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace s::gui::dialogs
