# Cross tool chain for the Windows program: mingw-w64 for 64-bit Windows,
# the -posix compilers (their C++ library has std::thread and std::mutex,
# which GoogleTest needs). Tests run under wine, see scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STROVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STROVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STROVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_ASM_COMPILER ${STROVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_RC_COMPILER ${STROVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${STROVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows programs built here run on this machine through wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
