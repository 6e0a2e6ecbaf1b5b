// MapTable: a hash table from strings to pointers, on the string hash of
// StrBuffer (exact, or ignoring case A-Z when made with Keys::IgnoreCase).
// Keys are copied into the table. Values are opaque pointers; with a value
// destructor set, the table owns them and disposes of a value when it is
// replaced, removed or cleared. Chained buckets, a power-of-two bucket count,
// doubled when the table holds more than 3/4 as many entries as buckets.
#pragma once

#include "base/IObject.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace s::map {

class MapTable : public s::thread::PooledObject<MapTable> {
public:
    enum class Keys { Exact, IgnoreCase };

    MapTable() = default;
    explicit MapTable(Keys keys) : m_keys(keys) {}
    ~MapTable() override;
    MapTable(const MapTable&) = delete;
    MapTable& operator=(const MapTable&) = delete;

    const char* className() const override { return "s_map_MapTable"; }
    // Empty, exact keys, no value destructor.
    void reset() override;

    // Only while the table is empty.
    void setKeys(Keys keys);
    Keys keys() const { return m_keys; }
    void setValueDestructor(s::base::IDestructor* destructor) { m_valueDestructor = destructor; }

    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    // Adds or replaces. Returns true when the key was new; a replaced value
    // goes to the value destructor (if any).
    bool put(std::u16string_view key, void* value);
    // The value, or nullptr when absent (use find() when null is a value).
    void* get(std::u16string_view key) const;
    bool find(std::u16string_view key, void*& value) const;
    bool contains(std::u16string_view key) const;
    // Removes the entry and disposes of its value; false when absent.
    bool remove(std::u16string_view key);
    // Removes every entry, disposing of the values.
    void clear();

    // Calls visit(key, value) for every entry, in no particular order.
    template <class Visit> void forEach(Visit&& visit) const
    {
        for (const Entry* head : m_buckets) {
            for (const Entry* e = head; e; e = e->next)
                visit(e->key.view(), e->value);
        }
    }

private:
    struct Entry {
        s::str::StrBuffer key;
        void* value = nullptr;
        uint32_t hash = 0;
        Entry* next = nullptr;
    };

    uint32_t hashOf(std::u16string_view key) const;
    bool keyEquals(const Entry& entry, std::u16string_view key, uint32_t hash) const;
    Entry** slotOf(std::u16string_view key, uint32_t hash) const;
    void rehash(std::size_t bucketCount);
    void disposeValue(void* value);

    std::vector<Entry*> m_buckets;
    int m_count = 0;
    Keys m_keys = Keys::Exact;
    s::base::IDestructor* m_valueDestructor = nullptr;
};

}  // namespace s::map
