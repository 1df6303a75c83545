#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the ordinary build with
# the packaging checks, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzzers for a bounded time.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
FUZZ_SECONDS=${PALIMO_FUZZ_SECONDS:-10}

for preset in ci sanitize fuzz; do
    echo "== Build and test: $preset"
    options=()
    [ "$preset" = fuzz ] && options=(-DPALIMO_FUZZ_SECONDS="$FUZZ_SECONDS")
    cmake --preset "$preset" "${options[@]}"
    cmake --build --preset "$preset" --parallel "$JOBS"
    ctest --preset "$preset" --parallel "$JOBS"
done
