// The recording shell of native builds, and its test API. Only tests include
// this header; everything else reaches it through shell(). Nothing is shown
// or started: every request is recorded and answered with success, unless a
// test makes the registry editor unavailable.
#pragma once

#include "platform/Shell.h"

#include <string>
#include <vector>

namespace s::platform {

struct ShellRequest {
    enum class Kind : std::uint8_t { OpenFolder, StartProgram, RegistryEditor, Message, OpenAddress };
    Kind kind = Kind::OpenFolder;
    std::u16string first;   // the folder, the program, the key path, the caption, the address
    std::u16string second;  // -, the arguments, the value name, the text
    SelectValue select = SelectValue::No;
};

class FakeShell : public IShell {
public:
    virtual std::vector<ShellRequest> requests() = 0;
    virtual void forgetRequests() = 0;
    // No editor window can be found or started: showInRegistryEditor fails
    // (and records nothing) until this is called again with true.
    virtual void setRegistryEditorAvailable(bool available) = 0;
};

// The same object as shell() in native builds.
FakeShell& fakeShell();

}  // namespace s::platform
