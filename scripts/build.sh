#!/usr/bin/env bash
# Configures and builds the viewer, its tests and benchmarks into build/.
# Extra arguments go to CMake (for example -DZN_ADMIN_MODE=ON).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$root/build" -j "$(nproc)"
