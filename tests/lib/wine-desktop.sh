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
    export WINEPREFIX WINEDEBUG=${TALVANE_WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
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

# Waits for the server to end: the next check's programs would otherwise
# meet the dying one.
wine_teardown() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
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

# wine_user_settings: the client number (NUMBER) in a setting.ini as the
# users' machines keep it: GBK, CRLF.
wine_user_settings() {
    NUMBER=000422026120910000000042
    printf '; 研讨会提醒客户端\r\n[systemsetting]\r\nsysNumber=%s\r\n' "$NUMBER" |
        iconv -f UTF-8 -t GBK >"$WORK/app/setting.ini"
}

icon_docked() { [ -n "$(tray_icon)" ]; }
icon_gone() { [ -z "$(tray_icon)" ]; }

# wait_for_tray_menu: MENU, the tray menu's window (a nameless popup of the
# program, wider than 40 and 30 to 200 high); false when none comes in 5 s.
wait_for_tray_menu() {
    MENU=""
    for _ in $(seq 1 100); do
        MENU=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) (has no name): ("talvane.exe" "talvane.exe")  \([0-9]*\)x\([0-9]*\)+.*/\1 \2 \3/p' |
            awk '$2 > 40 && $3 > 30 && $3 < 200 {print $1; exit}')
        [ -n "$MENU" ] && return 0
        sleep 0.05
    done
    return 1
}

# choose_exit: clicks 退出 in the open tray menu (打开, separator, 退出: the
# last item sits at its bottom).
choose_exit() {
    eval "$(xdotool getwindowgeometry --shell "$MENU")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 10)) click 1
}
