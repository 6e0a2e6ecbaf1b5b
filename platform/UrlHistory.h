// The shell's URL history object (CLSID_CUrlHistory, interface
// IUrlHistoryStg2), which the browser history handler asks to forget
// everything.
//
// Reach the build's implementation through urlHistory(): COM on Windows, a
// recording fake elsewhere (platform/fake/FakeUrlHistory.h, for tests).
#pragma once

#include "platform/HResult.h"

namespace s::platform {

class IUrlHistory {
public:
    virtual ~IUrlHistory() = default;

    // CoCreateInstance of {3C374A40-BAE4-11CF-BF7D-00AA006946EE}, in-process,
    // for {AFA0DC11-C313-11D0-831A-00C04FD5AE38}; then ClearHistory and
    // Release. COM is initialised on the calling thread for the call when the
    // thread has not done so itself. Returns the failure of the creation, or
    // ClearHistory's own result; `created` tells which.
    virtual HResult clearHistory(bool* created = nullptr) = 0;
};

IUrlHistory& urlHistory();

}  // namespace s::platform
