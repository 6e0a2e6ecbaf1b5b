#include "platform/SidText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace s::platform {
namespace {

std::vector<std::byte> bytes(std::initializer_list<int> values)
{
    std::vector<std::byte> out;
    for (int v : values)
        out.push_back(static_cast<std::byte>(v));
    return out;
}

TEST(SidText, FormatsAuthorityAndSubAuthorities)
{
    struct Row {
        const char* what;
        std::vector<std::byte> sid;
        const char16_t* text;
    };
    const Row rows[] = {
        {"local system", bytes({1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0}), u"S-1-5-18"},
        {"a user of a domain",
         bytes({1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE8, 3, 0, 0}),
         u"S-1-5-21-0-0-0-1000"},
        {"no sub-authority", bytes({1, 0, 0, 0, 0, 0, 0, 1}), u"S-1-1"},
        {"largest values", bytes({1, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
         u"S-1-4294967295-4294967295"},
        {"authority bytes are big-endian", bytes({1, 0, 0, 0, 0x12, 0x34, 0x56, 0x78}), u"S-1-305419896"},
        {"sub-authorities are little-endian", bytes({1, 1, 0, 0, 0, 0, 0, 5, 0x78, 0x56, 0x34, 0x12}),
         u"S-1-5-305419896"},
        {"high authority bytes: hexadecimal", bytes({1, 1, 0x12, 0xAB, 0, 0, 0, 1, 7, 0, 0, 0}),
         u"S-1-0x12ab00000001-7"},
        {"second byte alone counts", bytes({1, 0, 0, 1, 0, 0, 0, 0}), u"S-1-0x000100000000"},
        {"longer buffer than the SID", bytes({1, 1, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0xEE, 0xEE}), u"S-1-5-32"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sidText(row.sid), row.text) << row.what;
}

TEST(SidText, RejectsMalformedBytes)
{
    struct Row {
        const char* what;
        std::vector<std::byte> sid;
    };
    const Row rows[] = {
        {"empty", {}},
        {"shorter than the header", bytes({1, 0, 0, 0, 0, 0, 0})},
        {"count beyond the bytes", bytes({1, 2, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0})},
        {"revision 2", bytes({2, 0, 0, 0, 0, 0, 0, 5})},
        {"16 sub-authorities",
         [] {
             std::vector<std::byte> sid = bytes({1, 16, 0, 0, 0, 0, 0, 5});
             sid.resize(8 + 16 * 4);
             return sid;
         }()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sidText(row.sid), u"") << row.what;
}

}  // namespace
}  // namespace s::platform
