#include "catalogue/MruHandlers.h"

#include "engine/TargetLocation.h"
#include "platform/RegFunctions.h"

#include <array>
#include <cstring>
#include <utility>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::platform::IRegFunctions;
using s::platform::RegKey;
using s::platform::Win32Error;

constexpr std::u16string_view kCurrentUser = u"HKEY_CURRENT_USER\\";
// RegEnumValueW buffers: a name of MAX_PATH characters, data of twice that
// in bytes (a MAX_PATH path as REG_SZ).
constexpr std::uint32_t kNameCapacity = 260;
constexpr std::uint32_t kDataCapacity = 520;

// One value as the enumeration saw it.
struct MruValue {
    char16_t name[kNameCapacity];
    std::uint32_t nameLength = 0;
    std::uint32_t dataLength = 0;
    // False when the name did not fit the buffer: then `name` holds nothing
    // of this value.
    bool named = false;
};

// RegEnumValueW at index. ERROR_MORE_DATA counts as success: the data
// length is what the value holds even when the data did not fit.
bool readValue(IRegFunctions& registry, const RegKey& key, std::uint32_t index, MruValue& value)
{
    std::byte data[kDataCapacity];
    value.name[0] = 0;
    value.nameLength = kNameCapacity;
    value.dataLength = kDataCapacity;
    std::uint32_t type = 0;
    const Win32Error error =
        registry.enumValue(key, index, value.name, value.nameLength, &type, data, &value.dataLength);
    if (error != s::platform::kErrorSuccess && error != s::platform::kErrorMoreData)
        return false;
    value.named = value.nameLength < kNameCapacity;
    return true;
}

bool isLetterEntry(const MruValue& value)
{
    return value.named && value.nameLength == 1 && value.name[0] >= u'a' && value.name[0] <= u'z' &&
           value.dataLength > 1;
}

bool hasPrefix(const MruValue& value, std::u16string_view prefix)
{
    if (!value.named || value.nameLength < prefix.size())
        return false;
    return Text::compareFolded(std::u16string_view(value.name, prefix.size()), prefix) == 0;
}

template <typename Taken>
void countList(IRegFunctions& registry, const MruList& list, Text& target, int64_t& size, int64_t& found, Taken taken)
{
    size = 0;
    found = 0;
    target = kCurrentUser;
    target += list.key;
    RegKey key;
    if (registry.openKey(s::platform::RootKey::CurrentUser, list.key, s::platform::kKeyAllAccess, key))
        return;
    MruValue value;
    for (std::uint32_t index = 0; readValue(registry, key, index, value); ++index) {
        if (taken(value)) {
            found += 1;
            size += value.dataLength;
        }
    }
}

// Deletes every taken value. Deleting shifts the indexes, so the walk starts
// over after each deletion; a value that cannot be deleted is stepped over,
// or the walk would find it again for ever.
template <typename Taken> void cleanList(IRegFunctions& registry, const RegKey& key, Taken taken)
{
    MruValue value;
    std::uint32_t index = 0;
    while (readValue(registry, key, index, value)) {
        if (taken(value) && registry.deleteValue(key, value.name) == s::platform::kErrorSuccess)
            index = 0;
        else
            ++index;
    }
}

void writeString(IRegFunctions& registry, const RegKey& key, const char16_t* name, std::u16string_view text)
{
    std::u16string data(text);
    registry.setValue(key, name, s::platform::kRegSz, reinterpret_cast<const std::byte*>(data.c_str()),
                      static_cast<std::uint32_t>((data.size() + 1) * sizeof(char16_t)));
}

template <MruInstance instance> constexpr MruHandlers handlersOf()
{
    if constexpr (mruList(instance).family == MruFamily::Letter)
        return {&letterMruCount<instance>, &letterMruClean<instance>};
    else
        return {&prefixMruCount<instance>, &prefixMruClean<instance>};
}

template <std::size_t... index>
constexpr std::array<MruHandlers, sizeof...(index)> makeHandlers(std::index_sequence<index...>)
{
    return {{handlersOf<static_cast<MruInstance>(index)>()...}};
}

}  // namespace

void letterMruCount(const MruList& list, Text& target, int64_t& size, int64_t& found, IRegFunctions& registry)
{
    countList(registry, list, target, size, found, isLetterEntry);
}

void letterMruClean(const MruList& list, IRegFunctions& registry)
{
    RegKey key;
    if (registry.openKey(s::platform::RootKey::CurrentUser, list.key, s::platform::kKeyAllAccess, key))
        return;
    cleanList(registry, key, isLetterEntry);
    // An empty list would make Explorer start a new one; one empty entry
    // keeps the list's form.
    writeString(registry, key, u"a", u"");
    writeString(registry, key, u"MRUList", u"a");
}

void prefixMruCount(const MruList& list, Text& target, int64_t& size, int64_t& found, IRegFunctions& registry)
{
    const std::u16string_view prefix = list.prefix ? list.prefix : u"";
    countList(registry, list, target, size, found, [&](const MruValue& value) { return hasPrefix(value, prefix); });
}

void prefixMruClean(const MruList& list, IRegFunctions& registry)
{
    const std::u16string_view prefix = list.prefix ? list.prefix : u"";
    RegKey key;
    if (registry.openKey(s::platform::RootKey::CurrentUser, list.key, s::platform::kKeyAllAccess, key))
        return;
    cleanList(registry, key, [&](const MruValue& value) { return hasPrefix(value, prefix); });
}

MruHandlers mruHandlers(MruInstance instance)
{
    static constexpr auto handlers = makeHandlers(std::make_index_sequence<kMruInstanceCount>());
    return handlers[static_cast<std::size_t>(instance)];
}

bool keyExists(const Text& target)
{
    if (!target.startsWithIgnoreCase(kCurrentUser))
        return false;
    const Text subKey(target.substr(static_cast<int>(kCurrentUser.size())));
    RegKey key;
    return s::platform::regFunctions().openKey(s::platform::RootKey::CurrentUser, subKey.c_str(),
                                               s::platform::kKeyAllAccess, key) == s::platform::kErrorSuccess;
}

void keyLookUp(const Text& target)
{
    // The look-up of a key target: the engine's, on a stand-in node.
    TimeRecordHandle node(TimeRecord::makeTarget(Type_RegKey_1_Level, Text(), target));
    lookUp(*node);
}

}  // namespace s::file::gui::dialogs::purgo
