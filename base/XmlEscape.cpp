#include "base/XmlEscape.h"

namespace s::xml {

namespace {

struct Escape {
    std::u16string_view text;
    char16_t unit;
    bool inAttributes;
    bool inText;
    bool protectsFromTrim;  // text decoding: the produced unit is never trimmed
};

constexpr Escape kEscapes[] = {
    {u"&amp;", u'&', true, true, false},         {u"&lt;", u'<', true, true, false},
    {u"&gt;", u'>', false, true, false},         {u"&quot;", u'"', true, false, false},
    {u"&#13;", u'\r', true, true, true},         {u"&#10;", u'\n', true, true, true},
    {u"&#160;", u' ', false, true, true},        {u"&#9;", u'\t', false, true, true},
    {u"&#12288;", u'\x3000', false, true, true}, {u"&#0;", u'\0', true, true, false},
};

const Escape* escapeAt(std::u16string_view raw, std::size_t at, ValueKind kind)
{
    const std::u16string_view rest = raw.substr(at);
    for (const Escape& e : kEscapes) {
        if ((kind == ValueKind::Text ? e.inText : e.inAttributes) && rest.substr(0, e.text.size()) == e.text)
            return &e;
    }
    return nullptr;
}

std::u16string_view escapeFor(char16_t unit, ValueKind kind)
{
    switch (unit) {
    case u'\n':
        return u"&#10;";
    case u'\r':
        return u"&#13;";
    case u'&':
        return u"&amp;";
    case u'<':
        return u"&lt;";
    case u'\0':
        return u"&#0;";
    default:
        break;
    }
    if (kind == ValueKind::Attribute)
        return unit == u'"' ? u"&quot;" : std::u16string_view();
    switch (unit) {
    case u' ':
        return u"&#160;";
    case u'>':
        return u"&gt;";
    case u'\t':
        return u"&#9;";
    case u'\x3000':
        return u"&#12288;";
    default:
        return {};
    }
}

}  // namespace

void appendEscaped(std::u16string_view value, ValueKind kind, s::str::StrBuffer& out)
{
    out.ensureCapacity(out.length() + static_cast<int>(value.size()));
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::u16string_view escape = escapeFor(value[i], kind);
        if (escape.empty())
            continue;
        out.append(value.substr(plainFrom, i - plainFrom));
        out.append(escape);
        plainFrom = i + 1;
    }
    out.append(value.substr(plainFrom));
}

void appendDecoded(std::u16string_view raw, ValueKind kind, s::str::StrBuffer& out)
{
    std::size_t i = 0;
    if (kind == ValueKind::Text) {
        while (i < raw.size() && (raw[i] == u' ' || raw[i] == u'\t' || raw[i] == u'\n' || raw[i] == u'\r'))
            ++i;
    }
    const int start = out.length();
    int keep = start;  // the text up to here is never trimmed
    std::size_t plainFrom = i;
    for (; i < raw.size(); ++i) {
        if (raw[i] != u'&')
            continue;
        const Escape* e = escapeAt(raw, i, kind);
        if (!e)
            continue;  // a literal '&'
        out.append(raw.substr(plainFrom, i - plainFrom));
        out.append(e->unit);
        if (e->protectsFromTrim)
            keep = out.length();
        i += e->text.size() - 1;
        plainFrom = i + 1;
    }
    out.append(raw.substr(plainFrom));
    if (kind == ValueKind::Text)
        out.trimRight(keep);
}

}  // namespace s::xml
