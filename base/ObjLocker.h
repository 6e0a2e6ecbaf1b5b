// A recursive lock together with an optional owned object. Code that shares an
// object between threads enters the locker, uses the object and leaves.
#pragma once

#include "base/IObject.h"

#include <mutex>

namespace s::thread {

class ObjLocker : public s::base::IObject {
public:
    using FreeFunction = void (*)(s::base::IObject*);

    ObjLocker() = default;
    // Takes ownership of object. On destruction it is freed by freeFunction if
    // one is set, else by destructor->dispose (which receives the IObject
    // pointer), else by delete.
    explicit ObjLocker(s::base::IObject* object, FreeFunction freeFunction = nullptr,
                       s::base::IDestructor* destructor = nullptr);
    ~ObjLocker() override;

    ObjLocker(const ObjLocker&) = delete;
    ObjLocker& operator=(const ObjLocker&) = delete;

    const char* className() const override { return "s_thread_ObjLocker"; }
    s::base::IObject* newInstance() const override { return new ObjLocker(); }

    // The owning thread may enter again; every enter needs its leave.
    void enter() { m_lock.lock(); }
    bool tryEnter() { return m_lock.try_lock(); }
    void leave() { m_lock.unlock(); }

    s::base::IObject* object() const { return m_object; }
    // Replaces the owned object without freeing the previous one.
    void setObject(s::base::IObject* object, FreeFunction freeFunction = nullptr,
                   s::base::IDestructor* destructor = nullptr);

    // Holds the lock for one scope.
    class Guard {
    public:
        explicit Guard(ObjLocker& locker) : m_locker(locker) { m_locker.enter(); }
        ~Guard() { m_locker.leave(); }
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        ObjLocker& m_locker;
    };

private:
    s::base::IObject* m_object = nullptr;
    FreeFunction m_freeFunction = nullptr;
    s::base::IDestructor* m_destructor = nullptr;
    // A critical section in the original sense: recursive, owner may re-enter.
    std::recursive_mutex m_lock;
};

}  // namespace s::thread
