#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages as a user gets them: builds velmora and velmora-web from the build tree with cpack, checks
# their contents and metadata with the distribution's validators (lintian without a warning), unpacks them into
# a scratch root and runs the installed busdb with the source and build trees hidden, then starts the program
# through its launcher with a scratch HOME, twice, to see the demo database seeded once and the user's city kept.
# The launcher's failures (read-only home, a write that fails midway, a broken data file) are checked too.
#   tests/package_check.sh <build folder> <version> <1 when the web module is built, else 0> [output folder]
# Needs an X display.
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$(dirname "$0")/..")
version=$2
web_module=$3
out=$(realpath -m "${4:-$build/package_check}")
mkdir -p "$out"
work=$(mktemp -d)
chmod 755 "$work" # the launcher's failure checks run as an unprivileged user
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The web engine will not start as root with its sandbox on.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"

# --- the packages ---------------------------------------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/pkg" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/velmora_*.deb)
debs=("$deb")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not the project's $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlcipher0 fonts-wqy-microhei; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ "$depends" != *webengine* ]] || fail "velmora depends on the web engine: $depends"

expected="./usr/bin/busdb
./usr/bin/velmora
./usr/lib/velmora/velmora
./usr/share/applications/com.example.Velmora.desktop
./usr/share/doc/velmora/changelog.gz
./usr/share/doc/velmora/copyright
./usr/share/icons/hicolor/scalable/apps/com.example.Velmora.svg
./usr/share/man/man1/busdb.1.gz
./usr/share/man/man1/velmora.1.gz
./usr/share/metainfo/com.example.Velmora.metainfo.xml
./usr/share/velmora/tolvi.dbf"
for size in 16 22 24 32 48 64 128 256; do
    expected+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/com.example.Velmora.png"
done
for table in sheng city bus uconf; do expected+=$'\n'"./usr/share/velmora/demo/$table.csv"; done
contents() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $1, $6}' | sort -k2; }
contents "$deb" >"$out/contents.txt"
diff <(sort <<<"$expected") <(awk '{print $2}' "$out/contents.txt") || fail "package contents differ (- expected, + found)"
grep -q '^-rwxr-xr-x \./usr/bin/velmora$' "$out/contents.txt" || fail "the launcher is not executable"
grep -q '^-rw-r--r-- \./usr/share/velmora/tolvi.dbf$' "$out/contents.txt" || fail "the demo database is not 0644"

if [ "$web_module" = 1 ]; then
    web=$(ls "$work"/pkg/velmora-web_*.deb)
    debs+=("$web")
    [[ "$(dpkg-deb -f "$deb" Recommends)" == *"velmora-web (= $version)"* ]] || fail "velmora does not recommend velmora-web"
    web_depends=$(dpkg-deb -f "$web" Depends)
    [[ "$web_depends" == *libqt6webenginewidgets6* && "$web_depends" == *"velmora (= $version)"* ]] ||
        fail "velmora-web Depends: $web_depends"
    contents "$web" >"$out/contents-web.txt"
    diff <(printf '%s\n' ./usr/lib/velmora/modules/libvelmora_web.so ./usr/share/doc/velmora-web/changelog.gz \
        ./usr/share/doc/velmora-web/copyright) <(awk '{print $2}' "$out/contents-web.txt") ||
        fail "velmora-web contents differ (- expected, + found)"
fi

root=$work/root
for d in "${debs[@]}"; do dpkg -x "$d" "$root"; done
desktop-file-validate "$root/usr/share/applications/com.example.Velmora.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/com.example.Velmora.metainfo.xml" >"$out/appstream.txt" 2>&1 ||
    { cat "$out/appstream.txt"; fail "appstreamcli validate"; }
# The screenshots the AppStream data names are the ones scripts/screenshots.sh shoots into docs/screenshots/.
for shot in $(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$root/usr/share/metainfo/com.example.Velmora.metainfo.xml"); do
    [ -f "$source/docs/screenshots/$shot" ] || fail "the AppStream data names $shot, not in docs/screenshots/"
done
lintian --fail-on warning --tag-display-limit 0 "${debs[@]}" >"$out/lintian.txt" 2>&1 ||
    { cat "$out/lintian.txt"; fail "lintian reports warnings or errors"; }

# --- the installed tools, with the source and build trees out of reach ----------------------------------------
# Runs a command with the build tree and the source tree each hidden under an empty folder.
out_of_reach() {
    unshare -rm sh -c 'for d in "$0" "$1"; do [ ! -d "$d" ] || mount -t tmpfs none "$d"; done; shift; exec "$@"' \
        "$build" "$source" "$@"
}
out_of_reach test ! -e "$source/data/demo" || fail "the source tree cannot be hidden (unshare)"
out_of_reach "$root/usr/bin/busdb" demo "$work/demo.dbf" >"$out/busdb-demo.txt" 2>&1 ||
    fail "the installed busdb demo: $(cat "$out/busdb-demo.txt")"
[ "$("$root/usr/bin/busdb" query "$work/demo.dbf" "SELECT count(*) FROM city" | tail -1)" = 23 ] ||
    fail "the installed busdb demo did not build the 23 cities"

# busdb help and busdb(1) show the same command lines.
usage_lines() { sed -n 's/^ *\(busdb [a-z].*\)/\1/p' | tr -s ' ' | sort; }
"$root/usr/bin/busdb" help | usage_lines >"$out/busdb-help.txt"
MANWIDTH=1000 LC_ALL=C.UTF-8 man -l "$root/usr/share/man/man1/busdb.1.gz" 2>/dev/null | col -bx |
    sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' | usage_lines >"$out/busdb-man.txt"
diff "$out/busdb-help.txt" "$out/busdb-man.txt" || fail "busdb help and busdb(1) differ (- help, + man page)"

# --- the launcher's failures (no display: nothing may wait for a click) ---------------------------------------
launcher=$root/usr/bin/velmora
# As an ordinary user, so that folder modes hold (root writes anywhere).
as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME "$@"
    else
        env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME "$@"
    fi
}
expect_failure() { # <home> <message> <command...>
    local home=$1 message=$2
    shift 2
    if as_user HOME="$home" "$@" >"$work/msg" 2>&1; then fail "the launcher succeeded with HOME=$home"; fi
    grep -q "$message" "$work/msg" || fail "launcher message: $(cat "$work/msg"), expected: $message"
}
mkdir -m 555 "$work/rohome"
expect_failure "$work/rohome" "cannot create the data folder $work/rohome/.local/share/velmora" "$launcher"
[ -z "$(ls -A "$work/rohome")" ] || fail "a read-only home got files"
mkdir -p "$work/rodata/.local/share/velmora"
chmod 555 "$work/rodata/.local/share/velmora"
expect_failure "$work/rodata" "cannot write into the data folder" "$launcher"
[ -z "$(ls -A "$work/rodata/.local/share/velmora")" ] || fail "a read-only data folder got files"
# A file size limit makes the copy fail midway, as a full disk does.
mkdir -m 777 "$work/fullhome"
expect_failure "$work/fullhome" "cannot copy the demo database.*File too large" \
    sh -c 'trap "" XFSZ; ulimit -f 64; exec "$0"' "$launcher"
[ -z "$(ls -A "$work/fullhome")" ] || fail "a failed copy left $(find "$work/fullhome" | tail -n +2)"

# --help and --version answer without a display and without making the data folder.
as_user HOME="$work/nohome" "$launcher" --version >"$work/msg" 2>&1 || fail "velmora --version: $(cat "$work/msg")"
[ "$(cat "$work/msg")" = "velmora $version" ] || fail "velmora --version printed: $(cat "$work/msg")"
as_user HOME="$work/nohome" "$launcher" --help | grep -q '^Usage: velmora' || fail "velmora --help shows no usage"
[ ! -e "$work/nohome" ] || fail "--version or --help made a data folder"

# A data file the program cannot open is named, in the user's language, and left as it is.
mkdir -p "$work/dirhome/.local/share/velmora/tolvi.dbf" "$work/linkhome/.local/share/velmora"
ln -s /nonexistent/tolvi.dbf "$work/linkhome/.local/share/velmora/tolvi.dbf"
expect_failure "$work/dirhome" "data file $work/dirhome/.local/share/velmora/tolvi.dbf is a folder" \
    env LC_ALL=C "$launcher"
expect_failure "$work/linkhome" "数据文件 $work/linkhome/.local/share/velmora/tolvi.dbf 是指向 /nonexistent/tolvi.dbf 的符号链接" \
    env LC_ALL=zh_CN.UTF-8 "$launcher"
[ -d "$work/dirhome/.local/share/velmora/tolvi.dbf" ] || fail "the folder in the data file's place was touched"
[ "$(readlink "$work/linkhome/.local/share/velmora/tolvi.dbf")" = /nonexistent/tolvi.dbf ] ||
    fail "the dangling link was touched"
# Without a terminal, as from the menu, the program itself shows the message in a box.
(cd / && exec env -u XDG_DATA_HOME HOME="$work/dirhome" LC_ALL=C "$launcher" </dev/null >"$out/box.log" 2>&1) &
pid=$!
box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora$' | head -1) || fail "no message box"
kill "$(xdotool getwindowpid "$box")"
if wait "$pid"; then fail "the launcher succeeded with a folder as its data file"; fi
pid=

# --- two starts through the launcher --------------------------------------------------------------------------
home=$work/home
mkdir "$home"
userdb=$home/.local/share/velmora/tolvi.dbf
busdb() { "$root/usr/bin/busdb" "$@"; }

# Starts the launcher, waits for the main window and saves the current city's caption as $1.png.
start() {
    (cd / && exec env -u XDG_DATA_HOME HOME="$home" "$launcher" >"$out/program-$1.log" 2>&1) &
    pid=$!
    local win
    win=$(timeout 60 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Velmora' | head -1) ||
        fail "no main window (see $out/program-$1.log)"
    sleep 2
    if [ "$(xdotool search --onlyvisible --pid "$pid" | wc -l)" -ne 1 ]; then
        import -window root "$out/$1-failure.png"
        fail "windows $(xdotool search --onlyvisible --pid "$pid" | xargs -r -n1 xdotool getwindowname | paste -sd,)" \
            "instead of the main window alone, see $out/$1-failure.png"
    fi
    eval "$(xdotool getwindowgeometry --shell "$win")"
    import -window root "$out/$1-window.png"
    # The group box caption "当前城市: <city>" near the top of the 664 x 588 client area.
    import -window root -crop "300x20+$((X + 20))+$((Y + HEIGHT - 588 + 8))" +repage "$out/$1.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

start first
! grep -q "web module" "$out/program-first.log" || fail "$(grep "web module" "$out/program-first.log")"
cmp -s "$userdb" "$root/usr/share/velmora/tolvi.dbf" || fail "the user's database is not the demo's copy"
busdb query "$userdb" "UPDATE uconf SET city='上海', cid='2' WHERE id=1" >/dev/null
start second
[ "$(busdb query "$userdb" "SELECT city FROM uconf WHERE id=1" | tail -1)" = "上海" ] ||
    fail "the user's city was not kept"
changed=$(compare -metric AE "$out/first.png" "$out/second.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 20 ] 2>/dev/null || fail "the window shows the same city after the change ($changed pixels)"

echo "OK: package $(basename "$deb") checked; logs and screenshots in $out"
