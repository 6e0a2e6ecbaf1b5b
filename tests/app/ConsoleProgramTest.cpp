// The console program end to end on the build's backend: a settings file with
// a checked and an unchecked custom group over sandbox folders and keys, then
// the commands as a script would run them. JSON output is read with a JSON
// reader and checked member by member.
#include "app/console/ConsoleProgram.h"

#include "base/IFileIo.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CustomGroups.h"
#include "engine/CheckedStates.h"
#include "platform/FileIo.h"
#include "settings/MappedData.h"
#include "tests/support/Json.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::app::CapturedOutput;
using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
using s::testing::JsonValue;

constexpr int kGroupCount = 2 + kCatalogueGroupCount;  // the two custom groups first

std::string utf8(std::u16string_view text)
{
    return narrow(text);
}

// UTF-16 code units of UTF-8 text: what a console line holds.
std::size_t utf16Length(const std::string& text)
{
    std::size_t units = 0;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        units += (c & 0xC0) != 0x80 ? 1 : 0;
        units += c >= 0xF0 ? 1 : 0;
    }
    return units;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size())
        out.push_back(text.substr(start));
    return out;
}

JsonValue parsed(const std::string& text)
{
    std::string error;
    std::optional<JsonValue> value = JsonValue::parse(text, &error);
    EXPECT_TRUE(value.has_value()) << error << "\n" << text.substr(0, 400);
    EXPECT_TRUE(!text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1)
        << "one line, ended: " << text.substr(0, 200);
    return value.value_or(JsonValue());
}

const JsonValue* member(const JsonValue& array, std::string_view id)
{
    for (const JsonValue& item : array.items())
        if (item["id"].string() == id)
            return &item;
    return nullptr;
}

class ConsoleProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(box.ok()) << box.failure();
        settings = box.path(u"SaveData.xml");
        // The settings store reads and writes whole files through the file
        // layer, which in the native build is an in-memory world of its own:
        // give it the sandbox folder too (on Windows the folders are there).
        const std::u16string& folder = box.folder();
        for (std::size_t slash = folder.find(u'\\', 3);; slash = folder.find(u'\\', slash + 1)) {
            s::platform::fileIo().createFolder(folder.substr(0, slash));
            if (slash == std::u16string::npos)
                break;
        }
        ASSERT_TRUE(box.makeFile(u"junk\\a.tmp", 100) && box.makeFile(u"junk\\b.tmp", 50));
        ASSERT_TRUE(box.makeFile(u"kept\\c.tmp", 70));
        const std::byte data[5] = {};
        ASSERT_TRUE(box.makeKey(u"junk") && box.setValue(u"junk", u"v", 3, data));
        ASSERT_TRUE(box.makeKey(u"kept") && box.setValue(u"kept", u"v", 3, data));
        auto store = s::xml::openFileStore(settings);
        writeGroup(*store, 0, u"JunkGroup", u"junk", true);
        writeGroup(*store, 1, u"KeptGroup", u"kept", false);
        store->setS32(u"CustomItems", u"NumOfCustom", 2);
        ASSERT_TRUE(store->save());
    }

    void writeGroup(s::map::IMappedData& store, int index, const char16_t* id, const char16_t* folder, bool checked)
    {
        TimeRecordHandle group(TimeRecord::makeGroup(id, id, u"test group"));
        group->custom = true;
        group->addChild(TimeRecord::makeTarget(Type_Folder_1_Level, u"files", box.path(folder)));
        group->addChild(TimeRecord::makeTarget(Type_RegValue, u"value", valuePath(folder)));
        group->checked = checked;
        writeCustomGroup(*group, store, index);
        saveChecks(*group, kItemsPrefix, store);
    }

    std::u16string valuePath(std::u16string_view folder) const
    {
        return u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + std::u16string(folder) + u"\\v";
    }

    // The command with this test's settings file and English.
    int run(std::vector<std::u16string> args, CapturedOutput& output)
    {
        args.push_back(u"--settings");
        args.push_back(settings);
        args.push_back(u"--lang");
        args.push_back(u"English");
        return s::app::runConsole(args, output);
    }

    Sandbox box;
    std::u16string settings;
};

TEST_F(ConsoleProgram, UsageErrorsNameTheWrongWordThenShowTheUsage)
{
    struct Row {
        std::vector<std::u16string> args;
        const char* firstLine;
    };
    const Row rows[] = {
        {{}, "purgoc: no command given"},
        {{u"frobnicate"}, "purgoc: unknown command frobnicate"},
        {{u"list", u"--foo"}, "purgoc: unknown option --foo"},
        {{u"preview", u"--settings"}, "purgoc: --settings needs a value"},
        {{u"list", u"--boot"}, "purgoc: --boot does not go with list"},
        {{u"clean", u"--files"}, "purgoc: --files does not go with clean"},
        {{u"preview", u"--all", u"--files"}, "purgoc: --all does not go with --files"},
        {{u"clean", u"now"}, "purgoc: unexpected word now"},
        {{u"preview", u"JunkGroup"}, "purgoc: unexpected word JunkGroup"},
        {{u"preview", u"--files", u"JunkGroup", u"KeptGroup"}, "purgoc: unexpected word KeptGroup"},
        {{u"check", u"JunkGroup"}, "purgoc: check needs <group>[/<target>] and on or off"},
        {{u"check", u"JunkGroup", u"maybe"}, "purgoc: check takes on or off, not maybe"},
        {{u"check", u"JunkGroup", u"on", u"now"}, "purgoc: unexpected word now"},
        {{u"list", u"--version"}, "purgoc: --version does not go with list"},
        {{u"keep"}, "purgoc: keep takes list, add or remove"},
        {{u"keep", u"drop", u"C:\\x"}, "purgoc: keep takes list, add or remove"},
        {{u"keep", u"add"}, "purgoc: keep add needs a path or a registry key"},
        {{u"keep", u"remove"}, "purgoc: keep remove needs an entry (its number or its text)"},
        {{u"keep", u"list", u"--pattern", u"*.log"}, "purgoc: --pattern goes only with keep add"},
        {{u"keep", u"add", u"C:\\x", u"C:\\y"}, "purgoc: unexpected word C:\\y"},
        {{u"preview", u"--pattern", u"*.log"}, "purgoc: --pattern does not go with preview"},
    };
    for (const Row& row : rows) {
        CapturedOutput output;
        std::string shown;
        for (const auto& arg : row.args)
            shown += " " + utf8(arg);
        EXPECT_EQ(s::app::runConsole(row.args, output), s::app::kExitUsage) << shown;
        const std::vector<std::string> err = lines(output.err);
        ASSERT_GE(err.size(), 2u) << shown;
        EXPECT_EQ(err[0], row.firstLine) << shown;
        EXPECT_EQ(err[1].rfind("usage: purgoc list", 0), 0u) << shown;
        EXPECT_EQ(output.out, "") << shown;
    }
}

TEST_F(ConsoleProgram, HelpGoesToStandardOutputAndDoesNothingElse)
{
    for (const auto& args : std::vector<std::vector<std::u16string>>{
             {u"--help"}, {u"-h"}, {u"help"}, {u"clean", u"--help"}, {u"clean", u"--bogus", u"-h"}}) {
        CapturedOutput output;
        EXPECT_EQ(run(args, output), s::app::kExitDone) << utf8(args[0]);
        EXPECT_EQ(output.out.rfind("usage: purgoc list [--rules]\n", 0), 0u) << output.out;
        EXPECT_NE(output.out.find("purgoc preview --files [<group>[/<target>]]\n"), std::string::npos);
        EXPECT_NE(output.out.find("exit status: 0 done, 1 error, 2 usage error, 3 "), std::string::npos);
        EXPECT_EQ(output.err, "");
    }
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp")) << "clean --help cleaned";
}

TEST_F(ConsoleProgram, VersionIsTheProgramsNameAndVersionText)
{
    CapturedOutput text;
    EXPECT_EQ(s::app::runConsole({u"--version"}, text), s::app::kExitDone);
    EXPECT_EQ(text.out, "Oxle Purgo 1.25\n");
    EXPECT_EQ(text.err, "");

    CapturedOutput json;
    EXPECT_EQ(s::app::runConsole({u"--version", u"--json"}, json), s::app::kExitDone);
    const JsonValue value = parsed(json.out);
    EXPECT_EQ(value.names(), (std::vector<std::string>{"command", "name", "version"}));
    EXPECT_EQ(value["command"].string(), "version");
    EXPECT_EQ(value["name"].string(), "Oxle Purgo");
    EXPECT_EQ(value["version"].string(), "1.25");
}

TEST_F(ConsoleProgram, AnUnknownLanguageListsTheEnglishNames)
{
    CapturedOutput output;
    std::vector<std::u16string> args = {u"list", u"--settings", settings, u"--lang", u"Klingon"};
    EXPECT_EQ(s::app::runConsole(args, output), s::app::kExitError);
    EXPECT_EQ(output.out, "");
    const std::string head = "purgoc: no language named Klingon; the languages are: ";
    ASSERT_EQ(output.err.rfind(head, 0), 0u) << output.err;
    ASSERT_EQ(output.err.back(), '\n');
    std::vector<std::string> names;
    const std::string list = output.err.substr(head.size(), output.err.size() - head.size() - 1);
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(", ", start);
        names.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 2;
    }
    EXPECT_EQ(names.size(), 40u) << list;
    for (const char* name : {"English", "German", "Japanese", "Portuguese"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name << " in " << list;

    CapturedOutput german;
    args.back() = u"German";
    EXPECT_EQ(s::app::runConsole(args, german), s::app::kExitDone) << german.err;
}

TEST_F(ConsoleProgram, ASettingsFileThatIsNotThereIsAnErrorExceptForCheck)
{
    const std::u16string missing = box.path(u"none\\SaveData.xml");
    for (const char16_t* command : {u"list", u"preview", u"clean"}) {
        CapturedOutput output;
        EXPECT_EQ(s::app::runConsole({command, u"--settings", missing}, output), s::app::kExitError) << utf8(command);
        EXPECT_EQ(output.err, "purgoc: there is no settings file " + utf8(missing) + " (`purgoc check` creates one)\n");
        EXPECT_EQ(output.out, "");
        EXPECT_FALSE(box.entryExists(u"none\\SaveData.xml")) << utf8(command);
    }
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp")) << "a clean without its settings cleaned";

    box.makeFolder(u"none");
    s::platform::fileIo().createFolder(box.path(u"none"));
    CapturedOutput check;
    EXPECT_EQ(s::app::runConsole({u"check", u"SystemTemporaryFolder", u"on", u"--settings", missing}, check),
              s::app::kExitDone);
    EXPECT_EQ(check.err, "purgoc: created the settings file " + utf8(missing) + "\n");
    EXPECT_EQ(check.out, "SystemTemporaryFolder checked\n");
    EXPECT_TRUE(s::platform::fileIo().fileExists(missing));
}

TEST_F(ConsoleProgram, ASettingsFileThatCannotBeReadIsAnError)
{
    auto held = box.holdOpen(u"SaveData.xml");
    ASSERT_NE(held, nullptr);
    CapturedOutput output;
    EXPECT_EQ(run({u"clean"}, output), s::app::kExitError);
    EXPECT_EQ(output.err, "purgoc: the settings file " + utf8(settings) + " cannot be read\n");
    EXPECT_EQ(output.out, "");
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp")) << "cleaned a selection that is not the user's";
}

TEST_F(ConsoleProgram, CheckFindsIdsIgnoringCaseAndNamesWhatItCannotFind)
{
    struct Row {
        std::vector<std::u16string> args;
        int status;
        const char* out;
        const char* err;
    };
    const Row rows[] = {
        {{u"check", u"keptgroup", u"on"}, 0, "KeptGroup checked\n", ""},
        {{u"check", u"JUNKGROUP/Files", u"off"}, 0, "JunkGroup/files unchecked\n", ""},
        {{u"check", u"NoSuchGroup", u"on"}, 1, "", "purgoc: no group named NoSuchGroup; `purgoc list` shows them\n"},
        {{u"check", u"JunkGroup/nothing", u"on"},
         1,
         "",
         "purgoc: no target named nothing in group JunkGroup; `purgoc list` shows them\n"},
    };
    for (const Row& row : rows) {
        CapturedOutput output;
        EXPECT_EQ(run(row.args, output), row.status) << utf8(row.args[1]);
        EXPECT_EQ(output.out, row.out) << utf8(row.args[1]);
        EXPECT_EQ(output.err, row.err) << utf8(row.args[1]);
    }

    CapturedOutput json;
    ASSERT_EQ(run({u"check", u"junkgroup/VALUE", u"off", u"--json"}, json), 0) << json.err;
    const JsonValue checked = parsed(json.out);
    EXPECT_EQ(checked.names(),
              (std::vector<std::string>{"command", "group", "target", "checked", "settings", "created"}));
    EXPECT_EQ(checked["command"].string(), "check");
    EXPECT_EQ(checked["group"].string(), "JunkGroup");
    EXPECT_EQ(checked["target"].string(), "value");
    EXPECT_TRUE(checked["checked"].isBool() && !checked["checked"].boolean());
    EXPECT_EQ(checked["settings"].string(), utf8(settings));
    EXPECT_TRUE(checked["created"].isBool() && !checked["created"].boolean());

    CapturedOutput list;
    ASSERT_EQ(run({u"list", u"--json"}, list), 0);
    const JsonValue tree = parsed(list.out);
    EXPECT_EQ(tree.names(), (std::vector<std::string>{"command", "groups"}));
    EXPECT_EQ(tree["command"].string(), "list");
    ASSERT_EQ(tree["groups"].size(), static_cast<std::size_t>(kGroupCount));
    const JsonValue& junk = tree["groups"][0];
    EXPECT_EQ(junk.names(), (std::vector<std::string>{"id", "title", "description", "custom", "checked", "targets"}));
    EXPECT_EQ(junk["id"].string(), "JunkGroup");
    EXPECT_EQ(junk["title"].string(), "JunkGroup");
    EXPECT_EQ(junk["description"].string(), "test group");
    EXPECT_TRUE(junk["custom"].boolean());
    EXPECT_TRUE(junk["checked"].boolean());
    ASSERT_EQ(junk["targets"].size(), 2u);
    const JsonValue& files = junk["targets"][0];
    EXPECT_EQ(files.names(), (std::vector<std::string>{"id", "kind", "target", "checked"}));
    EXPECT_EQ(files["id"].string(), "files");
    EXPECT_EQ(files["kind"].string(), "Type_Folder_1_Level");
    EXPECT_EQ(files["target"].string(), utf8(box.path(u"junk")));
    EXPECT_FALSE(files["checked"].boolean());
    EXPECT_FALSE(junk["targets"][1]["checked"].boolean());
    const JsonValue* kept = member(tree["groups"], "KeptGroup");
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE((*kept)["checked"].boolean());
    EXPECT_EQ(tree["groups"][2]["id"].string(), "SystemTemporaryFolder");
}

TEST_F(ConsoleProgram, PreviewReportsEveryFieldOfTheSeededGroups)
{
    CapturedOutput output;
    ASSERT_EQ(run({u"preview", u"--json"}, output), 0) << output.err;
    const JsonValue preview = parsed(output.out);
    EXPECT_EQ(preview.names(), (std::vector<std::string>{"command", "all", "files", "groups", "totals"}));
    EXPECT_EQ(preview["command"].string(), "preview");
    EXPECT_TRUE(preview["all"].isBool() && !preview["all"].boolean());
    EXPECT_TRUE(preview["files"].isBool() && !preview["files"].boolean());
    ASSERT_GE(preview["groups"].size(), 2u);

    struct TargetRow {
        const char* id;
        const char* kind;
        std::u16string target;
        const char* title;
        std::string description;
        int64_t found;
        int64_t size;
    };
    struct GroupRow {
        const char* id;
        bool checked;
        int64_t found;
        int64_t size;
        std::vector<TargetRow> targets;
    };
    const std::string folderCaption = "(Files Under Folder, 1-Level) ";
    const std::string valueCaption = "(Registry Value) ";
    const GroupRow rows[] = {
        {"JunkGroup",
         true,
         3,
         155,
         {{"files", "Type_Folder_1_Level", box.path(u"junk"), "junk", folderCaption + utf8(box.path(u"junk")), 2, 150},
          {"value", "Type_RegValue", valuePath(u"junk"), "v", valueCaption + utf8(valuePath(u"junk")), 1, 5}}},
        {"KeptGroup",
         false,
         2,
         75,
         {{"files", "Type_Folder_1_Level", box.path(u"kept"), "kept", folderCaption + utf8(box.path(u"kept")), 1, 70},
          {"value", "Type_RegValue", valuePath(u"kept"), "v", valueCaption + utf8(valuePath(u"kept")), 1, 5}}},
    };
    for (std::size_t g = 0; g < std::size(rows); ++g) {
        const GroupRow& row = rows[g];
        SCOPED_TRACE(row.id);
        const JsonValue& group = preview["groups"][g];
        EXPECT_EQ(group.names(), (std::vector<std::string>{"id", "title", "description", "custom", "checked", "found",
                                                           "size", "targets"}));
        EXPECT_EQ(group["id"].string(), row.id);
        EXPECT_EQ(group["title"].string(), row.id);
        EXPECT_EQ(group["description"].string(), "test group");
        EXPECT_TRUE(group["custom"].isBool() && group["custom"].boolean());
        EXPECT_EQ(group["checked"].boolean(), row.checked);
        EXPECT_TRUE(group["found"].isInteger());
        EXPECT_EQ(group["found"].integer(), row.found);
        EXPECT_EQ(group["size"].integer(), row.size);
        ASSERT_EQ(group["targets"].size(), row.targets.size());
        for (std::size_t t = 0; t < row.targets.size(); ++t) {
            const TargetRow& expected = row.targets[t];
            SCOPED_TRACE(expected.id);
            const JsonValue& target = group["targets"][t];
            EXPECT_EQ(target.names(), (std::vector<std::string>{"id", "kind", "target", "title", "description",
                                                                "checked", "found", "size", "locationExists"}));
            EXPECT_EQ(target["id"].string(), expected.id);
            EXPECT_EQ(target["kind"].string(), expected.kind);
            EXPECT_EQ(target["target"].string(), utf8(expected.target));
            EXPECT_EQ(target["title"].string(), expected.title);
            EXPECT_EQ(target["description"].string(), expected.description);
            EXPECT_TRUE(target["checked"].isBool() && target["checked"].boolean());
            EXPECT_TRUE(target["found"].isInteger() && target["size"].isInteger());
            EXPECT_EQ(target["found"].integer(), expected.found);
            EXPECT_EQ(target["size"].integer(), expected.size);
            EXPECT_TRUE(target["locationExists"].isBool() && target["locationExists"].boolean());
        }
    }

    const JsonValue& totals = preview["totals"];
    EXPECT_EQ(totals.names(), (std::vector<std::string>{"allFound", "allSize", "selectedFound", "selectedSize"}));
    EXPECT_EQ(totals["selectedFound"].integer(), 3) << "the built-in groups start unchecked";
    EXPECT_EQ(totals["selectedSize"].integer(), 155);

    // The totals are those of every group, listed or not: the sums of
    // preview --all (within one run: other tests change the machine).
    CapturedOutput all;
    ASSERT_EQ(run({u"preview", u"--all", u"--json"}, all), 0);
    const JsonValue everything = parsed(all.out);
    EXPECT_TRUE(everything["all"].boolean());
    ASSERT_EQ(everything["groups"].size(), static_cast<std::size_t>(kGroupCount));
    int64_t found = 0;
    int64_t size = 0;
    for (const JsonValue& group : everything["groups"].items()) {
        found += group["found"].integer();
        size += group["size"].integer();
    }
    EXPECT_EQ(everything["totals"]["allFound"].integer(), found);
    EXPECT_EQ(everything["totals"]["allSize"].integer(), size);
    EXPECT_GE(found, 5) << "at least the two custom groups' items";
}

// The items of preview --files, sorted by path (a folder's listing order is
// the file system's).
struct Item {
    std::string type;
    std::string path;
    int64_t found;
    int64_t size;
    bool operator==(const Item&) const = default;
};

std::vector<Item> items(const JsonValue& target)
{
    std::vector<Item> out;
    for (const JsonValue& item : target["items"].items()) {
        EXPECT_EQ(item.names(), (std::vector<std::string>{"type", "path", "found", "size"}));
        EXPECT_TRUE(item["found"].isInteger() && item["size"].isInteger());
        out.push_back({item["type"].string(), item["path"].string(), item["found"].integer(), item["size"].integer()});
    }
    std::sort(out.begin(), out.end(), [](const Item& a, const Item& b) { return a.path < b.path; });
    return out;
}

std::ostream& operator<<(std::ostream& out, const Item& item)
{
    return out << item.type << " " << item.path << " " << item.found << " " << item.size;
}

// The bytes of a file, read through the platform's files.
std::string bytesOf(std::u16string_view path)
{
    s::col::ArrayU08 bytes;
    if (!s::platform::fileIo().readFile(path, bytes, s::io::IFileIo::kMaxReadBytes))
        return {};
    return std::string(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(bytes.count()));
}

// The settings file cut short, as a crash of another tool leaves it: the
// groups' records are there, the checked states at the end are not, so the
// selection read from it is not the user's.
TEST_F(ConsoleProgram, ADamagedSettingsFileStopsEverythingButListUnlessForced)
{
    const std::string whole = bytesOf(settings);
    ASSERT_GT(whole.size(), 40u);
    const std::string damaged = whole.substr(0, whole.size() - 25);
    ASSERT_TRUE(s::platform::fileIo().writeFile(settings, reinterpret_cast<const uint8_t*>(damaged.data()),
                                                static_cast<int>(damaged.size())));
    const std::string stated = "purgoc: the settings file " + utf8(settings) + " is damaged (line 1)";
    const auto copies = [this] {
        int count = 0;
        for (const std::u16string& name : Sandbox::listedNames(box.folder()))
            count += name.rfind(u"SaveData.damaged-", 0) == 0 ? 1 : 0;
        return count;
    };
    struct Row {
        std::vector<std::u16string> args;
        const char* nothing;
    };
    const Row rows[] = {
        {{u"preview"}, "nothing was measured"},
        {{u"preview", u"--files", u"--json"}, "nothing was measured"},
        {{u"clean"}, "nothing was cleaned"},
        {{u"clean", u"--boot"}, "nothing was cleaned"},
        {{u"check", u"JunkGroup", u"off"}, "nothing was changed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.args[0]) + " " + std::to_string(row.args.size()));
        CapturedOutput output;
        EXPECT_EQ(run(row.args, output), s::app::kExitError);
        EXPECT_EQ(output.err, stated + ", so its selection may not be yours: " + row.nothing +
                                  ". Repair or remove the file, or add --force-defaults to go on with what could "
                                  "be read of it\n");
        EXPECT_EQ(output.out, "");
        EXPECT_TRUE(box.entryExists(u"junk\\a.tmp"));
        EXPECT_TRUE(box.valueExists(u"junk", u"v"));
        EXPECT_EQ(bytesOf(settings), damaged) << "the file stays as it was";
        EXPECT_EQ(copies(), 0) << "nothing written, nothing to keep";
    }

    CapturedOutput listed;
    EXPECT_EQ(run({u"list"}, listed), s::app::kExitDone);
    EXPECT_EQ(listed.err, stated + "; this is what could be read of it\n");
    EXPECT_NE(listed.out.find("JunkGroup"), std::string::npos) << "what could be read";

    // Forced, the clean takes what could be read; the file is not written.
    CapturedOutput forced;
    EXPECT_EQ(run({u"clean", u"--force-defaults"}, forced), s::app::kExitDone) << forced.err;
    EXPECT_EQ(forced.err.substr(0, forced.err.find('\n') + 1),
              stated + "; going on with what could be read of it (--force-defaults)\n");
    EXPECT_EQ(bytesOf(settings), damaged);

    // A forced check writes the file: the damaged one is kept first.
    CapturedOutput check;
    ASSERT_EQ(run({u"check", u"KeptGroup", u"on", u"--force-defaults"}, check), s::app::kExitDone) << check.err;
    const std::string kept = "; a copy of it as it was is kept as ";
    const std::size_t at = check.err.find(kept);
    ASSERT_NE(at, std::string::npos) << check.err;
    const std::string copy = check.err.substr(at + kept.size(), check.err.size() - at - kept.size() - 1);
    EXPECT_EQ(copy.rfind(utf8(box.path(u"SaveData.damaged-")), 0), 0u) << copy;
    EXPECT_EQ(bytesOf(s::str::strbuffer::StrBuffer::fromUtf8(copy).view()), damaged) << "byte for byte";
    EXPECT_EQ(copies(), 1);
    EXPECT_EQ(s::xml::openFileStore(settings)->damagedLine(), 0) << "the file written is whole";
    CapturedOutput after;
    EXPECT_EQ(run({u"preview"}, after), s::app::kExitDone) << after.err;
}

TEST_F(ConsoleProgram, PreviewFilesShowsTheRealSizesOfNamesWindowsRewritesAndCleanTakesThem)
{
    using s::platform::testing::FixtureEntry;
    using s::platform::testing::rewrittenNames;
    const std::u16string folder = box.namesFixture(u"console", rewrittenNames());
    ASSERT_FALSE(folder.empty()) << "the names fixture is missing (under Wine the CTest fixture wine_names makes it)";
    {
        auto store = s::xml::openFileStore(settings);
        TimeRecordHandle group(TimeRecord::makeGroup(u"Names", u"Names", u"test group"));
        group->custom = true;
        group->addChild(TimeRecord::makeTarget(Type_Folder_All_Levels, u"all", folder));
        group->checked = true;
        writeCustomGroup(*group, *store, 2);
        saveChecks(*group, kItemsPrefix, *store);
        store->setS32(u"CustomItems", u"NumOfCustom", 3);
        ASSERT_TRUE(store->save());
    }
    // Each entry of the folder is an item: a file with its size, a folder
    // with everything in it.
    std::vector<Item> expected;
    int64_t found = 0;
    int64_t size = 0;
    for (const FixtureEntry& entry : rewrittenNames()) {
        if (entry.relative.find(u'\\') != std::u16string::npos)
            continue;
        Item item{entry.folder ? "folder" : "file", utf8(folder + u"\\" + entry.relative), 1,
                  static_cast<int64_t>(entry.size())};
        for (const FixtureEntry& inside : rewrittenNames()) {
            if (inside.relative.rfind(entry.relative + u"\\", 0) == 0) {
                ++item.found;
                item.size += static_cast<int64_t>(inside.size());
            }
        }
        found += item.found;
        size += item.size;
        expected.push_back(item);
    }
    std::sort(expected.begin(), expected.end(), [](const Item& a, const Item& b) { return a.path < b.path; });

    CapturedOutput preview;
    ASSERT_EQ(run({u"preview", u"--files", u"--json", u"Names"}, preview), s::app::kExitDone) << preview.err;
    const JsonValue result = parsed(preview.out);
    ASSERT_EQ(result["groups"].size(), 1u);
    ASSERT_EQ(result["groups"][0]["targets"].size(), 1u);
    EXPECT_EQ(items(result["groups"][0]["targets"][0]), expected);
    EXPECT_EQ(result["items"]["found"].integer(), found);
    EXPECT_EQ(result["items"]["size"].integer(), size);

    CapturedOutput clean;
    ASSERT_EQ(run({u"clean", u"--json"}, clean), s::app::kExitDone) << clean.err;
    const JsonValue cleaned = parsed(clean.out);
    EXPECT_EQ(cleaned["pendingFound"].integer(), 0);
    EXPECT_EQ(cleaned["deletedFound"].integer(), found + 3) << "the names, and JunkGroup's two files and value";
    EXPECT_TRUE(Sandbox::listedNames(folder).empty()) << "left: " << Sandbox::listedNames(folder).size();
    EXPECT_TRUE(Sandbox::listed(folder)) << "the all-levels kind keeps its folder";
}

TEST_F(ConsoleProgram, PreviewFilesListsWhatTheCleanThenDeletes)
{
    ASSERT_TRUE(box.makeFile(u"junk\\deeper\\d.tmp", 30)) << "a folder the 1-level kind does not take";
    const Item a{"file", utf8(box.path(u"junk\\a.tmp")), 1, 100};
    const Item b{"file", utf8(box.path(u"junk\\b.tmp")), 1, 50};
    const Item c{"file", utf8(box.path(u"kept\\c.tmp")), 1, 70};
    const Item junkValue{"value", utf8(valuePath(u"junk")), 1, 5};
    const Item keptValue{"value", utf8(valuePath(u"kept")), 1, 5};
    struct Row {
        const char16_t* scope;  // nullptr: the checked selection
        std::vector<std::pair<std::string, std::vector<std::vector<Item>>>> groups;
        int64_t found;
        int64_t size;
    };
    const Row rows[] = {
        {nullptr, {{"JunkGroup", {{a, b}, {junkValue}}}}, 3, 155},
        {u"keptgroup", {{"KeptGroup", {{c}, {keptValue}}}}, 2, 75},
        {u"JunkGroup/Value", {{"JunkGroup", {{junkValue}}}}, 1, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scope ? utf8(row.scope) : "selection");
        std::vector<std::u16string> args = {u"preview", u"--files", u"--json"};
        if (row.scope)
            args.push_back(row.scope);
        CapturedOutput output;
        ASSERT_EQ(run(args, output), 0) << output.err;
        const JsonValue preview = parsed(output.out);
        EXPECT_EQ(preview.names(), (std::vector<std::string>{"command", "all", "files", "groups", "totals", "items"}));
        EXPECT_EQ(preview["command"].string(), "preview");
        EXPECT_TRUE(preview["files"].boolean());
        EXPECT_EQ(preview["items"]["found"].integer(), row.found);
        EXPECT_EQ(preview["items"]["size"].integer(), row.size);
        ASSERT_EQ(preview["groups"].size(), row.groups.size());
        for (std::size_t g = 0; g < row.groups.size(); ++g) {
            const JsonValue& group = preview["groups"][g];
            EXPECT_EQ(group["id"].string(), row.groups[g].first);
            ASSERT_EQ(group["targets"].size(), row.groups[g].second.size());
            for (std::size_t t = 0; t < row.groups[g].second.size(); ++t)
                EXPECT_EQ(items(group["targets"][t]), row.groups[g].second[t]) << "target " << t;
        }
    }

    CapturedOutput text;
    ASSERT_EQ(run({u"preview", u"--files", u"JunkGroup/value"}, text), 0);
    EXPECT_EQ(text.out, "[x] JunkGroup  3 / 155 B  <JunkGroup, custom>\n"
                        "    [x] v  1 / 5 B\n"
                        "        5 B  " +
                            utf8(valuePath(u"junk")) +
                            "\n"
                            "Items: 1 (5 B)\n");

    CapturedOutput unknown;
    EXPECT_EQ(run({u"preview", u"--files", u"JunkGroup/nothing"}, unknown), s::app::kExitError);
    EXPECT_EQ(unknown.err.substr(unknown.err.rfind("purgoc:")),
              "purgoc: no target named nothing in group JunkGroup; `purgoc list` shows them\n");

    // What the selection listed goes, and nothing else.
    CapturedOutput clean;
    ASSERT_EQ(run({u"clean"}, clean), 0) << clean.err;
    EXPECT_FALSE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_FALSE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_FALSE(box.valueExists(u"junk", u"v"));
    EXPECT_TRUE(box.entryExists(u"junk\\deeper\\d.tmp"));
    EXPECT_TRUE(box.entryExists(u"kept\\c.tmp"));
    EXPECT_TRUE(box.valueExists(u"kept", u"v"));
}

// The keep list from the console: entries added (a file, a value, a
// pattern), listed, honoured by preview --files and clean, removed by number
// and by text.
TEST_F(ConsoleProgram, KeepAddsListsAndRemovesEntriesThatEveryRunHonours)
{
    CapturedOutput empty;
    ASSERT_EQ(run({u"keep", u"list"}, empty), 0) << empty.err;
    EXPECT_EQ(empty.out, "The keep list is empty.\n");

    const std::string file = utf8(box.path(u"junk\\a.tmp"));
    CapturedOutput added;
    ASSERT_EQ(run({u"keep", u"add", box.path(u"junk\\a.tmp")}, added), 0) << added.err;
    EXPECT_EQ(added.out.rfind("Kept:    1  file    20", 0), 0u) << added.out;
    EXPECT_EQ(added.out.substr(added.out.size() - file.size() - 1), file + "\n");

    struct Row {
        std::vector<std::u16string> args;
        bool added;
        const char* type;
        std::string path;
        std::string name;  // "" : null
        int64_t number;
    };
    const Row rows[] = {
        // A key path whose last part is a value of its parent: the value.
        {{valuePath(u"junk")}, true, "value", "HKEY_CURRENT_USER\\" + utf8(box.keyPath()) + "\\junk", "v", 2},
        {{box.path(u"kept"), u"--pattern", u"*.TMP"}, true, "pattern", utf8(box.path(u"kept")), "*.TMP", 3},
        {{box.path(u"JUNK\\A.TMP")}, false, "file", file, "", 1},
        {{box.path(u"junk")}, true, "folder", utf8(box.path(u"junk")), "", 4},
    };
    for (const Row& row : rows) {
        std::vector<std::u16string> args = {u"keep", u"add", u"--json"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        CapturedOutput output;
        ASSERT_EQ(run(args, output), 0) << utf8(row.args[0]) << ": " << output.err;
        const JsonValue result = parsed(output.out);
        EXPECT_EQ(result["command"].string(), "keep");
        EXPECT_EQ(result["action"].string(), "add");
        EXPECT_EQ(result["added"].boolean(), row.added) << utf8(row.args[0]);
        const JsonValue& entry = result["entry"];
        EXPECT_EQ(entry.names(), (std::vector<std::string>{"number", "type", "path", "name", "text", "added"}));
        EXPECT_EQ(entry["number"].integer(), row.number) << utf8(row.args[0]);
        EXPECT_EQ(entry["type"].string(), row.type) << utf8(row.args[0]);
        EXPECT_EQ(entry["path"].string(), row.path) << utf8(row.args[0]);
        EXPECT_EQ(row.name.empty() ? entry["name"].isNull() : entry["name"].string() == row.name, true)
            << utf8(row.args[0]);
        EXPECT_EQ(entry["added"].string().size(), 20u) << "yyyy-mm-ddThh:mm:ssZ";
    }
    // The folder entry would keep the whole group: take it away again, by
    // its text.
    CapturedOutput byText;
    ASSERT_EQ(run({u"keep", u"remove", box.path(u"junk")}, byText), 0) << byText.err;
    EXPECT_EQ(byText.out.rfind("No longer kept:    4  folder", 0), 0u) << byText.out;

    CapturedOutput relative;
    EXPECT_EQ(run({u"keep", u"add", u"junk\\a.tmp"}, relative), s::app::kExitError);
    EXPECT_EQ(relative.err, "purgoc: cannot keep junk\\a.tmp: it is neither a full path nor a registry key\n");

    // preview --files leaves the kept items out and counts them per target.
    CapturedOutput preview;
    ASSERT_EQ(run({u"preview", u"--files", u"--json", u"JunkGroup"}, preview), 0) << preview.err;
    const JsonValue targets = parsed(preview.out)["groups"][0]["targets"];
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(items(targets[0]), (std::vector<Item>{{"file", utf8(box.path(u"junk\\b.tmp")), 1, 50}}));
    EXPECT_EQ(targets[0]["kept"]["found"].integer(), 1);
    EXPECT_EQ(targets[0]["kept"]["size"].integer(), 100);
    EXPECT_EQ(items(targets[1]), std::vector<Item>{});
    EXPECT_EQ(targets[1]["kept"]["found"].integer(), 1);
    EXPECT_EQ(targets[1]["kept"]["size"].integer(), 5);
    EXPECT_EQ(targets[0]["found"].integer(), 1) << "the scan counts only what goes";

    CapturedOutput clean;
    ASSERT_EQ(run({u"clean"}, clean), 0) << clean.err;
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_FALSE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_TRUE(box.valueExists(u"junk", u"v"));
    // The start-up clean honours it too.
    ASSERT_TRUE(box.makeFile(u"junk\\b.tmp", 50));
    CapturedOutput boot;
    ASSERT_EQ(run({u"clean", u"--boot"}, boot), 0) << boot.err;
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_FALSE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_TRUE(box.valueExists(u"junk", u"v"));

    CapturedOutput list;
    ASSERT_EQ(run({u"keep", u"list", u"--json"}, list), 0) << list.err;
    const JsonValue entries = parsed(list.out)["entries"];
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]["text"].string(), file);
    EXPECT_EQ(entries[1]["text"].string(), utf8(valuePath(u"junk")));
    EXPECT_EQ(entries[2]["text"].string(), utf8(box.path(u"kept")) + "\\*.TMP");

    CapturedOutput byNumber;
    ASSERT_EQ(run({u"keep", u"remove", u"1", u"--json"}, byNumber), 0) << byNumber.err;
    EXPECT_EQ(parsed(byNumber.out)["entry"]["text"].string(), file);
    CapturedOutput unknown;
    EXPECT_EQ(run({u"keep", u"remove", u"7"}, unknown), s::app::kExitError);
    EXPECT_EQ(unknown.err, "purgoc: no entry 7 in the keep list; `purgoc keep list` shows them\n");

    // Once no longer kept, the file is the clean's again.
    CapturedOutput again;
    ASSERT_EQ(run({u"clean"}, again), 0) << again.err;
    EXPECT_FALSE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_TRUE(box.valueExists(u"junk", u"v"));
}

TEST_F(ConsoleProgram, CleanReportsItsCountsAndExitsWithThreeWhenItemsWaitForTheBoot)
{
    CapturedOutput text;
    CapturedOutput json;
    {
        // A file another program holds open cannot go now: it is handed to
        // Windows for the next boot and counts as pending.
        auto held = box.holdOpen(u"junk\\b.tmp");
        ASSERT_NE(held, nullptr);
        const std::size_t scheduledBefore = box.scheduledAtReboot().size();
        ASSERT_EQ(run({u"clean"}, text), s::app::kExitPending) << text.err;
        const auto scheduled = box.scheduledAtReboot();
        ASSERT_EQ(scheduled.size(), scheduledBefore + 1);
        EXPECT_EQ(scheduled.back(), box.path(u"junk\\b.tmp"));
        // Again: nothing more to delete, the held file still waits.
        ASSERT_EQ(run({u"clean", u"--json"}, json), s::app::kExitPending) << json.err;
    }
    EXPECT_FALSE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_TRUE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_FALSE(box.valueExists(u"junk", u"v"));
    EXPECT_TRUE(box.entryExists(u"kept\\c.tmp")) << "an unchecked group is left alone";
    EXPECT_TRUE(box.valueExists(u"kept", u"v"));
    EXPECT_EQ(text.out, "2 (105 B) items have been deleted successfully.\n"
                        "1 (50 B) items will be deleted on the next system boot.\n");

    const JsonValue result = parsed(json.out);
    EXPECT_EQ(result.names(), (std::vector<std::string>{"command", "mode", "deletedFound", "deletedSize",
                                                        "pendingFound", "pendingSize", "message", "skipped"}));
    EXPECT_TRUE(result["skipped"].items().empty());
    EXPECT_EQ(result["command"].string(), "clean");
    EXPECT_EQ(result["mode"].string(), "interactive");
    EXPECT_EQ(result["deletedFound"].integer(), 0);
    EXPECT_EQ(result["deletedSize"].integer(), 0);
    EXPECT_EQ(result["pendingFound"].integer(), 1);
    EXPECT_EQ(result["pendingSize"].integer(), 50);
    EXPECT_EQ(result["message"].string(), "0 (0 B) items have been deleted successfully.\n"
                                          "1 (50 B) items will be deleted on the next system boot.");

    // The held file gone, the next clean leaves nothing: 0.
    ASSERT_TRUE(box.makeFile(u"kept\\c.tmp", 70));
    CapturedOutput check;
    ASSERT_EQ(run({u"check", u"JunkGroup", u"off"}, check), 0);
    ASSERT_EQ(run({u"check", u"KeptGroup", u"on"}, check), 0);
    CapturedOutput done;
    ASSERT_EQ(run({u"clean", u"--json"}, done), s::app::kExitDone) << done.err;
    const JsonValue last = parsed(done.out);
    EXPECT_EQ(last["deletedFound"].integer(), 2);
    EXPECT_EQ(last["deletedSize"].integer(), 75);
    EXPECT_EQ(last["pendingFound"].integer(), 0);
    EXPECT_EQ(last["pendingSize"].integer(), 0);
    EXPECT_FALSE(box.entryExists(u"kept\\c.tmp"));
}

TEST_F(ConsoleProgram, BootCleanReportsTheTargetsItCleanedAndSchedulesNothing)
{
    auto held = box.holdOpen(u"junk\\b.tmp");
    ASSERT_NE(held, nullptr);
    const std::size_t scheduledBefore = box.scheduledAtReboot().size();
    CapturedOutput json;
    ASSERT_EQ(run({u"clean", u"--boot", u"--json"}, json), s::app::kExitDone) << json.err;
    EXPECT_EQ(box.scheduledAtReboot().size(), scheduledBefore) << "the start-up mode schedules nothing";
    EXPECT_FALSE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_TRUE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_FALSE(box.valueExists(u"junk", u"v"));
    EXPECT_TRUE(box.entryExists(u"kept\\c.tmp"));
    const JsonValue result = parsed(json.out);
    EXPECT_EQ(result.names(),
              (std::vector<std::string>{"command", "mode", "groupsCleaned", "targetsCleaned", "skipped"}));
    EXPECT_EQ(result["command"].string(), "clean");
    EXPECT_EQ(result["mode"].string(), "boot");
    EXPECT_EQ(result["groupsCleaned"].integer(), 1);
    EXPECT_EQ(result["targetsCleaned"].integer(), 2);

    CapturedOutput check;
    ASSERT_EQ(run({u"check", u"JunkGroup/value", u"off"}, check), 0);
    CapturedOutput text;
    ASSERT_EQ(run({u"clean", u"--boot"}, text), s::app::kExitDone);
    EXPECT_EQ(text.out, "Start-up clean: 1 checked targets in 1 checked groups were cleaned (this mode neither "
                        "measures again nor schedules anything for the next boot).\n");
}

TEST_F(ConsoleProgram, ProgressGoesToStandardErrorAsLinesOrOneUpdatingLine)
{
    CapturedOutput redirected;
    ASSERT_EQ(run({u"clean", u"--json"}, redirected), 0);
    parsed(redirected.out);  // nothing but the result on standard output
    const std::vector<std::string> steps = lines(redirected.err);
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(kGroupCount + 1)) << redirected.err.substr(0, 300);
    EXPECT_EQ(steps[0], "measuring 1/" + std::to_string(kGroupCount) + ": JunkGroup");
    EXPECT_EQ(steps[1], "measuring 2/" + std::to_string(kGroupCount) + ": KeptGroup");
    for (int i = 0; i < kGroupCount; ++i)
        EXPECT_EQ(steps[static_cast<std::size_t>(i)].rfind("measuring " + std::to_string(i + 1) + "/", 0), 0u)
            << steps[static_cast<std::size_t>(i)];
    EXPECT_EQ(steps.back(), "cleaning 1/" + std::to_string(kGroupCount) + ": JunkGroup");

    CapturedOutput console;
    console.console = true;
    ASSERT_EQ(run({u"preview"}, console), 0);
    EXPECT_EQ(console.err.find('\n'), std::string::npos) << "one line, rewritten";
    const std::string first = "\rmeasuring 1/" + std::to_string(kGroupCount) + ": JunkGroup";
    ASSERT_EQ(console.err.rfind(first, 0), 0u) << console.err.substr(0, 100);
    // The shorter second text covers the first one's tail with spaces.
    const std::string second = "\rmeasuring 2/" + std::to_string(kGroupCount) + ": KeptGroup";
    EXPECT_EQ(console.err.substr(first.size(), second.size()), second);
    std::size_t longest = 0;
    for (std::size_t at = console.err.find('\r'); at != std::string::npos;) {
        const std::size_t next = console.err.find('\r', at + 1);
        const std::string shown = console.err.substr(at + 1, next == std::string::npos ? next : next - at - 1);
        longest = std::max(longest, utf16Length(shown));
        at = next;
    }
    EXPECT_LE(longest, 79u) << "wider than a console line";
    EXPECT_EQ(console.err.substr(console.err.size() - 1), "\r") << "the line is cleared at the end";
    EXPECT_NE(console.out.find("[x] JunkGroup"), std::string::npos);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
