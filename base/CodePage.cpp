#include "base/CodePage.h"

#include <algorithm>
#include <vector>

namespace s::system::codepage {

namespace {

constexpr CodePage kNamed[] = {
    {850, u"Western (IBM850)"},
    {852, u"Central European (IBM852)"},
    {855, u"Cyrillic (IBM855)"},
    {857, u"Turkish (IBM857)"},
    {866, u"Cyrillic (IBM866)"},
    {874, u"Thai (Windows-874)"},
    {932, u"Japanese (Shift_JIS)"},
    {936, u"Chinese Simplified (GBK)"},
    {949, u"Korean (UHC)"},
    {950, u"Chinese Traditional (Big5)"},
    {1200, u"UTF-16"},
    {1201, u"UTF-16BE"},
    {1250, u"Central European (Windows-1250)"},
    {1251, u"Cyrillic (Windows-1251)"},
    {1252, u"Western (Windows-1252)"},
    {1253, u"Greek (Windows-1253)"},
    {1254, u"Turkish (Windows-1254)"},
    {1255, u"Hebrew (Windows-1255)"},
    {1256, u"Arabic (Windows-1256)"},
    {1257, u"Baltic (Windows-1257)"},
    {1258, u"Vietnamese (Windows-1258)"},
    {1361, u"Korean (Johab)"},
    {20000, u"Chinese Traditional (CNS)"},
    {20127, u"US-ASCII"},
    {20866, u"Cyrillic (KOI8-R)"},
    {20932, u"Japanese (EUC-JP)"},
    {20936, u"Chinese Simplified (GB2312-80)"},
    {21866, u"Cyrillic (KOI8-U)"},
    {28591, u"Western (ISO-8859-1)"},
    {28592, u"Central European (ISO-8859-2)"},
    {28594, u"Baltic (ISO-8859-4)"},
    {28595, u"Cyrillic (ISO-8859-5)"},
    {28597, u"Greek (ISO-8859-7)"},
    {28599, u"Turkish (ISO-8859-9)"},
    {28605, u"Western (ISO-8859-15)"},
    {50220, u"Japanese (ISO-2022-JP)"},
    {50225, u"Korean (ISO-2022-KR)"},
    {50227, u"Chinese Simplified (ISO-2022-CN)"},
    {50229, u"Chinese Traditional (ISO-2022-CN)"},
    {51949, u"Korean (EUC-KR)"},
    {52936, u"Chinese Simplified (HZ)"},
    {54936, u"Chinese Simplified (GB18030)"},
    {65001, u"UTF-8"},
};

std::vector<CodePage> readPages()
{
    s::col::ArrayU32 installed;
    system::installedPages(installed);
    installed.add(kUtf16);
    installed.add(kUtf16BigEndian);
    // Every Windows since 2000 converts UTF-8, but Wine 8 leaves 65001 out of
    // EnumSystemCodePagesW; the list must not lose it there.
    installed.add(kUtf8);
    installed.sort();
    std::vector<CodePage> pages;
    for (int i = 0; i < installed.count(); ++i) {
        const unsigned number = installed[i];
        if (!pages.empty() && pages.back().number == number)
            continue;
        if (const char16_t* name = displayName(number))
            pages.push_back({number, name});
    }
    return pages;
}

void encodeUtf16(std::u16string_view text, bool bigEndian, s::col::ArrayU08& out)
{
    out.resize(static_cast<int>(text.size() * 2));
    uint8_t* bytes = out.data();
    for (char16_t unit : text) {
        const auto low = static_cast<uint8_t>(unit & 0xFF);
        const auto high = static_cast<uint8_t>(unit >> 8);
        *bytes++ = bigEndian ? high : low;
        *bytes++ = bigEndian ? low : high;
    }
}

void decodeUtf16(const uint8_t* bytes, int count, bool bigEndian, s::str::StrBuffer& out)
{
    // An odd last byte cannot form a unit and is dropped.
    const int units = count / 2;
    out.clear();
    out.ensureCapacity(units);
    for (int i = 0; i < units; ++i) {
        const uint8_t first = bytes[2 * i];
        const uint8_t second = bytes[2 * i + 1];
        out.append(static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
    }
}

}  // namespace

const char16_t* displayName(unsigned number)
{
    const auto* found = std::lower_bound(std::begin(kNamed), std::end(kNamed), number,
                                         [](const CodePage& page, unsigned n) { return page.number < n; });
    return found != std::end(kNamed) && found->number == number ? found->name : nullptr;
}

std::span<const CodePage> codePages()
{
    static const std::vector<CodePage> pages = readPages();
    return pages;
}

unsigned oemCodePage()
{
    static const unsigned page = system::oemPage();
    return page;
}

bool encode(std::u16string_view text, unsigned codePage, s::col::ArrayU08& out)
{
    out.resize(0);
    if (codePage == kUtf16 || codePage == kUtf16BigEndian) {
        encodeUtf16(text, codePage == kUtf16BigEndian, out);
        return true;
    }
    if (text.empty())
        return true;
    return system::encode(text, codePage, out);
}

bool decode(const uint8_t* bytes, int count, unsigned codePage, s::str::StrBuffer& out)
{
    out.clear();
    if (codePage == kUtf16 || codePage == kUtf16BigEndian) {
        decodeUtf16(bytes, count, codePage == kUtf16BigEndian, out);
        return true;
    }
    if (count <= 0)
        return true;
    return system::decode(bytes, count, codePage, out);
}

}  // namespace s::system::codepage
