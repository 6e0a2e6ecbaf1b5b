#include "base/MapTable.h"

#include <algorithm>
#include <cassert>

namespace s::map {

MapTable::~MapTable()
{
    clear();
}

void MapTable::reset()
{
    clear();
    m_buckets.clear();
    m_buckets.shrink_to_fit();
    m_keys = Keys::Exact;
    m_valueDestructor = nullptr;
}

void MapTable::setKeys(Keys keys)
{
    assert(m_count == 0);
    m_keys = keys;
}

uint32_t MapTable::hashOf(std::u16string_view key) const
{
    return m_keys == Keys::Exact ? s::str::StrBuffer::hashOf(key) : s::str::StrBuffer::hashOfIgnoreCase(key);
}

bool MapTable::keyEquals(const Entry& entry, std::u16string_view key, uint32_t hash) const
{
    if (entry.hash != hash)
        return false;
    return m_keys == Keys::Exact ? entry.key.equals(key) : entry.key.equalsIgnoreCase(key);
}

MapTable::Entry** MapTable::slotOf(std::u16string_view key, uint32_t hash) const
{
    if (m_buckets.empty())
        return nullptr;
    auto** slot = const_cast<Entry**>(&m_buckets[hash & (m_buckets.size() - 1)]);
    while (*slot && !keyEquals(**slot, key, hash))
        slot = &(*slot)->next;
    return slot;
}

void MapTable::rehash(std::size_t bucketCount)
{
    std::vector<Entry*> buckets(bucketCount, nullptr);
    for (Entry* head : m_buckets) {
        while (head) {
            Entry* next = head->next;
            Entry*& slot = buckets[head->hash & (bucketCount - 1)];
            head->next = slot;
            slot = head;
            head = next;
        }
    }
    m_buckets.swap(buckets);
}

void MapTable::disposeValue(void* value)
{
    if (m_valueDestructor && value)
        m_valueDestructor->dispose(value);
}

bool MapTable::put(std::u16string_view key, void* value)
{
    const uint32_t hash = hashOf(key);
    if (Entry** slot = slotOf(key, hash); slot && *slot) {
        void* old = (*slot)->value;
        (*slot)->value = value;
        if (old != value)
            disposeValue(old);
        return false;
    }
    if (static_cast<std::size_t>(m_count + 1) * 4 > m_buckets.size() * 3)
        rehash(m_buckets.empty() ? 16 : m_buckets.size() * 2);
    auto* entry = new Entry;
    entry->key.assign(key);
    entry->value = value;
    entry->hash = hash;
    Entry*& head = m_buckets[hash & (m_buckets.size() - 1)];
    entry->next = head;
    head = entry;
    ++m_count;
    return true;
}

bool MapTable::find(std::u16string_view key, void*& value) const
{
    Entry** slot = slotOf(key, hashOf(key));
    if (!slot || !*slot)
        return false;
    value = (*slot)->value;
    return true;
}

void* MapTable::get(std::u16string_view key) const
{
    void* value = nullptr;
    return find(key, value) ? value : nullptr;
}

bool MapTable::contains(std::u16string_view key) const
{
    void* value;
    return find(key, value);
}

bool MapTable::remove(std::u16string_view key)
{
    Entry** slot = slotOf(key, hashOf(key));
    if (!slot || !*slot)
        return false;
    Entry* entry = *slot;
    *slot = entry->next;
    --m_count;
    void* value = entry->value;
    delete entry;
    disposeValue(value);
    return true;
}

void MapTable::clear()
{
    std::vector<Entry*> buckets;
    buckets.swap(m_buckets);
    m_count = 0;
    for (Entry* head : buckets) {
        while (head) {
            Entry* next = head->next;
            void* value = head->value;
            delete head;
            disposeValue(value);
            head = next;
        }
    }
    // Keep the bucket array for reuse.
    std::fill(buckets.begin(), buckets.end(), nullptr);
    m_buckets.swap(buckets);
}

}  // namespace s::map
