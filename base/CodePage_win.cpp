// Code pages through Windows' National Language Support.
#include "base/CodePage.h"

#include <windows.h>

#include <cwchar>

namespace s::system::codepage::system {

namespace {

// EnumSystemCodePagesW's callback has no context parameter; the list is read
// once, inside the thread-safe initialisation of codePages(), so a file-level
// pointer to the array being filled is safe.
s::col::ArrayU32* g_filling = nullptr;

BOOL CALLBACK onCodePage(LPWSTR text)
{
    if (g_filling && text)
        g_filling->add(static_cast<uint32_t>(std::wcstoul(text, nullptr, 10)));
    return TRUE;
}

}  // namespace

void installedPages(s::col::ArrayU32& out)
{
    g_filling = &out;
    EnumSystemCodePagesW(&onCodePage, CP_INSTALLED);
    g_filling = nullptr;
}

unsigned oemPage()
{
    return GetOEMCP();
}

bool encode(std::u16string_view text, unsigned codePage, s::col::ArrayU08& out)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    // The default character and its flag must be null for UTF-8, GB18030, the
    // ISO-2022 pages and a few more, or the call fails with
    // ERROR_INVALID_PARAMETER; the system's own default ("?") is fine for all.
    const int bytes = WideCharToMultiByte(codePage, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    out.resize(bytes);
    const int written =
        WideCharToMultiByte(codePage, 0, wide, units, reinterpret_cast<char*>(out.data()), bytes, nullptr, nullptr);
    out.resize(written > 0 ? written : 0);
    return written > 0;
}

bool decode(const uint8_t* bytes, int count, unsigned codePage, s::str::StrBuffer& out)
{
    const auto* text = reinterpret_cast<const char*>(bytes);
    const int units = MultiByteToWideChar(codePage, 0, text, count, nullptr, 0);
    if (units <= 0)
        return false;
    out.ensureCapacity(units);
    const int written = MultiByteToWideChar(codePage, 0, text, count, reinterpret_cast<wchar_t*>(out.data()), units);
    out.setLength(written > 0 ? written : 0);
    return written > 0;
}

}  // namespace s::system::codepage::system
