#!/usr/bin/env bash
# Quiet while the desktop inhibits notifications (a do-not-disturb or
# presentation mode announced by its notification service on the session
# bus): reminder polls go on without a card, and once the service says it
# no longer inhibits them the held reminder's card appears.
#   arguments: as every end-to-end check, then the fake notification service
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$1" "$2" "$3" "$4"
FAKE_BIN=$5
start_demo --data "$(dirname "$0")/data/e2e-data.txt"
printf '[systemsetting]\nsysNumber=%s\n' 000772026120910000000077 >"$WORK/app/setting.ini"
export TALVANE_TICK_MS=100

bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus_info" | sed -n 1p)
BUS_PID=$(echo "$bus_info" | sed -n 2p)
echo 1 >"$WORK/inhibited"
"$FAKE_BIN" "$WORK/inhibited" >"$WORK/notifications.out" 2>&1 &
FAKE_PID=$!
trap 'kill "$FAKE_PID" "$BUS_PID" 2>/dev/null; e2e_teardown' EXIT
wait_until 5 grep -q '^ready' "$WORK/notifications.out" || fail "fake service: $(cat "$WORK/notifications.out")"

weekday_morning
start_talvane "${WEEKDAY_MORNING[@]}"
wait_until 30 requests_at_least 3 ClientReminderNew || fail "no reminder polls while notifications are inhibited"
! find_popup || fail "a reminder card appeared while notifications are inhibited"
echo 0 >"$WORK/inhibited"
wait_until 10 find_popup || fail "the held reminder's card did not appear once notifications were allowed"
e2e_pass
