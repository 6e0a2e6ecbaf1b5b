// The native key services and the Reg* functions against the build's
// backend: the in-memory registry natively, the real one under Wine (a
// unique key under HKEY_CURRENT_USER\Software). What only the fake models is
// in FakeRegistryTest.cpp.
#include "platform/NativeKeyService.h"
#include "platform/RegFunctions.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace s::platform {
namespace {

using testing::narrow;
using testing::Sandbox;

std::vector<std::byte> pattern(std::size_t size)
{
    std::vector<std::byte> out(size);
    for (std::size_t k = 0; k < size; ++k)
        out[k] = static_cast<std::byte>((k * 7 + 3) & 0xFF);
    return out;
}

std::vector<std::byte> text(std::u16string_view value)
{
    std::vector<std::byte> out((value.size() + 1) * sizeof(char16_t));
    std::memcpy(out.data(), value.data(), value.size() * sizeof(char16_t));
    return out;
}

// An 8-byte aligned result area, as the native calls want.
class Area {
public:
    explicit Area(std::size_t bytes) : m_words((bytes + 7) / 8), m_bytes(bytes) {}
    std::span<std::byte> span() { return {reinterpret_cast<std::byte*>(m_words.data()), m_bytes}; }

private:
    std::vector<std::uint64_t> m_words;
    std::size_t m_bytes;
};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure(); }

    NativeKey open(std::u16string_view relative, std::uint32_t access)
    {
        NativeKey key;
        const NtStatus status = native.openKey(box.nativeKeyPath(relative), access, key);
        EXPECT_EQ(status, kStatusSuccess) << narrow(box.nativeKeyPath(relative));
        return key;
    }

    std::u16string subKey(std::u16string_view relative) const
    {
        return relative.empty() ? box.keyPath() : box.keyPath() + u"\\" + std::u16string(relative);
    }

    Sandbox box;
    INativeKeyService& native = nativeKeyService();
    IRegFunctions& reg = regFunctions();
};

TEST_F(RegistryTest, CurrentUserSidIsTheTokenUsersStandardText)
{
    ASSERT_TRUE(native.available());
    std::u16string sid;
    ASSERT_EQ(native.currentUserSid(sid), kErrorSuccess);
    // The sandbox took its SID from the system's own conversion.
    const std::u16string path = box.nativeKeyPath();
    EXPECT_NE(path.find(u"\\" + sid + u"\\"), std::u16string::npos) << narrow(sid) << " in " << narrow(path);
}

TEST_F(RegistryTest, OpenByNativePathIgnoresCaseAndReportsWhatIsWrong)
{
    ASSERT_TRUE(box.makeKey(u"Child"));
    std::u16string upper = box.nativeKeyPath(u"child");
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; });
    struct Row {
        const char* what;
        std::u16string path;
        NtStatus status;
    };
    const Row rows[] = {
        {"as made", box.nativeKeyPath(u"Child"), kStatusSuccess},
        {"upper case", upper, kStatusSuccess},
        {"missing", box.nativeKeyPath(u"Absent"), kStatusObjectNameNotFound},
        {"missing on the way", box.nativeKeyPath(u"Absent\\Deeper"), kStatusObjectNameNotFound},
        {"no leading backslash", box.nativeKeyPath(u"Child").substr(1), kStatusObjectPathSyntaxBad},
        {"too long for a UNICODE_STRING", box.nativeKeyPath(std::u16string(33000, u'x')), kStatusNameTooLong},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        NativeKey key;
        EXPECT_EQ(native.openKey(row.path, kKeyAllAccess, key), row.status);
        EXPECT_EQ(key.isOpen(), row.status == kStatusSuccess);
    }
}

TEST_F(RegistryTest, EnumeratesSubkeysAndValuesThroughTheCallersArea)
{
    for (const char16_t* name : {u"beta", u"Alpha", u"gamma"})
        ASSERT_TRUE(box.makeKey(std::u16string(u"Parent\\") + name));
    const auto four = pattern(4);
    ASSERT_TRUE(box.setValue(u"Parent", u"", kRegSz, text(u"default")));
    ASSERT_TRUE(box.setValue(u"Parent", u"count", kRegDword, four));
    ASSERT_TRUE(box.setValue(u"Parent", u"blob", kRegBinary, pattern(9)));

    NativeKey key = open(u"Parent", kKeyRead);
    Area area(1024);
    std::set<std::u16string> subkeys;
    std::uint32_t index = 0;
    NtStatus status = kStatusSuccess;
    for (;; ++index) {
        KeyBasicInfo info;
        std::uint32_t length = 0;
        status = native.enumerateKey(key, index, area.span(), length, info);
        if (status != kStatusSuccess)
            break;
        EXPECT_EQ(length, 16 + info.name.size() * 2);
        subkeys.insert(std::u16string(info.name));
    }
    EXPECT_EQ(status, kStatusNoMoreEntries);
    EXPECT_EQ(subkeys, (std::set<std::u16string>{u"Alpha", u"beta", u"gamma"}));

    std::set<std::pair<std::u16string, std::uint32_t>> values;
    for (index = 0;; ++index) {
        ValueBasicInfo info;
        std::uint32_t length = 0;
        status = native.enumerateValue(key, index, area.span(), length, info);
        if (status != kStatusSuccess)
            break;
        values.insert({std::u16string(info.name), info.type});
    }
    EXPECT_EQ(status, kStatusNoMoreEntries);
    EXPECT_EQ(values, (std::set<std::pair<std::u16string, std::uint32_t>>{
                          {u"", kRegSz}, {u"count", kRegDword}, {u"blob", kRegBinary}}));

    // Too small for the name: overflow with the needed length; too small for
    // the fixed part: nothing at all.
    KeyBasicInfo info;
    std::uint32_t length = 0;
    Area small(17);
    EXPECT_EQ(native.enumerateKey(key, 0, small.span(), length, info), kStatusBufferOverflow);
    EXPECT_EQ(length, 16u + 2 * 5) << "Alpha";
    Area tiny(8);
    length = 0;
    EXPECT_EQ(native.enumerateKey(key, 0, tiny.span(), length, info), kStatusBufferTooSmall);
    EXPECT_EQ(length, 16u + 2 * 5);
    // The result area must be aligned like the records in it.
    EXPECT_EQ(native.enumerateKey(key, 0, area.span().subspan(2), length, info), kStatusDatatypeMisalignment);
}

TEST_F(RegistryTest, QueryOfALargeValueGrowsTheAreaAndReadsItWhole)
{
    const auto big = pattern(20000);
    ASSERT_TRUE(box.setValue({}, u"Big", kRegBinary, big));
    ASSERT_TRUE(box.setValue({}, u"Empty", kRegSz, {}));
    const auto dflt = text(u"dflt");
    ASSERT_TRUE(box.setValue({}, u"", kRegSz, dflt));
    NativeKey key = open({}, kKeyAllAccess);

    Area first(16384);
    ValueFullInfo info;
    std::uint32_t needed = 0;
    ASSERT_EQ(native.queryValue(key, u"big", first.span(), needed, info), kStatusBufferOverflow);
    EXPECT_GE(needed, 20000u + 20 + 6);
    EXPECT_EQ(info.dataLength, 20000u) << "the fixed part is filled on overflow";
    EXPECT_EQ(info.type, kRegBinary);
    EXPECT_TRUE(info.data.empty());

    Area grown(needed + 1026);
    std::uint32_t length = 0;
    ASSERT_EQ(native.queryValue(key, u"Big", grown.span(), length, info), kStatusSuccess);
    EXPECT_EQ(length, needed);
    EXPECT_EQ(info.name, u"Big");
    EXPECT_EQ(info.type, kRegBinary);
    ASSERT_EQ(info.dataLength, 20000u);
    EXPECT_TRUE(std::equal(info.data.begin(), info.data.end(), big.begin(), big.end()));

    Area tiny(12);
    EXPECT_EQ(native.queryValue(key, u"Big", tiny.span(), length, info), kStatusBufferTooSmall);
    EXPECT_EQ(length, needed);

    ASSERT_EQ(native.queryValue(key, u"Empty", grown.span(), length, info), kStatusSuccess);
    EXPECT_EQ(info.dataLength, 0u);
    EXPECT_EQ(native.queryValue(key, u"Nothing", grown.span(), length, info), kStatusObjectNameNotFound);

    ASSERT_EQ(native.queryValue(key, u"", grown.span(), length, info), kStatusSuccess) << "the default value";
    EXPECT_EQ(info.name, u"");
    EXPECT_EQ(info.type, kRegSz);
    EXPECT_TRUE(std::equal(info.data.begin(), info.data.end(), dflt.begin(), dflt.end()));
}

TEST_F(RegistryTest, DeletesValuesAndLeafKeysButNotKeysWithSubkeys)
{
    ASSERT_TRUE(box.setValue(u"Tree", u"v", kRegSz, text(u"x")));
    ASSERT_TRUE(box.makeKey(u"Tree\\Leaf"));
    ASSERT_TRUE(box.setValue(u"Tree\\Leaf", u"w", kRegDword, pattern(4)));

    NativeKey tree = open(u"Tree", kKeyAllAccess);
    EXPECT_EQ(native.deleteValue(tree, u"V"), kStatusSuccess);
    EXPECT_FALSE(box.valueExists(u"Tree", u"v"));
    EXPECT_EQ(native.deleteValue(tree, u"v"), kStatusObjectNameNotFound);

    // Windows says kStatusCannotDelete, Wine kStatusAccessDenied.
    EXPECT_FALSE(ntSuccess(native.deleteKey(tree)));
    EXPECT_TRUE(box.keyExists(u"Tree"));

    NativeKey leaf = open(u"Tree\\Leaf", kKeyAllAccess);
    EXPECT_EQ(native.deleteKey(leaf), kStatusSuccess) << "with its values";
    EXPECT_FALSE(box.keyExists(u"Tree\\Leaf"));
    Area area(1024);
    std::uint32_t length = 0;
    ValueBasicInfo info;
    EXPECT_EQ(native.enumerateValue(leaf, 0, area.span(), length, info), kStatusKeyDeleted);

    EXPECT_EQ(native.deleteKey(tree), kStatusSuccess) << "now a leaf";
    EXPECT_FALSE(box.keyExists(u"Tree"));
}

TEST_F(RegistryTest, HandleOpenedForReadingCannotDelete)
{
    ASSERT_TRUE(box.setValue(u"Guarded", u"keep", kRegSz, text(u"me")));
    NativeKey key = open(u"Guarded", kKeyRead);
    EXPECT_EQ(native.deleteValue(key, u"keep"), kStatusAccessDenied);
    EXPECT_EQ(native.deleteKey(key), kStatusAccessDenied);
    EXPECT_TRUE(box.valueExists(u"Guarded", u"keep"));
    EXPECT_TRUE(box.keyExists(u"Guarded"));
}

TEST_F(RegistryTest, RegFunctionsReadWriteAndDelete)
{
    RegKey mru;
    bool created = false;
    ASSERT_EQ(reg.createKey(RootKey::CurrentUser, subKey(u"MRU").c_str(), kKeyAllAccess, mru, &created), kErrorSuccess);
    EXPECT_TRUE(created);
    const auto a = text(u"C:\\first.txt");
    const auto big = pattern(600);
    ASSERT_EQ(reg.setValue(mru, u"a", kRegSz, a.data(), static_cast<std::uint32_t>(a.size())), kErrorSuccess);
    ASSERT_EQ(reg.setValue(mru, u"url1", kRegBinary, big.data(), 600), kErrorSuccess);

    // Both interfaces show the same key.
    EXPECT_TRUE(box.valueExists(u"MRU", u"url1"));

    // The handlers' buffers: 260 characters of name, 520 bytes of data.
    char16_t name[260];
    std::byte data[520];
    struct Seen {
        std::u16string name;
        Win32Error error;
        std::uint32_t dataLength;
    };
    std::vector<Seen> seen;
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameLength = 260;
        std::uint32_t dataLength = sizeof(data);
        std::uint32_t type = 0;
        const Win32Error error = reg.enumValue(mru, index, name, nameLength, &type, data, &dataLength);
        if (error != kErrorSuccess && error != kErrorMoreData) {
            EXPECT_EQ(error, kErrorNoMoreItems);
            break;
        }
        seen.push_back({std::u16string(name, nameLength), error, dataLength});
    }
    ASSERT_EQ(seen.size(), 2u);
    std::sort(seen.begin(), seen.end(), [](const Seen& x, const Seen& y) { return x.name < y.name; });
    EXPECT_EQ(seen[0].name, u"a");
    EXPECT_EQ(seen[0].error, kErrorSuccess);
    EXPECT_EQ(seen[0].dataLength, a.size());
    EXPECT_EQ(seen[1].name, u"url1") << "the name is filled in although the data did not fit";
    EXPECT_EQ(seen[1].error, kErrorMoreData);
    EXPECT_EQ(seen[1].dataLength, 600u);

    std::uint32_t length = 0;
    std::uint32_t type = 0;
    EXPECT_EQ(reg.queryValue(mru, u"a", &type, nullptr, &length), kErrorSuccess);
    EXPECT_EQ(length, a.size());
    EXPECT_EQ(type, kRegSz);
    length = 4;
    EXPECT_EQ(reg.queryValue(mru, u"a", nullptr, data, &length), kErrorMoreData);
    EXPECT_EQ(length, a.size());
    EXPECT_EQ(reg.queryValue(mru, u"none", nullptr, nullptr, &length), kErrorFileNotFound);

    std::uint32_t tiny = 1;
    EXPECT_EQ(reg.enumValue(mru, 0, name, tiny, nullptr, nullptr, nullptr), kErrorMoreData) << "name too small";

    EXPECT_EQ(reg.deleteValue(mru, u"a"), kErrorSuccess);
    EXPECT_EQ(reg.deleteValue(mru, u"a"), kErrorFileNotFound);
    EXPECT_FALSE(box.valueExists(u"MRU", u"a"));

    RegKey child;
    ASSERT_EQ(reg.createKey(mru, u"Child\\Grandchild", kKeyAllAccess, child), kErrorSuccess);
    std::uint32_t nameLength = 260;
    EXPECT_EQ(reg.enumKey(mru, 0, name, nameLength), kErrorSuccess);
    EXPECT_EQ(std::u16string(name, nameLength), u"Child");
    nameLength = 260;
    EXPECT_EQ(reg.enumKey(mru, 1, name, nameLength), kErrorNoMoreItems);
    nameLength = 3;
    EXPECT_EQ(reg.enumKey(mru, 0, name, nameLength), kErrorMoreData);
    child.close();

    EXPECT_EQ(reg.deleteKey(mru, u"Child"), kErrorAccessDenied) << "still has a subkey";
    EXPECT_EQ(reg.deleteKey(mru, u"Child\\Grandchild"), kErrorSuccess);
    EXPECT_EQ(reg.deleteKey(mru, u"Child"), kErrorSuccess);
    EXPECT_EQ(reg.deleteKey(mru, u"Child"), kErrorFileNotFound);

    RegKey again;
    EXPECT_EQ(reg.openKey(RootKey::CurrentUser, subKey(u"MRU").c_str(), kKeyRead, again), kErrorSuccess);
    EXPECT_EQ(reg.openKey(RootKey::CurrentUser, subKey(u"Nope").c_str(), kKeyRead, again), kErrorFileNotFound);
    EXPECT_FALSE(again.isOpen());
}

TEST_F(RegistryTest, MachineAndClassesRootsMatchTheirNativePaths)
{
    struct Row {
        RootKey root;
        const char16_t* nativeRoot;
    };
    const Row rows[] = {
        {RootKey::LocalMachine, u"\\Registry\\Machine\\SOFTWARE"},
        {RootKey::ClassesRoot, u"\\Registry\\Machine\\SOFTWARE\\Classes"},
        {RootKey::Users, u"\\Registry\\User"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.nativeRoot));
        NativeKey nativeKey;
        EXPECT_EQ(native.openKey(row.nativeRoot, kKeyRead, nativeKey), kStatusSuccess);
        RegKey regKey;
        const char16_t* sub = row.root == RootKey::LocalMachine ? u"SOFTWARE" : u"";
        EXPECT_EQ(reg.openKey(row.root, sub, kKeyRead, regKey), kErrorSuccess);
    }
}

// What an open key shows: its subkeys, and its values with their types.
struct Shown {
    std::set<std::u16string> subkeys;
    std::set<std::pair<std::u16string, std::uint32_t>> values;
};

Shown show(INativeKeyService& native, const NativeKey& key)
{
    Shown out;
    Area area(1024);
    std::uint32_t length = 0;
    KeyBasicInfo subkey;
    for (std::uint32_t index = 0; native.enumerateKey(key, index, area.span(), length, subkey) == kStatusSuccess;
         ++index)
        out.subkeys.insert(std::u16string(subkey.name));
    ValueBasicInfo value;
    for (std::uint32_t index = 0; native.enumerateValue(key, index, area.span(), length, value) == kStatusSuccess;
         ++index)
        out.values.insert({std::u16string(value.name), value.type});
    return out;
}

TEST_F(RegistryTest, LinksAreFollowedUnlessTheLastComponentIsOpenedAsItself)
{
    ASSERT_TRUE(box.setValue(u"Target", u"sentinel", kRegDword, pattern(4)));
    ASSERT_TRUE(box.makeKey(u"Target\\Child"));
    if (!box.makeLinkKey(u"Holder\\Link", u"Target") || !box.makeLinkKey(u"Holder\\Dangling", u"Missing"))
        GTEST_SKIP() << Sandbox::backend() << " cannot make registry links here";

    const Shown target{{u"Child"}, {{u"sentinel", kRegDword}}};
    const Shown link{{}, {{u"SymbolicLinkValue", kRegLink}}};
    const Shown child{{}, {}};
    struct Row {
        const char16_t* path;
        OpenLink openLink;
        NtStatus status;
        const Shown* shown;
    };
    const Row rows[] = {
        {u"Holder\\Link", OpenLink::Follow, kStatusSuccess, &target},
        {u"Holder\\LINK", OpenLink::Itself, kStatusSuccess, &link},
        {u"Holder\\Link\\Child", OpenLink::Follow, kStatusSuccess, &child},
        {u"Holder\\Link\\Child", OpenLink::Itself, kStatusSuccess, &child},  // followed on the way regardless
        {u"Holder\\Dangling", OpenLink::Follow, kStatusObjectNameNotFound, nullptr},
        {u"Holder\\Dangling", OpenLink::Itself, kStatusSuccess, &link},
        {u"Target", OpenLink::Itself, kStatusSuccess, &target},  // no link: opens as usual
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.path) + (row.openLink == OpenLink::Itself ? " as itself" : " followed"));
        NativeKey key;
        ASSERT_EQ(native.openKey(box.nativeKeyPath(row.path), kKeyAllAccess, key, row.openLink), row.status);
        if (!row.shown)
            continue;
        const Shown shown = show(native, key);
        EXPECT_EQ(shown.subkeys, row.shown->subkeys);
        EXPECT_EQ(shown.values, row.shown->values);
    }

    // The link's value is the target's native path, without a terminating zero.
    NativeKey itself;
    ASSERT_EQ(native.openKey(box.nativeKeyPath(u"Holder\\Link"), kKeyAllAccess, itself, OpenLink::Itself),
              kStatusSuccess);
    Area area(1024);
    std::uint32_t length = 0;
    ValueFullInfo value;
    ASSERT_EQ(native.queryValue(itself, kSymbolicLinkValue, area.span(), length, value), kStatusSuccess);
    const std::u16string expected = box.nativeKeyPath(u"Target");
    ASSERT_EQ(value.dataLength, expected.size() * sizeof(char16_t));
    EXPECT_EQ(std::memcmp(value.data.data(), expected.data(), value.dataLength), 0);

    // A key made through the link is made in the target.
    RegKey made;
    ASSERT_EQ(reg.createKey(RootKey::CurrentUser, subKey(u"Holder\\Link\\Made").c_str(), kKeyAllAccess, made),
              kErrorSuccess);
    made.close();
    EXPECT_TRUE(box.keyExists(u"Target\\Made"));

    // Deleting the link as itself leaves the target whole.
    ASSERT_EQ(native.deleteKey(itself), kStatusSuccess);
    itself.close();
    EXPECT_FALSE(box.linkKeyExists(u"Holder\\Link"));
    EXPECT_TRUE(box.valueExists(u"Target", u"sentinel"));
    EXPECT_TRUE(box.keyExists(u"Target\\Child"));
    NativeKey holder = open(u"Holder", kKeyRead);
    EXPECT_EQ(show(native, holder).subkeys, (std::set<std::u16string>{u"Dangling"}));
}

}  // namespace
}  // namespace s::platform
