// Work handed from any thread to a window's thread. A worker posts closures;
// the window thread runs them in the order they were posted when the wake-up
// it was sent arrives. The closures never travel inside a window message: the
// message only says "run what is queued". So a message that was posted but
// never pumped (its window died first, and Windows drops a dead window's
// messages) leaks nothing: the queue frees what it still holds when the
// window closes it, and refuses (frees at once, never runs) every later post.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace s::gui {

class ClosureQueue {
public:
    using Closure = std::function<void()>;
    // Asks the window thread to call runPending; false when the window is gone.
    using Wake = std::function<bool()>;

    explicit ClosureQueue(Wake wake);
    ~ClosureQueue();
    ClosureQueue(const ClosureQueue&) = delete;
    ClosureQueue& operator=(const ClosureQueue&) = delete;

    // Any thread. False when the queue is closed: the closure is then freed
    // on this thread and never runs.
    bool post(Closure closure);
    // The window thread: runs every closure queued so far, in order.
    void runPending();
    // The window thread, when its window is destroyed: frees what is queued
    // without running it and refuses later posts.
    void close();
    bool isClosed() const;

private:
    mutable std::mutex m_lock;
    std::deque<Closure> m_pending;
    bool m_closed = false;
    Wake m_wake;
};

}  // namespace s::gui
