#include "platform/fake/FakeTaskScheduler.h"

#include <array>
#include <mutex>

namespace s::platform {

namespace {

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND): a task that is not there.
constexpr HResult kTaskNotFound = static_cast<HResult>(0x80070002u);

class FakeTaskSchedulerImpl final : public FakeTaskScheduler {
public:
    HResult deleteTask(std::u16string_view name) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(u"delete " + std::u16string(name));
        if (const HResult failed = fails(TaskStep::Delete))
            return failed;
        return m_tasks.erase(std::u16string(name)) ? kSOk : kTaskNotFound;
    }

    HResult registerTask(std::u16string_view name, const LogonTask& task) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(u"register " + std::u16string(name));
        if (const HResult failed = fails(TaskStep::Register))
            return failed;
        m_tasks[std::u16string(name)] = task;
        return kSOk;
    }

    HResult findTask(std::u16string_view name) override
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(u"find " + std::u16string(name));
        if (const HResult failed = fails(TaskStep::Find))
            return failed;
        return m_tasks.count(std::u16string(name)) ? kSOk : kTaskNotFound;
    }

    void failAt(TaskStep step, HResult result) override
    {
        std::lock_guard lock(m_mutex);
        m_faults[static_cast<std::size_t>(step)] = result;
    }

    std::map<std::u16string, LogonTask> tasks() override
    {
        std::lock_guard lock(m_mutex);
        return m_tasks;
    }

    std::vector<std::u16string> calls() override
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        m_tasks.clear();
        m_calls.clear();
        m_faults = {};
    }

private:
    // Connecting comes first in every call.
    HResult fails(TaskStep step) const
    {
        if (m_faults[static_cast<std::size_t>(TaskStep::Connect)])
            return m_faults[static_cast<std::size_t>(TaskStep::Connect)];
        return m_faults[static_cast<std::size_t>(step)];
    }

    std::mutex m_mutex;
    std::map<std::u16string, LogonTask> m_tasks;
    std::vector<std::u16string> m_calls;
    std::array<HResult, 4> m_faults{};
};

}  // namespace

FakeTaskScheduler& fakeTaskScheduler()
{
    static FakeTaskSchedulerImpl instance;
    return instance;
}

ITaskScheduler& taskScheduler()
{
    return fakeTaskScheduler();
}

}  // namespace s::platform
