// What the main window keeps between starts and changes in its list that is
// not drawing: the column layout in the settings, and custom groups coming,
// changing and going (the editor's "AddNewRecord" and "ModifyRecord", the
// context menu's Remove).
#pragma once

#include "app/main/TargetListModel.h"
#include "engine/TimeRecord.h"
#include "settings/IMappedData.h"

#include <vector>

namespace s::file::gui::dialogs::purgo {

// The list's columns as stored: MainWindow\ColumnOrder2 holds "length" n and
// "_<i>", the column shown at position i; MainWindow\ColumnWidth2 holds
// "_<i>", column i's width.
struct ColumnLayout {
    std::vector<int> order;   // empty: the columns in their own order
    std::vector<int> widths;  // empty: the default widths
};

// Widths are taken only when n ≥ 4 (fewer read as the defaults); an order
// that is no arrangement of the columns is dropped.
ColumnLayout readColumnLayout(s::map::IMappedData& store, int columnCount);
void storeColumnLayout(s::map::IMappedData& store, const std::vector<int>& order, const std::vector<int>& widths);

// "AddNewRecord": the copy goes to the end of groups and its row to the top
// of the list. Returns its row (-1 when the filter hides it).
int addCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* copy);
// "ModifyRecord": the first group whose id equals the copy's (ignoring
// case) is given back to its pool; the copy goes to the end of groups and
// takes the old row's place in the list. False, and the copy is given back,
// when no group has that id.
bool replaceCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* copy);
// "Remove from List...": the group leaves groups and the list and goes back
// to its pool.
bool removeCustomGroup(std::vector<TimeRecord*>& groups, s::gui::list::TargetListModel& list, TimeRecord* group);

}  // namespace s::file::gui::dialogs::purgo
