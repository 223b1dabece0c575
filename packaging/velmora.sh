#!/bin/sh
# Starts Velmora in the user's data folder, where it finds its database tolvi.dbf.
# The folder is $XDG_DATA_HOME/velmora (~/.local/share/velmora by default). On the first start it gets a copy of
# the packaged demo database; a tolvi.dbf already there is never replaced, so the chosen city and imported lines
# survive upgrades. The program and the demo are found relative to this script, so an unpacked package works too.
set -eu

me=velmora

# Says why the start failed: on standard error, and on the desktop too when started from a menu.
fail() {
    printf '%s: %s\n' "$me" "$1" >&2
    if [ ! -t 2 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
        if command -v notify-send >/dev/null 2>&1; then
            notify-send -i com.example.Velmora "Velmora" "$1" 2>/dev/null || true
        elif command -v xmessage >/dev/null 2>&1; then
            xmessage -center "Velmora: $1" 2>/dev/null &
        fi
    fi
    exit 1
}

self=$(readlink -f -- "$0")
prefix=$(dirname -- "$(dirname -- "$self")")
program=$prefix/lib/velmora/velmora
demo=$prefix/share/velmora/tolvi.dbf
[ -x "$program" ] || fail "the program $program is missing; reinstall the velmora package."

# A relative or empty XDG_DATA_HOME is to be ignored.
case "${XDG_DATA_HOME:-}" in
/*) base=$XDG_DATA_HOME ;;
*)
    [ -n "${HOME:-}" ] || fail "HOME is not set, so there is no data folder to start in."
    base=$HOME/.local/share
    ;;
esac
data=$base/velmora
db=$data/tolvi.dbf

# The highest folder of the path that this start creates: removed again when seeding fails.
made=
probe=$data
while [ ! -e "$probe" ] && [ "$probe" != / ]; do
    made=$probe
    probe=$(dirname -- "$probe")
done

undo() {
    [ -n "${tmp:-}" ] && rm -f -- "$tmp"
    if [ -n "$made" ]; then
        d=$data
        while rmdir -- "$d" 2>/dev/null && [ "$d" != "$made" ]; do d=$(dirname -- "$d"); done
    fi
    fail "$1"
}

if [ ! -d "$data" ]; then
    err=$(mkdir -p -- "$data" 2>&1) || undo "cannot create the data folder $data: ${err##*: }"
fi

if [ ! -e "$db" ] && [ ! -L "$db" ]; then
    [ -r "$demo" ] || undo "the demo database $demo is missing; put a tolvi.dbf into $data or reinstall."
    # Copied under a temporary name and then linked into place, so a full disk or a read-only folder leaves
    # no partial tolvi.dbf behind, and a database made meanwhile by another start is not replaced.
    tmp=
    err=$(mktemp -- "$data/.tolvi.dbf.XXXXXX" 2>&1) || undo "cannot write into the data folder $data: ${err##*: }"
    tmp=$err
    err=$(cp -- "$demo" "$tmp" 2>&1) || undo "cannot copy the demo database into $data: ${err##*: }"
    chmod "$(printf '%o' $((0666 & ~0$(umask))))" -- "$tmp" # mktemp's private mode would ignore the umask
    ln -- "$tmp" "$db" 2>/dev/null || mv -n -- "$tmp" "$db" 2>/dev/null || true
    rm -f -- "$tmp"
    tmp=
    [ -e "$db" ] || undo "cannot put the demo database into $data."
fi

cd -- "$data" || fail "cannot enter the data folder $data."
exec "$program" "$@"
