# Copies the program's symbols to DEBUG_ROOT/.build-id/NN/REST.debug, named by its build id.
# Needs: PROGRAM, DEBUG_ROOT, OBJCOPY, READELF.
execute_process(COMMAND ${READELF} --notes ${PROGRAM} OUTPUT_VARIABLE notes COMMAND_ERROR_IS_FATAL ANY)
if(NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "${PROGRAM} has no build id")
endif()
file(REMOVE_RECURSE ${DEBUG_ROOT})
file(MAKE_DIRECTORY ${DEBUG_ROOT}/.build-id/${CMAKE_MATCH_1})
execute_process(COMMAND ${OBJCOPY} --only-keep-debug --compress-debug-sections ${PROGRAM}
                        ${DEBUG_ROOT}/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug
                COMMAND_ERROR_IS_FATAL ANY)
