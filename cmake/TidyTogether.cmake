# palimo_tidy_together(NAME TARGET...): clang-tidy reads the sources of these targets as one file,
# which parses Qt's headers and matches the checks over them once for all the targets instead of
# once for each. The file is only read, never built; the Qt Test entry points after the first one
# are left out of it. The targets' own batches are then not read (palimo_add_clang_tidy_test).
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
    # Each program's main() is given a name of its own, EntryPoint and a number, so that the
    # programs' entry points can be read in one file; a variable named main is left as it is.
    set_target_properties(${name} PROPERTIES
        AUTOMOC OFF UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0
        UNITY_BUILD_CODE_BEFORE_INCLUDE
            "#define PALIMO_TIDY_JOIN(a, b) a##b\n#define PALIMO_TIDY_ENTRY(n) PALIMO_TIDY_JOIN(EntryPoint, n)\n#define main(...) PALIMO_TIDY_ENTRY(__COUNTER__)(__VA_ARGS__)"
        UNITY_BUILD_CODE_AFTER_INCLUDE
            "#undef main\n#undef QTEST_MAIN\n#undef QTEST_APPLESS_MAIN\n#undef QTEST_GUILESS_MAIN\n#define QTEST_MAIN(TestObject)\n#define QTEST_APPLESS_MAIN(TestObject)\n#define QTEST_GUILESS_MAIN(TestObject)")
endfunction()

# palimo_moc_targets(VARIABLE DIRECTORY): the targets in which moc writes the code of the targets
# defined in DIRECTORY and below it, for clang-tidy to read it beside their sources.
function(palimo_moc_targets variable directory)
    set(found "")
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
        get_target_property(moc ${target} AUTOMOC)
        if(moc)
            list(APPEND found ${target}_autogen)
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory ${subdirectories})
        palimo_moc_targets(below ${subdirectory})
        list(APPEND found ${below})
    endforeach()
    set(${variable} ${found} PARENT_SCOPE)
endfunction()

# palimo_add_clang_tidy_test(), once every target is defined: the whole tree against the checks
# of .clang-tidy, with the compile commands of this build. In a unity build each batch is read as
# one file, which matches Qt's headers once a batch instead of once a source; the folders'
# configurations are copied beside the batches, which clang-tidy looks up from where each batch
# lies, and the batches' own includes of sources are no fault.
# What is reported is what lies in the source tree, the sources a batch includes among it, and
# not the code that moc writes into the build tree, which some releases put in the batches too.
function(palimo_add_clang_tidy_test)
    find_program(RUN_CLANG_TIDY run-clang-tidy REQUIRED)
    file(GLOB tidy_configs RELATIVE ${PROJECT_SOURCE_DIR}
         ${PROJECT_SOURCE_DIR}/.clang-tidy ${PROJECT_SOURCE_DIR}/*/.clang-tidy)
    foreach(config ${tidy_configs})
        configure_file(${PROJECT_SOURCE_DIR}/${config} ${PROJECT_BINARY_DIR}/${config} COPYONLY)
    endforeach()
    # The folders that hold our own code, as .clang-tidy's header filter names them for editors:
    # the checked sources and the reported headers are both drawn from that one list.
    file(STRINGS ${PROJECT_SOURCE_DIR}/.clang-tidy header_filter REGEX "^HeaderFilterRegex:")
    if(NOT header_filter MATCHES "/\\(([a-z|]+)\\)/")
        message(FATAL_ERROR ".clang-tidy names no folders in its HeaderFilterRegex")
    endif()
    set(folders "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "([][+.*?()^$|\\])" "\\\\\\1" source_pattern "${PROJECT_SOURCE_DIR}")
    # What is read together is not read again on its own.
    get_property(together GLOBAL PROPERTY PALIMO_TIDIED_TOGETHER)
    set(read_together "")
    foreach(item ${together})
        string(REGEX REPLACE "([][+.*?()^$|\\])" "\\\\\\1" pattern "${item}")
        if(IS_ABSOLUTE "${item}")
            list(APPEND read_together "${pattern}$")
        else()
            list(APPEND read_together ".*/CMakeFiles/${pattern}\\.dir/")
        endif()
    endforeach()
    list(JOIN read_together "|" read_together)
    if(read_together)
        set(read_together "(?!${read_together})")
    endif()
    add_test(NAME clang_tidy
             COMMAND ${RUN_CLANG_TIDY} -p ${PROJECT_BINARY_DIR} -quiet -j 2
                     -checks=-bugprone-suspicious-include
                     "-header-filter=^${source_pattern}/(${folders})/.*\\.(h|cpp)$"
                     "^${read_together}(${source_pattern}/(${folders})/.*\\.cpp|.*/Unity/unity_[0-9]+_cxx\\.cxx)$")
    # The longest tests are given their rough seconds as costs, which a run on a machine that has
    # timed none yet starts first, so that no long one is left running alone at the end.
    set_tests_properties(clang_tidy PROPERTIES TIMEOUT 1500 COST 150)
endfunction()
