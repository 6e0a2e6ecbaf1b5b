// Growable arrays of fixed-size elements. ArrayBase keeps the block, the count
// and the capacity; one pooled class per element type gives typed access:
//
//     ArrayP    void*       (owning when a destructor is set)
//     ArrayS08  int8_t      ArrayU08  uint8_t (byte buffers)
//     ArrayS32  int32_t     ArrayU32  uint32_t
//     ArrayS64  int64_t
//
// Counts and indexes are int; -1 means "not found". An index outside the array
// is outside the contract (asserted in debug builds). Growth follows the
// library's growth rule (growCapacity below), shared with StrBuffer.
//
// Ownership: an ArrayP with a destructor (s::base::IDestructor) owns its
// elements: clear(), reset() and the array's destruction pass every element to
// it. removeAt() hands the removed element to the caller and never disposes it.
// Copying an array copies the elements but not the destructor, so a copy never
// owns anything; moving carries everything across.
//
// Arrays are usable by value (members of other classes) and from their pools
// (Pool<ArrayS32>::take(), Pooled<ArrayS32>).
#pragma once

#include "base/IObject.h"
#include "base/Pool.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace s::col {

// The largest count of elements (or UTF-16 units) a block may hold.
inline constexpr int kMaxCapacity = 0x7FFFFFF0;

// Growth rule of strings and arrays: from capacity c the next capacity is 100
// below 100, 3c below ten million, 2c below fifty million, 1.5c below a hundred
// million and 1.2c above (computed in double precision and truncated).
int growCapacity(int capacity);
// The capacity reached from `capacity` by repeating the growth rule until it
// holds at least `needed`. Aborts the process when `needed` exceeds
// kMaxCapacity: out of memory is not recoverable for the library's callers.
int capacityFor(int capacity, long long needed);

}  // namespace s::col

namespace s::col::_array {

enum class SortOrder { Ascending, Descending };

// compare(a, b, user) receives pointers to two elements: <0, 0 or >0.
using CompareFunction = int (*)(const void* a, const void* b, void* user);

// Stable merge sort of `count` elements of `elementSize` bytes: runs of at most
// six elements are sorted by insertion, and two sorted halves that are already
// in order (last of the left not greater than first of the right) are left as
// they are without merging. Descending order keeps equal elements in their
// original order too.
void mergeSort(void* elements, int count, int elementSize, CompareFunction compare, void* user,
               SortOrder order = SortOrder::Ascending);

class ArrayBase : public s::base::IObject {
public:
    ~ArrayBase() override;

    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    int capacity() const { return m_capacity; }
    int elementSize() const { return 1 << m_shift; }

    // Capacity becomes n if it was smaller (exactly n, no growth rule).
    void reserveExactly(int n);
    // Grows by repeating the growth rule until at least n elements fit.
    void reserve(int n);
    // Passes every element to the destructor (if any), frees the block; count
    // and capacity become 0. The destructor setting stays.
    void clear();
    // Forgets the elements from newCount on without disposing of them; keeps
    // the block.
    void truncate(int newCount);
    // Sets the count: shrinking forgets elements (never disposed), growing
    // adds zero-filled elements (reserving exactly what is needed).
    void resize(int newCount);

    // Sorts with comparator (the array's default comparator when null).
    void sort(const s::base::IComparator* comparator = nullptr, SortOrder order = SortOrder::Ascending);
    void sortWith(CompareFunction compare, void* user, SortOrder order = SortOrder::Ascending);

    // The comparator that sort() uses when none is given.
    virtual const s::base::IComparator& defaultComparator() const = 0;

    s::base::IDestructor* destructor() const { return m_destructor; }

protected:
    ArrayBase() = default;
    ArrayBase(const ArrayBase& other);
    ArrayBase(ArrayBase&& other) noexcept;
    ArrayBase& operator=(const ArrayBase& other);
    ArrayBase& operator=(ArrayBase&& other) noexcept;

    void setShift(unsigned shift) { m_shift = shift; }
    unsigned char* block() const { return m_data; }
    unsigned char* rawAt(int index) const { return m_data + (static_cast<std::size_t>(index) << m_shift); }
    void appendRaw(const void* elements, int n);
    void insertRaw(int index, const void* elements, int n);
    void removeAtRaw(int index, void* removed);
    int indexOfRaw(const void* value) const;
    void resetArray();

    s::base::IDestructor* m_destructor = nullptr;

private:
    void growTo(int newCapacity);

    unsigned char* m_data = nullptr;
    int m_count = 0;
    int m_capacity = 0;
    unsigned m_shift = 0;
};

// Typed face of ArrayBase; Derived is the concrete pooled class.
template <class Derived, class T, class Comparator> class ArrayOf : public s::thread::PooledObject<Derived, ArrayBase> {
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(sizeof(T) == 1 || sizeof(T) == 4 || sizeof(T) == 8);

public:
    using value_type = T;

    ArrayOf() { this->setShift(sizeof(T) == 1 ? 0u : sizeof(T) == 4 ? 2u : 3u); }

    // The elements (nullptr while the array has no block).
    T* data() { return reinterpret_cast<T*>(this->block()); }
    const T* data() const { return reinterpret_cast<const T*>(this->block()); }
    T* begin() { return data(); }
    T* end() { return data() + count(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + count(); }

    using ArrayBase::count;

    T get(int index) const
    {
        assert(index >= 0 && index < count());
        return data()[index];
    }
    T& operator[](int index)
    {
        assert(index >= 0 && index < count());
        return data()[index];
    }
    const T& operator[](int index) const
    {
        assert(index >= 0 && index < count());
        return data()[index];
    }
    void set(int index, T value) { (*this)[index] = value; }
    T last() const { return get(count() - 1); }

    void add(T value) { this->appendRaw(&value, 1); }
    void add(const T* values, int n) { this->appendRaw(values, n); }
    void insert(int index, T value) { this->insertRaw(index, &value, 1); }
    void insert(int index, const T* values, int n) { this->insertRaw(index, values, n); }
    // Removes the element at index and returns it (never disposed).
    T removeAt(int index)
    {
        T removed;
        this->removeAtRaw(index, &removed);
        return removed;
    }
    // First index whose element equals value byte for byte, or -1.
    int indexOf(T value) const { return this->indexOfRaw(&value); }
    // indexOf, then removeAt; false when absent.
    bool remove(T value)
    {
        const int index = indexOf(value);
        if (index < 0)
            return false;
        removeAt(index);
        return true;
    }

    const s::base::IComparator& defaultComparator() const override { return Comparator::instance(); }
    void reset() override { this->resetArray(); }
};

}  // namespace s::col::_array

namespace s::comp {

// Comparators of the array element types: compare(a, b) receives pointers to
// two elements and returns -1, 0 or 1.
template <class T> int compareValues(const void* a, const void* b)
{
    T x;
    T y;
    std::memcpy(&x, a, sizeof(T));
    std::memcpy(&y, b, sizeof(T));
    return x < y ? -1 : (y < x ? 1 : 0);
}

template <class T> class CompValue : public s::base::IComparator {
public:
    int compare(const void* a, const void* b) const override { return compareValues<T>(a, b); }
};

// Pointer values compared as unsigned numbers of the pointer's full width (on
// 64-bit Windows a truncation to 32 bits would call distinct pointers equal).
class CompP : public CompValue<std::uintptr_t> {
public:
    static const CompP& instance();
};
class CompS08 : public CompValue<int8_t> {
public:
    static const CompS08& instance();
};
class CompU08 : public CompValue<uint8_t> {
public:
    static const CompU08& instance();
};
class CompS32 : public CompValue<int32_t> {
public:
    static const CompS32& instance();
};
class CompU32 : public CompValue<uint32_t> {
public:
    static const CompU32& instance();
};
class CompS64 : public CompValue<int64_t> {
public:
    static const CompS64& instance();
};

}  // namespace s::comp

namespace s::col::_array {

class ArrayP : public ArrayOf<ArrayP, void*, s::comp::CompP> {
public:
    const char* className() const override { return "s_col__array_ArrayP"; }
    // With a destructor the array owns its elements (see the top of this file).
    void setDestructor(s::base::IDestructor* destructor) { m_destructor = destructor; }
    // Removes the element at index and passes it to the destructor (if any).
    void disposeAt(int index);
    // Typed view of element index.
    template <class P> P* at(int index) const { return static_cast<P*>(get(index)); }
};

class ArrayS08 : public ArrayOf<ArrayS08, int8_t, s::comp::CompS08> {
public:
    const char* className() const override { return "s_col__array_ArrayS08"; }
};

class ArrayU08 : public ArrayOf<ArrayU08, uint8_t, s::comp::CompU08> {
public:
    const char* className() const override { return "s_col__array_ArrayU08"; }
};

class ArrayS32 : public ArrayOf<ArrayS32, int32_t, s::comp::CompS32> {
public:
    const char* className() const override { return "s_col__array_ArrayS32"; }
};

class ArrayU32 : public ArrayOf<ArrayU32, uint32_t, s::comp::CompU32> {
public:
    const char* className() const override { return "s_col__array_ArrayU32"; }
};

class ArrayS64 : public ArrayOf<ArrayS64, int64_t, s::comp::CompS64> {
public:
    const char* className() const override { return "s_col__array_ArrayS64"; }
};

}  // namespace s::col::_array

namespace s::col {
using _array::ArrayP;
using _array::ArrayS08;
using _array::ArrayS32;
using _array::ArrayS64;
using _array::ArrayU08;
using _array::ArrayU32;
}  // namespace s::col
