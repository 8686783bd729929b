#!/usr/bin/env bash
# One launch of the game, ended as soon as start-up has drawn the board screen.
exe=$1
DISPLAY=$2 SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 "$exe" | {
  while IFS= read -r line; do
    [[ $line == *'Пользователь расставляет корабли'* ]] && break
  done
  pkill -TERM -f -x "$exe" || true
  cat >/dev/null
}
