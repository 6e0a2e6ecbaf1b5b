// The Task Scheduler of native builds: it records every task registered and
// every call made, and can be told to fail at a step, so that the exact
// definition of the boot run and the "no fallback" rule can be checked where
// Wine implements too little of the service (logon triggers, logon types and
// run levels are E_NOTIMPL there).
#pragma once

#include "platform/TaskScheduler.h"

#include <map>
#include <string>
#include <vector>

namespace s::platform {

enum class TaskStep : std::uint8_t { Connect, Delete, Register, Find };

class FakeTaskScheduler : public ITaskScheduler {
public:
    // Every later call fails at `step` with `result` (kSOk heals it).
    virtual void failAt(TaskStep step, HResult result) = 0;
    // The tasks of the root folder, by name.
    virtual std::map<std::u16string, LogonTask> tasks() = 0;
    // "delete <name>", "register <name>", "find <name>", in call order.
    virtual std::vector<std::u16string> calls() = 0;
    virtual void clear() = 0;
};

FakeTaskScheduler& fakeTaskScheduler();

}  // namespace s::platform
