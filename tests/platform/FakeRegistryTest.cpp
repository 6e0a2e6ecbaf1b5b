// What only the in-memory registry models: keys the user may read but not
// write (under Wine, root may write everywhere, so this cannot be shown
// there), Windows' own status for deleting a key with subkeys, the mapping of
// the predefined keys, access checks per handle, and its leak count. The
// cases that hold on both backends are in RegistryTest.cpp.
#include "platform/fake/FakeRegistry.h"
#include "platform/NativeKeyService.h"
#include "platform/RegFunctions.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace s::platform {
namespace {

using testing::narrow;

class FakeRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { fake.clear(); }
    void TearDown() override
    {
        EXPECT_EQ(fake.openHandles(), 0u) << "leaked keys";
        fake.clear();
    }

    FakeRegistry& fake = fakeRegistry();
    INativeKeyService& native = nativeKeyService();
    IRegFunctions& reg = regFunctions();
};

TEST_F(FakeRegistryTest, ReadOnlyKeyOpensForReadingOnly)
{
    const std::u16string policies = u"\\Registry\\Machine\\SOFTWARE\\Policies\\Vendor";
    const std::byte one[4] = {std::byte{1}};
    ASSERT_TRUE(fake.setValue(policies + u"\\Sub", u"Setting", kRegDword, one));
    ASSERT_TRUE(fake.setFault(policies, KeyFault::ReadOnly));

    struct Row {
        std::uint32_t access;
        NtStatus status;
    };
    const Row rows[] = {
        {kKeyAllAccess, kStatusAccessDenied}, {kKeyRead, kStatusSuccess},          {kKeyQueryValue, kStatusSuccess},
        {kAccessDelete, kStatusAccessDenied}, {kKeySetValue, kStatusAccessDenied}, {kGenericRead, kStatusSuccess},
        {kGenericWrite, kStatusAccessDenied}, {kMaximumAllowed, kStatusSuccess},
    };
    for (const std::u16string& path : {policies, policies + u"\\Sub"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(narrow(path) + " access " + std::to_string(row.access));
            NativeKey key;
            EXPECT_EQ(native.openKey(path, row.access, key), row.status);
            if (key.isOpen()) {
                EXPECT_EQ(native.deleteValue(key, u"Setting"), kStatusAccessDenied) << "no write right granted";
            }
        }
    }
    RegKey viaReg;
    EXPECT_EQ(reg.openKey(RootKey::LocalMachine, u"SOFTWARE\\Policies\\Vendor", kKeyAllAccess, viaReg),
              kErrorAccessDenied);
    EXPECT_EQ(reg.openKey(RootKey::LocalMachine, u"SOFTWARE\\Policies\\Vendor", kKeyRead, viaReg), kErrorSuccess);
    RegKey created;
    EXPECT_EQ(reg.createKey(viaReg, u"New", kKeyAllAccess, created), kErrorAccessDenied);
    EXPECT_EQ(reg.deleteKey(RootKey::LocalMachine, u"SOFTWARE\\Policies\\Vendor\\Sub"), kErrorAccessDenied);
    EXPECT_TRUE(fake.value(policies + u"\\Sub", u"Setting"));

    ASSERT_TRUE(fake.setFault(policies, KeyFault::NoAccess));
    NativeKey none;
    EXPECT_EQ(native.openKey(policies + u"\\Sub", kKeyRead, none), kStatusAccessDenied);
}

TEST_F(FakeRegistryTest, HandlesCarryTheirAccess)
{
    const std::u16string path = fake.rootPath(RootKey::CurrentUser) + u"\\Software\\App";
    ASSERT_TRUE(fake.addKey(path + u"\\Child"));
    struct Row {
        const char* what;
        std::uint32_t access;
        bool canEnumerate, canQuery, canDeleteValue;
    };
    const Row rows[] = {
        {"query only", kKeyQueryValue, false, true, false},
        {"enumerate only", kKeyEnumerateSubKeys, true, false, false},
        {"read", kKeyRead, true, true, false},
        {"set value", kKeySetValue, false, false, true},
    };
    std::vector<std::uint64_t> words(128);
    std::span<std::byte> area(reinterpret_cast<std::byte*>(words.data()), 1024);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NativeKey key;
        ASSERT_EQ(native.openKey(path, row.access, key), kStatusSuccess);
        std::uint32_t length = 0;
        KeyBasicInfo keyInfo;
        ValueFullInfo valueInfo;
        EXPECT_EQ(native.enumerateKey(key, 0, area, length, keyInfo) == kStatusSuccess, row.canEnumerate);
        EXPECT_NE(native.queryValue(key, u"x", area, length, valueInfo) == kStatusAccessDenied, row.canQuery);
        EXPECT_NE(native.deleteValue(key, u"x") == kStatusAccessDenied, row.canDeleteValue);
    }
}

TEST_F(FakeRegistryTest, KeyWithSubkeysCannotBeDeletedAsOnWindows)
{
    const std::u16string path = fake.rootPath(RootKey::CurrentUser) + u"\\Software\\Tree";
    ASSERT_TRUE(fake.addKey(path + u"\\Leaf"));
    NativeKey key;
    ASSERT_EQ(native.openKey(path, kKeyAllAccess, key), kStatusSuccess);
    EXPECT_EQ(native.deleteKey(key), kStatusCannotDelete);

    NativeKey root;
    ASSERT_EQ(native.openKey(u"\\Registry\\Machine", kKeyAllAccess, root), kStatusSuccess);
    EXPECT_EQ(native.deleteKey(root), kStatusAccessDenied) << "a hive root never goes";

    // A key removed under an open handle.
    ASSERT_TRUE(fake.removeTree(path));
    std::vector<std::uint64_t> words(8);
    std::span<std::byte> area(reinterpret_cast<std::byte*>(words.data()), 64);
    std::uint32_t length = 0;
    KeyBasicInfo info;
    EXPECT_EQ(native.enumerateKey(key, 0, area, length, info), kStatusKeyDeleted);
    EXPECT_EQ(native.deleteKey(key), kStatusKeyDeleted);
}

TEST_F(FakeRegistryTest, PredefinedKeysMapToTheirNativePaths)
{
    struct Row {
        RootKey root;
        const char16_t* nativeRoot;
    };
    const Row rows[] = {
        {RootKey::LocalMachine, u"\\Registry\\Machine"},
        {RootKey::Users, u"\\Registry\\User"},
        {RootKey::CurrentUser, u"\\Registry\\User\\S-1-5-21-0-0-0-1000"},
        {RootKey::ClassesRoot, u"\\Registry\\Machine\\SOFTWARE\\Classes"},
        {RootKey::CurrentConfig, u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.nativeRoot));
        EXPECT_EQ(fake.rootPath(row.root), row.nativeRoot);
        RegKey key;
        ASSERT_EQ(reg.createKey(row.root, u"MappingProbe\\Inner", kKeyAllAccess, key), kErrorSuccess);
        key.close();
        NativeKey nativeKey;
        EXPECT_EQ(native.openKey(std::u16string(row.nativeRoot) + u"\\mappingprobe\\INNER", kKeyRead, nativeKey),
                  kStatusSuccess);
    }
}

TEST_F(FakeRegistryTest, UserSidAndItsFailure)
{
    std::u16string sid;
    ASSERT_EQ(native.currentUserSid(sid), kErrorSuccess);
    EXPECT_EQ(sid, fake.userSid());
    fake.failUserSid(kErrorAccessDenied);
    std::u16string untouched = u"before";
    EXPECT_EQ(native.currentUserSid(untouched), kErrorAccessDenied);
    EXPECT_EQ(untouched, u"before");
    fake.failUserSid(kErrorSuccess);
}

TEST_F(FakeRegistryTest, SeedingStaysInsideTheHives)
{
    EXPECT_FALSE(fake.addKey(u"\\Registry\\Elsewhere\\Key"));
    EXPECT_FALSE(fake.addKey(u"Registry\\Machine\\Key"));
    EXPECT_TRUE(fake.addKey(u"\\REGISTRY\\machine\\Key"));
    EXPECT_TRUE(fake.hasKey(u"\\Registry\\Machine\\KEY"));
    NativeKey key;
    EXPECT_EQ(native.openKey(u"\\Registry\\Machine\\\\Key\\", kKeyRead, key), kStatusSuccess)
        << "empty components are skipped, as Wine does";
}

TEST_F(FakeRegistryTest, LinkLoopAndTestApiStayOnTheLinkItself)
{
    const std::u16string base = u"\\Registry\\Machine\\SOFTWARE\\LinkCases";
    ASSERT_TRUE(fake.addLink(base + u"\\A", base + u"\\B"));
    ASSERT_TRUE(fake.addLink(base + u"\\B", base + u"\\A"));
    ASSERT_FALSE(fake.addLink(base + u"\\A", base + u"\\C")) << "the key exists";
    struct Row {
        const char16_t* path;
        OpenLink openLink;
        NtStatus status;
    };
    const Row rows[] = {
        {u"\\A", OpenLink::Follow, kStatusObjectNameNotFound},
        {u"\\A", OpenLink::Itself, kStatusSuccess},
        {u"\\A\\Below", OpenLink::Itself, kStatusObjectNameNotFound},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.path));
        NativeKey key;
        EXPECT_EQ(native.openKey(base + row.path, kKeyRead, key, row.openLink), row.status);
    }
    EXPECT_TRUE(fake.hasLink(base + u"\\A"));
    EXPECT_FALSE(fake.hasKey(base + u"\\A")) << "hasKey follows, as opening by name does";
    EXPECT_FALSE(fake.hasLink(base)) << "no link";

    // Seeding through a link seeds the target; removing a link removes the
    // link alone.
    ASSERT_TRUE(fake.addKey(base + u"\\Real"));
    ASSERT_TRUE(fake.addLink(base + u"\\ToReal", base + u"\\Real"));
    const std::byte one[1] = {std::byte{1}};
    ASSERT_TRUE(fake.setValue(base + u"\\ToReal\\Sub", u"v", kRegBinary, one));
    EXPECT_TRUE(fake.value(base + u"\\Real\\Sub", u"v").has_value());
    ASSERT_TRUE(fake.removeTree(base + u"\\ToReal"));
    EXPECT_FALSE(fake.hasLink(base + u"\\ToReal"));
    EXPECT_TRUE(fake.value(base + u"\\Real\\Sub", u"v").has_value());
}

}  // namespace
}  // namespace s::platform
