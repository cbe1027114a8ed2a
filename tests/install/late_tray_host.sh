#!/usr/bin/env bash
# A tray host that comes late: the notifier starts on a display without one
# (as at login, before the panel), keeps its timer running, and its icon
# embeds once trayer appears after the timer has run for a while.
#   arguments: talvane binary, demo service binary, components dir, artifact dir
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"

# No tray host at first: stop the one the virtual display came with and
# wait until its window has gone (the tray selection goes with it).
kill "$TRAYER_PID"
wait "$TRAYER_PID" 2>/dev/null
TRAYER_PID=""
tray_host_gone() { ! tray_host_up; }
wait_until 5 tray_host_gone || fail "trayer did not go away"

start_demo
printf '[systemsetting]\r\nsysNumber=123451234567890123456789\r\n' >"$WORK/app/setting.ini"
# 100 ms ticks: the visit report, every 30th tick, comes every 3 s.
run_program env TALVANE_TICK_MS=100
# The start-up report and at least one from the timer (every 3 s); a slow
# build (sanitizers) takes longer.
wait_until 20 requests_at_least 2 'GET /EndUsers/visit.aspx' ||
    fail "the timer did not run without a tray host: $(grep -c 'GET /EndUsers/visit.aspx' "$WORK/requests.log") visit reports"
kill -0 "$APP_PID" 2>/dev/null || fail "the notifier ended without a tray host: $(cat "$WORK/talvane.out")"
[ -z "$(tray_icon)" ] || fail "an icon window is mapped although no tray host runs"
grep -q 'GET /EndUsers/Clientnew.aspx' "$WORK/requests.log" || fail "start-up did not finish"

start_tray_host
wait_for_icon || fail "the icon did not appear once the tray host came"
shot late-tray-host
[ "$(tray_icon_count)" = 1 ] || fail "expected one icon, found $(tray_icon_count)"

# The icon that came late works like any other: a left click shows the panel.
show_panel_from_tray || fail "a left click on the late icon did not show the panel"
e2e_pass
