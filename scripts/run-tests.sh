#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (each GUI and end-to-end
# test starts its own Xvfb). With --ci, as continuous integration runs it: the
# sources must follow .clang-format, warnings are errors, the core and GUI tests run
# once more under the sanitizers, the sanitized program gets three minutes of random
# input with a new seed, every fuzz target runs on its seed corpus, the includes
# between the source folders must follow the direction of the layers, and the Debian
# package is made and checked with lintian and appstreamcli.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
ci=0
if [ "${1:-}" = "--ci" ]; then ci=1; fi
"$root/scripts/install-dependencies.sh"
if [ "$ci" -eq 1 ]; then
  "$root/scripts/check-format.sh"
  "$root/scripts/check-layers.sh"
  "$root/scripts/build.sh" -DZN_WERROR=ON
else
  "$root/scripts/build.sh"
fi
(cd "$root/build" && ctest --output-on-failure -j 2 --timeout 300)
if [ "$ci" -eq 1 ]; then
  "$root/scripts/make-package.sh" --build-dir "$root/build"
  lintian --fail-on error "$root"/build/zn-api-viewer_*.deb
  appstreamcli validate --no-net "$root/build/desktop/org.zarnel.apiviewer.metainfo.xml"
  "$root/scripts/run-sanitized-tests.sh"
  "$root/scripts/run-monkey.sh" 180
  "$root/scripts/run-fuzzers.sh" 20
fi
