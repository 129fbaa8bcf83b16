# End-to-end tests: kolvek_e2e_tests.exe starts the real KOLVEK.EXE under Wine,
# drives its dialog with the window messages a user's input produces and checks
# what the program leaves behind (kolvar.ini, RunA2.bat, marker files, the
# stand-in game's log). Included by Windows.cmake after App.cmake.
#
# The program and the stand-in game are copied next to the test driver, which
# finds them beside its own .exe; every test copies them into folders of its own.
# The tests run one after another in a single process: they share the dialog's
# registry key and the display's focus, and must not overlap. A second run in
# the prefix of a German Windows takes the tests of the launch script's code
# page.

if(NOT TARGET KOLVEK OR NOT TARGET armada2)
    return()
endif()

set(KOLVEK_E2E_DIR ${CMAKE_BINARY_DIR}/e2e)

file(GLOB KOLVEK_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(kolvek_e2e_tests ${KOLVEK_E2E_SOURCES})
target_compile_definitions(kolvek_e2e_tests PRIVATE UNICODE _UNICODE)
# For the registry helper it shares with the Windows tests.
target_include_directories(kolvek_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kolvek_e2e_tests PRIVATE gtest gtest_main user32 gdi32 advapi32)
set_target_properties(kolvek_e2e_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KOLVEK_E2E_DIR})

set(KOLVEK_E2E_PAYLOAD ${KOLVEK_E2E_DIR}/KOLVEK.EXE ${KOLVEK_E2E_DIR}/armada2.exe)
add_custom_command(
    OUTPUT ${KOLVEK_E2E_PAYLOAD}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOLVEK_E2E_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:KOLVEK> ${KOLVEK_E2E_DIR}/KOLVEK.EXE
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:armada2> ${KOLVEK_E2E_DIR}/armada2.exe
    DEPENDS KOLVEK armada2 $<TARGET_FILE:KOLVEK> $<TARGET_FILE:armada2>
    COMMENT "Copying KOLVEK.EXE and the stand-in game for the end-to-end tests"
    VERBATIM)
add_custom_target(kolvek_e2e_payload ALL DEPENDS ${KOLVEK_E2E_PAYLOAD})
add_dependencies(kolvek_e2e_tests kolvek_e2e_payload)

if(NOT KOLVEK_WINE_TESTS)
    return()
endif()

# Everything in the prefix of a Western European Windows (ANSI 1252, OEM 437),
# except the tests that need a German Windows's OEM code page 850 ...
set(KOLVEK_E2E_GERMAN_TESTS "KolvekGermanWindows.*")
add_test(NAME kolvek_e2e_tests COMMAND kolvek_e2e_tests
         --gtest_filter=-${KOLVEK_E2E_GERMAN_TESTS})
set_tests_properties(kolvek_e2e_tests PROPERTIES
    FIXTURES_REQUIRED ${KOLVEK_WINE_FIXTURE}
    RESOURCE_LOCK kolvek_e2e_display
    TIMEOUT 900)
# ... which run in the de_DE.UTF-8 prefix, together with the other tests of
# folder and map names in the launch script, which cmd.exe reads in the OEM
# code page. That prefix's display has 144 dpi, so the dialog's layout and
# font are checked there too, at a resolution other than 96 dpi.
add_test(NAME kolvek_e2e_tests_german_windows
         COMMAND ${KOLVEK_WINE_RUN_DE} $<TARGET_FILE:kolvek_e2e_tests>
                 --gtest_filter=${KOLVEK_E2E_GERMAN_TESTS}:KolvekFolders.*:KolvekHostile.*Console*:KolvekDialog.*AtTheDisplaysResolution)
set_tests_properties(kolvek_e2e_tests_german_windows PROPERTIES
    FIXTURES_REQUIRED ${KOLVEK_WINE_FIXTURE_DE}
    RESOURCE_LOCK kolvek_e2e_display
    TIMEOUT 900)
