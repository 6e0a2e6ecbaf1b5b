// Disposal policies for owning containers: what happens to an element when the
// container lets it go. Each sets the caller's pointer to null and ignores null.
#pragma once

#include "base/IObject.h"

namespace s::cleaner {

// Raw memory from operator new (for example a 64-bit sort value).
class CleanerRaw : public s::base::IDestructor {
public:
    void dispose(void*& object) override;
    static CleanerRaw& instance();
};

// A plain C++ object of type T, deleted.
template <class T> class CleanerRawObject : public s::base::IDestructor {
public:
    void dispose(void*& object) override
    {
        delete static_cast<T*>(object);
        object = nullptr;
    }
    static CleanerRawObject& instance()
    {
        static CleanerRawObject cleaner;
        return cleaner;
    }
};

// A library object held as IObject*: a pooled one goes back to its pool
// (release), any other is deleted.
class CleanerIObject : public s::base::IDestructor {
public:
    void dispose(void*& object) override;
    static CleanerIObject& instance();
};

}  // namespace s::cleaner
