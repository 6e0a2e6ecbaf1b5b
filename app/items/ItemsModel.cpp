#include "app/items/ItemsModel.h"

#include "platform/PathWin.h"

#include <algorithm>
#include <numeric>

namespace s::file::gui::dialogs::purgo {

namespace {

// A-Z and the Latin-1 capitals: what a user types into the filter box
// matches paths in either case.
char16_t fold(char16_t unit)
{
    if (unit >= u'A' && unit <= u'Z')
        return static_cast<char16_t>(unit + (u'a' - u'A'));
    if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)
        return static_cast<char16_t>(unit + 0x20);
    return unit;
}

std::u16string folded(std::u16string_view text)
{
    std::u16string out(text);
    std::transform(out.begin(), out.end(), out.begin(), fold);
    return out;
}

bool containsFolded(std::u16string_view text, std::u16string_view foldedNeedle)
{
    if (foldedNeedle.empty())
        return true;
    const auto hit = std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                                 [](char16_t a, char16_t b) { return fold(a) == b; });
    return hit != text.end();
}

// Path order as a user reads it: case folded (the folded texts made once,
// not at each of a sort's million compares of long common prefixes), then
// by the exact text so that the order never depends on the listing.
int compareText(const std::u16string& foldedL, const std::u16string& foldedR, std::u16string_view l,
                std::u16string_view r)
{
    const int folded = foldedL.compare(foldedR);
    if (folded != 0)
        return folded < 0 ? -1 : 1;
    return l.compare(r) < 0 ? -1 : (l == r ? 0 : 1);
}

}  // namespace

std::vector<ListedItem> listRowItems(TimeRecord& row)
{
    std::vector<ListedItem> items;
    const auto listTarget = [&items](TimeRecord& target) {
        forEachCleanItem(target, [&](CleanItem& item) {
            const ItemMeasures measures = measureCleanItem(item, target);
            // The clean calls every special target's handler; one that counted
            // nothing has nothing to show.
            if (item.type == CleanItemType::Handler && measures.found == 0 && measures.size == 0)
                return;
            ListedItem listed;
            listed.type = item.type;
            // A path's text is its full path: copied once, not through the
            // Text that cleanItemText makes (a hundred thousand items).
            if (item.path)
                listed.text.assign(item.path->fullPath().view());
            else
                listed.text = cleanItemText(item, target).toU16String();
            if (item.type == CleanItemType::Value)
                listed.valueName = std::u16string(item.valueName);
            listed.found = measures.found;
            listed.size = measures.size;
            // A listed path has its time from the enumeration that found it.
            if (item.path)
                listed.modified = item.path->lastWriteTime();
            items.push_back(std::move(listed));
        });
    };
    if (row.isGroup()) {
        for (std::size_t i = 0; i < row.childCount(); ++i)
            listTarget(*row.child(i));
    } else {
        listTarget(row);
    }
    return items;
}

bool isKeepable(CleanItemType type)
{
    return type == CleanItemType::File || type == CleanItemType::Folder || type == CleanItemType::Key ||
           type == CleanItemType::Value;
}

KeepEntry keepEntryOf(const ListedItem& item, int64_t added)
{
    KeepEntry entry;
    entry.added = added;
    switch (item.type) {
    case CleanItemType::File:
        entry.type = KeepEntryType::File;
        entry.path = item.text;
        break;
    case CleanItemType::Folder:
        entry.type = KeepEntryType::Folder;
        entry.path = item.text;
        break;
    case CleanItemType::Key:
        entry.type = KeepEntryType::Key;
        entry.path = item.text;
        break;
    case CleanItemType::Value:
        // The text is the key, a backslash and the name (which may hold
        // backslashes itself): the key is what comes before the name.
        entry.type = KeepEntryType::Value;
        entry.path = item.text.substr(0, item.text.size() - item.valueName.size() - 1);
        entry.name = item.valueName;
        break;
    default:
        break;
    }
    return entry;
}

void ItemsModel::setItems(std::vector<ListedItem> items)
{
    m_items = std::move(items);
    for (ListedItem& item : m_items)
        if (!isKeepable(item.type))
            item.checked = true;
    rebuildRows();
}

void ItemsModel::setFilter(std::u16string_view filter)
{
    m_filter = folded(filter);
    rebuildRows();
}

void ItemsModel::sortBy(Column column, bool ascending)
{
    m_column = column;
    m_ascending = ascending;
    rebuildRows();
}

void ItemsModel::rebuildRows()
{
    m_rows.clear();
    m_rows.reserve(m_items.size());
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (containsFolded(m_items[i].text, m_filter))
            m_rows.push_back(i);
    std::vector<std::u16string> keys;
    if (m_column == Column::Path) {
        keys.resize(m_items.size());
        for (std::size_t i : m_rows)
            keys[i] = folded(m_items[i].text);
    }
    const auto before = [this, &keys](std::size_t l, std::size_t r) {
        const ListedItem& a = m_items[l];
        const ListedItem& b = m_items[r];
        int order = 0;
        if (m_column == Column::Size && a.size != b.size)
            order = a.size < b.size ? -1 : 1;
        else if (m_column == Column::Found && a.found != b.found)
            order = a.found < b.found ? -1 : 1;
        else if (m_column == Column::Modified && a.modified != b.modified)
            order = a.modified < b.modified ? -1 : 1;
        else if (m_column == Column::Path)
            order = compareText(keys[l], keys[r], a.text, b.text);
        return m_ascending ? order < 0 : order > 0;
    };
    std::stable_sort(m_rows.begin(), m_rows.end(), before);
}

bool ItemsModel::setChecked(std::size_t index, bool checked)
{
    if (index >= m_rows.size())
        return false;
    ListedItem& item = m_items[m_rows[index]];
    if (!isKeepable(item.type) || item.checked == checked)
        return false;
    item.checked = checked;
    return true;
}

void ItemsModel::setAllChecked(bool checked)
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        setChecked(i, checked);
}

std::size_t ItemsModel::uncheckedCount() const
{
    return static_cast<std::size_t>(
        std::count_if(m_items.begin(), m_items.end(), [](const ListedItem& item) { return !item.checked; }));
}

std::size_t ItemsModel::keepUnchecked(UserKeepList& list, int64_t added) const
{
    std::size_t keptCount = 0;
    for (const ListedItem& item : m_items)
        if (!item.checked && list.add(keepEntryOf(item, added)) == UserKeepList::Added::Added)
            ++keptCount;
    return keptCount;
}

}  // namespace s::file::gui::dialogs::purgo
