# KOLVEK.EXE, the launcher dialog as a Windows program, with its icon, picture,
# manifest and version information, and the German readme beside it. Also the
# stand-in for the game's executable that the demo and the tests start.
# Included by Windows.cmake.

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# --- Icon and picture, drawn at build time -----------------------------------------
set(KOLVEK_RESOURCE_DIR ${CMAKE_BINARY_DIR}/resources)
set(KOLVEK_IMAGES ${KOLVEK_RESOURCE_DIR}/KOLVEK.ico ${KOLVEK_RESOURCE_DIR}/Image1.bmp)
add_custom_command(
    OUTPUT ${KOLVEK_IMAGES}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_images.py ${KOLVEK_RESOURCE_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_images.py
    COMMENT "Drawing the icon and the picture"
    VERBATIM)

# --- The version, from project() in CMakeLists.txt ---------------------------------
# The version resource and the manifest's assemblyIdentity want four numbers.
foreach(part MAJOR MINOR PATCH TWEAK)
    set(KOLVEK_VERSION_${part} "${PROJECT_VERSION_${part}}")
    if(KOLVEK_VERSION_${part} STREQUAL "")
        set(KOLVEK_VERSION_${part} 0)
    endif()
endforeach()
set(KOLVEK_VERSION_FOUR
    ${KOLVEK_VERSION_MAJOR}.${KOLVEK_VERSION_MINOR}.${KOLVEK_VERSION_PATCH}.${KOLVEK_VERSION_TWEAK})
configure_file(${CMAKE_SOURCE_DIR}/src/app/Version.h.in ${KOLVEK_RESOURCE_DIR}/Version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/src/app/KOLVEK.manifest.in ${KOLVEK_RESOURCE_DIR}/KOLVEK.manifest @ONLY)

# --- The program --------------------------------------------------------------------
# Everything a user gets goes into one folder: KOLVEK.EXE and Liesmich.txt.
set(KOLVEK_PROGRAM_DIR ${CMAKE_BINARY_DIR}/KOLVEK)

file(GLOB KOLVEK_APP_SOURCES CONFIGURE_DEPENDS src/app/*.cpp)
list(FILTER KOLVEK_APP_SOURCES EXCLUDE REGEX "/WinMain\\.cpp$")
set(KOLVEK_RC ${CMAKE_SOURCE_DIR}/src/app/KOLVEK.rc)
set_source_files_properties(${KOLVEK_RC} PROPERTIES
    OBJECT_DEPENDS "${KOLVEK_IMAGES};${KOLVEK_RESOURCE_DIR}/KOLVEK.manifest;${KOLVEK_RESOURCE_DIR}/Version.h;${CMAKE_SOURCE_DIR}/src/app/resource.h")

add_executable(KOLVEK WIN32 src/app/WinMain.cpp ${KOLVEK_APP_SOURCES} ${KOLVEK_RC})
# The benchmark's floor: KOLVEK.EXE's own window with nothing behind it, built
# as KOLVEK.EXE is; only bench/run.sh builds it.
add_executable(kolvek_floor WIN32 EXCLUDE_FROM_ALL bench/kolvek_floor.cpp ${KOLVEK_APP_SOURCES}
                                                   ${KOLVEK_RC})
# A release build is built for size and ships without symbols: every function
# in a section of its own, so that the linker drops what nothing calls (-Os
# comes after the configuration's -O3 and wins).
set(KOLVEK_RELEASE $<CONFIG:Release,MinSizeRel>)
foreach(target KOLVEK kolvek_floor kolvek_core kolvek_win32)
    target_compile_options(${target} PRIVATE
        "$<${KOLVEK_RELEASE}:-Os;-ffunction-sections;-fdata-sections>")
endforeach()
foreach(target KOLVEK kolvek_floor)
    target_include_directories(${target} PRIVATE src src/app ${KOLVEK_RESOURCE_DIR})
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-municode>)
    target_link_options(${target} PRIVATE -municode "$<${KOLVEK_RELEASE}:-s;-Wl,--gc-sections>")
    target_link_libraries(${target} PRIVATE kolvek_win32 comctl32 gdi32 user32)
endforeach()
set_target_properties(KOLVEK PROPERTIES
    OUTPUT_NAME KOLVEK
    SUFFIX .EXE
    RUNTIME_OUTPUT_DIRECTORY ${KOLVEK_PROGRAM_DIR})

# --- The German readme, as Notepad wants it: Windows-1252, CR LF ---------------------
set(KOLVEK_README ${KOLVEK_PROGRAM_DIR}/Liesmich.txt)
add_custom_command(
    OUTPUT ${KOLVEK_README}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOLVEK_PROGRAM_DIR}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/windows_text.py
            --set KOLVEK_VERSION=${PROJECT_VERSION}
            ${CMAKE_SOURCE_DIR}/dist/Liesmich.txt ${KOLVEK_README}
    DEPENDS ${CMAKE_SOURCE_DIR}/dist/Liesmich.txt ${CMAKE_SOURCE_DIR}/tools/windows_text.py
            ${CMAKE_SOURCE_DIR}/CMakeLists.txt
    COMMENT "Converting Liesmich.txt to Windows-1252"
    VERBATIM)
add_custom_target(kolvek_readme ALL DEPENDS ${KOLVEK_README})
add_dependencies(KOLVEK kolvek_readme)

# --- Stand-in for the game's executable (tests and demo only, never shipped) --------
add_executable(armada2 tests/standin/armada2.cpp)
target_compile_options(armada2 PRIVATE -municode)
target_link_options(armada2 PRIVATE -municode)
set_target_properties(armada2 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin)

# --- Checks of the build tools and of the built program -------------------------------
# Python by its path, not its target, so that the tests do not go through Wine.
add_test(NAME kolvek_build_tools
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/test_tools.py)
# The release checks read a 32-bit program only; a 64-bit build's test takes
# build/win32's, if there is one.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set_tests_properties(kolvek_build_tools PROPERTIES ENVIRONMENT KOLVEK_EXE=$<TARGET_FILE:KOLVEK>)
endif()
find_program(KOLVEK_OBJDUMP NAMES ${CMAKE_OBJDUMP} i686-w64-mingw32-objdump objdump)
if(KOLVEK_OBJDUMP)
    add_test(NAME kolvek_exe_imports_only_system_dlls
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_imports.py
                     ${KOLVEK_OBJDUMP} $<TARGET_FILE:KOLVEK>)
endif()
