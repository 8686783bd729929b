#!/usr/bin/env bash
# One launch of the game, ended as soon as start-up has drawn the board screen.
exe=$1
pipe=$(mktemp -u)
mkfifo "$pipe"
DISPLAY=$2 SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 "$exe" >"$pipe" &
game=$!
{
  while IFS= read -r line; do
    [[ $line == *'Пользователь расставляет корабли'* ]] && break
  done
  kill -TERM "$game" 2>/dev/null || true
  cat >/dev/null  # the rest of its output, so it never writes into a closed pipe
} <"$pipe"
wait "$game" || true
rm -f "$pipe"
