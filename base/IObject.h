// Root interfaces of the library. Every library class derives from IObject;
// every pooled class also from s::thread::IPoolable.
#pragma once

#include <typeinfo>

namespace s::base {

class IComparator;

// Comparison family. Without a comparator, objects compare by identity:
// 0 for the same object, -1 when this object's address is lower, else 1.
class IComparable {
public:
    virtual ~IComparable() = default;

    virtual int compareTo(const IComparable* other, const IComparator* comparator) const;
    virtual int compareTo2(const IComparable* other, const IComparator* comparator) const;
    virtual bool equals(const IComparable* other, const IComparator* comparator) const;
    virtual bool equals2(const IComparable* other, const IComparator* comparator) const;

    // A value that identifies the concrete class: two objects of one class
    // give the same value.
    virtual const std::type_info& typeId() const;
    virtual const std::type_info& typeId2() const;
};

class IObject : public IComparable {
public:
    // The class's qualified name with "::" replaced by "_".
    virtual const char* className() const = 0;
    // An object of the same class, taken from that class's pool.
    virtual IObject* newInstance() const = 0;
};

class IGenerator {
public:
    virtual ~IGenerator() = default;
    virtual void* generate() = 0;
};

// Gets rid of an object an owning container no longer wants. Does nothing for
// null; otherwise frees the object and sets the caller's pointer to null.
class IDestructor {
public:
    virtual ~IDestructor() = default;
    virtual void dispose(void*& object) = 0;
};

class IComparator {
public:
    virtual ~IComparator() = default;
    virtual int compare(const void* a, const void* b) const = 0;
    virtual int compare2(const void* a, const void* b) const { return compare(a, b); }
};

}  // namespace s::base

namespace s::thread {

class IPoolable {
public:
    virtual ~IPoolable() = default;
    // Gives this object back to its class's pool. The caller no longer owns it.
    virtual void release() = 0;
    // Back to the freshly constructed state: empty texts and containers, owned
    // sub-objects given back, counters zeroed. Allocated capacity may stay.
    virtual void reset() = 0;
};

}  // namespace s::thread
