// Text at the Windows API boundary. The system's text is UTF-16 (char16_t);
// Windows' wchar_t is UTF-16 too, so the conversion copies the code units,
// both ways, and loses nothing. (Built elsewhere, where wchar_t is wider, it
// still copies code units: only Win32 code and its tests call it.) A
// StrBuffer passes as its view.
#pragma once

#include <string>
#include <string_view>

namespace s::str {

inline std::wstring toWide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

}  // namespace s::str
