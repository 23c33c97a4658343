# Cross build for 64-bit Windows with mingw-w64. The test build: its
# compilers use the POSIX thread model, which GoogleTest's synchronisation
# needs (winpthreads is linked statically, so no DLL is added).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(MINGW_COMPILER_SUFFIX -posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
