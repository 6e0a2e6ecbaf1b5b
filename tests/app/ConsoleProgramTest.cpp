// The console program end to end on the build's backend: a settings file with
// a checked and an unchecked custom group over sandbox folders, then list,
// check, preview and clean as a script would run them.
#include "app/ConsoleProgram.h"

#include "catalogue/CustomGroups.h"
#include "engine/CheckedStates.h"
#include "platform/FileIo.h"
#include "settings/MappedData.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::Sandbox;

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
        const std::u16string value = u"HKEY_CURRENT_USER\\" + box.keyPath() + u"\\" + folder + u"\\v";
        group->addChild(TimeRecord::makeTarget(Type_RegValue, u"value", value));
        group->checked = checked;
        writeCustomGroup(*group, store, index);
        saveChecks(*group, kItemsPrefix, store);
    }

    int run(std::vector<std::u16string> args, s::app::ConsoleOutput& output)
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

TEST_F(ConsoleProgram, UsageErrorsExitWithTwo)
{
    const std::vector<std::vector<std::u16string>> bad = {{},
                                                          {u"frobnicate"},
                                                          {u"check", u"JunkGroup"},
                                                          {u"check", u"JunkGroup", u"maybe"},
                                                          {u"list", u"--boot"},
                                                          {u"preview", u"--settings"}};
    for (const auto& args : bad) {
        s::app::ConsoleOutput output;
        EXPECT_EQ(s::app::runConsole(args, output), 2) << args.size();
        EXPECT_NE(output.err.find("usage:"), std::string::npos);
    }
    s::app::ConsoleOutput output;
    EXPECT_EQ(run({u"check", u"NoSuchGroup", u"on"}, output), 2);
}

TEST_F(ConsoleProgram, CleanDeletesTheCheckedSelectionOnly)
{
    s::app::ConsoleOutput list;
    ASSERT_EQ(run({u"list"}, list), 0) << list.err;
    const std::size_t junk = list.out.find("[x] JunkGroup");
    const std::size_t kept = list.out.find("[ ] KeptGroup");
    ASSERT_NE(junk, std::string::npos) << list.out;
    ASSERT_NE(kept, std::string::npos) << list.out;
    EXPECT_LT(junk, kept) << "custom groups lead, in record order";
    EXPECT_NE(list.out.find("SystemTemporaryFolder"), std::string::npos) << "then the built-in groups";

    s::app::ConsoleOutput preview;
    ASSERT_EQ(run({u"preview", u"--json"}, preview), 0);
    EXPECT_EQ(preview.out.rfind("{\"groups\":[{\"id\":\"JunkGroup\"", 0), 0u) << preview.out.substr(0, 200);
    EXPECT_NE(preview.out.find("\"found\":3,\"size\":155"), std::string::npos) << "two files and a value";
    EXPECT_NE(preview.out.find("\"totals\":{"), std::string::npos);

    s::app::ConsoleOutput clean;
    {
        // A file another program holds open cannot go now: it is handed to
        // Windows for the next boot and counts as pending.
        auto held = box.holdOpen(u"junk\\b.tmp");
        ASSERT_NE(held, nullptr);
        const std::size_t scheduledBefore = box.scheduledAtReboot().size();
        ASSERT_EQ(run({u"clean"}, clean), 0) << clean.err;
        const auto scheduled = box.scheduledAtReboot();
        ASSERT_EQ(scheduled.size(), scheduledBefore + 1);
        EXPECT_EQ(scheduled.back(), box.path(u"junk\\b.tmp"));
    }
    EXPECT_FALSE(box.entryExists(u"junk\\a.tmp"));
    EXPECT_TRUE(box.entryExists(u"junk\\b.tmp"));
    EXPECT_FALSE(box.valueExists(u"junk", u"v"));
    EXPECT_TRUE(box.entryExists(u"kept\\c.tmp")) << "an unchecked group is left alone";
    EXPECT_TRUE(box.valueExists(u"kept", u"v"));
    EXPECT_EQ(clean.out, "2 (105 B) items have been deleted successfully.\n"
                         "1 (50 B) items will be deleted on the next system boot.\n");
}

TEST_F(ConsoleProgram, CheckSavesTheSelection)
{
    s::app::ConsoleOutput output;
    ASSERT_EQ(run({u"check", u"KeptGroup", u"on"}, output), 0) << output.err;
    ASSERT_EQ(run({u"check", u"JunkGroup/files", u"off"}, output), 0) << output.err;
    ASSERT_EQ(run({u"check", u"JunkGroup/value", u"off"}, output), 0) << output.err;
    s::app::ConsoleOutput list;
    ASSERT_EQ(run({u"list"}, list), 0);
    EXPECT_NE(list.out.find("[x] KeptGroup"), std::string::npos) << list.out.substr(0, 400);
    EXPECT_NE(list.out.find("[ ] files"), std::string::npos);

    s::app::ConsoleOutput clean;
    ASSERT_EQ(run({u"clean", u"--json"}, clean), 0);
    EXPECT_TRUE(box.entryExists(u"junk\\a.tmp")) << "its only target was unchecked";
    EXPECT_FALSE(box.entryExists(u"kept\\c.tmp"));
    EXPECT_NE(clean.out.find("\"deletedFound\":2,\"deletedSize\":75"), std::string::npos) << clean.out;
    EXPECT_TRUE(box.valueExists(u"junk", u"v")) << "its group's targets were unchecked";
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
