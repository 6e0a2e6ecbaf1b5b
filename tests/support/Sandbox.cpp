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

const std::vector<FixtureEntry>& rewrittenNames()
{
    static const std::vector<FixtureEntry> entries = [] {
        std::vector<FixtureEntry> out = {
            {u"con"},
            {u"nul.txt"},
            {u"aux.log"},
            {u"prn"},
            {u"com1"},
            {u"com9.txt"},
            {u"lpt1"},
            {u"lpt9.log"},
            {u"trailing-dot."},
            {u"trailing-space "},
            {u"dotdir.", true},
            {u"dotdir.\\inner.txt"},
            {u"dotdir.\\nul"},
            {u"spacedir ", true},
            {u"spacedir \\inner.txt"},
            {u"ordinary.txt"},
        };
        // Five folders of 50 characters: over MAX_PATH wherever the set lies.
        std::u16string deep = u"deep";
        out.push_back({deep, true});
        for (int k = 0; k < 5; ++k) {
            deep += u"\\" + std::u16string(50, static_cast<char16_t>(u'a' + k));
            out.push_back({deep, true});
        }
        out.push_back({deep + u"\\deep.txt"});
        return out;
    }();
    return entries;
}

const std::vector<FixtureEntry>& protectedLookalikes()
{
    static const std::vector<FixtureEntry> entries = {
        {u"win", true},
        {u"win\\keep.txt"},
        {u"win.", true},
        {u"win.\\keep.txt"},
        {u"win ", true},
        {u"win \\keep.txt"},
        {u"prof", true},
        {u"prof\\Documents", true},
        {u"prof\\Documents\\keep.txt"},
        {u"prof\\Documents.", true},
        {u"prof\\Documents.\\keep.txt"},
        {u"prof\\Documents ", true},
        {u"prof\\Documents \\keep.txt"},
    };
    return entries;
}

bool Sandbox::listed(std::u16string_view path)
{
    const std::size_t slash = path.find_last_of(u'\\');
    if (slash == std::u16string_view::npos)
        return false;
    return listedNames(path.substr(0, slash)).count(std::u16string(path.substr(slash + 1))) != 0;
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
