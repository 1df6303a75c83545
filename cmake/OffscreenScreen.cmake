# Headless runs of the windows use Qt's offscreen platform, whose one screen is 800 x 800 pixels
# unless a configuration file says otherwise: smaller than the main window's design, which then
# scrolls. palimo_offscreen_platform(VAR WIDTH HEIGHT) sets VAR to the platform for a screen of
# that size, for QT_QPA_PLATFORM; PALIMO_OFFSCREEN_PLATFORM is a 1920 x 1080 screen.
function(palimo_offscreen_platform variable width height)
    set(file ${PROJECT_BINARY_DIR}/offscreen/${width}x${height}.json)
    file(CONFIGURE OUTPUT ${file} CONTENT [[
{"screens": [{"name": "Screen", "x": 0, "y": 0, "width": @width@, "height": @height@,
              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
]] @ONLY)
    set(${variable} "offscreen:configfile=${file}" PARENT_SCOPE)
endfunction()

palimo_offscreen_platform(PALIMO_OFFSCREEN_PLATFORM 1920 1080)

# palimo_offscreen_test(TEST [SCREEN WIDTHxHEIGHT@SCALE]): the test shows its windows on the
# offscreen platform, on a screen of that size and scale, 1920 x 1080 at 1 unless given. Every
# test of the windows sets its platform here.
function(palimo_offscreen_test test)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "SCREEN" "")
    if(NOT arg_SCREEN)
        set(arg_SCREEN 1920x1080@1)
    endif()
    string(REGEX MATCH "^([0-9]+)x([0-9]+)@(.+)$" matched ${arg_SCREEN})
    set(scale ${CMAKE_MATCH_3})
    palimo_offscreen_platform(platform ${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT QT_QPA_PLATFORM=${platform}
                                                          QT_SCALE_FACTOR=${scale})
endfunction()
