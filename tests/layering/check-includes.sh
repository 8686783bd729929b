#!/usr/bin/env bash
# Which folder may include which: a library sees only the libraries below it, so the rules can
# never reach SDL or the window's pixels, nor the toolkit the game.
# Usage: check-includes.sh SOURCE_DIR; prints every include that breaks the order, fails on any.
set -u
cd "$1" || exit 2
declare -A allowed=(
  [Common]="Common"
  [Platform]="Common Platform"
  [Formats]="Common Platform Formats"
  [Audio]="Common Platform Formats Audio"
  [Toolkit]="Common Platform Formats Audio Toolkit"
  [Speech]="Common Platform Speech"
  [GameEngine]="Common GameEngine"
  [Console]="Console"
  [Store]="Common Platform GameEngine Store"
  [Net]="Common Platform GameEngine Net"
  [Media]="Common Platform Formats Audio Toolkit GameEngine Console Media"
  [Main]="Common Platform Formats Audio Toolkit Speech GameEngine Console Media Store Net Main"
)
# The system headers only some libraries may use: SDL's window layer is the toolkit's; the
# decoders see SDL's surfaces and streams, the sound device SDL's audio; speech alone talks to
# speech-dispatcher and the session bus; the network game alone sees Asio, libsodium and Avahi.
declare -A system=(
  [Formats]="SDL_surface.h SDL_rwops.h SDL_error.h SDL_audio.h SDL_image.h jpeglib.h"
  [Audio]="SDL.h"
  [Toolkit]="SDL.h SDL_ttf.h SDL_image.h SDL_syswm.h X11/ fontconfig/ jpeglib.h"
  [Speech]="speech-dispatcher/ dbus/"
  [Net]="asio/ asio.hpp sodium.h avahi-client/ avahi-common/"
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
  while IFS= read -r hit; do
    header=$(sed -E 's/.*#\s*include\s+<([^>]+)>.*/\1/' <<<"$hit")
    ok=0
    for prefix in ${system[$folder]:-}; do
      [[ $header == "$prefix" || ( $prefix == */ && $header == "$prefix"* ) ]] && ok=1
    done
    if [[ $ok == 0 ]]; then
      echo "$hit: $folder may not include <$header>"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+<(SDL|X11/|fontconfig/|jpeglib|speech-dispatcher/|dbus/|asio|sodium|avahi-)' "$folder" \
             --include='*.h' --include='*.cpp')
done
# The engine's seam is the tests' and the simulator's way in, never the game's.
if grep -rnE '^\s*#\s*include\s+"GameEngine/GameEngineProbe.h"' "${!allowed[@]}" \
     --include='*.h' --include='*.cpp'; then
  echo "only the tests and the tools may include GameEngine/GameEngineProbe.h"
  status=1
fi
# The computer's levels see the board they fire at only through the results of their shots
# (GameEngine/SeaView.h): never the engine, whose boards hold the ships they have not found.
if grep -rnE '^\s*#\s*include\s+"GameEngine/(GameEngine|GameEngineProbe|GameHost)\.h"' GameEngine/Levels \
     --include='*.h' --include='*.cpp'; then
  echo "GameEngine/Levels/ may not include the engine: a level reads the sea through TSeaView alone"
  status=1
fi
[[ $status == 0 ]] && echo "every include follows the layering"
exit $status
