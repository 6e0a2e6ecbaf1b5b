#include "tests/base/ThreadProbe.h"

#include <windows.h>

namespace purgo_test {

// OpenThread fails once the thread has ended and its last handle is closed;
// while a handle is still open the thread object stays, signalled.
bool osThreadAlive(unsigned long id)
{
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread)
        return false;
    const bool running = WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
    CloseHandle(thread);
    return running;
}

}  // namespace purgo_test
