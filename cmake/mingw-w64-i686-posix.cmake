# The 32-bit Windows cross-build with the POSIX-threads variant of mingw-w64, for the tests:
# GoogleTest needs std::mutex, which the win32-threads variant of GCC 12 lacks.
set(BRUSHWICK_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-i686.cmake)
