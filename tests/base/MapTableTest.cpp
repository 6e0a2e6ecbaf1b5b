#include "base/MapTable.h"

#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using s::map::MapTable;

class CountingDestructor : public s::base::IDestructor {
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

TEST(MapTable, PutGetReplaceRemove)
{
    CountingDestructor values;
    MapTable table;
    table.setValueDestructor(&values);
    EXPECT_TRUE(table.put(u"one", new int(1)));
    EXPECT_TRUE(table.put(u"One", new int(11)));  // exact keys: another entry
    EXPECT_FALSE(table.put(u"one", new int(111)));
    EXPECT_EQ(values.disposed, std::vector<int>{1}) << "the replaced value is disposed";
    EXPECT_EQ(*static_cast<int*>(table.get(u"one")), 111);
    EXPECT_EQ(table.get(u"ONE"), nullptr);
    EXPECT_EQ(table.count(), 2);
    EXPECT_TRUE(table.remove(u"One"));
    EXPECT_FALSE(table.remove(u"One"));
    EXPECT_EQ(values.disposed, (std::vector<int>{1, 11}));
    table.clear();
    EXPECT_EQ(values.disposed, (std::vector<int>{1, 11, 111}));
    EXPECT_TRUE(table.isEmpty());
}

TEST(MapTable, KeysIgnoringCaseFoldOnlyAToZ)
{
    MapTable table(MapTable::Keys::IgnoreCase);
    int a = 1;
    int b = 2;
    table.put(u"Language", &a);
    EXPECT_EQ(table.get(u"LANGUAGE"), &a);
    EXPECT_FALSE(table.put(u"language", &b));
    EXPECT_EQ(table.get(u"Language"), &b);
    table.put(u"\u00C4rger", &a);
    EXPECT_EQ(table.get(u"\u00E4rger"), nullptr);
    void* found = &a;
    table.put(u"null value", nullptr);
    EXPECT_TRUE(table.find(u"NULL VALUE", found));
    EXPECT_EQ(found, nullptr);
}

TEST(MapTable, HoldsManyKeysThroughGrowth)
{
    MapTable table;
    std::vector<int> numbers(20000);
    for (int i = 0; i < 20000; ++i) {
        numbers[static_cast<std::size_t>(i)] = i;
        s::str::StrBuffer key(u"key");
        key.appendS32(i);
        ASSERT_TRUE(table.put(key, &numbers[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(table.count(), 20000);
    int visited = 0;
    table.forEach([&](std::u16string_view key, void* value) {
        s::str::StrBuffer expected(u"key");
        expected.appendS32(*static_cast<int*>(value));
        EXPECT_EQ(expected, key);
        ++visited;
    });
    EXPECT_EQ(visited, 20000);
    for (int i = 0; i < 20000; i += 7) {
        s::str::StrBuffer key(u"key");
        key.appendS32(i);
        ASSERT_EQ(table.get(key), &numbers[static_cast<std::size_t>(i)]) << testing_text::utf8(key);
    }
}

}  // namespace
