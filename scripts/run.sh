#!/usr/bin/env bash
# Installs what is missing, builds Palimo Suite (the program only) and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${RUN_PACKAGES[@]}"
cmake --preset release
cmake --build --preset release --parallel "$JOBS"
exec "$PROJECT_DIR/build/release/app/palimo-suite" "$@"
