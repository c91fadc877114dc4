#!/usr/bin/env bash
# Installs what is needed, builds the administrator variant into build-admin/ and lays
# out a folder in which its exports work: the program folder two levels below a folder
# holding Templates/ and Export/, the page's icons in Export/Icons/ and the sample
# library as Export/Linux, so that the exported web page opens in a browser with
# working icons, links and outline. Then starts the program there.
# The folder is build-admin/site/, or the one given as the first argument.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-admin"
site="${1:-$build/site}"

"$root/scripts/install-dependencies.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZN_ADMIN_MODE=ON -DZN_BUILD_TESTS=OFF -DZN_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"

program="$site/Programs/Viewer"
mkdir -p "$program" "$site/Templates" "$site/Export/Icons"
cp -R "$build/program/." "$program/"
cp "$root/sample/Templates/ZN-LinuxAPI-Head.html" "$root/sample/Templates/ZN-LinuxAPI-Tail.html" "$site/Templates/"
for icon in folder folder-documents; do
  rsvg-convert --format=png --output="$site/Export/Icons/$icon.png" "$root/sample/Templates/Icons/$icon.svg"
done
ln -sfn ../Programs/Viewer "$site/Export/Linux"

echo "Administrator variant in $program"
echo "The admin button (spanner) opens the exports; they write to $site/Export/"
echo "The web page: $site/Export/ZN-LinuxAPI-Lib.html"
viewer="$program/zn-api-viewer"
if [ -n "${DISPLAY:-}" ]; then
  exec "$viewer"
fi
echo "No display found: starting the viewer inside a virtual X server (Xvfb)."
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'echo "Display: $DISPLAY"; exec "$0"' "$viewer"
