#!/usr/bin/env bash
# One launch of the game, ended as soon as start-up has drawn the board screen: the process this
# script started, and no other. The third argument is the language, ru (the default) or en; any
# further ones go to the game.
exe=$1
display=$2
language=${3:-ru}
shift 3 2>/dev/null || shift $#
ready='Пользователь расставляет корабли'
[[ $language == en ]] && ready='The player is placing the ships'
coproc GAME {
  exec env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG DISPLAY="$display" SDL_AUDIODRIVER=dummy \
    KRAVELON_ECHO_CONSOLE=1 "$exe" --lang "$language" "$@"
}
pid=$GAME_PID
while IFS= read -r line <&"${GAME[0]}"; do
  [[ $line == *"$ready"* ]] && break
done
kill -TERM "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit 0
