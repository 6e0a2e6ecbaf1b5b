#include "platform/fake/FakeMachineFacts.h"
#include "base/StrBuffer.h"

#include <array>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace s::platform {

namespace {

bool sameFolded(std::u16string_view a, std::u16string_view b)
{
    return s::str::strbuffer::StrBuffer::compareFolded(a, b) == 0;
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t' || text.back() == u'\r'))
        text.remove_suffix(1);
    return text;
}

std::u16string cut(std::u16string_view text, std::uint32_t capacity)
{
    if (capacity == 0)
        return {};
    return std::u16string(text.substr(0, capacity - 1));
}

class Machine final : public FakeMachineFacts {
public:
    std::u16string tempPath() override { return m_temp; }
    std::u16string modulePath() override { return m_module; }
    std::u16string userName() override { return m_user; }

    std::u16string logicalDriveStrings(std::uint32_t capacity) override
    {
        std::u16string text;
        for (const auto& [root, type] : m_drives) {
            text += root;
            text += u'\0';
        }
        // Windows wants room for the list's closing zero as well.
        if (text.size() + 1 > capacity)
            return {};
        return text;
    }

    std::uint32_t driveType(std::u16string_view root) override
    {
        for (const auto& [known, type] : m_drives)
            if (sameFolded(known, root))
                return type;
        return 1;  // DRIVE_NO_ROOT_DIR
    }

    std::u16string iniString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                             std::u16string_view fallback, std::uint32_t capacity) override
    {
        std::optional<std::u16string> value = lookUp(file, section, key);
        if (!value)
            return cut(fallback, capacity);
        std::u16string_view text = *value;
        if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front())
            text = text.substr(1, text.size() - 2);
        return cut(text, capacity);
    }

    std::int32_t iniInt(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                        std::int32_t fallback) override
    {
        std::optional<std::u16string> value = lookUp(file, section, key);
        if (!value)
            return fallback;
        std::u16string_view text = *value;
        bool negative = !text.empty() && text.front() == u'-';
        if (negative)
            text.remove_prefix(1);
        std::int64_t number = 0;
        for (char16_t unit : text) {
            if (unit < u'0' || unit > u'9')
                break;
            number = number * 10 + (unit - u'0');
            if (number > 0x7fffffff)
                break;
        }
        return static_cast<std::int32_t>(negative ? -number : number);
    }

    void setTempPath(std::u16string_view path) override { m_temp = path; }
    void setModulePath(std::u16string_view path) override { m_module = path; }
    void setUserName(std::u16string_view name) override { m_user = name; }
    void addDrive(std::u16string_view root, std::uint32_t type) override { m_drives.emplace_back(root, type); }

    void setIniFile(std::u16string_view path, std::u16string_view text) override
    {
        for (auto it = m_ini.begin(); it != m_ini.end(); ++it) {
            if (sameFolded(it->first, path)) {
                m_ini.erase(it);
                break;
            }
        }
        if (!text.empty())
            m_ini.emplace_back(path, text);
    }

    void clear() override
    {
        m_temp.clear();
        m_module.clear();
        m_user = u"tester";
        m_drives.clear();
        m_ini.clear();
    }

private:
    std::optional<std::u16string> lookUp(std::u16string_view file, std::u16string_view section,
                                         std::u16string_view key) const
    {
        for (const auto& [path, text] : m_ini) {
            if (!sameFolded(path, file))
                continue;
            bool inSection = false;
            std::u16string_view rest = text;
            while (!rest.empty()) {
                std::size_t end = rest.find(u'\n');
                std::u16string_view line = trimmed(rest.substr(0, end));
                rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
                if (!line.empty() && line.front() == u'[') {
                    std::size_t close = line.find(u']');
                    inSection =
                        close != std::u16string_view::npos && sameFolded(trimmed(line.substr(1, close - 1)), section);
                    continue;
                }
                std::size_t equals = line.find(u'=');
                if (inSection && equals != std::u16string_view::npos &&
                    sameFolded(trimmed(line.substr(0, equals)), key))
                    return std::u16string(trimmed(line.substr(equals + 1)));
            }
            return std::nullopt;
        }
        return std::nullopt;
    }

    std::u16string m_temp;
    std::u16string m_module;
    std::u16string m_user = u"tester";
    std::vector<std::pair<std::u16string, std::uint32_t>> m_drives;
    std::vector<std::pair<std::u16string, std::u16string>> m_ini;
};

Machine& machine()
{
    static Machine instance;
    return instance;
}

}  // namespace

IMachineFacts& machineFacts()
{
    return machine();
}
FakeMachineFacts& fakeMachineFacts()
{
    return machine();
}

}  // namespace s::platform
