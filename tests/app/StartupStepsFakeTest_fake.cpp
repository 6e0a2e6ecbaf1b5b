// The start-up's steps that open the software page, where the shell only
// records what it was asked to open.
#include "app/start/StartupSteps.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/FileIo.h"
#include "platform/RegFunctions.h"
#include "platform/Resources.h"
#include "platform/fake/FakeShell.h"
#include "settings/MappedData.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace s::app::win {
namespace {

namespace p = s::platform;

class StartupPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto data = p::findResource(u"IDR_XML", 130);
        s::xml::Node root;
        root.parseUtf8(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
        localizer.load(root, 10);
        localizer.select(u"English");
        p::fakeShell().forgetRequests();
    }
    int pagesOpened()
    {
        int count = 0;
        for (const p::ShellRequest& request : p::fakeShell().requests())
            if (request.kind == p::ShellRequest::Kind::OpenAddress &&
                request.first == std::u16string(localizer.text(s::lang::ids::kSoftwarePage).view()))
                ++count;
        return count;
    }

    s::lang::Localizer localizer;
    testing_platform::ScratchFolder scratch;
};

TEST_F(StartupPage, AFreshInstallationOpensTheSoftwarePageOnce)
{
    // No settings file yet: "0.00" differs from "1.25".
    auto store = s::xml::openFileStore(scratch.join(u"SaveData.xml"), p::fileIo());
    ASSERT_TRUE(store);
    recordVersion(*store, localizer);
    EXPECT_EQ(pagesOpened(), 1);
    recordVersion(*store, localizer);
    EXPECT_EQ(pagesOpened(), 1) << "the second start does not";
}

TEST_F(StartupPage, ANonZeroSilentValueIsResetAndOpensThePage)
{
    auto& registry = p::regFunctions();
    p::RegKey key;
    ASSERT_EQ(registry.createKey(p::RootKey::CurrentUser, u"Software\\Oxle\\Oxle Purgo", p::kKeyAllAccess, key), 0u);
    const std::uint32_t one = 1;
    ASSERT_EQ(registry.setValue(key, u"Silent", p::kRegDword, reinterpret_cast<const std::byte*>(&one), sizeof(one)),
              0u);
    using s::process::commandline::win::CommandLine;
    EXPECT_FALSE(answerSilentRequest(CommandLine::fromArguments(u"/startup"), localizer)) << "only without arguments";
    EXPECT_EQ(pagesOpened(), 0);
    EXPECT_TRUE(answerSilentRequest(CommandLine::fromArguments(u""), localizer));
    EXPECT_EQ(pagesOpened(), 1);
    std::uint32_t value = 7;
    std::uint32_t length = sizeof(value);
    ASSERT_EQ(registry.queryValue(key, u"Silent", nullptr, reinterpret_cast<std::byte*>(&value), &length), 0u);
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(answerSilentRequest(CommandLine::fromArguments(u""), localizer)) << "0 asks for nothing";
    EXPECT_EQ(pagesOpened(), 1);
    registry.deleteKey(p::RootKey::CurrentUser, u"Software\\Oxle\\Oxle Purgo");
}

}  // namespace
}  // namespace s::app::win
