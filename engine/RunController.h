// The main window's two runs without the window: the collect run builds a
// fresh tree, restores the checked states, measures every group and lists the
// related ones; the clean run cleans every checked group whose program is not
// running and reports what disappeared, what is left and what was not
// cleaned because its program runs in one message. Everything the user would see
// goes through IRunView, which the window, the console program and the tests
// implement.
#pragma once

#include "base/ITask.h"
#include "base/IThread.h"
#include "base/StrBuffer.h"
#include "engine/Clean.h"
#include "engine/TimeRecord.h"
#include "engine/Totals.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}

namespace s::file::gui::dialogs::purgo {

enum class RunMode : int { Collect = 0, Clean = 1 };

class IRunView {
public:
    virtual ~IRunView() = default;
    // Collect run: the list is about to be filled (its drawing may pause).
    virtual void collectStarted() {}
    // A group's turn: the collect run is about to measure it, the clean run
    // to clean it (checked groups only); index counts from 0 in list order.
    // Called in start-up mode too, where the window shows nothing but the
    // console reports progress.
    virtual void groupStarting(RunMode /*mode*/, int /*index*/, int /*count*/, const TimeRecord& /*group*/) {}
    // A measured group that the list shows.
    virtual void addRow(TimeRecord& group) = 0;
    // Collect run done: the list is complete, the window becomes ready.
    virtual void collectFinished(const Totals& totals) = 0;
    // Clean run: status text, the button's new caption and the progress
    // range 0 … groupCount.
    virtual void cleanStarted(const s::str::strbuffer::StrBuffer& status,
                              const s::str::strbuffer::StrBuffer& buttonCaption, int groupCount) = 0;
    virtual void cleanProgress(int position) = 0;
    // The result message, when there is something to say.
    virtual void showResult(const s::str::strbuffer::StrBuffer& message) = 0;
    // Clean run done: progress hidden, list enabled, the window ready.
    virtual void cleanFinished(const Totals& totals) = 0;
};

// Builds the catalogue's tree (custom groups first) into the list.
using TreeBuilder = std::function<void(std::vector<TimeRecord*>& list)>;

struct CleanCounters {
    int64_t deletedFound = 0;
    int64_t deletedSize = 0;
    int64_t pendingFound = 0;
    int64_t pendingSize = 0;
};

class RunController : public s::thread::ITask {
public:
    RunController(IRunView& view, s::lang::Localizer& localizer, s::map::IMappedData& store, TreeBuilder builder);
    ~RunController() override;
    RunController(const RunController&) = delete;
    RunController& operator=(const RunController&) = delete;

    // The task entry: busy while it lasts; mode 0 collects, mode 1 cleans.
    void run() override;
    void setMode(RunMode mode) { m_mode = mode; }
    RunMode mode() const { return m_mode; }
    bool busy() const { return m_busy.load(); }

    // Unattended clean at logon: nothing shown, nothing scheduled, no rescans.
    void setStartupMode(bool on) { m_startupMode = on; }

    // The collect run measures its groups on this many threads at once
    // (engine/GroupOverlap.h); 0, the default, chooses by the processor
    // count, 1 measures them one after another on the run's own thread. The
    // clean run is always one group after another.
    void setCollectWorkers(int workers) { m_collectWorkers = workers; }

    // Cancel pressed (or the window closing): the clean run stops before the
    // next group or target; the collect run measures no further group, shows
    // no further row and ends without collectFinished.
    void requestCancel() { m_cancel.store(true); }
    const std::atomic<bool>& cancelFlag() const { return m_cancel; }

    void collectInformation();
    void cleanSelected();

    // Hands the run to a worker thread (the window's way) and returns.
    void submit(s::thread::IThread& worker, RunMode mode);

    std::vector<TimeRecord*>& groups() { return m_groups; }
    const CleanCounters& counters() const { return m_counters; }
    // The checked groups the last clean run left because their program ran
    // (engine/RunningPrograms.h), in list order. Owned by groups().
    const std::vector<const TimeRecord*>& skipped() const { return m_skipped; }
    // The message of the last clean run, empty when none was shown.
    const s::str::strbuffer::StrBuffer& lastMessage() const { return m_message; }

    // "1,234 (1.50 KB) items have been deleted successfully.\r\n0 (0 B) items
    // will be deleted on the next system boot." in the current language.
    static s::str::strbuffer::StrBuffer composeMessage(const CleanCounters& counters, s::lang::Localizer& localizer);

private:
    void releaseGroups();

    IRunView& m_view;
    s::lang::Localizer& m_localizer;
    s::map::IMappedData& m_store;
    TreeBuilder m_builder;
    std::vector<TimeRecord*> m_groups;  // owned
    RunMode m_mode = RunMode::Collect;
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_cancel{false};
    bool m_startupMode = false;
    int m_collectWorkers = 0;
    CleanCounters m_counters;
    std::vector<const TimeRecord*> m_skipped;
    s::str::strbuffer::StrBuffer m_message;
};

}  // namespace s::file::gui::dialogs::purgo
