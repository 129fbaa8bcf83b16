# The same Windows programs and tests as 64-bit ones. Only for running the
# Wine tests on a machine that cannot run Wine's 32-bit loader (see
# scripts/test.sh): KOLVEK.EXE itself ships as a 32-bit program.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(KOLVEK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
