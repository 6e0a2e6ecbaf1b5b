#include "tests/support/CatalogueMachine.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeProcesses.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeShellItems.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/fake/FakeUrlCache.h"

namespace catalogue_test {

void setUpMachine()
{
    auto& facts = s::platform::fakeMachineFacts();
    facts.clear();
    auto& shell = s::platform::fakeShellItems();
    shell.clear();
    shell.setSpecialFolder(s::platform::kCsidlProgramFiles, u"C:\\Program Files");
    shell.setSpecialFolder(s::platform::kCsidlAppData, u"C:\\Users\\ann\\AppData\\Roaming");
    shell.setSpecialFolder(s::platform::kCsidlLocalAppData, u"C:\\Users\\ann\\AppData\\Local");
    shell.setSpecialFolder(s::platform::kCsidlCommonAppData, u"C:\\ProgramData");
    s::platform::resetSystemFolders();  // C:\Windows, C:\Windows\system32
    s::platform::fakeUrlCache().clear();
    facts.setTempPath(u"C:\\Users\\ann\\AppData\\Local\\Temp\\");
    facts.setModulePath(u"C:\\Purgo\\purgo.exe");
    facts.addDrive(u"C:\\", s::platform::kDriveFixed);
    s::platform::fakeFileSystem().clear();
    s::platform::fakeFileSystem().addFolder(u"C:\\Windows\\system32");
    s::platform::fakeRegistry().clear();
    s::platform::fakeProcesses().clear();
    s::file::gui::dialogs::purgo::forgetPlatformFolders();
}

bool makeFolder(std::u16string_view path)
{
    return s::platform::fakeFileSystem().addFolder(path);
}

bool writeIniFile(std::u16string_view path, std::string_view text)
{
    std::u16string wide(text.begin(), text.end());
    s::platform::fakeMachineFacts().setIniFile(path, wide);
    return s::platform::fakeFileSystem().addFile(path, text.size());
}

bool makeFile(std::u16string_view path, std::size_t bytes)
{
    return s::platform::fakeFileSystem().addFile(path, bytes);
}

RunningProgram::RunningProgram(std::u16string_view executableName)
{
    static std::uint32_t nextId = 5000;
    m_id = ++nextId;
    std::u16string path = u"C:\\Program Files\\Browser\\";
    path += executableName;
    s::platform::fakeProcesses().addProcess(m_id, path);
    m_started = true;
}

RunningProgram::~RunningProgram()
{
    s::platform::fakeProcesses().removeProcess(m_id);
}

void removePath(std::u16string_view path)
{
    s::platform::fakeMachineFacts().setIniFile(path, u"");
    s::platform::fakeFileSystem().removeTree(path);
}

}  // namespace catalogue_test
