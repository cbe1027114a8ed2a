#!/usr/bin/env bash
# Start-up against the demo service: hidden panel, one tray icon, the visit
# report before the event list, each with a fresh cache-busting number; a
# second start leaves no trace.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_demo
printf '[systemsetting]\r\nsysNumber=123451234567890123456789\r\n' >"$WORK/app/setting.ini"
cp "$WORK/app/setting.ini" "$WORK/setting.before"
start_talvane
wait_until 5 grep -q Clientnew.aspx "$WORK/requests.log" || fail "no event-list request"
wait_for_icon_drawn
shot startup-tray
panel_hidden || fail "the panel is visible after start-up"
[ "$(tray_icon_count)" = 1 ] || fail "expected one tray icon, found $(tray_icon_count)"

mapfile -t lines < <(sed -n 's/^[^ ]* GET //p' "$WORK/requests.log")
[ "${#lines[@]}" = 2 ] || fail "expected two requests at start-up, got ${#lines[@]}"
[[ ${lines[0]} =~ ^/EndUsers/visit\.aspx\?id=123451234567890123456789\&sjs=([0-9]+)$ ]] || fail "first request: ${lines[0]}"
visit_sjs=${BASH_REMATCH[1]}
[[ ${lines[1]} =~ ^/EndUsers/Clientnew\.aspx\?sjs=([0-9]+)$ ]] || fail "second request: ${lines[1]}"
list_sjs=${BASH_REMATCH[1]}
for n in "$visit_sjs" "$list_sjs"; do
    [ "$n" -ge 1 ] && [ "$n" -le 30000 ] || fail "sjs $n out of 1..30000"
done

# A second start ends at once: no request, no file touched, no second icon.
touch -d '2020-01-01' "$WORK/app/setting.ini"
start=$(date +%s%N)
"$WORK/app/talvane" >"$WORK/second.out" 2>&1
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ $status = 0 ] || fail "second start exited with $status"
[ ! -s "$WORK/second.out" ] || fail "second start printed: $(cat "$WORK/second.out")"
[ "$elapsed_ms" -lt 2000 ] || fail "second start took ${elapsed_ms} ms"
# The second start has ended: the service logs a request when it arrives,
# and an icon goes with its process.
[ "$(grep -c GET "$WORK/requests.log")" = 2 ] || fail "the second start sent a request"
[ "$(tray_icon_count)" = 1 ] || fail "a second icon appeared"
cmp -s "$WORK/app/setting.ini" "$WORK/setting.before" || fail "the settings file changed"
[ "$(stat -c %Y "$WORK/app/setting.ini")" = "$(date -d 2020-01-01 +%s)" ] || fail "the settings file was touched"
kill -0 "$APP_PID" || fail "the first instance died"
e2e_pass
