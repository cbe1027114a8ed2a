#!/usr/bin/env bash
# talvane.exe under Wine as a person meets it: start-up requests with the
# client number from a GBK setting.ini, the tray icon in the tray host, the
# panel at the right edge, a row click reaching the browser, a second start
# that ends silently, Exit from the tray menu; then, on short ticks in office
# hours, reminder polls reaching the service and the bundled popup showing.
#   e2e_wine.sh TALVANE_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/../../lib/desktop.sh"
. "$(dirname "$0")/../../lib/wine-desktop.sh"

wine_setup "$@"
start_demo --data "$(dirname "$0")/../../e2e/data/e2e-data.txt"
wine_user_settings
number=$NUMBER

run_exe >"$WORK/talvane.out" 2>&1 &
APP_PID=$!
wait_until 60 grep -q Clientnew.aspx "$WORK/requests.log" || fail "no event-list request: $(cat "$WORK/talvane.out")"
base="$TALVANE_SERVICE_URL"
paths=$(sed 's/^[^ ]* GET //; s/sjs=[0-9]*/sjs=N/' "$WORK/requests.log")
expected=$(printf '%s\n' "/EndUsers/visit.aspx?id=$number&sjs=N" "/EndUsers/Clientnew.aspx?sjs=N")
[ "$paths" = "$expected" ] || fail "start-up requests differ:
$paths
expected:
$expected"

wait_until 30 icon_docked || fail "no tray icon inside the tray host"
ICON=$(tray_icon)
shot 0-tray

# --- Left click: the panel at the right edge ------------------------------
shown=""
for _ in 1 2 3; do
    xdotool mousemove --window "$ICON" 8 8 click 1
    wait_for_panel && shown=1 && break
done
[ -n "$shown" ] || fail "a left click on the icon did not show the panel"
[ "$PANEL_X" = 737 ] && [ "$PANEL_Y" = 5 ] || fail "panel at $PANEL_X,$PANEL_Y, expected 737,5 on a 1024-pixel screen"
hover 120 112
sleep 0.5
shot 1-panel
desktop=$(pixel 1-panel 5 700)
[ "$(pixel 1-panel 737 5)" = "$desktop" ] || fail "the top-left corner is not cut away"
[ "$(pixel 1-panel 860 300)" != "$desktop" ] || fail "the panel's rows are not drawn"

hover 5 250     # hover area of row 1, then its title: highlight and balloon
hover 100 252
sleep 0.5
shot 2-hover
changed=$(compare -metric AE "$ARTIFACTS/1-panel.png" "$ARTIFACTS/2-hover.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 5000 ] || fail "hovering row 1 changed only $changed pixels"

# --- A row's title opens its event page ----------------------------------
hover 120 112
click_panel 100 150
wait_until 15 test -s "$WORK/opened.txt" || fail "the row click opened nothing"
want="$base/endusers/meeting_view.aspx?FRM=Software&EventID=E2E100&id=$number"
[ "$(head -n1 "$WORK/opened.txt")" = "$want" ] || fail "opened $(opened), expected $want"

# --- A double click on the title opens its page once more, not twice -------
hover 120 112
hover 100 150
xdotool click --repeat 2 --delay 80 1
two_opened() { [ "$(wc -l <"$WORK/opened.txt")" -ge 2 ]; }
wait_until 15 two_opened || fail "the double click opened nothing"
sleep 2
[ "$(wc -l <"$WORK/opened.txt")" = 2 ] || fail "a double click opened more than once: $(opened)"

# --- Dragged off a pressed title, the hover follows the pointer and the
# release clicks nothing: the press holds the pointer until its release -----
hover 5 250
hover 100 252
xdotool mousedown 1
hover -40 252
at_rest() { [ "$(changed_pixels 1-panel 2-dragged)" -lt 500 ]; }
shot_until 2-dragged "the highlight and balloon to leave with the pointer" at_rest
xdotool mouseup 1
sleep 1
[ "$(opened_count)" = 2 ] || fail "a release off the panel clicked: $(opened)"

# --- A second start ends at once, silently, with status 0, and brings the
# running instance's panel forward --------------------------------------
for _ in 1 2 3; do
    click_panel 225 8     # close glyph: back into the tray
    wait_until 3 panel_hidden && break
done
panel_hidden || fail "the close glyph did not hide the panel"
before=$(wc -l <"$WORK/requests.log")
run_exe >"$WORK/second.out" 2>&1
status=$?
[ $status = 0 ] || fail "the second start ended with status $status"
[ ! -s "$WORK/second.out" ] || fail "the second start printed: $(cat "$WORK/second.out")"
sleep 1
[ "$(wc -l <"$WORK/requests.log")" = "$before" ] || fail "the second start sent requests"
kill -0 "$APP_PID" 2>/dev/null || fail "the first instance ended"
wait_for_panel 10 || fail "the second start did not bring the first instance's panel forward"

# --- Exit from the tray menu ends the process -----------------------------
xdotool mousemove --window "$ICON" 8 8 click 3
wait_for_tray_menu || fail "the tray menu did not open"
shot 3-menu
choose_exit
wait_until 15 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "Exit did not end the program"
wait "$APP_PID"
status=$?
APP_PID=""
[ $status = 0 ] || fail "the program ended with status $status"
wait_until 10 icon_gone || fail "the tray icon stayed after Exit"
[ "$(wc -l <"$WORK/requests.log")" = "$before" ] || fail "Exit sent requests"

# --- Reminders: a Wednesday morning, a tick every 200 ms ----------------
component="$(dirname "$EXE")/Flarebox.DisplayMsg.dll"
[ -f "$component" ] || fail "the bundled popup component is not beside talvane.exe"
cp "$component" "$WORK/app/"
wine_weekday_morning
(cd "$WORK/app" && TALVANE_TICK_MS=200 exec "$WINE" "$WORK/app/talvane.exe") >"$WORK/reminders.out" 2>&1 &
APP_PID=$!
wait_until 60 grep -q "ClientReminderNew.aspx?id=$number&sjs=" "$WORK/requests.log" ||
    fail "no reminder poll with the client number"
# The popup: a window of the program beside its panel, titled by the reminder.
popup=""
for _ in $(seq 1 200); do
    popup=$(xwininfo -root -tree | grep '("talvane.exe" "talvane.exe")' |
        grep -v -e 'Talvane2.0' -e 'Default IME' -e '(has no name)' | head -n1)
    [ -n "$popup" ] && break
    sleep 0.1
done
[ -n "$popup" ] || fail "no popup appeared for the reminder"
sleep 0.5
shot 4-popup
e2e_pass
