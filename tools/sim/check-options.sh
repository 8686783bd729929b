#!/usr/bin/env bash
# The simulator's command line: a level, a kind of fleet or a house rule is named on the first
# lines only when asked for, a run of the captain prints the same figures however it is asked for,
# and a bad value is refused with a message and status 2.
# Usage: check-options.sh KRAVELON_SIM
set -u
sim=$1
status=0
fail() { echo "FAIL: $*"; status=1; }
figures() { grep -vE '^(level|fleets|touching|salvo|extra_shot|turns_mean|seconds|games_per_second) ' <<<"$1"; }

plain=$("$sim" --games 30 --seed 5) || fail "a plain run failed"
[[ $(head -1 <<<"$plain") == "games 30" ]] || fail "a plain run does not begin with the games"
captain=$("$sim" --games 30 --seed 5 --level captain) || fail "--level captain failed"
[[ $(head -1 <<<"$captain") == "level captain" ]] || fail "--level captain is not named first"
[[ $(figures "$plain") == $(figures "$captain") ]] || fail "--level captain changes the figures"
number=$("$sim" -n 30 -s 5 -l 3) || fail "-l 3 failed"
[[ $(figures "$number") == $(figures "$plain") ]] || fail "-l 3 is not the captain"
for pair in 1:cabin-boy 2:sailor 4:admiral; do
  out=$("$sim" --games 10 --seed 1 --level "${pair%%:*}") || fail "--level ${pair%%:*} failed"
  [[ $(head -1 <<<"$out") == "level ${pair#*:}" ]] || fail "--level ${pair%%:*} is not ${pair#*:}"
done
fleets=$("$sim" --games 10 --seed 1 --level admiral --fleets admiral) || fail "--fleets admiral failed"
[[ $(head -2 <<<"$fleets") == $'level admiral\nfleets admiral' ]] || fail "--fleets is not named"
grep -q '^unfinished_games 0$' <<<"$fleets" || fail "a game against the admiral's fleets did not end"

# The house rules: each switch named on the first lines as given, after the level; the game's own
# rules asked for by name print the same figures; a salvo or a shot a turn changes the turns, not
# the computer's shots.
rules=$("$sim" --games 30 --seed 5 --level captain --touching --salvo=yes --extra-shot=no) ||
  fail "the three switches failed"
[[ $(head -4 <<<"$rules") == $'level captain\ntouching yes\nsalvo yes\nextra_shot no' ]] ||
  fail "the switches are not named first"
grep -q '^turns_mean ' <<<"$rules" || fail "a run with switches gives no turns"
grep -q '^turns_mean ' <<<"$plain" && fail "a plain run gives turns"
own=$("$sim" --games 30 --seed 5 --touching=no --salvo=no --extra-shot=yes) || fail "=no failed"
[[ $(head -3 <<<"$own") == $'touching no\nsalvo no\nextra_shot yes' ]] || fail "=no is not named"
[[ $(figures "$own") == $(figures "$plain") ]] || fail "the game's own rules by name change the figures"
salvo=$("$sim" --games 30 --seed 5 --salvo) || fail "--salvo failed"
[[ $(figures "$salvo") == $(figures "$plain") ]] || fail "a salvo changes the computer's shots"
grep -q '^turns_mean [0-9]\.' <<<"$salvo" || fail "salvoes of ten take fewer than ten turns"
for sw in "--touching" "--salvo" "--extra-shot=no" "--touching --salvo --extra-shot=no"; do
  # shellcheck disable=SC2086
  out=$("$sim" --games 200 --seed 3 --level admiral --fleets admiral $sw) || fail "$sw failed"
  grep -q '^unfinished_games 0$' <<<"$out" || fail "a game under $sw did not end"
  grep -q '^arrangement_restarts 0$' <<<"$out" || fail "an arrangement under $sw restarted"
done

for bad in "--level 0" "--level 5" "--level Captain" "--level" "--fleets" "--fleets admirals" \
           "--games 0" "--seed -1" "--colour red" "--touching=maybe" "--salvo=" "--salvo=YES" \
           "--extra-shot=off" "--touchingly" "--extra-shot no"; do
  # shellcheck disable=SC2086
  err=$("$sim" --games 5 $bad 2>&1 >/dev/null)
  code=$?
  [[ $code == 2 ]] || fail "'$bad' ended with $code, not 2"
  [[ $err == kravelon-sim:* ]] || fail "'$bad' says nothing clear: $err"
done
[[ $status == 0 ]] && echo "the simulator's options hold"
exit $status
