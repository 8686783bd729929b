# Sourced by the whole-program benchmarks: starts an X server and the game on it, and waits for
# the game's first board screen. Sets $display, $game (its process) and $out (its console echo);
# both processes are ended and the echo removed when the script exits.
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
ReadyLine='Пользователь расставляет корабли'
# The game in its own language, whatever the machine's locale: the line above is Russian.
unset LANGUAGE LC_ALL LC_MESSAGES LANG
game=
out=
start_game_on_xvfb() {
  local exe=$1
  start_xvfb
  out=$(mktemp)
  trap 'kill $game $xvfb 2>/dev/null; rm -f "$out"' EXIT
  DISPLAY=$display SDL_AUDIODRIVER=dummy KRAVELON_ECHO_CONSOLE=1 "$exe" >"$out" 2>/dev/null &
  game=$!
  for _ in $(seq 400); do grep -q "$ReadyLine" "$out" && return 0; sleep 0.05; done
  echo "the game did not come up" >&2
  return 1
}
# The game's resident memory in kB.
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$game/status"; }
# CPU ticks (user + system) the game has used so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
# Context switches of all the game's threads: each one is a wake-up or a preemption.
wakeups() {
  cat /proc/"$game"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ {n += $2} END {print n + 0}'
}
