# Shared by the run and test commands: installs missing Debian packages.
set -euo pipefail

PROJECT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)
cd "$PROJECT_DIR"

# What building and starting the program needs: the compiler, Qt, xcb (for the one X11 window
# state Qt has no call for), the Snowball stemmer, the platform plugins, Qt's Russian texts, and
# the fonts the layout was drawn for.
RUN_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev libstemmer-dev
              qt6-qpa-plugins qt6-translations-l10n fonts-liberation2 fonts-dejavu-core)

# What the tests need beyond that: the test frameworks; the validators of the desktop entry and
# the AppStream data, and the SVG reader the composer loads the scalable icon with; dpkg-dev,
# file and lintian for the .deb; weston and Qt's Wayland plugin for the Wayland start; an X
# server, a window manager and X tools for the desktop pass; clang with its runtime for the
# fuzzers and sanitizers, clang-tidy and clang-format; the accessibility bus and pyatspi, with a
# session bus to run them in, for the reader pass. Names without a version: each release has its
# own.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev desktop-file-utils appstream appstream-compose
               librsvg2-common dpkg-dev file lintian binutils weston qt6-wayland xvfb openbox
               xdotool x11-utils imagemagick clang clang-tidy clang-format libclang-rt-dev
               at-spi2-core python3-pyatspi dbus-daemon)

ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing Debian packages; as root, run: apt-get install ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
