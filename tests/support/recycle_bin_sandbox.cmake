# The Recycle Bin of the Windows handler tests: Wine keeps it in the XDG trash
# of $XDG_DATA_HOME, which the tests point at DIR. Made afresh before each
# run with the contents tests/support/ShellSandbox.h promises: two files,
# 1000 and 2345 bytes.
#   cmake -DDIR=<folder> -P recycle_bin_sandbox.cmake
if(NOT DIR)
  message(FATAL_ERROR "DIR not set")
endif()
file(REMOVE_RECURSE ${DIR})
foreach(entry "kept.log|1000" "old.tmp|2345")
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 bytes)
  string(REPEAT "x" ${bytes} content)
  file(WRITE ${DIR}/Trash/files/${name} "${content}")
  file(WRITE ${DIR}/Trash/info/${name}.trashinfo
    "[Trash Info]\nPath=/tmp/purgo-test/${name}\nDeletionDate=2026-01-01T00:00:00\n")
endforeach()
