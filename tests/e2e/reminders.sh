#!/usr/bin/env bash
# Shortened ticks with a faked clock: on a weekday at 10:00 every 7th tick
# polls for a reminder and every 30th reports the visit (on tick 210 the poll
# comes first), and the shipped popup component shows the reminder; on a
# Saturday only the visit reports go out.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_demo --data "$(dirname "$0")/data/e2e-data.txt"
number=000772026120910000000077
printf '[systemsetting]\nsysNumber=%s\n' "$number" >"$WORK/app/setting.ini"
export TALVANE_TICK_MS=20

# What ticks 1 to 210 send, in order: R for a reminder poll, V for a visit.
expected=""
for tick in $(seq 1 210); do
    [ $((tick % 7)) = 0 ] && expected+="R"
    [ $((tick % 30)) = 0 ] && expected+="V"
done

tick_requests() {  # the requests after start-up as a string of R and V
    sed -n 's/^[^ ]* GET //p' "$WORK/requests.log" | tail -n +3 | while read -r line; do
        case "$line" in
            /EndUsers/ClientReminderNew.aspx\?id=$number\&sjs=*) printf R ;;
            /EndUsers/visit.aspx\?id=$number\&sjs=*) printf V ;;
            *) printf '?' ;;
        esac
    done
}

weekday_morning
start_talvane "${WEEKDAY_MORNING[@]}"
wait_until 10 grep -q ClientReminderNew "$WORK/requests.log" || fail "no reminder poll on a weekday at 10:00"
wait_until 10 find_popup || fail "the reminder popup is not on screen"
wait_until 5 window_drawn "$POPUP" || fail "the reminder popup was mapped but not drawn within 5 s"
shot reminder-popup
wait_until 60 sh -c "[ \$(grep -c 'GET /EndUsers/' '$WORK/requests.log') -ge $((2 + ${#expected})) ]" ||
    fail "ticks did not reach 210: $(tick_requests)"
got=$(tick_requests | head -c ${#expected})
[ "$got" = "$expected" ] || fail "tick requests
  got      $got
  expected $expected"
sjs_ok=$(sed -n 's/.*sjs=\([0-9]*\)$/\1/p' "$WORK/requests.log" | awk '$1 < 1 || $1 > 30000 {bad=1} END {print bad ? "no" : "yes"}')
[ "$sjs_ok" = yes ] || fail "an sjs value out of 1..30000"
stop_talvane

# Saturday: the poll ticks pass without a request.
: >"$WORK/requests.log"
clock_from '2026-12-12 10:00:00'
start_talvane "${CLOCK_FROM[@]}"
wait_until 30 sh -c "[ \$(grep -c 'visit.aspx' '$WORK/requests.log') -ge 3 ]" || fail "no visit reports on Saturday"
! grep -q ClientReminderNew "$WORK/requests.log" || fail "a reminder poll on a Saturday"
e2e_pass
