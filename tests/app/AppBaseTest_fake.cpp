// The application object's preparation and the start's decisions on the
// in-memory machine, where the shell, the Task Scheduler and the processes
// record what they were asked.
#include "app/start/AppBase.h"

#include "gui/Skinner.h"
#include "lang/LangPack.h"
#include "platform/RegFunctions.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeShell.h"
#include "platform/fake/FakeTaskScheduler.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace s::app::win {
namespace {

namespace p = s::platform;

constexpr char16_t kSoftwarePageAddress[] = u"https://oxle.example/purgo/";

class AppStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        modulePath = std::u16string(scratch.join(u"purgo.exe").view());
        p::fakeMachineFacts().setModulePath(modulePath);
        p::fakeShell().forgetRequests();
        p::fakeProcesses().clear();
        p::fakeTaskScheduler().clear();
    }
    void TearDown() override { p::fakeMachineFacts().setModulePath(u""); }

    // The settings file of the program in the scratch folder.
    void storeSettings(std::string_view xml) const { scratch.putFile(u"savedata\\SaveData.xml", xml); }
    std::string settingsFile() const
    {
        std::string bytes;
        scratch.readBack(u"savedata\\SaveData.xml", bytes);
        return bytes;
    }
    int pagesOpened() const
    {
        int count = 0;
        for (const p::ShellRequest& request : p::fakeShell().requests())
            if (request.kind == p::ShellRequest::Kind::OpenAddress)
                ++count;
        return count;
    }

    testing_platform::ScratchFolder scratch;
    std::u16string modulePath;
    s::gui::drawer::Skinner skins;
};

TEST_F(AppStart, AFreshStartWritesItsIdentityOnceAndOpensTheSoftwarePage)
{
    AppBase app;
    app.initialise(u"\"C:\\Some Where\\purgo.exe\"  /StartUp extra", &skins);
    EXPECT_EQ(app.modulePath(), modulePath);
    EXPECT_EQ(app.moduleFolder(), std::u16string(scratch.path().view()) + u"\\");
    EXPECT_EQ(app.commandLine().arguments(), (std::vector<std::u16string>{u"-StartUp", u"extra"}));
    EXPECT_EQ(app.productId(), 500000);
    EXPECT_EQ(app.edition(), u"Freeware");
    EXPECT_TRUE(app.settingsWritten());
    EXPECT_TRUE(app.settings().autoSave());

    EXPECT_EQ(settingsFile(), "<savedata><SoftwareType>Freeware</SoftwareType><SoftwareID>Oxle&#160;Purgo</SoftwareID>"
                              "<Version>1.25</Version></savedata>");
    EXPECT_EQ(scratch.writes(), 1) << "the start's values reach the file in one write";
    ASSERT_EQ(pagesOpened(), 1);
    EXPECT_EQ(p::fakeShell().requests().front().first, kSoftwarePageAddress);
    EXPECT_EQ(app.lang().current()->engName().toUtf8(), "English");
    EXPECT_EQ(app.skinSetting().toUtf8(), "Classic LG");
    ASSERT_NE(skins.current(), nullptr);
    EXPECT_EQ(skins.skinName(skins.currentIndex()).toUtf8(), "Classic LG");
    EXPECT_GT(skins.skinCount(), 16) << "the embedded skin set replaced the built-in one";

    AppBase again;
    again.initialise(u"purgo.exe", &skins);
    EXPECT_EQ(pagesOpened(), 1) << "the second start of the same version opens nothing";
}

TEST_F(AppStart, AnUninstallerRunOpensNoPage)
{
    AppBase app;
    app.initialise(u"purgo.exe /UNINSTALL", &skins);
    EXPECT_EQ(pagesOpened(), 0) << "a fresh installation being removed";
    EXPECT_EQ(app.settings().getString(u"Version", u"", u"").toUtf8(), "1.25");
}

TEST_F(AppStart, TheStoredLanguageAndSkinAreChosen)
{
    struct Row {
        const char* what;
        const char* settings;
        const char* language;
        const char* skin;
        const char* skinSetting;
        const char* languageSetting;
    };
    const Row rows[] = {
        {"both stored", "<Language>German</Language><Skin>Fresh L</Skin>", "German", "Fresh L", "Fresh L", "German"},
        {"in other case", "<Language>gERMAN</Language><Skin>fresh l</Skin>", "German", "Fresh L", "fresh l", "gERMAN"},
        {"an unknown skin", "<Skin>No Such Skin</Skin>", "English", "Classic LG", "Classic LG", "English"},
        {"an unknown language", "<Language>Klingon</Language>", "English", "Classic LG", "Classic LG", "English"},
        {"nothing stored", "", "English", "Classic LG", "Classic LG", "English"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        storeSettings(std::string("<savedata><Version>1.25</Version>") + row.settings + "</savedata>");
        skins.reset();
        AppBase app;
        app.initialise(u"purgo.exe", &skins);
        EXPECT_EQ(app.lang().current()->engName().toUtf8(), row.language);
        EXPECT_EQ(skins.skinName(skins.currentIndex()).toUtf8(), row.skin);
        EXPECT_EQ(app.skinSetting().toUtf8(), row.skinSetting);
        EXPECT_EQ(app.languageSetting().toUtf8(), row.languageSetting) << "a name that differs in case only stays";
        EXPECT_EQ(pagesOpened(), 0);
    }
}

TEST_F(AppStart, AnUnreadableSettingsFileGivesDefaultsAndIsNeverOverwritten)
{
    const std::string kept = "<savedata><Version>1.25</Version><Language>German</Language></savedata>";
    storeSettings(kept);
    ASSERT_TRUE(p::fakeFileSystem().setFault(scratch.join(u"savedata\\SaveData.xml").view(), p::FileFault::ReadLocked));
    AppBase app;
    app.initialise(u"purgo.exe", &skins);
    EXPECT_EQ(app.lang().current()->engName().toUtf8(), "English");
    EXPECT_EQ(skins.skinName(skins.currentIndex()).toUtf8(), "Classic LG");
    app.setLanguageSetting(u"French");
    p::fakeFileSystem().setFault(scratch.join(u"savedata\\SaveData.xml").view(), p::FileFault::None);
    EXPECT_EQ(settingsFile(), kept);
}

TEST_F(AppStart, TheStartDecidesInOrder)
{
    auto& registry = p::regFunctions();
    struct Row {
        const char* what;
        const char16_t* commandLine;
        unsigned major, minor;
        bool nt;
        bool runningCopy;
        bool silentRequest;
        StartDecision decision;
        bool unregistered;
        int pages;
    };
    const Row rows[] = {
        {"a plain start", u"purgo.exe", 6, 1, true, false, false, StartDecision::Interactive, false, 0},
        {"at logon", u"purgo.exe /STARTUP", 10, 0, true, false, false, StartDecision::BootRun, false, 0},
        {"a longer word is no switch", u"purgo.exe -startupx", 6, 1, true, false, false, StartDecision::Interactive,
         false, 0},
        {"uninstall", u"purgo.exe -Uninstall", 6, 1, true, false, false, StartDecision::End, true, 0},
        {"both, uninstall first", u"purgo.exe -uninstall -startup", 6, 1, true, false, false, StartDecision::End, true,
         0},
        {"both, startup first", u"purgo.exe /startup /uninstall", 6, 1, true, true, false, StartDecision::End, true, 0},
        {"Windows 2000", u"purgo.exe -uninstall", 5, 0, true, false, false, StartDecision::End, false, 0},
        {"not NT", u"purgo.exe", 4, 90, false, false, false, StartDecision::End, false, 0},
        {"XP", u"purgo.exe", 5, 1, true, false, false, StartDecision::Interactive, false, 0},
        {"a copy runs", u"purgo.exe", 6, 1, true, true, true, StartDecision::End, false, 0},
        {"Silent without arguments", u"purgo.exe", 6, 1, true, false, true, StartDecision::Interactive, false, 1},
        {"Silent with arguments", u"purgo.exe -startup", 6, 1, true, false, true, StartDecision::BootRun, false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        storeSettings("<savedata><Version>1.25</Version></savedata>");
        p::fakeProcesses().clear();
        p::fakeTaskScheduler().clear();
        if (row.runningCopy) {
            p::fakeProcesses().addProcess(41, modulePath);
            p::fakeProcesses().addWindow(41, 0x4100, u"Oxle Purgo");
        }
        p::RegKey key;
        ASSERT_EQ(registry.createKey(p::RootKey::CurrentUser, u"Software\\Oxle\\Oxle Purgo", p::kKeyAllAccess, key),
                  0u);
        const std::uint32_t silent = row.silentRequest ? 1 : 0;
        registry.setValue(key, u"Silent", p::kRegDword, reinterpret_cast<const std::byte*>(&silent), sizeof(silent));
        AppBase app;
        app.initialise(row.commandLine, &skins);
        p::fakeShell().forgetRequests();

        OsVersion os;
        os.major = row.major;
        os.minor = row.minor;
        os.nt = row.nt;
        EXPECT_EQ(decideStart(app, os), row.decision);
        const auto calls = p::fakeTaskScheduler().calls();
        const bool unregistered = std::find(calls.begin(), calls.end(), u"delete Oxle Purgo 1.25") != calls.end();
        EXPECT_EQ(unregistered, row.unregistered);
        EXPECT_EQ(pagesOpened(), row.pages);
        bool told = false;
        for (const p::SentMessage& sent : p::fakeProcesses().sent())
            told = told || (sent.window == 0x4100 && sent.message == 1027);
        EXPECT_EQ(told, row.runningCopy && row.decision == StartDecision::End && !row.unregistered);
    }
    registry.deleteKey(p::RootKey::CurrentUser, u"Software\\Oxle\\Oxle Purgo");
    registry.deleteKey(p::RootKey::CurrentUser, u"Software\\Oxle");
}

}  // namespace
}  // namespace s::app::win
