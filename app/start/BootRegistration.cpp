#include "app/start/BootRegistration.h"

#include "platform/FileSystem.h"
#include "platform/MachineFacts.h"
#include "platform/RegFunctions.h"
#include "platform/ShellItems.h"
#include "platform/ShellLinks.h"

#include <mutex>

namespace s::app::win {

namespace {

namespace p = s::platform;

constexpr char16_t kTaskName[] = u"RunAsAdministratorWhenLoggedOn";
constexpr char16_t kSwitch[] = u"-startup";

// The user the logon trigger names, read once per process.
const std::u16string& currentUserName()
{
    static std::once_flag once;
    static std::u16string name;
    std::call_once(once, [] { name = p::machineFacts().userName(); });
    return name;
}

bool fileExists(const std::u16string& path)
{
    const std::uint32_t attributes = p::fileSystem().attributes(path.c_str());
    return attributes != p::kInvalidFileAttributes && !(attributes & p::kFileAttributeDirectory);
}

}  // namespace

bool bootRunUsesTask(const OsVersion& os)
{
    if (!os.vistaOrLater())
        return false;
    p::IRegFunctions& registry = p::regFunctions();
    p::RegKey key;
    if (registry.openKey(p::RootKey::LocalMachine, u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                         p::kKeyRead, key) != p::kErrorSuccess)
        return true;
    std::uint32_t value = 1;
    std::uint32_t type = 0;
    std::uint32_t length = sizeof(value);
    if (registry.queryValue(key, u"EnableLUA", &type, reinterpret_cast<std::byte*>(&value), &length) !=
            p::kErrorSuccess ||
        type != p::kRegDword)
        return true;
    return value != 0;
}

p::LogonTask bootRunTask(std::u16string_view programPath, std::u16string_view userName)
{
    p::LogonTask task;
    task.author = kTaskName;
    task.principalId = std::u16string(kTaskName) + u"_Principal";
    task.logonType = p::kTaskLogonInteractiveToken;
    task.runLevel = p::kTaskRunLevelHighest;
    task.startWhenAvailable = true;
    task.disallowStartIfOnBatteries = false;
    task.stopIfGoingOnBatteries = false;
    task.triggerId = std::u16string(kTaskName) + u"_Trigger";
    task.triggerUserId = userName;
    task.triggerDelay = u"PT0S";
    task.actionPath = programPath;
    task.actionArguments = kSwitch;
    task.registrationFlags = p::kTaskCreateOrUpdate;
    task.registrationLogonType = p::kTaskLogonInteractiveToken;
    return task;
}

std::u16string bootRunShortcutPath(std::u16string_view name)
{
    std::u16string folder;
    if (p::shellItems().specialFolderPath(p::kCsidlStartup, folder) < 0 || folder.empty())
        return {};
    folder += u'\\';
    folder += name;
    folder += u".lnk";
    return folder;
}

void registerBootRun(std::u16string_view name, std::u16string_view programPath, const OsVersion& os)
{
    if (bootRunUsesTask(os)) {
        p::ITaskScheduler& scheduler = p::taskScheduler();
        // A task of the same name from before goes first; its absence is no
        // failure. A failed registration ends here: no shortcut instead.
        scheduler.deleteTask(name);
        scheduler.registerTask(name, bootRunTask(programPath, currentUserName()));
        return;
    }
    const std::u16string link = bootRunShortcutPath(name);
    const std::u16string program(programPath);
    if (link.empty() || !fileExists(program) || fileExists(link))
        return;
    p::shellLinks().createShortcut(link.c_str(), program.c_str(), kSwitch);
}

void unregisterBootRun(std::u16string_view name, const OsVersion& os)
{
    if (os.vistaOrLater())
        p::taskScheduler().deleteTask(name);
    const std::u16string link = bootRunShortcutPath(name);
    if (!link.empty() && fileExists(link))
        p::fileSystem().deleteFile(link.c_str());
}

bool isBootRunRegistered(std::u16string_view name, const OsVersion& os)
{
    if (os.vistaOrLater() && p::taskScheduler().findTask(name) == p::kSOk)
        return true;
    const std::u16string link = bootRunShortcutPath(name);
    return !link.empty() && fileExists(link);
}

}  // namespace s::app::win
