#!/usr/bin/env bash
# Which folder may include which: a library sees only the libraries below it, so the rules can
# never reach SDL or the window's pixels, nor the toolkit the game.
# Usage: check-includes.sh SOURCE_DIR; prints every include that breaks the order, fails on any.
set -u
cd "$1" || exit 2
declare -A allowed=(
  [Common]="Common"
  [Toolkit]="Common Toolkit"
  [GameEngine]="Common GameEngine"
  [Console]="Console"
  [Store]="Common Store"
  [Media]="Common Toolkit GameEngine Console Media"
  [Main]="Common Toolkit GameEngine Console Media Store Main"
)
status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$hit")
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$hit: $folder may not include $target/"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+"[^/"]+/' "$folder" --include='*.h' --include='*.cpp')
  # Only the toolkit speaks to SDL and the window system.
  if [[ $folder != Toolkit ]]; then
    if grep -rnE '^\s*#\s*include\s+<(SDL|X11/)' "$folder" --include='*.h' --include='*.cpp'; then
      echo "$folder may not include SDL or X11 headers"
      status=1
    fi
  fi
done
# The engine's seam is the tests' and the simulator's way in, never the game's.
if grep -rnE '^\s*#\s*include\s+"GameEngine/GameEngineProbe.h"' Common Toolkit GameEngine Console Store Media Main \
     --include='*.h' --include='*.cpp'; then
  echo "only the tests and the tools may include GameEngine/GameEngineProbe.h"
  status=1
fi
[[ $status == 0 ]] && echo "every include follows the layering"
exit $status
