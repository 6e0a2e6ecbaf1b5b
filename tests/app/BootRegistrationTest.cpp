// The boot run's registration on the build's backend. The exact task is
// checked against the recording Task Scheduler of native builds; Wine
// implements too little of the service to keep a logon task, so there only
// the graceful outcome is checked. The shortcut form runs on both: under Wine
// in the prefix's real Startup folder (the test runs with winemenubuilder
// switched off, so that no desktop entry reaches the Linux home).
#include "tests/app/BootRegistrationFixture.h"

#include "platform/ShellLinks.h"

namespace s::app::win {
namespace {

TEST_F(BootRegistration, WithUacOffTheStartupShortcutStartsTheProgramWithTheSwitch)
{
    struct Row {
        const char* what;
        OsVersion os;
        bool uacOff;
    };
    const Row rows[] = {
        {"Windows 7 with UAC off", version(6, 1), true},
        {"Windows XP", version(5, 1), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.uacOff)
            uac.set(0);
        EXPECT_FALSE(bootRunUsesTask(row.os));
        EXPECT_FALSE(isBootRunRegistered(name, row.os));
        registerBootRun(name, program, row.os);
        const std::u16string link = bootRunShortcutPath(name);
        ASSERT_TRUE(exists(link));
        std::u16string target;
        std::u16string arguments;
        ASSERT_EQ(p::shellLinks().readShortcut(link.c_str(), target, arguments), p::kSOk);
        EXPECT_EQ(target, program);
        EXPECT_EQ(arguments, u"-startup");
        EXPECT_TRUE(isBootRunRegistered(name, row.os));
        unregisterBootRun(name, row.os);
        EXPECT_FALSE(exists(link));
        EXPECT_FALSE(isBootRunRegistered(name, row.os));
        uac.remove();
    }
}

TEST_F(BootRegistration, AShortcutIsMadeOnlyForAnExistingProgramAndNeverReplaced)
{
    uac.set(0);
    const OsVersion os = version(6, 1);
    registerBootRun(name, program + u".missing", os);
    EXPECT_FALSE(isBootRunRegistered(name, os)) << "no program file, no shortcut";

    const std::u16string link = bootRunShortcutPath(name);
    ASSERT_EQ(p::shellLinks().createShortcut(link.c_str(), u"C:\\other.exe", u""), p::kSOk);
    registerBootRun(name, program, os);
    std::u16string target;
    std::u16string arguments;
    ASSERT_EQ(p::shellLinks().readShortcut(link.c_str(), target, arguments), p::kSOk);
    EXPECT_EQ(target, u"C:\\other.exe") << "an existing shortcut stays";
}

TEST_F(BootRegistration, WithUacOnTheTaskFormIsTriedAndTheTruthIsTold)
{
    uac.remove();  // a missing value counts as on
    const OsVersion os = version(6, 1);
    ASSERT_TRUE(bootRunUsesTask(os));
    uac.set(1);
    ASSERT_TRUE(bootRunUsesTask(os));
    registerBootRun(name, program, os);
    EXPECT_FALSE(exists(bootRunShortcutPath(name))) << "never the shortcut in place of the task";
    EXPECT_EQ(isBootRunRegistered(name, os), p::taskScheduler().findTask(name) == p::kSOk);
    unregisterBootRun(name, os);
    EXPECT_FALSE(isBootRunRegistered(name, os));
}

}  // namespace
}  // namespace s::app::win
