#include "base/Array.h"

#include <cstdlib>
#include <new>

namespace s::col {

int growCapacity(int capacity)
{
    double next;
    if (capacity < 100)
        return 100;
    if (capacity < 10'000'000)
        next = 3.0 * capacity;
    else if (capacity < 50'000'000)
        next = 2.0 * capacity;
    else if (capacity < 100'000'000)
        next = 1.5 * capacity;
    else
        next = 1.2 * capacity;
    if (next >= static_cast<double>(kMaxCapacity))
        return kMaxCapacity;
    return static_cast<int>(next);
}

int capacityFor(int capacity, long long needed)
{
    if (needed > kMaxCapacity)
        std::abort();
    int grown = capacity;
    while (grown < needed)
        grown = growCapacity(grown);
    return grown;
}

}  // namespace s::col

namespace s::col::_array {

namespace {

struct SortContext {
    CompareFunction compare;
    void* user;
    bool descending;
    std::size_t size;

    int operator()(const unsigned char* a, const unsigned char* b) const
    {
        const int result = compare(a, b, user);
        if (!descending)
            return result;
        // Negating INT_MIN would overflow; only the sign matters.
        return result > 0 ? -1 : (result < 0 ? 1 : 0);
    }
};

void insertionSort(unsigned char* first, int n, unsigned char* scratch, const SortContext& cmp)
{
    const std::size_t size = cmp.size;
    for (int i = 1; i < n; ++i) {
        unsigned char* item = first + static_cast<std::size_t>(i) * size;
        int j = i;
        // Only strictly greater elements move up: equal keys keep their order.
        while (j > 0 && cmp(first + static_cast<std::size_t>(j - 1) * size, item) > 0)
            --j;
        if (j == i)
            continue;
        unsigned char* slot = first + static_cast<std::size_t>(j) * size;
        std::memcpy(scratch, item, size);
        std::memmove(slot + size, slot, static_cast<std::size_t>(i - j) * size);
        std::memcpy(slot, scratch, size);
    }
}

// Sorts n elements at first; buffer holds at least (n / 2 + 1) elements plus
// one for the insertion sort's scratch element.
void sortRun(unsigned char* first, int n, unsigned char* buffer, const SortContext& cmp)
{
    const std::size_t size = cmp.size;
    if (n <= 6) {
        insertionSort(first, n, buffer, cmp);
        return;
    }
    const int half = n / 2;
    unsigned char* right = first + static_cast<std::size_t>(half) * size;
    sortRun(first, half, buffer, cmp);
    sortRun(right, n - half, buffer, cmp);
    if (cmp(right - size, right) <= 0)
        return;  // already in order: nothing to merge

    // Merge: the left half moves to the buffer, then both halves merge back in
    // place from the front. Ties take the left element, which keeps the sort
    // stable.
    std::memcpy(buffer, first, static_cast<std::size_t>(half) * size);
    const unsigned char* left = buffer;
    const unsigned char* leftEnd = buffer + static_cast<std::size_t>(half) * size;
    const unsigned char* rightEnd = first + static_cast<std::size_t>(n) * size;
    unsigned char* out = first;
    const unsigned char* r = right;
    while (left < leftEnd && r < rightEnd) {
        if (cmp(r, left) < 0) {
            std::memcpy(out, r, size);
            r += size;
        } else {
            std::memcpy(out, left, size);
            left += size;
        }
        out += size;
    }
    if (left < leftEnd)
        std::memcpy(out, left, static_cast<std::size_t>(leftEnd - left));
}

}  // namespace

void mergeSort(void* elements, int count, int elementSize, CompareFunction compare, void* user, SortOrder order)
{
    if (count < 2 || elementSize <= 0)
        return;
    const SortContext cmp{compare, user, order == SortOrder::Descending, static_cast<std::size_t>(elementSize)};
    const std::size_t bufferElements = static_cast<std::size_t>(count) / 2 + 2;
    auto* buffer = static_cast<unsigned char*>(::operator new(bufferElements* cmp.size));
    sortRun(static_cast<unsigned char*>(elements), count, buffer, cmp);
    ::operator delete(buffer);
}

ArrayBase::~ArrayBase()
{
    clear();
}

ArrayBase::ArrayBase(const ArrayBase& other) : s::base::IObject(other), m_shift(other.m_shift)
{
    appendRaw(other.m_data, other.m_count);
}

ArrayBase::ArrayBase(ArrayBase&& other) noexcept
    : s::base::IObject(other), m_destructor(std::exchange(other.m_destructor, nullptr)),
      m_data(std::exchange(other.m_data, nullptr)), m_count(std::exchange(other.m_count, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)), m_shift(other.m_shift)
{
}

ArrayBase& ArrayBase::operator=(const ArrayBase& other)
{
    if (this != &other) {
        clear();
        m_shift = other.m_shift;
        appendRaw(other.m_data, other.m_count);
    }
    return *this;
}

ArrayBase& ArrayBase::operator=(ArrayBase&& other) noexcept
{
    if (this != &other) {
        clear();
        m_destructor = std::exchange(other.m_destructor, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_count = std::exchange(other.m_count, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_shift = other.m_shift;
    }
    return *this;
}

void ArrayBase::growTo(int newCapacity)
{
    const std::size_t bytes = static_cast<std::size_t>(newCapacity) << m_shift;
    auto* block = static_cast<unsigned char*>(::operator new(bytes));
    if (m_count > 0)
        std::memcpy(block, m_data, static_cast<std::size_t>(m_count) << m_shift);
    ::operator delete(m_data);
    m_data = block;
    m_capacity = newCapacity;
}

void ArrayBase::reserveExactly(int n)
{
    if (n > m_capacity)
        growTo(n);
}

void ArrayBase::reserve(int n)
{
    if (n > m_capacity)
        growTo(s::col::capacityFor(m_capacity, n));
}

void ArrayBase::clear()
{
    // Detach first: a destructor that looks at this array sees it empty.
    unsigned char* data = std::exchange(m_data, nullptr);
    const int count = std::exchange(m_count, 0);
    m_capacity = 0;
    if (m_destructor && data) {
        assert(elementSize() == static_cast<int>(sizeof(void*)));
        for (int i = 0; i < count; ++i) {
            void* element;
            std::memcpy(&element, data + static_cast<std::size_t>(i) * sizeof(void*), sizeof(void*));
            m_destructor->dispose(element);
        }
    }
    ::operator delete(data);
}

void ArrayBase::truncate(int newCount)
{
    assert(newCount >= 0 && newCount <= m_count);
    m_count = newCount;
}

void ArrayBase::resize(int newCount)
{
    assert(newCount >= 0);
    if (newCount <= m_count) {
        m_count = newCount;
        return;
    }
    reserveExactly(newCount);
    std::memset(rawAt(m_count), 0, static_cast<std::size_t>(newCount - m_count) << m_shift);
    m_count = newCount;
}

void ArrayBase::resetArray()
{
    clear();
    m_destructor = nullptr;
}

void ArrayBase::appendRaw(const void* elements, int n)
{
    if (n <= 0)
        return;
    if (static_cast<long long>(m_count) + n > m_capacity)
        growTo(s::col::capacityFor(m_capacity, static_cast<long long>(m_count) + n));
    std::memcpy(rawAt(m_count), elements, static_cast<std::size_t>(n) << m_shift);
    m_count += n;
}

void ArrayBase::insertRaw(int index, const void* elements, int n)
{
    assert(index >= 0 && index <= m_count);
    if (n <= 0)
        return;
    if (static_cast<long long>(m_count) + n > m_capacity)
        growTo(s::col::capacityFor(m_capacity, static_cast<long long>(m_count) + n));
    std::memmove(rawAt(index + n), rawAt(index), static_cast<std::size_t>(m_count - index) << m_shift);
    std::memcpy(rawAt(index), elements, static_cast<std::size_t>(n) << m_shift);
    m_count += n;
}

void ArrayBase::removeAtRaw(int index, void* removed)
{
    assert(index >= 0 && index < m_count);
    std::memcpy(removed, rawAt(index), static_cast<std::size_t>(elementSize()));
    if (index < m_count - 1)
        std::memmove(rawAt(index), rawAt(index + 1), static_cast<std::size_t>(m_count - index - 1) << m_shift);
    --m_count;
}

int ArrayBase::indexOfRaw(const void* value) const
{
    const std::size_t size = static_cast<std::size_t>(elementSize());
    for (int i = 0; i < m_count; ++i) {
        if (std::memcmp(rawAt(i), value, size) == 0)
            return i;
    }
    return -1;
}

void ArrayBase::sort(const s::base::IComparator* comparator, SortOrder order)
{
    const s::base::IComparator* used = comparator ? comparator : &defaultComparator();
    sortWith([](const void* a, const void* b,
                void* user) { return static_cast<const s::base::IComparator*>(user)->compare(a, b); },
             const_cast<s::base::IComparator*>(used), order);
}

void ArrayBase::sortWith(CompareFunction compare, void* user, SortOrder order)
{
    if (m_count > 1)
        mergeSort(m_data, m_count, elementSize(), compare, user, order);
}

void ArrayP::disposeAt(int index)
{
    void* element = removeAt(index);
    if (m_destructor)
        m_destructor->dispose(element);
}

}  // namespace s::col::_array

namespace s::comp {

const CompP& CompP::instance()
{
    static const CompP comparator;
    return comparator;
}
const CompS08& CompS08::instance()
{
    static const CompS08 comparator;
    return comparator;
}
const CompU08& CompU08::instance()
{
    static const CompU08 comparator;
    return comparator;
}
const CompS32& CompS32::instance()
{
    static const CompS32 comparator;
    return comparator;
}
const CompU32& CompU32::instance()
{
    static const CompU32 comparator;
    return comparator;
}
const CompS64& CompS64::instance()
{
    static const CompS64 comparator;
    return comparator;
}

}  // namespace s::comp
