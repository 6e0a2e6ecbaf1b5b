#include "base/StrArray.h"

namespace s::str::strarray {

StrArray::StrArray()
{
    m_items.setDestructor(&s::thread::Pool<StrBuffer>::pooler());
}

StrArray::StrArray(const StrArray& other) : StrArray()
{
    *this = other;
}

StrArray::StrArray(StrArray&& other) noexcept : StrArray()
{
    *this = std::move(other);
}

StrArray& StrArray::operator=(StrArray&& other) noexcept
{
    if (this != &other) {
        m_items = std::move(other.m_items);
        other.m_items.setDestructor(&s::thread::Pool<StrBuffer>::pooler());
    }
    return *this;
}

StrArray& StrArray::operator=(const StrArray& other)
{
    if (this != &other) {
        clear();
        m_items.reserve(other.count());
        for (int i = 0; i < other.count(); ++i)
            add(other.get(i));
    }
    return *this;
}

StrBuffer& StrArray::add(std::u16string_view text)
{
    StrBuffer* item = s::thread::Pool<StrBuffer>::take();
    item->assign(text);
    return addOwned(item);
}

StrBuffer& StrArray::addOwned(StrBuffer* text)
{
    m_items.add(text);
    return *text;
}

StrBuffer& StrArray::insert(int index, std::u16string_view text)
{
    StrBuffer* item = s::thread::Pool<StrBuffer>::take();
    item->assign(text);
    m_items.insert(index, item);
    return *item;
}

int StrArray::indexOf(std::u16string_view text) const
{
    for (int i = 0; i < count(); ++i) {
        if (get(i).equals(text))
            return i;
    }
    return -1;
}

int StrArray::indexOfIgnoreCase(std::u16string_view text) const
{
    for (int i = 0; i < count(); ++i) {
        if (get(i).equalsIgnoreCase(text))
            return i;
    }
    return -1;
}

void StrArray::sort(Order order, s::col::_array::SortOrder direction)
{
    const auto byBytes = [](const void* a, const void* b, void*) {
        return (*static_cast<StrBuffer* const*>(a))->compare(**static_cast<StrBuffer* const*>(b));
    };
    const auto ignoringCase = [](const void* a, const void* b, void*) {
        return (*static_cast<StrBuffer* const*>(a))->compareIgnoreCase(**static_cast<StrBuffer* const*>(b));
    };
    if (order == Order::Bytes)
        m_items.sortWith(byBytes, nullptr, direction);
    else
        m_items.sortWith(ignoringCase, nullptr, direction);
}

}  // namespace s::str::strarray
