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
