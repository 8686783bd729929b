#!/usr/bin/env bash
# Every text the game can show has its translation in every catalogue:
#   - each catalogue compiles with `msgfmt --check`;
#   - po/kravelon.pot holds exactly the texts marked in the code (run the `pot` target if not);
#   - each po/<lang>.po translates every marked text, none left fuzzy or empty;
#   - and every Cyrillic string literal in the game's code, marked or not, is translated: a text
#     someone forgot to mark would otherwise show up in Russian in every language.
# check-catalogue.sh SOURCE_DIR "XGETTEXT OPTIONS" "LANGUAGES" FOLDER...
set -euo pipefail
source_dir=$1
IFS=';' read -r -a options <<<"$2"
IFS=';' read -r -a languages <<<"$3"
shift 3
cd "$source_dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The patterns below name Cyrillic letters: read them as UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8

mapfile -t sources < <(find "$@" -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
xgettext "${options[@]}" -o "$work/marked.pot" "${sources[@]}"
# Every literal, marked or not; its warnings about empty or odd texts concern no catalogue.
xgettext --language=C++ --from-code=UTF-8 --extract-all -o "$work/all.pot" "${sources[@]}" 2>/dev/null
msggrep --msgid -E -e '[А-яЁё]' -o "$work/cyrillic.pot" "$work/all.pot"
# Less the other forms of TrN, Russian's own "few" and "many" (2 корабля, 5 кораблей): a catalogue
# keys a text by its first form, and the marked texts' check already holds the plural.
xgettext --language=C++ --from-code=UTF-8 -k --keyword=TrN:2 -o "$work/few.pot" "${sources[@]}"
xgettext --language=C++ --from-code=UTF-8 -k --keyword=TrN:3 -o "$work/many.pot" "${sources[@]}"
for forms in "$work/few.pot" "$work/many.pot"; do
  if [ -s "$forms" ]; then
    msgcomm --unique -o "$work/rest.pot" "$work/cyrillic.pot" "$forms"
    mv "$work/rest.pot" "$work/cyrillic.pot"
  fi
done

status=0
if ! msgcmp --use-untranslated po/kravelon.pot "$work/marked.pot" ||
   ! msgcmp --use-untranslated "$work/marked.pot" po/kravelon.pot; then
  echo "po/kravelon.pot is not the code's: run 'cmake --build build --target pot'" >&2
  status=1
fi
for lang in "${languages[@]}"; do
  msgfmt --check -o /dev/null "po/$lang.po" || status=1
  msgcmp "po/$lang.po" "$work/marked.pot" || status=1
  msgcmp "po/$lang.po" "$work/cyrillic.pot" || status=1
done
exit $status
