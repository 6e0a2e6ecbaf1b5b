#include "gui/ClosureQueue.h"

#include <utility>

namespace s::gui {

ClosureQueue::ClosureQueue(Wake wake) : m_wake(std::move(wake))
{
}

ClosureQueue::~ClosureQueue() = default;

bool ClosureQueue::post(Closure closure)
{
    bool wake = false;
    bool accepted = false;
    {
        std::lock_guard guard(m_lock);
        if (!m_closed) {
            accepted = true;
            // One wake-up per batch: runPending empties the whole queue, and
            // a post arriving while it runs finds the queue empty again and
            // sends the next one.
            wake = m_pending.empty();
            m_pending.push_back(std::move(closure));
        }
    }
    if (!accepted) {
        // Refused: freed here, outside the lock, in case its destructor posts.
        closure = nullptr;
        return false;
    }
    // A failed wake-up means the window is going away; what was queued is
    // freed when the window thread closes the queue.
    if (wake)
        m_wake();
    return true;
}

void ClosureQueue::runPending()
{
    std::deque<Closure> batch;
    {
        std::lock_guard guard(m_lock);
        batch.swap(m_pending);
    }
    while (!batch.empty()) {
        // A closure may destroy the window, which closes this queue; the rest
        // of the batch is then dropped as the queue's contents would be.
        if (isClosed())
            break;
        Closure next = std::move(batch.front());
        batch.pop_front();
        next();
    }
}

void ClosureQueue::close()
{
    std::deque<Closure> dropped;
    {
        std::lock_guard guard(m_lock);
        m_closed = true;
        dropped.swap(m_pending);
    }
    // Freed outside the lock: a closure's destructor may post again (and is
    // refused).
}

bool ClosureQueue::isClosed() const
{
    std::lock_guard guard(m_lock);
    return m_closed;
}

}  // namespace s::gui
