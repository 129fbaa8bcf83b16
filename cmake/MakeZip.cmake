# Packs KOLVEK.EXE and Liesmich.txt into the zip with `cmake -E tar`, so that
# the zip depends on nothing but the two files: always this order, fixed
# permissions, every time stamp SOURCE_DATE_EPOCH (from the environment, else
# the last commit's time, else a fixed day), and the DOS times, which are
# local times, taken in UTC. Writes the SHA-256 beside it in the format of
# `sha256sum -c`. Called by the kolvek_zip target (Package.cmake):
#   cmake -DKOLVEK_SOURCE_DIR=... -DKOLVEK_EXE=... -DKOLVEK_README=...
#         -DKOLVEK_STAGE=... -DKOLVEK_ZIP=... -P MakeZip.cmake

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
    set(epoch "")
    find_program(git_program git)
    if(git_program)
        execute_process(
            COMMAND ${git_program} -C ${KOLVEK_SOURCE_DIR} log -1 --format=%ct
            OUTPUT_VARIABLE epoch
            OUTPUT_STRIP_TRAILING_WHITESPACE
            ERROR_QUIET
            RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            set(epoch "")
        endif()
    endif()
    if(epoch STREQUAL "")
        set(epoch 946684800)
        message(STATUS "No SOURCE_DATE_EPOCH and no git history: the zip's files are dated 2000-01-01")
    endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: ${epoch}")
endif()

file(REMOVE_RECURSE ${KOLVEK_STAGE})
file(MAKE_DIRECTORY ${KOLVEK_STAGE})
file(COPY ${KOLVEK_EXE} DESTINATION ${KOLVEK_STAGE}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
file(COPY ${KOLVEK_README} DESTINATION ${KOLVEK_STAGE}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
get_filename_component(exe_name ${KOLVEK_EXE} NAME)
get_filename_component(readme_name ${KOLVEK_README} NAME)

set(ENV{SOURCE_DATE_EPOCH} ${epoch})
set(ENV{TZ} UTC0)
file(REMOVE ${KOLVEK_ZIP} ${KOLVEK_ZIP}.sha256)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar cf ${KOLVEK_ZIP} --format=zip -- ${exe_name} ${readme_name}
    WORKING_DIRECTORY ${KOLVEK_STAGE}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${KOLVEK_ZIP})
    message(FATAL_ERROR "Could not make ${KOLVEK_ZIP}")
endif()

file(SHA256 ${KOLVEK_ZIP} hash)
get_filename_component(zip_name ${KOLVEK_ZIP} NAME)
file(WRITE ${KOLVEK_ZIP}.sha256 "${hash}  ${zip_name}\n")
file(SIZE ${KOLVEK_ZIP} size)
message(STATUS "${zip_name}: ${size} bytes, SHA-256 ${hash}")
