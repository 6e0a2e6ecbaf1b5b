// The key object against the build's backend: the in-memory registry
// natively, the real one under Wine, always inside the sandbox key under
// HKEY_CURRENT_USER\Software. What only the fake can model (keys the user may
// read but not write, a process token without a user) is in
// RegDirFakeTest.cpp.
#include "platform/RegDir.h"

#include "platform/NativeKeyService.h"
#include "platform/RegFunctions.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace s::reg::win {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
namespace p = s::platform;

std::vector<std::byte> pattern(std::size_t size)
{
    std::vector<std::byte> out(size);
    for (std::size_t k = 0; k < size; ++k)
        out[k] = static_cast<std::byte>((k * 13 + 5) & 0xFF);
    return out;
}

std::u16string upper(std::u16string text)
{
    for (char16_t& c : text)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

std::u16string lower(std::u16string text)
{
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

std::set<std::u16string> names(const StrArray& array)
{
    std::set<std::u16string> out;
    for (int k = 0; k < array.count(); ++k)
        out.insert(array[k].toU16String());
    return out;
}

class RegDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        ASSERT_EQ(p::nativeKeyService().currentUserSid(sid), p::kErrorSuccess);
    }

    // The Windows form of a key in the sandbox.
    std::u16string key(std::u16string_view relative = {}) const
    {
        std::u16string out = u"HKEY_CURRENT_USER\\" + box.keyPath();
        if (!relative.empty())
            out += u"\\" + std::u16string(relative);
        return out;
    }

    Sandbox box;
    std::u16string sid;
};

TEST_F(RegDirTest, RootsMapToNativePathsInTheirOrder)
{
    const std::u16string user = u"\\Registry\\User\\" + sid;
    struct Row {
        const char* what;
        std::u16string text;
        const char16_t* root;
        std::u16string subkey;
        std::u16string native;
        int opens;  // 1 yes, 0 no, -1 not checked (depends on the system)
    };
    const Row rows[] = {
        {"current user", key(), u"HKEY_CURRENT_USER", box.keyPath(), box.nativeKeyPath(), 1},
        {"root name in lower case", u"hkey_current_user\\" + box.keyPath(), u"HKEY_CURRENT_USER", box.keyPath(),
         box.nativeKeyPath(), 1},
        {"subkey in upper case", u"HKEY_CURRENT_USER\\" + upper(box.keyPath()), u"HKEY_CURRENT_USER",
         upper(box.keyPath()), user + u"\\" + upper(box.keyPath()), 1},
        {"trailing backslashes", key() + u"\\\\", u"HKEY_CURRENT_USER", box.keyPath(), box.nativeKeyPath(), 1},
        {"through HKEY_USERS", u"HKEY_USERS\\" + lower(sid) + u"\\" + box.keyPath(), u"HKEY_USERS",
         lower(sid) + u"\\" + box.keyPath(), u"\\Registry\\User\\" + lower(sid) + u"\\" + box.keyPath(), 1},
        {"abbreviation", u"HKCU\\" + box.keyPath(), u"HKEY_CURRENT_USER", u"InvalidKey", user + u"\\InvalidKey", 0},
        {"root name run on", u"HKEY_CURRENT_USERS\\" + box.keyPath(), u"HKEY_CURRENT_USER", u"InvalidKey",
         user + u"\\InvalidKey", 0},
        {"empty", u"", u"HKEY_CURRENT_USER", u"InvalidKey", user + u"\\InvalidKey", 0},
        {"local machine", u"HKEY_LOCAL_MACHINE\\Software\\Classes", u"HKEY_LOCAL_MACHINE", u"Software\\Classes",
         u"\\Registry\\Machine\\Software\\Classes", -1},
        {"classes root", u"HKEY_CLASSES_ROOT\\.txt", u"HKEY_CLASSES_ROOT", u".txt",
         u"\\Registry\\Machine\\SOFTWARE\\Classes\\.txt", -1},
        {"current config alone", u"HKEY_CURRENT_CONFIG", u"HKEY_CURRENT_CONFIG", u"",
         u"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current", -1},
        {"users alone", u"HKEY_USERS\\", u"HKEY_USERS", u"", u"\\Registry\\User", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.what) + ": " + narrow(row.text));
        auto dir = RegDir::make(row.text);
        EXPECT_EQ(dir->rootName(), row.root);
        EXPECT_EQ(dir->subkeyPath(), row.subkey);
        EXPECT_EQ(dir->windowsPath(), std::u16string(row.root) + u"\\" + row.subkey);
        EXPECT_EQ(dir->nativePath(), row.native);
        if (row.opens >= 0) {
            EXPECT_EQ(dir->isOpen(), row.opens == 1);
            EXPECT_EQ(dir->exists(), row.opens == 1);
        }
    }
    EXPECT_EQ(RegDir::make(key(u"Child\\Leaf"))->subkeyName(), u"Leaf");
    EXPECT_EQ(RegDir::make(u"HKEY_USERS")->subkeyName(), u"");
}

TEST_F(RegDirTest, ExistsOpensTheKeyAgain)
{
    auto dir = RegDir::make(key(u"Later"));
    EXPECT_FALSE(dir->exists());
    ASSERT_TRUE(box.makeKey(u"Later"));
    EXPECT_TRUE(dir->exists()) << "made since";
    p::RegKey parent;
    ASSERT_EQ(p::regFunctions().openKey(p::RootKey::CurrentUser, box.keyPath().c_str(), p::kKeyAllAccess, parent),
              p::kErrorSuccess);
    ASSERT_EQ(p::regFunctions().deleteKey(parent, u"Later"), p::kErrorSuccess);
    EXPECT_TRUE(dir->isOpen()) << "the handle outlives the key";
    EXPECT_FALSE(dir->exists()) << "deleted since";
}

TEST_F(RegDirTest, ListsSubkeysAndEveryValueNameEvenALongOne)
{
    for (const char16_t* name : {u"beta", u"Alpha", u"gamma"})
        ASSERT_TRUE(box.makeKey(std::u16string(u"Parent\\") + name));
    // 600 characters: 1200 bytes, more than the shared 1024-byte area holds.
    const std::u16string longName(600, u'L');
    const char16_t* valueNames[] = {u"", u"count", u"blob", longName.c_str(), u"zzz after the long one"};
    for (const char16_t* name : valueNames)
        ASSERT_TRUE(box.setValue(u"Parent", name, p::kRegBinary, pattern(3))) << narrow(name).substr(0, 20);

    auto parent = RegDir::make(key(u"Parent"));
    RegDirListHandle subkeys = RegDirListHandle::take();
    EXPECT_EQ(parent->listSubkeys(*subkeys), 3);
    std::set<std::u16string> listed;
    for (int k = 0; k < subkeys->count(); ++k) {
        RegDir& child = subkeys->get(k);
        EXPECT_TRUE(child.isOpen()) << narrow(child.windowsPath());
        EXPECT_EQ(child.rootName(), u"HKEY_CURRENT_USER");
        listed.insert(child.windowsPath().toU16String());
    }
    EXPECT_EQ(listed, (std::set<std::u16string>{key(u"Parent\\Alpha"), key(u"Parent\\beta"), key(u"Parent\\gamma")}));

    StrArray values;
    values.add(u"already there");
    EXPECT_EQ(parent->listValueNames(values), 5);
    EXPECT_EQ(values[0], u"already there");
    values.removeAt(0);
    EXPECT_EQ(names(values), (std::set<std::u16string>{u"", u"count", u"blob", longName, u"zzz after the long one"}));

    auto missing = RegDir::make(key(u"Missing"));
    subkeys->clear();
    EXPECT_EQ(missing->listSubkeys(*subkeys), 0);
    EXPECT_EQ(missing->listValueNames(values), 0);
}

TEST_F(RegDirTest, ValueDataLengthGrowsTheSharedAreaForLargeValues)
{
    const std::vector<std::byte> large = pattern(20000);
    ASSERT_TRUE(box.setValue(u"Data", u"large", p::kRegBinary, large));
    ASSERT_TRUE(box.setValue(u"Data", u"four", p::kRegDword, pattern(4)));
    ASSERT_TRUE(box.setValue(u"Data", u"empty", p::kRegBinary, {}));
    ASSERT_TRUE(box.setValue(u"Data", u"", p::kRegBinary, pattern(6)));
    struct Row {
        const char16_t* name;
        std::int64_t length;
    };
    const Row rows[] = {{u"four", 4}, {u"empty", 0}, {u"", 6}, {u"missing", 0}, {u"large", 20000}};
    auto dir = RegDir::make(key(u"Data"));
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.name));
        EXPECT_EQ(dir->valueDataLength(row.name), row.length);
        EXPECT_EQ(dir->lastValueData().count(), row.length);
    }
    // The last query was the large one: its data came back whole.
    ASSERT_EQ(dir->lastValueData().count(), 20000);
    EXPECT_EQ(std::memcmp(dir->lastValueData().data(), large.data(), large.size()), 0);
    EXPECT_EQ(dir->lastValueType(), p::kRegBinary);
    EXPECT_GE(RegDir::dataAreaBytes(), 20000u + RegDir::kDataAreaSlackBytes);
    EXPECT_EQ(RegDir::make(key(u"Missing"))->valueDataLength(u"four"), 0);
}

TEST_F(RegDirTest, DeleteValueRemovesOnlyWhatExists)
{
    ASSERT_TRUE(box.setValue(u"Values", u"gone", p::kRegSz, pattern(2)));
    ASSERT_TRUE(box.setValue(u"Values", u"", p::kRegSz, pattern(2)));
    ASSERT_TRUE(box.setValue(u"Values", u"kept", p::kRegSz, pattern(2)));
    auto dir = RegDir::make(key(u"Values"));
    EXPECT_TRUE(dir->deleteValue(u"gone"));
    EXPECT_FALSE(box.valueExists(u"Values", u"gone"));
    EXPECT_FALSE(dir->deleteValue(u"gone"));
    EXPECT_FALSE(dir->deleteValue(u"never"));
    EXPECT_TRUE(dir->deleteValue(u""));
    EXPECT_FALSE(box.valueExists(u"Values", u""));
    EXPECT_TRUE(box.valueExists(u"Values", u"kept"));
    EXPECT_FALSE(RegDir::make(key(u"Missing"))->deleteValue(u"kept"));
}

TEST_F(RegDirTest, DeleteKeyTreeWithAndWithoutSelf)
{
    struct Row {
        const char* what;
        IncludeSelf includeSelf;
        bool selfStays;
    };
    const Row rows[] = {{"without self", IncludeSelf::No, true}, {"with self", IncludeSelf::Yes, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(box.makeKey(u"Tree\\a\\x\\y"));
        ASSERT_TRUE(box.makeKey(u"Tree\\b"));
        ASSERT_TRUE(box.setValue(u"Tree", u"own", p::kRegSz, pattern(2)));
        ASSERT_TRUE(box.setValue(u"Tree\\a\\x", u"deep", p::kRegSz, pattern(2)));
        // Sentinels: a sibling whose name starts like the target's, and a
        // value of the parent.
        ASSERT_TRUE(box.makeKey(u"Tree-sibling\\child"));
        ASSERT_TRUE(box.setValue(u"", u"parent value", p::kRegSz, pattern(2)));

        auto tree = RegDir::make(key(u"tree"));
        ASSERT_TRUE(tree->isOpen());
        tree->deleteKeyTree(row.includeSelf);
        EXPECT_FALSE(box.keyExists(u"Tree\\a"));
        EXPECT_FALSE(box.keyExists(u"Tree\\b"));
        EXPECT_EQ(box.keyExists(u"Tree"), row.selfStays);
        EXPECT_EQ(box.valueExists(u"Tree", u"own"), row.selfStays) << "its own values stay with it";
        EXPECT_TRUE(box.keyExists(u"Tree-sibling\\child"));
        EXPECT_TRUE(box.valueExists(u"", u"parent value"));
    }
    auto missing = RegDir::make(key(u"Missing"));
    missing->deleteKeyTree(IncludeSelf::Yes);
    EXPECT_TRUE(box.keyExists(u""));
}

TEST_F(RegDirTest, ProtectedKeysAreTheSameUnderEveryNameOfTheKey)
{
    const std::u16string users = u"HKEY_USERS\\" + sid;
    const std::u16string usersLower = u"hkey_users\\" + lower(sid);
    struct Row {
        std::u16string text;
        bool isProtected;
    };
    std::vector<Row> rows = {
        // The roots, in any spelling.
        {u"HKEY_LOCAL_MACHINE", true},
        {u"hkey_local_machine\\", true},
        {u"HKEY_LOCAL_MACHINE\\\\\\", true},
        {u"HKEY_USERS", true},
        {u"HKEY_CURRENT_USER", true},
        {u"HKEY_CLASSES_ROOT\\", true},
        {u"HKEY_CURRENT_CONFIG", true},
        {users, true},
        {usersLower + u"\\\\", true},
        {u"HKEY_USERS\\" + sid + u"_Classes", true},
        {u"HKEY_USERS\\.DEFAULT", true},
        {u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", true},
        {u"HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current", true},
        // One level below a root; a user hive is a root.
        {u"HKEY_CURRENT_USER\\Software", true},
        {u"HKEY_CURRENT_USER\\\\software\\\\", true},
        {u"HKEY_CURRENT_USER\\Control Panel", true},
        {users + u"\\Control Panel\\", true},
        {u"HKEY_LOCAL_MACHINE\\SOFTWARE", true},
        {u"HKEY_LOCAL_MACHINE\\system", true},
        {u"HKEY_LOCAL_MACHINE\\SAM", true},
        {u"HKEY_USERS\\S-1-5-18\\Environment", true},
        {u"HKEY_USERS\\" + sid + u"_Classes\\CLSID", true},
        {u"HKEY_CLASSES_ROOT\\CLSID", true},
        {u"HKEY_CLASSES_ROOT\\.txt", true},
        {u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.TXT\\", true},
        {u"HKEY_CURRENT_USER\\Software\\Classes\\.txt", true},
        {u"HKEY_USERS\\.DEFAULT\\Software\\Classes\\CLSID", true},
        {u"HKEY_CURRENT_CONFIG\\Software", true},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Hardware Profiles\\Current\\System", true},
        // The control sets.
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet", true},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001", true},
        {u"HKEY_LOCAL_MACHINE\\system\\controlset002\\", true},
        // Ordinary keys, which the catalogue cleans.
        {key(), false},
        {u"HKEY_CURRENT_USER\\Software\\SomeVendor", false},
        {u"HKEY_CURRENT_USER\\Software\\SomeVendor\\App\\Cache", false},
        {u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", false},
        {users + u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", false},
        {u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", false},
        {u"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer", false},
        {u"HKEY_CURRENT_USER\\Software\\Microsoft\\WindowsX", false},
        {u"HKEY_CURRENT_USER\\Software\\Policies\\Vendor", false},
        {u"HKEY_CLASSES_ROOT\\.txt\\ShellNew", false},
        {u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000000}", false},
        {u"HKEY_USERS\\" + sid + u"_Classes\\CLSID\\{00000000-0000-0000-0000-000000000000}", false},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet001\\Services", false},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet1", false},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSetX", false},
        {u"HKEY_LOCAL_MACHINE\\SYSTEM\\Setup", false},
        {u"HKEY_CURRENT_CONFIG\\Software\\Fonts", false},
        // Texts that name no root stand for HKEY_CURRENT_USER\InvalidKey,
        // which normally does not exist.
        {u"HKCU\\Software", false},
        {u"HKEY_CURRENT_USERS\\Software", false},
        {u"", false},
    };
    // The keys below HKEY_LOCAL_MACHINE and every user hive, by each name.
    for (const std::u16string& root : {std::u16string(u"HKEY_LOCAL_MACHINE"), std::u16string(u"HKEY_CURRENT_USER"),
                                       users, usersLower, std::u16string(u"HKEY_USERS\\.DEFAULT")}) {
        for (const char16_t* below :
             {u"Software\\Microsoft", u"SOFTWARE\\MICROSOFT\\WINDOWS", u"software\\microsoft\\windows\\currentversion",
              u"Software\\\\Microsoft\\\\\\Windows\\CurrentVersion\\\\", u"Software\\Classes", u"Software\\Policies",
              u"Software\\Wow6432Node"})
            rows.push_back({root + u"\\" + below, true});
        rows.push_back({root + u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", false});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(narrow(row.text));
        auto dir = RegDir::make(row.text);
        EXPECT_EQ(dir->isProtectedKey(), row.isProtected) << narrow(dir->nativePath());
    }

    struct NativeRow {
        const char16_t* path;
        bool isProtected;
    };
    const NativeRow natives[] = {
        {u"\\Registry", true},
        {u"\\REGISTRY\\\\", true},
        {u"\\Registry\\Machine", true},
        {u"\\Registry\\User\\S-1-5-18_Classes\\CLSID", true},
        {u"\\Registry\\Machine\\Software\\Wow6432Node", true},
        {u"\\Registry\\Machine\\Software\\Wow6432Node\\Vendor", false},
        {u"\\Registry\\User\\S-1-5-18\\Software\\Vendor", false},
        {u"Registry\\Machine\\Software\\Vendor\\App", false},
    };
    for (const NativeRow& row : natives) {
        SCOPED_TRACE(narrow(row.path));
        EXPECT_EQ(isProtectedNativePath(row.path), row.isProtected);
    }
}

// What the engine counts below a key: every subkey at every depth and the
// values of the key and of each subkey, with their data lengths.
struct Measure {
    std::int64_t subkeys = 0;
    std::int64_t values = 0;
    std::int64_t bytes = 0;
};

void measure(RegDir& dir, Measure& out)
{
    RegDirListHandle children = RegDirListHandle::take();
    out.subkeys += dir.listSubkeys(*children);
    for (int k = 0; k < children->count(); ++k)
        measure(children->get(k), out);
    StrArray values;
    out.values += dir.listValueNames(values);
    for (int k = 0; k < values.count(); ++k)
        out.bytes += dir.valueDataLength(values[k].view());
}

TEST_F(RegDirTest, LinkSubkeyIsTakenAsItselfAndItsTargetIsNeverReached)
{
    enum class Action { Measure, TreeWithoutSelf, TreeWithSelf, EachSubkeyWithSelf };
    struct Row {
        const char* what;
        Action action;
    };
    const Row rows[] = {
        {"measure every level", Action::Measure},
        {"delete the tree without self", Action::TreeWithoutSelf},
        {"delete the tree with self", Action::TreeWithSelf},
        {"delete each listed subkey with self", Action::EachSubkeyWithSelf},
    };
    int round = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Tree holds a plain subkey, a link to Outside and a link back to
        // Tree itself; Outside holds the sentinels.
        const std::u16string tree = u"Tree" + std::u16string(1, static_cast<char16_t>(u'0' + round));
        const std::u16string outside = u"Outside" + std::u16string(1, static_cast<char16_t>(u'0' + round));
        ++round;
        ASSERT_TRUE(box.setValue(tree, u"own", p::kRegBinary, pattern(2)));
        ASSERT_TRUE(box.setValue(tree + u"\\plain\\leaf", u"v", p::kRegBinary, pattern(3)));
        ASSERT_TRUE(box.setValue(outside, u"sentinel", p::kRegBinary, pattern(40)));
        ASSERT_TRUE(box.setValue(outside + u"\\Child", u"deep", p::kRegBinary, pattern(50)));
        ASSERT_TRUE(box.makeKey(outside + u"\\Child\\Grand"));
        if (!box.makeLinkKey(tree + u"\\link", outside) || !box.makeLinkKey(tree + u"\\back", tree))
            GTEST_SKIP() << Sandbox::backend() << " cannot make registry links here";
        {
            // The fixture is real: by its name the link leads into Outside.
            auto through = RegDir::make(key(tree + u"\\link"));
            ASSERT_TRUE(through->isOpen());
            EXPECT_FALSE(through->isLink()) << "a key named by the text follows the link";
            EXPECT_EQ(through->valueDataLength(u"sentinel"), 40);
        }

        auto dir = RegDir::make(key(tree));
        ASSERT_TRUE(dir->isOpen());
        switch (row.action) {
        case Action::Measure: {
            RegDirListHandle children = RegDirListHandle::take();
            ASSERT_EQ(dir->listSubkeys(*children), 3);
            std::set<std::u16string> links;
            for (int k = 0; k < children->count(); ++k) {
                RegDir& child = children->get(k);
                if (!child.isLink())
                    continue;
                links.insert(std::u16string(child.subkeyName()));
                EXPECT_TRUE(child.isOpen());
                RegDirListHandle none = RegDirListHandle::take();
                StrArray values;
                EXPECT_EQ(child.listSubkeys(*none), 0);
                EXPECT_EQ(child.listValueNames(values), 0) << "SymbolicLinkValue is not the clean's to count";
                EXPECT_EQ(child.valueDataLength(u"SymbolicLinkValue"), 0);
                EXPECT_EQ(child.valueDataLength(u"sentinel"), 0);
                EXPECT_FALSE(child.deleteValue(u"SymbolicLinkValue"));
                EXPECT_TRUE(child.exists()) << "opened again as itself";
                EXPECT_TRUE(child.isLink());
            }
            EXPECT_EQ(links, (std::set<std::u16string>{u"back", u"link"}));
            Measure counted;
            measure(*dir, counted);
            EXPECT_EQ(counted.subkeys, 4) << "plain, leaf and one key for each link";
            EXPECT_EQ(counted.values, 2) << "own and v";
            EXPECT_EQ(counted.bytes, 5);
            EXPECT_TRUE(box.linkKeyExists(tree + u"\\link"));
            break;
        }
        case Action::TreeWithoutSelf:
            dir->deleteKeyTree(IncludeSelf::No);
            break;
        case Action::TreeWithSelf:
            dir->deleteKeyTree(IncludeSelf::Yes);
            break;
        case Action::EachSubkeyWithSelf: {
            RegDirListHandle children = RegDirListHandle::take();
            const int count = dir->listSubkeys(*children);
            EXPECT_EQ(count, 3);
            for (int k = 0; k < count; ++k)
                children->get(k).deleteKeyTree(IncludeSelf::Yes);
            break;
        }
        }
        if (row.action != Action::Measure) {
            EXPECT_FALSE(box.keyExists(tree + u"\\plain"));
            EXPECT_FALSE(box.linkKeyExists(tree + u"\\link")) << "the link goes as itself";
            EXPECT_FALSE(box.linkKeyExists(tree + u"\\back"));
            EXPECT_EQ(box.keyExists(tree), row.action != Action::TreeWithSelf);
            EXPECT_EQ(box.valueExists(tree, u"own"), row.action != Action::TreeWithSelf);
        }
        EXPECT_TRUE(box.valueExists(outside, u"sentinel"));
        EXPECT_TRUE(box.valueExists(outside + u"\\Child", u"deep"));
        EXPECT_TRUE(box.keyExists(outside + u"\\Child\\Grand"));
    }
}

}  // namespace
}  // namespace s::reg::win
