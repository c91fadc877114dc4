#!/usr/bin/env bash
# Builds the benchmarks into build/ (or the folder given as the first argument) and runs
# every bench_* program there under its own Xvfb. Each prints its time, a baseline
# measured in the same run, and the ratio against its goal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target benchmarks -j "$(nproc)"

status=0
found=0
for program in "$build"/bench/bench_*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  found=1
  # -noreset: Xvfb would otherwise reset when a client leaves, which costs time.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$program" || status=1
done
if [ "$found" -eq 0 ]; then
  echo "no benchmark programs in $build/bench" >&2
  exit 1
fi
exit "$status"
