#include "base/EasyPooler.h"

namespace s::thread {

EasyPooler::EasyPooler(unsigned limit, CreateFunction createFn, ObjectFunction disposeFn, ObjectFunction resetFn)
    : m_limit(limit), m_create(createFn), m_dispose(disposeFn), m_reset(resetFn)
{
}

EasyPooler::~EasyPooler()
{
    for (void* spare : m_free)
        m_dispose(spare);
    m_free.clear();
}

s::base::IObject* EasyPooler::newInstance() const
{
    return new EasyPooler(m_limit, m_create, m_dispose, m_reset);
}

void* EasyPooler::take()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_free.empty()) {
            void* object = m_free.back();
            m_free.pop_back();
            return object;
        }
    }
    return m_create();
}

void EasyPooler::give(void* object)
{
    {
        std::lock_guard guard(m_lock);
        if (m_free.size() < m_limit) {
            m_reset(object);
            m_free.push_back(object);
            return;
        }
    }
    m_dispose(object);
}

void EasyPooler::dispose(void*& object)
{
    if (!object)
        return;
    give(object);
    object = nullptr;
}

std::size_t EasyPooler::spareCount() const
{
    std::lock_guard guard(m_lock);
    return m_free.size();
}

}  // namespace s::thread
