#include "tests/support/SafetyMachine.h"

#include "catalogue/CatalogueFolders.h"
#include "platform/ProtectedPlaces.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeMachineFacts.h"
#include "platform/fake/FakeProgramFolder.h"

namespace safety_test {

struct SafetyMachine::Saved {};

SafetyMachine::SafetyMachine()
{
    forgetAnswers();
}

SafetyMachine::~SafetyMachine()
{
    s::platform::fakeEnvironment().clear();
    s::platform::fakeMachineFacts().setTempPath(u"");
    s::platform::setProgramFolder(u"C:\\Program Files\\Oxle Purgo");
    s::platform::fakeFileSystem().setCurrentDirectory(u"C:\\");
    forgetAnswers();
}

void SafetyMachine::pointWindowsFolderAt(std::u16string_view folder)
{
    s::platform::fakeEnvironment().setVariable(u"SystemRoot", folder);
    s::platform::fakeEnvironment().setVariable(u"windir", folder);
    forgetAnswers();
}

void SafetyMachine::pointProfileAt(std::u16string_view folder)
{
    s::platform::fakeEnvironment().setVariable(u"USERPROFILE", folder);
    forgetAnswers();
}

void SafetyMachine::dropTemporaryFolder(std::u16string_view profile)
{
    // What GetTempPathW answers then: the profile, with its backslash.
    s::platform::fakeEnvironment().removeVariable(u"TMP");
    s::platform::fakeEnvironment().removeVariable(u"TEMP");
    pointProfileAt(profile);
    s::platform::fakeMachineFacts().setTempPath(std::u16string(profile) + u"\\");
    forgetAnswers();
}

void SafetyMachine::setCurrentFolder(std::u16string_view folder)
{
    s::platform::fakeFileSystem().setCurrentDirectory(folder);
}

std::u16string SafetyMachine::programFolder(std::u16string_view wanted)
{
    s::platform::setProgramFolder(wanted);
    forgetAnswers();
    return std::u16string(wanted);
}

std::u16string SafetyMachine::shortForm(std::u16string_view path, std::u16string_view shortName)
{
    if (!s::platform::fakeFileSystem().setShortName(path, shortName))
        return {};
    const std::size_t slash = path.find_last_of(u'\\');
    return std::u16string(path.substr(0, slash + 1)) + std::u16string(shortName);
}

bool SafetyMachine::makeFile(std::u16string_view path, std::uint64_t size)
{
    return s::platform::fakeFileSystem().addFile(path, size);
}

bool SafetyMachine::writeFile(std::u16string_view path, std::string_view bytes)
{
    return s::platform::fakeFileSystem().addFileWithContent(path, bytes);
}

std::string SafetyMachine::readFile(std::u16string_view path)
{
    return s::platform::fakeFileSystem().fileContent(path);
}

bool SafetyMachine::exists(std::u16string_view path)
{
    return s::platform::fakeFileSystem().contains(path);
}

void SafetyMachine::removeFile(std::u16string_view path)
{
    s::platform::fakeFileSystem().removeTree(path);
}

void SafetyMachine::forgetAnswers()
{
    s::file::ProtectedPlaces::forget();
    s::file::gui::dialogs::purgo::forgetPlatformFolders();
}

}  // namespace safety_test
