#!/usr/bin/env bash
# check-includes.sh ROOT CHECK...
# Fails when a source file under ROOT includes what its layer must not see.
# The checks, run in the order given:
#   internal-headers  a folder's internal/ headers are for that folder: no
#                     file outside platform/X/ includes platform/X/internal/
#   engine-cli-no-window
#                     engine/ and cli/ include nothing from the window layer
#                     (platform/window, graphics, dialogs, controls,
#                     backend, gtk)
#   cli-no-app        cli/ includes nothing from app/
# Include paths are resolved as the compiler does for "quoted" names: next
# to the including file first, then from ROOT, so a relative path cannot
# slip past a check.
set -euo pipefail
if [[ $# -lt 2 ]]; then
  echo "usage: check-includes.sh ROOT CHECK..." >&2
  exit 2
fi
root=$(cd "$1" && pwd)
shift

# Every include of every source file, as "file<TAB>included path", both
# relative to ROOT.
includes() {
  (cd "$root" && find . \( -path ./build -o -path './build-*' -o -path ./.git \) -prune -o -type f \
      \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.inc' \) -print) |
    sed 's|^\./||' | sort |
    while IFS= read -r file; do
      sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">].*/\1/p' "$root/$file" |
        while IFS= read -r name; do
          local path=$name
          if [[ -e "$root/${file%/*}/$name" ]]; then
            path=${file%/*}/$name
          fi
          # Only a path with . or .. in it needs resolving.
          if [[ "/$path/" == */./* || "/$path/" == */../* ]]; then
            path=$(realpath -m --relative-to="$root" "$root/$path")
          fi
          printf '%s\t%s\n' "$file" "$path"
        done
    done
}

all=$(includes)

# Prints the offending lines and fails when the awk program selects any.
report() {
  local name=$1 what=$2 program=$3 found
  found=$(awk -F'\t' "$program" <<<"$all")
  if [[ -n "$found" ]]; then
    echo "$name: FAILED, $what:"
    awk -F'\t' '{ print "  " $1 " includes " $2 }' <<<"$found"
    return 1
  fi
  echo "$name: passed ($what: none)"
}

status=0
for check in "$@"; do
  case "$check" in
    internal-headers)
      report "$check" "files including another folder's platform internal/ headers" '
        match($2, /^platform\/[^\/]+\/internal\//) {
          owner = substr($2, 1, RLENGTH - length("internal/"))
          if (index($1, owner) != 1) print
        }' || status=1 ;;
    engine-cli-no-window)
      report "$check" "engine/ or cli/ files including the window layer" '
        $1 ~ /^(engine|cli)\// && $2 ~ /^platform\/(window|graphics|dialogs|controls|backend|gtk)\//' || status=1 ;;
    cli-no-app)
      report "$check" "cli/ files including app/" '$1 ~ /^cli\// && $2 ~ /^app\//' || status=1 ;;
    *)
      echo "check-includes.sh: unknown check '$check'" >&2
      exit 2 ;;
  esac
done
exit $status
