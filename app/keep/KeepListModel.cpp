#include "app/keep/KeepListModel.h"

#include "catalogue/KeepListStore.h"

#include <algorithm>

namespace s::file::gui::dialogs::purgo {

namespace {

char16_t fold(char16_t unit)
{
    if (unit >= u'A' && unit <= u'Z')
        return static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)
        return static_cast<char16_t>(unit + 0x20);
    return unit;
}

// As a user reads it: case folded first, then the exact text, so that the
// order never depends on the order of adding.
int compareText(std::u16string_view l, std::u16string_view r)
{
    const std::size_t n = std::min(l.size(), r.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t a = fold(l[i]);
        const char16_t b = fold(r[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (l.size() != r.size())
        return l.size() < r.size() ? -1 : 1;
    return l.compare(r) < 0 ? -1 : (l == r ? 0 : 1);
}

bool sameEntry(const KeepEntry& a, const KeepEntry& b)
{
    return a.type == b.type && a.path == b.path && a.name == b.name;
}

}  // namespace

KeepListModel::KeepListModel(s::map::IMappedData& store) : m_store(store)
{
    for (int t = 0; t < 5; ++t)
        m_typeNames[static_cast<std::size_t>(t)] = keepEntryTypeName(static_cast<KeepEntryType>(t));
    reload();
}

int KeepListModel::indexIn(const UserKeepList& list, const KeepEntry& entry)
{
    const auto& entries = list.entries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameEntry(entries[i], entry))
            return static_cast<int>(i);
    return -1;
}

void KeepListModel::reload()
{
    UserKeepList fresh = readKeepList(m_store);
    std::vector<bool> checked(fresh.entries().size(), false);
    for (std::size_t i = 0; i < m_list.entries().size(); ++i) {
        if (!m_checked[i])
            continue;
        const int now = indexIn(fresh, m_list.entries()[i]);
        if (now >= 0)
            checked[static_cast<std::size_t>(now)] = true;
    }
    m_list = std::move(fresh);
    m_checked = std::move(checked);
    rebuildRows();
}

void KeepListModel::setTypeNames(const std::array<std::u16string, 5>& names)
{
    m_typeNames = names;
    rebuildRows();
}

const std::u16string& KeepListModel::typeName(KeepEntryType type) const
{
    return m_typeNames[std::min<std::size_t>(static_cast<std::size_t>(type), m_typeNames.size() - 1)];
}

void KeepListModel::setDefaultValueName(std::u16string name)
{
    m_defaultValueName = std::move(name);
    rebuildRows();
}

std::u16string KeepListModel::whatText(const KeepEntry& entry) const
{
    // The key's path and a backslash alone would read as the key itself.
    if (entry.type == KeepEntryType::Value && entry.name.empty())
        return entry.path + u'\\' + m_defaultValueName;
    return keepEntryText(entry);
}

void KeepListModel::sortBy(Column column, bool ascending)
{
    m_column = column;
    m_ascending = ascending;
    m_sorted = true;
    rebuildRows();
}

void KeepListModel::rebuildRows()
{
    const auto& entries = m_list.entries();
    m_rows.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        m_rows[i] = i;
    if (!m_sorted)
        return;
    // The texts of the What column, made once rather than at every compare.
    std::vector<std::u16string> texts;
    if (m_column == Column::What) {
        texts.reserve(entries.size());
        for (const KeepEntry& entry : entries)
            texts.push_back(whatText(entry));
    }
    const auto before = [&](std::size_t l, std::size_t r) {
        const KeepEntry& a = entries[l];
        const KeepEntry& b = entries[r];
        int order = 0;
        switch (m_column) {
        case Column::Type:
            order = compareText(typeName(a.type), typeName(b.type));
            break;
        case Column::What:
            order = compareText(texts[l], texts[r]);
            break;
        case Column::Added:
            order = a.added == b.added ? 0 : (a.added < b.added ? -1 : 1);
            break;
        }
        return m_ascending ? order < 0 : order > 0;
    };
    std::stable_sort(m_rows.begin(), m_rows.end(), before);
}

int KeepListModel::rowOf(const KeepEntry& entry) const
{
    const int index = indexIn(m_list, entry);
    if (index < 0)
        return -1;
    const auto at = std::find(m_rows.begin(), m_rows.end(), static_cast<std::size_t>(index));
    return static_cast<int>(at - m_rows.begin());
}

bool KeepListModel::isChecked(std::size_t row) const
{
    return row < m_rows.size() && m_checked[m_rows[row]];
}

bool KeepListModel::setChecked(std::size_t row, bool checked)
{
    if (row >= m_rows.size() || m_checked[m_rows[row]] == checked)
        return false;
    m_checked[m_rows[row]] = checked;
    return true;
}

std::size_t KeepListModel::checkedCount() const
{
    return static_cast<std::size_t>(std::count(m_checked.begin(), m_checked.end(), true));
}

std::size_t KeepListModel::removeMarked(int selected)
{
    std::vector<KeepEntry> marked;
    for (std::size_t i = 0; i < m_list.entries().size(); ++i)
        if (m_checked[i])
            marked.push_back(m_list.entries()[i]);
    if (marked.empty() && selected >= 0 && static_cast<std::size_t>(selected) < m_rows.size())
        marked.push_back(row(static_cast<std::size_t>(selected)));
    if (marked.empty())
        return 0;
    // From what the store holds now: the items window may have added
    // entries since this list was read.
    UserKeepList stored = readKeepList(m_store);
    std::size_t removed = 0;
    for (const KeepEntry& entry : marked) {
        const int index = indexIn(stored, entry);
        if (index >= 0 && stored.remove(static_cast<std::size_t>(index)))
            ++removed;
    }
    if (removed > 0)
        writeKeepList(stored, m_store);
    for (std::size_t i = 0; i < m_checked.size(); ++i)
        m_checked[i] = false;
    reload();
    return removed;
}

UserKeepList::Added KeepListModel::add(KeepEntry entry)
{
    UserKeepList stored = readKeepList(m_store);
    const UserKeepList::Added result = stored.add(entry);
    if (result == UserKeepList::Added::Invalid)
        return result;
    // The list stores the normalised path: the duplicate or the new entry
    // is found by the same comparison the list made.
    if (result == UserKeepList::Added::Added) {
        m_lastAdded = stored.entries().back();
        writeKeepList(stored, m_store);
    } else {
        entry.path = keepEntryPath(entry.type, entry.path);
        m_lastAdded = entry;
        const int at = stored.find(keepEntryText(entry));
        if (at >= 0)
            m_lastAdded = stored.entries()[static_cast<std::size_t>(at)];
    }
    reload();
    return result;
}

UserKeepList::Added KeepListModel::addFile(std::u16string_view path, int64_t now)
{
    return add(KeepEntry{KeepEntryType::File, std::u16string(path), {}, now});
}

UserKeepList::Added KeepListModel::addFolder(std::u16string_view path, int64_t now)
{
    return add(KeepEntry{KeepEntryType::Folder, std::u16string(path), {}, now});
}

UserKeepList::Added KeepListModel::addPattern(std::u16string_view folder, std::u16string_view pattern, int64_t now)
{
    return add(KeepEntry{KeepEntryType::Pattern, std::u16string(folder), std::u16string(pattern), now});
}

UserKeepList::Added KeepListModel::addRegistry(std::u16string_view key, std::u16string_view valueName, int64_t now,
                                               RegistryPart part)
{
    // The default value is a value entry with an empty name (the store
    // writes Name=""), so it needs no layout of its own.
    if (part == RegistryPart::DefaultValue)
        return add(KeepEntry{KeepEntryType::Value, std::u16string(key), {}, now});
    if (valueName.empty())
        return add(KeepEntry{KeepEntryType::Key, std::u16string(key), {}, now});
    return add(KeepEntry{KeepEntryType::Value, std::u16string(key), std::u16string(valueName), now});
}

}  // namespace s::file::gui::dialogs::purgo
