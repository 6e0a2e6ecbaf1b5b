#include "base/ObjLocker.h"

namespace s::thread {

ObjLocker::ObjLocker(s::base::IObject* object, FreeFunction freeFunction, s::base::IDestructor* destructor)
    : m_object(object), m_freeFunction(freeFunction), m_destructor(destructor)
{
}

ObjLocker::~ObjLocker()
{
    if (!m_object)
        return;
    if (m_freeFunction) {
        m_freeFunction(m_object);
    } else if (m_destructor) {
        void* object = m_object;
        m_destructor->dispose(object);
    } else {
        delete m_object;
    }
    m_object = nullptr;
}

void ObjLocker::setObject(s::base::IObject* object, FreeFunction freeFunction, s::base::IDestructor* destructor)
{
    m_object = object;
    m_freeFunction = freeFunction;
    m_destructor = destructor;
}

}  // namespace s::thread
