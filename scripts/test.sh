#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
configure_and_build "$PROJECT_DIR/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$PROJECT_DIR/build" --output-on-failure --parallel "$JOBS"
