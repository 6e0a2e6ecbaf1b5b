#include "platform/ShellLinks.h"

#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace s::platform {

namespace {

// A shortcut of the in-memory machine is a file holding its target and its
// arguments on two lines (UTF-16 code units stored as they are).
class FakeShellLinks final : public IShellLinks {
public:
    HResult createShortcut(const char16_t* linkPath, const char16_t* target, const char16_t* arguments) override
    {
        if (!linkPath || !target)
            return kEInvalidArg;
        std::u16string text(target);
        text += u'\n';
        if (arguments)
            text += arguments;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const Win32Error error =
            fileSystem().writeFile(linkPath, bytes, text.size() * sizeof(char16_t), IFileSystem::Flush::No);
        return error ? static_cast<HResult>(0x80070000u | error) : kSOk;
    }

    HResult readShortcut(const char16_t* linkPath, std::u16string& target, std::u16string& arguments) override
    {
        if (!linkPath)
            return kEInvalidArg;
        std::vector<std::uint8_t> bytes;
        const Win32Error error = fileSystem().readFile(linkPath, 1 << 16, bytes);
        if (error)
            return static_cast<HResult>(0x80070000u | error);
        const std::u16string text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / sizeof(char16_t));
        const std::size_t newline = text.find(u'\n');
        if (newline == std::u16string::npos)
            return kEFail;
        target = text.substr(0, newline);
        arguments = text.substr(newline + 1);
        return kSOk;
    }
};

}  // namespace

IShellLinks& shellLinks()
{
    static FakeShellLinks instance;
    return instance;
}

}  // namespace s::platform
