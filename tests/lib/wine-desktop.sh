# shellcheck shell=bash
# Shared steps of the checks that run talvane.exe under Wine on a virtual
# display with a tray host; sourced after tests/lib/desktop.sh.
#   wine_setup TALVANE_EXE DEMO_SERVICE ARTIFACT_DIR [PREFIX_SUFFIX]
# sets ARTIFACTS (ARTIFACT_DIR/windows-<check's name>), WORK with the program's copy
# in WORK/app, WINEPREFIX and WINE, a fake xdg-open and the display. The
# Wine prefix is kept between runs in ARTIFACT_DIR/wineprefix (or
# $TALVANE_WINEPREFIX): a fresh one costs several seconds. A check that
# changes the user's settings in it names a suffix and gets a prefix of its
# own, so that a run it ends half-way leaves no other check behind a proxy.

wine_setup() {
    EXE=$1
    DEMO_BIN=$2
    local name
    name=$(basename "$0" .sh)
    ARTIFACTS=$3/windows-${name%_wine}
    local prefix=${TALVANE_WINEPREFIX:-$3/wineprefix}${4:+-$4}
    mkdir -p "$ARTIFACTS" "$prefix"
    # Wine takes only absolute prefixes; zh_CN makes the ANSI code page 936.
    WINEPREFIX=$(cd "$prefix" && pwd)
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
    # The 64-bit loader itself: Debian's wine wrapper warns about a missing
    # 32-bit Wine, which would count as output of a second start.
    WINE=/usr/lib/wine/wine64
    [ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)

    WORK=$(mktemp -d /tmp/talvane-wine.XXXXXX)
    trap wine_teardown EXIT
    mkdir -p "$WORK/app" "$WORK/bin"
    cp "$EXE" "$WORK/app/talvane.exe"
    # ShellExecute goes through winebrowser to xdg-open on the Unix PATH.
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened.txt"\n' "$WORK" >"$WORK/bin/xdg-open"
    chmod +x "$WORK/bin/xdg-open"
    export PATH="$WORK/bin:$PATH"
    unset BROWSER
    : >"$WORK/opened.txt"
    start_virtual_display
    # After the display: the desktop process that wineboot leaves running
    # owns the tray icons, and it must know the display.
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 ||
        fail "wineboot failed"
}

wine_teardown() {
    wineserver -k 2>/dev/null
    e2e_teardown
}

run_exe() { (cd "$WORK/app" && exec "$WINE" "$WORK/app/talvane.exe" "$@"); }

# The icon is a window of Wine's explorer.exe inside the tray host (this
# replaces desktop.sh's, so that its wait_for_icon serves Wine too).
tray_icon() {
    local panel
    panel=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "panel": ("panel" "trayer").*/\1/p' | head -n1)
    [ -n "$panel" ] || return
    xwininfo -tree -id "$panel" 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) .*("explorer.exe" "explorer.exe").*/\1/p' | head -n1
}
