#!/usr/bin/env bash
# Installs the viewer for the current user, without root: the program folder
# (program, sample library, language and settings file), a launcher, a menu
# entry, the program icon and the snippet files' type (text/x-zarnel, opened with
# the viewer). --uninstall removes what was installed, nothing else.
#
#   scripts/install.sh [--prefix DIR] [--uninstall] [--build-dir DIR]
#
# Without --prefix the program folder is ${XDG_DATA_HOME:-~/.local/share}/zn-api-viewer
# and the launcher ~/.local/bin/zn-api-viewer; with --prefix DIR they are
# DIR/share/zn-api-viewer and DIR/bin/zn-api-viewer. Without --build-dir the missing
# packages are installed and the program is built in build/ first; with it, the
# files built there are taken as they are ("cmake --install" does that).
#
# The program folder stays writable, since the program keeps its settings there.
# A re-install never overwrites an existing settings file or database.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
name=zn-api-viewer
settings_name="DizerEZ VAV-AruRuvove.ini"
database_name="ZN-LinuxAPI-Toc.xml"

usage() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
  exit "$1"
}

prefix=""
build_dir=""
uninstall=0
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) [ $# -ge 2 ] || usage 2; prefix="$2"; shift 2 ;;
    --prefix=*) prefix="${1#--prefix=}"; shift ;;
    --build-dir) [ $# -ge 2 ] || usage 2; build_dir="$2"; shift 2 ;;
    --build-dir=*) build_dir="${1#--build-dir=}"; shift ;;
    --uninstall) uninstall=1; shift ;;
    -h | --help) usage 0 ;;
    *) echo "install.sh: unknown argument: $1" >&2; usage 2 ;;
  esac
done

absolute() { case "$1" in /*) printf '%s' "$1" ;; *) printf '%s/%s' "$PWD" "$1" ;; esac; }

if [ -n "$prefix" ]; then
  prefix="$(absolute "$prefix")"
  while [ "${prefix%/}" != "$prefix" ] && [ "$prefix" != / ]; do prefix="${prefix%/}"; done
  bin_dir="$prefix/bin"
  data_dir="$prefix/share"
else
  bin_dir="$HOME/.local/bin"
  data_dir="${XDG_DATA_HOME:-$HOME/.local/share}"
fi
program_dir="$data_dir/$name"
launcher="$bin_dir/$name"
applications_dir="$data_dir/applications"
desktop_file="$applications_dir/$name.desktop"
icon_dir="$data_dir/icons/hicolor"
mime_dir="$data_dir/mime"
mime_package="$mime_dir/packages/$name.xml"
# What was placed, for --uninstall: "file PATH", "dir PATH" (folders that were made)
# and "generated PATH" (a database that the install made, see refresh_databases).
manifest="$program_dir/.installed-files"

case "$program_dir$bin_dir" in
  *$'\n'*) echo "install.sh: folder names with line breaks are not supported" >&2; exit 2 ;;
esac

# --- the databases of types and menu entries -------------------------------

declare -A recorded=()
records=()
record() {
  if [ -z "${recorded[$1 $2]:-}" ]; then
    recorded["$1 $2"]=1
    records+=("$1 $2")
  fi
}

# File managers, "xdg-mime" and "gio open" read the types and the applications for
# each type from databases made out of the type packages and the menu entries.
# One that did not exist before is recorded, and removed again once nothing but
# the viewer's entries went into it.
refresh_databases() {
  if command -v update-mime-database >/dev/null 2>&1 && [ -d "$mime_dir/packages" ]; then
    [ -e "$mime_dir/mime.cache" ] || record generated "$mime_dir"
    update-mime-database "$mime_dir"
  fi
  if command -v update-desktop-database >/dev/null 2>&1 && [ -d "$applications_dir" ]; then
    [ -e "$applications_dir/mimeinfo.cache" ] || record generated "$applications_dir/mimeinfo.cache"
    update-desktop-database "$applications_dir"
  fi
}

# Everything in a type database folder but packages/ is made from packages/.
remove_generated() {
  case "$1" in
    */mimeinfo.cache) grep -q '=' "$1" 2>/dev/null || rm -f -- "$1" ;;
    *)
      if [ -z "$(ls -A "$1/packages" 2>/dev/null)" ] && [ -d "$1" ]; then
        find "$1" -mindepth 1 -maxdepth 1 ! -name packages -exec rm -rf -- {} +
      fi
      ;;
  esac
}

# --- uninstall ---------------------------------------------------------------

remove_installed() {
  if [ ! -f "$manifest" ]; then
    echo "Nothing to remove: $name is not installed in $program_dir."
    return 0
  fi
  local kind path dirs=() generated=()
  while IFS=' ' read -r kind path; do
    case "$kind" in
      file) rm -f -- "$path" ;;
      dir) dirs+=("$path") ;;
      generated) generated+=("$path") ;;
    esac
  done <"$manifest"
  rm -f -- "$manifest"
  refresh_databases
  for path in "${generated[@]}"; do remove_generated "$path"; done
  # Deepest first; a folder that holds anything of the user's stays.
  local i
  for ((i = ${#dirs[@]} - 1; i >= 0; i--)); do
    rmdir -- "${dirs[i]}" 2>/dev/null || true
  done
  echo "Removed $name from $program_dir."
}

if [ "$uninstall" -eq 1 ]; then
  remove_installed
  exit 0
fi

# --- install -----------------------------------------------------------------

if [ -z "$build_dir" ]; then
  "$root/scripts/install-dependencies.sh"
  build_dir="$root/build"
  cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build_dir" --target "$name" desktop_icons -j "$(nproc)"
fi
build_dir="$(absolute "$build_dir")"
binary="$build_dir/program/$name"
built_icons="$build_dir/desktop/icons/hicolor"
for needed in "$binary" "$built_icons"; do
  if [ ! -e "$needed" ]; then
    echo "install.sh: $needed is missing: build the program first" >&2
    exit 1
  fi
done

# A re-install keeps the earlier record, so that --uninstall still finds
# everything, including the folders made the first time.
if [ -f "$manifest" ]; then
  while IFS= read -r line; do record "${line%% *}" "${line#* }"; done <"$manifest"
fi

# Makes a folder and every missing folder above it, recording the ones it made.
make_dir() {
  local dir="$1" missing=()
  while [ ! -d "$dir" ]; do
    missing=("$dir" "${missing[@]}")
    dir="$(dirname "$dir")"
  done
  local made
  for made in "${missing[@]}"; do
    mkdir -- "$made"
    record dir "$made"
  done
}

place_file() {  # SOURCE TARGET MODE
  make_dir "$(dirname "$2")"
  install -m "$3" -- "$1" "$2"
  record file "$2"
}

# The user's settings and database stay as they are; only a missing one is placed.
keep_or_place_file() {  # SOURCE TARGET MODE
  if [ -e "$2" ]; then return 0; fi
  place_file "$@"
}

install_program_folder() {
  place_file "$binary" "$program_dir/$name" 755
  local file relative
  while IFS= read -r -d '' file; do
    relative="${file#"$root/sample/"}"
    case "$relative" in
      "$settings_name" | "$database_name") keep_or_place_file "$file" "$program_dir/$relative" 644 ;;
      *) place_file "$file" "$program_dir/$relative" 644 ;;
    esac
  done < <(find "$root/sample" -type f -print0)
}

install_launcher() {
  make_dir "$bin_dir"
  # A link: the program finds its folder through the file it really is.
  ln -sfn -- "$program_dir/$name" "$launcher"
  record file "$launcher"
}

# The launcher as the desktop entry's Exec value: quoted, with the characters
# that are reserved inside quotes escaped, then the backslashes doubled once
# more for the entry's string escapes; "%" would start a field code.
exec_value() {
  local path="$1"
  path="${path//\\/\\\\\\\\}"
  path="${path//\"/\\\\\"}"
  path="${path//\`/\\\\\`}"
  path="${path//\$/\\\\\$}"
  path="${path//%/%%}"
  printf '"%s"' "$path"
}

install_desktop_entry() {
  local template entry
  template="$(cat "$root/src/resources/$name.desktop.in")"
  entry="$(mktemp)"
  printf '%s\n' "${template//@LAUNCHER@/"$(exec_value "$launcher")"}" >"$entry"
  place_file "$entry" "$desktop_file" 644
  rm -f -- "$entry"
}

install_mime_type() {
  place_file "$root/src/resources/desktop/$name-mime.xml" "$mime_package" 644
}

install_icons() {
  local file
  while IFS= read -r -d '' file; do
    place_file "$file" "$icon_dir/${file#"$built_icons/"}" 644
  done < <(find "$built_icons" -type f -print0)
}

install_program_folder
install_launcher
install_desktop_entry
install_icons
install_mime_type
refresh_databases
printf '%s\n' "${records[@]}" >"$manifest"

echo "Installed $name:"
echo "  program folder  $program_dir"
echo "  launcher        $launcher"
echo "  menu entry      $desktop_file"
case ":$PATH:" in
  *":$bin_dir:"*) ;;
  *) echo "Note: $bin_dir is not on your PATH; the menu entry works all the same." ;;
esac
echo "Remove it again with: $0 --uninstall${prefix:+ --prefix '$prefix'}"
