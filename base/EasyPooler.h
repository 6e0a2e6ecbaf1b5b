// A pool of spare objects of one class. take() reuses the spare given back
// last, or creates a new object; give() resets the object and keeps it unless
// the pool already holds `limit` spares, in which case the object is destroyed.
// Objects are created and destroyed outside the lock; the lock guards only the
// free list (and the reset of an object being kept).
#pragma once

#include "base/IObject.h"

#include <cstddef>
#include <mutex>
#include <vector>

namespace s::thread {

class EasyPooler : public s::base::IObject, public s::base::IGenerator, public s::base::IDestructor {
public:
    using CreateFunction = void* (*)();
    using ObjectFunction = void (*)(void*);  // dispose and reset; both ignore null

    EasyPooler(unsigned limit, CreateFunction createFn, ObjectFunction disposeFn, ObjectFunction resetFn);
    // Destroys every spare, in list order. Objects in use are not tracked.
    ~EasyPooler() override;

    EasyPooler(const EasyPooler&) = delete;
    EasyPooler& operator=(const EasyPooler&) = delete;

    const char* className() const override { return "s_thread_EasyPooler"; }
    // A pool is not itself pooled: a new instance is an empty pool of the same
    // kind of objects.
    s::base::IObject* newInstance() const override;

    void* take();
    // Expects an object, never null. Giving one object back twice is outside
    // the ownership rule and not detected.
    void give(void* object);

    void* generate() override { return take(); }
    void dispose(void*& object) override;

    unsigned limit() const { return m_limit; }
    std::size_t spareCount() const;

private:
    mutable std::recursive_mutex m_lock;
    std::vector<void*> m_free;
    unsigned m_limit;
    CreateFunction m_create;
    ObjectFunction m_dispose;
    ObjectFunction m_reset;
};

}  // namespace s::thread
