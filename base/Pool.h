// Per-class pools. Every pooled class C has exactly one EasyPooler, created on
// first use (a function-local static, so the one-time initialisation is
// thread-safe) and destroyed at process exit in the reverse order of creation.
//
// A class joins by deriving from PooledObject<C> (which supplies release() and
// newInstance()) and implementing reset() and className(). It may declare
//     static constexpr unsigned kPoolLimit = N;
// to keep other than 1000 spares.
//
// Ownership: whoever takes an object gives it back exactly once. Pooled<C>
// makes that automatic: it gives the object back when it leaves scope.
// detach() hands the duty on to whoever receives the raw pointer.
#pragma once

#include "base/EasyPooler.h"
#include "base/IObject.h"

#include <utility>

namespace s::thread {

inline constexpr unsigned kDefaultPoolLimit = 1000;

template <class C> constexpr unsigned poolLimitOf()
{
    if constexpr (requires { C::kPoolLimit; })
        return C::kPoolLimit;
    else
        return kDefaultPoolLimit;
}

template <class C> class Pool {
public:
    static EasyPooler& pooler()
    {
        static EasyPooler instance(poolLimitOf<C>(), &create, &destroy, &resetObject);
        return instance;
    }

    static C* take() { return static_cast<C*>(pooler().take()); }
    static void give(C* object) { pooler().give(object); }

private:
    static void* create() { return new C(); }
    static void destroy(void* object) { delete static_cast<C*>(object); }
    static void resetObject(void* object)
    {
        if (object)
            static_cast<C*>(object)->reset();
    }
};

// Move-only owner of one pooled object.
template <class C> class Pooled {
public:
    Pooled() = default;
    explicit Pooled(C* object) : m_object(object) {}
    ~Pooled() { giveBack(); }

    Pooled(Pooled&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    Pooled& operator=(Pooled&& other) noexcept
    {
        if (this != &other) {
            giveBack();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    Pooled(const Pooled&) = delete;
    Pooled& operator=(const Pooled&) = delete;

    static Pooled take() { return Pooled(Pool<C>::take()); }

    C* get() const { return m_object; }
    C* operator->() const { return m_object; }
    C& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Hands the object on; the receiver now owes its give-back.
    [[nodiscard]] C* detach() { return std::exchange(m_object, nullptr); }

    // Gives the object back now (nothing when empty).
    void giveBack()
    {
        if (m_object)
            Pool<C>::give(std::exchange(m_object, nullptr));
    }

private:
    C* m_object = nullptr;
};

// Base of pooled library classes: IObject first, IPoolable second, as in the
// rest of the library. Derived supplies className() and reset().
template <class Derived, class ObjectBase = s::base::IObject> class PooledObject : public ObjectBase, public IPoolable {
public:
    void release() override { Pool<Derived>::give(static_cast<Derived*>(this)); }
    s::base::IObject* newInstance() const override { return Pool<Derived>::take(); }
};

}  // namespace s::thread
