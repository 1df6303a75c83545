# Installs the build as a distribution would, checks what a desktop and a packager expect of
# the tree, then builds the .deb and has lintian judge it.
# Needs: BUILD_DIR, WORK_DIR, APP_ID, APPSTREAMCLI, LINTIAN, READELF, DPKG_BUILDFLAGS.
file(REMOVE_RECURSE ${WORK_DIR})
set(root ${WORK_DIR}/root)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "${command} failed (${result}):\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

function(require_contains text expected what)
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what}: \"${expected}\" not found in:\n${text}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${root}/usr)

set(icons share/icons/hicolor)
foreach(file bin/palimo-suite
             share/applications/${APP_ID}.desktop
             share/metainfo/${APP_ID}.metainfo.xml
             ${icons}/scalable/apps/${APP_ID}.svg
             share/man/man1/palimo-suite.1.gz
             share/doc/palimo-suite/copyright
             share/doc/palimo-suite/changelog.gz)
    if(NOT EXISTS ${root}/usr/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${root}/usr/${icons}/${size}x${size}/apps/${APP_ID}.png)
    if(NOT EXISTS ${png})
        message(FATAL_ERROR "no ${size}x${size} theme icon")
    endif()
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
    math(EXPR expected "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" expected "${expected}")
    string(LENGTH "${expected}" length)
    math(EXPR padding "8 - ${length}")
    string(REPEAT "0" ${padding} zeros)
    if(NOT header STREQUAL "${zeros}${expected}${zeros}${expected}")
        message(FATAL_ERROR "the ${size}x${size} theme icon is not ${size} x ${size}: ${header}")
    endif()
endforeach()

# One identity: the entry's name, its icon, the AppStream id and its launchable agree (the
# program's own desktop file name is checked against the same id by tst_application).
file(READ ${root}/usr/share/applications/${APP_ID}.desktop entry)
require_contains("${entry}" "\nIcon=${APP_ID}\n" "the desktop entry's icon")
file(READ ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml metainfo)
require_contains("${metainfo}" "<id>${APP_ID}</id>" "the AppStream id")
require_contains("${metainfo}" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
                 "the AppStream launchable")

# Hardened as this release's dpkg-buildflags would harden a package: PIE, full RELRO bound at
# start-up and the stack protector show in the program; fortification shows only where the
# compiler knows an object's size, which none of the program's own calls do, and stack clash
# and control-flow protection leave no mark that readelf reads, so the compile flags are
# compared with what dpkg-buildflags gives.
set(program ${root}/usr/bin/palimo-suite)
run(${READELF} --file-header --program-headers --dynamic --dyn-syms --wide ${program})
set(elf "${output}")
require_contains("${elf}" "DYN (Position-Independent Executable file)" "PIE")
require_contains("${elf}" "GNU_RELRO" "RELRO")
require_contains("${elf}" "BIND_NOW" "immediate binding")
require_contains("${elf}" "__stack_chk_fail" "the stack protector")
file(READ ${BUILD_DIR}/compile_commands.json commands)
# The program's own compile, of its source or of the unity batch that holds it.
string(REGEX MATCHALL
       "\"command\": \"[^\"]*(/app/main\\.cpp|/palimo-suite\\.dir/Unity/unity_[0-9]+_cxx\\.cxx)\""
       main_command "${commands}")
if(NOT main_command)
    message(FATAL_ERROR "no compile command of the program in ${BUILD_DIR}/compile_commands.json")
endif()
run(${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
    ${DPKG_BUILDFLAGS} --get CPPFLAGS)
set(debian_flags "${output}")
run(${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
    ${DPKG_BUILDFLAGS} --get CXXFLAGS)
string(STRIP "${debian_flags} ${output}" debian_flags)
separate_arguments(debian_flags UNIX_COMMAND "${debian_flags}")
foreach(flag ${debian_flags})
    # Debugging, optimisation, reproducible paths and a date warning are no hardening.
    if(NOT flag MATCHES "^(-g|-O.*|-ffile-prefix-map=.*|-Wdate-time)$")
        require_contains("${main_command}" " ${flag} " "the hardening of dpkg-buildflags")
    endif()
endforeach()

run(${APPSTREAMCLI} validate --pedantic --no-net ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml)
# What a software centre's catalogue is made of: compose must find the component and its icon.
run(${APPSTREAMCLI} compose --no-color --origin=palimo --result-root=${WORK_DIR}/compose
    --print-report=full ${root})
set(report "${output}")
if(report MATCHES "\nE: |error")
    message(FATAL_ERROR "appstreamcli compose reported errors:\n${report}")
endif()
file(GLOB_RECURSE catalogue ${WORK_DIR}/compose/*.yml.gz ${WORK_DIR}/compose/*.xml.gz)
file(GLOB_RECURSE composed_icons ${WORK_DIR}/compose/*${APP_ID}*.png)
if(NOT catalogue OR NOT composed_icons)
    message(FATAL_ERROR "appstreamcli compose made no component with an icon:\n${report}")
endif()

run(cpack -G DEB -B ${WORK_DIR}/package WORKING_DIRECTORY ${BUILD_DIR})
file(GLOB packages ${WORK_DIR}/package/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb, found: ${packages}")
endif()
run(dpkg-deb --field ${packages} Depends Recommends)
set(fields "${output}")
foreach(needed libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n
               fonts-liberation2 fonts-dejavu-core "Recommends: qt6-wayland")
    require_contains("${fields}" "${needed}" "the package's dependencies")
endforeach()
# The package's program is stripped; its symbols are the debug component's, under its build id.
run(dpkg-deb --extract ${packages} ${WORK_DIR}/unpacked)
run(${READELF} --notes --section-headers --wide ${WORK_DIR}/unpacked/usr/bin/palimo-suite)
set(packaged "${output}")
if(packaged MATCHES "\\.debug_info")
    message(FATAL_ERROR "the packaged program is not stripped")
endif()
if(NOT packaged MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
    message(FATAL_ERROR "the packaged program has no build id")
endif()
set(symbols .build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/debug/usr --component debug)
set(symbols ${WORK_DIR}/debug/usr/lib/debug/${symbols})
if(NOT EXISTS ${symbols})
    message(FATAL_ERROR "the debug component lacks the program's symbols ${symbols}")
endif()
run(${READELF} --section-headers --wide ${symbols})
require_contains("${output}" ".debug_info" "the program's symbols")

run(${LINTIAN} --fail-on error,warning --tag-display-limit 0 ${packages})
message(STATUS "lintian:\n${output}")
message(STATUS "installed and packaged:\n${fields}")
