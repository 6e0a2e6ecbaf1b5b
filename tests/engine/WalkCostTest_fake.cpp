// What a measure, a preview and a clean ask of the file system per entry,
// counted by the in-memory machine: one enumeration step each, and no
// attribute or long-name query of its own (the enumeration reported the
// attributes and the size; the folder's long path is asked once per walk).
// Each row runs over a folder of few and of many files, and the queries
// must not grow with the files; below a short name the long-name question
// is still asked, so that a protected place written with one is found.
#include "engine/Clean.h"
#include "engine/CleanItems.h"
#include "engine/Scan.h"

#include "platform/fake/FakeFileSystem.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
namespace p = s::platform;

std::u16string number(int value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

class WalkCost : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(box.ok()) << box.failure(); }

    // A folder "w" of `files` files and two subfolders of `files` each.
    std::u16string seed(int files)
    {
        fs.removeTree(box.path(u"w"));
        for (const char16_t* folder : {u"w", u"w\\sub1", u"w\\sub2"})
            for (int i = 0; i < files; ++i)
                EXPECT_TRUE(fs.addFile(box.path(folder) + u"\\file" + number(i) + u".tmp", 10));
        return box.path(u"w");
    }

    Sandbox box;
    p::FakeFileSystem& fs = p::fakeFileSystem();
};

enum class Op { Measure, Preview, Clean };

struct Row {
    const char* what;
    Op op;
    TargetKind kind;
    std::u16string suffix;  // after the folder: "\\*.tmp" for a wildcard
};

p::FileCallCounts run(const Row& row, const std::u16string& folder)
{
    TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
    group->checked = true;
    TimeRecord* target = TimeRecord::makeTarget(row.kind, u"t", folder + row.suffix);
    target->wildInSubfolders = true;
    group->addChild(target);
    p::fakeFileSystem().resetCallCounts();
    switch (row.op) {
    case Op::Measure:
        scan(*group, nullptr, Captions::Without);
        break;
    case Op::Preview:
        forEachCleanItem(*target, [&](CleanItem& item) { measureCleanItem(item, *target); });
        break;
    case Op::Clean: {
        CleanContext context;
        context.mode = CleanMode::Startup;
        clean(*group, context);
        break;
    }
    }
    return p::fakeFileSystem().callCounts();
}

const Row kRows[] = {
    {"measure, all levels", Op::Measure, Type_Folder_All_Levels, u""},
    {"measure, *.tmp below", Op::Measure, Type_File_Wild, u"\\*.tmp"},
    {"preview, all levels", Op::Preview, Type_Folder_All_Levels, u""},
    {"preview, 1 level", Op::Preview, Type_Folder_1_Level, u""},
    {"preview, *.tmp below", Op::Preview, Type_File_Wild, u"\\*.tmp"},
    {"clean, all levels", Op::Clean, Type_Folder_All_Levels, u""},
    {"clean, all levels and self", Op::Clean, Type_Folder_All_Levels_IncludeSelf, u""},
    {"clean, 1 level", Op::Clean, Type_Folder_1_Level, u""},
    {"clean, *.tmp below", Op::Clean, Type_File_Wild, u"\\*.tmp"},
};

TEST_F(WalkCost, QueriesDoNotGrowWithTheEntries)
{
    for (const Row& row : kRows) {
        const p::FileCallCounts few = run(row, seed(2));
        const p::FileCallCounts many = run(row, seed(40));
        EXPECT_EQ(many.attributes, few.attributes) << row.what << ": an attribute query per entry";
        EXPECT_EQ(many.longPathName, few.longPathName) << row.what << ": a long-name query per entry";
        EXPECT_LE(many.findNext - few.findNext, 3 * 38) << row.what << ": more than one step per entry";
        if (row.op == Op::Clean) {
            EXPECT_EQ(many.deleteFile - few.deleteFile, row.kind == Type_Folder_1_Level ? 38 : 3 * 38)
                << row.what << ": one delete per file";
        }
    }
}

TEST_F(WalkCost, BelowAShortNameTheLongNamesAreStillAsked)
{
    seed(2);
    ASSERT_TRUE(fs.setShortName(box.path(u"w"), u"W~1"));
    const std::u16string shortForm = box.path(u"W~1");
    const Row row{"clean by the short name", Op::Clean, Type_Folder_All_Levels, u""};
    const p::FileCallCounts counts = run(row, shortForm);
    // Each of the 2 files and 2 subfolders is an item: its own long path
    // is what a protected place would match.
    EXPECT_GE(counts.longPathName, 4) << narrow(shortForm);
    EXPECT_FALSE(fs.contains(box.path(u"w\\file0.tmp")));
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
