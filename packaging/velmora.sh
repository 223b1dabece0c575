#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Velmora in the user's data folder, where it finds its database tolvi.dbf.
# The folder is $XDG_DATA_HOME/velmora (~/.local/share/velmora by default). On the first start it gets a copy of
# the packaged demo database; a tolvi.dbf already there is never replaced, so the chosen city and imported lines
# survive upgrades. A tolvi.dbf the program cannot open (a folder, a link to nothing) is named with what is wrong,
# and left as it is. --help and --version go straight to the program. The program and the demo are found
# relative to this script, so an unpacked package works too.
set -eu

me=velmora

# Messages in Chinese when the user's locale is Chinese, else in English.
chinese=
case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
zh*) chinese=1 ;;
esac

# Writes UTF-8 text in the locale's own encoding (zh_CN.GBK and the like).
to_locale() {
    case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
    *.[Gg][Bb]*) iconv -f UTF-8 -t GB18030 2>/dev/null || cat ;;
    *) cat ;;
    esac
}

# Says why the start failed, in English ($1) or Chinese ($2): on standard error, and in a box of the program's
# own when there is no terminal to read it (started from a menu).
fail() {
    if [ -n "$chinese" ]; then msg=$2; else msg=$1; fi
    printf '%s: %s\n' "$me" "$msg" | to_locale >&2
    if [ ! -t 2 ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && [ -x "${program:-}" ]; then
        "$program" --launcher-failure "$msg" >/dev/null 2>&1 || true
    fi
    exit 1
}

self=$(readlink -f -- "$0")
prefix=$(dirname -- "$(dirname -- "$self")")
program=$prefix/lib/velmora/velmora
demo=$prefix/share/velmora/tolvi.dbf
[ -x "$program" ] || fail "the program $program is missing; reinstall the velmora package." \
    "程序 $program 不存在，请重新安装 velmora 软件包。"

# Usage and version need no data folder.
for arg in "$@"; do
    case $arg in
    --help | -h | --version) exec "$program" "$arg" ;;
    esac
done

# A relative or empty XDG_DATA_HOME is to be ignored.
case "${XDG_DATA_HOME:-}" in
/*) base=$XDG_DATA_HOME ;;
*)
    [ -n "${HOME:-}" ] || fail "HOME is not set, so there is no data folder to start in." \
        "环境变量 HOME 未设置，因此没有可用的数据文件夹。"
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
    if [ -n "${tmp:-}" ]; then rm -f -- "$tmp"; fi
    if [ -n "$made" ]; then
        d=$data
        while rmdir -- "$d" 2>/dev/null && [ "$d" != "$made" ]; do d=$(dirname -- "$d"); done
    fi
    fail "$1" "$2"
}

if [ ! -d "$data" ]; then
    err=$(mkdir -p -- "$data" 2>&1) || undo "cannot create the data folder $data: ${err##*: }" \
        "无法创建数据文件夹 $data：${err##*: }"
fi

if [ ! -e "$db" ] && [ ! -L "$db" ]; then
    [ -r "$demo" ] || undo "the demo database $demo is missing; put a tolvi.dbf into $data or reinstall." \
        "示例数据库 $demo 不存在；请把 tolvi.dbf 放进 $data，或重新安装。"
    # Copied under a temporary name and then linked into place, so a full disk or a read-only folder leaves
    # no partial tolvi.dbf behind, and a database made meanwhile by another start is not replaced.
    tmp=
    err=$(mktemp -- "$data/.tolvi.dbf.XXXXXX" 2>&1) || undo "cannot write into the data folder $data: ${err##*: }" \
        "无法写入数据文件夹 $data：${err##*: }"
    tmp=$err
    err=$(cp -- "$demo" "$tmp" 2>&1) || undo "cannot copy the demo database into $data: ${err##*: }" \
        "无法把示例数据库复制到 $data：${err##*: }"
    chmod "$(printf '%o' $((0666 & ~0$(umask))))" -- "$tmp" # mktemp's private mode would ignore the umask
    ln -- "$tmp" "$db" 2>/dev/null || mv -n -- "$tmp" "$db" 2>/dev/null || true
    rm -f -- "$tmp"
    tmp=
    [ -e "$db" ] || undo "cannot put the demo database into $data." "无法把示例数据库放进 $data。"
fi

# A data file the program cannot open is named here with what is wrong; the user's file is never touched.
again="(the next start copies the demo database there)"
again_zh="（下次启动时会复制示例数据库）"
if [ -L "$db" ] && [ ! -e "$db" ]; then
    target=$(readlink -- "$db")
    fail "the data file $db is a symbolic link to $target, which leads to no file; restore $target or remove the link $again." \
        "数据文件 $db 是指向 $target 的符号链接，但该文件不存在；请恢复 $target，或删除这个链接$again_zh。"
elif [ -d "$db" ]; then
    fail "the data file $db is a folder, not a database; move it away $again or put a database in its place." \
        "数据文件 $db 是一个文件夹，不是数据库；请把它移走$again_zh，或在这里放一个数据库文件。"
elif [ ! -f "$db" ]; then
    fail "the data file $db is not a regular file; move it away $again." \
        "数据文件 $db 不是普通文件；请把它移走$again_zh。"
elif [ ! -r "$db" ]; then
    fail "the data file $db cannot be read (permission denied); give yourself read access to it." \
        "无法读取数据文件 $db（没有权限）；请为自己加上读取权限。"
fi

cd -- "$data" || fail "cannot enter the data folder $data." "无法进入数据文件夹 $data。"
exec "$program" "$@"
