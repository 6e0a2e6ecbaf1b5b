# Writes a C++ file that carries data files as byte arrays and registers them
# as resources at start-up (the native build's counterpart of the .rc file).
#   cmake -DOUTPUT=<file.cpp> -DRESOURCES="<type>|<id>|<path>@@..." -P EmbedResources.cmake
set(body "")
set(registrations "")
set(index 0)
string(REPLACE "@@" ";" RESOURCES "${RESOURCES}")
foreach(entry IN LISTS RESOURCES)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 type)
  list(GET parts 1 id)
  list(GET parts 2 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # A trailing zero keeps an empty file legal C++; it is not part of the size.
  string(APPEND body "const unsigned char kResource${index}[] = {${bytes}0};\n")
  string(APPEND registrations
    "        s::platform::registerEmbeddedResource(u\"${type}\", ${id}, kResource${index}, ${size});\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from the resource list of the build; do not edit.
#include \"platform/Resources.h\"

namespace {

${body}
struct Registrar {
    Registrar()
    {
${registrations}    }
} registrar;

}  // namespace
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
