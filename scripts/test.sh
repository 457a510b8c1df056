#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (widgets offscreen).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QZ_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure
