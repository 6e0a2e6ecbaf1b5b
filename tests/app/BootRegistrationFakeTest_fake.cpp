// The boot run's task as the recording Task Scheduler of native builds saw
// it, and what a failing step leaves behind.
#include "tests/app/BootRegistrationFixture.h"

#include "platform/fake/FakeTaskScheduler.h"

#include <vector>

namespace s::app::win {
namespace {

TEST_F(BootRegistration, TheTaskIsExactlyTheBootRun)
{
    auto& scheduler = p::fakeTaskScheduler();
    scheduler.clear();
    uac.set(1);
    registerBootRun(name, program, version(10, 0));
    const auto tasks = scheduler.tasks();
    ASSERT_EQ(tasks.size(), 1u);
    const p::LogonTask& task = tasks.at(name);
    p::LogonTask expected;
    expected.author = u"RunAsAdministratorWhenLoggedOn";
    expected.principalId = u"RunAsAdministratorWhenLoggedOn_Principal";
    expected.logonType = 3;
    expected.runLevel = 1;
    expected.startWhenAvailable = true;
    expected.disallowStartIfOnBatteries = false;
    expected.stopIfGoingOnBatteries = false;
    expected.triggerId = u"RunAsAdministratorWhenLoggedOn_Trigger";
    expected.triggerUserId = u"tester";
    expected.triggerDelay = u"PT0S";
    expected.actionPath = program;
    expected.actionArguments = u"-startup";
    expected.registrationFlags = 6;
    expected.registrationLogonType = 3;
    expected.securityDescriptor = u"";
    EXPECT_EQ(task, expected);
    EXPECT_EQ(scheduler.calls(), (std::vector<std::u16string>{u"delete " + name, u"register " + name}));
    EXPECT_TRUE(isBootRunRegistered(name, version(10, 0)));
    unregisterBootRun(name, version(10, 0));
    EXPECT_TRUE(scheduler.tasks().empty());
}

TEST_F(BootRegistration, AFailingStepEndsTheRegistrationWithoutAFallback)
{
    auto& scheduler = p::fakeTaskScheduler();
    uac.set(1);
    for (p::TaskStep step : {p::TaskStep::Connect, p::TaskStep::Register}) {
        scheduler.clear();
        scheduler.failAt(step, static_cast<p::HResult>(0x80070005u));  // access denied
        registerBootRun(name, program, version(6, 1));
        EXPECT_TRUE(scheduler.tasks().empty());
        EXPECT_FALSE(exists(bootRunShortcutPath(name))) << "no shortcut instead";
        scheduler.failAt(step, p::kSOk);
        EXPECT_FALSE(isBootRunRegistered(name, version(6, 1)));
    }
    scheduler.clear();
}
}  // namespace
}  // namespace s::app::win
