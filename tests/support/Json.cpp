#include "tests/support/Json.h"

#include <charconv>

namespace s::testing {

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    bool document(JsonValue& out)
    {
        space();
        if (!value(out, 0))
            return false;
        space();
        return m_at == m_text.size() || fail("text after the value");
    }

    const std::string& error() const { return m_error; }

private:
    static constexpr int kMaxDepth = 256;

    bool fail(const std::string& why)
    {
        if (m_error.empty())
            m_error = why + " at offset " + std::to_string(m_at);
        return false;
    }

    void space()
    {
        while (m_at < m_text.size() &&
               (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\n' || m_text[m_at] == '\r'))
            ++m_at;
    }

    bool literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return fail("unknown word");
        m_at += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth)
    {
        if (depth > kMaxDepth)
            return fail("nested too deep");
        if (m_at >= m_text.size())
            return fail("a value expected");
        const char c = m_text[m_at];
        switch (c) {
        case '{':
            return object(out, depth);
        case '[':
            return array(out, depth);
        case '"':
            out.m_type = JsonValue::Type::String;
            return string(out.m_text);
        case 't':
            out.m_type = JsonValue::Type::Bool;
            out.m_bool = true;
            return literal("true");
        case 'f':
            out.m_type = JsonValue::Type::Bool;
            return literal("false");
        case 'n':
            out.m_type = JsonValue::Type::Null;
            return literal("null");
        default:
            return number(out);
        }
    }

    bool object(JsonValue& out, int depth)
    {
        out.m_type = JsonValue::Type::Object;
        ++m_at;
        space();
        if (m_at < m_text.size() && m_text[m_at] == '}') {
            ++m_at;
            return true;
        }
        for (;;) {
            space();
            std::string name;
            if (m_at >= m_text.size() || m_text[m_at] != '"')
                return fail("a member name expected");
            if (!string(name))
                return false;
            if (out.has(name))
                return fail("member " + name + " twice");
            space();
            if (m_at >= m_text.size() || m_text[m_at] != ':')
                return fail("':' expected");
            ++m_at;
            space();
            JsonValue member;
            if (!value(member, depth + 1))
                return false;
            out.m_members.emplace_back(std::move(name), std::move(member));
            space();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == '}') {
                ++m_at;
                return true;
            }
            return fail("',' or '}' expected");
        }
    }

    bool array(JsonValue& out, int depth)
    {
        out.m_type = JsonValue::Type::Array;
        ++m_at;
        space();
        if (m_at < m_text.size() && m_text[m_at] == ']') {
            ++m_at;
            return true;
        }
        for (;;) {
            space();
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            out.m_items.push_back(std::move(item));
            space();
            if (m_at < m_text.size() && m_text[m_at] == ',') {
                ++m_at;
                continue;
            }
            if (m_at < m_text.size() && m_text[m_at] == ']') {
                ++m_at;
                return true;
            }
            return fail("',' or ']' expected");
        }
    }

    static void appendUtf8(std::string& out, uint32_t c)
    {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool hex4(uint32_t& out)
    {
        if (m_at + 4 > m_text.size())
            return fail("\\u needs four hex digits");
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= static_cast<uint32_t>(c - 'A' + 10);
            else
                return fail("\\u needs four hex digits");
        }
        return true;
    }

    bool string(std::string& out)
    {
        ++m_at;  // the opening quote
        for (;;) {
            if (m_at >= m_text.size())
                return fail("unterminated string");
            const auto c = static_cast<unsigned char>(m_text[m_at++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return fail("control character in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_at >= m_text.size())
                return fail("unterminated escape");
            const char e = m_text[m_at++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                uint32_t unit = 0;
                if (!hex4(unit))
                    return false;
                if (unit >= 0xD800 && unit < 0xDC00) {
                    uint32_t low = 0;
                    if (m_text.substr(m_at, 2) != "\\u")
                        return fail("lone high surrogate");
                    m_at += 2;
                    if (!hex4(low))
                        return false;
                    if (low < 0xDC00 || low >= 0xE000)
                        return fail("bad low surrogate");
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                } else if (unit >= 0xDC00 && unit < 0xE000) {
                    return fail("lone low surrogate");
                }
                appendUtf8(out, unit);
                break;
            }
            default:
                return fail("unknown escape");
            }
        }
    }

    bool number(JsonValue& out)
    {
        const std::size_t start = m_at;
        const auto digit = [&] {
            return m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9';
        };
        if (m_at < m_text.size() && m_text[m_at] == '-')
            ++m_at;
        if (!digit())
            return fail("a value expected");
        if (m_text[m_at] == '0') {
            ++m_at;
        } else {
            while (digit())
                ++m_at;
        }
        bool integral = true;
        if (m_at < m_text.size() && m_text[m_at] == '.') {
            integral = false;
            ++m_at;
            if (!digit())
                return fail("digits expected after '.'");
            while (digit())
                ++m_at;
        }
        if (m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
            integral = false;
            ++m_at;
            if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-'))
                ++m_at;
            if (!digit())
                return fail("digits expected in the exponent");
            while (digit())
                ++m_at;
        }
        out.m_type = JsonValue::Type::Number;
        out.m_text = std::string(m_text.substr(start, m_at - start));
        if (integral) {
            int64_t value = 0;
            const auto result = std::from_chars(out.m_text.data(), out.m_text.data() + out.m_text.size(), value);
            if (result.ec == std::errc())
                out.m_integer = value;
        }
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_error;
};

std::optional<JsonValue> JsonValue::parse(std::string_view text, std::string* error)
{
    JsonReader reader(text);
    JsonValue value;
    if (!reader.document(value)) {
        if (error)
            *error = reader.error();
        return std::nullopt;
    }
    return value;
}

const JsonValue* JsonValue::find(std::string_view name) const
{
    for (const auto& member : m_members)
        if (member.first == name)
            return &member.second;
    return nullptr;
}

const JsonValue& JsonValue::operator[](std::string_view name) const
{
    static const JsonValue kNull;
    const JsonValue* member = find(name);
    return member ? *member : kNull;
}

std::vector<std::string> JsonValue::names() const
{
    std::vector<std::string> out;
    for (const auto& member : m_members)
        out.push_back(member.first);
    return out;
}

}  // namespace s::testing
