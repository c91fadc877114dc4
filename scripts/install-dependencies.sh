#!/usr/bin/env bash
# Installs what building, running and testing the viewer needs on Debian 12.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtk2.0-dev libexpat1-dev libglib2.0-dev-bin librsvg2-bin libcurl4
  libgtest-dev clang libclang-rt-dev
  xvfb xauth xdotool xclip fonts-dejavu-core imagemagick
)

if [ "$(id -u)" -ne 0 ]; then
  echo "Run this as root (or with sudo): it installs Debian packages." >&2
  exit 1
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
