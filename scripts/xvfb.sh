# A virtual X display for the Wine GUI tests and screenshots (CI has no
# screen). Sourced by scripts/test and scripts/screenshot:
#   start_xvfb [WxHxD]  starts Xvfb on a free display number (1280x1024x24
#                unless a screen is given), exports DISPLAY
#   stop_xvfb    ends that Xvfb (by its process id)
# Xvfb picks the display itself (-displayfd), so two runs never collide. The
# display has no window manager: top-level windows get no frame from it.
xvfb_pid=

start_xvfb() {
  local fifo display
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  # Its own stdio goes nowhere: it must not hold the caller's pipes open.
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 display <"$fifo" || display=
  rm -f "$fifo"
  if [ -z "$display" ]; then
    echo "Xvfb did not start" >&2
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$display"
}

stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
  fi
}
