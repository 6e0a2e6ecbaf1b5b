// The key object in what only the in-memory registry can show: keys the user
// may read but not change, and a process token that yields no user.
#include "platform/RegDir.h"

#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShell.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::reg::win {
namespace {

using s::platform::testing::Sandbox;
namespace p = s::platform;

std::vector<std::byte> bytes(std::size_t size)
{
    return std::vector<std::byte>(size, std::byte{0x5A});
}

class RegDirFakeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << box.failure(); }
    void TearDown() override
    {
        p::fakeRegistry().failUserSid(p::kErrorSuccess);
        RegDir::forgetCurrentUser();
        p::fakeShell().forgetRequests();
    }

    std::u16string key(std::u16string_view relative) const
    {
        return u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + std::u16string(relative);
    }

    Sandbox box;
};

TEST_F(RegDirFakeTest, KeyThatCannotBeOpenedWithAllRightsCountsAsMissing)
{
    ASSERT_TRUE(box.makeKey(u"Locked\\child"));
    ASSERT_TRUE(box.setValue(u"Locked", u"v", p::kRegBinary, bytes(8)));
    ASSERT_TRUE(p::fakeRegistry().setFault(box.nativeKeyPath(u"Locked"), p::KeyFault::ReadOnly));

    auto locked = RegDir::make(key(u"Locked"));
    EXPECT_FALSE(locked->isOpen());
    EXPECT_FALSE(locked->exists());
    RegDirListHandle subkeys = RegDirListHandle::take();
    EXPECT_EQ(locked->listSubkeys(*subkeys), 0);
    StrArray values;
    EXPECT_EQ(locked->listValueNames(values), 0);
    EXPECT_EQ(locked->valueDataLength(u"v"), 0);
    EXPECT_FALSE(locked->deleteValue(u"v"));
    locked->deleteKeyTree(IncludeSelf::Yes);
    EXPECT_TRUE(box.valueExists(u"Locked", u"v"));
    EXPECT_TRUE(box.keyExists(u"Locked\\child"));
}

TEST_F(RegDirFakeTest, LockedSubkeyStaysAndKeepsItsParent)
{
    ASSERT_TRUE(box.makeKey(u"Mixed\\free\\deeper"));
    ASSERT_TRUE(box.makeKey(u"Mixed\\locked"));
    ASSERT_TRUE(p::fakeRegistry().setFault(box.nativeKeyPath(u"Mixed\\locked"), p::KeyFault::ReadOnly));

    RegDir::make(key(u"Mixed"))->deleteKeyTree(IncludeSelf::Yes);
    EXPECT_FALSE(box.keyExists(u"Mixed\\free"));
    EXPECT_TRUE(box.keyExists(u"Mixed\\locked"));
    EXPECT_TRUE(box.keyExists(u"Mixed")) << "a key with a subkey left cannot go";
    EXPECT_EQ(p::fakeRegistry().openHandles(), 0u);
}

TEST_F(RegDirFakeTest, UnreadableUserIsReportedOnceAndOpensNoCurrentUserKey)
{
    struct Row {
        p::Win32Error error;
        const char16_t* text;
    };
    const Row rows[] = {
        {p::kErrorAccessDenied, u"Error( 5 [0x       5L] ) - Access is denied.\r\n"},
        {0x12345678, u"Error( 305419896 [0x12345678L] ) - No NT Error Data was returned??"},
    };
    ASSERT_TRUE(box.makeKey(u"Present"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.error);
        p::fakeShell().forgetRequests();
        RegDir::forgetCurrentUser();
        p::fakeRegistry().failUserSid(row.error);

        auto first = RegDir::make(key(u"Present"));
        auto second = RegDir::make(key(u"Present"));
        EXPECT_FALSE(first->isOpen());
        EXPECT_FALSE(second->exists());
        EXPECT_TRUE(first->nativePath().isEmpty()) << "never a path under HKEY_USERS in its stead";
        EXPECT_TRUE(first->isProtectedKey()) << "which key it would be cannot be known";
        EXPECT_FALSE(RegDir::make(u"HKCU\\Software")->isProtectedKey()) << "the InvalidKey stand-in";
        EXPECT_TRUE(RegDir::make(u"HKEY_LOCAL_MACHINE")->isOpen()) << "other roots still open";

        const auto requests = p::fakeShell().requests();
        ASSERT_EQ(requests.size(), 1u) << "once per process, not once per key";
        EXPECT_EQ(requests[0].kind, p::ShellRequest::Kind::Message);
        EXPECT_EQ(requests[0].first, u"CNtRegistry: Message...");
        EXPECT_EQ(requests[0].second, row.text);
    }
    p::fakeRegistry().failUserSid(p::kErrorSuccess);
    RegDir::forgetCurrentUser();
    EXPECT_TRUE(RegDir::make(key(u"Present"))->isOpen());
}

}  // namespace
}  // namespace s::reg::win
