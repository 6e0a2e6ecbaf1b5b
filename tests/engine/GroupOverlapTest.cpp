// The collect run's groups measured on several threads: the view sees the
// same calls in the same order with the same figures as with one, a cancel
// stops every thread and shows nothing after it, a group that breaks or
// takes long holds nobody else. Against the build's backend (fakes
// natively, real folders and keys under Wine).
#include "engine/GroupOverlap.h"
#include "engine/RunController.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
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

s::xml::MappedDataHandle emptyStore()
{
    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    store->openDocument("<savedata></savedata>");
    // Every group listed, the empty ones too: the comparison sees them all.
    store->setBool(u"MainWindow\\View", u"ShowOnlyRelated", false);
    return store;
}

// Everything the view is told, as one line per call; a row carries its
// figures and those of every target, with the captions the scan wrote.
class RecordingView : public IRunView {
public:
    void collectStarted() override { calls.push_back("collect started"); }
    void groupStarting(RunMode, int index, int count, const TimeRecord& group) override
    {
        calls.push_back("starting " + std::to_string(index) + "/" + std::to_string(count) + " " + group.id.toUtf8());
    }
    void addRow(TimeRecord& group) override
    {
        std::string line = "row " + group.id.toUtf8() + " " + figures(group);
        for (std::size_t i = 0; i < group.childCount(); ++i) {
            const TimeRecord& target = *group.child(i);
            line += " | " + target.title.toUtf8() + " / " + target.description.toUtf8() + " " + figures(target);
        }
        calls.push_back(line);
    }
    void collectFinished(const Totals& totals) override
    {
        calls.push_back("finished " + std::to_string(totals.allFound) + " " + std::to_string(totals.allSize));
    }
    void cleanStarted(const s::str::strbuffer::StrBuffer&, const s::str::strbuffer::StrBuffer&, int) override {}
    void cleanProgress(int) override {}
    void showResult(const s::str::strbuffer::StrBuffer&) override {}
    void cleanFinished(const Totals&) override {}

    static std::string figures(const TimeRecord& node)
    {
        return std::to_string(node.found) + "/" + std::to_string(node.size);
    }

    std::vector<std::string> calls;
};

// A special target whose count throws: the measure of its group breaks off.
void throwingCount(Text&, int64_t&, int64_t&, intptr_t, int32_t)
{
    throw std::runtime_error("count failed");
}

void specialCount(Text& target, int64_t& size, int64_t& found, intptr_t data, int32_t)
{
    target = u"special";
    found = 1;
    size = data;
}

// Groups of every walk the collect shares between threads: folders at one
// and all levels, a wildcard in subfolders, a file, registry keys and a
// value (the key objects share their result areas), and a special target.
// Group i holds i + 1 files, so that a mix-up of two groups' figures shows.
struct Fixture {
    Sandbox box;
    int groups = 0;

    bool make(int count)
    {
        groups = count;
        for (int g = 0; g < count; ++g) {
            const std::u16string folder = u"g" + std::u16string(1, static_cast<char16_t>(u'a' + g));
            if (!box.makeFolder(folder) || !box.makeFolder(folder + u"\\sub"))
                return false;
            for (int f = 0; f <= g; ++f) {
                const std::u16string name = u"f" + std::u16string(1, static_cast<char16_t>(u'0' + f));
                if (!box.makeFile(folder + u"\\" + name + u".log", static_cast<std::uint64_t>(10 * (g + 1) + f)) ||
                    !box.makeFile(folder + u"\\sub\\" + name + u".tmp", static_cast<std::uint64_t>(7 + f)))
                    return false;
            }
            const std::array<std::byte, 3> data{};
            if (!box.makeKey(folder + u"\\k") ||
                !box.setValue(folder + u"\\k", u"v", 3,
                              std::span<const std::byte>(data.data(), static_cast<std::size_t>(1 + g % 3))) ||
                !box.setValue(folder, u"w", 3, std::span<const std::byte>(data.data(), 2)))
                return false;
        }
        return true;
    }

    void build(std::vector<TimeRecord*>& list) const
    {
        const std::u16string key = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\";
        for (int g = 0; g < groups; ++g) {
            const std::u16string folder = u"g" + std::u16string(1, static_cast<char16_t>(u'a' + g));
            TimeRecord* group = TimeRecord::makeGroup(folder, folder, u"");
            group->addChild(TimeRecord::makeTarget(Type_Folder_All_Levels, u"all", box.path(folder)));
            group->addChild(TimeRecord::makeTarget(Type_Folder_1_Level, u"one", box.path(folder)));
            auto* wild = TimeRecord::makeTarget(Type_File_Wild, u"wild", box.path(folder + u"\\*.tmp"));
            wild->wildInSubfolders = true;
            group->addChild(wild);
            group->addChild(TimeRecord::makeTarget(Type_File, u"file", box.path(folder + u"\\f0.log")));
            group->addChild(TimeRecord::makeTarget(Type_RegKey_All_Levels, u"key", key + folder));
            group->addChild(TimeRecord::makeTarget(Type_RegValue, u"value", key + folder + u"\\w"));
            group->addChild(
                TimeRecord::makeSpecialTarget(u"s", u"S", u"", &specialCount, nullptr, nullptr, nullptr, 1000 + g));
            list.push_back(group);
        }
    }
};

std::vector<std::string> collect(const Fixture& fixture, int workers,
                                 const std::function<void(std::vector<TimeRecord*>&)>& extra = {})
{
    RecordingView view;
    auto store = emptyStore();
    RunController runs(view, table(), *store, [&](std::vector<TimeRecord*>& list) {
        fixture.build(list);
        if (extra)
            extra(list);
    });
    runs.setCollectWorkers(workers);
    runs.collectInformation();
    return view.calls;
}

TEST(Overlap, SeveralWorkersShowTheSameRowsInTheSameOrderAsOne)
{
    table().select(u"English");
    Fixture fixture;
    ASSERT_TRUE(fixture.box.ok()) << fixture.box.failure();
    ASSERT_TRUE(fixture.make(9));
    const std::vector<std::string> one = collect(fixture, 1);
    ASSERT_EQ(one.size(), 2u + 2u * 9u);
    // The fixture measured: 2 files and a folder (17 bytes) at all levels,
    // 1 file at one level, 1 matching file, 1 file, a subkey and 2 values (3
    // bytes), 1 value (2 bytes), the special target's 1 (1000 bytes).
    EXPECT_EQ(one[2].substr(0, 15), "row ga 11/1049 ") << one[2];
    struct Case {
        int groups;   // the first so many of the fixture's
        int workers;  // 0: by processor count
    };
    for (const Case& c : {Case{9, 2}, Case{9, 3}, Case{9, 4}, Case{9, 0}, Case{9, 16}, Case{1, 4}, Case{0, 3}}) {
        const std::string row = "groups " + std::to_string(c.groups) + ", workers " + std::to_string(c.workers);
        // The fixture cut to its first groups, against one worker over the
        // same cut.
        fixture.groups = c.groups;
        const std::vector<std::string> expected = c.groups == 9 ? one : collect(fixture, 1);
        for (int round = 0; round < 5; ++round)
            EXPECT_EQ(collect(fixture, c.workers), expected) << row << ", round " << round;
        fixture.groups = 9;
    }
}

TEST(Overlap, AGroupWhoseMeasureThrowsShowsNothingAndHoldsNoOther)
{
    table().select(u"English");
    Fixture fixture;
    ASSERT_TRUE(fixture.box.ok()) << fixture.box.failure();
    ASSERT_TRUE(fixture.make(4));
    const auto withBroken = [](std::vector<TimeRecord*>& list) {
        TimeRecord* broken = TimeRecord::makeGroup(u"broken", u"B", u"");
        broken->addChild(TimeRecord::makeSpecialTarget(u"s", u"S", u"", &specialCount, nullptr, nullptr, nullptr, 5));
        broken->addChild(TimeRecord::makeSpecialTarget(u"t", u"T", u"", &throwingCount, nullptr, nullptr, nullptr, 0));
        // Second in the list: moved there from the end.
        list.push_back(broken);
        for (std::size_t k = list.size() - 1; k > 1; --k)
            std::swap(list[k], list[k - 1]);
    };
    for (const int workers : {1, 3}) {
        const std::vector<std::string> calls = collect(fixture, workers, withBroken);
        const std::string row = "workers " + std::to_string(workers);
        ASSERT_EQ(calls.size(), 2u + 2u * 5u) << row;
        EXPECT_EQ(calls[4].substr(0, 15), "row broken 0/0 ") << row << ": " << calls[4];
        EXPECT_EQ(calls[4].find("S / special 1/5"), std::string::npos) << row << ": no half sums: " << calls[4];
        EXPECT_EQ(calls.back(), collect(fixture, 1).back()) << row << ": the others' totals as without it";
    }
}

// measureInOrder itself: cancel, a slow group, the threads joined.
TEST(Overlap, ACancelStopsEveryWorkerAndShowsNothingAfter)
{
    constexpr int kCount = 40;
    for (const int workers : {1, 2, 4}) {
        std::atomic<bool> cancel{false};
        std::atomic<int> inFlight{0};
        std::atomic<int> measured{0};
        std::vector<int> published;
        std::vector<int> started;
        OverlapSteps steps;
        steps.starting = [&](int i) {
            started.push_back(i);
        };
        steps.measure = [&](int i) {
            ++inFlight;
            if (i == 10)
                cancel.store(true);
            ++measured;
            --inFlight;
        };
        steps.publish = [&](int i) {
            EXPECT_FALSE(cancel.load()) << "workers " << workers << ": group " << i << " shown after the cancel";
            published.push_back(i);
        };
        const bool completed = measureInOrder(kCount, workers, cancel, steps);
        const std::string row = "workers " + std::to_string(workers);
        EXPECT_FALSE(completed) << row;
        EXPECT_EQ(inFlight.load(), 0) << row << ": a measure still ran when the call returned";
        const int after = measured.load();
        EXPECT_LT(after, kCount) << row << ": the workers went on after the cancel";
        EXPECT_LE(published.size(), 10u) << row;
        for (std::size_t i = 0; i < published.size(); ++i)
            EXPECT_EQ(published[i], static_cast<int>(i)) << row;
        EXPECT_LE(started.size(), published.size() + 1) << row;
    }
}

TEST(Overlap, ASlowGroupHoldsTheOthersMeasuresButNotTheirOrder)
{
    // Group 0 waits until every other group has been measured: with one
    // worker that never happens (the guard ends the wait), with several the
    // others are measured meanwhile and still shown after it, in order.
    constexpr int kCount = 12;
    for (const int workers : {2, 3}) {
        std::mutex lock;
        std::condition_variable changed;
        int others = 0;
        bool othersDone = false;
        std::vector<int> published;
        OverlapSteps steps;
        steps.measure = [&](int i) {
            std::unique_lock guard(lock);
            if (i == 0) {
                // A guard against a hang, not a time measured.
                othersDone = changed.wait_for(guard, std::chrono::seconds(30), [&] { return others == kCount - 1; });
                return;
            }
            ++others;
            changed.notify_all();
        };
        steps.publish = [&](int i) {
            published.push_back(i);
        };
        const std::atomic<bool> cancel{false};
        EXPECT_TRUE(measureInOrder(kCount, workers, cancel, steps));
        EXPECT_TRUE(othersDone) << "workers " << workers << ": the others waited for the slow group";
        std::vector<int> order(kCount);
        for (int i = 0; i < kCount; ++i)
            order[static_cast<std::size_t>(i)] = i;
        EXPECT_EQ(published, order) << "workers " << workers;
    }
}

// The window closing while the second group is measured.
void cancellingCount(Text&, int64_t&, int64_t&, intptr_t data, int32_t)
{
    reinterpret_cast<RunController*>(data)->requestCancel();
}

TEST(Overlap, ACancelledCollectEndsWithoutTheReadyState)
{
    table().select(u"English");
    Fixture fixture;
    ASSERT_TRUE(fixture.box.ok()) << fixture.box.failure();
    ASSERT_TRUE(fixture.make(6));
    for (const int workers : {1, 3}) {
        const std::string row = "workers " + std::to_string(workers);
        RecordingView view;
        auto store = emptyStore();
        // The stored check of a group the cancel leaves unmeasured is read
        // all the same, so that the settings saved at close keep it.
        store->setBool(u"items\\gf", u"", true);
        RunController* controller = nullptr;
        RunController runs(view, table(), *store, [&](std::vector<TimeRecord*>& list) {
            fixture.build(list);
            list[1]->addChild(TimeRecord::makeSpecialTarget(u"c", u"C", u"", &cancellingCount, nullptr, nullptr,
                                                            nullptr, reinterpret_cast<intptr_t>(controller)));
        });
        controller = &runs;
        runs.setCollectWorkers(workers);
        runs.collectInformation();
        EXPECT_TRUE(runs.cancelFlag().load()) << row;
        ASSERT_FALSE(view.calls.empty()) << row;
        EXPECT_EQ(view.calls.back().rfind("finished", 0), std::string::npos) << row << ": " << view.calls.back();
        for (const std::string& call : view.calls)
            EXPECT_EQ(call.rfind("row gb", 0), std::string::npos) << row << ": the row measured when cancelled";
        if (workers == 1) {
            EXPECT_EQ(runs.groups()[5]->found, 0) << row << ": measured after the cancel";
        }
        EXPECT_TRUE(runs.groups()[5]->checked) << row << ": the stored check of an unmeasured group";
    }
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
