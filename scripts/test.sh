#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: the ordinary build, the
# same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzers for a
# bounded time.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen
FUZZ_SECONDS=${PALIMO_FUZZ_SECONDS:-10}

echo "== Build and test"
configure_and_build "$PROJECT_DIR/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$PROJECT_DIR/build" --output-on-failure --parallel "$JOBS"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
configure_and_build "$PROJECT_DIR/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DPALIMO_SANITIZE=ON \
    -DPALIMO_BUILD_BENCHMARKS=OFF
# The package check inspects the ordinary build's binary; the sanitized one links libasan.
ctest --test-dir "$PROJECT_DIR/build-sanitize" --output-on-failure --parallel "$JOBS" \
    --exclude-regex '^install_and_package$'

echo "== Fuzz for ${FUZZ_SECONDS} s a target"
CC=clang CXX=clang++ configure_and_build "$PROJECT_DIR/build-fuzz" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALIMO_BUILD_UI=OFF -DPALIMO_BUILD_BENCHMARKS=OFF \
    -DPALIMO_SANITIZE=ON -DPALIMO_BUILD_FUZZERS=ON -DPALIMO_FUZZ_SECONDS="$FUZZ_SECONDS"
ctest --test-dir "$PROJECT_DIR/build-fuzz" --output-on-failure --parallel "$JOBS" \
    --tests-regex '^fuzz_'
