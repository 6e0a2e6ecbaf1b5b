#include "platform/ProgramFolder.h"

#include "base/WideStr.h"

#include <windows.h>

namespace s::platform {

s::str::StrBuffer programFolder()
{
    // GetModuleFileNameW does not say how long the path is: when the buffer
    // is too small it returns the buffer's size with a truncated path (and,
    // on Windows XP, without the terminating NUL). So grow the buffer until
    // the path fits with room to spare, up to the longest path Windows has.
    s::str::StrBuffer path;
    for (int size = MAX_PATH + 1; size <= 32768; size *= 2) {
        path.ensureCapacity(size);
        const DWORD length = GetModuleFileNameW(nullptr, s::str::wideBuffer(path), static_cast<DWORD>(size));
        if (length == 0)
            return {};
        if (length < static_cast<DWORD>(size)) {
            path.setLength(static_cast<int>(length));
            // The executable's own name goes; a path that was started with the
            // "\\?\" prefix keeps it, the folder is still usable as it is.
            const int slash = path.lastIndexOfAny(u"\\/");
            if (slash < 0)
                return {};
            path.setLength(slash);
            return path;
        }
    }
    return {};
}

}  // namespace s::platform
