# Makes a folder link inside the Wine prefix for the Windows tests:
#   cmake -DPREFIX=<wineprefix> -P WineLinkFixture.cmake
# A Unix symbolic link inside drive_c shows up in Wine as a reparse point
# (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY), but a Windows
# process cannot make one, so the Linux side makes it before the tests run:
#   C:\purgo-test-links\target\keep.txt
#   C:\purgo-test-links\link  ->  target   (relative, so it stays inside)
if(NOT PREFIX OR NOT EXISTS "${PREFIX}/drive_c")
  message(FATAL_ERROR "no Wine prefix at '${PREFIX}' (run scripts/wine-prefix first)")
endif()
set(base "${PREFIX}/drive_c/purgo-test-links")
# REMOVE_RECURSE deletes a symbolic link itself and never what it points to.
file(REMOVE_RECURSE "${base}")
file(MAKE_DIRECTORY "${base}/target")
file(WRITE "${base}/target/keep.txt" "keep\n")
file(CREATE_LINK "target" "${base}/link" SYMBOLIC)

# The path object's set (tests/platform/PathWinTest.cpp): two folders that
# each hold plain entries and a folder link to `outside`, whose file must
# survive every test. No file links: Wine 8 shows a Unix link to a file as a
# plain file (no reparse point) and DeleteFileW on it deletes the target.
#   C:\purgo-test-links\paths\outside\keep.txt           5 bytes
#   C:\purgo-test-links\paths\measured\a.txt             3 bytes
#   C:\purgo-test-links\paths\measured\folderlink  ->  ..\outside
#   C:\purgo-test-links\paths\doomed\a.txt, sub\b.txt
#   C:\purgo-test-links\paths\doomed\folderlink    ->  ..\outside
set(paths "${base}/paths")
file(MAKE_DIRECTORY "${paths}/outside" "${paths}/measured" "${paths}/doomed/sub")
file(WRITE "${paths}/outside/keep.txt" "keep\n")
file(WRITE "${paths}/measured/a.txt" "abc")
file(WRITE "${paths}/doomed/a.txt" "abc")
file(WRITE "${paths}/doomed/sub/b.txt" "b")
file(CREATE_LINK "../outside" "${paths}/measured/folderlink" SYMBOLIC)
file(CREATE_LINK "../outside" "${paths}/doomed/folderlink" SYMBOLIC)

# The engine's set (tests/engine/CleanTest.cpp): one folder per folder kind,
# each with plain entries and a folder link to the path object's `outside`,
# whose file must survive every clean.
#   C:\purgo-test-links\engine\k<kind>\a.txt, sub\b.txt
#   C:\purgo-test-links\engine\k<kind>\folderlink  ->  ..\..\paths\outside
foreach(kind 6 7 8 9)
  set(dir "${base}/engine/k${kind}")
  file(MAKE_DIRECTORY "${dir}/sub")
  file(WRITE "${dir}/a.txt" "abc")
  file(WRITE "${dir}/sub/b.txt" "b")
  file(CREATE_LINK "../../paths/outside" "${dir}/folderlink" SYMBOLIC)
endforeach()
