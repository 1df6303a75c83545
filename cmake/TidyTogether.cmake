# palimo_tidy_together(NAME TARGET...): clang-tidy reads the sources of these targets as one file,
# which parses Qt's headers and matches the checks over them once for all the targets instead of
# once for each. The file is only read, never built; the Qt Test entry points after the first one
# are left out of it. The targets' own batches are then not read (see tests/CMakeLists.txt).
function(palimo_tidy_together name)
    add_library(${name} OBJECT EXCLUDE_FROM_ALL)
    foreach(target ${ARGN})
        get_target_property(directory ${target} SOURCE_DIR)
        get_target_property(binary_directory ${target} BINARY_DIR)
        get_target_property(listed ${target} SOURCES)
        # Only the tree's own sources: not what rcc writes into the build tree, which some
        # releases of Qt list among the target's sources.
        set(sources "")
        foreach(source ${listed})
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${directory})
            cmake_path(IS_PREFIX PROJECT_SOURCE_DIR ${source} NORMALIZE in_tree)
            cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${source} NORMALIZE in_build)
            if(source MATCHES "\\.cpp$" AND in_tree AND NOT in_build)
                list(APPEND sources ${source})
            endif()
        endforeach()
        target_sources(${name} PRIVATE ${sources})
        get_target_property(libraries ${target} LINK_LIBRARIES)
        target_link_libraries(${name} PRIVATE ${libraries})
        target_include_directories(${name} PRIVATE ${binary_directory}/${target}_autogen/include)
        foreach(property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS)
            get_target_property(values ${target} ${property})
            if(values)
                set_property(TARGET ${name} APPEND PROPERTY ${property} ${values})
            endif()
        endforeach()
        set_property(GLOBAL APPEND PROPERTY PALIMO_TIDIED_TOGETHER ${target} ${sources})
    endforeach()
    set_target_properties(${name} PROPERTIES
        AUTOMOC OFF UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0
        UNITY_BUILD_CODE_AFTER_INCLUDE
            "#undef QTEST_MAIN\n#undef QTEST_APPLESS_MAIN\n#undef QTEST_GUILESS_MAIN\n#define QTEST_MAIN(TestObject)\n#define QTEST_APPLESS_MAIN(TestObject)\n#define QTEST_GUILESS_MAIN(TestObject)")
endfunction()
