# The hardening Debian's dpkg-buildflags gives a package (with hardening=+all), on palimo_build:
# stack protector, stack clash protection, control-flow protection where the processor has it,
# fortified libc calls, format checks, position-independent executables and a read-only
# relocation table bound at start-up. Debian 13 gives the stack clash and control-flow flags,
# which Debian 12's compiler takes as well, so both releases build with all of them.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set_property(TARGET palimo_build PROPERTY INTERFACE_POSITION_INDEPENDENT_CODE ON)
target_compile_options(palimo_build INTERFACE -fstack-protector-strong -Wformat
                                              -Werror=format-security)
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "PALIMO_HAS${flag}" supported)
    check_cxx_compiler_flag(${flag} ${supported})
    if(${supported})
        target_compile_options(palimo_build INTERFACE ${flag})
    endif()
endforeach()
# Fortification needs the optimiser; a Debug build would only warn that it is off.
target_compile_definitions(palimo_build INTERFACE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
target_link_options(palimo_build INTERFACE -Wl,-z,relro -Wl,-z,now)
