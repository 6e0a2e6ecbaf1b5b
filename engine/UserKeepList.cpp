#include "engine/UserKeepList.h"

#include "base/StrBuffer.h"
#include "platform/ProtectedPlaces.h"

#include <array>

namespace s::file::gui::dialogs::purgo {

namespace {

using s::str::strbuffer::StrBuffer;

struct RootName {
    std::u16string_view shortName;
    std::u16string_view longName;
};

// The roots a key path may begin with, and the short names people type.
constexpr std::array<RootName, 5> kRoots = {{
    {u"HKCU", u"HKEY_CURRENT_USER"},
    {u"HKLM", u"HKEY_LOCAL_MACHINE"},
    {u"HKU", u"HKEY_USERS"},
    {u"HKCR", u"HKEY_CLASSES_ROOT"},
    {u"HKCC", u"HKEY_CURRENT_CONFIG"},
}};

bool startsWithComponent(std::u16string_view text, std::u16string_view first)
{
    if (text.size() < first.size() || (text.size() > first.size() && text[first.size()] != u'\\'))
        return false;
    for (std::size_t i = 0; i < first.size(); ++i)
        if (StrBuffer::foldCase(text[i]) != StrBuffer::foldCase(first[i]))
            return false;
    return true;
}

bool isKeyType(KeepEntryType type)
{
    return type == KeepEntryType::Key || type == KeepEntryType::Value;
}

// The form two entries compare in: the type, then what it names.
std::u16string comparisonForm(const KeepEntry& entry)
{
    std::u16string form(1, static_cast<char16_t>(u'0' + static_cast<int>(entry.type)));
    form +=
        isKeyType(entry.type) ? StrBuffer::foldedCopy(entry.path) : s::file::ProtectedPlaces::comparisonKey(entry.path);
    if (entry.type == KeepEntryType::Pattern || entry.type == KeepEntryType::Value) {
        form += u'\\';
        form += StrBuffer::foldedCopy(entry.name);
    }
    return form;
}

}  // namespace

const char16_t* keepEntryTypeName(KeepEntryType type)
{
    switch (type) {
    case KeepEntryType::File:
        return u"file";
    case KeepEntryType::Folder:
        return u"folder";
    case KeepEntryType::Pattern:
        return u"pattern";
    case KeepEntryType::Key:
        return u"key";
    case KeepEntryType::Value:
        return u"value";
    }
    return u"";
}

std::optional<KeepEntryType> keepEntryTypeFromName(std::u16string_view name)
{
    for (KeepEntryType type : {KeepEntryType::File, KeepEntryType::Folder, KeepEntryType::Pattern, KeepEntryType::Key,
                               KeepEntryType::Value}) {
        if (name == keepEntryTypeName(type))
            return type;
    }
    return std::nullopt;
}

std::u16string keepEntryText(const KeepEntry& entry)
{
    std::u16string text = entry.path;
    if (entry.type == KeepEntryType::Pattern || entry.type == KeepEntryType::Value) {
        text += u'\\';
        text += entry.name;
    }
    return text;
}

std::u16string keepEntryPath(KeepEntryType type, std::u16string_view path)
{
    if (isKeyType(type)) {
        for (const RootName& root : kRoots) {
            for (std::u16string_view name : {root.longName, root.shortName}) {
                if (!startsWithComponent(path, name))
                    continue;
                std::u16string out(root.longName);
                // Doubled and trailing backslashes say nothing more.
                for (char16_t c : path.substr(name.size())) {
                    if (c == u'\\' && !out.empty() && out.back() == u'\\')
                        continue;
                    out += c;
                }
                while (out.back() == u'\\')
                    out.pop_back();
                return out;
            }
        }
        return {};
    }
    // Only a path the keep list can match: one that names a drive or a
    // share. The comparison form is empty for any other.
    if (s::file::ProtectedPlaces::comparisonKey(path).empty())
        return {};
    std::u16string out(path);
    for (char16_t& c : out)
        if (c == u'/')
            c = u'\\';
    while (out.size() > 3 && out.back() == u'\\')
        out.pop_back();
    return out;
}

UserKeepList::Added UserKeepList::add(KeepEntry entry)
{
    entry.path = keepEntryPath(entry.type, entry.path);
    if (entry.path.empty())
        return Added::Invalid;
    if (entry.type == KeepEntryType::Pattern &&
        (entry.name.empty() || entry.name.find_first_of(u"\\/") != std::u16string::npos))
        return Added::Invalid;
    if (entry.type != KeepEntryType::Pattern && entry.type != KeepEntryType::Value)
        entry.name.clear();
    if (!m_forms.insert(comparisonForm(entry)).second)
        return Added::Duplicate;
    m_entries.push_back(std::move(entry));
    return Added::Added;
}

bool UserKeepList::remove(std::size_t index)
{
    if (index >= m_entries.size())
        return false;
    m_forms.erase(comparisonForm(m_entries[index]));
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

int UserKeepList::find(std::u16string_view text) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const KeepEntry& entry = m_entries[i];
        const std::u16string mine = keepEntryText(entry);
        const std::u16string asked = isKeyType(entry.type) ? keepEntryPath(entry.type, text) : std::u16string(text);
        const bool same = isKeyType(entry.type) ? StrBuffer::foldedCopy(mine) == StrBuffer::foldedCopy(asked)
                                                : s::file::ProtectedPlaces::comparisonKey(mine) ==
                                                      s::file::ProtectedPlaces::comparisonKey(asked);
        if (same && !asked.empty())
            return static_cast<int>(i);
    }
    return -1;
}

std::shared_ptr<const KeepList> UserKeepList::keepList() const
{
    if (m_entries.empty())
        return nullptr;
    auto keep = std::make_shared<KeepList>();
    for (const KeepEntry& entry : m_entries) {
        switch (entry.type) {
        case KeepEntryType::File: {
            // A file is its folder and its name as a pattern: the name
            // holds no wildcard, as no file's name can.
            const std::size_t slash = entry.path.find_last_of(u'\\');
            if (slash != std::u16string::npos && slash + 1 < entry.path.size())
                keep->keepFiles(std::u16string_view(entry.path).substr(0, slash),
                                std::u16string_view(entry.path).substr(slash + 1), KeepList::Depth::ThisFolder);
            break;
        }
        case KeepEntryType::Folder:
            keep->keepFiles(entry.path, u"*", KeepList::Depth::AllLevels);
            break;
        case KeepEntryType::Pattern:
            keep->keepFiles(entry.path, entry.name, KeepList::Depth::AllLevels);
            break;
        case KeepEntryType::Key:
            keep->keepKey(entry.path);
            break;
        case KeepEntryType::Value:
            keep->keepValue(entry.path, entry.name);
            break;
        }
    }
    return keep;
}

void applyUserKeepList(const std::vector<TimeRecord*>& groups, const std::shared_ptr<const KeepList>& keep)
{
    for (TimeRecord* group : groups) {
        for (std::size_t i = 0; i < group->childCount(); ++i)
            group->child(i)->userKeep = keep;
    }
}

}  // namespace s::file::gui::dialogs::purgo
