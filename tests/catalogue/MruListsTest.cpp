// The catalogue's most-recently-used lists on their real keys: the in-memory
// registry natively, the prefix's own HKEY_CURRENT_USER under Wine. The keys,
// families and prefixes are written out here from the lists' description, not
// taken from the code's table, so that a list bound to a wrong key or rule
// fails. Each case seeds a key with known values, counts and cleans it
// through the target the catalogue built, and gives the key back as it was.
#include "catalogue/Catalogue.h"

#include "platform/RegFunctions.h"
#include "platform/Win32Codes.h"
#include "tests/catalogue/CatalogueTestSupport.h"
#include "tests/support/CatalogueMachine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using namespace catalogue_test;
using s::platform::RegKey;
using s::platform::RootKey;

namespace {

enum class Family { Letter, Prefix };

struct ListRow {
    const char16_t* group;
    const char16_t* target;
    Family family;
    const char16_t* key;  // under HKEY_CURRENT_USER
    const char16_t* prefix;
};

const ListRow kLists[] = {
    {u"FindDocumentList", u"Doc_Find_Spec_MRU", Family::Letter,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU", nullptr},
    {u"FindComputerList", u"FindComputerMRU", Family::Letter,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU", nullptr},
    {u"RunList", u"RunMRU", Family::Letter, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", nullptr},
    {u"URLsInIEAddressBar", u"TypedURLs", Family::Prefix, u"Software\\Microsoft\\Internet Explorer\\TypedURLs", u"url"},
    {u"URLsInShellAddressBar", u"RunMRU", Family::Prefix,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", u"url"},
    {u"MediaPlayerRecentURLs", u"RecentURLList", Family::Prefix,
     u"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", u"URL"},
    {u"MediaPlayerRecentURLs", u"RecentFileList", Family::Prefix,
     u"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", u"File"},
    {u"WinZip", u"filemenu", Family::Prefix, u"Software\\Nico Mak Computing\\WinZip\\filemenu", u"filemenu"},
    {u"WinZip", u"extract", Family::Prefix, u"Software\\Nico Mak Computing\\WinZip\\extract", u"extract"},
    {u"PaintRecentFiles", u"Recent_File_List", Family::Prefix,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", u"File"},
    {u"WordPadRecentFiles", u"Recent_File_List", Family::Prefix,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", u"File"},
};

struct Value {
    std::u16string name;
    std::uint32_t type;
    std::vector<std::byte> data;
};

std::vector<std::byte> sz(std::u16string_view text)
{
    std::vector<std::byte> out((text.size() + 1) * sizeof(char16_t));
    std::memcpy(out.data(), text.data(), text.size() * sizeof(char16_t));
    return out;
}

enum class Case { Lower, Upper };

// The text with A to Z (or a to z) in the other case.
std::u16string inCase(std::u16string_view text, Case wanted)
{
    const char16_t from = wanted == Case::Upper ? u'a' : u'A';
    const char16_t to = wanted == Case::Upper ? u'A' : u'a';
    std::u16string out(text);
    for (char16_t& c : out)
        if (c >= from && c <= from + 25)
            c = static_cast<char16_t>(c - from + to);
    return out;
}

// A key of the current user emptied for a case and given back afterwards:
// its values as they were, and the keys the case made removed again.
class BorrowedKey {
public:
    explicit BorrowedKey(std::u16string path) : m_path(std::move(path))
    {
        auto& registry = s::platform::regFunctions();
        // Which of the path's keys are missing, so that only those go again.
        for (std::size_t at = m_path.find(u'\\');; at = m_path.find(u'\\', at + 1)) {
            const std::u16string part = m_path.substr(0, at);
            RegKey probe;
            if (registry.openKey(RootKey::CurrentUser, part.c_str(), s::platform::kKeyRead, probe))
                m_made.push_back(part);
            if (at == std::u16string::npos)
                break;
        }
        RegKey key;
        if (registry.createKey(RootKey::CurrentUser, m_path.c_str(), s::platform::kKeyAllAccess, key))
            return;
        m_saved = values();
        for (const Value& value : m_saved)
            registry.deleteValue(key, value.name.c_str());
        m_ok = values().empty();
    }

    ~BorrowedKey()
    {
        auto& registry = s::platform::regFunctions();
        {
            RegKey key;
            if (!registry.openKey(RootKey::CurrentUser, m_path.c_str(), s::platform::kKeyAllAccess, key)) {
                for (const Value& value : values())
                    registry.deleteValue(key, value.name.c_str());
                for (const Value& value : m_saved)
                    registry.setValue(key, value.name.c_str(), value.type, value.data.data(),
                                      static_cast<std::uint32_t>(value.data.size()));
            }
        }
        for (auto made = m_made.rbegin(); made != m_made.rend(); ++made)
            registry.deleteKey(RootKey::CurrentUser, made->c_str());
    }

    BorrowedKey(const BorrowedKey&) = delete;
    BorrowedKey& operator=(const BorrowedKey&) = delete;

    bool ok() const { return m_ok; }

    void set(const Value& value)
    {
        auto& registry = s::platform::regFunctions();
        RegKey key;
        ASSERT_EQ(registry.openKey(RootKey::CurrentUser, m_path.c_str(), s::platform::kKeyAllAccess, key), 0u);
        ASSERT_EQ(registry.setValue(key, value.name.c_str(), value.type, value.data.data(),
                                    static_cast<std::uint32_t>(value.data.size())),
                  0u);
    }

    // Every value of the key, in the registry's order.
    std::vector<Value> values() const
    {
        std::vector<Value> out;
        auto& registry = s::platform::regFunctions();
        RegKey key;
        if (registry.openKey(RootKey::CurrentUser, m_path.c_str(), s::platform::kKeyRead, key))
            return out;
        for (std::uint32_t index = 0;; ++index) {
            char16_t name[300];
            std::uint32_t nameLength = 300;
            std::uint32_t type = 0;
            std::vector<std::byte> data(4096);
            auto length = static_cast<std::uint32_t>(data.size());
            if (registry.enumValue(key, index, name, nameLength, &type, data.data(), &length))
                break;
            data.resize(length);
            out.push_back({std::u16string(name, nameLength), type, data});
        }
        return out;
    }

    std::optional<Value> value(std::u16string_view name) const
    {
        for (const Value& value : values())
            if (value.name == name)
                return value;
        return std::nullopt;
    }

private:
    std::u16string m_path;
    std::vector<std::u16string> m_made;
    std::vector<Value> m_saved;
    bool m_ok = false;
};

class MruListsTest : public ::testing::Test {
protected:
    void SetUp() override { setUpMachine(); }
};

TEST_F(MruListsTest, EachListCountsAndCleansItsOwnKeyByItsFamilysRule)
{
    for (const ListRow& row : kLists) {
        SCOPED_TRACE(utf8(row.group) + "/" + utf8(row.target));
        BorrowedKey key(row.key);
        ASSERT_TRUE(key.ok());

        // The list's entries and the values beside them that are not entries.
        std::vector<Value> entries;
        std::vector<Value> others;
        if (row.family == Family::Letter) {
            entries = {{u"a", s::platform::kRegSz, sz(u"first")},
                       {u"b", s::platform::kRegSz, sz(u"second")},
                       {u"z", s::platform::kRegBinary, std::vector<std::byte>(2)}};
            // Value names ignore case: an upper-case letter beside its
            // lower-case one would be the same value.
            others = {{u"Y", s::platform::kRegSz, sz(u"upper case")},
                      {u"ab", s::platform::kRegSz, sz(u"two letters")},
                      {u"c", s::platform::kRegBinary, std::vector<std::byte>(1)},
                      {u"MRUList", s::platform::kRegSz, sz(u"bza")},
                      {u"url1", s::platform::kRegSz, sz(u"http://example.invalid/")}};
        } else {
            const std::u16string prefix = row.prefix;
            entries = {{inCase(prefix, Case::Lower) + u"1", s::platform::kRegSz, sz(u"one")},
                       {inCase(prefix, Case::Upper) + u"7", s::platform::kRegSz, sz(u"seven")},
                       {prefix + u"foo", s::platform::kRegBinary, std::vector<std::byte>(0)}};
            others = {{u"my" + prefix, s::platform::kRegSz, sz(u"not at the start")},
                      {prefix.substr(0, prefix.size() - 1), s::platform::kRegSz, sz(u"too short")},
                      {u"MRUList", s::platform::kRegSz, sz(u"abc")}};
        }
        int64_t entryBytes = 0;
        for (const Value& value : entries) {
            key.set(value);
            entryBytes += static_cast<int64_t>(value.data.size());
        }
        for (const Value& value : others)
            key.set(value);

        BuiltTree tree(englishLocalizer());
        const TimeRecord* group = tree.group(row.group);
        ASSERT_NE(group, nullptr);
        TimeRecord* target = nullptr;
        for (std::size_t i = 0; i < group->childCount(); ++i)
            if (group->child(i)->id.equals(row.target))
                target = group->child(i);
        ASSERT_NE(target, nullptr);
        ASSERT_EQ(target->kind, purgo::Type_File_Func);
        ASSERT_NE(target->countHandler, nullptr);
        ASSERT_NE(target->cleanHandler, nullptr);

        purgo::Text text;
        int64_t size = -1;
        int64_t found = -1;
        target->countHandler(text, size, found, target->handlerData, target->handlerExtra);
        EXPECT_EQ(utf8(text), "HKEY_CURRENT_USER\\" + utf8(row.key));
        // A letter entry needs more than one byte of data; the prefix family
        // takes any.
        EXPECT_EQ(found, 3);
        EXPECT_EQ(size, entryBytes);
        ASSERT_NE(target->existsHandler, nullptr);
        EXPECT_TRUE(target->existsHandler(text));

        target->cleanHandler(target->handlerData, target->handlerExtra);
        for (const Value& value : others) {
            const std::optional<Value> left = key.value(value.name);
            ASSERT_TRUE(left.has_value()) << utf8(value.name) << " is no entry of the list";
            if (row.family == Family::Prefix || value.name != u"MRUList") {
                EXPECT_EQ(left->data, value.data) << utf8(value.name);
            }
        }
        if (row.family == Family::Letter) {
            // Left valid, with one empty entry.
            EXPECT_EQ(key.value(u"MRUList")->data, sz(u"a"));
            ASSERT_TRUE(key.value(u"a").has_value());
            EXPECT_EQ(key.value(u"a")->data, sz(u""));
            EXPECT_EQ(key.value(u"a")->type, s::platform::kRegSz);
            EXPECT_FALSE(key.value(u"b").has_value());
            EXPECT_FALSE(key.value(u"z").has_value());
            EXPECT_EQ(key.values().size(), others.size() + 1);
        } else {
            for (const Value& value : entries)
                EXPECT_FALSE(key.value(value.name).has_value()) << utf8(value.name);
            EXPECT_EQ(key.values().size(), others.size());
        }

        // What the clean left: the letter list's empty "a" (its terminating
        // zero is two bytes), nothing of a prefix list.
        target->countHandler(text, size, found, target->handlerData, target->handlerExtra);
        EXPECT_EQ(found, row.family == Family::Letter ? 1 : 0);
        EXPECT_EQ(size, row.family == Family::Letter ? 2 : 0);
    }
}

}  // namespace
