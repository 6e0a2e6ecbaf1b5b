#include "catalogue/CatalogueFolders.h"

#include "platform/MachineFacts.h"

#include <array>
#include <cstddef>
#include <mutex>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::platform::ShellFolder;
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

StrBuffer resolve(PlatformFolder folder)
{
    auto& facts = s::platform::machineFacts();
    StrBuffer text;
    switch (folder) {
    case PlatformFolder::Temp:
        text = facts.tempPath();
        break;
    case PlatformFolder::Windows:
        text = facts.shellFolder(ShellFolder::Windows);
        break;
    case PlatformFolder::System:
        text = facts.shellFolder(ShellFolder::System);
        break;
    case PlatformFolder::ProgramFiles:
        text = facts.shellFolder(ShellFolder::ProgramFiles);
        break;
    case PlatformFolder::AppData:
        text = facts.shellFolder(ShellFolder::AppData);
        break;
    case PlatformFolder::LocalAppData:
        text = facts.shellFolder(ShellFolder::LocalAppData);
        break;
    case PlatformFolder::CommonAppData:
        text = facts.shellFolder(ShellFolder::CommonAppData);
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
