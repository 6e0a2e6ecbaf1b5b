#include "platform/Resources.h"

#include <windows.h>

namespace s::platform {

ResourceData findResource(const char16_t* typeName, int id)
{
    HMODULE module = GetModuleHandleW(nullptr);
    // A custom type named in the .rc file ("IDR_XML") is a string type; the
    // id is numeric.
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<const wchar_t*>(typeName));
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    // Resources of a loaded module stay mapped as long as the module; there is
    // nothing to unlock or free.
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const unsigned char*>(bytes), SizeofResource(module, found)};
}

void registerEmbeddedResource(const char16_t*, int, const unsigned char*, std::size_t)
{
}

}  // namespace s::platform
