#include "base/Thread.h"

#include "base/ObjLocker.h"
#include "base/OsThread.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace s::thread::win {

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kIdlePollMs = 20;
constexpr unsigned kExitPollMs = 100;

void sleepMs(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Between two looks at a lock or a flag another thread is about to change:
// yield first, then give the other thread real time.
void backOff(unsigned attempt)
{
    if (attempt < 64)
        std::this_thread::yield();
    else
        sleepMs(1);
}

}  // namespace

// The job block, shared by the owner and the worker. Every field except the
// atomics is read and written under lock only.
struct Thread::Core {
    s::thread::ObjLocker lock;

    unsigned pause = 0;  // ms to sleep before the next look at the job; consumed when read
    ITask* task = nullptr;
    std::int32_t remaining = 0;  // runs still to do; kForever = without end
    Pacing pacing = Pacing::BackToBack;
    unsigned interval = 0;  // ms, for FixedGap and FixedRate
    bool entered = false;   // set each time the worker takes the lock
    bool stopRequested = false;
    // Set by the worker under the lock when it decides to park; cleared when it
    // takes the lock again. Tells a starter that one resume may come too early.
    bool parking = false;
    // The worker was killed or let go and replaced: nobody waits for it.
    bool abandoned = false;

    // Read without the lock: by the worker just before it parks and by the
    // owner's polling waits.
    std::atomic<bool> idle{true};
    std::atomic<bool> exited{false};

    // Set once at creation; null when the system refused the thread.
    std::unique_ptr<OsThread> os;

    bool workerGone() const { return !os || exited; }
};

Thread::Thread()
{
    // In the body, not the initialiser list: makeCore reads m_priority.
    m_core = makeCore();
}

Thread::~Thread()
{
    exitAndWait();
    const std::shared_ptr<Core> c = core();
    if (c->os)
        c->os->join();
}

std::shared_ptr<Thread::Core> Thread::core() const
{
    std::lock_guard guard(m_coreLock);
    return m_core;
}

// A new job block with a worker that is created suspended and idle, at the
// remembered priority.
std::shared_ptr<Thread::Core> Thread::makeCore()
{
    auto c = std::make_shared<Core>();
    c->os = OsThread::createSuspended(&Thread::workerMain, c.get(), c);
    if (c->os)
        c->os->setPriority(m_priority);
    return c;
}

// ---- the worker ----------------------------------------------------------

void Thread::workerMain(void* context)
{
    workerLoop(*static_cast<Core*>(context));
}

void Thread::enterAsWorker(Core& c)
{
    c.os->checkIn();
    // Poll instead of blocking: waitIdleOrRestart may terminate this thread at
    // any moment it is outside the lock (the killer holds the lock, so never
    // inside it), and a thread killed while queued on a lock leaves that
    // lock's bookkeeping of waiters wrong for every later user. A failed
    // try-enter leaves no trace. The owner holds the lock only for a few field
    // writes, so the polling is short.
    for (unsigned attempt = 0; !c.lock.tryEnter(); ++attempt)
        backOff(attempt);
    c.entered = true;
    c.parking = false;
}

// The body of the OS thread. The lock is held only while the job block is read
// or changed, never while a task runs or the worker sleeps or parks.
void Thread::workerLoop(Core& c)
{
    enterAsWorker(c);
    while (!c.stopRequested) {
        if (c.pause != 0) {
            const unsigned ms = std::exchange(c.pause, 0u);
            c.lock.leave();
            sleepMs(ms);
        } else if (c.remaining != 0) {
            if (c.remaining != kForever)
                --c.remaining;
            ITask* const task = c.task;
            const Pacing pacing = c.pacing;
            const unsigned interval = c.interval;
            const std::int32_t left = c.remaining;
            c.lock.leave();
            if (task) {
                const Clock::time_point start = Clock::now();
                task->run();
                // Pacing only separates runs: none after the last one.
                if (left != 0) {
                    if (pacing == Pacing::FixedGap)
                        sleepMs(interval);
                    else if (pacing == Pacing::FixedRate)
                        std::this_thread::sleep_until(start + std::chrono::milliseconds(interval));
                }
            }
        } else {
            c.idle = true;
            c.parking = true;
            c.lock.leave();
            // Read again without the lock: a job set since then has cleared
            // it. A job set after this read finds parking set and keeps
            // resuming until this thread has come back to the lock.
            if (c.idle)
                c.os->suspendSelf();
        }
        enterAsWorker(c);
    }
    c.lock.leave();
    c.exited = true;
}

// ---- waking --------------------------------------------------------------

// Resumes until the system reports that the thread was suspended at most once
// before the call (it runs now). False when the system reports a failure
// instead of a count, or there is no thread.
bool Thread::resumeWorker(Core& c)
{
    if (!c.os)
        return false;
    for (;;) {
        const long before = c.os->resume();
        if (before == OsThread::kFailed)
            return false;
        if (before <= 1)
            return true;
    }
}

// After a request was written under the lock. workerWasParking is the parking
// flag read under that same lock: if the worker had decided to park, its own
// suspend may still be ahead of it, and a resume that comes first does nothing;
// so keep resuming until the worker has taken the lock again and therefore
// seen the request.
void Thread::wake(Core& c, bool workerWasParking)
{
    if (!resumeWorker(c) || !workerWasParking)
        return;
    for (unsigned attempt = 0;; ++attempt) {
        {
            s::thread::ObjLocker::Guard guard(c.lock);
            if (c.entered || c.exited || c.abandoned)
                return;
        }
        backOff(attempt);
        if (!resumeWorker(c))
            return;
    }
}

// ---- jobs ----------------------------------------------------------------

void Thread::startJob(ITask* task, int times, Pacing pacing, unsigned interval)
{
    const std::shared_ptr<Core> c = core();
    bool wasParking = false;
    {
        s::thread::ObjLocker::Guard guard(c->lock);
        // A worker that was told to exit, or that the system never created,
        // runs nothing: the Thread stays idle instead of showing a job that
        // waitIdle would wait for without end.
        if (!c->os || c->stopRequested)
            return;
        c->task = task;
        // Any negative count means "without end"; counting down from another
        // negative number would run into signed overflow.
        c->remaining = times < 0 ? kForever : times;
        c->pacing = pacing;
        c->interval = interval;
        c->entered = false;
        c->idle = false;
        wasParking = c->parking;
    }
    wake(*c, wasParking);
}

void Thread::runOnce(ITask* task)
{
    startJob(task, 1, Pacing::BackToBack, 0);
}

void Thread::runTimes(ITask* task, int times)
{
    startJob(task, times, Pacing::BackToBack, 0);
}

void Thread::runTimesWithGap(ITask* task, int times, unsigned gapMs)
{
    startJob(task, times, Pacing::FixedGap, gapMs);
}

void Thread::runTimesAtRate(ITask* task, int times, unsigned periodMs)
{
    startJob(task, times, Pacing::FixedRate, periodMs);
}

void Thread::runForever(ITask* task)
{
    startJob(task, kForever, Pacing::BackToBack, 0);
}

void Thread::runForeverWithGap(ITask* task, unsigned gapMs)
{
    startJob(task, kForever, Pacing::FixedGap, gapMs);
}

void Thread::runForeverAtRate(ITask* task, unsigned periodMs)
{
    startJob(task, kForever, Pacing::FixedRate, periodMs);
}

// ---- waiting and stopping ------------------------------------------------

unsigned long Thread::threadId() const
{
    const std::shared_ptr<Core> c = core();
    return c->os ? c->os->id() : 0;
}

bool Thread::isIdle() const
{
    return core()->idle;
}

void Thread::waitIdle()
{
    // The block is looked up on every pass: another thread may replace a
    // stuck worker meanwhile.
    for (;;) {
        const std::shared_ptr<Core> c = core();
        if (c->idle || c->workerGone())
            return;
        sleepMs(kIdlePollMs);
    }
}

void Thread::waitIdleOrRestart(unsigned ms)
{
    unsigned left = ms;
    while (left > 0 && !isIdle()) {
        const unsigned step = std::min(left, kIdlePollMs);
        sleepMs(step);
        left -= step;
    }
    if (isIdle())
        return;
    replaceWorker(true);
}

// Puts a new worker in place of the current one. The old one is told to stop
// and then, when killBusyWorker is set or it has not ended, abandoned (see
// OsThread::abandon): Windows terminates it while this thread holds its lock,
// so it dies outside the job block; a POSIX thread cannot be terminated from
// outside, so it runs its task to the end on its own, finds its (old, private)
// block told to stop and ends, touching nothing the new worker uses.
void Thread::replaceWorker(bool killBusyWorker)
{
    std::lock_guard guard(m_coreLock);
    const std::shared_ptr<Core> old = m_core;
    {
        s::thread::ObjLocker::Guard oldGuard(old->lock);
        old->stopRequested = true;
        old->abandoned = true;
        if (old->os) {
            if (killBusyWorker || !old->exited)
                old->os->abandon();
            else
                old->os->join();
        }
    }
    m_core = makeCore();
}

void Thread::stopRepeating()
{
    const std::shared_ptr<Core> c = core();
    {
        s::thread::ObjLocker::Guard guard(c->lock);
        c->remaining = 0;
    }
    resumeWorker(*c);
}

void Thread::stopRepeatingAndWait()
{
    stopRepeating();
    waitIdle();
}

void Thread::waitExit()
{
    for (;;) {
        const std::shared_ptr<Core> c = core();
        if (c->workerGone())
            return;
        resumeWorker(*c);
        // Also ends the wait for a thread that ended without saying so.
        if (c->os->waitEnded(kExitPollMs))
            return;
    }
}

void Thread::requestExit()
{
    const std::shared_ptr<Core> c = core();
    bool wasParking = false;
    {
        s::thread::ObjLocker::Guard guard(c->lock);
        c->stopRequested = true;
        c->entered = false;
        wasParking = c->parking;
    }
    wake(*c, wasParking);
}

void Thread::exitAndWait()
{
    requestExit();
    waitExit();
}

// ---- control -------------------------------------------------------------

void Thread::pauseFor(unsigned ms)
{
    const std::shared_ptr<Core> c = core();
    s::thread::ObjLocker::Guard guard(c->lock);
    c->pause = ms;
}

void Thread::resume()
{
    resumeWorker(*core());
}

void Thread::suspend()
{
    const std::shared_ptr<Core> c = core();
    s::thread::ObjLocker::Guard guard(c->lock);
    if (c->os)
        c->os->suspend();
}

int Thread::getPriority() const
{
    const std::shared_ptr<Core> c = core();
    int priority = m_priority;
    if (c->os)
        c->os->priority(priority);
    return priority;
}

void Thread::setPriority(int priority)
{
    m_priority = priority;
    const std::shared_ptr<Core> c = core();
    if (c->os)
        c->os->setPriority(priority);
}

void Thread::setFunction(Function function, void* context)
{
    std::lock_guard guard(m_functionLock);
    m_function = function;
    m_functionContext = context;
}

void Thread::run()
{
    Function function = nullptr;
    void* context = nullptr;
    {
        std::lock_guard guard(m_functionLock);
        function = m_function;
        context = m_functionContext;
    }
    // Nothing of this object is touched after the call: a worker abandoned in
    // the middle of it may return after the object was reused or destroyed.
    if (function)
        function(context);
}

// ---- the pool ------------------------------------------------------------

// Back to the freshly constructed state, keeping the OS thread for the next
// owner. A worker that was told to exit (or never existed) is replaced, so
// that a spare always runs the next owner's jobs.
void Thread::reset()
{
    const std::shared_ptr<Core> c = core();
    bool stopped = false;
    {
        s::thread::ObjLocker::Guard guard(c->lock);
        stopped = c->stopRequested;
    }
    if (!c->os || stopped) {
        exitAndWait();
        replaceWorker(false);
    } else if (!c->idle) {
        stopRepeatingAndWait();
    }
    setPriority(kPriorityNormal);
    suspend();
    {
        const std::shared_ptr<Core> now = core();
        s::thread::ObjLocker::Guard guard(now->lock);
        now->idle = true;
        now->pause = 0;
        now->task = nullptr;
        now->remaining = 0;
        now->pacing = Pacing::BackToBack;
        now->interval = 0;
    }
    setFunction(nullptr, nullptr);
}

}  // namespace s::thread::win
