#include "platform/Environment.h"

#include <windows.h>

#include <vector>

namespace s::platform {

namespace {

class EnvironmentWin final : public IEnvironment {
public:
    Win32Error expand(std::u16string_view text, std::uint32_t capacity, std::u16string& out) override
    {
        if (capacity == 0)
            return kErrorInsufficientBuffer;
        const std::u16string source(text);
        std::vector<wchar_t> buffer(capacity);
        // The result counts the terminating zero; one larger than the buffer
        // means the text was cut (and the buffer's content is undefined).
        const DWORD needed =
            ExpandEnvironmentStringsW(reinterpret_cast<const wchar_t*>(source.c_str()), buffer.data(), capacity);
        if (needed == 0)
            return static_cast<Win32Error>(GetLastError());
        if (needed > capacity)
            return kErrorInsufficientBuffer;
        out.assign(reinterpret_cast<const char16_t*>(buffer.data()), needed - 1);
        return kErrorSuccess;
    }
};

}  // namespace

IEnvironment& environment()
{
    static EnvironmentWin instance;
    return instance;
}

}  // namespace s::platform
