# Installs the build into a temporary prefix, checks the files a desktop expects, then builds
# the .deb and checks what it depends on.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(file bin/palimo-suite
             share/applications/org.palimo.PalimoSuite.desktop
             share/metainfo/org.palimo.PalimoSuite.metainfo.xml
             share/icons/hicolor/16x16/apps/org.palimo.PalimoSuite.png
             share/icons/hicolor/32x32/apps/org.palimo.PalimoSuite.png)
    if(NOT EXISTS ${WORK_DIR}/prefix/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

execute_process(COMMAND cpack -G DEB -B ${WORK_DIR}/package
                WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${output}")
endif()
file(GLOB packages ${WORK_DIR}/package/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb, found: ${packages}")
endif()
execute_process(COMMAND dpkg-deb --field ${packages} Depends OUTPUT_VARIABLE depends)
foreach(needed libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2)
    string(FIND "${depends}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not depend on ${needed}: ${depends}")
    endif()
endforeach()
execute_process(COMMAND dpkg-deb --contents ${packages} OUTPUT_VARIABLE contents)
foreach(file ./usr/bin/palimo-suite ./usr/share/applications/org.palimo.PalimoSuite.desktop)
    string(FIND "${contents}" "${file}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${file}")
    endif()
endforeach()
message(STATUS "installed and packaged; depends: ${depends}")
