# Makes the names that Win32 rewrites inside the Wine prefix, from the Linux
# side, before the Windows tests run:
#   cmake -DPREFIX=<wineprefix> -P WineNamesFixture.cmake
# A Windows process could only make "con" or "trailing-dot." through the
# "\\?\" form that the code under test uses itself; these come from outside,
# as the files that WSL, Cygwin and git leave do. Every set is made afresh
# (the deleting tests use theirs up):
#   C:\purgo-test-names\<set>\...    the entries of rewrittenNames()
#   C:\purgo-test-names\safety\...   the entries of protectedLookalikes()
# (tests/support/Sandbox.cpp). Each file holds its own relative path, with
# backslashes, and a line feed.
if(NOT PREFIX OR NOT EXISTS "${PREFIX}/drive_c")
  message(FATAL_ERROR "no Wine prefix at '${PREFIX}' (run scripts/wine-prefix first)")
endif()
set(base "${PREFIX}/drive_c/purgo-test-names")
file(REMOVE_RECURSE "${base}")

# Folders first, then files (relative, with backslashes as the tests write them).
set(name_folders "dotdir." "spacedir " "deep")
set(name_files "con" "nul.txt" "aux.log" "prn" "com1" "com9.txt" "lpt1" "lpt9.log" "trailing-dot."
               "trailing-space " "dotdir.\\inner.txt" "dotdir.\\nul" "spacedir \\inner.txt" "ordinary.txt")
# Five folders of 50 characters ("aaa...", "bbb...", ...) below deep: over
# MAX_PATH wherever the set lies.
set(deep "deep")
foreach(letter a b c d e)
  string(REPEAT "${letter}" 50 component)
  string(APPEND deep "\\${component}")
  list(APPEND name_folders "${deep}")
endforeach()
list(APPEND name_files "${deep}\\deep.txt")

set(safety_folders "win" "win." "win " "prof" "prof\\Documents" "prof\\Documents." "prof\\Documents ")
set(safety_files "win\\keep.txt" "win.\\keep.txt" "win \\keep.txt" "prof\\Documents\\keep.txt"
                 "prof\\Documents.\\keep.txt" "prof\\Documents \\keep.txt")

function(make_set dir folders files)
  foreach(relative IN LISTS folders)
    string(REPLACE "\\" "/" unix "${relative}")
    file(MAKE_DIRECTORY "${dir}/${unix}")
  endforeach()
  foreach(relative IN LISTS files)
    string(REPLACE "\\" "/" unix "${relative}")
    file(WRITE "${dir}/${unix}" "${relative}\n")
  endforeach()
endfunction()

# measure: read only; delete: each name deleted by itself; tree: the folder
# deleted whole; reboot: a name held open and left for the next boot;
# engine: a custom group's clean; console: purgoc's preview and clean.
foreach(set measure delete tree reboot engine console)
  make_set("${base}/${set}" "${name_folders}" "${name_files}")
endforeach()
make_set("${base}/safety" "${safety_folders}" "${safety_files}")
