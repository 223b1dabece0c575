#!/usr/bin/env bash
# The Debian package as a user gets it: builds it from the build tree with cpack, checks its contents and
# metadata with the distribution's validators, unpacks it into a scratch root and starts the program through
# its launcher with a scratch HOME, twice, to see the demo database seeded once and the user's city kept.
# The launcher's failures (read-only home, a write that fails midway) are checked too.
#   tests/package_check.sh <build folder> <version> <1 when the web module is built, else 0> [output folder]
# Needs an X display.
set -euo pipefail

build=$(realpath "$1")
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

# --- the package -------------------------------------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/pkg" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/velmora_*.deb)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not the project's $version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlcipher0 fonts-wqy-microhei; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

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
if [ "$web_module" = 1 ]; then expected+=$'\n'"./usr/lib/velmora/libvelmora_web.so"; fi
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $1, $6}' | sort -k2 >"$out/contents.txt"
diff <(sort <<<"$expected") <(awk '{print $2}' "$out/contents.txt") || fail "package contents differ (- expected, + found)"
grep -q '^-rwxr-xr-x \./usr/bin/velmora$' "$out/contents.txt" || fail "the launcher is not executable"
grep -q '^-rw-r--r-- \./usr/share/velmora/tolvi.dbf$' "$out/contents.txt" || fail "the demo database is not 0644"

root=$work/root
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/com.example.Velmora.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/com.example.Velmora.metainfo.xml" >"$out/appstream.txt" 2>&1 ||
    { cat "$out/appstream.txt"; fail "appstreamcli validate"; }
# Errors fail; warnings are listed in the log for the release notes.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$out/lintian.txt" 2>&1 ||
    { cat "$out/lintian.txt"; fail "lintian reports errors"; }
echo "lintian: $(grep -c '^[EW]:' "$out/lintian.txt" || true) errors and warnings, see $out/lintian.txt"

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
cmp -s "$userdb" "$root/usr/share/velmora/tolvi.dbf" || fail "the user's database is not the demo's copy"
busdb query "$userdb" "UPDATE uconf SET city='上海', cid='2' WHERE id=1" >/dev/null
start second
[ "$(busdb query "$userdb" "SELECT city FROM uconf WHERE id=1" | tail -1)" = "上海" ] ||
    fail "the user's city was not kept"
changed=$(compare -metric AE "$out/first.png" "$out/second.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 20 ] 2>/dev/null || fail "the window shows the same city after the change ($changed pixels)"

echo "OK: package $(basename "$deb") checked; logs and screenshots in $out"
