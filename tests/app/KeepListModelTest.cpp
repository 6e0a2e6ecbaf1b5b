// The Keep List window's model on a settings file: the rows it shows and
// their order, what each kind of add stores (and refuses), and what Remove
// takes from the store, starting from what the store holds now.
#include "app/keep/KeepListModel.h"
#include "app/keep/KeepListRows.h"

#include "catalogue/KeepListStore.h"
#include "platform/FileIo.h"
#include "settings/MappedData.h"
#include "tests/base/TextPrint.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::xml::MappedDataHandle;
using testing_text::utf8;
using Added = UserKeepList::Added;

class KeepListModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scratch.putFile(u"SaveData.xml", "<savedata><Skin>Classic LG</Skin></savedata>");
        store = reopen();
        store->setAutoSave(true);
    }
    MappedDataHandle reopen() { return s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo()); }

    // Four entries, added in this order at these times.
    void storeFixture()
    {
        UserKeepList list;
        list.add({KeepEntryType::Folder, u"C:\\Cache", {}, 300});
        list.add({KeepEntryType::File, u"C:\\logs\\b.log", {}, 100});
        list.add({KeepEntryType::Value, u"HKCU\\Software\\App", u"Last", 200});
        list.add({KeepEntryType::Pattern, u"C:\\Temp", u"*.bak", 0});
        writeKeepList(list, *store);
    }

    // What a fresh read of the file holds: "type text @added" per entry.
    std::string onDisk()
    {
        std::string out;
        const UserKeepList list = readKeepList(*reopen());
        for (const KeepEntry& entry : list.entries())
            out += utf8(keepEntryTypeName(entry.type)) + " " + utf8(keepEntryText(entry)) + " @" +
                   std::to_string(entry.added) + "\n";
        return out;
    }

    testing_platform::ScratchFolder scratch;
    MappedDataHandle store;
};

std::string shown(KeepListRows& rows)
{
    std::string out;
    s::str::strbuffer::StrBuffer cell;
    for (int row = 0; row < rows.rowCount(); ++row) {
        for (int column = 0; column < rows.columnCount(); ++column) {
            rows.cellText(row, column, cell);
            out += (column ? " | " : "") + cell.toUtf8();
        }
        out += "\n";
    }
    return out;
}

TEST_F(KeepListModelTest, ListsTheStoredEntriesInTheChosenOrder)
{
    storeFixture();
    KeepListModel model(*store);
    KeepListRows rows(model);
    rows.dateText = [](int64_t seconds) {
        return u"t" + std::u16string(1, char16_t(u'0' + seconds / 100));
    };
    // In the order of adding until sorted; an unknown date shows empty.
    EXPECT_EQ(shown(rows), "folder | C:\\Cache | t3\n"
                           "file | C:\\logs\\b.log | t1\n"
                           "value | HKEY_CURRENT_USER\\Software\\App\\Last | t2\n"
                           "pattern | C:\\Temp\\*.bak | \n");

    struct Case {
        KeepListRows::Column column;
        s::gui::list::SortDirection direction;
        const char* firstColumnOrder;
    };
    using Dir = s::gui::list::SortDirection;
    const Case cases[] = {
        {KeepListRows::Column::Type, Dir::Ascending, "file folder pattern value "},
        {KeepListRows::Column::Type, Dir::Descending, "value pattern folder file "},
        {KeepListRows::Column::What, Dir::Ascending, "folder file pattern value "},
        {KeepListRows::Column::Added, Dir::Ascending, "pattern file value folder "},
        {KeepListRows::Column::Added, Dir::Descending, "folder value file pattern "},
    };
    s::str::strbuffer::StrBuffer cell;
    for (const Case& c : cases) {
        rows.sortByColumn(static_cast<int>(c.column), c.direction);
        std::string order;
        for (int row = 0; row < rows.rowCount(); ++row) {
            rows.cellText(row, 0, cell);
            order += cell.toUtf8() + " ";
        }
        EXPECT_EQ(order, c.firstColumnOrder)
            << "column " << static_cast<int>(c.column) << " descending " << (c.direction == Dir::Descending);
    }

    // The Type column shows, and sorts by, the names the window gives it.
    model.setTypeNames({u"Datei", u"Ordner", u"Muster", u"Schl\xFCssel", u"Wert"});
    rows.sortByColumn(static_cast<int>(KeepListRows::Column::Type), Dir::Ascending);
    rows.cellText(0, 0, cell);
    EXPECT_EQ(cell.toUtf8(), "Datei");
    rows.cellText(3, 1, cell);
    EXPECT_EQ(cell.toUtf8(), "HKEY_CURRENT_USER\\Software\\App\\Last") << "Wert sorts last";
}

TEST_F(KeepListModelTest, EachKindOfAddStoresItsEntryAtOnceAndRefusesWhatTheListCannotKeep)
{
    struct Case {
        const char* name;
        char kind;  // f file, d folder, p pattern, r registry, v registry with "Default value" checked
        const char16_t* first;
        const char16_t* second;
        Added result;
        const char* stored;  // the line added to the file, "" for none
    };
    const Case cases[] = {
        {"a file", 'f', u"C:\\Logs\\app.log", u"", Added::Added, "file C:\\Logs\\app.log @1000\n"},
        {"a folder", 'd', u"C:\\Tools\\Cache", u"", Added::Added, "folder C:\\Tools\\Cache @1000\n"},
        {"a pattern", 'p', u"C:\\Tools", u"*.log", Added::Added, "pattern C:\\Tools\\*.log @1000\n"},
        {"a key (no value name)", 'r', u"HKCU\\Software\\Tool", u"", Added::Added,
         "key HKEY_CURRENT_USER\\Software\\Tool @1000\n"},
        {"a value", 'r', u"HKEY_CURRENT_USER\\Software\\Tool", u"Recent", Added::Added,
         "value HKEY_CURRENT_USER\\Software\\Tool\\Recent @1000\n"},
        // The default value is a value entry without a name: neither the
        // key (whose entry an empty name makes) nor the key's named values.
        {"a key's default value", 'v', u"HKCU\\Software\\App", u"", Added::Added,
         "value HKEY_CURRENT_USER\\Software\\App\\ @1000\n"},
        {"the default value, a name typed too", 'v', u"HKCU\\Software\\Tool", u"Recent", Added::Added,
         "value HKEY_CURRENT_USER\\Software\\Tool\\ @1000\n"},
        {"a default value under no root", 'v', u"Software\\Tool", u"", Added::Invalid, ""},
        {"a relative file", 'f', u"Logs\\app.log", u"", Added::Invalid, ""},
        {"a pattern holding a backslash", 'p', u"C:\\Tools", u"sub\\*.log", Added::Invalid, ""},
        {"a pattern with no wildcard text", 'p', u"C:\\Tools", u"", Added::Invalid, ""},
        {"a key under no root", 'r', u"Software\\Tool", u"", Added::Invalid, ""},
        {"a folder typed in another case than the stored one", 'd', u"c:\\CACHE", u"", Added::Duplicate, ""},
    };
    for (const Case& c : cases) {
        SetUp();
        storeFixture();
        const std::string before = onDisk();
        KeepListModel model(*store);
        Added result = Added::Invalid;
        switch (c.kind) {
        case 'f':
            result = model.addFile(c.first, 1000);
            break;
        case 'd':
            result = model.addFolder(c.first, 1000);
            break;
        case 'p':
            result = model.addPattern(c.first, c.second, 1000);
            break;
        case 'v':
            result = model.addRegistry(c.first, c.second, 1000, KeepListModel::RegistryPart::DefaultValue);
            break;
        default:
            result = model.addRegistry(c.first, c.second, 1000);
            break;
        }
        EXPECT_EQ(static_cast<int>(result), static_cast<int>(c.result)) << c.name;
        EXPECT_EQ(onDisk(), before + c.stored) << c.name;
        EXPECT_EQ(model.rowCount(), c.result == Added::Added ? 5u : 4u) << c.name;
        // The window selects the entry named, new or already there.
        if (c.result != Added::Invalid) {
            EXPECT_GE(model.rowOf(model.lastAdded()), 0) << c.name;
        }
    }
}

// A key's default value shows under the name the window gives it (the
// registry editor's "(Default)"), read back from the store, and sorts by it.
TEST_F(KeepListModelTest, AKeptDefaultValueShowsUnderItsName)
{
    storeFixture();
    KeepListModel model(*store);
    KeepListRows rows(model);
    ASSERT_EQ(model.addRegistry(u"HKCU\\Software\\App", u"", 400, KeepListModel::RegistryPart::DefaultValue),
              Added::Added);
    KeepListModel reread(*reopen());
    KeepListRows rereadRows(reread);
    reread.setDefaultValueName(u"(Standard)");
    rereadRows.sortByColumn(static_cast<int>(KeepListRows::Column::What), s::gui::list::SortDirection::Ascending);
    s::str::strbuffer::StrBuffer cell;
    std::string what;
    for (int row = 0; row < rereadRows.rowCount(); ++row) {
        rereadRows.cellText(row, static_cast<int>(KeepListRows::Column::What), cell);
        what += cell.toUtf8() + "; ";
    }
    EXPECT_EQ(what, "C:\\Cache; C:\\logs\\b.log; C:\\Temp\\*.bak; HKEY_CURRENT_USER\\Software\\App\\(Standard); "
                    "HKEY_CURRENT_USER\\Software\\App\\Last; ");
    ASSERT_EQ(rows.rowCount(), 5);
    rows.cellText(4, static_cast<int>(KeepListRows::Column::What), cell);
    EXPECT_EQ(cell.toUtf8(), "HKEY_CURRENT_USER\\Software\\App\\(Default)") << "the name until the window sets one";
}

TEST_F(KeepListModelTest, RemoveTakesTheCheckedEntriesOrElseTheSelectedOneFromWhatTheStoreHoldsNow)
{
    storeFixture();
    KeepListModel model(*store);
    KeepListRows rows(model);

    // Nothing checked, nothing selected: nothing goes.
    EXPECT_EQ(model.removeMarked(-1), 0u);
    EXPECT_EQ(model.rowCount(), 4u);

    // Another window adds an entry after this one read the list; checking
    // two rows and removing them keeps that entry.
    {
        UserKeepList list = readKeepList(*store);
        list.add({KeepEntryType::File, u"C:\\kept\\by items.txt", {}, 400});
        writeKeepList(list, *store);
    }
    ASSERT_TRUE(rows.toggleCheck(0));  // folder C:\Cache
    ASSERT_TRUE(rows.toggleCheck(2));  // the value
    EXPECT_EQ(rows.checkState(2), s::gui::CheckState::Checked);
    EXPECT_EQ(model.checkedCount(), 2u);
    EXPECT_EQ(model.removeMarked(1) /* the selection does not count */, 2u);
    EXPECT_EQ(onDisk(), "file C:\\logs\\b.log @100\n"
                        "pattern C:\\Temp\\*.bak @0\n"
                        "file C:\\kept\\by items.txt @400\n");
    EXPECT_EQ(model.rowCount(), 3u) << "the other window's entry shows too";
    EXPECT_EQ(model.checkedCount(), 0u);

    // None checked: the selected row goes.
    ASSERT_EQ(utf8(keepEntryText(model.row(1))), "C:\\Temp\\*.bak");
    EXPECT_EQ(model.removeMarked(1), 1u);
    EXPECT_EQ(onDisk(), "file C:\\logs\\b.log @100\nfile C:\\kept\\by items.txt @400\n");

    // A check survives a reload while its entry is there; an entry removed
    // elsewhere meanwhile is simply not removed twice.
    ASSERT_TRUE(rows.toggleCheck(1));
    writeKeepList(UserKeepList(), *store);
    EXPECT_EQ(model.removeMarked(-1), 0u);
    EXPECT_EQ(model.rowCount(), 0u);
    EXPECT_EQ(onDisk(), "");
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
