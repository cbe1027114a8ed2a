#!/usr/bin/env bash
# Runs a Windows program under Wine for the cross-built tests:
#   wine-run.sh [--prefix DIR] program.exe [arguments...]
# One Wine prefix per build folder (the toolchain file passes its
# wine-prefix), created once and reused; without --prefix, $WINEPREFIX or
# wine-prefix in the current folder. Chinese locale, so that GetACP()
# answers 936 as on the users' machines. No Mono or Gecko installers (they
# would ask for downloads).
set -euo pipefail

prefix=${WINEPREFIX:-$PWD/wine-prefix}
if [ "${1:-}" = "--prefix" ]; then
    prefix=$2
    shift 2
fi
prefix=$(realpath -m "$prefix")  # Wine takes only absolute prefixes
# Tests that draw get a display of their own (tests/platform/windows/popup-com/with-xvfb.sh);
# the others stay off any X server. Wine's desktop keeps the display it was
# started on, so the drawing ones use a prefix of their own, one run at a
# time, and its wineserver ends with each run, before the display goes.
drawing=
if [ -n "${TALVANE_WINE_DISPLAY:-}" ]; then
    drawing=yes
    prefix=$prefix-display
    export DISPLAY=$TALVANE_WINE_DISPLAY
else
    unset DISPLAY
fi
export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8

# Debian's /usr/bin/wine wrapper warns about a missing 32-bit Wine on every
# start; the 64-bit loader itself is all the tests need.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

# Two tests started at once must not both create the prefix.
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    "$wine" wineboot --init >"$prefix.boot.log" 2>&1 </dev/null || true
    wineserver -w
fi
flock -u 9
if [ -n "$drawing" ]; then
    exec 7>"$prefix.run.lock"
    flock 7
fi

# Wine's helper processes (wineserver, services.exe) inherit the output
# descriptors and hold them after the program ends: a reader on a pipe would
# wait for them. The program writes into a file; the file is then passed on.
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
status=0
"$wine" "$@" >"$out" 2>&1 </dev/null || status=$?
[ -z "$drawing" ] || wineserver -k 2>/dev/null || true
cat "$out"
exit "$status"
