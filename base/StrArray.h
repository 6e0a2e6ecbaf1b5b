// StrArray: an owning array of strings. Every element is a StrBuffer taken
// from the string pool; removing or clearing gives it back. Use it by value
// or from its pool.
#pragma once

#include "base/Array.h"
#include "base/StrBuffer.h"

#include <string_view>

namespace s::str::strarray {

using s::str::strbuffer::StrBuffer;

class StrArray : public s::thread::PooledObject<StrArray> {
public:
    StrArray();
    StrArray(const StrArray& other);
    // The moved-from array stays empty and owning.
    StrArray(StrArray&& other) noexcept;
    StrArray& operator=(const StrArray& other);
    StrArray& operator=(StrArray&& other) noexcept;
    ~StrArray() override = default;

    const char* className() const override { return "s_str_strarray_StrArray"; }
    // Gives every string back to its pool.
    void reset() override { clear(); }

    int count() const { return m_items.count(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    StrBuffer& get(int index) const { return *m_items.at<StrBuffer>(index); }
    StrBuffer& operator[](int index) const { return get(index); }

    // Appends a copy of text and returns the stored string.
    StrBuffer& add(std::u16string_view text);
    // Appends a string taken from the pool (ownership passes to the array).
    StrBuffer& addOwned(StrBuffer* text);
    StrBuffer& insert(int index, std::u16string_view text);
    // Removes the string and gives it back to its pool.
    void removeAt(int index) { m_items.disposeAt(index); }
    void clear() { m_items.clear(); }

    // First index holding text, or -1.
    int indexOf(std::u16string_view text) const;
    int indexOfIgnoreCase(std::u16string_view text) const;

    enum class Order { Bytes, IgnoreCase };
    // Stable sort by StrBuffer::compare (byte order) or compareIgnoreCase.
    void sort(Order order = Order::Bytes, s::col::_array::SortOrder direction = s::col::_array::SortOrder::Ascending);

    // The underlying array of StrBuffer pointers (owning).
    const s::col::ArrayP& items() const { return m_items; }

private:
    s::col::ArrayP m_items;
};

}  // namespace s::str::strarray

namespace s::str {
using strarray::StrArray;
}  // namespace s::str
