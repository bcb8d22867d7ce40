# Cross-compiling for 64-bit Windows with the posix-thread variant of mingw-w64
# (the win32 variant of GCC 12 has no std::mutex, and GoogleTest needs it).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# Libraries come from mingw-w64's own folder and from the Windows builds that
# scripts/build-mingw-deps.sh leaves in the cache.
if(DEFINED ENV{PICTORVA_CACHE})
  set(PICTORVA_MINGW_PREFIX "$ENV{PICTORVA_CACHE}/mingw")
else()
  set(PICTORVA_MINGW_PREFIX "$ENV{HOME}/.cache/pictorva/mingw")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${PICTORVA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
