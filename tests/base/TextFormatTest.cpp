#include "base/TextFormat.h"

#include "tests/base/TextPrint.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using s::str::StrBuffer;

TEST(TextFormat, SizeTexts)
{
    struct Row {
        int64_t size;
        const char16_t* expected;
    };
    const Row rows[] = {
        {0, u"0 B"},
        {1023, u"1023 B"},
        {1024, u"1.00 KB"},
        {1034, u"1.00 KB"},
        {1536, u"1.50 KB"},
        {1024 + 103, u"1.10 KB"},  // 103 * 100 / 1024 = 10
        {1024 + 102, u"1.09 KB"},  // 9, written with its leading zero
        {15872, u"15.5 KB"},
        {153600, u"150 KB"},
        {1048575, u"1023 KB"},
        {1048576, u"1.00 MB"},
        {10485760, u"10.0 MB"},
        {3221225472, u"3.00 GB"},
        {INT64_C(1) << 40, u"1.00 TB"},
        {INT64_C(2048) << 40, u"2048 TB"},  // TB counts on past ten bits
        {-1, u"-"},
        {-2, u""},
        {-3, u"-"},
        {INT64_MIN, u"-"},
    };
    StrBuffer text(u"previous");
    for (const Row& row : rows) {
        s::str::formatSize(row.size, text);
        EXPECT_EQ(text, row.expected) << "size " << row.size;
    }
}

TEST(TextFormat, CountTexts)
{
    struct Row {
        int64_t count;
        const char16_t* expected;
    };
    const Row rows[] = {
        {0, u"0"},
        {999, u"999"},
        {1000, u"1,000"},
        {1234567, u"1,234,567"},
        {-1234, u"-1,234"},
        {INT64_MAX, u"9,223,372,036,854,775,807"},
        {INT64_MIN, u"-9,223,372,036,854,775,808"},
    };
    StrBuffer text(u"previous");
    for (const Row& row : rows) {
        s::str::formatCount(row.count, text);
        EXPECT_EQ(text, row.expected) << "count " << row.count;
    }
}

}  // namespace
