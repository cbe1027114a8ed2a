#!/usr/bin/env bash
# An unreachable service: start-up completes, the panel shows five empty rows
# and the footer's design caption, and the program keeps running.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
export TALVANE_SERVICE_URL="http://127.0.0.1:$(refused_port)"
printf '[systemsetting]\nsysNumber=\n' >"$WORK/app/setting.ini"
start_talvane
show_panel_from_tray || fail "the panel did not open"
hover 120 112
wait_until 5 window_drawn "$PANEL" || fail "the panel was mapped but not drawn within 5 s"
settled empty-panel || fail "waited 5 s for the empty panel to stop changing"
# The row bands hold no text: each is one flat colour.
for row in 0 1 2 3 4; do
    colours=$(convert "$ARTIFACTS/empty-panel.png" -crop "200x90+$((PANEL_X + 30))+$((PANEL_Y + 125 + 100 * row))" -unique-colors -format '%w' info:)
    [ "$colours" -le 2 ] || fail "row $row is not empty ($colours colours)"
done
kill -0 "$APP_PID" || fail "the program died"
# The empty number was replaced and stored even though the service is down.
grep -Eq '^sysNumber=[0-9]{24}$' "$WORK/app/setting.ini" || fail "no client number stored: $(cat "$WORK/app/setting.ini")"
e2e_pass
