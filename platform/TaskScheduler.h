// Task Scheduler 2.0 (ITaskService), for the boot run: one logon task in
// the root folder. Each operation connects to the local service, takes the
// root folder "\" and does one thing, returning the HRESULT of the first
// step that failed (kSOk when all went through), so that the caller can end
// at any failure.
//
// Reach the build's implementation through taskScheduler(): COM on Windows,
// a recording fake elsewhere (platform/fake/FakeTaskScheduler.h).
#pragma once

#include "platform/HResult.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace s::platform {

// TASK_LOGON_INTERACTIVE_TOKEN, TASK_RUNLEVEL_HIGHEST, TASK_CREATE_OR_UPDATE.
inline constexpr int kTaskLogonInteractiveToken = 3;
inline constexpr int kTaskRunLevelHighest = 1;
inline constexpr int kTaskCreateOrUpdate = 6;

// Everything a logon task is made of, as ITaskDefinition and
// RegisterTaskDefinition take it.
struct LogonTask {
    std::u16string author;       // IRegistrationInfo::Author
    std::u16string principalId;  // IPrincipal::Id
    int logonType = 0;           // IPrincipal::LogonType
    int runLevel = 0;            // IPrincipal::RunLevel
    bool startWhenAvailable = false;
    bool disallowStartIfOnBatteries = true;
    bool stopIfGoingOnBatteries = true;
    std::u16string triggerId;      // ILogonTrigger::Id
    std::u16string triggerUserId;  // ILogonTrigger::UserId
    std::u16string triggerDelay;   // ILogonTrigger::Delay, "PT0S"
    std::u16string actionPath;     // IExecAction::Path
    std::u16string actionArguments;
    int registrationFlags = 0;          // RegisterTaskDefinition's flags
    int registrationLogonType = 0;      // and its logon type
    std::u16string securityDescriptor;  // its SDDL ("" for none)
    friend bool operator==(const LogonTask&, const LogonTask&) = default;
};

class ITaskScheduler {
public:
    virtual ~ITaskScheduler() = default;

    // Deletes the task `name` of the root folder.
    virtual HResult deleteTask(std::u16string_view name) = 0;
    // Builds the definition (registration info, principal, settings, one
    // logon trigger, one exec action) and registers it as `name`.
    virtual HResult registerTask(std::u16string_view name, const LogonTask& task) = 0;
    // GetTask of the root folder: kSOk when the task is there.
    virtual HResult findTask(std::u16string_view name) = 0;
};

ITaskScheduler& taskScheduler();

}  // namespace s::platform
