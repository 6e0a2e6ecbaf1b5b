// Binding an entry point by name, for services that may be missing on a
// system (newer API, ntdll's native calls) and so are not imported.
#pragma once

#include <windows.h>

namespace s::platform {

// `to` gets the named function of module, or nullptr when the module or the
// name is missing.
template <class Fn> void bindProc(HMODULE module, const char* name, Fn& to)
{
    // GetProcAddress returns a generic FARPROC; going through void* keeps
    // -Wcast-function-type quiet about the real signature.
    to = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace s::platform
