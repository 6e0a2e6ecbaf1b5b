// Worker threads as Win32 threads, parked and woken through the thread's own
// suspend count.
#include "base/OsThread.h"

#include <windows.h>

namespace s::thread {

namespace {

class WinThread final : public OsThread {
public:
    ~WinThread() override { closeHandle(); }

    bool start(Body body, void* context)
    {
        m_body = body;
        m_context = context;
        // CREATE_SUSPENDED: the thread exists with suspend count 1 and runs
        // nothing until the first ResumeThread.
        m_handle = CreateThread(nullptr, 0, &WinThread::entry, this, CREATE_SUSPENDED, &m_id);
        return m_handle != nullptr;
    }

    unsigned long id() const override { return m_id; }

    long resume() override
    {
        if (!m_handle)
            return kFailed;
        const DWORD before = ResumeThread(m_handle);
        return before == static_cast<DWORD>(-1) ? kFailed : static_cast<long>(before);
    }

    long suspend() override
    {
        if (!m_handle)
            return kFailed;
        const DWORD before = SuspendThread(m_handle);
        return before == static_cast<DWORD>(-1) ? kFailed : static_cast<long>(before);
    }

    // A thread may suspend itself: SuspendThread on the pseudo handle returns
    // only after another thread's ResumeThread has brought the count to 0.
    void suspendSelf() override { SuspendThread(GetCurrentThread()); }

    // SuspendThread from outside takes effect wherever the thread is.
    void checkIn() override {}

    bool waitEnded(unsigned ms) override { return !m_handle || WaitForSingleObject(m_handle, ms) == WAIT_OBJECT_0; }

    // The handle stays open until this object goes: other threads may still
    // hold the job block and wait on or resume the thread, and a closed handle
    // value can be handed out again for some other object.
    void join() override
    {
        if (m_handle)
            WaitForSingleObject(m_handle, INFINITE);
    }

    void abandon() override
    {
        if (!m_handle || WaitForSingleObject(m_handle, 0) != WAIT_TIMEOUT)
            return;
        // TerminateThread only starts the termination; the thread may run on
        // for a moment. Its handle is signalled once it is really gone, and
        // the job block it used may only be let go then.
        if (TerminateThread(m_handle, 0))
            WaitForSingleObject(m_handle, INFINITE);
    }

    bool setPriority(int priority) override { return m_handle && SetThreadPriority(m_handle, priority) != 0; }

    bool priority(int& priority) const override
    {
        if (!m_handle)
            return false;
        const int current = GetThreadPriority(m_handle);
        if (current == THREAD_PRIORITY_ERROR_RETURN)
            return false;
        priority = current;
        return true;
    }

private:
    static DWORD WINAPI entry(void* self)
    {
        auto* thread = static_cast<WinThread*>(self);
        thread->m_body(thread->m_context);
        return 0;
    }

    void closeHandle()
    {
        if (m_handle) {
            CloseHandle(m_handle);
            m_handle = nullptr;
        }
    }

    HANDLE m_handle = nullptr;
    DWORD m_id = 0;
    Body m_body = nullptr;
    void* m_context = nullptr;
};

}  // namespace

std::unique_ptr<OsThread> OsThread::createSuspended(Body body, void* context, std::shared_ptr<void> /*keepAlive*/)
{
    auto thread = std::make_unique<WinThread>();
    if (!thread->start(body, context))
        return nullptr;
    return thread;
}

unsigned long OsThread::currentId()
{
    return GetCurrentThreadId();
}

}  // namespace s::thread
