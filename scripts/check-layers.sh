#!/usr/bin/env bash
# Checks that every include between the folders of src/ goes down the layers:
#   base < resources < database < config < services < viewer < search, export < app
# A folder may include its own headers and those of the folders below it, nothing else.
# Prints each include against the direction and fails when there is one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

declare -A may_include=(
  [base]=""
  [resources]="base"
  [database]="base resources"
  [config]="base resources database"
  [services]="base resources database config"
  [viewer]="base resources database config services"
  [search]="base resources database config services viewer"
  [export]="base resources database config services viewer"
  [app]="base resources database config services viewer search export"
)

status=0
while IFS= read -r file; do
  folder="${file#src/}"
  folder="${folder%%/*}"
  if [ -z "${may_include[$folder]+known}" ]; then
    echo "$file: the folder '$folder' has no place in the layers (add it to scripts/check-layers.sh)"
    status=1
    continue
  fi
  while IFS=: read -r line target; do
    to="${target%%/*}"
    [ "$to" = "$folder" ] && continue
    case " ${may_include[$folder]} " in
      *" $to "*) ;;
      *)
        echo "$file:$line: $folder/ may not include $target"
        status=1
        ;;
    esac
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$file" |
    sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h')

if [ "$status" -ne 0 ]; then
  echo "Includes against the direction of the layers: see the table in scripts/check-layers.sh" >&2
fi
exit "$status"
