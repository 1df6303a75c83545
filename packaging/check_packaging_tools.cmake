# Read by cpack before it builds a package. Without dpkg-shlibdeps CPack would still write a
# .deb, one that lists none of the libraries the program links; without `file` it cannot tell
# which files to strip. Either way the package would lie, so there is none.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(missing "")
    foreach(tool_and_package "dpkg-shlibdeps;dpkg-dev" "file;file")
        list(GET tool_and_package 0 tool)
        list(GET tool_and_package 1 package)
        # Only the PATH, as the shell that runs cpack sees it.
        find_program(tool_path ${tool} NO_CACHE NO_CMAKE_PATH NO_CMAKE_ENVIRONMENT_PATH
                     NO_CMAKE_SYSTEM_PATH NO_CMAKE_INSTALL_PREFIX)
        if(NOT tool_path)
            list(APPEND missing "${tool} (package ${package})")
        endif()
    endforeach()
    if(missing)
        list(JOIN missing ", " missing)
        message(FATAL_ERROR "cannot build the .deb without ${missing}; install what is missing")
    endif()
endif()
