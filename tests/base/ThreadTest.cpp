// Worker threads: jobs, pacing, waking, waiting, stopping, exit and reuse
// through the pool. The same cases run natively (std::thread underneath) and
// under Wine (Win32 threads, SuspendThread/ResumeThread/TerminateThread).
//
// No case depends on timing for correctness: waits on the worker use a
// generous guard only to turn a hang into a failure, and time is asserted only
// as a lower bound or against a margin many times larger than any scheduling
// delay.
#include "base/Thread.h"
#include "base/OsThread.h"
#include "tests/base/ThreadProbe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using s::thread::ITask;
using s::thread::IThread;
using s::thread::OsThread;
using s::thread::Pooled;
using s::thread::win::Thread;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

constexpr Ms kGuard{10000};

long long msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration_cast<Ms>(to - from).count();
}

// Polls until condition holds; false when the guard runs out first.
bool eventually(const std::function<bool()>& condition, Ms guard = kGuard)
{
    const Clock::time_point deadline = Clock::now() + guard;
    while (!condition()) {
        if (Clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(Ms(1));
    }
    return true;
}

// Like eventually, without sleeping: for stress cases that must act the
// moment something happens.
bool spinUntil(const std::function<bool()>& condition, Ms guard = kGuard)
{
    const Clock::time_point deadline = Clock::now() + guard;
    while (!condition()) {
        if (Clock::now() > deadline)
            return condition();
        std::this_thread::yield();
    }
    return true;
}

// Counts its runs; records when each started and ended and which OS thread
// ran it. Each run takes workMs. The count goes up last, so once a test sees
// n runs the records hold n entries.
class RecordingTask : public ITask {
public:
    explicit RecordingTask(unsigned workMs = 0) : m_workMs(workMs) {}

    void run() override
    {
        inRun = true;
        const Clock::time_point start = Clock::now();
        const unsigned long id = OsThread::currentId();
        if (m_workMs)
            std::this_thread::sleep_for(Ms(m_workMs));
        {
            std::lock_guard guard(m_lock);
            m_starts.push_back(start);
            m_ends.push_back(Clock::now());
            m_threadIds.push_back(id);
        }
        inRun = false;
        ++runs;
    }

    std::vector<Clock::time_point> starts() const
    {
        std::lock_guard guard(m_lock);
        return m_starts;
    }
    std::vector<Clock::time_point> ends() const
    {
        std::lock_guard guard(m_lock);
        return m_ends;
    }
    std::vector<unsigned long> threadIds() const
    {
        std::lock_guard guard(m_lock);
        return m_threadIds;
    }

    std::atomic<int> runs{0};
    std::atomic<bool> inRun{false};

private:
    const unsigned m_workMs;
    mutable std::mutex m_lock;
    std::vector<Clock::time_point> m_starts;
    std::vector<Clock::time_point> m_ends;
    std::vector<unsigned long> m_threadIds;
};

// The lightest task, for stress loops.
class CountingTask : public ITask {
public:
    void run() override { ++runs; }
    std::atomic<int> runs{0};
};

// Blocks in run until opened (or for 30 s at most). Holds no lock while it
// blocks, so that killing its thread harms nothing.
class GateTask : public ITask {
public:
    void run() override
    {
        ++entered;
        const Clock::time_point deadline = Clock::now() + Ms(30000);
        while (!open && Clock::now() < deadline)
            std::this_thread::sleep_for(Ms(1));
        returned = true;
    }
    std::atomic<int> entered{0};
    std::atomic<bool> open{false};
    std::atomic<bool> returned{false};
};

bool becomesIdle(IThread& thread)
{
    return eventually([&] { return thread.isIdle(); });
}

// ---- jobs --------------------------------------------------------------

TEST(ThreadJob, RunsTheTaskTheRequestedNumberOfTimesOnTheWorker)
{
    struct Row {
        const char* name;
        std::function<void(IThread&, ITask*)> start;
        int expectedRuns;
    };
    const Row rows[] = {
        {"runOnce", [](IThread& t, ITask* k) { t.runOnce(k); }, 1},
        {"runTimes 3", [](IThread& t, ITask* k) { t.runTimes(k, 3); }, 3},
        {"runTimes 0", [](IThread& t, ITask* k) { t.runTimes(k, 0); }, 0},
        {"runTimesWithGap 3, 1 ms", [](IThread& t, ITask* k) { t.runTimesWithGap(k, 3, 1); }, 3},
        {"runTimesAtRate 4, 1 ms", [](IThread& t, ITask* k) { t.runTimesAtRate(k, 4, 1); }, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto thread = Pooled<Thread>::take();
        RecordingTask task;
        row.start(*thread, &task);
        ASSERT_TRUE(becomesIdle(*thread));
        EXPECT_EQ(task.runs, row.expectedRuns);
        for (unsigned long id : task.threadIds())
            EXPECT_EQ(id, thread->threadId()) << "the task runs on the Thread's own OS thread";

        // Idle means done: the next job runs alone and the first task is not
        // run again.
        RecordingTask next;
        thread->runOnce(&next);
        ASSERT_TRUE(becomesIdle(*thread));
        EXPECT_EQ(next.runs, 1);
        EXPECT_EQ(task.runs, row.expectedRuns);
    }
}

TEST(ThreadJob, NullTaskConsumesItsRuns)
{
    auto thread = Pooled<Thread>::take();
    thread->runTimes(nullptr, 5);
    ASSERT_TRUE(becomesIdle(*thread));
    thread->runForever(nullptr);
    thread->stopRepeatingAndWait();
    EXPECT_TRUE(thread->isIdle());

    RecordingTask task;
    thread->runOnce(&task);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 1);
}

TEST(ThreadJob, NewJobReplacesTheRunningOneAfterTheRunInProgress)
{
    auto thread = Pooled<Thread>::take();
    RecordingTask first(2);
    thread->runForever(&first);
    ASSERT_TRUE(eventually([&] { return first.runs >= 2; }));

    RecordingTask second;
    thread->runTimes(&second, 2);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(second.runs, 2);
    EXPECT_FALSE(first.inRun);
    const int firstRuns = first.runs;
    RecordingTask third;
    thread->runOnce(&third);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(first.runs, firstRuns) << "the replaced job does not come back";
}

TEST(ThreadJob, ThreadGivenItselfRunsItsFunction)
{
    struct Calls {
        std::atomic<int> count{0};
    } calls;
    auto thread = Pooled<Thread>::take();
    thread->setFunction([](void* context) { ++static_cast<Calls*>(context)->count; }, &calls);
    thread->runTimes(thread.get(), 3);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(calls.count, 3);

    thread->setFunction(nullptr, nullptr);
    thread->runOnce(thread.get());
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(calls.count, 3) << "without a function the Thread's own run does nothing";
}

TEST(ThreadJob, IdentityAndName)
{
    auto a = Pooled<Thread>::take();
    auto b = Pooled<Thread>::take();
    EXPECT_NE(a->threadId(), 0u);
    EXPECT_NE(a->threadId(), b->threadId());
    EXPECT_TRUE(a->isIdle()) << "a new worker starts idle";
    EXPECT_STREQ(a->className(), "s_thread_win_Thread");
}

// ---- pacing ------------------------------------------------------------

TEST(ThreadPacing, GapSeparatesRunsButNeverFollowsTheLast)
{
    {
        auto thread = Pooled<Thread>::take();
        RecordingTask task;
        thread->runTimesWithGap(&task, 2, 50);
        ASSERT_TRUE(becomesIdle(*thread));
        const auto starts = task.starts();
        const auto ends = task.ends();
        ASSERT_EQ(starts.size(), 2u);
        EXPECT_GE(msBetween(ends[0], starts[1]), 45) << "one gap of 50 ms between the runs";
    }
    {
        // A gap of a whole second after the last run would show.
        auto thread = Pooled<Thread>::take();
        RecordingTask task;
        thread->runTimesWithGap(&task, 2, 1000);
        ASSERT_TRUE(eventually([&] { return task.runs == 2; }));
        const auto ends = task.ends();
        ASSERT_EQ(ends.size(), 2u);
        const Clock::time_point lastEnd = ends[1];
        ASSERT_TRUE(becomesIdle(*thread));
        EXPECT_LT(msBetween(lastEnd, Clock::now()), 500) << "no sleep after the last run";
    }
    {
        // A single run never sleeps, whatever the gap.
        auto thread = Pooled<Thread>::take();
        RecordingTask task;
        const Clock::time_point start = Clock::now();
        thread->runTimesWithGap(&task, 1, 60000);
        ASSERT_TRUE(becomesIdle(*thread));
        EXPECT_LT(msBetween(start, Clock::now()), 30000);
        EXPECT_EQ(task.runs, 1);
    }
}

TEST(ThreadPacing, RateStartsRunsAPeriodApart)
{
    // Runs of 300 ms every 600 ms: the starts are 600 ms apart, not 300 ms
    // (no pacing) nor 900 ms (a gap after each run).
    auto thread = Pooled<Thread>::take();
    RecordingTask task(300);
    thread->runTimesAtRate(&task, 3, 600);
    ASSERT_TRUE(becomesIdle(*thread));
    const auto starts = task.starts();
    ASSERT_EQ(starts.size(), 3u);
    for (std::size_t i = 1; i < starts.size(); ++i) {
        SCOPED_TRACE("run " + std::to_string(i));
        EXPECT_GE(msBetween(starts[i - 1], starts[i]), 595);
        EXPECT_LT(msBetween(starts[i - 1], starts[i]), 850);
    }
}

TEST(ThreadPacing, RateDoesNotSleepAfterARunLongerThanThePeriod)
{
    auto thread = Pooled<Thread>::take();
    RecordingTask task(1200);
    thread->runTimesAtRate(&task, 2, 1000);
    ASSERT_TRUE(becomesIdle(*thread));
    const auto starts = task.starts();
    const auto ends = task.ends();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_LT(msBetween(ends[0], starts[1]), 500) << "the next run starts at once";
}

TEST(ThreadPacing, PauseBeforeAJobDelaysItsFirstRun)
{
    auto thread = Pooled<Thread>::take();
    RecordingTask task;
    thread->pauseFor(200);
    const Clock::time_point given = Clock::now();
    thread->runOnce(&task);
    ASSERT_TRUE(becomesIdle(*thread));
    ASSERT_EQ(task.runs, 1);
    EXPECT_GE(msBetween(given, task.starts()[0]), 190);
}

// ---- waking ------------------------------------------------------------

// The next job is given while the worker is on its way to park: between its
// decision to park (it reports idle) and its suspension. Every other job waits
// for the idle report, the others only for the run; a short delay that varies
// from job to job sweeps the window. A lost job shows as a run that never
// comes.
TEST(ThreadWake, JobGivenWhileTheWorkerGoesIdleIsNeverLost)
{
    auto thread = Pooled<Thread>::take();
    CountingTask task;
    constexpr int kJobs = 10000;
    for (int i = 0; i < kJobs; ++i) {
        thread->runOnce(&task);
        const bool ran = i % 2 == 0 ? spinUntil([&] { return thread->isIdle() && task.runs == i + 1; })
                                    : spinUntil([&] { return task.runs == i + 1; });
        ASSERT_TRUE(ran) << "job " << i << " was lost";
        std::atomic<int> spin{0};
        while (spin.fetch_add(1, std::memory_order_relaxed) < (i / 2 % 97) * 4) {
        }
    }
    EXPECT_TRUE(becomesIdle(*thread));
}

TEST(ThreadWake, WorkerTakenBackFromThePoolWakesForItsJob)
{
    CountingTask task;
    for (int i = 0; i < 300; ++i) {
        auto thread = Pooled<Thread>::take();
        thread->runOnce(&task);
        ASSERT_TRUE(spinUntil([&] { return task.runs == i + 1; })) << "job " << i << " was lost";
    }
}

TEST(ThreadWake, ExtraSuspensionsDoNotKeepTheNextJobWaiting)
{
    auto thread = Pooled<Thread>::take();
    thread->suspend();
    thread->suspend();
    thread->suspend();
    RecordingTask task;
    thread->runOnce(&task);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 1);
}

TEST(ThreadWake, StopRepeatingOnAnIdleWorkerLeavesItReady)
{
    auto thread = Pooled<Thread>::take();
    for (int i = 0; i < 50; ++i)
        thread->stopRepeating();
    EXPECT_TRUE(thread->isIdle());
    RecordingTask task;
    thread->runTimes(&task, 2);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 2);
}

// ---- waiting and stopping ----------------------------------------------

TEST(ThreadWait, WaitIdleReturnsOnceTheJobIsDone)
{
    auto thread = Pooled<Thread>::take();
    thread->waitIdle();  // a new worker is idle at once
    RecordingTask task(10);
    thread->runTimes(&task, 3);
    thread->waitIdle();
    EXPECT_EQ(task.runs, 3);
    EXPECT_FALSE(task.inRun);
}

TEST(ThreadWait, StopRepeatingAndWaitReturnsAfterTheRunInProgress)
{
    auto thread = Pooled<Thread>::take();
    RecordingTask task(5);
    thread->runForever(&task);
    ASSERT_TRUE(eventually([&] { return task.runs >= 3; }));
    thread->stopRepeatingAndWait();
    EXPECT_TRUE(thread->isIdle());
    EXPECT_FALSE(task.inRun) << "the run in progress has finished";
    const int runs = task.runs;
    EXPECT_EQ(task.starts().size(), static_cast<std::size_t>(runs));

    RecordingTask other;
    thread->runTimes(&other, 3);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, runs) << "a stopped job runs no more";
}

TEST(ThreadWait, StopRepeatingEndsAPacedJobToo)
{
    auto thread = Pooled<Thread>::take();
    RecordingTask task;
    thread->runForeverAtRate(&task, 5);
    ASSERT_TRUE(eventually([&] { return task.runs >= 2; }));
    thread->stopRepeatingAndWait();
    const int runs = task.runs;
    thread->runForeverWithGap(&task, 5);
    ASSERT_TRUE(eventually([&] { return task.runs >= runs + 2; }));
    thread->stopRepeatingAndWait();
    EXPECT_TRUE(thread->isIdle());
}

TEST(ThreadWait, WaitIdleOrRestartLeavesAWorkerThatFinishesInTime)
{
    auto thread = Pooled<Thread>::take();
    const unsigned long id = thread->threadId();
    thread->waitIdleOrRestart(100);
    EXPECT_EQ(thread->threadId(), id) << "an idle worker is kept";

    RecordingTask task(50);
    thread->runOnce(&task);
    thread->waitIdleOrRestart(5000);
    EXPECT_EQ(task.runs, 1);
    EXPECT_EQ(thread->threadId(), id);
}

TEST(ThreadWait, WaitIdleOrRestartReplacesAStuckWorker)
{
    auto thread = Pooled<Thread>::take();
    thread->setPriority(IThread::kPriorityHighest);
    auto gate = std::make_unique<GateTask>();
    thread->runForever(gate.get());
    ASSERT_TRUE(eventually([&] { return gate->entered == 1; }));
    const unsigned long stuckId = thread->threadId();

    const Clock::time_point start = Clock::now();
    thread->waitIdleOrRestart(100);
    const long long waited = msBetween(start, Clock::now());
    EXPECT_GE(waited, 95);
    EXPECT_LT(waited, 5000) << "bounded by the given time, not by the task";
    EXPECT_TRUE(thread->isIdle());
    EXPECT_EQ(thread->getPriority(), IThread::kPriorityHighest);
    EXPECT_NE(thread->threadId(), stuckId) << "a fresh OS thread";
    EXPECT_TRUE(purgo_test::osThreadAlive(thread->threadId()));

    RecordingTask task;
    thread->runTimes(&task, 2);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 2);
    EXPECT_EQ(task.threadIds().at(0), thread->threadId());

    // The old worker ends (killed at once, or on its own once its task
    // returns) and never runs its old job again.
    gate->open = true;
    EXPECT_TRUE(eventually([&] { return !purgo_test::osThreadAlive(stuckId); })) << "the stuck worker is gone";
    EXPECT_EQ(gate->entered, 1);
    EXPECT_EQ(task.runs, 2);
    // A worker that was let go rather than killed touched the gate last when
    // it said it returned; reading that orders the gate's destruction after.
    if (gate->returned) {
        EXPECT_TRUE(gate->open);
    }
}

// ---- exit and destruction ----------------------------------------------

TEST(ThreadExit, ExitAndWaitEndsAParkedWorker)
{
    Thread thread;
    const unsigned long id = thread.threadId();
    ASSERT_TRUE(purgo_test::osThreadAlive(id));
    thread.exitAndWait();
    EXPECT_TRUE(eventually([&] { return !purgo_test::osThreadAlive(id); }));

    // An exited worker takes no more jobs; the waits return.
    RecordingTask task;
    thread.runOnce(&task);
    EXPECT_TRUE(thread.isIdle());
    thread.waitIdle();
    thread.waitExit();
    EXPECT_EQ(task.runs, 0);
}

TEST(ThreadExit, RequestExitEndsAJobAfterTheRunInProgress)
{
    Thread thread;
    const unsigned long id = thread.threadId();
    RecordingTask task(5);
    thread.runForever(&task);
    ASSERT_TRUE(eventually([&] { return task.runs >= 2; }));
    thread.requestExit();
    thread.waitExit();
    EXPECT_FALSE(task.inRun);
    EXPECT_EQ(task.starts().size(), static_cast<std::size_t>(task.runs));
    EXPECT_TRUE(eventually([&] { return !purgo_test::osThreadAlive(id); }));
    thread.waitIdle();  // returns: nothing will ever run again
}

TEST(ThreadExit, DestructionEndsTheWorkerWhateverItsState)
{
    struct Row {
        const char* name;
        std::function<void(Thread&, RecordingTask&)> prepare;
    };
    const Row rows[] = {
        {"never used",
         [](Thread&, RecordingTask&) {
         }},
        {"idle after a job",
         [](Thread& t, RecordingTask& k) {
             t.runOnce(&k);
             t.waitIdle();
         }},
        {"running forever",
         [](Thread& t, RecordingTask& k) {
             t.runForever(&k);
             eventually([&] { return k.runs >= 1; });
         }},
        {"running with a long gap",
         [](Thread& t, RecordingTask& k) {
             t.runForeverWithGap(&k, 50);
         }},
        {"extra suspensions",
         [](Thread& t, RecordingTask&) {
             t.suspend();
             t.suspend();
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecordingTask task(2);
        auto thread = std::make_unique<Thread>();
        const unsigned long id = thread->threadId();
        row.prepare(*thread, task);
        thread.reset();
        EXPECT_FALSE(task.inRun);
        EXPECT_TRUE(eventually([&] { return !purgo_test::osThreadAlive(id); }));
    }
}

TEST(ThreadExit, ManyWorkersComeAndGo)
{
    CountingTask task;
    for (int i = 0; i < 100; ++i) {
        Thread thread;
        thread.runOnce(&task);
        ASSERT_TRUE(spinUntil([&] { return task.runs == i + 1; })) << "worker " << i;
    }
}

// ---- priority and the pool ---------------------------------------------

TEST(ThreadPriority, SetPriorityIsReadBack)
{
    auto thread = Pooled<Thread>::take();
    EXPECT_EQ(thread->getPriority(), IThread::kPriorityNormal);
    for (int priority : {IThread::kPriorityHighest, -2, -1, 1, IThread::kPriorityNormal}) {
        SCOPED_TRACE(priority);
        thread->setPriority(priority);
        EXPECT_EQ(thread->getPriority(), priority);
    }
}

TEST(ThreadPool, ThreadTakenAgainStartsReset)
{
    struct Calls {
        std::atomic<int> count{0};
    } calls;
    RecordingTask oldJob(2);
    Thread* reused = nullptr;
    {
        // Given back in the middle of a job without end.
        auto thread = Pooled<Thread>::take();
        reused = thread.get();
        thread->setPriority(IThread::kPriorityHighest);
        thread->setFunction([](void* context) { ++static_cast<Calls*>(context)->count; }, &calls);
        thread->runForever(&oldJob);
        ASSERT_TRUE(eventually([&] { return oldJob.runs >= 1; }));
    }
    EXPECT_FALSE(oldJob.inRun) << "giving back waits for the run in progress";
    const int oldRuns = oldJob.runs;

    auto thread = Pooled<Thread>::take();
    ASSERT_EQ(thread.get(), reused) << "the pool gives back the spare given to it last";
    EXPECT_TRUE(thread->isIdle());
    EXPECT_EQ(thread->getPriority(), IThread::kPriorityNormal);

    thread->runOnce(thread.get());
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(calls.count, 0) << "the function was cleared";

    RecordingTask task;
    thread->runTimes(&task, 2);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 2) << "the new owner's job runs";
    EXPECT_EQ(oldJob.runs, oldRuns) << "the old owner's job is gone";
}

TEST(ThreadPool, PendingPauseDoesNotReachTheNextOwner)
{
    Thread* reused = nullptr;
    {
        auto thread = Pooled<Thread>::take();
        reused = thread.get();
        thread->pauseFor(60000);  // never consumed: no job follows
    }
    auto thread = Pooled<Thread>::take();
    ASSERT_EQ(thread.get(), reused);
    RecordingTask task;
    const Clock::time_point given = Clock::now();
    thread->runOnce(&task);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 1);
    EXPECT_LT(msBetween(given, Clock::now()), 30000);
}

TEST(ThreadPool, ExitedThreadGivenBackWorksForTheNextOwner)
{
    Thread* reused = nullptr;
    {
        auto thread = Pooled<Thread>::take();
        reused = thread.get();
        thread->exitAndWait();
    }
    auto thread = Pooled<Thread>::take();
    ASSERT_EQ(thread.get(), reused);
    EXPECT_TRUE(purgo_test::osThreadAlive(thread->threadId()));
    RecordingTask task;
    thread->runTimes(&task, 2);
    ASSERT_TRUE(becomesIdle(*thread));
    EXPECT_EQ(task.runs, 2);
}

}  // namespace
