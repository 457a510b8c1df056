#!/usr/bin/env bash
# Configures (once) and builds everything into build/. Re-running only rebuilds what changed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QZ_BUILD_DIR:-$root/build}"
jobs="$(nproc 2>/dev/null || echo 2)"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$jobs"
