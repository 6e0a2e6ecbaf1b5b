// The code pages of the in-memory platform: a small, fixed set that the
// native tests can rely on. The real list comes from Windows (CodePage_win.cpp).
#include "base/CodePage.h"

#include "base/Utf8.h"

namespace s::system::codepage::system {

namespace {

constexpr unsigned kAscii = 20127;
constexpr unsigned kLatin1 = 28591;

}  // namespace

void installedPages(s::col::ArrayU32& out)
{
    for (unsigned page : {kAscii, kLatin1, kUtf8})
        out.add(page);
}

unsigned oemPage()
{
    return kAscii;
}

bool encode(std::u16string_view text, unsigned codePage, s::col::ArrayU08& out)
{
    if (codePage == kUtf8) {
        out.resize(static_cast<int>(s::str::utf8::encodedLength(text)));
        s::str::utf8::encode(text, out.data());
        return true;
    }
    if (codePage != kAscii && codePage != kLatin1)
        return false;
    const char16_t highest = codePage == kAscii ? 0x7F : 0xFF;
    for (char16_t unit : text)
        out.add(static_cast<uint8_t>(unit <= highest ? unit : u'?'));
    return true;
}

bool decode(const uint8_t* bytes, int count, unsigned codePage, s::str::StrBuffer& out)
{
    if (codePage == kUtf8) {
        out.assignUtf8({reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count)});
        return true;
    }
    if (codePage != kAscii && codePage != kLatin1)
        return false;
    out.ensureCapacity(count);
    for (int i = 0; i < count; ++i)
        out.append(codePage == kAscii && bytes[i] > 0x7F ? char16_t{0xFFFD} : char16_t{bytes[i]});
    return true;
}

}  // namespace s::system::codepage::system
