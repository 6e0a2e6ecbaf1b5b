#include "app/editor/CustomEditor.h"

#include "app/main/TargetListModel.h"
#include "base/TextFormat.h"
#include "catalogue/CustomGroups.h"
#include "engine/CleanItems.h"
#include "engine/Scan.h"
#include "engine/TargetLocation.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/PathWin.h"

#include <algorithm>

namespace s::file::gui::dialogs {

namespace {

namespace list = s::gui::list;
using purgo::TargetKind;
using s::file::win::PathWin;

// The white space a box's text may end with: what a paste from another
// program often brings along.
bool isTrailingSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\x3000';
}

std::u16string_view trimTrailingSpace(std::u16string_view text)
{
    while (!text.empty() && isTrailingSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::u16string_view trimTrailingBackslashes(std::u16string_view text)
{
    while (!text.empty() && text.back() == u'\\')
        text.remove_suffix(1);
    return text;
}

// Type 4's folder: white space first, then backslashes ("D:\Photos\\ ").
std::u16string_view wildFolder(const EditorPanel& panel)
{
    return trimTrailingBackslashes(trimTrailingSpace(panel.path.view()));
}

bool startsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && Text::compareFolded(text.substr(0, prefix.size()), prefix) == 0;
}

// A folder a folder type may name: a place (rooted), not a file, and not a
// drive or share root, whose whole contents the next clean would take.
bool isFolderText(std::u16string_view text)
{
    auto path = PathWin::make(text);
    if (!path->isValidLocation() || PathWin::namesRoot(path->fullPath().view()))
        return false;
    return !(path->exists() && path->isFile());
}

constexpr std::u16string_view kRootNames[] = {u"HKEY_USERS", u"HKEY_LOCAL_MACHINE", u"HKEY_CURRENT_USER",
                                              u"HKEY_CURRENT_CONFIG", u"HKEY_CLASSES_ROOT"};

}  // namespace

// --- Form rules ----------------------------------------------------------------

TargetKind kindOfType(EditorType type)
{
    switch (type) {
    case EditorType::File:
        return purgo::Type_File;
    case EditorType::FolderFiles:
        return purgo::Type_Folder_1_Level;
    case EditorType::FolderAll:
        return purgo::Type_Folder_All_Levels;
    case EditorType::Extension:
        return purgo::Type_File_Wild;
    case EditorType::RegistryValue:
        return purgo::Type_RegValue;
    case EditorType::KeyValues:
        return purgo::Type_RegKey_1_Level;
    case EditorType::KeyAll:
        return purgo::Type_RegKey_All_Levels;
    case EditorType::None:
        break;
    }
    return purgo::Type_File;
}

bool isFolderType(EditorType type)
{
    return type == EditorType::FolderFiles || type == EditorType::FolderAll || type == EditorType::Extension;
}

bool isKeyType(EditorType type)
{
    return type == EditorType::RegistryValue || type == EditorType::KeyValues || type == EditorType::KeyAll;
}

FormTarget formTarget(const EditorForm& form)
{
    FormTarget out;
    out.kind = kindOfType(form.type);
    const EditorPanel& panel = form.current();
    switch (form.type) {
    case EditorType::None:
        return out;
    case EditorType::File:
    case EditorType::FolderFiles:
    case EditorType::FolderAll: {
        auto path = PathWin::make(panel.path.view());
        out.usable = path->isValidLocation();
        out.path = path->fullPath();
        return out;
    }
    case EditorType::Extension: {
        out.path = wildFolder(panel);
        out.path.append(u"\\*.").append(panel.second.view());
        out.usable = PathWin::make(out.path.view())->isValidLocation();
        out.inSubfolders = panel.inSubfolders;
        return out;
    }
    case EditorType::RegistryValue: {
        out.path = trimTrailingSpace(panel.path.view());
        if (out.path.isEmpty() || out.path.last() != u'\\')
            out.path.append(u'\\');
        // "(Default)" in any language, or anything else in brackets, names
        // the key's unnamed value.
        if (!panel.second.startsWith(u"("))
            out.path.append(panel.second.view());
        out.usable = true;
        return out;
    }
    case EditorType::KeyValues:
    case EditorType::KeyAll:
        out.path = trimTrailingSpace(panel.path.view());
        out.usable = true;
        return out;
    }
    return out;
}

bool loadTarget(EditorForm& form, const TimeRecord& target, const Text& defaultValueName)
{
    const std::u16string_view text = target.target.view();
    const std::size_t slash = text.find_last_of(u'\\');
    const std::u16string_view before =
        slash == std::u16string_view::npos ? std::u16string_view() : text.substr(0, slash);
    const std::u16string_view after = slash == std::u16string_view::npos ? text : text.substr(slash + 1);
    EditorType type = EditorType::None;
    switch (target.kind) {
    case purgo::Type_File:
        type = EditorType::File;
        break;
    case purgo::Type_Folder_1_Level:
        type = EditorType::FolderFiles;
        break;
    case purgo::Type_Folder_All_Levels:
        type = EditorType::FolderAll;
        break;
    case purgo::Type_RegKey_1_Level:
        type = EditorType::KeyValues;
        break;
    case purgo::Type_RegKey_All_Levels:
        type = EditorType::KeyAll;
        break;
    case purgo::Type_File_Wild: {
        EditorPanel& panel = form.panel(EditorType::Extension);
        panel.path = before;
        // The editor writes "*." before the extension; a pattern from
        // elsewhere is shown whole rather than cut.
        panel.second = after.substr(0, 2) == u"*." ? after.substr(2) : after;
        panel.inSubfolders = target.wildInSubfolders;
        form.type = EditorType::Extension;
        return true;
    }
    case purgo::Type_RegValue: {
        EditorPanel& panel = form.panel(EditorType::RegistryValue);
        panel.path = before;
        panel.second = after.empty() ? defaultValueName.view() : after;
        form.type = EditorType::RegistryValue;
        return true;
    }
    default:
        return false;
    }
    form.panel(type).path = target.target;
    form.type = type;
    return true;
}

bool isKeyText(std::u16string_view text)
{
    text = trimTrailingBackslashes(trimTrailingSpace(text));
    for (std::u16string_view root : kRootNames) {
        if (text.size() <= root.size() + 1 || !startsWithIgnoreCase(text, root) || text[root.size()] != u'\\')
            continue;
        // Every name below the root is there: "HKEY_CURRENT_USER\\Software"
        // would name the root itself to some readers.
        const std::u16string_view names = text.substr(root.size() + 1);
        return names.front() != u'\\' && names.find(u"\\\\") == std::u16string_view::npos;
    }
    return false;
}

bool checkForm(const EditorForm& form)
{
    const EditorPanel& panel = form.current();
    switch (form.type) {
    case EditorType::None:
        return false;
    case EditorType::File: {
        auto path = PathWin::make(panel.path.view());
        return path->isValidLocation() && !(path->exists() && path->isDirectory());
    }
    case EditorType::FolderFiles:
    case EditorType::FolderAll:
        return isFolderText(panel.path.view());
    case EditorType::Extension:
        return !panel.second.isEmpty() && isFolderText(wildFolder(panel)) && formTarget(form).usable;
    case EditorType::RegistryValue:
    case EditorType::KeyValues:
    case EditorType::KeyAll:
        return isKeyText(panel.path.view());
    }
    return false;
}

Text fileDialogStartFolder(std::u16string_view boxText)
{
    auto path = PathWin::make(boxText);
    if (!path->isValidLocation())
        return {};
    const std::u16string_view full = path->fullPath().view();
    const std::size_t slash = full.find_last_of(u'\\');
    if (slash == std::u16string_view::npos || slash == 0)
        return {};
    const Text folder(full.substr(0, slash));
    auto parent = PathWin::make(folder.view());
    return parent->exists() && parent->isDirectory() ? folder : Text();
}

// --- The list's rows ---------------------------------------------------------------

void CustomTargetRows::setGroup(TimeRecord* group)
{
    m_group = group;
    m_selected = -1;
    m_hot = -1;
    askLocations();
    if (m_listener)
        m_listener->rowsReset();
}

TimeRecord* CustomTargetRows::record(int row) const
{
    return valid(row) ? m_group->child(static_cast<std::size_t>(row)) : nullptr;
}

void CustomTargetRows::askLocations()
{
    m_present.clear();
    for (int row = 0; row < rowCount(); ++row)
        m_present.push_back(purgo::locationExists(*record(row)) ? 1 : 0);
}

void CustomTargetRows::appended()
{
    const int row = rowCount() - 1;
    if (row < 0)
        return;
    m_present.push_back(purgo::locationExists(*record(row)) ? 1 : 0);
    if (m_listener)
        m_listener->rowsInserted(row, 1);
}

void CustomTargetRows::removed(int row)
{
    if (row < 0 || row >= static_cast<int>(m_present.size()))
        return;
    m_present.erase(m_present.begin() + row);
    if (m_listener)
        m_listener->rowsRemoved(row, 1);
    if (m_selected >= row) {
        m_selected = -1;
        if (m_listener)
            m_listener->selectionChanged(-1);
    }
    if (m_hot >= row) {
        m_hot = -1;
        if (m_listener)
            m_listener->hotChanged(-1);
    }
}

void CustomTargetRows::changed(int row)
{
    if (!valid(row))
        return;
    m_present[static_cast<std::size_t>(row)] = purgo::locationExists(*record(row)) ? 1 : 0;
    if (m_listener)
        m_listener->rowChanged(row);
}

int CustomTargetRows::columnCount() const
{
    return list::kColumnCount;
}

list::ListColumn CustomTargetRows::column(int index) const
{
    if (index < 0 || index >= list::kColumnCount)
        return {0, 0, list::Alignment::Left};
    const list::ColumnDef& def = list::kColumns[index];
    const int32_t width = def.id == list::Column::Title  ? kTitleWidth
                          : def.id == list::Column::Size ? kSizeWidth
                                                         : def.defaultWidth;
    return {def.titleId, width, def.alignment};
}

int CustomTargetRows::rowCount() const
{
    return m_group ? static_cast<int>(m_group->childCount()) : 0;
}

list::CheckState CustomTargetRows::checkState(int row) const
{
    const TimeRecord* target = record(row);
    return target && target->checked ? list::CheckState::Checked : list::CheckState::Unchecked;
}

bool CustomTargetRows::isLink(int row) const
{
    return valid(row) && row < static_cast<int>(m_present.size()) && m_present[static_cast<std::size_t>(row)];
}

bool CustomTargetRows::looksAbsent(int row) const
{
    return valid(row) && !isLink(row);
}

void CustomTargetRows::cellText(int row, int column, s::str::strbuffer::StrBuffer& out) const
{
    out.clear();
    const TimeRecord* target = record(row);
    if (!target || column < 0 || column >= list::kColumnCount)
        return;
    switch (list::kColumns[column].id) {
    case list::Column::Title:
        out.assign(target->title.view());
        break;
    case list::Column::Size:
        s::str::formatSize(target->size, out);
        break;
    case list::Column::Found:
        out.appendS64(target->found);
        break;
    case list::Column::Description:
        out.assign(target->description.view());
        break;
    }
}

std::u16string_view CustomTargetRows::iconKey(int row) const
{
    const TimeRecord* target = record(row);
    return target ? target->iconSpec.view() : std::u16string_view();
}

bool CustomTargetRows::toggleCheck(int row)
{
    TimeRecord* target = record(row);
    if (!target)
        return false;
    target->checked = !target->checked;
    if (m_listener)
        m_listener->rowChanged(row);
    return true;
}

void CustomTargetRows::select(int row)
{
    if ((row != -1 && !valid(row)) || row == m_selected)
        return;
    const int old = m_selected;
    m_selected = row;
    if (m_listener) {
        if (valid(old))
            m_listener->rowChanged(old);
        if (valid(row))
            m_listener->rowChanged(row);
        m_listener->selectionChanged(row);
    }
}

void CustomTargetRows::setHot(int row)
{
    if ((row != -1 && !valid(row)) || row == m_hot)
        return;
    const int old = m_hot;
    m_hot = row;
    if (m_listener) {
        if (valid(old))
            m_listener->rowChanged(old);
        if (valid(row))
            m_listener->rowChanged(row);
        m_listener->hotChanged(row);
    }
}

// --- The editor ----------------------------------------------------------------

CustomEditor::CustomEditor(s::map::IMappedData& store, s::lang::Localizer& localizer)
    : m_store(store), m_localizer(localizer)
{
}

CustomEditor::~CustomEditor()
{
    close();
}

void CustomEditor::open(const TimeRecord* group)
{
    close();
    if (group) {
        m_group = TimeRecordHandle(group->clone());
        m_modifying = true;
    } else {
        m_group = purgo::newCustomGroup(m_store, m_localizer);
        m_modifying = false;
    }
    m_form = EditorForm();
    m_form.panel(EditorType::RegistryValue).second = m_localizer.text(s::lang::ids::kDefaultValueText);
    ++m_formRevision;
    m_rows.setGroup(m_group.get());
    m_applyAllowed = false;
    recheck();
}

void CustomEditor::close()
{
    m_rows.setGroup(nullptr);
    m_group.giveBack();
    m_form = EditorForm();
    m_valid = false;
    m_applyAllowed = false;
}

void CustomEditor::recheck()
{
    m_valid = isOpen() && checkForm(m_form);
}

void CustomEditor::selectType(EditorType type)
{
    if (!isOpen())
        return;
    m_form.type = type;
    m_applyAllowed = true;
    recheck();
}

EditorPanel* CustomEditor::editedPanel()
{
    if (!isOpen() || m_form.type == EditorType::None)
        return nullptr;
    // The user changed the form: Apply Change may write it to the row.
    m_applyAllowed = true;
    return &m_form.current();
}

void CustomEditor::setPath(std::u16string_view text)
{
    if (EditorPanel* panel = editedPanel())
        panel->path = text;
    recheck();
}

void CustomEditor::setSecond(std::u16string_view text)
{
    if (EditorPanel* panel = editedPanel())
        panel->second = text;
    recheck();
}

void CustomEditor::setInSubfolders(bool on)
{
    if (EditorPanel* panel = editedPanel())
        panel->inSubfolders = on;
    recheck();
}

void CustomEditor::selectRow(int row)
{
    if (!isOpen())
        return;
    m_rows.select(row);
    if (const TimeRecord* target = m_rows.record(m_rows.selected())) {
        if (loadTarget(m_form, *target, m_localizer.text(s::lang::ids::kDefaultValueText)))
            ++m_formRevision;
    }
    recheck();
    // Until the user changes the form, it only shows the row.
    m_applyAllowed = false;
}

TimeRecordHandle CustomEditor::makeFormTarget(const Text& id) const
{
    const FormTarget made = formTarget(m_form);
    if (!made.usable)
        return {};
    TimeRecordHandle target(TimeRecord::makeTarget(made.kind, id, made.path));
    target->wildInSubfolders = made.inSubfolders;
    return target;
}

void CustomEditor::subtractFromGroup(TimeRecord& target)
{
    if (TimeRecord* group = target.parent) {
        group->found -= target.found;
        group->size -= target.size;
    }
}

bool CustomEditor::addAsNew()
{
    recheck();
    if (!m_valid)
        return false;
    Text id(u"Custom_");
    id.appendS32(m_group->customRecordId).append(u'_').appendS32(m_group->customChildRecordId);
    TimeRecordHandle made = makeFormTarget(id);
    if (!made)
        return false;
    TimeRecord* target = made.detach();
    m_group->addChild(target);
    ++m_group->customChildRecordId;
    purgo::scan(*target, &m_localizer, purgo::Captions::With);
    m_rows.appended();
    m_rows.select(m_rows.rowCount() - 1);
    m_applyAllowed = false;
    return true;
}

bool CustomEditor::applyChange()
{
    recheck();
    TimeRecord* target = m_rows.record(m_rows.selected());
    if (!m_valid || !target)
        return false;
    TimeRecordHandle made = makeFormTarget(target->id);
    if (!made)
        return false;
    subtractFromGroup(*target);
    target->kind = made->kind;
    target->target = made->target;
    target->description = made->description;
    target->iconSpec = made->iconSpec;
    target->wildInSubfolders = made->wildInSubfolders;
    purgo::scan(*target, &m_localizer, purgo::Captions::With);
    m_rows.changed(m_rows.selected());
    m_applyAllowed = false;
    return true;
}

bool CustomEditor::removeSelected()
{
    const int row = m_rows.selected();
    TimeRecord* target = m_rows.record(row);
    if (!target)
        return false;
    subtractFromGroup(*target);
    auto& children = *m_group->children;
    children.erase(children.begin() + row);
    target->parent = nullptr;
    m_rows.removed(row);
    target->release();
    recheck();
    return true;
}

TestFindResult CustomEditor::testFind()
{
    TestFindResult result;
    recheck();
    if (!m_valid)
        return result;
    TimeRecordHandle made = makeFormTarget(Text());
    if (!made)
        return result;
    // A target without a group measures as a group: it gets a group of its
    // own, which goes back to the pool with it.
    TimeRecordHandle scratch(TimeRecord::makeGroup(Text(), Text(), Text()));
    TimeRecord& target = *made.get();
    scratch->addChild(made.detach());
    purgo::scan(target, &m_localizer, purgo::Captions::With);
    result.done = true;
    result.found = target.found;
    result.size = target.size;
    // The place the items lie in: a wildcard's folder, a value's key, else
    // the target itself.
    const bool inParent = target.kind == purgo::Type_File_Wild || target.kind == purgo::Type_RegValue;
    Text place(inParent ? purgo::beforeLastBackslash(target.target.view()) : target.target.view());
    place.append(u'\\');
    purgo::forEachCleanItem(target, [&](purgo::CleanItem& item) {
        if (static_cast<int>(result.items.size()) >= kTestFindItems) {
            result.more = true;
            return;
        }
        Text text = purgo::cleanItemText(item, target);
        if (text.length() >= place.length() && text.startsWithIgnoreCase(place.view()))
            text.remove(0, place.length());
        // The key's unnamed value, in the place's own key.
        if (text.isEmpty())
            text = m_localizer.text(s::lang::ids::kDefaultValueText);
        result.items.push_back(std::move(text));
    });
    return result;
}

CustomEditor::Message CustomEditor::confirm(std::u16string_view title, std::u16string_view description)
{
    m_group->title = title;
    m_group->description = description;
    if (m_modifying)
        return Message::ModifyRecord;
    purgo::confirmNewCustomGroup(*m_group, m_store);
    return Message::AddNewRecord;
}

}  // namespace s::file::gui::dialogs
