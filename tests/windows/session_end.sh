#!/usr/bin/env bash
# talvane.exe under Wine asked to end as Windows asks it: WM_CLOSE, a log-off
# (WM_QUERYENDSESSION, then WM_ENDSESSION) and an installer's Restart
# Manager (the same with ENDSESSION_CLOSEAPP), each while a reminder card is
# open. The process ends, the card goes with it and setting.ini stays byte
# for byte as it was. An ending that another program refused
# (WM_ENDSESSION with FALSE) leaves the program running.
#   session_end.sh TALVANE_EXE SENDER_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/../lib/desktop.sh"

EXE=$1
SENDER=$2
DEMO_BIN=$3
ARTIFACTS=$4/windows-session-end
PREFIX=${TALVANE_WINEPREFIX:-$4/wineprefix}
mkdir -p "$ARTIFACTS" "$PREFIX"
WINEPREFIX=$(cd "$PREFIX" && pwd)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)

WORK=$(mktemp -d /tmp/talvane-wine.XXXXXX)
wine_teardown() {
    wineserver -k 2>/dev/null
    e2e_teardown
}
trap wine_teardown EXIT
mkdir -p "$WORK/app"
cp "$EXE" "$(dirname "$EXE")/Flarebox.DisplayMsg.dll" "$WORK/app/"
start_virtual_display
[ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || fail "wineboot failed"
start_demo --data "$(dirname "$0")/../e2e/data/e2e-data.txt"
number=000422026120910000000042
printf '; 研讨会提醒客户端\r\n[systemsetting]\r\nsysNumber=%s\r\n' "$number" |
    iconv -f UTF-8 -t GBK >"$WORK/app/setting.ini"
cp -p "$WORK/app/setting.ini" "$WORK/setting.before"
faketime_lib=$(find /usr/lib -name libfaketime.so.1 2>/dev/null | head -n1)
[ -n "$faketime_lib" ] || fail "libfaketime is not installed"

# A Wednesday morning with a tick every 200 ms: a reminder card within a
# second or two of the start.
start_with_card() {
    : >"$WORK/requests.log"
    (cd "$WORK/app" && LD_PRELOAD=$faketime_lib FAKETIME='@2026-12-09 10:00:00' TALVANE_TICK_MS=200 \
        exec "$WINE" "$WORK/app/talvane.exe") >>"$WORK/talvane.out" 2>&1 &
    APP_PID=$!
    wait_until 60 card_shown || fail "$1: no reminder card appeared"
}
card_shown() {
    xwininfo -root -tree 2>/dev/null | grep '("talvane.exe" "talvane.exe")' |
        grep -v -e 'Talvane2.0' -e 'Default IME' -e '(has no name)' | grep -q .
}
program_ended() { ! kill -0 "$APP_PID" 2>/dev/null; }
send() { "$WINE" "$SENDER" "$@" >>"$WORK/sender.out" 2>&1; }

for mode in close logoff restart-manager; do
    start_with_card "$mode"
    started=${EPOCHREALTIME/./}
    send "$mode" talvane.exe || fail "$mode: the sender failed: $(tail -n 3 "$WORK/sender.out")"
    wait_until 10 program_ended || fail "$mode: the program did not end"
    ended=${EPOCHREALTIME/./}
    wait "$APP_PID"
    echo "$mode: ended $(((ended - started) / 1000)) ms after the sender started (Wine's start of the sender included)"
    APP_PID=""
    ! card_shown || fail "$mode: the card stayed on screen"
    cmp -s "$WORK/app/setting.ini" "$WORK/setting.before" || fail "$mode: setting.ini changed"
done

# Another program refused: the query is answered and the program goes on,
# still polling, until a real close.
start_with_card cancelled
send cancelled talvane.exe || fail "cancelled: the query was refused: $(tail -n 3 "$WORK/sender.out")"
polls() { grep -c ClientReminderNew "$WORK/requests.log"; }
before=$(polls)
wait_until 30 sh -c "[ \$(grep -c ClientReminderNew '$WORK/requests.log') -gt $before ]" ||
    fail "cancelled: the program stopped polling"
kill -0 "$APP_PID" 2>/dev/null || fail "cancelled: the program ended"
send close talvane.exe
wait_until 10 program_ended || fail "close after the cancelled ending: the program did not end"
APP_PID=""
cmp -s "$WORK/app/setting.ini" "$WORK/setting.before" || fail "setting.ini changed"
cp "$WORK/sender.out" "$ARTIFACTS/"
e2e_pass
