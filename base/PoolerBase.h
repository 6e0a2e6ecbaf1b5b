// A pool whose create, reset, dispose and size are virtual operations, with
// optional size accounting: with it on, a spare is kept only while the free
// list holds at most the count limit, the object is at most the per-object
// size limit and the total of the spares stays within the total limit.
#pragma once

#include "base/IObject.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace s::thread {

class PoolerBase : public s::base::IObject, public s::base::IGenerator, public s::base::IDestructor {
public:
    static constexpr unsigned kCountLimit = 1000;
    static constexpr unsigned kObjectSizeLimit = 1024;
    static constexpr unsigned kTotalSizeLimit = 102400;
    static constexpr int kAskSize = -1;

    PoolerBase() = default;
    // Disposes every spare in list order; the subclass's disposeObject is no
    // longer reachable from here, so subclasses call clearSpares() in their
    // own destructor.
    ~PoolerBase() override = default;

    PoolerBase(const PoolerBase&) = delete;
    PoolerBase& operator=(const PoolerBase&) = delete;

    virtual unsigned sizeOf(const void* object) const;
    // size kAskSize: ask sizeOf. Expects an object, never null.
    virtual void give(void* object, int size);
    virtual void* take();
    virtual void resetObject(void* object) = 0;
    virtual void disposeObject(void* object) = 0;

    // IDestructor: give(object, kAskSize) and clear the caller's pointer.
    void dispose(void*& object) override;

    void setSizeAccounting(bool on);
    bool sizeAccounting() const { return m_sizeAccounting; }
    std::size_t spareCount() const;
    std::size_t totalSize() const;

protected:
    void clearSpares();

private:
    mutable std::recursive_mutex m_lock;
    std::vector<void*> m_free;
    std::size_t m_totalSize = 0;
    bool m_sizeAccounting = false;
};

// The concrete family of PoolerBase; subclasses supply generate, reset and
// dispose of their objects.
class Factory : public PoolerBase {
public:
    const char* className() const override { return "s_thread_Factory"; }
};

}  // namespace s::thread
