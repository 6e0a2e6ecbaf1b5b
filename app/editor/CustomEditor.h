// The custom target editor's logic, without a window: the form (one panel of
// boxes per target type, each keeping its text while another type is
// shown), the rules that turn a form into a target and a target back into a
// form, the validity of a form, and every action of the window on the edited
// group. The window (app/editor/Custom_win.h) binds controls to it and shows what
// it says.
//
// The types and the kinds they build:
//   1 one file                              Type_File
//   2 the files of a folder (1 level)       Type_Folder_1_Level
//   3 everything in a folder (all levels)   Type_Folder_All_Levels
//   4 files with one extension              Type_File_Wild (in subfolders too
//                                           when asked)
//   5 one registry value                    Type_RegValue
//   6 the values of a key (1 level)         Type_RegKey_1_Level
//   7 everything under a key (all levels)   Type_RegKey_All_Levels
//
// Validity is stricter than "a path or a key name": a form is refused when
// its target would reach a whole drive, share or registry hive, since the
// next clean would empty it. A folder type (2, 3, 4) on a drive or share
// root ("C:\", "\\server\share") is invalid; a key type (5, 6, 7) is valid
// only as one of the five root names, "\" and at least one key name
// ("HKEY_CURRENT_USER" alone, "HKEY_CURRENT_USERX\..." and
// "HKEY_CURRENT_USER\\X" are not). Missing folders, files and keys stay valid:
// they measure 0 until they appear.
//
// Failures are never reported: an invalid form disables the actions, and an
// action on a form that has become invalid since (a folder that turned into
// a file) does nothing and answers false.
#pragma once

#include "engine/TimeRecord.h"
#include "gui/ListRows.h"
#include "settings/IMappedData.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace s::lang {
class Localizer;
}

namespace s::file::gui::dialogs {

using purgo::Text;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;

enum class EditorType : int32_t {
    None = 0,
    File = 1,
    FolderFiles = 2,
    FolderAll = 3,
    Extension = 4,
    RegistryValue = 5,
    KeyValues = 6,
    KeyAll = 7,
};
inline constexpr int kEditorTypeCount = 7;

// Language ids of the type selector's entries, by type 1 to 7.
inline constexpr int32_t kEditorTypeTexts[kEditorTypeCount] = {3111000, 3112000, 3113000, 3114000,
                                                               3121000, 3122000, 3123000};
// "(Default)": the name shown for a key's unnamed default value.

// The boxes of one type's panel.
struct EditorPanel {
    Text path;                  // File, Folder or Registry Key box
    Text second;                // Extension (type 4) or Value Name (type 5)
    bool inSubfolders = false;  // "Include SubFolders" (type 4)
};

struct EditorForm {
    EditorType type = EditorType::None;
    std::array<EditorPanel, kEditorTypeCount + 1> panels;  // by type; [0] unused

    EditorPanel& panel(EditorType of) { return panels[static_cast<std::size_t>(of)]; }
    const EditorPanel& panel(EditorType of) const { return panels[static_cast<std::size_t>(of)]; }
    EditorPanel& current() { return panel(type); }
    const EditorPanel& current() const { return panel(type); }
};

// The kind a type builds; Type_File for None.
purgo::TargetKind kindOfType(EditorType type);
bool isFolderType(EditorType type);  // 2, 3, 4
bool isKeyType(EditorType type);     // 5, 6, 7

// What the form's type and boxes make. usable is false when the path cannot
// name a place (types 1 to 4), or when no type is chosen; key types are
// always usable here (checkForm judges them).
struct FormTarget {
    bool usable = false;
    purgo::TargetKind kind = purgo::Type_File;
    Text path;
    bool inSubfolders = false;
};
FormTarget formTarget(const EditorForm& form);

// Shows the target in the form: selects the type of its kind and fills that
// type's panel. defaultValueName stands for a value target's empty name.
// False (the form unchanged) for a kind the editor does not make.
bool loadTarget(EditorForm& form, const TimeRecord& target, const Text& defaultValueName);

// Whether the form may be added or applied; may ask the file system.
bool checkForm(const EditorForm& form);
// Where the File box's Browse starts: the folder of the box's path when the
// path names a place and that folder exists; empty (the Desktop) otherwise.
Text fileDialogStartFolder(std::u16string_view boxText);
// One of the five root names, "\" and key names, none of them empty; trailing
// white space and backslashes are ignored.
bool isKeyText(std::u16string_view text);

// The editor's list: one flat row per target of the edited group, with the
// main list's columns (a narrower Title). A target is a link (its title
// looks it up) when its location exists, asked when the rows change.
class CustomTargetRows : public s::gui::list::IListRows {
public:
    // Title is narrower than in the main list and Size wide enough for
    // "999.99 KB": the window is small, and its Description column takes
    // what is left of the list's width.
    static constexpr int32_t kTitleWidth = 110;
    static constexpr int32_t kSizeWidth = 70;

    void setListener(s::gui::list::IListModelListener* listener) override { m_listener = listener; }
    // Shows the group's targets (none: no rows); selection cleared.
    void setGroup(TimeRecord* group);
    TimeRecord* record(int row) const;
    // After the group's children changed at the end, at row, or in row.
    void appended();
    void removed(int row);
    void changed(int row);

    int columnCount() const override;
    s::gui::list::ListColumn column(int index) const override;
    int rowCount() const override;
    int depth(int) const override { return 0; }
    s::gui::list::CheckState checkState(int row) const override;
    bool isExpandable(int) const override { return false; }
    bool isExpanded(int) const override { return false; }
    bool isLink(int row) const override;
    bool hasCustomMark(int) const override { return false; }
    bool looksAbsent(int row) const override;
    void cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const override;
    std::u16string_view iconKey(int row) const override;

    bool toggleCheck(int row) override;
    bool expand(int) override { return false; }
    bool collapse(int) override { return false; }
    bool toggleExpanded(int) override { return false; }
    // The editor's rows keep the group's order.
    void sortByColumn(int, s::gui::list::SortDirection) override {}
    int sortedColumn() const override { return -1; }
    s::gui::list::SortDirection sortedDirection() const override { return s::gui::list::SortDirection::Ascending; }
    void select(int row) override;
    int selected() const override { return m_selected; }
    void setHot(int row) override;
    int hot() const override { return m_hot; }

private:
    bool valid(int row) const { return row >= 0 && row < rowCount(); }
    void askLocations();

    TimeRecord* m_group = nullptr;
    std::vector<char> m_present;
    s::gui::list::IListModelListener* m_listener = nullptr;
    int m_selected = -1;
    int m_hot = -1;
};

// What Test-Find Matches found for the form's target, which it measures
// without adding it.
struct TestFindResult {
    bool done = false;  // false: the form is not valid
    int64_t found = 0;
    int64_t size = 0;
    // The first items a clean would take (a folder with everything in it),
    // named from the place the target names (the folder, the key) when they
    // lie in it, else in full; `more` when there are others.
    std::vector<Text> items;
    bool more = false;
};

class CustomEditor {
public:
    enum class Message { AddNewRecord, ModifyRecord };
    static constexpr int kTestFindItems = 5;

    // Neither is owned; both outlive the editor.
    CustomEditor(s::map::IMappedData& store, s::lang::Localizer& localizer);
    ~CustomEditor();
    CustomEditor(const CustomEditor&) = delete;
    CustomEditor& operator=(const CustomEditor&) = delete;

    // Starts on a new group (null) or on a copy of `group`; an open group is
    // given back first. The form is cleared and no type is chosen.
    void open(const TimeRecord* group);
    bool isOpen() const { return m_group.get() != nullptr; }
    bool modifying() const { return m_modifying; }
    // The edited group (owned by the editor), null when closed.
    TimeRecord* group() const { return m_group.get(); }
    const EditorForm& form() const { return m_form; }
    CustomTargetRows& rows() { return m_rows; }
    // Grows whenever the editor itself rewrote the form's boxes (a row was
    // loaded), so that the window knows to show them again.
    int formRevision() const { return m_formRevision; }

    // What the buttons may do now.
    bool canTestFind() const { return m_valid; }
    bool canAddAsNew() const { return m_valid; }
    bool canApplyChange() const { return m_valid && m_applyAllowed && m_rows.selected() >= 0; }
    bool canRemove() const { return m_rows.selected() >= 0; }

    // --- The user's actions ---------------------------------------------------
    void selectType(EditorType type);
    // The current panel's boxes (a Browse result comes the same way).
    void setPath(std::u16string_view text);
    void setSecond(std::u16string_view text);
    void setInSubfolders(bool on);
    // A row was selected or activated (-1: none).
    void selectRow(int row);
    // Appends the form's target with the next child id, measured with its
    // captions, and selects its row. False when the form is not valid.
    bool addAsNew();
    // Rewrites the selected target in place from the form (its id stays) and
    // measures it again. False without a selected row or a valid form.
    bool applyChange();
    // Removes the selected target (given back to its pool).
    bool removeSelected();
    TestFindResult testFind();
    // OK: the group takes the title and description; a new group's number
    // is taken ("CustomID"). Returns the message the owner gets; the caller
    // sends it with group() and then closes.
    Message confirm(std::u16string_view title, std::u16string_view description);
    // OK, Cancel or the close box: the edited group goes back to its pool.
    void close();

private:
    void recheck();
    // The current type's panel, about to be changed by the user; null while
    // closed or without a type.
    EditorPanel* editedPanel();
    // The form's target as a record from the pool; empty when not usable.
    TimeRecordHandle makeFormTarget(const Text& id) const;
    // Takes the target's measures out of its group before it is measured
    // again or leaves, so that the group stays the sum of its targets.
    static void subtractFromGroup(TimeRecord& target);

    s::map::IMappedData& m_store;
    s::lang::Localizer& m_localizer;
    TimeRecordHandle m_group;
    bool m_modifying = false;
    EditorForm m_form;
    CustomTargetRows m_rows;
    bool m_valid = false;
    bool m_applyAllowed = false;
    int m_formRevision = 0;
};

}  // namespace s::file::gui::dialogs
