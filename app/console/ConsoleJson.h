// The JSON that purgoc --json writes: one object per run, on one line,
// members in the order they are added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::app::console {

// JSON text with the escapes JSON requires.
std::string quoted(std::u16string_view text);

// One JSON object, its members in the order they are added.
class JsonObject {
public:
    JsonObject& raw(std::string_view name, std::string_view json)
    {
        m_body += m_body.empty() ? "\"" : ",\"";
        m_body += name;
        m_body += "\":";
        m_body += json;
        return *this;
    }
    JsonObject& text(std::string_view name, std::u16string_view value) { return raw(name, quoted(value)); }
    JsonObject& number(std::string_view name, int64_t value) { return raw(name, std::to_string(value)); }
    JsonObject& boolean(std::string_view name, bool value) { return raw(name, value ? "true" : "false"); }
    std::string str() const { return "{" + m_body + "}"; }

private:
    std::string m_body;
};

std::string jsonArray(const std::vector<std::string>& items);

}  // namespace s::app::console
