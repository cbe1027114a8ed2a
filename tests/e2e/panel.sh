#!/usr/bin/env bash
# The panel as a person uses it: the tray icon shows it at the right edge with
# rounded corners; hovering highlights a row and opens its balloon; every
# link opens its page with the client number; the caption glyphs put it away.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_window_manager
start_demo --data "$(dirname "$0")/data/e2e-data.txt"
number=000422026120910000000042
printf '[systemsetting]\nsysNumber=%s\n' "$number" >"$WORK/app/setting.ini"
start_talvane
wait_until 5 grep -q Clientnew.aspx "$WORK/requests.log" || fail "no event-list request"
wait_for_icon_drawn
shot 0-tray
base="$TALVANE_SERVICE_URL"

# --- Tray icon shows the panel at the right edge, rounded ----------------
show_panel_from_tray || fail "the tray icon did not show the panel"
[ "$PANEL_X" = 737 ] && [ "$PANEL_Y" = 5 ] || fail "panel at $PANEL_X,$PANEL_Y, expected 737,5 on a 1024-pixel screen"
[ "$PANEL_W" = 251 ] && [ "$PANEL_H" = 661 ] || fail "panel is ${PANEL_W}x$PANEL_H"
hover 120 112   # the strip between banner and rows: bare background
rows_drawn() { [ "$(pixel 1-panel 860 300)" != "$(pixel 1-panel 5 700)" ]; }
shot_until 1-panel "the panel's rows to be drawn" rows_drawn
desktop=$(pixel 1-panel 5 700)
for corner in "737 5" "987 5" "737 665" "987 665"; do
    set -- $corner
    [ "$(pixel 1-panel "$1" "$2")" = "$desktop" ] || fail "corner $1,$2 is not cut away"
done
[ "$(pixel 1-panel 745 13)" != "$desktop" ] || fail "the panel does not begin inside its corner"

# --- Hover: row highlight and arrow, balloon over the title --------------
# highlighted SHOT Y: the row band at screen height Y differs from the resting panel
highlighted() { [ "$(pixel "$1" 977 "$2")" != "$(pixel 1-panel 977 "$2")" ]; }
hover 5 330     # hover area of row 2
shot_until 2-row2-hover "row 2 to be highlighted" highlighted 2-row2-hover 400
read -r r g b < <(convert "$ARTIFACTS/2-row2-hover.png" -crop 16x16+745+345 -scale 1x1 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
[ "$b" -gt "$r" ] || fail "arrow 2 is not blue ($r,$g,$b)"
hover 100 350   # title of row 2
shot_until 3-row2-balloon "row 2's balloon to open (5000 pixels changed)" differs_from 2-row2-hover 3-row2-balloon 5000
hover 5 330
shot_until 4-row2-back "row 2's balloon to close on its hover area" like_shot 2-row2-hover 4-row2-back
hover 5 230     # row 1's balloon covers row 2's title
shot_until 5-row1-hover "row 1 to be highlighted" highlighted 5-row1-hover 300
hover 100 250
shot_until 5-row1-balloon "row 1's balloon to open" differs_from 5-row1-hover 5-row1-balloon 5000
hover 5 530     # hover area of row 4, then its title: the balloon opens above
shot_until 5-row4-hover "row 4 to be highlighted" highlighted 5-row4-hover 600
hover 100 550
shot_until 5-row4-balloon "row 4's balloon to open" differs_from 5-row4-hover 5-row4-balloon 5000

# --- Links ---------------------------------------------------------------
view() { echo "$base/endusers/meeting_view.aspx?FRM=Software&EventID=$1&id=$number"; }
replay() { echo "$base/endusers/WebinarPlayBack.aspx?FRM=Software&EventID=$1&id=$number"; }
portal="$base/endusers/Index.aspx?FRM=Software&sysID=$number"
# Between clicks the pointer rests on the background until the panel looks
# as it did at rest, because a title's balloon covers the lines below it
# and takes their clicks.
clicks=0
for spot in "100 150" "100 288" "100 310" "100 410" "120 80" "120 640" "120 650"; do
    # title 0, status 1, time 1 (ended: replay), time 2, banner, footer
    # text, footer shadow below the white text
    hover 120 112
    shot_until resting "the panel to look as it did at rest" like_shot 1-panel resting
    click_panel $spot
    clicks=$((clicks + 1))
    wait_until 5 test "$(opened_count)" -ge $clicks || fail "waited 5 s for a page from the click at $spot; opened: $(opened)"
done
expected=$(printf '%s\n' "$(view E2E100)" "$(view E2E101)" "$(replay E2E101)" "$(view E2E102)" "$portal" "$portal" "$portal")
[ "$(opened)" = "$expected" ] || fail "opened pages differ:
$(opened)
expected:
$expected"

# --- Caption glyphs ------------------------------------------------------
click_panel 188 8     # minimise: the window is iconified, the icon stays
wait_until 3 panel_hidden || fail "minimise left the panel on screen"
[ "$(tray_icon_count)" = 1 ] || fail "the icon went away on minimise"
show_panel_from_tray || fail "the tray icon did not bring the panel back"
[ "$PANEL_X" = 737 ] || fail "the panel came back at $PANEL_X"
click_panel 225 8     # close glyph: back into the tray
wait_until 3 panel_hidden || fail "the close glyph did not hide the panel"
[ "$(tray_icon_count)" = 1 ] || fail "the icon went away with the panel"

# --- Tray menu: Open, then Exit -----------------------------------------
open_tray_menu || fail "no tray menu"
shot 6-tray-menu
# The menu the icon exports is the one Qt pops up here: never a second.
[ "$(tray_menus | wc -l)" = 1 ] || fail "$(tray_menus | wc -l) tray menus on screen"
panel_shown() { ! panel_hidden; }
choose_from_tray_menu f panel_shown || fail "打开 in the tray menu did not show the panel"
wait_for_panel || fail "the panel went away after 打开"
requests_before=$(grep -c GET "$WORK/requests.log")
open_tray_menu || fail "no tray menu"
program_ended() { ! kill -0 "$APP_PID" 2>/dev/null; }
choose_from_tray_menu e program_ended || fail "退出 did not end the program"
wait "$APP_PID"
status=$?
[ $status = 0 ] || fail "the program exited with $status"
wait_until 5 tray_icons 0 || fail "waited 5 s for the icon to go: $(tray_icon_count) left behind"
[ "$(grep -c GET "$WORK/requests.log")" = "$requests_before" ] || fail "Exit sent a request"
grep -qx "sysNumber=$number" "$WORK/app/setting.ini" || fail "the settings file changed"
APP_PID=""
e2e_pass
