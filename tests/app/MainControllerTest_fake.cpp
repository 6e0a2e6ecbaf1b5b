// The main window's controller without a window, on the in-memory machine: a
// recording view writes down what the window would be told, the shell and
// the Task Scheduler record what they were asked. The tree is two groups
// over a scratch folder (one with files, one over nothing); the worker is real, and
// the test runs the closures it posts when it wants them to arrive.
#include "app/main/MainController.h"

#include "app/main/MainMenus.h"
#include "app/rules/RulesUpdate.h"
#include "catalogue/CustomGroups.h"
#include "gui/SkinSchedule.h"
#include "gui/Skinner.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "platform/Win32Codes.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeNetwork.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeTaskScheduler.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

namespace p = s::platform;
using s::str::strbuffer::StrBuffer;
using State = MainController::State;

// Writes down every call as one short line; posted work waits in a queue.
class RecordingView : public IMainView {
public:
    void post(std::function<void()> work) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_posted.push_back(std::move(work));
    }
    // Which icons were loaded, and on which threads.
    void loadRowIcon(std::u16string_view iconSpec) override
    {
        std::lock_guard<std::mutex> hold(m_lock);
        iconsLoaded.push_back(StrBuffer(iconSpec).toUtf8());
        iconThreads.push_back(std::this_thread::get_id());
    }
    std::vector<std::string> iconsLoaded;
    std::vector<std::thread::id> iconThreads;
    // Runs the posted work in order, at most `count` of it; how many ran.
    int runPosted(int count = 1 << 30)
    {
        int ran = 0;
        while (ran < count) {
            std::function<void()> work;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                if (m_posted.empty())
                    break;
                work = std::move(m_posted.front());
                m_posted.pop_front();
            }
            work();
            ++ran;
        }
        return ran;
    }

    void showStatus(int32_t textId) override { add("status " + std::to_string(textId)); }
    void showTotals(const StatusLabels& labels) override
    {
        add("totals " + labels.size.toUtf8() + labels.open.toUtf8() + labels.count.toUtf8() + labels.close.toUtf8());
    }
    void setCleanCaption(const StrBuffer& caption) override { add("caption " + caption.toUtf8()); }
    void setCleanEnabled(bool on) override { add(on ? "clean on" : "clean off"); }
    void setListEnabled(bool on) override { add(on ? "list on" : "list off"); }
    void setEditingEnabled(bool on) override { add(on ? "editing on" : "editing off"); }
    void showCollecting(bool on) override { add(on ? "collecting shown" : "collecting hidden"); }
    void showProgress(int range) override { add("progress 0.." + std::to_string(range)); }
    void setProgress(int position) override { add("progress " + std::to_string(position)); }
    void hideProgress() override { add("progress hidden"); }
    void showMessage(const StrBuffer& text) override { add("message " + text.toUtf8()); }
    bool ask(const StrBuffer& title, const StrBuffer& question) override
    {
        add("ask " + title.toUtf8() + ": " + question.toUtf8());
        return answer;
    }
    void setShowRelatedChecked(bool on) override { add(on ? "related on" : "related off"); }
    void setBootRunChecked(bool on) override { add(on ? "boot on" : "boot off"); }
    void changeRowsQuietly(const std::function<void()>& change) override
    {
        add("quiet");
        change();
    }
    void setKeepOnTop(bool on) override { add(on ? "on top" : "not on top"); }
    void setMiddleClickClose(bool close) override { add(close ? "middle click closes" : "middle click does nothing"); }
    void setOpacity(int percent, bool onlyOnTop) override
    {
        add("opacity " + std::to_string(percent) + (onlyOnTop ? " on top" : ""));
    }
    void setAlternateRows(bool on) override { add(on ? "alternate rows" : "plain rows"); }
    void setCellHeight(s::gui::list::ListViewStep step) override { add("cell height " + std::to_string(step.value())); }
    void setFontSize(s::gui::list::ListViewStep step) override { add("font size " + std::to_string(step.value())); }
    void requestClose() override { add("close"); }
    void storeGeometryAndHide() override { add("hide"); }
    ColumnLayout columns() const override { return ColumnLayout{{1, 0, 2, 3}, {200, 90, 70, 60}}; }

    // The calls since the last look, joined by "; ".
    std::string take()
    {
        std::string out;
        for (const std::string& call : m_calls)
            out += (out.empty() ? "" : "; ") + call;
        m_calls.clear();
        return out;
    }

    bool answer = true;

private:
    void add(std::string call) { m_calls.push_back(std::move(call)); }

    std::mutex m_lock;
    std::deque<std::function<void()>> m_posted;
    std::vector<std::string> m_calls;
};

class MainControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p::fakeMachineFacts().setModulePath(std::u16string(scratch.join(u"purgo.exe").view()));
        p::fakeTaskScheduler().clear();
        scratch.putFile(u"savedata\\SaveData.xml", "<savedata><Version>1.25</Version>"
                                                   "<items><Sandbox_Files>1</Sandbox_Files></items></savedata>");
        scratch.putFile(u"junk\\a.tmp", "12345");
        scratch.putFile(u"junk\\b.tmp", "1234567890");
        scratch.putFile(u"junk\\deeper\\c.tmp", "123");
        app.initialise(u"purgo.exe", &skins);
        app.lang().select(u"English");
        frame = std::make_unique<s::app::win::AppWindow>(s::app::win::AppWindow::mainWindow(1, app.settings()));
        controller = std::make_unique<MainController>(view, app, *frame, builder());
        controller->openCustomEditor = [this](const TimeRecord* group) {
            editorOpened.push_back(group ? group->title.toUtf8() : "new");
        };
        controller->showVersionInformation = [this] {
            ++versionShown;
        };
        controller->loadOptions();
        p::fakeShell().forgetRequests();
    }
    void TearDown() override
    {
        controller.reset();
        p::fakeMachineFacts().setModulePath(u"");
        p::fakeTaskScheduler().clear();
    }

    // The files group and a group over a folder that is not there (nothing
    // found: not related); both checked.
    TreeBuilder builder()
    {
        return [this](std::vector<TimeRecord*>& groups) {
            TimeRecord* files = TimeRecord::makeGroup(u"Sandbox_Files", u"Sandbox files", u"The scratch folder");
            files->addChild(target(u"Sandbox_Files_1", u"junk"));
            groups.push_back(files);
            TimeRecord* empty = TimeRecord::makeGroup(u"Sandbox_Empty", u"Empty folder", u"Nothing in it");
            empty->addChild(target(u"Sandbox_Empty_1", u"empty"));
            groups.push_back(empty);
        };
    }
    TimeRecord* target(std::u16string_view id, std::u16string_view folder)
    {
        TimeRecord* made = TimeRecord::makeTarget(Type_Folder_All_Levels, id, scratch.join(folder));
        made->defaultChecked = true;
        return made;
    }

    // Waits for the worker's run to end; its posted work stays queued.
    void waitForRun()
    {
        for (int i = 0; i < 1000 && controller->runs().busy(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(controller->runs().busy()) << "the run ends";
    }
    // The same for every worker: the runs, the boot registration query.
    void waitForWorkers()
    {
        for (int i = 0; i < 1000 && controller->backgroundWorkRunning(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_FALSE(controller->backgroundWorkRunning()) << "the workers end";
    }
    // The window up, the list filled, the state ready.
    void collect()
    {
        controller->enterCollecting();
        controller->startCollect();
        ASSERT_NO_FATAL_FAILURE(waitForWorkers());
        view.runPosted();
        ASSERT_EQ(controller->state(), State::Ready);
        view.take();
    }
    std::string titles()
    {
        std::string out;
        for (int row = 0; row < controller->list().rowCount(); ++row)
            out += (out.empty() ? "" : ", ") + controller->list().record(row)->title.toUtf8();
        return out;
    }
    std::string setting(std::u16string_view section, std::u16string_view name)
    {
        return app.settings().getString(section, name, u"(none)").toUtf8();
    }
    bool exists(std::u16string_view relative)
    {
        return p::fileSystem().attributes(scratch.join(relative).c_str()) != p::kInvalidFileAttributes;
    }
    std::vector<std::string> addressesOpened()
    {
        std::vector<std::string> out;
        for (const p::ShellRequest& request : p::fakeShell().requests())
            if (request.kind == p::ShellRequest::Kind::OpenAddress)
                out.push_back(StrBuffer(request.first).toUtf8());
        return out;
    }

    testing_platform::ScratchFolder scratch;
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    std::unique_ptr<s::app::win::AppWindow> frame;
    RecordingView view;
    std::unique_ptr<MainController> controller;
    std::vector<std::string> editorOpened;
    int versionShown = 0;
};

TEST_F(MainControllerTest, CollectFillsTheListAndTheWindowBecomesReady)
{
    controller->enterCollecting();
    EXPECT_EQ(controller->state(), State::Collecting);
    EXPECT_EQ(view.take(), "collecting shown; status 800000; clean off; editing off");
    controller->startCollect();
    EXPECT_EQ(view.take(), "") << "the Task Scheduler is asked on a worker, never on the window thread";
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    EXPECT_EQ(controller->state(), State::Collecting) << "until the window thread hears of it";
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    std::string calls = view.take();
    // The worker's answer comes whenever it comes: before the rows or last.
    const std::size_t boot = calls.find("boot off");
    ASSERT_NE(boot, std::string::npos) << calls << ": the Task Scheduler has no boot run";
    if (calls.compare(boot, 10, "boot off; ") == 0)
        calls.erase(boot, 10);
    else
        calls.erase(boot >= 2 ? boot - 2 : boot);  // the last call, after "; "
    EXPECT_EQ(calls,
              "collecting hidden; totals 18 B  (4  Items); caption Clean Now!  (18 B) (4); clean on; editing on");
    EXPECT_EQ(titles(), "Sandbox files") << "only related groups while \"Show only Related\" is on";
}

TEST_F(MainControllerTest, RowsThatArriveWhileTheWindowIsBusyComeWithTheirIconsTogetherInCatalogueOrder)
{
    // Three groups over the same files, all related; the window thread runs
    // nothing until the run is over, as when it is busy painting.
    controller = std::make_unique<MainController>(view, app, *frame, [this](std::vector<TimeRecord*>& groups) {
        for (const char16_t* id : {u"First", u"Second", u"Third"}) {
            TimeRecord* group = TimeRecord::makeGroup(id, id, u"", std::u16string(id) + u".exe,0");
            group->addChild(target(std::u16string(id) + u"_1", u"junk"));
            groups.push_back(group);
        }
    });
    controller->loadOptions();
    controller->enterCollecting();
    controller->startCollect();
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    // Their icons were loaded by the run, before the window thread listed
    // anything.
    EXPECT_EQ(view.iconsLoaded, (std::vector<std::string>{"First.exe,0", "Second.exe,0", "Third.exe,0"}));
    for (const std::thread::id thread : view.iconThreads)
        EXPECT_NE(thread, std::this_thread::get_id()) << "on the run's worker";
    // The posted calls one at a time: the first one that lists a row lists
    // every row that had arrived.
    while (controller->list().rowCount() == 0 && view.runPosted(1) == 1) {
    }
    EXPECT_EQ(titles(), "First, Second, Third");
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    EXPECT_EQ(titles(), "First, Second, Third") << "each group once";
}

TEST_F(MainControllerTest, CleanRunsThroughCleaningAndBackToReady)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    controller->pressCleanButton();
    ASSERT_NO_FATAL_FAILURE(waitForRun());
    view.runPosted(1);
    EXPECT_EQ(controller->state(), State::Cleaning);
    EXPECT_EQ(view.take(), "status 800200; caption Cancel; clean on; list off; editing off; progress 0..2");
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    // The message comes when the window is ready again, not over "Cleaning...".
    EXPECT_EQ(view.take(), "progress 1; progress 2; progress 2; "
                           "progress hidden; list on; totals 0 B  (0  Items); caption Clean Now!  (0 B) (0); clean on; "
                           "editing on; "
                           "message 4 (18 B) items have been deleted successfully.\r\n0 (0 B) items will be deleted "
                           "on the next system boot.");
    EXPECT_FALSE(exists(u"junk\\a.tmp"));
    EXPECT_FALSE(exists(u"junk\\deeper"));
}

// The keep list changed while a run was going (the Keep List window stays
// usable): once the run ends the rows are measured again, not forgotten.
TEST_F(MainControllerTest, AKeepListChangeDuringARunMeasuresTheRowsAfterIt)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    controller->pressCleanButton();
    ASSERT_NO_FATAL_FAILURE(waitForRun());
    view.runPosted(1);
    ASSERT_EQ(controller->state(), State::Cleaning);
    controller->keepListChanged();
    EXPECT_EQ(controller->state(), State::Cleaning) << "the clean goes on";
    // The clean's remaining news one at a time, up to the new collect's
    // start: that collect is quick and may post its own end meanwhile.
    while (controller->state() != State::Collecting && view.runPosted(1) == 1) {
    }
    EXPECT_EQ(controller->state(), State::Collecting) << "measured again once the clean has ended";
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    view.take();
    controller->keepListChanged();
    EXPECT_EQ(controller->state(), State::Collecting) << "when ready, at once";
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    view.take();
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    EXPECT_EQ(controller->state(), State::Ready);
    EXPECT_EQ(view.take().find("collecting shown"), std::string::npos) << "once each time, no more";
}

// What each state does with the button, the selection commands, the context
// menu and a change of language. Cleaning and Canceling are reached by
// letting the clean run's first news arrive and holding back the rest.
TEST_F(MainControllerTest, TheStateTable)
{
    struct Row {
        State state;
        const char* pressed;          // what "Clean Now!" / "Cancel" shows
        State afterPress;             // the state the press leaves
        bool selectAllActs;           // Select All / Deselect All change the checks
        bool contextMenu;             // the list's context menu opens
        const char* languageCaption;  // the button after a change of language
    };
    const Row rows[] = {
        {State::Collecting, "", State::Collecting, false, true, "caption Clean Now!"},
        {State::Ready, "", State::Ready, true, true,
         "totals 18 B  (4  Items); caption Clean Now!  (18 B) (4); clean on"},
        {State::Cleaning, "caption Canceling...", State::Canceling, false, false, "caption Cancel"},
        {State::Canceling, "", State::Canceling, false, false, "caption Canceling..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.state));
        controller = std::make_unique<MainController>(view, app, *frame, builder());
        controller->openCustomEditor = [this](const TimeRecord*) {
            editorOpened.push_back("new");
        };
        controller->loadOptions();
        controller->enterCollecting();
        if (row.state != State::Collecting) {
            controller->startCollect();
            ASSERT_NO_FATAL_FAILURE(waitForWorkers());
            view.runPosted();
        }
        if (row.state == State::Cleaning || row.state == State::Canceling) {
            controller->pressCleanButton();
            ASSERT_NO_FATAL_FAILURE(waitForRun());
            view.runPosted(1);
            if (row.state == State::Canceling)
                controller->pressCleanButton();
        }
        ASSERT_EQ(controller->state(), row.state);
        view.take();

        s::gui::menu::MenuModel menu(&app.lang());
        EXPECT_EQ(controller->contextMenu(0, menu) != nullptr, row.contextMenu);
        controller->languageChanged();
        EXPECT_EQ(view.take(), row.languageCaption);

        for (const int number : {command::kAddCustomTarget, command::kSelectAll, command::kDeselectAll}) {
            const s::gui::menu::MenuItem* item = controller->menus().find(number);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->enabled, row.selectAllActs) << number << ": shown disabled where it does nothing";
        }
        editorOpened.clear();
        controller->command(command::kAddCustomTarget);
        EXPECT_EQ(editorOpened.size(), row.selectAllActs ? 1u : 0u) << "the editor opens only when ready";

        const int64_t before = computeTotals(controller->targets()).selectedFound;
        controller->command(command::kDeselectAll);
        const int64_t after = computeTotals(controller->targets()).selectedFound;
        EXPECT_EQ(after != before, row.selectAllActs) << before << " → " << after;
        controller->command(command::kSelectAll);
        view.take();

        if (row.state != State::Ready) {
            controller->pressCleanButton();
            EXPECT_EQ(view.take(), row.pressed);
            EXPECT_EQ(controller->state(), row.afterPress);
        }
        controller->stop();
        view.runPosted();
        view.take();
    }
}

// Each command of the menus: what the window is told, what the settings
// keep, which mark the menu shows, which page opens.
TEST_F(MainControllerTest, TheCommandTable)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    struct Row {
        int command;
        const char* shown;
        const char16_t* section;
        const char16_t* name;
        const char* stored;
        int marked;  // the command whose mark is asked (-1: none)
        bool mark;
    };
    const Row rows[] = {
        {command::kKeepOnTop, "on top; opacity 90", u"MainWindow\\View", u"KeepOnTop", "1", command::kKeepOnTop, true},
        {command::kKeepOnTop, "not on top; opacity 90", u"MainWindow\\View", u"KeepOnTop", "0", command::kKeepOnTop,
         false},
        {command::kCloseByMiddleClick, "middle click does nothing", u"MainWindow\\View", u"OnMClick", "DoNothing",
         command::kCloseByMiddleClick, false},
        {command::kCloseByMiddleClick, "middle click closes", u"MainWindow\\View", u"OnMClick", "Close",
         command::kCloseByMiddleClick, true},
        {command::kAlternateRows, "plain rows", u"MainWindow\\View", u"UseAlternateRowColor", "0",
         command::kAlternateRows, false},
        {command::kAlternateRows, "alternate rows", u"MainWindow\\View", u"UseAlternateRowColor", "1",
         command::kAlternateRows, true},
        {620, "opacity 80", u"MainWindow\\View", u"Transparency", "80", -1, false},
        {600, "opacity 100", u"MainWindow\\View", u"Transparency", "100", -1, false},
        {605, "", u"MainWindow\\View", u"Transparency", "100", -1, false},
        {s::gui::list::kCellHeightFirstCommand, "cell height 3", u"MainWindow\\View", u"CellHeight", "3", -1, false},
        {s::gui::list::kCellHeightFirstCommand + 12, "cell height -3", u"MainWindow\\View", u"CellHeight", "-3", -1,
         false},
        {s::gui::list::kFontSizeFirstCommand + 4, "font size 1", u"MainWindow\\View", u"FontSize", "1", -1, false},
        {command::kExit, "close", u"MainWindow\\View", u"FontSize", "1", -1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        controller->command(row.command);
        EXPECT_EQ(view.take(), row.shown);
        EXPECT_EQ(setting(row.section, row.name), row.stored);
        if (row.marked >= 0) {
            const s::gui::menu::MenuItem* item = controller->menus().find(row.marked);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->marked, row.mark);
        }
    }

    // The pages: the language table's address of each.
    const std::pair<int, int32_t> pages[] = {{command::kSoftwarePage, 500003},
                                             {command::kTellDevelopers, 500004},
                                             {command::kMoreSoftware, 108000},
                                             {command::kWorkplace, 108200},
                                             {s::gui::drawer::SkinMenu::kSeeThumbnail, 500007},
                                             {app.lang().count(), 108500}};
    for (const auto& [number, address] : pages) {
        SCOPED_TRACE(number);
        p::fakeShell().forgetRequests();
        controller->command(number);
        const std::vector<std::string> opened = addressesOpened();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened.front(), app.lang().text(address).toUtf8());
    }

    // The hooks.
    controller->command(command::kAddCustomTarget);
    controller->command(command::kVersionInformation);
    EXPECT_EQ(editorOpened, std::vector<std::string>{"new"});
    EXPECT_EQ(versionShown, 1);

    // A language by its index: selected and kept by its English name.
    int german = -1;
    for (int i = 0; i < app.lang().count(); ++i)
        if (app.lang().pack(i)->engName().toUtf8() == "German")
            german = i;
    ASSERT_GE(german, 0);
    controller->command(german);
    EXPECT_EQ(app.lang().current()->engName().toUtf8(), "German");
    EXPECT_EQ(setting(u"Language", u""), "German");
    EXPECT_EQ(view.take(), "");
}

TEST_F(MainControllerTest, TheCheckBoxesKeepTheirSettings)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    controller->setShowOnlyRelated(false);
    EXPECT_EQ(view.take(), "related off; quiet");
    EXPECT_EQ(titles(), "Sandbox files, Empty folder");
    EXPECT_EQ(setting(u"MainWindow\\View", u"ShowOnlyRelated"), "0");
    controller->setShowOnlyRelated(true);
    EXPECT_EQ(titles(), "Sandbox files");
    EXPECT_EQ(setting(u"MainWindow\\View", u"ShowOnlyRelated"), "1");
    view.take();

    // The boot run cleans what is checked when it is registered.
    controller->list().toggleCheck(0);
    controller->setBootRun(true);
    EXPECT_EQ(view.take(), "boot on");
    EXPECT_EQ(p::fakeTaskScheduler().tasks().size(), 1u);
    EXPECT_EQ(setting(u"items\\Sandbox_Files", u""), "0") << "the checks are saved for the boot run";
    controller->setBootRun(false);
    EXPECT_EQ(view.take(), "boot off");
    EXPECT_TRUE(p::fakeTaskScheduler().tasks().empty());
}

// The registration is asked on a worker; a click on the box before the
// answer arrives is the user's word and the late answer does not undo it.
TEST_F(MainControllerTest, ALateBootAnswerLeavesTheUsersClick)
{
    controller->enterCollecting();
    controller->startCollect();
    controller->setBootRun(true);
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    const std::string calls = view.take();
    EXPECT_EQ(calls.find("boot off"), std::string::npos) << calls;
    EXPECT_EQ(p::fakeTaskScheduler().tasks().size(), 1u);
}

// A skin changed at start because its period says so is kept as the Skin
// menu keeps a choice; a boot run changes nothing (nobody sees it).
TEST_F(MainControllerTest, APeriodicSkinChangeIsKeptAndABootRunMakesNone)
{
    ASSERT_GT(skins.skinCount(), 1);
    struct Row {
        bool bootRun;
        bool stored;
    };
    for (const Row row : {Row{true, false}, Row{false, true}}) {
        SCOPED_TRACE(row.bootRun ? "boot run" : "window");
        app.settings().remove(u"Skin", u"");
        app.settings().setS32(u"MainWindow\\View", u"RandomSkinDay", s::gui::drawer::kEveryStart);
        controller = std::make_unique<MainController>(view, app, *frame, builder());
        const int before = skins.currentIndex();
        controller->loadOptions(row.bootRun);
        EXPECT_EQ(skins.currentIndex() != before, row.stored);
        if (row.stored)
            EXPECT_EQ(setting(u"Skin", u""), skins.skinName(skins.currentIndex()).toUtf8());
        else
            EXPECT_EQ(setting(u"Skin", u""), "(none)");
    }
}

TEST_F(MainControllerTest, CloseSavesTheChecksAndColumnsOnceAndABootRunSavesNothing)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    controller->list().toggleCheck(0);
    EXPECT_TRUE(controller->close());
    EXPECT_EQ(controller->state(), State::Closed);
    EXPECT_EQ(view.take(), "hide");
    EXPECT_EQ(setting(u"items\\Sandbox_Files", u""), "0");
    EXPECT_EQ(setting(u"MainWindow\\ColumnOrder2", u"length"), "4");
    EXPECT_EQ(setting(u"MainWindow\\ColumnOrder2", u"_0"), "1");
    EXPECT_EQ(setting(u"MainWindow\\ColumnWidth2", u"_0"), "200");
    EXPECT_TRUE(controller->close());
    EXPECT_EQ(view.take(), "") << "saved once";

    controller = std::make_unique<MainController>(view, app, *frame, builder());
    app.settings().remove(u"MainWindow\\ColumnOrder2", u"length");
    app.settings().setBool(u"items\\Sandbox_Files", u"", true);
    controller->runBoot();
    EXPECT_EQ(controller->state(), State::Closed);
    EXPECT_FALSE(exists(u"junk\\b.tmp")) << "the checked group was cleaned";
    EXPECT_EQ(controller->runs().lastMessage().toUtf8(), "") << "nothing is shown";
    EXPECT_TRUE(controller->close());
    EXPECT_EQ(view.take(), "");
    EXPECT_EQ(view.runPosted(), 0);
    EXPECT_EQ(setting(u"MainWindow\\ColumnOrder2", u"length"), "(none)") << "a boot run saves nothing";
}

// The start kept a damaged settings file aside: the window says where, once,
// after the collect run has been handed to the worker.
TEST_F(MainControllerTest, ADamagedSettingsFileIsNamedOnceTheWindowIsUp)
{
    controller.reset();
    scratch.putFile(u"savedata\\SaveData.xml", "<savedata><Version>1.25</Version><items><Sandbox_Fi");
    s::app::win::AppBase damaged;
    damaged.initialise(u"purgo.exe", &skins);
    damaged.lang().select(u"English");
    const std::string copy = damaged.damagedSettingsCopy().toUtf8();
    ASSERT_NE(copy.find("SaveData.damaged-"), std::string::npos) << copy;
    auto mainFrame = s::app::win::AppWindow::mainWindow(1, damaged.settings());
    controller = std::make_unique<MainController>(view, damaged, mainFrame, builder());
    controller->loadOptions();
    controller->enterCollecting();
    controller->startCollect();
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    const std::string calls = view.take();
    const std::string message = "message The settings file was damaged and could be read only in part.\r\nWhat could "
                                "be read is used; the file as it was is kept as:\r\n\r\n" +
                                copy + ";";
    EXPECT_NE(calls.find(message), std::string::npos) << calls;
    controller.reset();
}

// View > "Get Community Rules...": only when ready, one download at a time,
// its outcome told in a message on the window thread.
TEST_F(MainControllerTest, GetCommunityRulesDownloadsOnceWhenReady)
{
    p::fakeNetwork().reset();
    controller->enterCollecting();
    controller->command(command::kGetCommunityRules);
    EXPECT_FALSE(controller->rulesDownloadRunning()) << "not while the list fills";
    controller->startCollect();
    ASSERT_NO_FATAL_FAILURE(waitForWorkers());
    view.runPosted();
    view.take();

    controller->command(command::kGetCommunityRules);
    EXPECT_TRUE(controller->rulesDownloadRunning());
    EXPECT_EQ(view.take(), "status " + std::to_string(s::app::kRulesDownloadingText));
    controller->command(command::kGetCommunityRules);
    EXPECT_EQ(view.take(), "") << "one download at a time";
    int ran = 0;
    for (int i = 0; i < 1000 && ran == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ran = view.runPosted();
    }
    ASSERT_GT(ran, 0) << "the outcome comes back";
    EXPECT_FALSE(controller->rulesDownloadRunning());
    const std::string calls = view.take();
    EXPECT_NE(calls.find("; message "), std::string::npos) << calls;
    EXPECT_EQ(controller->state(), State::Ready) << "nothing saved: the list stays";
}

TEST_F(MainControllerTest, RowCommandsAndCustomGroups)
{
    ASSERT_NO_FATAL_FAILURE(collect());
    controller->rowCommand(command::kSelect, 0);
    EXPECT_EQ(view.take(), "totals 18 B  (4  Items); caption Clean Now!  (0 B) (0); clean on");

    TimeRecord* custom = TimeRecord::makeGroup(u"Custom_1", u"My junk", u"");
    custom->custom = true;
    custom->addChild(target(u"Custom_1_0", u"junk"));
    controller->addNewRecord(*custom);
    ASSERT_EQ(titles(), "My junk, Sandbox files");
    s::gui::menu::MenuModel menu(&app.lang());
    ASSERT_NE(controller->contextMenu(0, menu), nullptr);
    EXPECT_NE(menu.find(command::kRemove), nullptr) << "a custom group can be removed";

    custom->title = u"Your junk";
    controller->modifyRecord(*custom);
    EXPECT_EQ(titles(), "Your junk, Sandbox files") << "in place";
    controller->rowCommand(command::kModify, 0);
    EXPECT_EQ(editorOpened, std::vector<std::string>{"Your junk"});
    controller->rowCommand(command::kModify, 1);
    EXPECT_EQ(editorOpened.size(), 1u) << "a built-in group is not modified";

    view.take();
    view.answer = false;
    controller->rowCommand(command::kRemove, 0);
    EXPECT_EQ(view.take().substr(0, 4), "ask ");
    EXPECT_EQ(titles(), "Your junk, Sandbox files") << "No keeps it";
    view.answer = true;
    controller->rowCommand(command::kRemove, 0);
    EXPECT_EQ(titles(), "Sandbox files");
    custom->release();
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
