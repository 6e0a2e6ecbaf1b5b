#include "tests/support/Sandbox.h"

#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

namespace s::platform::testing {

namespace {

unsigned nextSandbox()
{
    static unsigned counter = 0;
    return ++counter;
}

class FakeHeldFile final : public HeldFile {
public:
    explicit FakeHeldFile(std::u16string path) : m_path(std::move(path)) {}
    ~FakeHeldFile() override { fakeFileSystem().setFault(m_path, FileFault::None); }

private:
    std::u16string m_path;
};

std::u16string number(unsigned value)
{
    std::u16string out;
    for (char c : std::to_string(value))
        out += static_cast<char16_t>(c);
    return out;
}

}  // namespace

const char* Sandbox::backend()
{
    return "in-memory fake";
}

Sandbox::Sandbox()
{
    const std::u16string name = u"OxlePurgoTest-" + number(nextSandbox());
    m_folder = u"C:\\Users\\tester\\AppData\\Local\\Temp\\" + name;
    m_key = u"Software\\" + name;
    m_sid = fakeRegistry().userSid();
    if (!fakeFileSystem().addFolder(m_folder))
        m_failure = "cannot make the sandbox folder";
    else if (!fakeRegistry().addKey(nativeKeyPath()))
        m_failure = "cannot make the sandbox key";
}

Sandbox::~Sandbox()
{
    fakeFileSystem().removeTree(m_folder);
    fakeFileSystem().forgetScheduled();
    fakeRegistry().removeTree(nativeKeyPath());
}

bool Sandbox::makeFolder(std::u16string_view relative)
{
    return fakeFileSystem().addFolder(path(relative));
}

bool Sandbox::makeFile(std::u16string_view relative, std::uint64_t size, std::uint32_t attributes)
{
    return fakeFileSystem().addFile(path(relative), size, attributes ? attributes : kFileAttributeArchive);
}

bool Sandbox::setLastWriteTime(std::u16string_view relative, std::int64_t fileTime)
{
    return fakeFileSystem().setLastWriteTime(path(relative), fileTime);
}

bool Sandbox::entryExists(std::u16string_view relative) const
{
    return fakeFileSystem().contains(path(relative));
}

std::unique_ptr<HeldFile> Sandbox::holdOpen(std::u16string_view relative)
{
    if (!fakeFileSystem().setFault(path(relative), FileFault::InUse))
        return nullptr;
    return std::make_unique<FakeHeldFile>(path(relative));
}

std::vector<std::u16string> Sandbox::scheduledAtReboot() const
{
    return fakeFileSystem().scheduledAtReboot();
}

LinkFixture Sandbox::linkFixture()
{
    LinkFixture fixture;
    fixture.parent = path(u"links");
    fixture.target = fixture.parent + u"\\target";
    fixture.link = fixture.parent + u"\\link";
    fixture.keptFile = fixture.target + u"\\keep.txt";
    // Removal fails as it does for the Unix link under Wine, so that one test
    // serves both backends; the fake's other behaviour has tests of its own.
    fakeFileSystem().addFile(fixture.keptFile, 6);
    fakeFileSystem().addFolderLink(fixture.link, fixture.target, LinkRemoval::Fails);
    const std::u16string paths = fixture.parent + u"\\paths";
    fixture.outside = paths + u"\\outside";
    fixture.outsideFile = fixture.outside + u"\\keep.txt";
    fixture.measured = paths + u"\\measured";
    fixture.doomed = paths + u"\\doomed";
    fakeFileSystem().addFile(fixture.outsideFile, 5);
    fakeFileSystem().addFile(fixture.measured + u"\\a.txt", 3);
    fakeFileSystem().addFolderLink(fixture.measured + u"\\folderlink", fixture.outside, LinkRemoval::Fails);
    fakeFileSystem().addFile(fixture.doomed + u"\\a.txt", 3);
    fakeFileSystem().addFile(fixture.doomed + u"\\sub\\b.txt", 1);
    fakeFileSystem().addFolderLink(fixture.doomed + u"\\folderlink", fixture.outside, LinkRemoval::Fails);
    fixture.engine = fixture.parent + u"\\engine";
    for (const char16_t* kind : {u"\\k6", u"\\k7", u"\\k8", u"\\k9"}) {
        const std::u16string dir = fixture.engine + kind;
        fakeFileSystem().addFile(dir + u"\\a.txt", 3);
        fakeFileSystem().addFile(dir + u"\\sub\\b.txt", 1);
        fakeFileSystem().addFolderLink(dir + u"\\folderlink", fixture.outside, LinkRemoval::Fails);
    }
    return fixture;
}

std::u16string Sandbox::namesFixture(std::u16string_view set, const std::vector<FixtureEntry>& entries)
{
    const std::u16string folder = path(u"names-" + std::u16string(set));
    fakeFileSystem().addFolder(folder);
    for (const FixtureEntry& entry : entries) {
        const std::u16string verbatim = u"\\\\?\\" + folder + u"\\" + entry.relative;
        const bool made = entry.folder ? fakeFileSystem().addFolder(verbatim)
                                       : fakeFileSystem().addFileWithContent(verbatim, narrow(entry.relative) + "\n");
        if (!made)
            return {};
    }
    return folder;
}

std::set<std::u16string> Sandbox::listedNames(std::u16string_view folder)
{
    std::set<std::u16string> names;
    const std::u16string pattern = u"\\\\?\\" + std::u16string(folder) + u"\\*";
    FindHandle handle;
    FindData data;
    if (fakeFileSystem().findFirst(pattern.c_str(), handle, data) != kErrorSuccess)
        return names;
    do {
        if (data.name != u"." && data.name != u"..")
            names.insert(data.name);
    } while (fakeFileSystem().findNext(handle, data) == kErrorSuccess);
    return names;
}

std::unique_ptr<HeldFile> Sandbox::holdOpenPath(std::u16string_view path)
{
    if (!fakeFileSystem().setFault(path, FileFault::InUse))
        return nullptr;
    return std::make_unique<FakeHeldFile>(std::u16string(path));
}

bool Sandbox::makeKey(std::u16string_view relative)
{
    return fakeRegistry().addKey(nativeKeyPath(relative));
}

bool Sandbox::setValue(std::u16string_view keyRelative, std::u16string_view name, std::uint32_t type,
                       std::span<const std::byte> data)
{
    return fakeRegistry().setValue(nativeKeyPath(keyRelative), name, type, data);
}

bool Sandbox::keyExists(std::u16string_view relative) const
{
    return fakeRegistry().hasKey(nativeKeyPath(relative));
}

bool Sandbox::valueExists(std::u16string_view keyRelative, std::u16string_view name) const
{
    return fakeRegistry().value(nativeKeyPath(keyRelative), name).has_value();
}

bool Sandbox::makeLinkKey(std::u16string_view relative, std::u16string_view targetRelative)
{
    return fakeRegistry().addLink(nativeKeyPath(relative), nativeKeyPath(targetRelative));
}

bool Sandbox::linkKeyExists(std::u16string_view relative) const
{
    return fakeRegistry().hasLink(nativeKeyPath(relative));
}

}  // namespace s::platform::testing
