// Worker threads on the host's own threads (std::thread). POSIX has no way to
// suspend or terminate another thread, so the suspend count is kept here and
// takes effect where the worker parks itself (suspendSelf) or checks in
// between two looks at its job (checkIn); a stuck thread is abandoned instead
// of killed. Priorities are remembered but not applied: an unprivileged Linux
// process can lower a thread's niceness but never raise it back, so applying
// them would make "normal" unreachable after a reset.
#include "base/OsThread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace s::thread {

namespace {

class PosixThread final : public OsThread {
public:
    ~PosixThread() override
    {
        // An owner that never joined lets the thread run on rather than
        // ending the process (std::thread's destructor would terminate it).
        if (m_thread.joinable())
            m_thread.detach();
    }

    bool start(Body body, void* context, std::shared_ptr<void> keepAlive)
    {
        try {
            m_thread = std::thread([this, body, context, keep = std::move(keepAlive)] { main(body, context); });
        } catch (const std::system_error&) {
            return false;
        }
        // The id is the kernel's, known only on the new thread.
        std::unique_lock guard(m_lock);
        m_changed.wait(guard, [this] { return m_id != 0; });
        return true;
    }

    unsigned long id() const override
    {
        std::lock_guard guard(m_lock);
        return m_id;
    }

    long resume() override
    {
        std::lock_guard guard(m_lock);
        if (m_ended)
            return kFailed;
        const long before = m_count;
        if (m_count > 0 && --m_count == 0)
            m_changed.notify_all();
        return before;
    }

    long suspend() override
    {
        std::lock_guard guard(m_lock);
        if (m_ended)
            return kFailed;
        return m_count++;
    }

    void suspendSelf() override
    {
        std::unique_lock guard(m_lock);
        ++m_count;
        m_changed.wait(guard, [this] { return m_count == 0; });
    }

    void checkIn() override
    {
        std::unique_lock guard(m_lock);
        m_changed.wait(guard, [this] { return m_count == 0; });
    }

    bool waitEnded(unsigned ms) override
    {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_ended; });
    }

    void join() override
    {
        if (!m_thread.joinable())
            return;
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach();  // joining oneself would throw
        else
            m_thread.join();
    }

    void abandon() override
    {
        {
            std::lock_guard guard(m_lock);
            m_count = 0;
            m_changed.notify_all();
        }
        if (m_thread.joinable())
            m_thread.detach();
    }

    bool setPriority(int priority) override
    {
        std::lock_guard guard(m_lock);
        m_priority = priority;
        return true;
    }

    bool priority(int& priority) const override
    {
        std::lock_guard guard(m_lock);
        priority = m_priority;
        return true;
    }

private:
    void main(Body body, void* context)
    {
        {
            std::unique_lock guard(m_lock);
            m_id = static_cast<unsigned long>(gettid());
            m_changed.notify_all();
            // Created suspended: wait for the first resume.
            m_changed.wait(guard, [this] { return m_count == 0; });
        }
        body(context);
        std::lock_guard guard(m_lock);
        m_ended = true;
        m_changed.notify_all();
    }

    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    long m_count = 1;
    unsigned long m_id = 0;
    bool m_ended = false;
    int m_priority = 0;
    std::thread m_thread;
};

}  // namespace

std::unique_ptr<OsThread> OsThread::createSuspended(Body body, void* context, std::shared_ptr<void> keepAlive)
{
    auto thread = std::make_unique<PosixThread>();
    if (!thread->start(body, context, std::move(keepAlive)))
        return nullptr;
    return thread;
}

unsigned long OsThread::currentId()
{
    return static_cast<unsigned long>(gettid());
}

}  // namespace s::thread
