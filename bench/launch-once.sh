#!/usr/bin/env bash
# One launch of the game, ended as soon as start-up has drawn the board screen: the process this
# script started, and no other.
exe=$1
coproc GAME { exec env DISPLAY="$2" SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 "$exe"; }
pid=$GAME_PID
while IFS= read -r line <&"${GAME[0]}"; do
  [[ $line == *'Пользователь расставляет корабли'* ]] && break
done
kill -TERM "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
