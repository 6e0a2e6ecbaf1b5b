// Keeping a second copy from running: a copy of the program started from the
// same file is found among the processes and asked to show itself.
#pragma once

#include <cstdint>
#include <string_view>

namespace s::lang {
class Localizer;
}

namespace s::app::win {

// Sent to the running copy's main window: show yourself (restore when
// minimised, come to the front); and, when asked for, refresh.
inline constexpr std::uint32_t kActivateMessage = 1027;  // WM_USER + 3
inline constexpr std::uint32_t kRefreshMessage = 1031;   // WM_USER + 7
inline constexpr std::uint32_t kSendTimeoutMilliseconds = 3000;
// How long the new start waits for the running copy to take input. A copy
// that hangs must not hang every later start: the wait is bounded, and the
// first message that is not taken ends the sending.
inline constexpr std::uint32_t kIdleWaitMilliseconds = 3000;

// True when another process runs the program file `modulePath` (compared
// ignoring case). With `activate` its main window (per language of the
// table, the first top-level window whose caption is that language's product
// name or a beginning of it; or, without `useLanguageNames`, its first
// window with a caption) gets kActivateMessage, and kRefreshMessage after it
// with `sendRefresh`.
bool findRunningInstance(std::u16string_view modulePath, s::lang::Localizer& localizer, bool activate, bool sendRefresh,
                         bool useLanguageNames);

}  // namespace s::app::win
