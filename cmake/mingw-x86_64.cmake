# 64-bit Windows through Debian's mingw-w64. This is the build that runs here,
# under Wine. The -posix compilers are required: the -win32 ones have no
# std::thread or std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER   /usr/bin/${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${MINGW_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and try_run start Windows programs through this wrapper (wine64,
# quiet, code page 936).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
