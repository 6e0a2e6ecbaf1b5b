#include "tests/support/Sandbox.h"

namespace s::platform::testing {

std::u16string Sandbox::path(std::u16string_view relative) const
{
    std::u16string out = m_folder;
    if (!relative.empty()) {
        out += u'\\';
        out += relative;
    }
    return out;
}

std::u16string Sandbox::nativeKeyPath(std::u16string_view relative) const
{
    std::u16string out = u"\\Registry\\User\\" + m_sid + u"\\" + m_key;
    if (!relative.empty()) {
        out += u'\\';
        out += relative;
    }
    return out;
}

std::string narrow(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace s::platform::testing
