#include "engine/KeepList.h"

#include "base/StrBuffer.h"
#include "engine/TargetSafety.h"
#include "platform/FindPattern.h"
#include "platform/ProtectedPlaces.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::ProtectedPlaces;

using s::str::strbuffer::StrBuffer;

std::u16string keyForm(std::u16string_view keyPath)
{
    std::u16string out;
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = keyPath.size();
        if (end > start) {
            if (!out.empty())
                out += u'\\';
            for (char16_t c : keyPath.substr(start, end - start))
                out += StrBuffer::foldCase(c);
        }
        start = end + 1;
    }
    return out;
}

}  // namespace

namespace {

// Calls each with the path and every path above it, at its backslashes
// ("A\B\C", "A\B", "A"), until each returns true.
template <class Each> bool anyAtOrAbove(std::u16string_view path, Each each)
{
    while (!path.empty()) {
        if (each(path))
            return true;
        const std::size_t slash = path.find_last_of(u'\\');
        if (slash == std::u16string_view::npos)
            return false;
        path = path.substr(0, slash);
    }
    return false;
}

template <class Each> bool anyAbove(std::u16string_view path, Each each)
{
    const std::size_t slash = path.find_last_of(u'\\');
    return slash != std::u16string_view::npos && anyAtOrAbove(path.substr(0, slash), each);
}

bool holds(const std::unordered_set<std::u16string>& set, std::u16string_view path)
{
    return set.find(std::u16string(path)) != set.end();
}

void addWithAncestors(std::unordered_set<std::u16string>& set, std::u16string_view path)
{
    anyAtOrAbove(path, [&](std::u16string_view p) { return !set.insert(std::u16string(p)).second; });
}

}  // namespace

bool KeepList::keepFiles(std::u16string_view folder, std::u16string_view pattern, Depth depth)
{
    std::u16string key = ProtectedPlaces::comparisonKey(folder);
    if (key.empty() || pattern.empty() || pattern.find_first_of(u"\\/") != std::u16string_view::npos)
        return false;
    if (depth == Depth::AllLevels) {
        m_allLevelsFolders.insert(key);
        if (matchesEveryName(pattern))
            m_wholeFolders.insert(key);
    }
    addWithAncestors(m_fileAncestors, key);
    m_files[std::move(key)].push_back({std::u16string(pattern), depth});
    return true;
}

bool KeepList::keepKey(std::u16string_view keyPath)
{
    std::u16string key = keyForm(keyPath);
    if (key.empty())
        return false;
    addWithAncestors(m_keyAncestors, key);
    m_keys.insert(std::move(key));
    return true;
}

bool KeepList::keepValue(std::u16string_view keyPath, std::u16string_view name)
{
    std::u16string key = keyForm(keyPath);
    if (key.empty())
        return false;
    addWithAncestors(m_keyAncestors, key);
    m_values[std::move(key)].insert(StrBuffer::foldedCopy(name));
    return true;
}

bool KeepList::keepsFile(std::u16string_view path) const
{
    if (m_files.empty())
        return false;
    const std::u16string key = ProtectedPlaces::comparisonKey(path);
    const std::size_t slash = key.find_last_of(u'\\');
    if (slash == std::u16string::npos)
        return false;
    const std::u16string_view folder = std::u16string_view(key).substr(0, slash);
    const std::u16string_view name = std::u16string_view(key).substr(slash + 1);
    // The rules of the file's own folder, whatever their depth; those of the
    // folders above it when they reach every level.
    return anyAtOrAbove(folder, [&](std::u16string_view at) {
        const auto rules = m_files.find(std::u16string(at));
        if (rules == m_files.end())
            return false;
        for (const FileRule& rule : rules->second) {
            if ((at.size() == folder.size() || rule.depth == Depth::AllLevels) &&
                s::platform::findPatternMatches(rule.pattern, name))
                return true;
        }
        return false;
    });
}

void KeepList::filePatternsIn(std::u16string_view folder, std::vector<std::u16string_view>& out) const
{
    if (m_files.empty())
        return;
    const std::u16string key = ProtectedPlaces::comparisonKey(folder);
    anyAtOrAbove(key, [&](std::u16string_view at) {
        const auto rules = m_files.find(std::u16string(at));
        if (rules != m_files.end()) {
            for (const FileRule& rule : rules->second)
                if (at.size() == key.size() || rule.depth == Depth::AllLevels)
                    out.push_back(rule.pattern);
        }
        return false;
    });
}

bool KeepList::keepsFolder(std::u16string_view folder) const
{
    if (m_wholeFolders.empty())
        return false;
    return anyAtOrAbove(ProtectedPlaces::comparisonKey(folder),
                        [&](std::u16string_view at) { return holds(m_wholeFolders, at); });
}

bool KeepList::keepsInside(std::u16string_view folder) const
{
    if (m_files.empty())
        return false;
    const std::u16string key = ProtectedPlaces::comparisonKey(folder);
    // A rule's folder lies in this one, or (reaching every level) this one
    // lies in the rule's.
    return holds(m_fileAncestors, key) ||
           anyAbove(key, [&](std::u16string_view at) { return holds(m_allLevelsFolders, at); });
}

bool KeepList::keepsKey(std::u16string_view keyPath) const
{
    if (m_keys.empty())
        return false;
    return anyAtOrAbove(keyForm(keyPath), [&](std::u16string_view at) { return holds(m_keys, at); });
}

bool KeepList::keepsInsideKey(std::u16string_view keyPath) const
{
    if (m_keyAncestors.empty())
        return false;
    const std::u16string key = keyForm(keyPath);
    return holds(m_keyAncestors, key) || anyAbove(key, [&](std::u16string_view at) { return holds(m_keys, at); });
}

bool KeepList::keepsValue(std::u16string_view keyPath, std::u16string_view name) const
{
    if (keepsKey(keyPath))
        return true;
    if (m_values.empty())
        return false;
    const auto names = m_values.find(keyForm(keyPath));
    return names != m_values.end() && names->second.count(StrBuffer::foldedCopy(name)) != 0;
}

}  // namespace s::file::gui::dialogs::purgo
