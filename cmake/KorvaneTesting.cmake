# GoogleTest: Debian's packaged library on the host; for Windows, built from Debian's sources.
if(KORVANE_BUILD_TESTS AND NOT KORVANE_FUZZ)
  if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

# korvane_add_unit_test(NAME SOURCES... LIBS ...): one GoogleTest program, one ctest entry.
# On Windows builds ctest runs it under Wine through the cross-compiling emulator.
function(korvane_add_unit_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE KORVANE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
endfunction()
