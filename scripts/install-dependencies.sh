#!/usr/bin/env bash
# Installs what building, running and testing the viewer needs on Debian 12.
# Only missing packages are installed, and only then is root needed: as a normal
# user it uses sudo, or says what to run when there is no sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtk2.0-dev libexpat1-dev libglib2.0-dev-bin librsvg2-bin libcurl4
  libx11-dev libxfixes-dev libxtst-dev
  libgtest-dev clang libclang-rt-dev clang-format
  xvfb xauth xdotool xclip fonts-dejavu-core imagemagick desktop-file-utils openbox python3
  shared-mime-info xdg-utils libglib2.0-bin
  dpkg-dev lintian appstream
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -eq 0 ]; then exit 0; fi

echo "Installing the missing packages: ${missing[*]}"
install_missing=(env DEBIAN_FRONTEND=noninteractive sh -c
  'apt-get update -qq && apt-get install -y --no-install-recommends "$@"' apt-get "${missing[@]}")
if [ "$(id -u)" -eq 0 ]; then
  exec "${install_missing[@]}"
fi
if command -v sudo >/dev/null 2>&1; then
  exec sudo "${install_missing[@]}"
fi
echo "These packages are missing and installing them needs root. Run as root:" >&2
echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
exit 1
