#include "platform/fake/FakeProcesses.h"

#include <map>
#include <mutex>
#include <set>

namespace s::platform {

namespace {

class FakeProcessesImpl final : public FakeProcesses {
public:
    std::vector<std::uint32_t> processIds() override
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::uint32_t> ids{0};  // the idle process, as Windows lists it
        for (const auto& [id, path] : m_paths)
            ids.push_back(id);
        return ids;
    }

    std::uint32_t currentProcessId() override
    {
        std::lock_guard lock(m_mutex);
        return m_current;
    }

    std::vector<std::u16string> sessionProgramNames() override
    {
        std::lock_guard lock(m_mutex);
        const std::uint32_t own = sessionOf(m_current);
        std::vector<std::u16string> names;
        for (const auto& [id, path] : m_paths) {
            if (sessionOf(id) != own)
                continue;
            const std::size_t slash = path.find_last_of(u"\\/");
            names.push_back(slash == std::u16string::npos ? path : path.substr(slash + 1));
        }
        return names;
    }

    void setSession(std::uint32_t process, std::uint32_t session) override
    {
        std::lock_guard lock(m_mutex);
        m_sessions[process] = session;
    }

    std::u16string executablePath(std::uint32_t process) override
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_paths.find(process);
        return found == m_paths.end() ? std::u16string() : found->second;
    }

    void waitForInputIdle(std::uint32_t process, std::uint32_t milliseconds) override
    {
        std::lock_guard lock(m_mutex);
        m_waits.push_back({process, milliseconds});
    }

    std::vector<TopWindow> topLevelWindows(std::uint32_t process) override
    {
        std::lock_guard lock(m_mutex);
        std::vector<TopWindow> out;
        for (const auto& [owner, window] : m_windows)
            if (owner == process)
                out.push_back(window);
        return out;
    }

    bool sendMessage(std::uintptr_t window, std::uint32_t message, std::uint32_t milliseconds) override
    {
        std::lock_guard lock(m_mutex);
        m_sent.push_back({window, message, milliseconds});
        for (const auto& [owner, entry] : m_windows)
            if (entry.handle == window)
                return !m_hung.count(owner);
        return false;
    }

    void addProcess(std::uint32_t id, std::u16string_view path) override
    {
        std::lock_guard lock(m_mutex);
        m_paths[id] = std::u16string(path);
    }

    void removeProcess(std::uint32_t id) override
    {
        std::lock_guard lock(m_mutex);
        m_paths.erase(id);
        m_sessions.erase(id);
        std::erase_if(m_windows, [id](const auto& entry) { return entry.first == id; });
    }

    void markEnding() override
    {
        std::lock_guard lock(m_mutex);
        m_ending.insert(m_current);
    }

    bool isEnding(std::uint32_t process) override
    {
        std::lock_guard lock(m_mutex);
        return m_ending.count(process) != 0;
    }

    void setCurrentProcessId(std::uint32_t id) override
    {
        std::lock_guard lock(m_mutex);
        m_current = id;
    }

    void addWindow(std::uint32_t process, std::uintptr_t handle, std::u16string_view caption) override
    {
        std::lock_guard lock(m_mutex);
        m_windows.emplace_back(process, TopWindow{handle, std::u16string(caption)});
    }

    void setHung(std::uint32_t process, bool hung) override
    {
        std::lock_guard lock(m_mutex);
        if (hung)
            m_hung.insert(process);
        else
            m_hung.erase(process);
    }

    std::vector<SentMessage> sent() override
    {
        std::lock_guard lock(m_mutex);
        return m_sent;
    }

    std::vector<WaitCall> waits() override
    {
        std::lock_guard lock(m_mutex);
        return m_waits;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        m_paths.clear();
        m_windows.clear();
        m_hung.clear();
        m_sent.clear();
        m_waits.clear();
        m_sessions.clear();
        m_ending.clear();
        m_current = 100;
    }

private:
    std::uint32_t sessionOf(std::uint32_t process) const
    {
        const auto found = m_sessions.find(process);
        return found == m_sessions.end() ? 1 : found->second;
    }

    std::mutex m_mutex;
    std::map<std::uint32_t, std::uint32_t> m_sessions;
    std::map<std::uint32_t, std::u16string> m_paths;
    std::vector<std::pair<std::uint32_t, TopWindow>> m_windows;
    std::set<std::uint32_t> m_hung;
    std::set<std::uint32_t> m_ending;
    std::vector<SentMessage> m_sent;
    std::vector<WaitCall> m_waits;
    std::uint32_t m_current = 100;
};

}  // namespace

FakeProcesses& fakeProcesses()
{
    static FakeProcessesImpl instance;
    return instance;
}

IProcesses& processes()
{
    return fakeProcesses();
}

}  // namespace s::platform
