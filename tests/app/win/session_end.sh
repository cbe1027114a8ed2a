#!/usr/bin/env bash
# talvane.exe under Wine asked to end as Windows asks it: WM_CLOSE, a log-off
# (WM_QUERYENDSESSION, then WM_ENDSESSION) and an installer's Restart
# Manager (the same with ENDSESSION_CLOSEAPP), each while a reminder card is
# open. The process ends, the card goes with it and setting.ini stays byte
# for byte as it was. An ending that another program refused
# (WM_ENDSESSION with FALSE) leaves the program running.
#   session_end.sh TALVANE_EXE SENDER_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/wine-program.sh"
SENDER=$2
wine_program_setup "$1" "$3" "$4"
cp -p "$WORK/app/setting.ini" "$WORK/setting.before"
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
wait_until 30 reminder_polls_at_least $(($(polls) + 1)) || fail "cancelled: the program stopped polling"
kill -0 "$APP_PID" 2>/dev/null || fail "cancelled: the program ended"
send close talvane.exe
wait_until 10 program_ended || fail "close after the cancelled ending: the program did not end"
APP_PID=""
cmp -s "$WORK/app/setting.ini" "$WORK/setting.before" || fail "setting.ini changed"
cp "$WORK/sender.out" "$ARTIFACTS/"
e2e_pass
