// A strict reader of JSON text (RFC 8259) for tests that check what a
// program printed: the text must be one value with nothing but white space
// around it. Strings are kept as UTF-8; numbers as written, readable as an
// integer when they are one.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace s::testing {

class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    // The value of text, or nullopt (and the reason in error) when text is
    // not exactly one JSON value.
    static std::optional<JsonValue> parse(std::string_view text, std::string* error = nullptr);

    Type type() const { return m_type; }
    bool isNull() const { return m_type == Type::Null; }
    bool isBool() const { return m_type == Type::Bool; }
    bool isNumber() const { return m_type == Type::Number; }
    bool isString() const { return m_type == Type::String; }
    bool isArray() const { return m_type == Type::Array; }
    bool isObject() const { return m_type == Type::Object; }
    // An integer written without fraction or exponent.
    bool isInteger() const { return m_type == Type::Number && m_integer.has_value(); }

    bool boolean() const { return m_bool; }
    int64_t integer() const { return m_integer.value_or(0); }
    const std::string& string() const { return m_text; }  // a string's UTF-8, a number's text
    const std::vector<JsonValue>& items() const { return m_items; }
    std::size_t size() const { return m_type == Type::Array ? m_items.size() : m_members.size(); }
    const JsonValue& operator[](std::size_t index) const { return m_items.at(index); }

    // Members in the order written; names are unique (the reader refuses a
    // repeated one).
    const std::vector<std::pair<std::string, JsonValue>>& members() const { return m_members; }
    bool has(std::string_view name) const { return find(name) != nullptr; }
    const JsonValue* find(std::string_view name) const;
    // The member, or a null value when there is none.
    const JsonValue& operator[](std::string_view name) const;
    std::vector<std::string> names() const;

private:
    friend class JsonReader;
    Type m_type = Type::Null;
    bool m_bool = false;
    std::optional<int64_t> m_integer;
    std::string m_text;
    std::vector<JsonValue> m_items;
    std::vector<std::pair<std::string, JsonValue>> m_members;
};

}  // namespace s::testing
