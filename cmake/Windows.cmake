# Windows build: 32-bit, cross-compiled with MinGW-w64 (cmake/mingw-i686.cmake),
# its tests run under Wine; or 64-bit (cmake/mingw-x86_64.cmake), for the
# Wine tests on a machine whose kernel refuses i386 programs.
#
# For other CMake files that add tests which run Windows programs (App.cmake):
#   KOLVEK_WINE_RUN      wrapper script that runs a Windows program under Wine in
#                        this build's prefix: ${KOLVEK_WINE_RUN} prog.exe args...
#                        It is also CMAKE_CROSSCOMPILING_EMULATOR, so
#                        add_test(NAME x COMMAND <exe target>) already runs
#                        under Wine. `${KOLVEK_WINE_RUN} --init` creates the
#                        prefix and starts a wineserver that stays
#                        until `--stop` ends it, or ten minutes after
#                        the last program.
#   KOLVEK_WINEPREFIX    the throwaway Wine prefix, inside the build tree.
#   KOLVEK_WINE_FIXTURE  ctest fixture that creates the prefix: set
#                        FIXTURES_REQUIRED ${KOLVEK_WINE_FIXTURE} on every test
#                        that runs Wine.
#   KOLVEK_WINE_RUN_DE, KOLVEK_WINE_FIXTURE_DE
#                        the same for a second prefix in the locale
#                        de_DE.UTF-8, whose code pages are those of a German
#                        Windows (ANSI 1252, OEM 850) instead of 1252 and 437,
#                        and whose display has 144 dpi (150 %) instead of 96.
# Tests that show windows or take the focus hold RESOURCE_LOCK
# kolvek_e2e_display, so they never overlap on the display. The wrapper passes
# a program's output on when the program ends, not while it runs.
# Wine's windows need a display; tests take DISPLAY from the environment
# (scripts/test.sh starts Xvfb when there is none).

enable_language(RC)

# Wine runs a 32-bit Windows program through its 32-bit loader, itself an i386
# Linux program, which some machines cannot execute at all ("Exec format
# error"). There scripts/test.sh turns this off: the Windows programs are
# still built, and only the checks that need no Wine run.
option(KOLVEK_WINE_TESTS "Add the tests that run Windows programs under Wine" ON)

# --- Wine, for running the tests ----------------------------------------------
# kolvek_add_wine_prefix(WRAPPER PREFIX LOCALE DPI FIXTURE): the wrapper script
# build/WRAPPER for a prefix of its own in LOCALE with a display of DPI dots
# per inch, and the ctest fixture that creates the prefix and ends its
# wineserver afterwards.
function(kolvek_add_wine_prefix wrapper prefix locale dpi fixture)
    set(KOLVEK_WINE_RUN_NAME ${wrapper})
    set(KOLVEK_WINEPREFIX ${CMAKE_BINARY_DIR}/${prefix})
    set(KOLVEK_WINE_LOCALE ${locale})
    set(KOLVEK_WINE_DPI ${dpi})
    math(EXPR KOLVEK_WINE_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/wine-run.sh.in
                   ${CMAKE_BINARY_DIR}/${wrapper}
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
                   @ONLY)
    if(NOT KOLVEK_WINE_TESTS)
        return()
    endif()
    add_test(NAME ${fixture}_setup COMMAND ${CMAKE_BINARY_DIR}/${wrapper} --init)
    set_tests_properties(${fixture}_setup PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 300)
    add_test(NAME ${fixture}_stop COMMAND ${CMAKE_BINARY_DIR}/${wrapper} --stop)
    set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} TIMEOUT 60)
endfunction()

set(KOLVEK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(KOLVEK_WINE_RUN ${CMAKE_BINARY_DIR}/kolvek-wine)
set(KOLVEK_WINE_FIXTURE kolvek_wine_prefix)
kolvek_add_wine_prefix(kolvek-wine wineprefix C.UTF-8 96 ${KOLVEK_WINE_FIXTURE})
set(KOLVEK_WINE_RUN_DE ${CMAKE_BINARY_DIR}/kolvek-wine-de)
set(KOLVEK_WINE_FIXTURE_DE kolvek_wine_prefix_de)
kolvek_add_wine_prefix(kolvek-wine-de wineprefix-de de_DE.UTF-8 144 ${KOLVEK_WINE_FIXTURE_DE})
if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KOLVEK_WINE_RUN})
endif()

# --- GoogleTest, built for Windows from the Debian sources ----------------------
set(KOLVEK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${KOLVEK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# --- The Win32 side of the seam -------------------------------------------------
file(GLOB KOLVEK_WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(kolvek_win32 STATIC ${KOLVEK_WIN32_SOURCES})
target_link_libraries(kolvek_win32 PUBLIC kolvek_core advapi32 user32 gdi32 comctl32)

include(${CMAKE_CURRENT_LIST_DIR}/App.cmake OPTIONAL)

# --- The platform tests, run under Wine -----------------------------------------
file(GLOB KOLVEK_WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(kolvek_win_tests ${KOLVEK_WIN_TEST_SOURCES})
target_include_directories(kolvek_win_tests PRIVATE tests)
# ntdll for the system's handle table (Wine has no working GetProcessHandleCount).
target_link_libraries(kolvek_win_tests PRIVATE kolvek_win32 gtest gtest_main ntdll)
# Discovery runs the program under Wine at test time, when the prefix exists.
# Tests that show windows or take the focus (message boxes, started consoles)
# share the display with the end-to-end tests, and those that write or lock
# the game's registry key under HKLM share that key with them (a first start
# of KOLVEK.EXE meeting a key that another test has just locked shows
# messages instead of the dialog): they all take turns.
set(KOLVEK_WIN_TESTS_ON_DISPLAY
    "Win32UserInterface.*:Win32Process.*:WinRegQueryInstallPath.*:WinRegQueryStandardUser.*:SettingsOnDiskTest.FirstStart*")
if(KOLVEK_WINE_TESTS)
gtest_discover_tests(kolvek_win_tests
    TEST_FILTER "-${KOLVEK_WIN_TESTS_ON_DISPLAY}"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES FIXTURES_REQUIRED ${KOLVEK_WINE_FIXTURE} TIMEOUT 120)
gtest_discover_tests(kolvek_win_tests
    TEST_FILTER "${KOLVEK_WIN_TESTS_ON_DISPLAY}"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES FIXTURES_REQUIRED ${KOLVEK_WINE_FIXTURE} TIMEOUT 120
               RESOURCE_LOCK kolvek_e2e_display)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/E2E.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake OPTIONAL)
