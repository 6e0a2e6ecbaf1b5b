#include "catalogue/CatalogueFolders.h"

#include "platform/MachineFacts.h"
#include "platform/ShellItems.h"
#include "platform/SystemInfo.h"

#include <array>
#include <cstddef>
#include <mutex>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::str::strbuffer::StrBuffer;

constexpr std::size_t kFolderCount = 7;

struct FolderCache {
    std::mutex lock;
    std::array<bool, kFolderCount + 1> known{};
    std::array<StrBuffer, kFolderCount + 1> text;  // the last slot is the module path
};

FolderCache& cache()
{
    static FolderCache instance;
    return instance;
}

std::u16string specialFolder(int csidl)
{
    std::u16string path;
    if (s::platform::shellItems().specialFolderPath(csidl, path) < 0)
        return {};
    return path;
}

StrBuffer resolve(PlatformFolder folder)
{
    StrBuffer text;
    switch (folder) {
    case PlatformFolder::Temp:
        text = s::platform::machineFacts().tempPath();
        break;
    // The Windows and system folders are the system's own facts, so that the
    // catalogue, the hotfix handlers, the icons and the protected places all
    // name the same folders.
    case PlatformFolder::Windows:
        text = s::platform::systemFacts().windowsFolder;
        break;
    case PlatformFolder::System:
        text = s::platform::systemFacts().systemFolder;
        break;
    case PlatformFolder::ProgramFiles:
        text = specialFolder(s::platform::kCsidlProgramFiles);
        break;
    case PlatformFolder::AppData:
        text = specialFolder(s::platform::kCsidlAppData);
        break;
    case PlatformFolder::LocalAppData:
        text = specialFolder(s::platform::kCsidlLocalAppData);
        break;
    case PlatformFolder::CommonAppData:
        text = specialFolder(s::platform::kCsidlCommonAppData);
        break;
    }
    // Every catalogue path appends "\" + its relative part; a root such as
    // "C:\" keeps its backslash so that it stays a root.
    if (text.length() > 3 && text.last() == u'\\')
        text.setLength(text.length() - 1);
    return text;
}

}  // namespace

const StrBuffer& platformFolder(PlatformFolder folder)
{
    auto& c = cache();
    std::lock_guard<std::mutex> hold(c.lock);
    auto index = static_cast<std::size_t>(folder);
    if (!c.known[index]) {
        c.text[index] = resolve(folder);
        c.known[index] = true;
    }
    return c.text[index];
}

const StrBuffer& ownModulePath()
{
    auto& c = cache();
    std::lock_guard<std::mutex> hold(c.lock);
    if (!c.known[kFolderCount]) {
        c.text[kFolderCount] = s::platform::machineFacts().modulePath();
        c.known[kFolderCount] = true;
    }
    return c.text[kFolderCount];
}

void forgetPlatformFolders()
{
    auto& c = cache();
    std::lock_guard<std::mutex> hold(c.lock);
    c.known = {};
    for (auto& text : c.text)
        text.clear();
}

}  // namespace s::file::gui::dialogs::purgo
