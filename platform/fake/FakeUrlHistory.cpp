#include "platform/fake/FakeUrlHistory.h"

#include <mutex>

namespace s::platform {

namespace {

class FakeUrlHistoryImpl final : public FakeUrlHistory {
public:
    HResult clearHistory(bool* created) override
    {
        std::lock_guard lock(m_mutex);
        if (created)
            *created = m_creation == kSOk;
        if (m_creation != kSOk)
            return m_creation;
        ++m_clears;
        return kSOk;
    }

    void failCreation(HResult result) override
    {
        std::lock_guard lock(m_mutex);
        m_creation = result;
    }

    int clears() override
    {
        std::lock_guard lock(m_mutex);
        return m_clears;
    }

    void clear() override
    {
        std::lock_guard lock(m_mutex);
        m_creation = kSOk;
        m_clears = 0;
    }

private:
    std::mutex m_mutex;
    HResult m_creation = kSOk;
    int m_clears = 0;
};

}  // namespace

FakeUrlHistory& fakeUrlHistory()
{
    static FakeUrlHistoryImpl instance;
    return instance;
}

IUrlHistory& urlHistory()
{
    return fakeUrlHistory();
}

}  // namespace s::platform
