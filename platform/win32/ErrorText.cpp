#include "platform/ErrorText.h"

#include <windows.h>

namespace s::platform {

std::u16string systemErrorText(Win32Error error)
{
    wchar_t* text = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is really a
    // wchar_t** that receives a LocalAlloc'ed block.
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string out;
    if (length > 0 && text)
        out.assign(reinterpret_cast<const char16_t*>(text), length);
    if (text)
        LocalFree(text);
    return out;
}

}  // namespace s::platform
