// Measuring the collect run's groups on several threads while whoever shows
// them still sees them one by one in list order.
//
// The groups of a collect are independent: each has its own targets and
// figures, and the walk reads only what is fixed before the run starts (the
// keep lists, the protected places, the caption texts). A walk spends most
// of its time waiting for the file system or the registry, so two or three
// walks at once finish sooner than one after another, even on one core.
//
// measureInOrder hands the indices 0 … count-1 to `workers` threads: the
// calling thread and workers-1 pooled threads (base/Thread.h). Each index is
// measured exactly once, by whichever thread claims it first. On the calling
// thread only, and strictly in index order, `starting(i)` is called when i is
// the next to publish and `publish(i)` once measure(i) has returned; so the
// caller sees exactly the sequence of calls a plain loop would make. While
// the index it must publish next is still being measured elsewhere, the
// calling thread measures the next unclaimed one itself; with one worker
// that is the plain loop.
//
// Cancel: once the flag is set, no thread claims another index and nothing
// more is published; the measures in progress finish (a walk is not broken
// off halfway) and the call returns false. Whatever the outcome, it returns
// only when no worker touches the indices, the steps or the flag any more.
//
// A measure that throws is caught where it ran: its index counts as measured
// (the caller's measure step decides what the group shows then) and the
// other indices go on. A pooled thread that the system could not start is
// left out; its share falls to the others.
//
// No thread keeps state of its own after the call: the pooled threads park
// until the next run (no thread_local object, see docs/WINE.md).
#pragma once

#include <atomic>
#include <functional>

namespace s::file::gui::dialogs::purgo {

struct OverlapSteps {
    std::function<void(int)> starting;  // calling thread, in order (may be empty)
    std::function<void(int)> measure;   // any thread, once per index
    std::function<void(int)> publish;   // calling thread, in order, after measure(i)
};

// 2 to 4 by the number of processors: enough to keep the file system busy
// while one walk waits, few enough not to crowd a small machine.
int overlapWorkers();

// workers < 1 counts as 1. See above.
bool measureInOrder(int count, int workers, const std::atomic<bool>& cancel, const OverlapSteps& steps);

}  // namespace s::file::gui::dialogs::purgo
