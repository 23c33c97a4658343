# GoogleTest: Debian's libgtest-dev natively; for the mingw targets it is
# built from the sources Debian's googletest package installs.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)  # older googletest sources define no aliases
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Windows test programs run under 64-bit Wine in a prefix of this build's own.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR}/wineprefix)
endif()

# updater_test(name sources... LIBS libs...): one test program per unit.
function(updater_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    # One Wine start per program; discovery would start it once per case.
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      add_test(NAME ${name} COMMAND ${name})
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
