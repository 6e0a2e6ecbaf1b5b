// The custom target editor's logic on the platform's files and keys: the
// in-memory machine natively, a scratch folder and test key under Wine. The
// form's rules as tables; the actions on an edited group in a settings file
// of the test's own.
#include "app/editor/CustomEditor.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/SystemInfo.h"
#include "settings/MappedData.h"
#include "tests/support/LanguageTable.h"
#include "tests/support/Sandbox.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace s::file::gui::dialogs {
namespace {

using purgo::TargetKind;

using testing_platform::utf8;

s::thread::EasyPooler& recordPool()
{
    return s::thread::Pool<TimeRecord>::pooler();
}

EditorForm formOf(EditorType type, std::u16string_view path, std::u16string_view second = {}, bool inSubfolders = false)
{
    EditorForm form;
    form.type = type;
    form.current().path = path;
    form.current().second = second;
    form.current().inSubfolders = inSubfolders;
    return form;
}

// --- Form to target ---------------------------------------------------------------

TEST(CustomEditorForm, EachTypeMakesItsKindAndPath)
{
    struct Row {
        EditorType type;
        const char16_t* path;
        const char16_t* second;
        bool inSubfolders;
        bool usable;
        TargetKind kind;
        const char16_t* target;
    };
    const Row rows[] = {
        {EditorType::File, u"C:\\Temp\\a.log", u"", false, true, purgo::Type_File, u"C:\\Temp\\a.log"},
        {EditorType::File, u"Temp\\a.log", u"", false, false, purgo::Type_File, nullptr},
        {EditorType::File, u"", u"", false, false, purgo::Type_File, nullptr},
        {EditorType::FolderFiles, u"C:\\Temp\\", u"", false, true, purgo::Type_Folder_1_Level, u"C:\\Temp"},
        {EditorType::FolderAll, u"C:/Temp/", u"", false, true, purgo::Type_Folder_All_Levels, u"C:\\Temp"},
        {EditorType::FolderAll, u"\\\\server\\share\\logs\\", u"", false, true, purgo::Type_Folder_All_Levels,
         u"\\\\server\\share\\logs"},
        {EditorType::Extension, u"D:\\Photos\\\\ ", u"jpg", true, true, purgo::Type_File_Wild, u"D:\\Photos\\*.jpg"},
        {EditorType::Extension, u"D:\\Photos\t\r\n\x3000", u"jpg", false, true, purgo::Type_File_Wild,
         u"D:\\Photos\\*.jpg"},
        {EditorType::Extension, u"Photos", u"jpg", false, false, purgo::Type_File_Wild, nullptr},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER\\Software\\X", u"(Default)", false, true, purgo::Type_RegValue,
         u"HKEY_CURRENT_USER\\Software\\X\\"},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER\\Software\\X", u"Y", false, true, purgo::Type_RegValue,
         u"HKEY_CURRENT_USER\\Software\\X\\Y"},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER\\Software\\X\\ ", u"(Standard)", false, true,
         purgo::Type_RegValue, u"HKEY_CURRENT_USER\\Software\\X\\"},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER\\Software\\X", u"", false, true, purgo::Type_RegValue,
         u"HKEY_CURRENT_USER\\Software\\X\\"},
        {EditorType::KeyValues, u"HKEY_CURRENT_USER\\Software\\X  ", u"", false, true, purgo::Type_RegKey_1_Level,
         u"HKEY_CURRENT_USER\\Software\\X"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\Software\\X", u"", false, true, purgo::Type_RegKey_All_Levels,
         u"HKEY_CURRENT_USER\\Software\\X"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.path) + " | " + utf8(row.second));
        const FormTarget made = formTarget(formOf(row.type, row.path, row.second, row.inSubfolders));
        EXPECT_EQ(made.usable, row.usable);
        EXPECT_EQ(made.kind, row.kind);
        if (row.target) {
            EXPECT_EQ(utf8(made.path), utf8(row.target));
        }
        EXPECT_EQ(made.inSubfolders, row.inSubfolders);
    }
    EXPECT_FALSE(formTarget(EditorForm()).usable) << "no type chosen";
}

// --- Target to form ---------------------------------------------------------------

TEST(CustomEditorForm, ATargetLoadsItsTypesPanelAndBuildsBackTheSameTarget)
{
    struct Row {
        TargetKind kind;
        const char16_t* target;
        bool inSubfolders;
        EditorType type;
        const char16_t* path;
        const char16_t* second;
    };
    const Row rows[] = {
        {purgo::Type_File, u"C:\\Temp\\a.log", false, EditorType::File, u"C:\\Temp\\a.log", u""},
        {purgo::Type_Folder_1_Level, u"C:\\Temp", false, EditorType::FolderFiles, u"C:\\Temp", u""},
        {purgo::Type_Folder_All_Levels, u"C:\\Temp", false, EditorType::FolderAll, u"C:\\Temp", u""},
        {purgo::Type_File_Wild, u"D:\\Photos\\*.jpg", true, EditorType::Extension, u"D:\\Photos", u"jpg"},
        {purgo::Type_File_Wild, u"D:\\Photos\\*.jpg", false, EditorType::Extension, u"D:\\Photos", u"jpg"},
        {purgo::Type_RegValue, u"HKEY_CURRENT_USER\\Software\\X\\", false, EditorType::RegistryValue,
         u"HKEY_CURRENT_USER\\Software\\X", u"(Default)"},
        {purgo::Type_RegValue, u"HKEY_CURRENT_USER\\Software\\X\\Y", false, EditorType::RegistryValue,
         u"HKEY_CURRENT_USER\\Software\\X", u"Y"},
        {purgo::Type_RegKey_1_Level, u"HKEY_CURRENT_USER\\Software\\X", false, EditorType::KeyValues,
         u"HKEY_CURRENT_USER\\Software\\X", u""},
        {purgo::Type_RegKey_All_Levels, u"HKEY_CURRENT_USER\\Software\\X", false, EditorType::KeyAll,
         u"HKEY_CURRENT_USER\\Software\\X", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.target));
        TimeRecordHandle target(TimeRecord::makeTarget(row.kind, u"t", row.target));
        target->wildInSubfolders = row.inSubfolders;
        EditorForm form;
        ASSERT_TRUE(loadTarget(form, *target, u"(Default)"));
        EXPECT_EQ(form.type, row.type);
        EXPECT_EQ(utf8(form.current().path), utf8(row.path));
        EXPECT_EQ(utf8(form.current().second), utf8(row.second));
        EXPECT_EQ(form.current().inSubfolders, row.inSubfolders);

        const FormTarget back = formTarget(form);
        EXPECT_TRUE(back.usable);
        EXPECT_EQ(back.kind, row.kind);
        EXPECT_EQ(utf8(back.path), utf8(row.target));
        EXPECT_EQ(back.inSubfolders, row.inSubfolders);
    }
}

TEST(CustomEditorForm, KindsTheEditorDoesNotMakeLeaveTheFormAlone)
{
    for (TargetKind kind :
         {purgo::Type_RegKey_All_Levels_IncludeSelf, purgo::Type_RegKey_OnlyAllSubKeys, purgo::Type_RegValue_Wild,
          purgo::Type_Folder_All_Levels_IncludeSelf, purgo::Type_Folder_OnlyAllSubFolders}) {
        SCOPED_TRACE(kind);
        TimeRecordHandle target(TimeRecord::makeTarget(kind, u"t", u"C:\\Other"));
        EditorForm form = formOf(EditorType::File, u"C:\\Kept.txt");
        EXPECT_FALSE(loadTarget(form, *target, u"(Default)"));
        EXPECT_EQ(form.type, EditorType::File);
        EXPECT_EQ(utf8(form.current().path), "C:\\Kept.txt");
    }
}

// --- Validity ------------------------------------------------------------------

class CustomEditorCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.ok()) << sandbox.failure();
        ASSERT_TRUE(sandbox.makeFolder(u"dir"));
        ASSERT_TRUE(sandbox.makeFile(u"file.txt", 4));
    }
    std::u16string at(std::u16string_view relative) const { return sandbox.path(relative); }

    s::platform::testing::Sandbox sandbox;
};

TEST_F(CustomEditorCheck, EachTypeAcceptsWhatItCanCleanSafely)
{
    const std::u16string dir = at(u"dir");
    const std::u16string file = at(u"file.txt");
    const std::u16string missing = at(u"missing");
    struct Row {
        EditorType type;
        std::u16string path;
        std::u16string second;
        bool valid;
        const char* why;
    };
    const Row rows[] = {
        {EditorType::None, file, u"", false, "no type"},
        {EditorType::File, file, u"", true, "an existing file"},
        {EditorType::File, missing, u"", true, "a missing path"},
        {EditorType::File, dir, u"", false, "an existing folder is no file"},
        {EditorType::File, u"missing.txt", u"", false, "relative"},
        {EditorType::File, u"", u"", false, "empty"},
        {EditorType::FolderFiles, dir, u"", true, "an existing folder"},
        {EditorType::FolderFiles, dir + u"\\", u"", true, "with a trailing backslash"},
        {EditorType::FolderAll, missing, u"", true, "a missing folder"},
        {EditorType::FolderAll, file, u"", false, "an existing file is no folder"},
        {EditorType::FolderAll, u"Temp\\x", u"", false, "relative"},
        // A drive or share root: the next clean would empty it.
        {EditorType::FolderFiles, u"C:\\", u"", false, "drive root"},
        {EditorType::FolderAll, u"C:", u"", false, "drive"},
        {EditorType::FolderAll, u"c:/", u"", false, "drive root with a slash"},
        {EditorType::FolderAll, u"C:\\Temp\\..", u"", false, "a way back to the root"},
        {EditorType::FolderAll, u"\\\\server\\share\\", u"", false, "share root"},
        {EditorType::FolderAll, u"\\\\server\\share", u"", false, "share"},
        {EditorType::FolderAll, u"\\\\server\\share\\missing", u"", true, "a folder on a share"},
        {EditorType::Extension, u"C:\\", u"tmp", false, "drive root"},
        {EditorType::Extension, u"\\\\server\\share\\ ", u"tmp", false, "share root"},
        {EditorType::Extension, dir, u"tmp", true, "a folder and an extension"},
        {EditorType::Extension, dir + u"\\\\ ", u"tmp", true, "trailing backslashes and space"},
        {EditorType::Extension, missing, u"tmp", true, "a missing folder"},
        {EditorType::Extension, dir, u"", false, "no extension"},
        {EditorType::Extension, file, u"tmp", false, "a file is no folder"},
        {EditorType::Extension, u"", u"tmp", false, "no folder"},
        // Keys: a root name, "\" and key names.
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\Software\\X", u"", true, "a key"},
        {EditorType::KeyAll, u"hkey_current_user\\Software\\X", u"", true, "root name in any case"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\Software\\X\\ ", u"", true, "trailing backslash and space"},
        {EditorType::KeyValues, u"HKEY_LOCAL_MACHINE\\SOFTWARE\\X", u"", true, "machine"},
        {EditorType::KeyValues, u"HKEY_USERS\\S-1-5-21-0-0-0-1000\\X", u"", true, "users"},
        {EditorType::KeyValues, u"HKEY_CURRENT_CONFIG\\Software", u"", true, "config"},
        {EditorType::KeyValues, u"HKEY_CLASSES_ROOT\\.tmp", u"", true, "classes"},
        {EditorType::KeyAll, u"HKCU\\Software\\X", u"", false, "abbreviated root"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER", u"", false, "a bare root"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\", u"", false, "a bare root and backslash"},
        {EditorType::KeyAll, u"HKEY_LOCAL_MACHINE  ", u"", false, "a bare root and spaces"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USERX\\Software", u"", false, "a longer name"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\\\Software", u"", false, "an empty key name"},
        {EditorType::KeyAll, u"HKEY_CURRENT_USER\\Software\\\\X", u"", false, "an empty key name inside"},
        {EditorType::KeyAll, u" HKEY_CURRENT_USER\\Software", u"", false, "leading space"},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER\\Software\\X", u"(Default)", true, "a value"},
        {EditorType::RegistryValue, u"HKEY_CURRENT_USER", u"Y", false, "a value of a bare root"},
        {EditorType::RegistryValue, u"HKCU\\Software\\X", u"Y", false, "abbreviated root"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.why) + ": " + utf8(row.path) + " | " + utf8(row.second));
        EXPECT_EQ(checkForm(formOf(row.type, row.path, row.second)), row.valid);
    }
}

TEST_F(CustomEditorCheck, TheFileDialogStartsInTheBoxsFolderWhenItIsThere)
{
    const struct Row {
        std::u16string box;
        std::u16string start;  // empty: the Desktop
    } rows[] = {
        {at(u"dir\\new.txt"), at(u"dir")},
        {at(u"file.txt"), sandbox.folder()},
        {at(u"dir"), sandbox.folder()},
        {at(u"missing\\new.txt"), u""},
        {at(u"file.txt\\x.txt"), u""},
        {u"new.txt", u""},
        {u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.box));
        EXPECT_EQ(utf8(fileDialogStartFolder(row.box)), utf8(row.start));
    }
}

// --- The editor's actions ------------------------------------------------------

class CustomEditorActions : public CustomEditorCheck {
protected:
    void SetUp() override
    {
        CustomEditorCheck::SetUp();
        ASSERT_TRUE(sandbox.makeFile(u"junk\\a.tmp", 10));
        ASSERT_TRUE(sandbox.makeFile(u"junk\\b.tmp", 20));
        ASSERT_TRUE(sandbox.makeFile(u"junk\\c.log", 5));
        ASSERT_TRUE(sandbox.makeFile(u"junk\\deeper\\d.tmp", 3));
        scratch.putFile(u"SaveData.xml", R"(<savedata></savedata>)");
        store = s::xml::openFileStore(scratch.join(u"SaveData.xml"));
        ASSERT_TRUE(store);
        editor = std::make_unique<CustomEditor>(*store, testing_platform::shippedLanguageTable());
    }
    void TearDown() override { editor.reset(); }

    void fill(EditorType type, std::u16string_view path, std::u16string_view second = {})
    {
        editor->selectType(type);
        editor->setPath(path);
        if (!second.empty())
            editor->setSecond(second);
    }
    TimeRecord& child(std::size_t index) { return *editor->group()->child(index); }
    std::string ids()
    {
        std::string out;
        for (std::size_t i = 0; i < editor->group()->childCount(); ++i)
            out += (out.empty() ? "" : " ") + child(i).id.toUtf8();
        return out;
    }
    // The group is the sum of its targets after every action.
    void expectSums()
    {
        int64_t found = 0;
        int64_t size = 0;
        for (std::size_t i = 0; i < editor->group()->childCount(); ++i) {
            found += child(i).found;
            size += child(i).size;
        }
        EXPECT_EQ(editor->group()->found, found);
        EXPECT_EQ(editor->group()->size, size);
    }

    testing_platform::ScratchFolder scratch;
    s::xml::MappedDataHandle store;
    std::unique_ptr<CustomEditor> editor;
};

TEST_F(CustomEditorActions, AddAsNewNumbersTargetsThatNeverReuseAnId)
{
    editor->open(nullptr);
    EXPECT_EQ(editor->group()->id, u"Custom1");
    EXPECT_FALSE(editor->modifying());
    EXPECT_EQ(editor->form().type, EditorType::None);
    EXPECT_FALSE(editor->canAddAsNew());
    EXPECT_FALSE(editor->addAsNew()) << "no type chosen";

    fill(EditorType::FolderFiles, at(u"junk") + u"\\");
    EXPECT_TRUE(editor->canAddAsNew());
    EXPECT_TRUE(editor->canTestFind());
    ASSERT_TRUE(editor->addAsNew());
    TimeRecord& first = child(0);
    EXPECT_EQ(first.id, u"Custom_1_0");
    EXPECT_EQ(first.kind, purgo::Type_Folder_1_Level);
    EXPECT_EQ(utf8(first.target), utf8(at(u"junk"))) << "without the trailing backslash";
    EXPECT_EQ(first.found, 3);
    EXPECT_EQ(first.size, 35);
    EXPECT_EQ(first.title, u"junk") << "measured with its captions";
    EXPECT_EQ(utf8(first.description),
              testing_platform::shippedLanguageTable().text(2011000).toUtf8() + utf8(at(u"junk")));
    EXPECT_EQ(first.parent, editor->group());
    EXPECT_EQ(editor->rows().rowCount(), 1);
    EXPECT_EQ(editor->rows().selected(), 0) << "the new row is selected";
    EXPECT_FALSE(editor->canApplyChange());
    EXPECT_TRUE(editor->canRemove());

    fill(EditorType::FolderAll, at(u"junk"));
    ASSERT_TRUE(editor->addAsNew());
    EXPECT_EQ(child(1).found, 5) << "4 files and a folder";
    EXPECT_EQ(child(1).size, 38);
    expectSums();

    editor->selectRow(0);
    ASSERT_TRUE(editor->removeSelected());
    EXPECT_EQ(editor->rows().rowCount(), 1);
    EXPECT_FALSE(editor->canRemove()) << "no row selected after the removal";
    expectSums();
    ASSERT_TRUE(editor->addAsNew());
    EXPECT_EQ(ids(), "Custom_1_1 Custom_1_2");
    EXPECT_EQ(editor->group()->customChildRecordId, 3);
}

TEST_F(CustomEditorActions, EachPanelKeepsItsTextWhileAnotherTypeIsShown)
{
    editor->open(nullptr);
    EXPECT_EQ(editor->form().panel(EditorType::RegistryValue).second, u"(Default)") << "the value box starts so";
    fill(EditorType::File, u"C:\\one.txt");
    fill(EditorType::FolderFiles, u"C:\\two");
    fill(EditorType::Extension, u"C:\\four", u"log");
    editor->setInSubfolders(true);
    fill(EditorType::KeyAll, u"HKEY_CURRENT_USER\\Software\\Seven");
    editor->selectType(EditorType::File);
    EXPECT_EQ(editor->form().current().path, u"C:\\one.txt");
    editor->selectType(EditorType::FolderAll);
    EXPECT_EQ(editor->form().current().path, u"") << "types 2 and 3 have boxes of their own";
    editor->selectType(EditorType::Extension);
    EXPECT_EQ(editor->form().current().path, u"C:\\four");
    EXPECT_EQ(editor->form().current().second, u"log");
    EXPECT_TRUE(editor->form().current().inSubfolders);
    editor->selectType(EditorType::KeyAll);
    EXPECT_EQ(editor->form().current().path, u"HKEY_CURRENT_USER\\Software\\Seven");
    EXPECT_TRUE(editor->canAddAsNew());
    editor->selectType(EditorType::KeyValues);
    EXPECT_FALSE(editor->canAddAsNew()) << "its own box is empty";
}

TEST_F(CustomEditorActions, SelectingARowShowsItAndApplyChangeWaitsForAnEdit)
{
    editor->open(nullptr);
    fill(EditorType::Extension, at(u"junk") + u"\\\\ ", u"tmp");
    editor->setInSubfolders(true);
    ASSERT_TRUE(editor->addAsNew());
    EXPECT_EQ(utf8(child(0).target), utf8(at(u"junk\\*.tmp")));
    EXPECT_TRUE(child(0).wildInSubfolders);
    EXPECT_EQ(child(0).found, 3);
    EXPECT_EQ(child(0).size, 33);
    fill(EditorType::KeyAll, u"HKEY_CURRENT_USER\\" + sandbox.keyPath());
    ASSERT_TRUE(editor->addAsNew());

    const int revision = editor->formRevision();
    editor->selectRow(0);
    EXPECT_GT(editor->formRevision(), revision) << "the window shows the loaded boxes";
    EXPECT_EQ(editor->form().type, EditorType::Extension);
    EXPECT_EQ(utf8(editor->form().current().path), utf8(at(u"junk")));
    EXPECT_EQ(editor->form().current().second, u"tmp");
    EXPECT_TRUE(editor->form().current().inSubfolders);
    EXPECT_TRUE(editor->canAddAsNew());
    EXPECT_FALSE(editor->canApplyChange()) << "nothing edited yet";

    editor->setSecond(u"log");
    EXPECT_TRUE(editor->canApplyChange());
    editor->setInSubfolders(false);
    ASSERT_TRUE(editor->applyChange());
    EXPECT_FALSE(editor->canApplyChange());
    EXPECT_EQ(child(0).id, u"Custom_1_0") << "the id stays";
    EXPECT_EQ(utf8(child(0).target), utf8(at(u"junk\\*.log")));
    EXPECT_FALSE(child(0).wildInSubfolders);
    EXPECT_EQ(child(0).found, 1);
    EXPECT_EQ(child(0).size, 5);
    EXPECT_EQ(child(0).title, u"*.log");
    expectSums();

    // A change of type: kind, icon and texts follow, measured again.
    editor->selectType(EditorType::FolderAll);
    editor->setPath(at(u"junk"));
    ASSERT_TRUE(editor->applyChange());
    TimeRecordHandle expected(TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"x", at(u"junk")));
    EXPECT_EQ(child(0).kind, purgo::Type_Folder_All_Levels);
    EXPECT_EQ(child(0).iconSpec, expected->iconSpec);
    EXPECT_EQ(child(0).found, 5);
    EXPECT_EQ(child(0).size, 38);
    EXPECT_EQ(ids(), "Custom_1_0 Custom_1_1") << "in place";
    expectSums();

    // A form that turned invalid changes nothing.
    editor->setPath(at(u"file.txt"));
    EXPECT_FALSE(editor->canApplyChange());
    EXPECT_FALSE(editor->applyChange());
    EXPECT_EQ(utf8(child(0).target), utf8(at(u"junk")));

    editor->selectRow(1);
    EXPECT_EQ(editor->form().type, EditorType::KeyAll);
    EXPECT_EQ(utf8(editor->form().current().path), "HKEY_CURRENT_USER\\" + utf8(sandbox.keyPath()));
    EXPECT_EQ(utf8(editor->form().panel(EditorType::FolderAll).path), utf8(at(u"file.txt")))
        << "the other panels keep their text";
}

TEST_F(CustomEditorActions, ARegistryValueAndItsDefaultGoBothWays)
{
    const std::byte data[] = {std::byte{'a'}, std::byte{0}, std::byte{'b'}, std::byte{0}, std::byte{0}, std::byte{0}};
    ASSERT_TRUE(sandbox.makeKey(u"X"));
    ASSERT_TRUE(sandbox.setValue(u"X", u"", 1, data));
    ASSERT_TRUE(sandbox.setValue(u"X", u"Y", 1, data));
    const std::u16string key = u"HKEY_CURRENT_USER\\" + sandbox.keyPath() + u"\\X";

    editor->open(nullptr);
    fill(EditorType::RegistryValue, key);
    ASSERT_TRUE(editor->addAsNew());
    editor->setSecond(u"Y");
    ASSERT_TRUE(editor->addAsNew());
    EXPECT_EQ(utf8(child(0).target), utf8(key + u"\\"));
    EXPECT_EQ(child(0).title, u"(Default)");
    EXPECT_EQ(child(0).found, 1);
    EXPECT_EQ(child(0).size, 6);
    EXPECT_EQ(utf8(child(1).target), utf8(key + u"\\Y"));
    EXPECT_EQ(child(1).title, u"Y");

    // Test-Find names a key's values in it, the unnamed one as "(Default)".
    fill(EditorType::KeyValues, key);
    const TestFindResult values = editor->testFind();
    EXPECT_EQ(values.found, 2);
    ASSERT_EQ(values.items.size(), 2u);
    EXPECT_TRUE((values.items[0] == u"(Default)" && values.items[1] == u"Y") ||
                (values.items[0] == u"Y" && values.items[1] == u"(Default)"))
        << utf8(values.items[0]) << ", " << utf8(values.items[1]);

    editor->selectRow(0);
    EXPECT_EQ(utf8(editor->form().current().path), utf8(key));
    EXPECT_EQ(editor->form().current().second, u"(Default)");
    editor->selectRow(1);
    EXPECT_EQ(editor->form().current().second, u"Y");
}

TEST_F(CustomEditorActions, WholeHivesAndDrivesCannotBeAdded)
{
    editor->open(nullptr);
    struct Row {
        EditorType type;
        const char16_t* path;
    };
    const Row rows[] = {
        {EditorType::KeyAll, u"HKEY_CURRENT_USER"},       {EditorType::KeyAll, u"HKEY_CURRENT_USERX\\Software"},
        {EditorType::KeyValues, u"HKEY_LOCAL_MACHINE\\"}, {EditorType::FolderAll, u"C:\\"},
        {EditorType::FolderFiles, u"\\\\server\\share"},  {EditorType::KeyAll, u"HKCU\\Software\\X"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.path));
        fill(row.type, row.path);
        EXPECT_FALSE(editor->canAddAsNew());
        EXPECT_FALSE(editor->canTestFind());
        EXPECT_FALSE(editor->addAsNew());
        EXPECT_FALSE(editor->testFind().done);
    }
    EXPECT_EQ(editor->group()->childCount(), 0u);
    EXPECT_EQ(editor->group()->customChildRecordId, 0);
}

TEST_F(CustomEditorActions, TestFindMeasuresTheFormWithoutAddingIt)
{
    editor->open(nullptr);
    fill(EditorType::FolderAll, at(u"junk"));
    const std::size_t spares = recordPool().spareCount();
    const TestFindResult result = editor->testFind();
    EXPECT_EQ(recordPool().spareCount(), spares) << "its records went back";
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.found, 5);
    EXPECT_EQ(result.size, 38);
    std::string items;
    for (const Text& item : result.items)
        items += (items.empty() ? "" : ", ") + item.toUtf8();
    EXPECT_EQ(items.size(), std::string("a.tmp, b.tmp, c.log, deeper").size()) << "named in the folder: " << items;
    for (const char* name : {"a.tmp", "b.tmp", "c.log", "deeper"})
        EXPECT_NE(items.find(name), std::string::npos) << items;
    EXPECT_FALSE(result.more);
    EXPECT_EQ(editor->group()->childCount(), 0u);
    EXPECT_EQ(editor->group()->customChildRecordId, 0);

    for (int i = 0; i < CustomEditor::kTestFindItems + 2; ++i)
        ASSERT_TRUE(sandbox.makeFile(u"many\\f" + std::u16string(1, char16_t(u'0' + i)) + u".tmp", 1));
    fill(EditorType::FolderFiles, at(u"many"));
    const TestFindResult many = editor->testFind();
    EXPECT_EQ(many.found, CustomEditor::kTestFindItems + 2);
    EXPECT_EQ(static_cast<int>(many.items.size()), CustomEditor::kTestFindItems);
    EXPECT_TRUE(many.more);

    // Matches in subfolders are named from the pattern's folder.
    fill(EditorType::Extension, at(u"junk"), u"tmp");
    editor->setInSubfolders(true);
    const TestFindResult wild = editor->testFind();
    EXPECT_EQ(wild.found, 3);
    std::string matches;
    for (const Text& item : wild.items)
        matches += (matches.empty() ? "" : ", ") + item.toUtf8();
    EXPECT_NE(matches.find("deeper\\d.tmp"), std::string::npos) << matches;
    EXPECT_EQ(matches.size(), std::string("a.tmp, b.tmp, deeper\\d.tmp").size()) << matches;
}

TEST_F(CustomEditorActions, OkTakesTheNumberOfANewGroupAndCancelLeavesIt)
{
    editor->open(nullptr);
    fill(EditorType::FolderAll, at(u"junk"));
    ASSERT_TRUE(editor->addAsNew());
    editor->close();
    EXPECT_EQ(store->getS32(u"CustomItems", u"CustomID", 0), 0) << "cancelled";

    editor->open(nullptr);
    EXPECT_EQ(editor->group()->id, u"Custom1") << "the same number again";
    EXPECT_EQ(editor->group()->childCount(), 0u);
    EXPECT_EQ(editor->form().type, EditorType::None) << "a fresh form";
    fill(EditorType::FolderAll, at(u"junk"));
    ASSERT_TRUE(editor->addAsNew());
    EXPECT_EQ(editor->confirm(u"My junk", u"Everything in junk"), CustomEditor::Message::AddNewRecord);
    EXPECT_EQ(editor->group()->title, u"My junk");
    EXPECT_EQ(editor->group()->description, u"Everything in junk");
    EXPECT_EQ(store->getS32(u"CustomItems", u"CustomID", 0), 1);
    TimeRecordHandle confirmed(editor->group()->clone());
    editor->close();

    // Modifying works on a copy and takes no number.
    editor->open(confirmed.get());
    EXPECT_TRUE(editor->modifying());
    EXPECT_NE(editor->group(), confirmed.get());
    EXPECT_EQ(editor->group()->id, u"Custom1");
    editor->selectRow(0);
    editor->removeSelected();
    EXPECT_EQ(confirmed->childCount(), 1u) << "the original is untouched";
    EXPECT_EQ(editor->confirm(u"Renamed", u""), CustomEditor::Message::ModifyRecord);
    EXPECT_EQ(store->getS32(u"CustomItems", u"CustomID", 0), 1);
    EXPECT_EQ(confirmed->title, u"My junk");
    editor->close();
}

TEST_F(CustomEditorActions, TheEditedGroupGoesBackToItsPoolExactlyOnce)
{
    TimeRecordHandle original(TimeRecord::makeGroup(u"Custom2", u"002", u""));
    original->custom = true;
    original->customRecordId = 2;
    original->addChild(TimeRecord::makeTarget(purgo::Type_File, u"Custom_2_0", at(u"file.txt")));

    for (bool modify : {false, true}) {
        SCOPED_TRACE(modify ? "modify" : "new");
        editor->open(modify ? original.get() : nullptr);
        fill(EditorType::FolderAll, at(u"junk"));
        ASSERT_TRUE(editor->addAsNew());
        ASSERT_TRUE(editor->addAsNew());
        const std::size_t records = 1 + editor->group()->childCount();
        const std::size_t spares = recordPool().spareCount();
        editor->close();
        EXPECT_EQ(recordPool().spareCount(), spares + records) << "the group and its targets";
        EXPECT_FALSE(editor->isOpen());
        EXPECT_EQ(editor->rows().rowCount(), 0);
        editor->close();
        EXPECT_EQ(recordPool().spareCount(), spares + records) << "a second close gives nothing";
    }
    EXPECT_EQ(original->childCount(), 1u);

    // Opening again gives the group still open back first.
    editor->open(original.get());
    const std::size_t spares = recordPool().spareCount();
    editor->open(nullptr);
    EXPECT_EQ(recordPool().spareCount(), spares + 2 - 1) << "the copy and its target back, a new group taken";
}

TEST_F(CustomEditorActions, TheListShowsTheTargetsAsTheMainListDoes)
{
    editor->open(nullptr);
    fill(EditorType::FolderAll, at(u"junk"));
    ASSERT_TRUE(editor->addAsNew());
    fill(EditorType::FolderAll, at(u"missing"));
    ASSERT_TRUE(editor->addAsNew());
    CustomTargetRows& rows = editor->rows();
    ASSERT_EQ(rows.rowCount(), 2);
    Text cell;
    rows.cellText(0, 0, cell);
    EXPECT_EQ(cell, u"junk");
    rows.cellText(0, 1, cell);
    EXPECT_EQ(cell, u"38 B");
    rows.cellText(0, 2, cell);
    EXPECT_EQ(cell, u"5");
    rows.cellText(0, 3, cell);
    EXPECT_EQ(utf8(cell), testing_platform::shippedLanguageTable().text(2012000).toUtf8() + utf8(at(u"junk")));
    EXPECT_EQ(rows.column(0).defaultWidth, CustomTargetRows::kTitleWidth);
    EXPECT_EQ(rows.column(3).titleId, 1001003);
    EXPECT_TRUE(rows.isLink(0)) << "an existing folder can be looked up";
    EXPECT_FALSE(rows.looksAbsent(0));
    EXPECT_FALSE(rows.isLink(1));
    EXPECT_TRUE(rows.looksAbsent(1)) << "a missing folder is drawn absent";
    EXPECT_EQ(rows.checkState(0), s::gui::list::CheckState::Checked);
    EXPECT_TRUE(rows.toggleCheck(0));
    EXPECT_FALSE(child(0).checked);
    rows.cellText(5, 0, cell);
    EXPECT_EQ(cell, u"");
}

}  // namespace
}  // namespace s::file::gui::dialogs
