// The start-up's steps over the settings store and the registry, on the
// build's backend. Opening the software page is checked where the shell only
// records it (StartupStepsFakeTest_fake.cpp): under Wine it would start a
// browser.
#include "app/start/StartupSteps.h"

#include "base/XmlNode.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "platform/FileIo.h"
#include "platform/Resources.h"
#include "settings/MappedData.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace s::app::win {
namespace {

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

class StartupSteps : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto data = s::platform::findResource(u"IDR_XML", 130);
        s::xml::Node root;
        root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        localizer.load(root, 10);
    }
    s::xml::MappedDataHandle open(std::string_view content)
    {
        scratch.putFile(u"SaveData.xml", content);
        return s::xml::openFileStore(scratch.join(u"SaveData.xml"), s::platform::fileIo());
    }

    s::lang::Localizer localizer;
    testing_platform::ScratchFolder scratch;
};

TEST_F(StartupSteps, TheVersionIsRecordedAtTheTopAndUnderTheFrame)
{
    auto store = open("<savedata><Version>1.25</Version></savedata>");
    ASSERT_TRUE(store);
    store->setAutoSave(true);
    recordVersion(*store, localizer);
    recordVersionUnder(*store, u"MainWindow", localizer);
    EXPECT_EQ(store->getString(u"SoftwareType", u"", u"").toUtf8(), "Freeware");
    EXPECT_EQ(store->getString(u"SoftwareID", u"", u"").toUtf8(), "Oxle Purgo");
    EXPECT_EQ(store->getString(u"Version", u"", u"").toUtf8(), "1.25");
    for (const char16_t* section : {u"MainWindow\\SoftwareType", u"MainWindow\\SoftwareID", u"MainWindow\\Version"})
        EXPECT_FALSE(store->getString(section, u"", u"").isEmpty()) << narrow(section);
    EXPECT_TRUE(store->autoSave()) << "auto-save is back as it was";
    std::string onDisk;
    ASSERT_TRUE(scratch.readBack(u"SaveData.xml", onDisk));
    EXPECT_EQ(onDisk, "<savedata><Version>1.25</Version><SoftwareType>Freeware</SoftwareType>"
                      "<SoftwareID>Oxle&#160;Purgo</SoftwareID><MainWindow><SoftwareType>Freeware</SoftwareType>"
                      "<SoftwareID>Oxle&#160;Purgo</SoftwareID><Version>1.25</Version></MainWindow></savedata>")
        << "the values are elements of the root and of the frame's section";
}

TEST_F(StartupSteps, TheStoredLanguageIsChosenAndAnUnknownOneIsReplaced)
{
    struct Row {
        const char* what;
        const char* stored;
        const char* current;
        bool rewritten;
    };
    const Row rows[] = {
        {"a stored language", "<savedata><Language>German</Language></savedata>", "German", false},
        {"any case", "<savedata><Language>gERMAN</Language></savedata>", "German", false},
        {"an unknown one", "<savedata><Language>Klingon</Language></savedata>", "English", true},
        {"none stored", R"(<savedata></savedata>)", "English", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        localizer.select(u"English");
        auto store = open(row.stored);
        ASSERT_TRUE(store);
        const bool had = store->exists(u"Language", u"");
        const auto before = store->getString(u"Language", u"", u"");
        chooseLanguage(*store, localizer);
        EXPECT_EQ(localizer.current()->engName().toUtf8(), row.current);
        const auto after = store->getString(u"Language", u"", u"");
        EXPECT_EQ(had && !before.equals(after.view()), row.rewritten) << after.toUtf8();
    }
}

TEST_F(StartupSteps, SilentIsOnlyLookedAtForAStartWithoutArguments)
{
    using s::process::commandline::win::CommandLine;
    EXPECT_FALSE(answerSilentRequest(CommandLine::fromArguments(u"-startup"), localizer));
    // No key of the program in a fresh prefix, nor on the in-memory machine.
    EXPECT_FALSE(answerSilentRequest(CommandLine::fromArguments(u""), localizer));
}

}  // namespace
}  // namespace s::app::win
