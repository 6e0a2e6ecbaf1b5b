#include "base/XmlNode.h"

#include "base/Utf8.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <utility>

namespace s::xml {

// --- Parser ------------------------------------------------------------------------

// One forward pass over the text; positions are pointers into it and never
// pass `m_end`. Every loop advances by at least one unit, so no input hangs it,
// and recursion is bounded by Node::kMaxDepth.
class Parser {
public:
    Parser(const char16_t* position, const char16_t* end) : m_p(position), m_end(end) {}

    const char16_t* position() const { return m_p; }

    // Skips what may stand before the root element; true at the root's '<'.
    // A byte-order mark, white space, declarations ("<?...?>") and comments
    // belong there; anything else is a fault.
    bool findRoot()
    {
        if (m_p < m_end && *m_p == kByteOrderMark)
            ++m_p;
        for (;;) {
            const char16_t* text = skipSpace(m_p);
            m_p = find(m_p, u'<');
            if (text < m_p)
                fault(text);  // text before the root
            if (m_p == m_end) {
                fault(m_end);  // no element at all
                return false;
            }
            const char16_t* q = skipSpace(m_p + 1);
            if (q == m_end) {
                fault(m_p);
                m_p = m_end;
                return false;
            }
            const char16_t* start = m_p;
            if (*q == u'?') {
                m_p = after(q, u"?>");
            } else if (*q == u'/') {
                fault(start);
                m_p = after(q, u">");  // a stray end tag
            } else if (*q == u'!') {
                if (!isComment(q))
                    fault(start);  // DOCTYPE and the like are not of the dialect
                m_p = skipBang(q);
            } else {
                return true;
            }
            if (m_p == m_end) {
                fault(start);  // unterminated, and no root after it
                return false;
            }
        }
    }

    // After the root: white space and comments only.
    void checkRest()
    {
        for (;;) {
            const char16_t* q = skipSpace(m_p);
            if (q == m_end)
                return;
            if (*q != u'<' || !isComment(skipSpace(q + 1))) {
                fault(q);
                return;
            }
            const char16_t* end = skipBang(skipSpace(q + 1));
            if (end == m_end && range(q, m_end).find(u"-->") == std::u16string_view::npos) {
                fault(q);
                return;
            }
            m_p = end;
        }
    }

    // The first place where the text is not well-formed, or null.
    const char16_t* firstFault() const { return m_fault; }

    enum class Result { Element, Nothing };

    // Parses the element whose '<' is at the current position into node (the
    // callers have made sure that it is not a comment).
    Result element(Node& node, int depth)
    {
        const char16_t* const start = m_p;
        const char16_t* q = skipSpace(m_p + 1);
        if (q == m_end)
            return stop(start);

        const char16_t* name = q;
        while (q < m_end && !isSpace(*q) && *q != u'/' && *q != u'>')
            ++q;
        if (q == m_end)
            return stop(start);
        node.m_name.assign(range(name, q));

        // Attributes: name, optional white space, '=', white space, quoted value.
        for (;;) {
            q = skipSpace(q);
            if (q == m_end)
                return stop(start);
            if (*q == u'>' || *q == u'/')
                break;
            const char16_t* attrName = q;
            while (q < m_end && *q != u'=' && !isSpace(*q) && *q != u'>' && *q != u'/' && *q != u'"')
                ++q;
            const char16_t* attrNameEnd = q;
            if (attrNameEnd == attrName) {
                fault(q);
                ++q;  // a stray '=' or '"': skip it
                continue;
            }
            q = skipSpace(q);
            if (q < m_end && *q == u'=')
                q = skipSpace(q + 1);
            if (q == m_end)
                return stop(start);
            if (*q != u'"') {
                fault(attrName);
                continue;  // no quoted value: the name is dropped
            }
            const char16_t* value = q + 1;
            const char16_t* valueEnd = find(value, u'"');
            if (valueEnd == m_end)
                return stop(attrName);  // an unterminated value
            node.m_attributes.addRaw(range(attrName, attrNameEnd), range(value, valueEnd));
            q = valueEnd + 1;
        }

        if (*q == u'/') {
            // "<a/>": an empty element; anything up to the next '>' is ignored.
            const char16_t* slash = q;
            q = find(q, u'>');
            if (q == m_end)
                return stop(start);
            if (skipSpace(slash + 1) != q)
                fault(slash);
            m_p = q + 1;
            return Result::Element;
        }

        // Content: text, children and comments up to the end tag.
        q = q + 1;
        for (;;) {
            q = skipSpace(q);
            if (q == m_end)
                return stopKeeping(start);  // no end tag
            if (*q != u'<') {
                const char16_t* textEnd = find(q, u'<');
                if (textEnd == m_end)
                    return stopKeeping(q);  // text that runs to the end may be cut short
                node.m_attributes.addRaw(std::u16string_view(), range(q, textEnd));
                q = textEnd;
            }
            const char16_t* next = skipSpace(q + 1);
            if (next == m_end)
                return stopKeeping(q);
            if (*next == u'/') {
                // The end tag. Its name is not compared with the start tag's
                // for reading, but another name is a fault: the elements
                // around it are no longer nested as they were written.
                const char16_t* close = find(next, u'>');
                if (close == m_end)
                    return stopKeeping(q);
                std::u16string_view closing = range(skipSpace(next + 1), close);
                while (!closing.empty() && isSpace(closing.back()))
                    closing.remove_suffix(1);
                if (closing != node.m_name.view())
                    fault(q);
                m_p = close + 1;
                return Result::Element;
            }
            if (*next == u'!') {
                // A comment (or "<!...>") is skipped; it never becomes a child.
                if (!isComment(next))
                    fault(q);  // CDATA and the like are not of the dialect
                const char16_t* comment = q;
                q = skipBang(next);
                if (q == m_end)
                    return stopKeeping(comment);  // unterminated, or no end tag after it
                continue;
            }
            if (depth >= Node::kMaxDepth)
                return stopKeeping(q);
            m_p = q;
            Node* child = s::thread::Pool<Node>::take();
            if (element(*child, depth + 1) == Result::Element)
                node.addChildNode(child);
            else
                child->release();
            if (m_stopped)
                return Result::Element;
            q = m_p;
        }
    }

private:
    static bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

    static std::u16string_view range(const char16_t* from, const char16_t* to)
    {
        return {from, static_cast<std::size_t>(to - from)};
    }

    const char16_t* skipSpace(const char16_t* q) const
    {
        while (q < m_end && isSpace(*q))
            ++q;
        return q;
    }

    const char16_t* find(const char16_t* q, char16_t unit) const
    {
        while (q < m_end && *q != unit)
            ++q;
        return q;
    }

    // The position after the first `marker` at or after q, or the end.
    const char16_t* after(const char16_t* q, std::u16string_view marker) const
    {
        const std::u16string_view rest = range(q, m_end);
        const std::size_t at = rest.find(marker);
        return at == std::u16string_view::npos ? m_end : q + at + marker.size();
    }

    // q at '!': a comment runs to "-->", anything else ("<!DOCTYPE ...") to '>'.
    const char16_t* skipBang(const char16_t* q) const
    {
        if (range(q, m_end).substr(0, 3) == u"!--")
            return after(q + 3, u"-->");
        return after(q, u">");
    }

    // q at '!': "<!--" begins a comment.
    bool isComment(const char16_t* q) const { return range(q, m_end).substr(0, 3) == u"!--"; }

    // Notes the first place where the text is not well-formed.
    void fault(const char16_t* at)
    {
        if (!m_fault)
            m_fault = at;
    }

    // Parsing ends: the text ran out inside what starts at `unfinished`.
    Result stop(const char16_t* unfinished)
    {
        fault(unfinished);
        m_stopped = true;
        m_p = m_end;
        return Result::Nothing;
    }

    Result stopKeeping(const char16_t* unfinished)
    {
        fault(unfinished);
        m_stopped = true;
        m_p = m_end;
        return Result::Element;
    }

    static constexpr char16_t kByteOrderMark = 0xFEFF;

    const char16_t* m_p;
    const char16_t* const m_end;
    const char16_t* m_fault = nullptr;
    bool m_stopped = false;
};

// --- Node --------------------------------------------------------------------------

Node::Node()
{
    m_children.setDestructor(&s::thread::Pool<Node>::pooler());
}

Node::~Node() = default;

Node::Node(Node&& other) noexcept : Node()
{
    *this = std::move(other);
}

Node& Node::operator=(Node&& other) noexcept
{
    if (this != &other) {
        m_name = std::move(other.m_name);
        m_children = std::move(other.m_children);
        other.m_children.setDestructor(&s::thread::Pool<Node>::pooler());
        m_attributes = std::move(other.m_attributes);
    }
    return *this;
}

void Node::clear()
{
    m_name.clear();
    m_attributes.clear();
    m_children.clear();
}

namespace {

// The line (from 1) of a position: one more than the line feeds before it.
template <class Unit> int lineAt(const Unit* begin, std::size_t offset)
{
    return 1 + static_cast<int>(std::count(begin, begin + offset, static_cast<Unit>('\n')));
}

}  // namespace

int Node::parse(std::u16string_view text, int start, ParseReport* report)
{
    clear();
    const std::size_t from = start < 0 ? 0 : std::min(static_cast<std::size_t>(start), text.size());
    // A NUL ends the text, as it does for every C string reader of the file.
    std::size_t length = text.find(u'\0', from);
    if (length == std::u16string_view::npos)
        length = text.size();
    const char16_t* begin = text.data();
    Parser parser(begin + from, begin + length);
    bool rooted = parser.findRoot();
    if (rooted && parser.element(*this, 1) == Parser::Result::Nothing) {
        clear();  // not even the start tag was complete
        rooted = false;
    }
    const int end = static_cast<int>(parser.position() - begin);
    if (report) {
        if (rooted)
            parser.checkRest();
        const char16_t* fault = parser.firstFault();
        // A NUL inside the text (a file padded with zeros by a crash) is a
        // fault of its own when nothing before it was.
        if (!fault && length < text.size())
            fault = begin + length;
        *report = fault ? ParseReport{false, lineAt(begin, static_cast<std::size_t>(fault - begin))} : ParseReport{};
    }
    return end;
}

void Node::parseUtf8(std::string_view bytes, ParseReport* report)
{
    StrBuffer text;
    text.assignUtf8(bytes);
    parse(text.view(), 0, report);
    if (report) {
        // A byte sequence that is no UTF-8 became U+FFFD above: the text
        // parsed is not the one written. The earlier of the two faults counts.
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        const std::size_t bad = s::str::utf8::firstIllFormed(data, bytes.size());
        if (bad < bytes.size()) {
            const int line = lineAt(data, bad);
            if (report->wellFormed || line < report->line)
                *report = ParseReport{false, line};
        }
    }
}

void Node::parseUtf8(const s::col::ArrayU08& bytes, ParseReport* report)
{
    parseUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(bytes.count())),
              report);
}

void Node::toString(StrBuffer& out, Output output) const
{
    if (output == Output::Replace)
        out.clear();
    out.append(u'<').append(m_name.view());
    int text = -1;
    for (int i = 0; i < m_attributes.count(); ++i) {
        const std::u16string_view name = m_attributes.name(i);
        if (name.empty()) {
            if (text < 0)
                text = i;
            continue;
        }
        out.append(u' ').append(name).append(u"=\"").append(m_attributes.rawValue(i)).append(u'"');
    }
    out.append(u'>');
    if (text >= 0)
        out.append(m_attributes.rawValue(text));
    for (int i = 0; i < childCount(); ++i)
        child(i).toString(out, Output::Append);
    out.append(u"</").append(m_name.view()).append(u'>');
}

StrBuffer Node::toString() const
{
    StrBuffer out;
    toString(out);
    return out;
}

void Node::toUtf8(s::col::ArrayU08& out) const
{
    s::thread::Pooled<StrBuffer> text = s::thread::Pooled<StrBuffer>::take();
    toString(*text);
    text->toUtf8(out);
}

std::string Node::toUtf8() const
{
    return toString().toUtf8();
}

bool Node::loadFile(std::u16string_view path, s::io::IFileIo& files, ParseReport* report)
{
    s::col::ArrayU08 bytes;
    if (!files.readFile(path, bytes, s::io::IFileIo::kMaxReadBytes)) {
        clear();
        if (report)
            *report = ParseReport{};
        return false;
    }
    parseUtf8(bytes, report);
    return true;
}

bool Node::saveFile(std::u16string_view path, s::io::IFileIo& files) const
{
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash != std::u16string_view::npos && slash > 0) {
        const std::u16string_view parent = path.substr(0, slash);
        if (!files.folderExists(parent))
            files.createFolder(parent);
    }
    s::col::ArrayU08 bytes;
    toUtf8(bytes);
    return files.replaceFile(path, bytes.data(), bytes.count());
}

bool Node::nameEquals(std::u16string_view text, int length) const
{
    if (length < 0)
        return m_name.equalsIgnoreCase(text);
    if (static_cast<std::size_t>(length) > text.size())
        return false;
    return m_name.equals(text.substr(0, static_cast<std::size_t>(length)));
}

Node& Node::addChild(std::u16string_view name)
{
    Node* node = s::thread::Pool<Node>::take();
    node->setName(name);
    return addChildNode(node);
}

Node& Node::addChildNode(Node* node)
{
    if (m_children.capacity() == 0)
        m_children.reserveExactly(4);  // most elements have few children
    m_children.add(node);
    return *node;
}

bool Node::findChild(std::u16string_view name, int& index, int length) const
{
    for (int i = 0; i < childCount(); ++i) {
        if (child(i).nameEquals(name, length)) {
            index = i;
            return true;
        }
    }
    return false;
}

Node* Node::childNamed(std::u16string_view name, int length) const
{
    int index;
    return findChild(name, index, length) ? &child(index) : nullptr;
}

// --- Adding values -----------------------------------------------------------------

void Node::addFormatted(std::u16string_view name, std::u16string_view value)
{
    m_attributes.addRaw(name, value);
}

void Node::addS64(std::u16string_view name, int64_t value)
{
    StrBuffer text;
    addFormatted(name, text.appendS64(value));
}

void Node::addU64(std::u16string_view name, uint64_t value)
{
    StrBuffer text;
    addFormatted(name, text.appendU64(value));
}

void Node::addU32(std::u16string_view name, uint32_t value)
{
    StrBuffer text;
    addFormatted(name, text.appendU32(value));
}

void Node::addS32(std::u16string_view name, int32_t value)
{
    StrBuffer text;
    addFormatted(name, text.appendS32(value));
}

void Node::addDouble(std::u16string_view name, double value)
{
    StrBuffer text;
    addFormatted(name, text.appendDouble(value));
}

void Node::addString(std::u16string_view name, std::u16string_view value)
{
    s::thread::Pooled<StrBuffer> text = s::thread::Pooled<StrBuffer>::take();
    appendEscaped(value, valueKindOf(name), *text);
    addFormatted(name, *text);
}

namespace {

template <class T> void appendHexValues(StrBuffer& text, const T* values, int count, int digits)
{
    text.ensureCapacity(count > 0 ? count * digits : 0);
    for (int i = 0; i < count; ++i)
        text.appendHex(values[i], digits);
}

}  // namespace

void Node::addHex64(std::u16string_view name, const uint64_t* values, int count)
{
    StrBuffer text;
    appendHexValues(text, values, count, 16);
    addFormatted(name, text);
}

void Node::addHex32(std::u16string_view name, const uint32_t* values, int count)
{
    StrBuffer text;
    appendHexValues(text, values, count, 8);
    addFormatted(name, text);
}

void Node::addHex16(std::u16string_view name, const uint16_t* values, int count)
{
    StrBuffer text;
    appendHexValues(text, values, count, 4);
    addFormatted(name, text);
}

void Node::addBytes(std::u16string_view name, const uint8_t* bytes, int count)
{
    StrBuffer text;
    appendHexValues(text, bytes, count, 2);
    addFormatted(name, text);
}

void Node::addSplit64(std::u16string_view name, const int64_t* values, int count)
{
    StrBuffer text;
    for (int i = 0; i < count; ++i) {
        const auto bits = static_cast<uint64_t>(values[i]);
        text.appendHex(bits & 0xFFFFFFFFu, 8).appendHex(bits >> 32, 8);
    }
    addFormatted(name, text);
}

bool Node::removeAttribute(std::u16string_view name)
{
    const int index = m_attributes.find(name);
    if (index < 0)
        return false;
    m_attributes.removeAt(index);
    return true;
}

// --- Reading values ----------------------------------------------------------------

namespace {

// The decimal conversion of wcstol and its kin: white space, a sign, digits;
// the magnitude saturates at `limit`.
struct Decimal {
    uint64_t magnitude = 0;
    bool negative = false;
    bool saturated = false;
};

Decimal readDecimal(std::u16string_view text, uint64_t limit)
{
    Decimal d;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        d.negative = text[i] == u'-';
        ++i;
    }
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - u'0');
        if (d.saturated || d.magnitude > (limit - digit) / 10) {
            d.saturated = true;
            continue;
        }
        d.magnitude = d.magnitude * 10 + digit;
    }
    return d;
}

int64_t toSigned(std::u16string_view text, int64_t min, int64_t max)
{
    const Decimal d = readDecimal(text, UINT64_MAX);
    if (d.negative) {
        const uint64_t bound = static_cast<uint64_t>(-(min + 1)) + 1;
        return d.saturated || d.magnitude >= bound ? min : -static_cast<int64_t>(d.magnitude);
    }
    return d.saturated || d.magnitude > static_cast<uint64_t>(max) ? max : static_cast<int64_t>(d.magnitude);
}

uint64_t toUnsigned(std::u16string_view text, uint64_t max)
{
    const Decimal d = readDecimal(text, max);
    if (d.saturated)
        return max;
    // wcstoul negates after converting: "-1" is the largest value.
    return d.negative ? (0 - d.magnitude) & max : d.magnitude;
}

}  // namespace

std::u16string_view Node::getRaw(std::u16string_view name, std::u16string_view defaultValue) const
{
    const int index = m_attributes.find(name);
    return index < 0 ? defaultValue : m_attributes.rawValue(index);
}

bool Node::getBool(std::u16string_view name, bool defaultValue) const
{
    const int index = m_attributes.find(name);
    if (index < 0)
        return defaultValue;
    const std::u16string_view value = m_attributes.rawValue(index);
    return value.substr(0, 1) == u"1" || value.substr(0, 4) == u"true";
}

int8_t Node::getS8(std::u16string_view name, int8_t defaultValue) const
{
    return hasAttribute(name) ? static_cast<int8_t>(getS32(name, 0)) : defaultValue;
}

int16_t Node::getS16(std::u16string_view name, int16_t defaultValue) const
{
    return hasAttribute(name) ? static_cast<int16_t>(getS32(name, 0)) : defaultValue;
}

int32_t Node::getS32(std::u16string_view name, int32_t defaultValue) const
{
    const int index = m_attributes.find(name);
    return index < 0 ? defaultValue
                     : static_cast<int32_t>(toSigned(m_attributes.rawValue(index), INT32_MIN, INT32_MAX));
}

int64_t Node::getS64(std::u16string_view name, int64_t defaultValue) const
{
    const int index = m_attributes.find(name);
    return index < 0 ? defaultValue : toSigned(m_attributes.rawValue(index), INT64_MIN, INT64_MAX);
}

uint8_t Node::getU8(std::u16string_view name, uint8_t defaultValue) const
{
    return hasAttribute(name) ? static_cast<uint8_t>(getU32(name, 0)) : defaultValue;
}

uint16_t Node::getU16(std::u16string_view name, uint16_t defaultValue) const
{
    return hasAttribute(name) ? static_cast<uint16_t>(getU32(name, 0)) : defaultValue;
}

uint32_t Node::getU32(std::u16string_view name, uint32_t defaultValue) const
{
    const int index = m_attributes.find(name);
    return index < 0 ? defaultValue : static_cast<uint32_t>(toUnsigned(m_attributes.rawValue(index), UINT32_MAX));
}

uint64_t Node::getU64(std::u16string_view name, uint64_t defaultValue) const
{
    const int index = m_attributes.find(name);
    return index < 0 ? defaultValue : toUnsigned(m_attributes.rawValue(index), UINT64_MAX);
}

double Node::getDouble(std::u16string_view name, double defaultValue) const
{
    const int index = m_attributes.find(name);
    if (index < 0)
        return defaultValue;
    // The ASCII part of the value, converted like wcstod in the "C" locale.
    const std::u16string_view raw = m_attributes.rawValue(index);
    char ascii[128];
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < raw.size() && (raw[i] == u' ' || (raw[i] >= u'\t' && raw[i] <= u'\r')))
        ++i;
    if (i < raw.size() && raw[i] == u'+')
        ++i;
    for (; i < raw.size() && n < sizeof(ascii) && raw[i] > 0 && raw[i] < 0x80; ++i)
        ascii[n++] = static_cast<char>(raw[i]);
    double value = 0;
    std::from_chars(ascii, ascii + n, value);
    return value;
}

float Node::getFloat(std::u16string_view name, float defaultValue) const
{
    return hasAttribute(name) ? static_cast<float>(getDouble(name, 0)) : defaultValue;
}

bool Node::getString(StrBuffer& target, std::u16string_view name, std::u16string_view defaultValue, Output output) const
{
    const int index = m_attributes.find(name);
    if (index < 0) {
        if (output == Output::Replace)
            target.assign(defaultValue);
        else
            target.append(defaultValue);
        return false;
    }
    if (output == Output::Replace)
        target.clear();
    appendDecoded(m_attributes.rawValue(index), valueKindOf(name), target);
    return true;
}

StrBuffer Node::getString(std::u16string_view name, std::u16string_view defaultValue) const
{
    StrBuffer value;
    getString(value, name, defaultValue);
    return value;
}

bool Node::getBytes(std::u16string_view name, s::col::ArrayU08& out) const
{
    const int index = m_attributes.find(name);
    if (index < 0)
        return false;
    StrBuffer(m_attributes.rawValue(index)).hexToBytes(out);
    return true;
}

}  // namespace s::xml
