#!/usr/bin/env bash
# talvane.exe under Wine while another program presents: a window that
# covers the monitor holds the foreground (Wine's shell always answers
# "accepts notifications", so the covered monitor is what tells). Reminder
# polls go on without a card; when the window leaves full-screen the held
# reminder's card appears, and the other window keeps the activation and
# the keys typed into it.
#   presenting.sh TALVANE_EXE PRESENTER_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/wine-program.sh"
PRESENTER_EXE=$2
wine_program_setup "$1" "$3" "$4"
# Wine's explorer takes the activation when it docks a tray icon into the
# tray host; Windows' shell does not. Without a host nothing is docked.
stop_tray_host

"$WINE" "$PRESENTER_EXE" 'Z:'"${WORK//\//\\}"'\presenter.log' >"$WORK/presenter.out" 2>&1 &
PRESENTER_PID=$!
presenter_up() { grep -q shown "$WORK/presenter.log" 2>/dev/null && presenter_window; }
presenter_window() { PRESENTER=$(xdotool search --onlyvisible --name '^presenter$' 2>/dev/null | head -n1) && [ -n "$PRESENTER" ]; }
wait_until 60 presenter_up || fail "the presenting window did not appear: $(cat "$WORK/presenter.out")"
# Without a window manager the X focus follows the pointer: give it to the
# window Wine made the foreground one.
xdotool windowfocus "$PRESENTER" 2>/dev/null

start_program
wait_until 60 reminder_polls_at_least 3 || fail "no reminder polls while the user presents"
! card_shown || fail "a reminder card appeared over the full-screen window"
shot presenting

xdotool type w
wait_until 10 card_shown || fail "the held reminder's card did not appear after the presentation"
shot after-presenting
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$PRESENTER" ] || fail "the card took the X keyboard focus"
xdotool type qz
# The helper's C runtime ends its lines with CR LF.
presenter_log() { tr -d '\r' <"$WORK/presenter.log"; }
typed() { presenter_log | grep -q '^q$' && presenter_log | grep -q '^z$'; }
wait_until 10 typed || fail "keys typed after the card appeared did not reach the other window: $(presenter_log)"
! grep -q deactivated "$WORK/presenter.log" || fail "the card took the activation: $(presenter_log)"
kill "$PRESENTER_PID" 2>/dev/null
e2e_pass
