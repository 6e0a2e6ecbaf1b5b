// Test output in UTF-8: what a failing row prints, what a table of expected
// texts is written in. Takes StrBuffer, std::u16string and literals alike.
#pragma once

#include "base/StrBuffer.h"

#include <string>
#include <string_view>

namespace testing_platform {

inline std::string utf8(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer(text).toUtf8();
}

}  // namespace testing_platform
