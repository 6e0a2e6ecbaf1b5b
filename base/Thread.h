// A pooled worker thread: one operating-system thread that stays alive between
// jobs and is reused by the next owner when the object goes back to its pool.
//
// Take one with Pooled<Thread>::take() (or Pool<Thread>::take()); giving it
// back stops its job (waiting for the run in progress), resets the priority,
// pause and function, and keeps the worker parked for the next owner.
//
// The worker parks itself when it has nothing to do; starting a job wakes it
// and costs a lock and a resume. A job set while the worker is on its way to
// park is never lost: a starter that finds the worker parking keeps resuming it
// until the worker has looked at the job block again.
//
// Failure: when the system refuses the worker thread the object still works as
// an idle Thread that accepts no jobs (job calls leave it idle, waits return).
#pragma once

#include "base/IThread.h"
#include "base/Pool.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace s::thread::win {

class Thread final : public s::thread::PooledObject<Thread, s::thread::IThread>, public s::thread::ITask {
public:
    Thread();
    // Asks the worker to exit, waits for it (the run in progress finishes
    // first) and releases it.
    ~Thread() override;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    const char* className() const override { return "s_thread_win_Thread"; }
    void reset() override;

    unsigned long threadId() const override;
    void runOnce(ITask* task) override;
    void runTimes(ITask* task, int times) override;
    void runTimesWithGap(ITask* task, int times, unsigned gapMs) override;
    void runTimesAtRate(ITask* task, int times, unsigned periodMs) override;
    void runForever(ITask* task) override;
    void runForeverWithGap(ITask* task, unsigned gapMs) override;
    void runForeverAtRate(ITask* task, unsigned periodMs) override;
    bool isIdle() const override;
    void waitIdle() override;
    void waitIdleOrRestart(unsigned ms) override;
    void stopRepeating() override;
    void stopRepeatingAndWait() override;
    void waitExit() override;
    void requestExit() override;
    void exitAndWait() override;
    void pauseFor(unsigned ms) override;
    void resume() override;
    void suspend() override;
    int getPriority() const override;
    void setPriority(int priority) override;
    void setFunction(Function function, void* context) override;

    // ITask: a Thread given itself as its task calls its function.
    void run() override;

private:
    enum class Pacing : std::uint8_t { BackToBack = 0, FixedGap = 1, FixedRate = 2 };
    struct Core;

    std::shared_ptr<Core> core() const;
    std::shared_ptr<Core> makeCore();
    void startJob(ITask* task, int times, Pacing pacing, unsigned interval);
    void replaceWorker(bool killBusyWorker);

    static void wake(Core& core, bool workerWasParking);
    static bool resumeWorker(Core& core);
    static void workerMain(void* context);
    static void workerLoop(Core& core);
    static void enterAsWorker(Core& core);

    // The worker's job block and its OS thread. Replaced as a whole when a
    // stuck worker is killed or abandoned: an abandoned worker keeps its old
    // block and never sees the new one.
    mutable std::mutex m_coreLock;
    std::shared_ptr<Core> m_core;

    std::atomic<int> m_priority{kPriorityNormal};

    mutable std::mutex m_functionLock;
    Function m_function = nullptr;
    void* m_functionContext = nullptr;
};

}  // namespace s::thread::win
