#include "engine/KeepList.h"

#include "base/StrBuffer.h"
#include "engine/TargetSafety.h"
#include "platform/FindPattern.h"
#include "platform/ProtectedPlaces.h"

namespace s::file::gui::dialogs::purgo {

namespace {

using s::file::ProtectedPlaces;

using s::str::strbuffer::StrBuffer;

// "A\B" lies under "A" (not under "A\" nor "AB").
bool isUnder(std::u16string_view path, std::u16string_view folder)
{
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == u'\\';
}

bool isAtOrUnder(std::u16string_view path, std::u16string_view folder)
{
    return path == folder || isUnder(path, folder);
}

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

bool KeepList::keepFiles(std::u16string_view folder, std::u16string_view pattern, Depth depth)
{
    std::u16string key = ProtectedPlaces::comparisonKey(folder);
    if (key.empty() || pattern.empty() || pattern.find_first_of(u"\\/") != std::u16string_view::npos)
        return false;
    const bool whole = depth == Depth::AllLevels && matchesEveryName(pattern);
    m_files.push_back({std::move(key), std::u16string(pattern), depth, whole});
    return true;
}

bool KeepList::keepKey(std::u16string_view keyPath)
{
    std::u16string key = keyForm(keyPath);
    if (key.empty())
        return false;
    m_keys.push_back(std::move(key));
    return true;
}

bool KeepList::keepValue(std::u16string_view keyPath, std::u16string_view name)
{
    std::u16string key = keyForm(keyPath);
    if (key.empty())
        return false;
    m_values.push_back({std::move(key), StrBuffer::foldedCopy(name)});
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
    for (const FileRule& rule : m_files) {
        const bool placed = rule.depth == Depth::ThisFolder ? folder == rule.folder : isAtOrUnder(folder, rule.folder);
        if (placed && s::platform::findPatternMatches(rule.pattern, name))
            return true;
    }
    return false;
}

bool KeepList::keepsFolder(std::u16string_view folder) const
{
    if (m_files.empty())
        return false;
    const std::u16string key = ProtectedPlaces::comparisonKey(folder);
    for (const FileRule& rule : m_files) {
        if (rule.whole && isAtOrUnder(key, rule.folder))
            return true;
    }
    return false;
}

bool KeepList::keepsInside(std::u16string_view folder) const
{
    if (m_files.empty())
        return false;
    const std::u16string key = ProtectedPlaces::comparisonKey(folder);
    for (const FileRule& rule : m_files) {
        // The rule's folder lies in this one, or (reaching every level) this
        // one lies in the rule's.
        if (isAtOrUnder(rule.folder, key) || (rule.depth == Depth::AllLevels && isUnder(key, rule.folder)))
            return true;
    }
    return false;
}

bool KeepList::keepsKey(std::u16string_view keyPath) const
{
    if (m_keys.empty())
        return false;
    const std::u16string key = keyForm(keyPath);
    for (const std::u16string& kept : m_keys) {
        if (isAtOrUnder(key, kept))
            return true;
    }
    return false;
}

bool KeepList::keepsInsideKey(std::u16string_view keyPath) const
{
    if (m_keys.empty() && m_values.empty())
        return false;
    const std::u16string key = keyForm(keyPath);
    for (const std::u16string& kept : m_keys) {
        if (isAtOrUnder(kept, key) || isUnder(key, kept))
            return true;
    }
    for (const ValueRule& rule : m_values) {
        if (isAtOrUnder(rule.key, key))
            return true;
    }
    return false;
}

bool KeepList::keepsValue(std::u16string_view keyPath, std::u16string_view name) const
{
    if (keepsKey(keyPath))
        return true;
    if (m_values.empty())
        return false;
    const std::u16string key = keyForm(keyPath);
    const std::u16string foldedName = StrBuffer::foldedCopy(name);
    for (const ValueRule& rule : m_values) {
        if (rule.key == key && rule.name == foldedName)
            return true;
    }
    return false;
}

}  // namespace s::file::gui::dialogs::purgo
