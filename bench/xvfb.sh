# Sourced by the whole-program benchmarks: starts an X server of our own and sets $display and
# $xvfb (its process), which the caller ends.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  display=:$(head -n1 "$fifo")
  rm -f "$fifo"
}

