#!/usr/bin/env bash
# Installs what is needed, builds, and opens the viewer on the bundled sample library.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-dependencies.sh"
"$root/scripts/build.sh"
viewer="$root/build/program/zn-api-viewer"
if [ -n "${DISPLAY:-}" ]; then
  exec "$viewer"
fi
echo "No display found: starting the viewer inside a virtual X server (Xvfb)."
echo "It runs there unseen; take a screenshot with: DISPLAY=<shown below> import -window root shot.png"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'echo "Display: $DISPLAY"; exec "$0"' "$viewer"
