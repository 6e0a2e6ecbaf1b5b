#include "platform/Resources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The bytes of tests/platform/sample-resource.xml, which the test binary
// carries as resource IDR_XML 9001.
const std::string kSample = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<sample note=\"carried as a resource\">\xC3\x9Cn\xC3\xAF"
                            "c\xC3\xB6"
                            "d\xC3\xA9 &amp; more</sample>\n";

std::string bytesOf(const s::platform::ResourceData& data)
{
    return std::string(reinterpret_cast<const char*>(data.data), data.size);
}

TEST(Resources, ReadsEmbeddedFileByteForByte)
{
    auto data = s::platform::findResource(u"IDR_XML", 9001);
    ASSERT_TRUE(data);
    EXPECT_EQ(bytesOf(data), kSample);
}

TEST(Resources, TypeNameIgnoresCaseAndUnknownIdsGiveNothing)
{
    EXPECT_EQ(bytesOf(s::platform::findResource(u"idr_xml", 9001)), kSample);
    EXPECT_FALSE(s::platform::findResource(u"IDR_XML", 9002));
    EXPECT_FALSE(s::platform::findResource(u"IDR_PNG", 9001));
}

}  // namespace
