#!/usr/bin/env bash
# Two starts at the same moment: exactly one instance survives, the other
# ends silently with status 0 and leaves no trace. A later start while one
# runs brings the running one's panel forward and leaves no trace either.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_demo
printf '[systemsetting]\nsysNumber=111112026120910000011111\n' >"$WORK/app/setting.ini"
"$WORK/app/talvane" >"$WORK/a.out" 2>&1 &
a=$!
"$WORK/app/talvane" >"$WORK/b.out" 2>&1 &
b=$!
wait_for_icon || fail "no tray icon appeared"
one_ended() { ! kill -0 "$a" 2>/dev/null || ! kill -0 "$b" 2>/dev/null; }
wait_until 10 one_ended || fail "waited 10 s for one of the two starts to end"
alive=0
for pid in $a $b; do
    if kill -0 "$pid" 2>/dev/null; then
        alive=$((alive + 1))
        APP_PID=$pid
    else
        wait "$pid" || fail "the second instance exited with $?"
        [ "$pid" = "$a" ] && loser=a || loser=b
    fi
done
[ $alive = 1 ] || fail "$alive instances are running"
[ "$(tray_icon_count)" = 1 ] || fail "$(tray_icon_count) tray icons"
[ "$(grep -c 'visit.aspx' "$WORK/requests.log")" = 1 ] || fail "more than one visit report"
[ "$(grep -c 'Clientnew.aspx' "$WORK/requests.log")" = 1 ] || fail "more than one event-list request"
[ ! -s "$WORK/$loser.out" ] || fail "the second instance printed: $(cat "$WORK/$loser.out")"

# The loser may have asked for the panel already: put it away first.
if wait_for_panel 2; then
    click_panel 225 8
    wait_until 5 panel_hidden || fail "the close glyph did not put the panel away"
fi
trace() { ls -lA --time-style=full-iso "$WORK/app" "$XDG_RUNTIME_DIR" "/tmp/talvane-$(id -u)" "/run/user/$(id -u)" 2>/dev/null; md5sum "$WORK/app/setting.ini"; wc -l <"$WORK/requests.log"; }
before=$(trace)
started=${EPOCHREALTIME/./}
timeout 10 "$WORK/app/talvane" >"$WORK/c.out" 2>&1
status=$?
took=$(((${EPOCHREALTIME/./} - started) / 1000))
[ $status = 0 ] || fail "a later start ended with status $status"
[ ! -s "$WORK/c.out" ] || fail "a later start printed: $(cat "$WORK/c.out")"
wait_for_panel 10 || fail "a later start did not bring the running instance's panel forward (it took $took ms)"
[ "$(trace)" = "$before" ] || fail "a later start left a trace: $(diff <(echo "$before") <(trace))"
[ "$(tray_icon_count)" = 1 ] || fail "$(tray_icon_count) tray icons after a later start"
kill -0 "$APP_PID" 2>/dev/null || fail "the running instance ended"
echo "a later start ended after $took ms"
e2e_pass
