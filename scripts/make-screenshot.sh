#!/usr/bin/env bash
# Makes the README's picture of the main window on the sample library: the viewer
# runs in a virtual X server (Xvfb) with English texts and coloured code, a search
# picks one snippet, and the window is saved as PNG.
#
#   scripts/make-screenshot.sh [OUTPUT.png]     (default: docs/main-window.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# Runs inside the virtual X server: start, search, wait for the snippet, save.
take_picture() {
  local program_dir="$1" output="$2" window pid
  "$program_dir/zn-api-viewer" & pid=$!
  window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Linux ZN-ZID-Idavode-Ruriva' | head -n 1)"
  # There is no window manager: the keyboard follows the pointer into the window.
  xdotool mousemove --window "$window" 700 500 windowfocus --sync "$window"
  xdotool type --delay 40 "Modal dialog"
  timeout 30 xdotool search --sync --onlyvisible --name 'DialogButtons\.zn' >/dev/null
  # The code is drawn shortly after the title changes: save once two pictures agree.
  local previous="$program_dir/previous.png" tries
  import -window "$window" "$previous"
  for ((tries = 0; tries < 100; tries++)); do
    import -window "$window" "$output"
    cmp -s "$previous" "$output" && break
    cp "$output" "$previous"
  done
  kill "$pid"
}

if [ "${1:-}" = "--inside-xvfb" ]; then
  take_picture "$2" "$3"
  exit 0
fi

output="$(realpath -m "${1:-$root/docs/main-window.png}")"
mkdir -p "$(dirname "$output")"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target zn-api-viewer -j "$(nproc)" >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$root/build/program/." "$work/"
# English texts, coloured code, a fixed size, and no about dialog in the way.
{
  printf '\xEF\xBB\xBF\n'
  printf '%s\n' "db-path=ZN-LinuxAPI-Toc.xml" "Lib-path=" "about=1" "Language=1" "CodeMarks=2" \
    "WinWidth=960" "WinHight=620" "Splitter=330"
} >"$work/DizerEZ VAV-AruRuvove.ini"
xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside-xvfb "$work" "$output"
echo "Saved $output"
