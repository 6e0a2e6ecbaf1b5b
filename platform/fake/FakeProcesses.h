// The processes of native builds: a table a test fills (ids, executable
// paths, top-level windows), a record of the waits and messages the code
// under test made, and a process that hangs.
#pragma once

#include "platform/Processes.h"

#include <string_view>

namespace s::platform {

struct SentMessage {
    std::uintptr_t window = 0;
    std::uint32_t message = 0;
    std::uint32_t milliseconds = 0;
};

struct WaitCall {
    std::uint32_t process = 0;
    std::uint32_t milliseconds = 0;
};

class FakeProcesses : public IProcesses {
public:
    // A process with its executable path ("" for one whose path cannot be
    // read); the own process is id 100 unless set.
    virtual void addProcess(std::uint32_t id, std::u16string_view path) = 0;
    // The process ended: gone from the table with its windows.
    virtual void removeProcess(std::uint32_t id) = 0;
    virtual void setCurrentProcessId(std::uint32_t id) = 0;
    // The session a process runs in; every process is in session 1 (the
    // own process too) unless set.
    virtual void setSession(std::uint32_t process, std::uint32_t session) = 0;
    virtual void addWindow(std::uint32_t process, std::uintptr_t handle, std::u16string_view caption) = 0;
    // A hung process: sending to its windows fails.
    virtual void setHung(std::uint32_t process, bool hung) = 0;
    virtual std::vector<SentMessage> sent() = 0;
    virtual std::vector<WaitCall> waits() = 0;
    virtual void clear() = 0;
};

FakeProcesses& fakeProcesses();

}  // namespace s::platform
