#include "base/Cleaners.h"

namespace s::cleaner {

void CleanerRaw::dispose(void*& object)
{
    if (!object)
        return;
    ::operator delete(object);
    object = nullptr;
}

CleanerRaw& CleanerRaw::instance()
{
    static CleanerRaw cleaner;
    return cleaner;
}

void CleanerIObject::dispose(void*& object)
{
    if (!object)
        return;
    auto* libraryObject = static_cast<s::base::IObject*>(object);
    if (auto* poolable = dynamic_cast<s::thread::IPoolable*>(libraryObject))
        poolable->release();
    else
        delete libraryObject;
    object = nullptr;
}

CleanerIObject& CleanerIObject::instance()
{
    static CleanerIObject cleaner;
    return cleaner;
}

}  // namespace s::cleaner
