// A worker thread that stays alive between jobs. A job names a task, how many
// times to run it and how to pace the runs; there is no queue: a new job
// replaces the one before (the run in progress finishes first). When the job
// is done the worker goes idle and parks until it is given the next one.
#pragma once

#include "base/IObject.h"
#include "base/ITask.h"

namespace s::thread {

class IThread : public s::base::IObject {
public:
    // Run count of a job without end.
    static constexpr int kForever = -1;
    // Windows thread priorities.
    static constexpr int kPriorityNormal = 0;
    static constexpr int kPriorityHighest = 2;

    // What the thread runs when it is given itself as its task.
    using Function = void (*)(void* context);

    // The operating system's id of the worker thread; 0 when there is none.
    virtual unsigned long threadId() const = 0;

    // Jobs. times: the number of runs; a negative count runs without end.
    // A null task consumes its runs without doing anything.
    virtual void runOnce(ITask* task) = 0;
    virtual void runTimes(ITask* task, int times) = 0;
    // Sleeps gapMs between the end of one run and the start of the next.
    virtual void runTimesWithGap(ITask* task, int times, unsigned gapMs) = 0;
    // Starts the runs periodMs apart; a run that takes longer is followed at
    // once by the next.
    virtual void runTimesAtRate(ITask* task, int times, unsigned periodMs) = 0;
    virtual void runForever(ITask* task) = 0;
    virtual void runForeverWithGap(ITask* task, unsigned gapMs) = 0;
    virtual void runForeverAtRate(ITask* task, unsigned periodMs) = 0;

    // True once the worker has no runs left to do.
    virtual bool isIdle() const = 0;
    // Polls in 20 ms steps until idle (or until the worker has ended). A task
    // that never returns keeps it waiting.
    virtual void waitIdle() = 0;
    // Waits up to ms for idle; then kills a worker that is still busy and
    // gives the object a fresh idle worker of the same priority.
    virtual void waitIdleOrRestart(unsigned ms) = 0;
    // Ends a job after the run in progress.
    virtual void stopRepeating() = 0;
    virtual void stopRepeatingAndWait() = 0;

    // Waits in 100 ms steps until the worker has ended, waking it each time so
    // that a parked worker sees a request to exit.
    virtual void waitExit() = 0;
    // Tells the worker to end after the run in progress. The object then runs
    // no more jobs (until it is given back to its pool).
    virtual void requestExit() = 0;
    virtual void exitAndWait() = 0;

    // The worker sleeps ms before it looks at its job again.
    virtual void pauseFor(unsigned ms) = 0;
    // Resumes the worker until it is no longer suspended.
    virtual void resume() = 0;
    // Adds one to the worker's suspend count.
    virtual void suspend() = 0;

    virtual int getPriority() const = 0;
    virtual void setPriority(int priority) = 0;
    virtual void setFunction(Function function, void* context) = 0;
};

}  // namespace s::thread
