#include "base/PoolerBase.h"

namespace s::thread {

unsigned PoolerBase::sizeOf(const void*) const
{
    return kObjectSizeLimit;
}

void PoolerBase::give(void* object, int size)
{
    if (!m_sizeAccounting) {
        {
            std::lock_guard guard(m_lock);
            if (m_free.size() <= kCountLimit) {
                resetObject(object);
                m_free.push_back(object);
                return;
            }
        }
        disposeObject(object);
        return;
    }

    const std::size_t bytes = size == kAskSize ? sizeOf(object) : static_cast<std::size_t>(size);
    {
        std::lock_guard guard(m_lock);
        if (m_free.size() <= kCountLimit && bytes <= kObjectSizeLimit && m_totalSize + bytes <= kTotalSizeLimit) {
            resetObject(object);
            m_free.push_back(object);
            m_totalSize += bytes;
            return;
        }
    }
    disposeObject(object);
}

void* PoolerBase::take()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_free.empty()) {
            void* object = m_free.back();
            m_free.pop_back();
            if (m_sizeAccounting) {
                const std::size_t bytes = sizeOf(object);
                m_totalSize = bytes > m_totalSize ? 0 : m_totalSize - bytes;
            }
            return object;
        }
    }
    return generate();
}

void PoolerBase::dispose(void*& object)
{
    if (!object)
        return;
    give(object, kAskSize);
    object = nullptr;
}

void PoolerBase::setSizeAccounting(bool on)
{
    std::lock_guard guard(m_lock);
    m_sizeAccounting = on;
}

std::size_t PoolerBase::spareCount() const
{
    std::lock_guard guard(m_lock);
    return m_free.size();
}

std::size_t PoolerBase::totalSize() const
{
    std::lock_guard guard(m_lock);
    return m_totalSize;
}

void PoolerBase::clearSpares()
{
    std::vector<void*> spares;
    {
        std::lock_guard guard(m_lock);
        spares.swap(m_free);
        m_totalSize = 0;
    }
    for (void* spare : spares)
        disposeObject(spare);
}

}  // namespace s::thread
