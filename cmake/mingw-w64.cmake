# Cross-compiles the Windows build with MinGW-w64 (posix thread model) on Debian.
# ctest runs the resulting test executables under Wine through the emulator setting.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSARO_MINGW_PREFIX x86_64-w64-mingw32)
# Name the -posix compilers explicitly: the unsuffixed names follow whichever thread
# model was installed last, and the win32 one lacks std::thread in GCC 12.
set(CMAKE_C_COMPILER ${TESSARO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSARO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables then import only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
