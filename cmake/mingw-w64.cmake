# Cross build for 64-bit Windows with Debian's mingw-w64 (the -posix thread
# model, for std::thread and std::mutex):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Programs run under wine64 when found, so ctest runs the Windows tests here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QARN_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QARN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QARN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QARN_MINGW_TRIPLE}-windres)

# Libraries only from the Windows side; header-only packages (CLI11, stb) may
# come from the build machine's own folders.
set(CMAKE_FIND_ROOT_PATH /usr/${QARN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(QARN_WINE wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(QARN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QARN_WINE})
endif()
