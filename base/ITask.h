// Work that can be handed to a worker thread. run() executes on the worker;
// a task synchronises whatever state it shares with other threads itself.
#pragma once

namespace s::thread {

class ITask {
public:
    virtual ~ITask() = default;
    virtual void run() = 0;
};

}  // namespace s::thread
