#include "base/Array.h"

#include "base/Cleaners.h"
#include "base/StrArray.h"
#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using s::col::ArrayP;
using s::col::ArrayS08;
using s::col::ArrayS32;
using s::col::ArrayS64;
using s::col::ArrayU08;
using s::col::ArrayU32;
using s::col::_array::SortOrder;

std::vector<int32_t> contents(const ArrayS32& array)
{
    return {array.begin(), array.end()};
}

ArrayS32 arrayOf(std::initializer_list<int32_t> values)
{
    ArrayS32 array;
    for (int32_t v : values)
        array.add(v);
    return array;
}

TEST(Array, RemoveAtShiftsTheTailAndReturnsTheElement)
{
    struct Row {
        int index;
        int32_t removed;
        std::vector<int32_t> left;
    };
    const Row rows[] = {
        {0, 1, {2, 3}},
        {1, 2, {1, 3}},
        {2, 3, {1, 2}},
    };
    for (const Row& row : rows) {
        ArrayS32 array = arrayOf({1, 2, 3});
        EXPECT_EQ(array.removeAt(row.index), row.removed) << "index " << row.index;
        EXPECT_EQ(contents(array), row.left) << "index " << row.index;
    }
}

TEST(Array, GrowsByTheRuleAndReservesExactlyOnRequest)
{
    ArrayS32 array;
    std::vector<std::pair<int, int>> steps;
    for (int i = 0; i < 150; ++i) {
        const int before = array.capacity();
        array.add(i);
        if (array.capacity() != before)
            steps.emplace_back(array.count(), array.capacity());
    }
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 100}, {101, 300}}));

    ArrayS32 inserted = arrayOf({1, 2});
    std::vector<int32_t> many(250, 7);
    inserted.insert(1, many.data(), 250);
    EXPECT_EQ(inserted.capacity(), 300);
    EXPECT_EQ(inserted.count(), 252);
    EXPECT_EQ(inserted[0], 1);
    EXPECT_EQ(inserted[1], 7);
    EXPECT_EQ(inserted[251], 2);

    ArrayU08 exact;
    exact.reserveExactly(17);
    EXPECT_EQ(exact.capacity(), 17);
    exact.reserveExactly(5);
    EXPECT_EQ(exact.capacity(), 17) << "never shrinks";
    exact.reserve(18);
    EXPECT_EQ(exact.capacity(), 100);
}

TEST(Array, SearchAndRemoveByValue)
{
    ArrayS32 array = arrayOf({5, -1, 5, 9});
    EXPECT_EQ(array.indexOf(5), 0);
    EXPECT_EQ(array.indexOf(9), 3);
    EXPECT_EQ(array.indexOf(4), -1);
    EXPECT_TRUE(array.remove(5));
    EXPECT_EQ(contents(array), (std::vector<int32_t>{-1, 5, 9}));
    EXPECT_FALSE(array.remove(4));
    array.insert(3, 11);
    array.insert(0, 10);
    EXPECT_EQ(contents(array), (std::vector<int32_t>{10, -1, 5, 9, 11}));
}

// Records disposed through an IDestructor, in order.
class RecordingDestructor : public s::base::IDestructor {
public:
    void dispose(void*& object) override
    {
        if (!object)
            return;
        disposed.push_back(*static_cast<int*>(object));
        delete static_cast<int*>(object);
        object = nullptr;
    }
    std::vector<int> disposed;
};

TEST(Array, OwnsItsElementsOnlyWithADestructor)
{
    RecordingDestructor destructor;
    {
        ArrayP owning;
        owning.setDestructor(&destructor);
        for (int i = 1; i <= 3; ++i)
            owning.add(new int(i));
        void* taken = owning.removeAt(1);  // handed to the caller, not disposed
        EXPECT_EQ(*static_cast<int*>(taken), 2);
        delete static_cast<int*>(taken);

        ArrayP copy(owning);  // a copy never owns
        EXPECT_EQ(copy.destructor(), nullptr);
        EXPECT_EQ(copy.count(), 2);

        owning.clear();
        EXPECT_EQ(destructor.disposed, (std::vector<int>{1, 3}));
        EXPECT_EQ(owning.count(), 0);
        EXPECT_EQ(owning.capacity(), 0);
        EXPECT_EQ(owning.destructor(), &destructor) << "clear keeps the ownership setting";

        owning.add(new int(4));
        ArrayP moved(std::move(owning));  // moving carries the duty
        EXPECT_EQ(owning.destructor(), nullptr);
    }
    EXPECT_EQ(destructor.disposed, (std::vector<int>{1, 3, 4}));

    // From the pool: giving the array back disposes of its elements and
    // forgets the destructor.
    ArrayP* pooled = s::thread::Pool<ArrayP>::take();
    pooled->setDestructor(&destructor);
    pooled->add(new int(5));
    pooled->release();
    EXPECT_EQ(destructor.disposed.back(), 5);
    ArrayP* again = s::thread::Pool<ArrayP>::take();
    EXPECT_EQ(again->destructor(), nullptr);
    EXPECT_EQ(again->count(), 0);
    again->release();
}

struct Record {
    int key;
    int order;  // position before sorting
};

int byKey(const void* a, const void* b, void*)
{
    const auto* x = *static_cast<Record* const*>(a);
    const auto* y = *static_cast<Record* const*>(b);
    return x->key - y->key;
}

TEST(ArraySort, MergeSortIsStableInBothDirections)
{
    std::mt19937 random(7);
    for (int n : {0, 1, 2, 5, 6, 7, 12, 13, 64, 100, 1001}) {
        for (int keys : {1, 3, 1000}) {
            std::vector<Record> records(static_cast<std::size_t>(n));
            ArrayP array;
            for (int i = 0; i < n; ++i) {
                records[static_cast<std::size_t>(i)] = {static_cast<int>(random() % static_cast<unsigned>(keys)), i};
                array.add(&records[static_cast<std::size_t>(i)]);
            }
            for (SortOrder order : {SortOrder::Ascending, SortOrder::Descending}) {
                std::vector<Record> expected = records;
                if (order == SortOrder::Ascending)
                    std::stable_sort(expected.begin(), expected.end(),
                                     [](const Record& a, const Record& b) { return a.key < b.key; });
                else
                    std::stable_sort(expected.begin(), expected.end(),
                                     [](const Record& a, const Record& b) { return a.key > b.key; });
                ArrayP sorted(array);
                sorted.sortWith(&byKey, nullptr, order);
                for (int i = 0; i < n; ++i) {
                    const Record& got = *sorted.at<Record>(i);
                    const Record& want = expected[static_cast<std::size_t>(i)];
                    ASSERT_TRUE(got.key == want.key && got.order == want.order)
                        << "n " << n << " keys " << keys << (order == SortOrder::Ascending ? " asc" : " desc") << " at "
                        << i << ": key " << got.key << " was " << got.order << ", expected key " << want.key << " was "
                        << want.order;
                }
            }
        }
    }
}

TEST(ArraySort, OrderedHalvesAreNotMerged)
{
    // Sorting sorted data must cost about one comparison per element: each
    // run of up to six costs its length minus one, each join one more.
    const int n = 4096;
    std::vector<int32_t> values(n);
    for (int i = 0; i < n; ++i)
        values[static_cast<std::size_t>(i)] = i / 3;  // with ties
    int comparisons = 0;
    s::col::_array::mergeSort(
        values.data(), n, 4,
        [](const void* a, const void* b, void* user) {
            ++*static_cast<int*>(user);
            return s::comp::compareValues<int32_t>(a, b);
        },
        &comparisons);
    EXPECT_LT(comparisons, n + n / 4);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
}

TEST(ArraySort, DefaultComparatorsHonourWidthAndSign)
{
    ArrayS08 signedBytes;
    for (int8_t v : {int8_t{1}, int8_t{-1}, int8_t{127}, int8_t{-128}})
        signedBytes.add(v);
    signedBytes.sort();
    EXPECT_EQ(std::vector<int8_t>(signedBytes.begin(), signedBytes.end()), (std::vector<int8_t>{-128, -1, 1, 127}));

    ArrayU08 bytes;
    for (uint8_t v : {uint8_t{255}, uint8_t{1}, uint8_t{128}})
        bytes.add(v);
    bytes.sort(nullptr, SortOrder::Descending);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), (std::vector<uint8_t>{255, 128, 1}));

    ArrayU32 unsignedWords;
    for (uint32_t v : {0x80000000u, 1u})
        unsignedWords.add(v);
    unsignedWords.sort();
    EXPECT_EQ(unsignedWords[0], 1u);

    ArrayS64 wide;
    for (int64_t v : {INT64_C(0x100000000), INT64_C(-0x100000000), INT64_C(1)})
        wide.add(v);
    wide.sort();
    EXPECT_EQ(std::vector<int64_t>(wide.begin(), wide.end()),
              (std::vector<int64_t>{-0x100000000, 1, INT64_C(0x100000000)}));

    // Pointers differ above bit 31 on 64-bit Windows; they must not compare
    // equal.
    ArrayP pointers;
    pointers.add(reinterpret_cast<void*>(std::uintptr_t{0x100000001}));
    pointers.add(reinterpret_cast<void*>(std::uintptr_t{0x2}));
    pointers.sort();
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pointers[0]), 0x2u);
    const std::uintptr_t a = 0x100000001;
    const std::uintptr_t b = 0x1;
    EXPECT_EQ(s::comp::CompP::instance().compare(&a, &b), 1);
}

TEST(StrArray, OwnsItsStringsAndSortsStably)
{
    s::str::StrArray names;
    for (const char16_t* name : {u"beta", u"Alpha", u"alpha", u"BETA", u"gamma"})
        names.add(name);
    EXPECT_EQ(names.indexOf(u"BETA"), 3);
    EXPECT_EQ(names.indexOfIgnoreCase(u"BETA"), 0);

    s::str::StrArray copy(names);
    copy.get(0).assign(u"changed");
    EXPECT_EQ(names[0], u"beta") << "a copy has its own strings";

    names.sort(s::str::StrArray::Order::IgnoreCase);
    const std::vector<std::u16string> expected = {u"Alpha", u"alpha", u"beta", u"BETA", u"gamma"};
    for (int i = 0; i < names.count(); ++i)
        EXPECT_EQ(names[i], expected[static_cast<std::size_t>(i)]) << "at " << i;

    names.sort(s::str::StrArray::Order::Bytes);
    EXPECT_EQ(names[0], u"Alpha");
    EXPECT_EQ(names[1], u"BETA");

    auto& pool = s::thread::Pool<s::str::StrBuffer>::pooler();
    const std::size_t spares = pool.spareCount();
    names.removeAt(0);
    EXPECT_EQ(pool.spareCount(), spares + 1) << "a removed string goes back to its pool";
    s::str::StrArray moved(std::move(names));
    EXPECT_EQ(moved.count(), 4);
    names.add(u"still owning");  // takes the spare
    names.clear();
    EXPECT_EQ(pool.spareCount(), spares + 1) << "the moved-from array still gives its strings back";
}

}  // namespace
