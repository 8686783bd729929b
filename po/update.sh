#!/usr/bin/env bash
# Makes po/kravelon.pot from the game's code and merges it into every po/<lang>.po.
#   update.sh XGETTEXT MSGMERGE "XGETTEXT OPTIONS" "LANGUAGES" FOLDER...
# Run from the source folder, through `cmake --build build --target pot`.
set -euo pipefail
xgettext=$1 msgmerge=$2
IFS=';' read -r -a options <<<"$3"
IFS=';' read -r -a languages <<<"$4"
shift 4
mapfile -t sources < <(find "$@" -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
"$xgettext" "${options[@]}" -o po/kravelon.pot "${sources[@]}"
for lang in "${languages[@]}"; do
  "$msgmerge" --quiet --update --backup=none --no-fuzzy-matching "po/$lang.po" po/kravelon.pot
done
