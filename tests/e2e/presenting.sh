#!/usr/bin/env bash
# Quiet while the user presents: under a window manager, with another
# program's window active and full-screen, reminder polls go on but no card
# appears; when the window leaves full-screen the held reminder's card
# appears at the next tick, without taking the keyboard focus: keys typed
# afterwards still reach the other window.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_window_manager
start_demo --data "$(dirname "$0")/data/e2e-data.txt"
number=000772026120910000000077
printf '[systemsetting]\nsysNumber=%s\n' "$number" >"$WORK/app/setting.ini"
export TALVANE_TICK_MS=100
command -v wmctrl >/dev/null || fail "wmctrl is not installed"

# The other program: xev prints the keys that reach its window.
xev -name presenter -geometry 400x300+40+40 >"$WORK/xev.out" 2>&1 &
XEV_PID=$!
trap 'kill "$XEV_PID" 2>/dev/null; e2e_teardown' EXIT
presenter_window() { PRESENTER=$(xdotool search --onlyvisible --name '^presenter$' 2>/dev/null | head -n1) && [ -n "$PRESENTER" ]; }
wait_until 10 presenter_window || fail "the other program's window did not appear"
active_is_presenter() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$PRESENTER" ]; }
xdotool windowactivate "$PRESENTER" 2>/dev/null
wait_until 10 active_is_presenter || fail "the other program's window did not become active"
wmctrl -i -r "$PRESENTER" -b add,fullscreen
full_screen() { xprop -id "$PRESENTER" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
wait_until 10 full_screen || fail "the other program's window did not go full-screen"

weekday_morning
start_talvane "${WEEKDAY_MORNING[@]}"
polls() { grep -c ClientReminderNew "$WORK/requests.log"; }
wait_until 30 sh -c "[ \$(grep -c ClientReminderNew '$WORK/requests.log') -ge 3 ]" ||
    fail "no reminder polls while the user presents"
! find_popup || fail "a reminder card appeared over a full-screen window"
active_is_presenter || fail "the full-screen window lost the activation"
shot presenting

wmctrl -i -r "$PRESENTER" -b remove,fullscreen
wait_until 10 find_popup || fail "the held reminder's card did not appear after the presentation"
shot after-presenting
active_is_presenter || fail "the card took the activation: $(xdotool getactivewindow)"
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$PRESENTER" ] || fail "the card took the keyboard focus"
xdotool type --delay 50 qz
typed() { grep -q 'keysym 0x71, q' "$WORK/xev.out" && grep -q 'keysym 0x7a, z' "$WORK/xev.out"; }
wait_until 10 typed || fail "keys typed after the card appeared did not reach the other window"
e2e_pass
