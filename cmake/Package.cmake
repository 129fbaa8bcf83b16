# The download: KOLVEK-<version>-win32.zip with KOLVEK.EXE and Liesmich.txt,
# and its SHA-256 beside it (KOLVEK-<version>-win32.zip.sha256):
#   cmake --build <build> --target kolvek_zip
# Built twice from the same sources, in any folder, at any time, the zip has
# the same bytes (scripts/reproducible.sh checks this). Included by
# Windows.cmake after App.cmake.

if(NOT TARGET KOLVEK OR NOT KOLVEK_README)
    return()
endif()

# --- The same bytes from every build ----------------------------------------------
# No build or source path in the objects (__FILE__, debug sections), no link
# time in the PE header.
foreach(target KOLVEK kolvek_core kolvek_win32)
    target_compile_options(${target} PRIVATE
        -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
        -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
endforeach()
target_link_options(KOLVEK PRIVATE -Wl,--no-insert-timestamp)

# --- The zip ----------------------------------------------------------------------
set(KOLVEK_ZIP ${CMAKE_BINARY_DIR}/KOLVEK-${PROJECT_VERSION}-win32.zip)
# Runs every time it is asked for: the zip's file times come from the last
# commit, which can change while the files do not.
add_custom_target(kolvek_zip
    COMMAND ${CMAKE_COMMAND} -DKOLVEK_SOURCE_DIR=${CMAKE_SOURCE_DIR}
            -DKOLVEK_EXE=$<TARGET_FILE:KOLVEK> -DKOLVEK_README=${KOLVEK_README}
            -DKOLVEK_STAGE=${CMAKE_BINARY_DIR}/zip -DKOLVEK_ZIP=${KOLVEK_ZIP}
            -P ${CMAKE_CURRENT_LIST_DIR}/MakeZip.cmake
    BYPRODUCTS ${KOLVEK_ZIP} ${KOLVEK_ZIP}.sha256
    COMMENT "Packing KOLVEK-${PROJECT_VERSION}-win32.zip"
    VERBATIM)
add_dependencies(kolvek_zip KOLVEK kolvek_readme)
