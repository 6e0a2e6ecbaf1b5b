#include "platform/fake/FakeEnvironment.h"

#include "base/StrBuffer.h"

#include <map>
#include <mutex>

namespace s::platform {

namespace {

// Names compare ignoring case, as Windows compares them.
std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

class FakeEnvironmentImpl final : public FakeEnvironment {
public:
    FakeEnvironmentImpl() { reset(); }

    Win32Error expand(std::u16string_view text, std::uint32_t capacity, std::u16string& out) override
    {
        std::lock_guard lock(m_mutex);
        std::u16string result;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find(u'%', at);
            if (open == std::u16string_view::npos) {
                result += text.substr(at);
                break;
            }
            result += text.substr(at, open - at);
            const std::size_t close = text.find(u'%', open + 1);
            if (close == std::u16string_view::npos) {
                result += text.substr(open);
                break;
            }
            const auto found = m_variables.find(folded(text.substr(open + 1, close - open - 1)));
            if (found != m_variables.end()) {
                result += found->second;
                at = close + 1;
            } else {
                // An unknown name stays, and its closing % may open the next.
                result += u'%';
                result += text.substr(open + 1, close - open - 1);
                at = close;
            }
        }
        if (result.size() + 1 > capacity)
            return kErrorInsufficientBuffer;
        out = std::move(result);
        return kErrorSuccess;
    }

    void setVariable(std::u16string_view name, std::u16string_view value) override
    {
        std::lock_guard lock(m_mutex);
        m_variables[folded(name)] = std::u16string(value);
    }

    void removeVariable(std::u16string_view name) override
    {
        std::lock_guard lock(m_mutex);
        m_variables.erase(folded(name));
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        reset();
    }

private:
    void reset() { m_variables = {{folded(u"USERPROFILE"), u"C:\\Users\\tester"}}; }

    std::mutex m_mutex;
    std::map<std::u16string, std::u16string> m_variables;
};

}  // namespace

FakeEnvironment& fakeEnvironment()
{
    static FakeEnvironmentImpl instance;
    return instance;
}

IEnvironment& environment()
{
    return fakeEnvironment();
}

}  // namespace s::platform
