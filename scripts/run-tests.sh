#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (each GUI and end-to-end
# test starts its own Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-dependencies.sh"
"$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure -j 2 --timeout 300
