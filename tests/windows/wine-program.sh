# Shared steps of the Wine checks that run talvane.exe with reminder cards:
#   . tests/windows/wine-program.sh
#   wine_program_setup TALVANE_EXE DEMO_SERVICE ARTIFACT_ROOT NAME
#   start_with_card CASE; card_shown; program_ended
# A private copy of the program and its component with a GBK setting.ini,
# the virtual display, the prefix (kept in ARTIFACT_ROOT/wineprefix, or
# $TALVANE_WINEPREFIX) and the demo service with reminders.
. "$(dirname "${BASH_SOURCE[0]}")/../lib/desktop.sh"

wine_program_setup() {
    EXE=$1
    DEMO_BIN=$2
    ARTIFACTS=$3/$4
    local prefix=${TALVANE_WINEPREFIX:-$3/wineprefix}
    mkdir -p "$ARTIFACTS" "$prefix"
    WINEPREFIX=$(cd "$prefix" && pwd)
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
    WINE=/usr/lib/wine/wine64
    [ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
    WORK=$(mktemp -d /tmp/talvane-wine.XXXXXX)
    trap wine_program_teardown EXIT
    mkdir -p "$WORK/app"
    cp "$EXE" "$(dirname "$EXE")/Flarebox.DisplayMsg.dll" "$WORK/app/"
    start_virtual_display
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || fail "wineboot failed"
    start_demo --data "$(dirname "${BASH_SOURCE[0]}")/../e2e/data/e2e-data.txt"
    printf '; 研讨会提醒客户端\r\n[systemsetting]\r\nsysNumber=%s\r\n' 000422026120910000000042 |
        iconv -f UTF-8 -t GBK >"$WORK/app/setting.ini"
    FAKETIME_LIB=$(find /usr/lib -name libfaketime.so.1 2>/dev/null | head -n1)
    [ -n "$FAKETIME_LIB" ] || fail "libfaketime is not installed"
}

wine_program_teardown() {
    wineserver -k 2>/dev/null
    e2e_teardown
}

# start_program: a Wednesday morning with a tick every 200 ms, so that a
# reminder poll comes within two seconds; APP_PID is Wine's process.
start_program() {
    : >"$WORK/requests.log"
    (cd "$WORK/app" && LD_PRELOAD=$FAKETIME_LIB FAKETIME='@2026-12-09 10:00:00' TALVANE_TICK_MS=200 \
        exec "$WINE" "$WORK/app/talvane.exe") >>"$WORK/talvane.out" 2>&1 &
    APP_PID=$!
}

# start_with_card CASE: start_program, then waits for the reminder card.
start_with_card() {
    start_program
    wait_until 60 card_shown || fail "$1: no reminder card appeared"
}

# The card: a window of the program beside its panel, titled by the reminder.
card_shown() {
    xwininfo -root -tree 2>/dev/null | grep '("talvane.exe" "talvane.exe")' |
        grep -v -e 'Talvane2.0' -e 'Default IME' -e '(has no name)' | grep -q .
}

program_ended() { ! kill -0 "$APP_PID" 2>/dev/null; }

# reminder_polls_at_least N: the program asked for reminders N times.
reminder_polls_at_least() { [ "$(grep -c ClientReminderNew "$WORK/requests.log")" -ge "$1" ]; }
