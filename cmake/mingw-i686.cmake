# Cross-compiling to 32-bit Windows with MinGW-w64 (Debian's i686-w64-mingw32).
# The posix thread variant gives GoogleTest a complete <mutex>/<thread>; the
# runtime (libgcc, libstdc++, winpthread) is linked statically, so the .exe
# files need no DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
# mingw-x86_64.cmake sets both before it includes this file.
if(NOT KOLVEK_MINGW_TRIPLE)
    set(CMAKE_SYSTEM_PROCESSOR x86)
    set(KOLVEK_MINGW_TRIPLE i686-w64-mingw32)
endif()

find_program(CMAKE_C_COMPILER NAMES ${KOLVEK_MINGW_TRIPLE}-gcc-posix ${KOLVEK_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KOLVEK_MINGW_TRIPLE}-g++-posix ${KOLVEK_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KOLVEK_MINGW_TRIPLE}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KOLVEK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
