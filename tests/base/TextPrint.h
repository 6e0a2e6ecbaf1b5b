// GoogleTest printing of the library's strings, so that a failing row shows
// readable text (UTF-8) instead of bytes.
#pragma once

#include "base/StrBuffer.h"
#include "tests/support/Utf8.h"

#include <ostream>
#include <string>
#include <string_view>

namespace s::str::strbuffer {

inline void PrintTo(const StrBuffer& text, std::ostream* out)
{
    *out << '"' << text.toUtf8() << '"';
}

}  // namespace s::str::strbuffer

namespace testing_text {

// UTF-8 of a UTF-16 text, for SCOPED_TRACE and messages.
using testing_platform::utf8;

// Units as hex, for texts whose characters do not print.
inline std::string units(std::u16string_view text)
{
    std::string out;
    static const char* kDigits = "0123456789ABCDEF";
    for (char16_t unit : text) {
        if (!out.empty())
            out += ' ';
        for (int shift = 12; shift >= 0; shift -= 4)
            out += kDigits[(unit >> shift) & 0xF];
    }
    return out;
}

}  // namespace testing_text
