# Cross-build for 32-bit Windows with mingw-w64. The shipped exe uses the win32-threads variant
# of the compilers: the POSIX variant brings in winpthreads, which needs Windows Vista. The tests
# use mingw-w64-i686-posix.cmake instead, since GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRUSHWICK_TRIPLE i686-w64-mingw32)
if(NOT BRUSHWICK_MINGW_THREADS)
  set(BRUSHWICK_MINGW_THREADS win32)
endif()
set(CMAKE_C_COMPILER   ${BRUSHWICK_TRIPLE}-gcc-${BRUSHWICK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${BRUSHWICK_TRIPLE}-g++-${BRUSHWICK_MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${BRUSHWICK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRUSHWICK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
