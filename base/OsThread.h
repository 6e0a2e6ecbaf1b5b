// The operating system's side of one worker thread. The worker logic of
// s::thread::win::Thread is written once above this seam; the build picks the
// implementation:
//   OsThread_win.cpp    a Win32 thread with its real suspend count
//                       (CreateThread suspended, SuspendThread/ResumeThread,
//                       TerminateThread).
//   OsThread_posix.cpp  a std::thread whose suspend count is kept by the
//                       class, since a POSIX thread cannot be stopped from
//                       outside: the worker stops where it parks itself or
//                       checks in.
//
// Failures: resume and suspend report kFailed (never a count) for a thread
// that does not exist or whose handle is gone; createSuspended returns null
// when the system refuses a new thread.
#pragma once

#include <memory>

namespace s::thread {

class OsThread {
public:
    using Body = void (*)(void* context);
    static constexpr long kFailed = -1;

    // The thread must have been joined or abandoned before.
    virtual ~OsThread() = default;

    // A new thread with suspend count 1 that calls body(context) once resumed.
    // keepAlive is what the body works on. Where a stuck thread is abandoned
    // rather than killed (POSIX), the thread holds keepAlive until its body
    // returns, so that an abandoned worker never touches freed memory. The
    // Windows thread does not hold it: its owner always waits for its end or
    // kills it before letting go, and a killed thread could never drop it.
    static std::unique_ptr<OsThread> createSuspended(Body body, void* context, std::shared_ptr<void> keepAlive);

    // The id of the calling thread, in the same numbering as id().
    static unsigned long currentId();

    virtual unsigned long id() const = 0;

    // Take one from / add one to the suspend count; both return the count
    // before the call, or kFailed.
    virtual long resume() = 0;
    virtual long suspend() = 0;

    // Called on the thread itself: adds one to its suspend count and returns
    // once the count is back at 0.
    virtual void suspendSelf() = 0;
    // Called on the thread itself where it is safe to stop: waits while the
    // count is above 0. A no-op where suspension takes effect at once.
    virtual void checkIn() = 0;

    // True once the thread has ended (false after ms otherwise).
    virtual bool waitEnded(unsigned ms) = 0;
    // Waits for the end. The system's handle stays valid until destruction.
    virtual void join() = 0;
    // Gets rid of a thread that does not end in time: Windows kills it; POSIX
    // lets it run on detached (its count drops to 0 so that it is not left
    // parked) — the caller has already told its loop to end.
    virtual void abandon() = 0;

    virtual bool setPriority(int priority) = 0;
    // False (and priority untouched) when the system cannot tell.
    virtual bool priority(int& priority) const = 0;
};

}  // namespace s::thread
