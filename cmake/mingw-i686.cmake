# 32-bit Windows through Debian's mingw-w64. This is the shipped target; it builds here
# but cannot run (no 32-bit loader). The -posix compilers are required: the -win32 ones have no
# std::thread or std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)

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

# No emulator: 32-bit Windows code cannot execute on these machines.
