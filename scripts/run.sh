#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QZ_BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "$build/bin/qzv2017" "$@"
