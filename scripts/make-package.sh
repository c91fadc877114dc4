#!/usr/bin/env bash
# Makes the Debian package of the viewer, for every user of a machine:
# build/zn-api-viewer_VERSION_ARCH.deb, installed with "apt install ./FILE.deb".
#
#   scripts/make-package.sh [--build-dir DIR] [--output-dir DIR]
#
# It holds the program folder /usr/lib/zn-api-viewer (program, sample library,
# language file and the settings file every user starts from), the launcher
# /usr/bin/zn-api-viewer, the menu entry, the icons, the snippet files' type
# text/x-zarnel, the software centres' description and the manual page. The program
# folder is read-only there, so each user's settings live in ~/.config/zn-api-viewer.
#
# Without --build-dir the missing packages are installed and the program is built
# in build/ first; with it, the files built there are taken as they are. The
# package goes to the build folder, or to the --output-dir. ZN_PACKAGE_MAINTAINER
# names the maintainer ("Name <address>").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name=zn-api-viewer
maintainer="${ZN_PACKAGE_MAINTAINER:-Zarnel API Viewer developers <maintainers@zn-api-viewer.invalid>}"

usage() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
  exit "$1"
}

build_dir=""
output_dir=""
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) [ $# -ge 2 ] || usage 2; build_dir="$2"; shift 2 ;;
    --output-dir) [ $# -ge 2 ] || usage 2; output_dir="$2"; shift 2 ;;
    -h | --help) usage 0 ;;
    *) echo "make-package.sh: unknown argument: $1" >&2; usage 2 ;;
  esac
done

if [ -z "$build_dir" ]; then
  "$root/scripts/install-dependencies.sh"
  build_dir="$root/build"
  cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target "$name" desktop_icons -j "$(nproc)"
fi
build_dir="$(cd "$build_dir" && pwd)"
for needed in "program/$name" desktop/icons/hicolor "desktop/$name.1" desktop/org.zarnel.apiviewer.metainfo.xml; do
  if [ ! -e "$build_dir/$needed" ]; then
    echo "make-package.sh: $build_dir/$needed is missing: build the program first" >&2
    exit 1
  fi
done
output_dir="${output_dir:-$build_dir}"
mkdir -p "$output_dir"
output_dir="$(cd "$output_dir" && pwd)"

version="$("$build_dir/program/$name" --version | cut -d' ' -f2)"
arch="$(dpkg --print-architecture)"
# The date of the last commit, so that the same sources make the same package.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}"

stage="$(mktemp -d)"
trap 'rm -rf -- "$stage"' EXIT
umask 022
program_dir="$stage/usr/lib/$name"
share="$stage/usr/share"

place() {  # SOURCE TARGET MODE
  install -D -m "$3" -- "$1" "$2"
}

place_program_folder() {
  place "$build_dir/program/$name" "$program_dir/$name" 755
  strip --strip-unneeded --remove-section=.comment --remove-section=.note "$program_dir/$name"
  # The export templates serve the administrator's variant only, which is not packaged.
  local file
  while IFS= read -r -d '' file; do
    place "$file" "$program_dir/${file#"$root/sample/"}" 644
  done < <(find "$root/sample" -path "$root/sample/Templates" -prune -o -type f -print0)
  mkdir -p "$stage/usr/bin"
  ln -s "../lib/$name/$name" "$stage/usr/bin/$name"
}

place_desktop_files() {
  local template
  template="$(cat "$root/src/resources/$name.desktop.in")"
  mkdir -p "$share/applications"
  printf '%s\n' "${template//@LAUNCHER@/$name}" >"$share/applications/$name.desktop"
  chmod 644 "$share/applications/$name.desktop"
  local icon
  while IFS= read -r -d '' icon; do
    place "$icon" "$share/icons/hicolor/${icon#"$build_dir/desktop/icons/hicolor/"}" 644
  done < <(find "$build_dir/desktop/icons/hicolor" -type f -print0)
  place "$root/src/resources/desktop/$name-mime.xml" "$share/mime/packages/$name.xml" 644
  place "$build_dir/desktop/org.zarnel.apiviewer.metainfo.xml" \
    "$share/metainfo/org.zarnel.apiviewer.metainfo.xml" 644
}

place_documents() {
  mkdir -p "$share/man/man1" "$share/doc/$name"
  gzip -9n <"$build_dir/desktop/$name.1" >"$share/man/man1/$name.1.gz"
  cat >"$share/doc/$name/copyright" <<EOF
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: $name

Files: *
Copyright: $(date -u -d "@$SOURCE_DATE_EPOCH" +%Y) the developers of the Zarnel API Viewer and its snippet library
License: zn-api-viewer
 Free to use, copy and share with the Zarnel snippet library.
EOF
  {
    printf '%s (%s) stable; urgency=medium\n\n' "$name" "$version"
    printf '  * Version %s of the viewer.\n\n' "$version"
    printf ' -- %s  %s\n' "$maintainer" "$(date -u -R -d "@$SOURCE_DATE_EPOCH")"
  } | gzip -9n >"$share/doc/$name/changelog.gz"
  chmod 644 "$share/man/man1/$name.1.gz" "$share/doc/$name/copyright" "$share/doc/$name/changelog.gz"
}

# The shared libraries the program links, as package names with their least versions.
library_depends() {
  local scratch
  scratch="$(mktemp -d)"
  mkdir "$scratch/debian"
  printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$name" "$name" >"$scratch/debian/control"
  (cd "$scratch" && dpkg-shlibdeps -O "$program_dir/$name") | sed -n 's/^shlibs:Depends=//p'
  rm -rf -- "$scratch"
}

write_control() {
  mkdir -p "$stage/DEBIAN"
  local size
  size="$(du -sk --apparent-size "$stage/usr" | cut -f1)"
  cat >"$stage/DEBIAN/control" <<EOF
Package: $name
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $size
Depends: $(library_depends)
Recommends: libcurl3-gnutls | libcurl4, xdg-utils
Section: devel
Priority: optional
Description: viewer for the Zarnel code snippets of the Linux desktop interfaces
 A library of Zarnel source-code snippets, each showing how to call one Linux
 desktop interface (GTK, GDK, GLib and others), with a viewer to browse it:
 a topic tree, search as you type, syntax highlighting and links between
 topics, and the code taken away by clipboard, drag and drop or an editor.
 .
 Every user keeps settings of their own in ~/.config/zn-api-viewer. The update
 check needs libcurl, which the viewer loads only when it is used.
EOF
  (cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
  chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"
}

place_program_folder
place_desktop_files
place_documents
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
write_control
package="$output_dir/${name}_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "Made $package"
