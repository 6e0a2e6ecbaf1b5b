// The items window's model: every item the clean of one row (a target, or
// each target of a group) would delete, listed the way `purgoc preview
// --files` lists them (engine/CleanItems.h), with a check mark each. The
// window is an owner-data list over the model's visible rows: the rows that
// pass the filter, in the chosen order.
//
// Unchecking an item and keeping the unchecked ones turns each into a keep
// list entry: a file, a folder (with everything below it), a registry key
// (with everything below it) or one value. A special target's item and the
// empty folder a target removes after its clean are not things the keep
// list can name: they are always checked.
#pragma once

#include "engine/CleanItems.h"
#include "engine/TimeRecord.h"
#include "engine/UserKeepList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::file::gui::dialogs::purgo {

struct ListedItem {
    CleanItemType type = CleanItemType::File;
    // The path; a key's path; a value's key, a backslash and its name; a
    // special target's text.
    std::u16string text;
    // A value's name (its key is text without "\" + name).
    std::u16string valueName;
    int64_t found = 0;
    int64_t size = 0;
    // When a file or folder was last written: a FILETIME as one number
    // (100-ns steps since 1601-01-01 UTC); 0 for the other items and for a
    // time that could not be read.
    int64_t modified = 0;
    bool checked = true;
};

// The items the clean of row deletes: a target's, or those of each target
// of a group (whether checked or not, as `preview --files` lists a named
// group). A special target that counted nothing shows nothing.
std::vector<ListedItem> listRowItems(TimeRecord& row);

// Whether the keep list can name the item.
bool isKeepable(CleanItemType type);

// The entry that keeps the item, added at `added`.
KeepEntry keepEntryOf(const ListedItem& item, int64_t added);

class ItemsModel {
public:
    enum class Column : uint8_t { Path, Size, Found, Modified };

    void setItems(std::vector<ListedItem> items);

    // Only the items whose text holds filter, case folded; empty shows all.
    void setFilter(std::u16string_view filter);
    const std::u16string& filter() const { return m_filter; }
    // The order of the visible rows; equal rows keep the listing's order.
    void sortBy(Column column, bool ascending);
    Column sortColumn() const { return m_column; }
    bool sortAscending() const { return m_ascending; }

    std::size_t rowCount() const { return m_rows.size(); }
    const ListedItem& row(std::size_t index) const { return m_items[m_rows[index]]; }
    // Unkeepable items stay checked; false when nothing changed.
    bool setChecked(std::size_t index, bool checked);
    // Every visible row at once (the header's check box).
    void setAllChecked(bool checked);

    std::size_t itemCount() const { return m_items.size(); }
    const std::vector<ListedItem>& items() const { return m_items; }
    // The unchecked items, filtered out or not.
    std::size_t uncheckedCount() const;
    // Adds an entry for every unchecked item to list; how many were new.
    std::size_t keepUnchecked(UserKeepList& list, int64_t added) const;

private:
    void rebuildRows();

    std::vector<ListedItem> m_items;
    std::vector<std::size_t> m_rows;  // indexes into m_items
    std::u16string m_filter;          // case folded
    Column m_column = Column::Path;
    bool m_ascending = true;
};

}  // namespace s::file::gui::dialogs::purgo
