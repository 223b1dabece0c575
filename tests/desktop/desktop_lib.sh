# SPDX-License-Identifier: GPL-3.0-or-later
# Shared steps of the desktop checks: a private X server, the program in a work folder, waiting for windows.

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; import -window root "$out/failure.png" 2>/dev/null || true; exit 1; }

# A check's common start: its output folder $1, a work folder, and the clean-up of the program, the window
# manager (wm_pid) and the X server when the script exits.
begin_check() {
  out=$1
  mkdir -p "$out"
  work=$(mktemp -d)
  xvfb_pid= wm_pid= pid=
  trap end_check EXIT
}

end_check() {
  stop_program
  for p in $wm_pid $xvfb_pid; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}

# Starts Xvfb of size $1 on a free display and exports DISPLAY; sets xvfb_pid.
start_xvfb() {
  local fifo number
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$1x24" -dpi 96 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 20 number <"$fifo" || { rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# Runs the condition $2 until it holds, at most $1 seconds.
wait_for() {
  local limit=$(($1 * 10)) i
  for ((i = 0; i < limit; i++)); do
    if eval "$2" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Starts the program $1 in folder $2, its output to $3; sets pid. (As root the About page's engine stays off.)
start_program() {
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
  (cd "$2" && exec "$1" >>"$3" 2>&1) &
  pid=$!
}

stop_program() {
  if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  pid=
}

# Prints the id of a visible window whose name matches $2, waiting at most $1 seconds.
wait_window() {
  local found=
  wait_for "$1" "found=\$(xdotool search --onlyvisible --name '$2' | head -1); [ -n \"\$found\" ]" || return 1
  echo "$found"
}

# Prints "x y width height" of window $1 once two readings in a row agree (the manager has placed it).
settled_geometry() {
  local last= now i
  for ((i = 0; i < 100; i++)); do
    now=$(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
                                    /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}')
    [ "$now" = "$last" ] && break
    last=$now
    sleep 0.2
  done
  echo "$now"
}

# Drags window $1 (at $2,$3) by the point $4,$5 inside it, by $6,$7 in small steps, with the left button.
drag_caption() {
  local sx=$(($2 + $4)) sy=$(($3 + $5)) i
  xdotool mousemove "$sx" "$sy"
  sleep 0.2
  xdotool mousedown 1
  for i in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((sx + $6 * i / 10)) $((sy + $7 * i / 10))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.3
}
