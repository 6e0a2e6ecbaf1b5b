// The most-recently-used list handlers on a key of the sandbox under
// HKEY_CURRENT_USER: the in-memory registry natively, the real one under
// Wine. The catalogue's own lists on their own keys are tested in
// MruListsTest.cpp, against a table written apart from the code's.
#include "catalogue/MruHandlers.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::IRegFunctions;
using s::platform::RegKey;
using s::platform::Win32Error;
using s::platform::testing::narrow;
using s::platform::testing::Sandbox;

std::vector<std::byte> sz(std::u16string_view text)
{
    std::vector<std::byte> out((text.size() + 1) * sizeof(char16_t));
    std::memcpy(out.data(), text.data(), text.size() * sizeof(char16_t));
    return out;
}

std::vector<std::byte> bytes(std::size_t count)
{
    return std::vector<std::byte>(count, std::byte{0x5A});
}

struct Value {
    std::u16string name;
    std::vector<std::byte> data;
    std::uint32_t type = s::platform::kRegSz;
};

class MruHandlersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << Sandbox::backend() << ": " << box.failure();
        key = box.keyPath() + u"\\List";
        letters = MruList{MruFamily::Letter, key.c_str(), nullptr};
        urls = MruList{MruFamily::Prefix, key.c_str(), u"url"};
    }

    void seed(const std::vector<Value>& values)
    {
        ASSERT_TRUE(box.makeKey(u"List"));
        for (const Value& value : values)
            ASSERT_TRUE(box.setValue(u"List", value.name, value.type, value.data)) << narrow(value.name);
    }

    // The value's data, read back through the Reg* functions; nullopt when
    // the value (or the key) is missing.
    std::optional<std::vector<std::byte>> data(std::u16string_view name)
    {
        IRegFunctions& registry = s::platform::regFunctions();
        RegKey opened;
        if (registry.openKey(s::platform::RootKey::CurrentUser, key.c_str(), s::platform::kKeyRead, opened))
            return std::nullopt;
        const std::u16string valueName(name);
        std::uint32_t length = 0;
        if (registry.queryValue(opened, valueName.c_str(), nullptr, nullptr, &length))
            return std::nullopt;
        std::vector<std::byte> out(length);
        if (registry.queryValue(opened, valueName.c_str(), nullptr, out.data(), &length))
            return std::nullopt;
        out.resize(length);
        return out;
    }

    struct Count {
        int64_t size = -1;
        int64_t found = -1;
        Text target;
    };

    Count count(const MruList& list)
    {
        Count out;
        if (list.family == MruFamily::Letter)
            letterMruCount(list, out.target, out.size, out.found);
        else
            prefixMruCount(list, out.target, out.size, out.found);
        return out;
    }

    Sandbox box;
    std::u16string key;
    MruList letters{};
    MruList urls{};
};

TEST_F(MruHandlersTest, TheLetterCleanLeavesAValidListWithOneEmptyEntry)
{
    seed({{u"a", sz(u"first")}, {u"b", sz(u"second")}, {u"MRUList", sz(u"ba")}, {u"url1", sz(u"http://x")}});
    const Count before = count(letters);
    EXPECT_EQ(before.found, 2);
    EXPECT_EQ(before.size, 12 + 14);
    EXPECT_EQ(narrow(before.target.view()), "HKEY_CURRENT_USER\\" + narrow(key));

    letterMruClean(letters);
    EXPECT_EQ(data(u"MRUList"), sz(u"a"));
    EXPECT_EQ(data(u"a"), sz(u""));
    EXPECT_EQ(data(u"b"), std::nullopt);
    EXPECT_EQ(data(u"url1"), sz(u"http://x"));

    // The empty "a" holds its terminating zero: 2 bytes, more than one.
    const Count after = count(letters);
    EXPECT_EQ(after.found, 1);
    EXPECT_EQ(after.size, 2);
}

TEST_F(MruHandlersTest, OnlyOneLowerCaseLetterWithMoreThanOneByteIsAnEntry)
{
    struct Row {
        const char16_t* name;
        std::size_t dataBytes;
        bool entry;
    };
    const Row rows[] = {
        {u"b", 6, true},        {u"z", 2, true},     {u"A", 6, false}, {u"ab", 6, false}, {u"c", 1, false},
        {u"d", 0, false},       {u"`", 6, false},    {u"{", 6, false}, {u"y", 900, true},  // beyond the 520-byte buffer
        {u"MRUList", 6, false}, {u"url1", 6, false},
    };
    std::vector<Value> values;
    int64_t expectedFound = 0;
    int64_t expectedSize = 0;
    for (const Row& row : rows) {
        values.push_back({row.name, bytes(row.dataBytes), s::platform::kRegBinary});
        if (row.entry) {
            expectedFound += 1;
            expectedSize += static_cast<int64_t>(row.dataBytes);
        }
    }
    seed(values);
    const Count before = count(letters);
    EXPECT_EQ(before.found, expectedFound);
    EXPECT_EQ(before.size, expectedSize);

    letterMruClean(letters);
    for (const Row& row : rows)
        EXPECT_EQ(data(row.name).has_value(), !row.entry) << narrow(row.name);
}

TEST_F(MruHandlersTest, ThePrefixFamilyTakesNamesThatBeginWithThePrefixInAnyCase)
{
    struct Row {
        const char16_t* name;
        std::size_t dataBytes;
        bool entry;
    };
    const Row rows[] = {
        {u"url1", 10, true},   {u"URL7", 12, true}, {u"urlfoo", 14, true},  {u"url", 2, true},
        {u"Url9", 2000, true},  // beyond the 520-byte buffer
        {u"myurl", 16, false}, {u"ur", 18, false},  {u"MRUList", 6, false}, {u"a", 6, false},
    };
    std::vector<Value> values;
    int64_t expectedFound = 0;
    int64_t expectedSize = 0;
    for (const Row& row : rows) {
        values.push_back({row.name, bytes(row.dataBytes), s::platform::kRegBinary});
        if (row.entry) {
            expectedFound += 1;
            expectedSize += static_cast<int64_t>(row.dataBytes);
        }
    }
    seed(values);
    const Count before = count(urls);
    EXPECT_EQ(before.found, expectedFound);
    EXPECT_EQ(before.size, expectedSize);

    prefixMruClean(urls);
    for (const Row& row : rows)
        EXPECT_EQ(data(row.name).has_value(), !row.entry) << narrow(row.name);
    EXPECT_EQ(data(u"MRUList"), bytes(6)) << "the prefix clean writes no list";
    EXPECT_EQ(count(urls).found, 0);
}

TEST_F(MruHandlersTest, ANameLongerThanTheBufferIsNeitherCountedNorDeletedAndTheCleanEnds)
{
    const std::u16string longName = u"url" + std::u16string(300, u'x');
    seed({{u"url1", sz(u"one")}, {longName, sz(u"long")}, {u"url2", sz(u"two")}});
    EXPECT_EQ(count(urls).found, 2);
    prefixMruClean(urls);
    EXPECT_EQ(data(u"url1"), std::nullopt);
    EXPECT_EQ(data(u"url2"), std::nullopt);
    EXPECT_EQ(data(longName), sz(u"long"));
}

// The build's registry, except that deleting one value name fails.
class StubbornValue final : public IRegFunctions {
public:
    explicit StubbornValue(std::u16string name) : m_name(std::move(name)) {}

    Win32Error openKey(s::platform::KeyParent parent, const char16_t* subKey, std::uint32_t access,
                       RegKey& key) override
    {
        return m_inner.openKey(parent, subKey, access, key);
    }
    Win32Error createKey(s::platform::KeyParent parent, const char16_t* subKey, std::uint32_t access, RegKey& key,
                         bool* created) override
    {
        return m_inner.createKey(parent, subKey, access, key, created);
    }
    Win32Error enumValue(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength,
                         std::uint32_t* type, std::byte* data, std::uint32_t* dataLength) override
    {
        return m_inner.enumValue(key, index, name, nameLength, type, data, dataLength);
    }
    Win32Error enumKey(const RegKey& key, std::uint32_t index, char16_t* name, std::uint32_t& nameLength) override
    {
        return m_inner.enumKey(key, index, name, nameLength);
    }
    Win32Error queryValue(const RegKey& key, const char16_t* name, std::uint32_t* type, std::byte* data,
                          std::uint32_t* dataLength) override
    {
        return m_inner.queryValue(key, name, type, data, dataLength);
    }
    Win32Error setValue(const RegKey& key, const char16_t* name, std::uint32_t type, const std::byte* data,
                        std::uint32_t dataLength) override
    {
        return m_inner.setValue(key, name, type, data, dataLength);
    }
    Win32Error deleteValue(const RegKey& key, const char16_t* name) override
    {
        ++m_deletes;
        if (name && m_name == name)
            return s::platform::kErrorAccessDenied;
        return m_inner.deleteValue(key, name);
    }
    Win32Error deleteKey(s::platform::KeyParent parent, const char16_t* subKey) override
    {
        return m_inner.deleteKey(parent, subKey);
    }

    int deletes() const { return m_deletes; }

protected:
    // Keys belong to the inner registry, which closes them.
    void closeKey(std::uintptr_t) override {}

private:
    IRegFunctions& m_inner = s::platform::regFunctions();
    std::u16string m_name;
    int m_deletes = 0;
};

TEST_F(MruHandlersTest, AValueThatCannotBeDeletedIsSteppedOver)
{
    struct Row {
        const char* family;
        MruList* list;
        std::vector<Value> values;
        std::u16string stubborn;
        std::vector<std::u16string> gone;
    };
    std::vector<Row> rows = {
        {"letter", &letters, {{u"a", sz(u"1")}, {u"b", sz(u"2")}, {u"c", sz(u"3")}}, u"b", {u"c"}},
        {"prefix", &urls, {{u"url1", sz(u"1")}, {u"url2", sz(u"2")}, {u"url3", sz(u"3")}}, u"url1", {u"url2", u"url3"}},
    };
    for (Row& row : rows) {
        seed(row.values);
        StubbornValue registry(row.stubborn);
        if (row.list->family == MruFamily::Letter)
            letterMruClean(*row.list, registry);
        else
            prefixMruClean(*row.list, registry);
        EXPECT_LT(registry.deletes(), 20) << row.family;
        EXPECT_TRUE(data(row.stubborn).has_value()) << row.family;
        for (const std::u16string& name : row.gone)
            EXPECT_FALSE(data(name).has_value()) << row.family << " " << narrow(name);
    }
}

TEST_F(MruHandlersTest, AMissingKeyCountsNothingAndIsNotMade)
{
    for (const MruList* list : {&letters, &urls}) {
        const Count counted = count(*list);
        EXPECT_EQ(counted.found, 0);
        EXPECT_EQ(counted.size, 0);
        EXPECT_EQ(narrow(counted.target.view()), "HKEY_CURRENT_USER\\" + narrow(key));
        if (list->family == MruFamily::Letter)
            letterMruClean(*list);
        else
            prefixMruClean(*list);
        EXPECT_FALSE(box.keyExists(u"List"));
    }
}

TEST_F(MruHandlersTest, KeyExistsOpensTheKeyAfterTheCurrentUserRoot)
{
    ASSERT_TRUE(box.makeKey(u"List"));
    struct Row {
        std::u16string text;
        bool exists;
    };
    const Row rows[] = {
        {u"HKEY_CURRENT_USER\\" + key, true},
        {u"hkey_current_user\\" + key, true},
        {u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\Missing", false},
        {u"HKCU\\" + key, false},
        {u"HKEY_LOCAL_MACHINE\\" + key, false},
        {u"HKEY_CURRENT_USER", false},
        {u"", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(keyExists(Text(row.text)), row.exists) << narrow(row.text);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
