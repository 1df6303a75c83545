# Shared by the run and test commands: installs missing Debian packages and configures a build.
set -euo pipefail

PROJECT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

# Packages the program needs to build and run.
BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libbenchmark-dev
                fonts-liberation2 fonts-dejavu-core)

# What the tests need beyond that: desktop-entry and AppStream validators, dpkg-shlibdeps for
# the .deb, and clang with its runtime for the fuzzers and sanitizers.
TEST_PACKAGES=(desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev)

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
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    local build_dir=$1
    shift
    cmake -S "$PROJECT_DIR" -B "$build_dir" "$@"
    cmake --build "$build_dir" --parallel "$JOBS"
}
