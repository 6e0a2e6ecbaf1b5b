// The platform's whole-file access (s::io::IFileIo) for the XML documents:
// Win32 in the Windows build (win32/FileIo.cpp), the in-memory FakeFileIo in the
// native build (fake/FakeFileIoAccess.cpp).
#pragma once

#include "base/IFileIo.h"

namespace s::platform {

// The process-wide instance.
s::io::IFileIo& fileIo();

}  // namespace s::platform
