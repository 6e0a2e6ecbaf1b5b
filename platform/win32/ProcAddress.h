// Binding an entry point by name, for services that may be missing on a
// system (newer API, ntdll's native calls) and so are not imported.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace s::platform {

// `to` gets the named function of module, or nullptr when the module or the
// name is missing.
template <class Fn> void bindProc(HMODULE module, const char* name, Fn& to)
{
    // GetProcAddress returns a generic FARPROC; going through void* keeps
    // -Wcast-function-type quiet about the real signature.
    to = module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// One row of a binding table: an entry point's name and the pointer that
// receives it, whatever its type.
class ProcSlot {
public:
    template <class Fn>
    ProcSlot(const char* name, Fn& to)
        : m_name(name), m_slot(&to), m_bind([](HMODULE module, const char* n, void* slot) {
              bindProc(module, n, *static_cast<Fn*>(slot));
              return *static_cast<Fn*>(slot) != nullptr;
          })
    {
    }

    bool bind(HMODULE module) const { return m_bind(module, m_name, m_slot); }

private:
    const char* m_name;
    void* m_slot;
    bool (*m_bind)(HMODULE, const char*, void*);
};

// Binds every row of the table; true when every entry point was found (a
// service that needs them all is usable only then).
inline bool bindAll(HMODULE module, std::initializer_list<ProcSlot> table)
{
    bool all = true;
    for (const ProcSlot& slot : table)
        all = slot.bind(module) && all;
    return all;
}

}  // namespace s::platform
