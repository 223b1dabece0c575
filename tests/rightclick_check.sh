#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Right clicks in the About page, made as a user makes them: starts the real program on its own X server with a
# small bus database, opens the About dialog through the menu bar, right-clicks inside the page and checks that
# no menu opened. A right click on the main window's detail text first shows that the check sees a menu when
# one opens. Screenshots go to the output folder.
#   tests/rightclick_check.sh <velmora executable> [output folder] [--root-without-opt-in]
# With --root-without-opt-in (as root only; exit 77 otherwise) the program starts as root without
# QTWEBENGINE_DISABLE_SANDBOX: the main window must appear, and the About dialog must open with its note.
set -euo pipefail
root_mode=
[ "${3:-}" = "--root-without-opt-in" ] && root_mode=1
if [ -n "$root_mode" ] && [ "$(id -u)" -ne 0 ]; then echo "SKIP: not root"; exit 77; fi

if [ -z "${RIGHTCLICK_ON_DISPLAY:-}" ]; then
  # A private X server of a fixed size, so positions are predictable.
  export RIGHTCLICK_ON_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

program=$(realpath "$1")
out=$(realpath -m "${2:-$PWD/rightclick}")
mkdir -p "$out"
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ -n "$root_mode" ]; then
  unset QTWEBENGINE_DISABLE_SANDBOX
elif [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
# A home of its own, empty, to see that nothing of the web engine is written there.
export HOME="$work/home" XDG_CACHE_HOME= XDG_DATA_HOME= XDG_CONFIG_HOME=
mkdir -p "$HOME"

fail() { echo "FAIL: $*" >&2; import -window root "$out/failure.png" 2>/dev/null || true; exit 1; }

# The bus database, as a data provider makes one with the stock client; texts are GBK bytes.
iconv -f UTF-8 -t GBK >"$work/db.sql" <<'SQL'
PRAGMA key='kemu';
PRAGMA kdf_iter=256;
CREATE TABLE sheng (sheng TEXT NOT NULL);
CREATE TABLE city (id TEXT NOT NULL, city TEXT NOT NULL, scity TEXT NOT NULL);
CREATE TABLE bus (id TEXT NOT NULL, cid TEXT NOT NULL, lm TEXT, start TEXT, bz TEXT, sj TEXT, pj TEXT, sh TEXT, xh TEXT);
CREATE TABLE uconf (id INTEGER PRIMARY KEY, city TEXT, cid TEXT);
INSERT INTO sheng VALUES ('北京');
INSERT INTO city VALUES ('1', '北京', '北京');
INSERT INTO uconf VALUES (1, '北京', '1');
INSERT INTO bus VALUES ('b1', '1', '1路', '', '', '5:00-23:00', '1元', '天安门-西单-复兴门', '复兴门-西单-天安门');
SQL
(cd "$work" && sqlcipher tolvi.dbf <db.sql >/dev/null)

cd "$work"
"$program" >"$out/program.log" 2>&1 &
pid=$!

# Waits up to $1 seconds for a visible window of the program whose name matches $2; prints its id.
wait_window() {
  local i id
  for ((i = 0; i < $1 * 10; i++)); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "$2" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    kill -0 "$pid" 2>/dev/null || fail "the program ended (see $out/program.log)"
    sleep 0.1
  done
  return 1
}
# Number of visible windows of the program (a menu is one more).
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
# Sets X Y W H of a window.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; X=$X Y=$Y W=$WIDTH H=$HEIGHT; }
# Waits until the screen stops changing.
settle() {
  local i
  for ((i = 0; i < 50; i++)); do
    import -window root "$work/a.png"; sleep 0.3; import -window root "$work/b.png"
    [ "$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 || true)" = 0 ] && return 0
  done
}

main=$(wait_window 60 'Velmora') || fail "no main window"
sleep 1
geometry "$main"
# The client area (664 x 588) sits at the bottom of the window; the caption and menu bar lie above it.
client_top=$((Y + H - 588))
base=$(windows)

# Proof that a menu is seen: the detail text's own menu.
xdotool mousemove $((X + 332)) $((client_top + 450)) click 3
sleep 1
[ "$(windows)" -gt "$base" ] || fail "the detail text's menu did not open, so the check could not see one"
import -window root "$out/control-menu.png"
xdotool key Escape
sleep 0.5
[ "$(windows)" -eq "$base" ] || fail "the detail text's menu did not close"

# Open the first menu of the menu bar, step to "更换皮肤", go to its last item "关于..." and choose it.
opened=
for ((y = Y + 2; y < client_top; y += 3)); do
  xdotool mousemove $((X + 24)) "$y" click 1
  sleep 0.4
  if [ "$(windows)" -gt "$base" ]; then opened=1; break; fi
done
[ -n "$opened" ] || fail "could not open the menu bar"
xdotool key Right
sleep 0.3
xdotool key Up
sleep 0.2
xdotool key Return
about=$(wait_window 10 '关于') || fail "the About dialog did not open"
settle
if [ -n "$root_mode" ]; then
  import -window root "$out/root-about.png"
  kill -0 "$pid" 2>/dev/null || fail "the program ended"
  grep -q "running as root" "$out/program.log" || fail "standard error does not say why the page is not shown"
  echo "OK: as root without the opt-in the program runs and About shows its note; screenshot in $out"
  exit 0
fi
geometry "$about"
about_top=$((Y + H - 399))
# The middle of the page area (16, 128, 545 x 217 in the dialog).
px=$((X + 16 + 272))
py=$((about_top + 128 + 108))
withAbout=$(windows)
xdotool mousemove "$px" "$py"
settle
import -window root "$out/before.png"

for click in "click 3" "click --repeat 2 --delay 80 3" "mousedown 3" "mouseup 3"; do
  # shellcheck disable=SC2086
  xdotool mousemove "$px" "$py" $click
  sleep 1
  [ "$(windows)" -eq "$withAbout" ] || fail "a window opened after a right button action ($click) in the page"
done
import -window root "$out/after.png"

# The page area looks the same as before the clicks (no menu drawn over it).
crop="545x217+$((X + 16))+$((about_top + 128))"
convert "$out/before.png" -crop "$crop" "$work/page-before.png"
convert "$out/after.png" -crop "$crop" "$work/page-after.png"
diff=$(compare -metric AE -fuzz 2% "$work/page-before.png" "$work/page-after.png" null: 2>&1 || true)
[ "${diff%% *}" -lt 200 ] 2>/dev/null || fail "the page area changed after the right clicks ($diff pixels)"

# Closes a window as its close box does (there is no window manager to ask).
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
d = x.XOpenDisplay(None)
e = Event()
e.xclient.type, e.xclient.window, e.xclient.format = 33, int(sys.argv[1]), 32
e.xclient.message_type = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
e.xclient.data[0] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(d, int(sys.argv[1]), 0, 0, ctypes.byref(e))
x.XFlush(d)
PY
}

# The program ends in order: About, then the main window closed; the engine leaves nothing behind.
close_window "$about"
sleep 0.5
close_window "$main"
for ((i = 0; i < 100; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end when its main window was closed"
wait "$pid" || fail "the program did not end cleanly (see $out/program.log)"
pid=
grep -q "Release of profile" "$out/program.log" && fail "the web engine's profile went before its page"
# Only the session bus's own folder may appear: started without a session bus, any Qt program has one made.
left=$(cd "$HOME" && find . -mindepth 1 -not -path './.dbus*' | head -5)
[ -z "$left" ] || fail "the program wrote into the home folder: $left"

echo "OK: right clicks in the About page open no menu; screenshots in $out"
