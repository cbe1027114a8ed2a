#!/usr/bin/env bash
# Two starts at the same moment: exactly one instance survives, the other
# ends silently with status 0 and leaves no trace.
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
e2e_pass
