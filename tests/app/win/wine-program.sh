# Shared steps of the Wine checks that run talvane.exe with reminder cards,
# on top of tests/lib/wine-desktop.sh:
#   . tests/app/win/wine-program.sh
#   wine_program_setup TALVANE_EXE DEMO_SERVICE ARTIFACT_DIR
#   start_program; start_with_card CASE; card_shown; program_ended
# The program's copy gets its popup component and a GBK setting.ini, the
# demo service serves reminders, and Wine runs on a Wednesday morning.
. "$(dirname "${BASH_SOURCE[0]}")/../../lib/desktop.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../../lib/wine-desktop.sh"

wine_program_setup() {
    wine_setup "$1" "$2" "$3"
    cp "$(dirname "$1")/Flarebox.DisplayMsg.dll" "$WORK/app/"
    start_demo --data "$(dirname "${BASH_SOURCE[0]}")/../../e2e/data/e2e-data.txt"
    printf '; 研讨会提醒客户端\r\n[systemsetting]\r\nsysNumber=%s\r\n' 000422026120910000000042 |
        iconv -f UTF-8 -t GBK >"$WORK/app/setting.ini"
    wine_weekday_morning
}

# start_program: a tick every 200 ms, so that a reminder poll comes within
# two seconds; APP_PID is Wine's process.
start_program() {
    : >"$WORK/requests.log"
    (cd "$WORK/app" && TALVANE_TICK_MS=200 exec "$WINE" "$WORK/app/talvane.exe") >>"$WORK/talvane.out" 2>&1 &
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
