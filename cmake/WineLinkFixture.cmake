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
