// The collect and clean runs with a recording view, against the build's
// backend (fakes natively, a real folder and test key under Wine).
#include "engine/RunController.h"

#include "base/Thread.h"
#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::Sandbox;

s::lang::Localizer& table()
{
    static s::lang::Localizer* localizer = [] {
        auto* l = new s::lang::Localizer();
        const auto data = s::platform::findResource(u"IDR_XML", 130);
        s::xml::Node root;
        root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        l->load(root, 10);
        return l;
    }();
    return *localizer;
}

class RecordingView : public IRunView {
public:
    void collectStarted() override { events.push_back("collect started"); }
    void addRow(TimeRecord& group) override { rows.push_back(group.id.toUtf8()); }
    void collectFinished(const Totals& totals) override
    {
        events.push_back("collect finished");
        last = totals;
    }
    void cleanStarted(const s::str::strbuffer::StrBuffer& status, const s::str::strbuffer::StrBuffer& caption,
                      int groupCount) override
    {
        events.push_back("clean started: " + status.toUtf8() + " / " + caption.toUtf8() + " / " +
                         std::to_string(groupCount));
    }
    void cleanProgress(int position) override { progress.push_back(position); }
    void showResult(const s::str::strbuffer::StrBuffer& message) override { messages.push_back(message.toUtf8()); }
    void cleanFinished(const Totals& totals) override
    {
        events.push_back("clean finished");
        last = totals;
    }

    std::vector<std::string> events;
    std::vector<std::string> rows;
    std::vector<int> progress;
    std::vector<std::string> messages;
    Totals last;
};

// Special targets whose handlers report what they were given, so a run can
// be followed without touching the machine.
RunController* g_controller = nullptr;
std::vector<intptr_t> g_cleaned;

void countData(Text& target, int64_t& size, int64_t& found, intptr_t data, int32_t)
{
    target = u"special";
    const bool cleaned = std::find(g_cleaned.begin(), g_cleaned.end(), data) != g_cleaned.end();
    found = cleaned ? 0 : 1;
    size = cleaned ? 0 : data * 100;
}

void cleanData(intptr_t data, int32_t)
{
    g_cleaned.push_back(data);
    if (data == 21 && g_controller)
        g_controller->requestCancel();  // pressed while the second group is cleaned
}

TimeRecord* specialGroup(const char16_t* id, std::initializer_list<intptr_t> targets, bool checked)
{
    TimeRecord* group = TimeRecord::makeGroup(id, id, u"");
    group->checked = checked;
    for (intptr_t data : targets)
        group->addChild(TimeRecord::makeSpecialTarget(u"s", u"S", u"", &countData, &cleanData, nullptr, nullptr, data));
    return group;
}

s::xml::MappedDataHandle emptyStore()
{
    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    store->openDocument("<savedata></savedata>");
    return store;
}

TEST(Runs, CancelDuringTheSecondGroupStopsTheRest)
{
    table().select(u"English");
    g_cleaned.clear();
    RecordingView view;
    auto store = emptyStore();
    // Every group is checked by its stored state.
    for (const char16_t* id : {u"one", u"two", u"three"}) {
        std::u16string section = u"items\\";
        section += id;
        store->setBool(section, u"", true);
        store->setBool(section, u"s", true);  // targets without a stored state take their default, off
    }
    RunController runs(view, table(), *store, [](std::vector<TimeRecord*>& list) {
        list.push_back(specialGroup(u"one", {11}, false));
        list.push_back(specialGroup(u"two", {21, 22}, false));
        list.push_back(specialGroup(u"three", {31}, false));
    });
    g_controller = &runs;
    runs.setMode(RunMode::Collect);
    runs.run();
    EXPECT_EQ(view.rows, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(view.last.selectedFound, 4);

    runs.setMode(RunMode::Clean);
    runs.run();
    g_controller = nullptr;
    EXPECT_EQ(g_cleaned, (std::vector<intptr_t>{11, 21})) << "22 and the third group are left";
    EXPECT_EQ(runs.groups()[1]->found, 1) << "the second group still sums all its targets";
    EXPECT_EQ(runs.groups()[1]->size, 2200);
    EXPECT_EQ(runs.counters().deletedFound, 2);
    EXPECT_EQ(runs.counters().deletedSize, 1100 + 2100);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "2 (3.12 KB) items have been deleted successfully.\r\n"
                                "0 (0 B) items will be deleted on the next system boot.");
    EXPECT_EQ(view.progress, (std::vector<int>{0, 1, 3})) << "positions of the groups cleaned, then the end";
    EXPECT_FALSE(runs.cancelFlag().load()) << "the run clears the flag when it ends";
    EXPECT_FALSE(runs.busy());
}

TEST(Runs, NothingCheckedEndsAtTheLastGroupWithoutAMessage)
{
    RecordingView view;
    auto store = emptyStore();
    RunController runs(view, table(), *store, [](std::vector<TimeRecord*>& list) {
        list.push_back(specialGroup(u"a", {1}, false));
        list.push_back(specialGroup(u"b", {2}, false));
    });
    runs.collectInformation();
    runs.cleanSelected();
    EXPECT_EQ(view.progress, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.events.back(), "clean finished");
}

TEST(Runs, ShowOnlyRelatedFiltersRowsButNotTotals)
{
    RecordingView view;
    auto store = emptyStore();
    const auto build = [](std::vector<TimeRecord*>& list) {
        list.push_back(specialGroup(u"found", {5}, false));
        TimeRecord* empty = TimeRecord::makeGroup(u"empty", u"E", u"");
        list.push_back(empty);
        TimeRecord* custom = TimeRecord::makeGroup(u"custom", u"C", u"");
        custom->custom = true;
        list.push_back(custom);
    };
    {
        RunController runs(view, table(), *store, build);
        runs.collectInformation();
        EXPECT_EQ(view.rows, (std::vector<std::string>{"found", "custom"}));
    }
    view.rows.clear();
    store->setBool(u"MainWindow\\View", u"ShowOnlyRelated", false);
    RunController all(view, table(), *store, build);
    all.collectInformation();
    EXPECT_EQ(view.rows, (std::vector<std::string>{"found", "empty", "custom"}));
}

TEST(Runs, StartupModeShowsNothing)
{
    RecordingView view;
    auto store = emptyStore();
    store->setBool(u"items\\a", u"", true);
    store->setBool(u"items\\a", u"s", true);
    g_cleaned.clear();
    RunController runs(view, table(), *store,
                       [](std::vector<TimeRecord*>& list) { list.push_back(specialGroup(u"a", {7}, false)); });
    runs.setStartupMode(true);
    runs.collectInformation();
    runs.cleanSelected();
    EXPECT_TRUE(view.events.empty()) << "no list, no ready state, no progress";
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.progress.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(g_cleaned, std::vector<intptr_t>{7});
    EXPECT_EQ(runs.counters().pendingFound, 1) << "no rescan: the old measure counts";
}

TEST(Runs, TheMessageSpeaksTheCurrentLanguage)
{
    const CleanCounters counters{1234567, 1536, 2, 3221225472LL};
    table().select(u"German");
    const std::string german = RunController::composeMessage(counters, table()).toUtf8();
    table().select(u"English");
    const std::string english = RunController::composeMessage(counters, table()).toUtf8();
    EXPECT_EQ(english, "1,234,567 (1.50 KB) items have been deleted successfully.\r\n"
                       "2 (3.00 GB) items will be deleted on the next system boot.");
    EXPECT_NE(german.find("gel\xC3\xB6scht"), std::string::npos) << german;
    EXPECT_EQ(german.substr(0, 19), "1,234,567 (1.50 KB)");
}

// Real registry values with no data: deleted, but size-less, so no message.
TEST(Runs, SizelessDeletionsShowNoMessage)
{
    Sandbox box;
    ASSERT_TRUE(box.ok()) << box.failure();
    ASSERT_TRUE(box.makeKey(u"zero"));
    for (const char16_t* name : {u"a", u"b", u"c"})
        ASSERT_TRUE(box.setValue(u"zero", name, 3, {}));
    const std::u16string target = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\zero";
    RecordingView view;
    auto store = emptyStore();
    store->setBool(u"items\\g", u"", true);
    store->setBool(u"items\\g", u"t", true);
    RunController runs(view, table(), *store, [&](std::vector<TimeRecord*>& list) {
        TimeRecord* group = TimeRecord::makeGroup(u"g", u"G", u"");
        group->addChild(TimeRecord::makeTarget(Type_RegKey_1_Level, u"t", target));
        list.push_back(group);
    });
    runs.collectInformation();
    ASSERT_EQ(runs.groups()[0]->found, 3);
    runs.cleanSelected();
    EXPECT_FALSE(box.valueExists(u"zero", u"a"));
    EXPECT_EQ(runs.counters().deletedFound, 3);
    EXPECT_EQ(runs.counters().deletedSize, 0);
    EXPECT_TRUE(view.messages.empty());
}

TEST(Runs, RunOnTheWorkerThread)
{
    RecordingView view;
    auto store = emptyStore();
    RunController runs(view, table(), *store,
                       [](std::vector<TimeRecord*>& list) { list.push_back(specialGroup(u"w", {3}, false)); });
    auto worker = s::thread::Pooled<s::thread::win::Thread>::take();
    runs.submit(*worker, RunMode::Collect);
    worker->waitIdle();
    EXPECT_FALSE(runs.busy());
    EXPECT_EQ(view.rows, std::vector<std::string>{"w"});
    EXPECT_EQ(view.events.back(), "collect finished");
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
