#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program under a real X11 window manager (openbox on a private Xvfb): started twenty times it must come
# up centred on the screen, with its icon and the desktop entry's window class; the city dialog must open centred over it and name it as its transient parent; a
# drag of the painted caption must move the window by the drag.
#   tests/desktop/openbox_check.sh <velmora executable> <tolvi.dbf> [output folder]
# Exits 77 (skipped) when Xvfb or openbox is missing or the window manager does not come up.
set -euo pipefail
program=$(realpath "$1")
database=$(realpath "$2")
out=$(realpath -m "${3:-$PWD/openbox_check}")
source "$(dirname "$0")/desktop_lib.sh"
for tool in Xvfb openbox xdotool xprop xwininfo; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done
begin_check "$out"

start_xvfb 1280x1024 || skip "Xvfb did not start"
openbox --sm-disable >"$out/openbox.log" 2>&1 &
wm_pid=$!
wait_for 10 "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" || skip "openbox did not come up"
cp "$database" "$work/tolvi.dbf"

for run in $(seq 1 20); do
  start_program "$program" "$work" "$out/program.log"
  win=$(wait_window 30 '^Velmora') || fail "run $run: no main window"
  read -r x y w h < <(settled_geometry "$win")
  cx=$(((1280 - w) / 2)) cy=$(((1024 - h) / 2))
  if [ $((x - cx)) -lt -1 ] || [ $((x - cx)) -gt 1 ] || [ $((y - cy)) -lt -1 ] || [ $((y - cy)) -gt 1 ]; then
    fail "run $run: the main window is at $x,$y, not centred at $cx,$cy"
  fi
  [ "$run" -lt 20 ] && stop_program
done
echo "20 starts: the main window came up centred at $x,$y (${w}x$h)"

# Its identity for docks: an icon, and the class the desktop entry names.
entry="$(dirname "$0")/../../packaging/com.example.Velmora.desktop"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
xprop -id "$win" WM_CLASS | grep -q "\"$wm_class\"" || fail "WM_CLASS is not the entry's $wm_class: $(xprop -id "$win" WM_CLASS)"
# grep reads all of xprop's long icon dump: with -q it would quit early and, under pipefail, xprop's broken pipe
# would fail the check.
xprop -id "$win" _NET_WM_ICON | grep 'Icon (' >/dev/null || fail "the main window has no icon"

# The city dialog, through the menu bar: 查询方式, then its last item 切换城市.
menu_y=$((y + h - 588 - 10))
xdotool mousemove $((x + 30)) "$menu_y" click 1
wait_for 10 "xdotool search --onlyvisible --class velmora | grep -qv '^$win\$'" || fail "the mode menu did not open"
xdotool key Up Return
dialog=$(wait_window 10 '^切换城市') || fail "the city dialog did not open"
read -r dx dy dw dh < <(settled_geometry "$dialog")
xprop -id "$dialog" WM_TRANSIENT_FOR | grep -q "window id # 0x$(printf '%x' "$win")" ||
  fail "the city dialog is not transient for the main window: $(xprop -id "$dialog" WM_TRANSIENT_FOR)"
ex=$((x + (w - dw) / 2)) ey=$((y + (h - dh) / 2))
if [ $((dx - ex)) -lt -2 ] || [ $((dx - ex)) -gt 2 ] || [ $((dy - ey)) -lt -2 ] || [ $((dy - ey)) -gt 2 ]; then
  fail "the city dialog is at $dx,$dy, not centred over the main window at $ex,$ey"
fi
xprop -id "$dialog" _NET_WM_ICON | grep 'Icon (' >/dev/null || fail "the city dialog has no icon"
echo "city dialog centred over the main window at $dx,$dy, transient for it, with the program's icon"
xdotool key Escape
xdotool windowactivate --sync "$dialog" key alt+F4 2>/dev/null || true
wait_for 10 "! xdotool search --onlyvisible --name '^切换城市' >/dev/null" || fail "the city dialog did not close"

# A drag of the caption, left of its title and away from its buttons.
drag_caption "$win" "$x" "$y" 150 8 -120 -90
read -r nx ny _ _ < <(settled_geometry "$win")
[ "$nx" -eq $((x - 120)) ] && [ "$ny" -eq $((y - 90)) ] || fail "after a drag by -120,-90 the window is at $nx,$ny (was $x,$y)"
echo "caption drag moved the window from $x,$y to $nx,$ny"
import -window root "$out/openbox.png" 2>/dev/null || true
echo "PASS"
