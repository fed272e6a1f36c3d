# Cross-compiles for Windows x64 with MinGW-w64 on Linux. The posix thread
# model is needed: the win32-thread g++ has no std::mutex, which GoogleTest uses.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMVEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

