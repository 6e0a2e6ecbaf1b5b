// The program's own data resources (the language table, the skin set), read by
// type name and numeric id. Windows carries them in the executable's resource
// section (the .rc file); the native build compiles the same files in as byte
// arrays that register themselves at start-up. One file, two carriers.
#pragma once

#include <cstddef>

namespace s::platform {

struct ResourceData {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// The resource of the given type name ("IDR_XML") and id in the running
// executable; empty when there is none. The bytes stay valid for the life of
// the process.
ResourceData findResource(const char16_t* typeName, int id);

// Used by the generated native carrier; Windows ignores it.
void registerEmbeddedResource(const char16_t* typeName, int id, const unsigned char* data, std::size_t size);

}  // namespace s::platform
