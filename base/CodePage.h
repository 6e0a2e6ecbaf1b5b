// Code pages: the list the user can pick from and conversions between UTF-16
// and the bytes of one page.
//
// UTF-16 (1200) and UTF-16BE (1201) are converted by the library itself on
// every platform; every other page goes through the operating system
// (MultiByteToWideChar / WideCharToMultiByte on Windows). The in-memory
// platform of the native tests knows 20127 (US-ASCII), 28591 (ISO-8859-1) and
// 65001 (UTF-8) besides the two UTF-16 pages.
//
// Characters a page cannot represent come out as the system's conversion makes
// them (usually "?"); nothing is reported. A conversion fails (false, out
// empty) only when the system does not know the page at all.
#pragma once

#include "base/Array.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace s::system::codepage {

struct CodePage {
    unsigned number;
    const char16_t* name;  // display name, e.g. u"Western (Windows-1252)"
};

inline constexpr unsigned kUtf16 = 1200;
inline constexpr unsigned kUtf16BigEndian = 1201;
inline constexpr unsigned kUtf8 = 65001;

// The fixed display name of a page, or nullptr for pages the program does not
// offer.
const char16_t* displayName(unsigned number);

// The pages installed on the system that have a display name, ascending by
// number; 1200, 1201 and 65001 are always there. Read from the system once per
// process (thread-safe).
std::span<const CodePage> codePages();

// The system's OEM code page (the console's).
unsigned oemCodePage();

// text -> bytes of codePage, replacing out's content.
bool encode(std::u16string_view text, unsigned codePage, s::col::ArrayU08& out);
// bytes of codePage -> text, replacing out's content.
bool decode(const uint8_t* bytes, int count, unsigned codePage, s::str::StrBuffer& out);

inline bool encodeOem(std::u16string_view text, s::col::ArrayU08& out)
{
    return encode(text, oemCodePage(), out);
}
inline bool decodeOem(const uint8_t* bytes, int count, s::str::StrBuffer& out)
{
    return decode(bytes, count, oemCodePage(), out);
}

// The operating system's side, one file per platform (CodePage_win.cpp,
// CodePage_fake.cpp). Not for direct use.
namespace system {
// Appends the numbers of the installed code pages.
void installedPages(s::col::ArrayU32& out);
unsigned oemPage();
bool encode(std::u16string_view text, unsigned codePage, s::col::ArrayU08& out);
bool decode(const uint8_t* bytes, int count, unsigned codePage, s::str::StrBuffer& out);
}  // namespace system

}  // namespace s::system::codepage
