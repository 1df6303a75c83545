# The hardening Debian's dpkg-buildflags gives a package (with hardening=+all): stack protector,
# fortified libc calls, format checks, position-independent executables and a read-only
# relocation table bound at start-up.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Fortification needs the optimiser; a Debug build would only warn that it is off.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(-Wl,-z,relro -Wl,-z,now)
