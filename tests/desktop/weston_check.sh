#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program on Wayland (QT_QPA_PLATFORM=wayland) in a nested weston: weston's X11 backend on a private Xvfb,
# so that xdotool's pointer reaches weston as a real seat and screenshots of the X screen show weston's output.
# Started twenty times the main window must appear whole on the output (weston places it); a drag of the
# painted caption must move it by the drag (only the compositor can move a window there); the city dialog
# must be given the main window as its parent.
#   tests/desktop/weston_check.sh <velmora executable> <tolvi.dbf> [output folder]
# Exits 77 (skipped) when Xvfb, weston or Qt's Wayland backend is missing or weston does not come up.
set -euo pipefail
program=$(realpath "$1")
database=$(realpath "$2")
out=$(realpath -m "${3:-$PWD/weston_check}")
source "$(dirname "$0")/desktop_lib.sh"
for tool in Xvfb weston xdotool import convert; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null || skip "qt6-wayland is not installed"
begin_check "$out"

# weston's output: 1024x768 at the X screen's top left; its panel takes the top rows.
out_w=1024 out_h=768 panel=32
start_xvfb 1280x1024 || skip "Xvfb did not start"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --width=$out_w --height=$out_h --socket=velmora-check \
  --idle-time=0 >"$out/weston.log" 2>&1 &
wm_pid=$!
wait_for 20 "[ -S '$XDG_RUNTIME_DIR/velmora-check' ]" || skip "weston did not come up (see $out/weston.log)"
export WAYLAND_DISPLAY=velmora-check QT_QPA_PLATFORM=wayland
cp "$database" "$work/tolvi.dbf"
xdotool mousemove $((out_w - 4)) $((out_h - 8)) # weston draws the pointer: keep it in one place
sleep 1
import -window root "$work/base.png"

# Prints "x y width height" of what differs from the empty desktop below the panel, or nothing.
changed_box() {
  import -window root "$work/now.png"
  convert "$work/base.png" "$work/now.png" -compose difference -composite -crop "${out_w}x$((out_h - panel))+0+$panel" \
    +repage -threshold 2% -format '%@' info: 2>/dev/null | awk -F'[x+]' -v p=$panel '$1 > 1 {print $3, $4 + p, $1, $2}'
}
# Waits for the box to stop changing and to be $1 wide; prints it.
settled_box() {
  local last= now= i
  for ((i = 0; i < 100; i++)); do
    now=$(changed_box)
    [ -n "$now" ] && [ "$now" = "$last" ] && [ "$(echo "$now" | cut -d' ' -f3)" = "$1" ] && break
    last=$now
    sleep 0.2
  done
  echo "$now"
}

for run in $(seq 1 20); do
  [ "$run" -eq 20 ] && export WAYLAND_DEBUG=client
  start_program "$program" "$work" "$out/program.log"
  read -r x y w h < <(settled_box 672)
  [ "${w:-0}" -eq 672 ] && [ "$h" -eq 643 ] || fail "run $run: no whole main window on the output (saw '${x:-} ${y:-} ${w:-} ${h:-}')"
  [ "$x" -ge 0 ] && [ "$y" -ge "$panel" ] && [ $((x + w)) -le $out_w ] && [ $((y + h)) -le $out_h ] ||
    fail "run $run: the main window at $x,$y is not whole on the output"
  if [ "$run" -lt 20 ]; then
    stop_program
    wait_for 20 '[ -z "$(changed_box)" ]' || fail "run $run: the window did not go"
  fi
done
unset WAYLAND_DEBUG
echo "20 starts: the main window appeared whole on the output, last at $x,$y"

# Drag the caption towards the output's free side.
dx=$(((out_w - w) / 2 - x)) dy=$(((out_h - h) / 2 - y + panel / 2))
[ "$dx" -eq 0 ] && dx=20
drag_caption "" "$x" "$y" 150 10 "$dx" "$dy"
xdotool mousemove $((out_w - 4)) $((out_h - 8))
read -r nx ny _ _ < <(settled_box 672)
[ "$nx" -eq $((x + dx)) ] && [ "$ny" -eq $((y + dy)) ] ||
  fail "after a drag by $dx,$dy the window is at $nx,$ny (was $x,$y)"
grep -q 'xdg_toplevel@[0-9]*\.move(wl_seat@' "$out/program.log" || fail "the drag did not ask the compositor to move"
echo "caption drag moved the window from $x,$y to $nx,$ny, through the compositor's own move"

# The city dialog through the menu bar (查询方式, its last item); the dialog must name its parent.
menu_y=$((ny + h - 588 - 10))
xdotool mousemove $((nx + 30)) "$menu_y" click 1
sleep 1
xdotool key Up Return
wait_for 10 "grep -q 'set_parent(xdg_toplevel@[0-9]*)' '$out/program.log'" ||
  fail "the city dialog did not open with the main window as its parent"
grep -q 'set_app_id("com.example.Velmora")' "$out/program.log" || fail "the app id is not the desktop entry's id"
echo "city dialog opened with the main window as its parent; app id com.example.Velmora"
xdotool mousemove $((out_w - 4)) $((out_h - 8))
sleep 1
import -window root "$out/weston.png"
echo "PASS"
