# Fails when clang-format would lay out any C++ source of the project otherwise than it stands.
# Needs: CLANG_FORMAT, SOURCE_DIR.
set(sources)
foreach(folder analysis app bench fuzz tests tools ui)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${found})
endforeach()
list(SORT sources)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "clang-format lays out the sources above otherwise")
endif()
