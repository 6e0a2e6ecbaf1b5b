// The wchar_t edge of StrBuffer, for Windows code (*_win.cpp) only.
//
// On Windows wchar_t is a 16-bit UTF-16 unit like char16_t, so the Win32 "W"
// functions take a StrBuffer's units as they are. (On Linux wchar_t is 32
// bits; this header refuses to compile there.)
#pragma once

#include "base/StrBuffer.h"

#include <cwchar>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "base/WideStr.h is for Windows code only");

namespace s::str {

// NUL-terminated wide characters of text, valid while text is unchanged.
inline const wchar_t* wide(const StrBuffer& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Writable wide buffer of text (after ensureCapacity; then setLength or
// updateLengthToNul).
inline wchar_t* wideBuffer(StrBuffer& text)
{
    return reinterpret_cast<wchar_t*>(text.data());
}

inline std::u16string_view fromWide(const wchar_t* text, std::size_t length)
{
    return {reinterpret_cast<const char16_t*>(text), length};
}

inline std::u16string_view fromWide(const wchar_t* text)
{
    return text ? fromWide(text, std::wcslen(text)) : std::u16string_view();
}

}  // namespace s::str
