# Without dpkg-shlibdeps or `file` on the PATH, cpack writes no .deb and says what is missing.
# Needs: BUILD_DIR, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/bin)
find_program(file_tool file REQUIRED)
file(CREATE_LINK ${file_tool} ${WORK_DIR}/bin/file SYMBOLIC)

foreach(case "empty;dpkg-shlibdeps (package dpkg-dev), file (package file)"
             "bin;dpkg-shlibdeps (package dpkg-dev)")
    list(GET case 0 path)
    list(GET case 1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${WORK_DIR}/${path}
                            ${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK_DIR}/package-${path}
                    WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result
                    OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(result EQUAL 0)
        message(FATAL_ERROR "cpack succeeded with PATH=${path}:\n${output}")
    endif()
    string(REGEX REPLACE "[ \n]+" " " output "${output}") # CMake wraps long messages
    string(FIND "${output}" "cannot build the .deb without ${expected};" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "cpack did not say what is missing with PATH=${path}:\n${output}")
    endif()
    file(GLOB_RECURSE written ${WORK_DIR}/package-${path}/*.deb)
    if(written)
        message(FATAL_ERROR "cpack wrote ${written} with PATH=${path}")
    endif()
endforeach()
