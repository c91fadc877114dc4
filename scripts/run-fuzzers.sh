#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ and runs each for a while
# (20 seconds, or the number of seconds given as the first argument) on its seed
# corpus: tests/fuzz/corpus/<target> and the fitting files of the sample library.
# A fault stops the run; its input is left in build-fuzz/fuzz-findings/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZN_FUZZ=ON -DZN_BUILD_TESTS=OFF -DZN_BUILD_BENCH=OFF -DZN_WERROR=ON >/dev/null
cmake --build "$build" --target fuzzers -j 2

# The sample files that make good seeds for a target.
sample_seeds() {
  case "$1" in
    database) echo "$root/sample/ZN-LinuxAPI-Toc.xml" ;;
    settings_file) echo "$root/sample/DizerEZ VAV-AruRuvove.ini" ;;
    language_file) echo "$root/sample/DizerEZ API-LibLang.inf" ;;
    code_file | highlight) find "$root/sample" -name '*.zn*' ;;
  esac
}

findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
for program in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$program" ] || continue
  name="$(basename "$program")"
  target="${name#fuzz_}"
  work="$(mktemp -d)"
  seeds="$work/seeds"
  mkdir -p "$seeds" "$work/corpus"
  cp "$root/tests/fuzz/corpus/$target"/* "$seeds"/ 2>/dev/null || true
  while IFS= read -r file; do
    [ -n "$file" ] && cp "$file" "$seeds/"
  done < <(sample_seeds "$target")
  echo "== $name for ${seconds} s"
  if ! "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$findings/$name-" "$work/corpus" "$seeds" 2>"$work/log"; then
    tail -n 60 "$work/log"
    echo "$name found a fault; its input is in $findings" >&2
    status=1
  else
    grep -E "^stat::number_of_executed_units|^Done" "$work/log" || true
  fi
  rm -rf "$work"
done
exit "$status"
