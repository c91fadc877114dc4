#!/usr/bin/env bash
# Builds the core, toolkit and GUI tests with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitize/ and runs them; any finding fails the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-sanitize"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZN_SANITIZE=ON \
  -DZN_BUILD_BENCH=OFF -DZN_WERROR=ON >/dev/null
cmake --build "$build" --target core_tests toolkit_tests gui_tests -j 2

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# The program reports fatal signals itself, and its tests check that report.
export ASAN_OPTIONS="detect_leaks=1:handle_segv=0:handle_sigbus=0:handle_sigfpe=0:allow_user_segv_handler=1"
# The toolkit keeps its caches, types and fonts until the process ends; what it holds
# then is not ours to free.
export LSAN_OPTIONS="suppressions=$root/scripts/toolkit-leaks.supp:print_suppressions=0"
cd "$build/tests"
./core_tests --gtest_brief=1
./toolkit_tests --gtest_brief=1
./gui_tests --gtest_brief=1
