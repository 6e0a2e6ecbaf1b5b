// The Keep List window's model: the user's keep list as the settings store
// holds it (catalogue/KeepListStore.h), shown as rows of type, what and the
// date added, sorted by any of them; entries marked with their check boxes
// (or the selected one) removed, and entries of each kind added.
//
// Every change is written to the store at once, read-modify-write: the items
// window adds entries through the same store while this window is open, so a
// change starts from what the store holds now, never from the rows on
// screen. Rows are matched to stored entries by type, path and name (the
// store keeps them normalised, so an entry reads back exactly as written).
//
// Failure rules: a row outside the range is ignored (no change, false or
// nothing removed); an entry the keep list refuses (a relative path, a key
// that is none, a pattern holding a backslash) is Invalid and nothing is
// written.
#pragma once

#include "engine/UserKeepList.h"
#include "settings/IMappedData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::file::gui::dialogs::purgo {

class KeepListModel {
public:
    enum class Column : uint8_t { Type, What, Added };

    // Not owned; outlives the model. Reads the list at once.
    explicit KeepListModel(s::map::IMappedData& store);

    // Reads the store again (after another window changed it); the marks of
    // the entries still there stay.
    void reload();

    // The names the Type column shows and sorts by, in KeepEntryType order;
    // the settings file's names until set.
    void setTypeNames(const std::array<std::u16string, 5>& names);
    const std::u16string& typeName(KeepEntryType type) const;
    // The name the What column gives a key's default (unnamed) value, as the
    // registry editor shows it; "(Default)" until set.
    void setDefaultValueName(std::u16string name);
    // The What column's text: keepEntryText, with a default value named.
    std::u16string whatText(const KeepEntry& entry) const;

    // The order of the rows; equal rows keep the list's order (the order of
    // adding), which is the order before any sort.
    void sortBy(Column column, bool ascending);
    Column sortColumn() const { return m_column; }
    bool sortAscending() const { return m_ascending; }

    std::size_t rowCount() const { return m_rows.size(); }
    const KeepEntry& row(std::size_t index) const { return m_list.entries()[m_rows[index]]; }
    // The row showing the entry, -1 for none.
    int rowOf(const KeepEntry& entry) const;

    bool isChecked(std::size_t row) const;
    bool setChecked(std::size_t row, bool checked);
    std::size_t checkedCount() const;

    // Removes the checked entries, or when none is checked the entry of
    // `selected` (-1: none); how many went from the store.
    std::size_t removeMarked(int selected);

    // Adds an entry, added at `now` (seconds since 1970 UTC).
    UserKeepList::Added addFile(std::u16string_view path, int64_t now);
    UserKeepList::Added addFolder(std::u16string_view path, int64_t now);
    UserKeepList::Added addPattern(std::u16string_view folder, std::u16string_view pattern, int64_t now);
    // What "Add Registry..." keeps of the key.
    enum class RegistryPart : uint8_t {
        Named,         // an empty value name: the key with everything below
                       // it; a name: that one value
        DefaultValue,  // the key's default (unnamed) value; the name is not
                       // looked at
    };
    UserKeepList::Added addRegistry(std::u16string_view key, std::u16string_view valueName, int64_t now,
                                    RegistryPart part = RegistryPart::Named);
    UserKeepList::Added add(KeepEntry entry);

    // The entry the last add named: the one added, or the one that was there
    // already (a duplicate); the window selects its row.
    const KeepEntry& lastAdded() const { return m_lastAdded; }

    const UserKeepList& list() const { return m_list; }

private:
    void rebuildRows();
    // The index in `list` of the entry equal to `entry`, -1 for none.
    static int indexIn(const UserKeepList& list, const KeepEntry& entry);

    s::map::IMappedData& m_store;
    UserKeepList m_list;
    std::vector<bool> m_checked;      // by entry, beside m_list.entries()
    std::vector<std::size_t> m_rows;  // indexes into the entries
    std::array<std::u16string, 5> m_typeNames;
    std::u16string m_defaultValueName = u"(Default)";
    Column m_column = Column::Added;
    bool m_ascending = true;
    bool m_sorted = false;
    KeepEntry m_lastAdded;
};

}  // namespace s::file::gui::dialogs::purgo
