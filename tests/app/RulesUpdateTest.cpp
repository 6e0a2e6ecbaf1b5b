// Getting the community rule file, on the build's backend: natively the
// scripted network, under Wine a server of the test's own on 127.0.0.1 and
// the real file system (the test runs from a copy on drive C:, so that
// savedata\ lies beside a real program). A sound answer takes the place of
// the file in one step; a damaged, cut-short or oversized one, or an error
// page, leaves the file there as it was.
#include "app/rules/RulesUpdate.h"

#include "catalogue/RuleGroups.h"
#include "lang/Localizer.h"
#include "platform/FileSystem.h"
#include "platform/Network.h"
#include "platform/ProgramFolder.h"
#include "tests/support/AnswerServer.h"
#include "tests/support/LanguageTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace s::app {
namespace {

namespace p = s::platform;
namespace purgo = s::file::gui::dialogs::purgo;

std::string narrow(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer(text).toUtf8();
}

// A rule file of two entries with the community file's header.
std::string goodFile()
{
    return "; Version: 250310\r\n; # of entries: 2\r\n\r\n"
           "[First App "
           "*]\r\nLangSecRef=3021\r\nDetectFile=%WinDir%\\NoSuchApp\r\nFileKey1=%WinDir%\\NoSuchApp|*.log\r\n\r\n"
           "[Second App *]\r\nLangSecRef=3022\r\nDetect=HKCU\\Software\\NoSuchApp\r\n"
           "RegKey1=HKCU\\Software\\NoSuchApp\r\n";
}

class RulesUpdate : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok());
        const std::vector<std::u16string> places = purgo::ruleFilePaths();
        ASSERT_EQ(places.size(), 2u);
        path = places[1];
        // Natively the program's folder is one the in-memory disk lacks.
        const std::u16string folder = p::programFolder().toU16String();
        for (std::size_t slash = folder.find(u'\\', 3);; slash = folder.find(u'\\', slash + 1)) {
            p::fileSystem().createDirectory(folder.substr(0, slash).c_str());
            if (slash == std::u16string::npos)
                break;
        }
        p::fileSystem().deleteFile(path.c_str());
    }

    void TearDown() override
    {
        p::fileSystem().deleteFile(path.c_str());
        p::fileSystem().deleteFile((path + u".new").c_str());
    }

    bool place(const std::string& bytes)
    {
        p::fileSystem().createDirectory(path.substr(0, path.rfind(u'\\')).c_str());
        return p::fileSystem().writeFile(path.c_str(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size(), p::IFileSystem::Flush::No) == p::kErrorSuccess;
    }

    std::string content()
    {
        std::vector<std::uint8_t> bytes;
        if (p::fileSystem().readFile(path.c_str(), 64u << 20, bytes) != p::kErrorSuccess)
            return "(none)";
        return std::string(bytes.begin(), bytes.end());
    }

    testing_platform::AnswerServer server;
    std::u16string path;  // savedata\winapp2.ini beside the program
};

TEST_F(RulesUpdate, ASoundAnswerTakesThePlaceOfTheFile)
{
    ASSERT_TRUE(place("[Old App *]\r\nFileKey1=C:\\Old|*.log\r\n"));
    const std::u16string address = server.serve("/Winapp2.ini", 200, goodFile());
    const RulesUpdateResult result = updateRules(address, p::network());
    EXPECT_EQ(result.outcome, RulesUpdateOutcome::Saved) << narrow(result.fault);
    EXPECT_EQ(result.path, path);
    EXPECT_EQ(result.versionLine, u"Version: 250310");
    EXPECT_EQ(result.entries, 2);
    EXPECT_EQ(content(), goodFile());
    EXPECT_FALSE(p::fileSystem().exists((path + u".new").c_str())) << "nothing left beside it";

    // The collect run reads it where it was put.
    std::vector<purgo::TimeRecord*> groups;
    purgo::RulesReport report;
    purgo::appendRuleGroups(groups, report);
    for (purgo::TimeRecord* group : groups)
        group->release();
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0], path);
    EXPECT_EQ(report.versions[0], u"Version: 250310");
    EXPECT_EQ(report.entries, 2);

    // What the window says: the version line and the number of entries.
    s::lang::Localizer& english = testing_platform::shippedLanguageTable();
    EXPECT_EQ(narrow(rulesUpdateMessage(result, english)),
              "The community rules have been downloaded and saved.\r\n\r\nVersion: 250310\r\nEntries: 2");
}

TEST_F(RulesUpdate, AnythingButASoundRuleFileLeavesTheFileAsItWas)
{
    const std::string old = goodFile();
    std::string cutShort = goodFile();
    cutShort.replace(cutShort.find("entries: 2"), 10, "entries: 3");
    std::string binary;
    for (int i = 0; i < 3000; ++i)
        binary.push_back(static_cast<char>(0x80 + (i * 37) % 0x80));
    // A sound file's beginning, and more bytes than the downloader keeps.
    std::string oversized = goodFile();
    oversized.resize(static_cast<std::size_t>(s::system::network::kMaxDownloadBytes) + 1000, ';');
    struct Case {
        const char* what;
        int status;
        std::string body;
        RulesUpdateOutcome outcome;
        const char* fault;
    };
    const Case cases[] = {
        {"a web page", 200, "<!DOCTYPE html>\n<html><body>Sign in to this network</body></html>\n",
         RulesUpdateOutcome::DoesNotParse, "no entry"},
        {"cut short", 200, cutShort, RulesUpdateOutcome::DoesNotParse,
         "its header announces 3 entries but it holds 2 (cut short)"},
        {"not text", 200, binary, RulesUpdateOutcome::DoesNotParse, "characters that are not text"},
        {"oversized", 200, oversized, RulesUpdateOutcome::NotDownloaded, ""},
        {"an error page", 404, "<html>Not Found</html>", RulesUpdateOutcome::NotDownloaded, ""},
    };
    int index = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(place(old));
        const std::u16string address = server.serve("/case" + std::to_string(++index), c.status, c.body);
        const RulesUpdateResult result = updateRules(address, p::network());
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_NE(narrow(result.fault).find(c.fault), std::string::npos) << c.what << ": " << narrow(result.fault);
        EXPECT_EQ(content(), old) << c.what << ": the file in place is untouched";
        EXPECT_FALSE(p::fileSystem().exists((path + u".new").c_str())) << c.what;
    }
    // Without a file in place, none appears.
    p::fileSystem().deleteFile(path.c_str());
    const RulesUpdateResult result = updateRules(server.serve("/page", 200, "<html></html>"), p::network());
    EXPECT_EQ(result.outcome, RulesUpdateOutcome::DoesNotParse);
    EXPECT_FALSE(p::fileSystem().exists(path.c_str()));
}

}  // namespace
}  // namespace s::app
