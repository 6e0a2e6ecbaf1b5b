// Taking a record from its pool and giving it back against building and
// destroying one directly: the pool must stay well ahead of the allocator.
#include "engine/TimeRecord.h"

#include <benchmark/benchmark.h>

namespace purgo = s::file::gui::dialogs::purgo;

static void BM_RecordFromPool(benchmark::State& state)
{
    for (auto _ : state) {
        purgo::TimeRecord* r = s::thread::Pool<purgo::TimeRecord>::take();
        benchmark::DoNotOptimize(r);
        r->release();
    }
}
BENCHMARK(BM_RecordFromPool);

static void BM_RecordNewDelete(benchmark::State& state)
{
    for (auto _ : state) {
        auto* r = new purgo::TimeRecord();
        benchmark::DoNotOptimize(r);
        delete r;
    }
}
BENCHMARK(BM_RecordNewDelete);
