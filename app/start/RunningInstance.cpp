#include "app/start/RunningInstance.h"

#include "base/StrBuffer.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/Processes.h"

#include <string>
#include <vector>

namespace s::app::win {

namespace ids = s::lang::ids;

namespace {

namespace p = s::platform;

bool equalsFolded(std::u16string_view a, std::u16string_view b)
{
    return s::str::strbuffer::StrBuffer::compareFolded(a, b) == 0;
}

// The caption is the product name or a beginning of it. An empty caption
// would be a beginning of anything; such windows are not the main window.
bool namesProduct(std::u16string_view caption, std::u16string_view product)
{
    return !caption.empty() && caption.size() <= product.size() &&
           equalsFolded(caption, product.substr(0, caption.size()));
}

// Sends the messages; false when the window did not take them in time.
bool tell(std::uintptr_t window, bool sendRefresh)
{
    p::IProcesses& all = p::processes();
    if (!all.sendMessage(window, kActivateMessage, kSendTimeoutMilliseconds))
        return false;
    return !sendRefresh || all.sendMessage(window, kRefreshMessage, kSendTimeoutMilliseconds);
}

}  // namespace

bool findRunningInstance(std::u16string_view modulePath, s::lang::Localizer& localizer, bool activate, bool sendRefresh,
                         bool useLanguageNames)
{
    // Without its own path the program cannot tell its copies from the
    // processes whose path cannot be read.
    if (modulePath.empty())
        return false;
    p::IProcesses& all = p::processes();
    const std::uint32_t self = all.currentProcessId();
    std::uint32_t found = 0;
    for (std::uint32_t id : all.processIds()) {
        // A copy whose window has closed is on its way out: a start now
        // must show its own window rather than hand over to it.
        if (id == 0 || id == self || all.isEnding(id))
            continue;
        if (equalsFolded(all.executablePath(id), modulePath)) {
            found = id;
            break;
        }
    }
    if (found == 0)
        return false;
    if (!activate)
        return true;

    all.waitForInputIdle(found, kIdleWaitMilliseconds);
    const std::vector<p::TopWindow> windows = all.topLevelWindows(found);
    if (!useLanguageNames) {
        for (const p::TopWindow& window : windows) {
            if (!window.caption.empty()) {
                tell(window.handle, sendRefresh);
                break;
            }
        }
        return true;
    }
    // Once for every language whose product name the caption matches, as the
    // copy may run in any of them; a window that does not answer in time is
    // not asked again.
    for (int index = 0; index < localizer.count(); ++index) {
        const s::str::strbuffer::StrBuffer* product = localizer.pack(index)->find(ids::kProductName);
        if (!product)
            continue;
        for (const p::TopWindow& window : windows) {
            if (!namesProduct(window.caption, product->view()))
                continue;
            if (!tell(window.handle, sendRefresh))
                return true;
            break;
        }
    }
    return true;
}

}  // namespace s::app::win
