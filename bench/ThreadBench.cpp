// One job on a pooled worker (a lock and a resume, the worker parked and woken)
// against the baseline of a new thread for every job (create, run, join): the
// pooled worker must stay well ahead.
#include "base/Thread.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace {

class CountingTask : public s::thread::ITask {
public:
    void run() override { runs.fetch_add(1, std::memory_order_release); }
    std::atomic<long> runs{0};
};

void waitForRuns(const CountingTask& task, long runs)
{
    while (task.runs.load(std::memory_order_acquire) < runs)
        std::this_thread::yield();
}

}  // namespace

static void BM_JobOnPooledWorker(benchmark::State& state)
{
    auto thread = s::thread::Pooled<s::thread::win::Thread>::take();
    CountingTask task;
    long runs = 0;
    for (auto _ : state) {
        thread->runOnce(&task);
        waitForRuns(task, ++runs);
    }
    thread->waitIdle();
}
BENCHMARK(BM_JobOnPooledWorker);

static void BM_NewThreadPerJob(benchmark::State& state)
{
    CountingTask task;
    for (auto _ : state) {
        std::thread worker([&task] { task.run(); });
        worker.join();
    }
}
BENCHMARK(BM_NewThreadPerJob);
