# GoogleTest for both configurations. The native build uses the installed
# package; the Windows build compiles the same sources that Debian installs
# under /usr/src/googletest with the cross compiler.
find_package(Threads REQUIRED)
if(WIN32)
  set(PURGO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${PURGO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(PURGO_GTEST_LIBS gtest gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(PURGO_GTEST_LIBS GTest::gtest GTest::gmock GTest::gtest_main)
endif()

# Windows test binaries run under Wine in a throw-away prefix inside the
# build tree. scripts/wine-prefix prepares it (wineboot, a persistent
# wineserver, the Task Scheduler service) before ctest starts, so that no
# Wine background process inherits ctest's pipes.
set(PURGO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# purgo_test(name SOURCES ... DEPENDS ...): one test binary, one CTest test.
# Sources are picked like a library's (*_win.cpp, *_fake.cpp).
function(purgo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  purgo_pick_sources(picked ${ARG_SOURCES})
  add_executable(${name} ${picked})
  target_compile_options(${name} PRIVATE ${PURGO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${PURGO_GTEST_LIBS} Threads::Threads)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${PURGO_WINEPREFIX};WINEDEBUG=-all"
      LABELS wine)
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
endfunction()
