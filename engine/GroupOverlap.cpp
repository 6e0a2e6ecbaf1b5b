#include "engine/GroupOverlap.h"

#include "base/Pool.h"
#include "base/Thread.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace s::file::gui::dialogs::purgo {

namespace {

// How long the calling thread sleeps between two looks at the cancel flag
// while it waits for a measure running elsewhere; a finished measure wakes
// it at once.
constexpr auto kCancelPoll = std::chrono::milliseconds(20);

// What the threads of one run share. Lives on the calling thread's stack;
// the pooled threads are given back (which waits for their run to return)
// before it goes.
struct Shared {
    Shared(int total, const std::atomic<bool>& flag, const std::function<void(int)>& step)
        : count(total), cancel(flag), measure(step), done(static_cast<std::size_t>(total), 0)
    {
    }

    // Claims the next index and measures it; false when none is left or the
    // run is cancelled.
    bool measureOne()
    {
        if (cancel.load())
            return false;
        const int index = next.fetch_add(1);
        if (index >= count)
            return false;
        try {
            measure(index);
        } catch (...) {
            // Counted as measured: the caller's step has already put the
            // group in a state it can show, and the other groups go on.
        }
        std::lock_guard guard(lock);
        done[static_cast<std::size_t>(index)] = 1;
        changed.notify_all();
        return true;
    }

    const int count;
    const std::atomic<bool>& cancel;
    const std::function<void(int)>& measure;
    std::atomic<int> next{0};

    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::uint8_t> done;  // under lock
    int active = 0;                  // pooled threads still in run(), under lock
};

class Worker final : public s::thread::ITask {
public:
    explicit Worker(Shared& shared) : m_shared(shared) {}

    void run() override
    {
        while (m_shared.measureOne()) {
        }
        std::lock_guard guard(m_shared.lock);
        --m_shared.active;
        m_shared.changed.notify_all();
    }

private:
    Shared& m_shared;
};

}  // namespace

int overlapWorkers()
{
    // 0 when the library cannot tell: then the smallest pool.
    const unsigned processors = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(processors, 2u, 4u));
}

bool measureInOrder(int count, int workers, const std::atomic<bool>& cancel, const OverlapSteps& steps)
{
    if (count <= 0)
        return !cancel.load();
    workers = std::clamp(workers, 1, count);

    Shared shared(count, cancel, steps.measure);
    Worker task(shared);
    std::vector<s::thread::Pooled<s::thread::win::Thread>> threads;
    threads.reserve(static_cast<std::size_t>(workers - 1));
    for (int w = 1; w < workers; ++w) {
        auto thread = s::thread::Pooled<s::thread::win::Thread>::take();
        // A Thread whose worker the system refused accepts no job: it would
        // never report back, so it takes no part.
        if (!thread || thread->threadId() == 0)
            continue;
        {
            std::lock_guard guard(shared.lock);
            ++shared.active;
        }
        thread->runOnce(&task);
        threads.push_back(std::move(thread));
    }

    bool completed = true;
    for (int i = 0; i < count && completed; ++i) {
        if (cancel.load()) {
            completed = false;
            break;
        }
        if (steps.starting)
            steps.starting(i);
        const auto index = static_cast<std::size_t>(i);
        for (;;) {
            {
                std::lock_guard guard(shared.lock);
                if (shared.done[index])
                    break;
            }
            // Rather than wait, measure what nobody has claimed yet (group
            // i itself when it is still free).
            if (shared.measureOne())
                continue;
            std::unique_lock guard(shared.lock);
            shared.changed.wait_for(guard, kCancelPoll, [&] { return shared.done[index] || cancel.load(); });
            if (shared.done[index])
                break;
            if (cancel.load()) {
                completed = false;
                break;
            }
        }
        // A cancel that came while the group was measured stops the rows
        // here too: nothing is shown once the run was asked to stop.
        if (completed && cancel.load())
            completed = false;
        if (completed)
            steps.publish(i);
    }

    // Joined: every pooled thread is out of the loop and touches nothing of
    // this run. Giving a Thread back waits for it to be idle, which it is
    // a moment after its run returns; waiting here for that moment spares the
    // give-back its 20 ms poll.
    {
        std::unique_lock guard(shared.lock);
        shared.changed.wait(guard, [&] { return shared.active == 0; });
    }
    for (auto& thread : threads)
        for (int spin = 0; spin < 10000 && !thread->isIdle(); ++spin)
            std::this_thread::yield();
    threads.clear();
    return completed;
}

}  // namespace s::file::gui::dialogs::purgo
