// The JSON reader the console tests check the program's output with: it
// must refuse what a JSON reader would refuse, or a broken output passes.
#include "tests/support/Json.h"

#include <gtest/gtest.h>

namespace {

using s::testing::JsonValue;

TEST(JsonReader, RefusesWhatIsNotExactlyOneValue)
{
    const char* const bad[] = {
        "",
        "{\"a\":1,}",          // trailing comma
        "{\"a\":1}{\"b\":2}",  // two values
        "{\"a\":1} x",         // text after the value
        "{\"a\":\"x\ry\"}",    // a raw control character in a string
        "{\"a\":\"\\q\"}",     // unknown escape
        "{\"a\":01}",          // leading zero
        "{\"a\":1.}",          // no digits after the point
        "{\"a\":tru}",         // unknown word
        "{a:1}",               // unquoted name
        "{\"a\":1,\"a\":2}",   // a name twice
        "[1 2]",               // missing comma
        "\"\\ud800\"",         // lone surrogate
        "{\"a\":\"unterminated}",
    };
    for (const char* text : bad)
        EXPECT_FALSE(JsonValue::parse(text).has_value()) << text;
}

TEST(JsonReader, ReadsMembersInOrderWithTheirTypes)
{
    const auto value = JsonValue::parse(
        " {\"s\":\"a\\\"b\\\\c\\n\\u00e9\\ud83d\\ude00\",\"n\":-9007199254740993,\"f\":1.5e3,\"t\":true,"
        "\"z\":null,\"a\":[1,[],{}]}\n");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->names(), (std::vector<std::string>{"s", "n", "f", "t", "z", "a"}));
    EXPECT_EQ((*value)["s"].string(), "a\"b\\c\n\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_TRUE((*value)["n"].isInteger());
    EXPECT_EQ((*value)["n"].integer(), -9007199254740993LL);
    EXPECT_TRUE((*value)["f"].isNumber());
    EXPECT_FALSE((*value)["f"].isInteger());
    EXPECT_TRUE((*value)["t"].isBool() && (*value)["t"].boolean());
    EXPECT_TRUE((*value)["z"].isNull());
    EXPECT_TRUE((*value)["missing"].isNull());
    ASSERT_EQ((*value)["a"].size(), 3u);
    EXPECT_TRUE((*value)["a"][1].isArray());
    EXPECT_TRUE((*value)["a"][2].isObject());
}

}  // namespace
