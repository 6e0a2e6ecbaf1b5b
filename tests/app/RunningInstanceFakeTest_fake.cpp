// Finding the running copy among the processes of the in-memory machine:
// which process is the copy, which windows are told, in which order, and
// that a hanging copy cannot hold the new start.
#include "app/start/RunningInstance.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/Resources.h"
#include "platform/fake/FakeProcesses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::app::win {
namespace {

namespace p = s::platform;

constexpr char16_t kProgram[] = u"C:\\Program Files\\Oxle Purgo\\purgo.exe";

s::lang::Localizer& table()
{
    static s::lang::Localizer* localizer = [] {
        auto* l = new s::lang::Localizer();
        const auto data = p::findResource(u"IDR_XML", 130);
        s::xml::Node root;
        root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        l->load(root, 10);
        return l;
    }();
    return *localizer;
}

// How many languages of the table call the product `caption` or longer.
int languagesNaming(std::u16string_view caption)
{
    int count = 0;
    for (int k = 0; k < table().count(); ++k) {
        const auto* name = table().pack(k)->find(500000);
        if (!name || name->length() < static_cast<int>(caption.size()))
            continue;
        bool same = true;
        for (std::size_t c = 0; c < caption.size() && same; ++c) {
            const auto fold = [](char16_t x) {
                return x >= u'a' && x <= u'z' ? x - u'a' + u'A' : x;
            };
            same = fold((*name)[static_cast<int>(c)]) == fold(caption[c]);
        }
        count += same ? 1 : 0;
    }
    return count;
}

class RunningInstance : public ::testing::Test {
protected:
    void SetUp() override
    {
        processes.clear();
        processes.addProcess(100, kProgram);  // this process
        processes.setCurrentProcessId(100);
    }
    void TearDown() override { processes.clear(); }

    std::vector<std::uint32_t> messagesTo(std::uintptr_t window)
    {
        std::vector<std::uint32_t> out;
        for (const p::SentMessage& sent : processes.sent())
            if (sent.window == window)
                out.push_back(sent.message);
        return out;
    }

    p::FakeProcesses& processes = p::fakeProcesses();
};

TEST_F(RunningInstance, TheCopyIsTheOtherProcessOfTheSameFile)
{
    struct Row {
        const char* what;
        std::u16string otherPath;
        bool found;
    };
    const Row rows[] = {
        {"the same file, other case", u"c:\\program files\\OXLE PURGO\\PURGO.EXE", true},
        {"another folder", u"D:\\Tools\\Oxle Purgo\\purgo.exe", false},
        {"a path that cannot be read", u"", false},
        {"a longer name", u"C:\\Program Files\\Oxle Purgo\\purgo.exe.old", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        processes.addProcess(200, row.otherPath);
        EXPECT_EQ(findRunningInstance(kProgram, table(), false, false, true), row.found);
        EXPECT_TRUE(processes.sent().empty()) << "nothing is sent without activate";
    }
    SetUp();
    EXPECT_FALSE(findRunningInstance(kProgram, table(), true, false, true)) << "the own process is no copy";

    // A copy whose window closed marks itself ending: a start in the
    // moments it still winds up opens a window of its own.
    SetUp();
    processes.addProcess(200, kProgram);
    processes.addWindow(200, 0x2000, u"Oxle Purgo");
    processes.setCurrentProcessId(200);
    processes.markEnding();
    processes.setCurrentProcessId(100);
    EXPECT_FALSE(findRunningInstance(kProgram, table(), true, false, true)) << "an ending copy is not the running one";
    EXPECT_TRUE(processes.sent().empty());
}

TEST_F(RunningInstance, TheMainWindowIsToldOncePerLanguageThatNamesIt)
{
    processes.addProcess(200, kProgram);
    processes.addWindow(200, 0x10, u"");                  // no caption: never the main window
    processes.addWindow(200, 0x20, u"Some tool window");  // another caption
    processes.addWindow(200, 0x30, u"OXLE PURGO");        // the main window, any case
    processes.addWindow(200, 0x40, u"Oxle Purgo");        // a second match: only the first is told
    ASSERT_TRUE(findRunningInstance(kProgram, table(), true, true, true));
    const int languages = languagesNaming(u"Oxle Purgo");
    ASSERT_GT(languages, 0);
    std::vector<std::uint32_t> expected;
    for (int k = 0; k < languages; ++k) {
        expected.push_back(kActivateMessage);
        expected.push_back(kRefreshMessage);
    }
    EXPECT_EQ(messagesTo(0x30), expected);
    EXPECT_TRUE(messagesTo(0x10).empty());
    EXPECT_TRUE(messagesTo(0x20).empty());
    EXPECT_TRUE(messagesTo(0x40).empty());
    for (const p::SentMessage& sent : processes.sent())
        EXPECT_EQ(sent.milliseconds, kSendTimeoutMilliseconds);
}

TEST_F(RunningInstance, WithoutLanguageNamesTheFirstCaptionedWindowIsTold)
{
    processes.addProcess(200, kProgram);
    processes.addWindow(200, 0x10, u"");
    processes.addWindow(200, 0x20, u"Anything");
    processes.addWindow(200, 0x30, u"Oxle Purgo");
    ASSERT_TRUE(findRunningInstance(kProgram, table(), true, false, false));
    EXPECT_EQ(messagesTo(0x20), std::vector<std::uint32_t>{kActivateMessage});
    EXPECT_TRUE(messagesTo(0x30).empty());
}

TEST_F(RunningInstance, AHangingCopyIsAskedOnceAndTheWaitIsBounded)
{
    processes.addProcess(200, kProgram);
    processes.addWindow(200, 0x30, u"Oxle Purgo");
    processes.setHung(200, true);
    ASSERT_TRUE(findRunningInstance(kProgram, table(), true, true, true));
    EXPECT_EQ(messagesTo(0x30), std::vector<std::uint32_t>{kActivateMessage}) << "no message after one not taken";
    ASSERT_EQ(processes.waits().size(), 1u);
    EXPECT_EQ(processes.waits()[0].process, 200u);
    EXPECT_EQ(processes.waits()[0].milliseconds, kIdleWaitMilliseconds) << "never an endless wait";
}

}  // namespace
}  // namespace s::app::win
