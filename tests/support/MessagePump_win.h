// The window thread's messages in tests and demos: pumped until a condition
// holds or the time is up.
#pragma once

#include <windows.h>

#include <functional>

namespace testing_platform {

// Dispatches the messages already queued, and returns.
inline void pumpPending()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A program's own look at a message before it is dispatched (the skinned
// frames' keys and clicks); true: taken, not dispatched.
using MessageFilter = std::function<bool(MSG&)>;

// True once done() holds; false when milliseconds passed first.
inline bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds = 30000, const MessageFilter& filter = {})
{
    const DWORD end = GetTickCount() + milliseconds;
    while (!done()) {
        if (GetTickCount() > end)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;
            if (filter && filter(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

inline void pumpFor(DWORD milliseconds)
{
    pumpUntil([] { return false; }, milliseconds);
}

}  // namespace testing_platform
