// The whole-file access the XML documents need (s::io::IFileIo), written once
// over the file-system service (platform/FileSystem.h): on Windows it reaches
// the disk, natively the one in-memory machine that the engine cleans too.
#pragma once

#include "base/IFileIo.h"

namespace s::platform {

// The process-wide instance.
s::io::IFileIo& fileIo();

}  // namespace s::platform
