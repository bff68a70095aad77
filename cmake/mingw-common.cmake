# Cross build of the Windows programs with MinGW-w64, for the target triple
# the toolchain file names. The win32 thread model: the posix one links
# winpthreads, which imports functions Windows XP does not have
# (GetTickCount64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${LUDORA_MINGW}-gcc-win32)
set(CMAKE_CXX_COMPILER ${LUDORA_MINGW}-g++-win32)
set(CMAKE_RC_COMPILER ${LUDORA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${LUDORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
