#!/usr/bin/env bash
# Installs what is missing, builds Palimo Suite and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
configure_and_build "$PROJECT_DIR/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$PROJECT_DIR/build/app/palimo-suite"
