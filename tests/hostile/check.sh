#!/usr/bin/env bash
# The real program against a service that misbehaves in one way
# (tools/hostile-service): start-up ends within the HTTP time-outs (the tray
# icon appears once the visit report has ended, and a click on it is
# answered once the event list has ended too); memory stays bounded; the
# program keeps running and still answers the tray and the panel; the
# settings file and its folder are left as they were; nothing reaches the
# other origin (127.0.0.2) that some modes redirect or link to.
# In the modes that answer at once the timer runs fast on a weekday morning,
# so that reminder polls and visit reports meet the same service.
# Usage: check.sh MODE talvane hostile-service components artifacts
. "$(dirname "$0")/../lib/desktop.sh"
MODE=$1
shift
e2e_setup "$1" "$2" "$3" "$4/$MODE"
ensure_tray_host || fail "no tray host on the virtual display"
HOSTILE_BIN=$2
# Never the real user's folder, should the program look for another place.
export XDG_CONFIG_HOME="$WORK/config"

# The HTTP client gives a request at most 30 s (CurlHttpOptions), and
# start-up makes two: the visit report and the event list.
REQUEST_LIMIT_S=30
case $MODE in
silent | trickle)
    startup_limit_s=$((2 * REQUEST_LIMIT_S + 15))
    fast_ticks=0
    ;;
*)
    startup_limit_s=20
    fast_ticks=1
    ;;
esac
# Memory: the program idles at about 50 MiB; a body may reach the client's
# 16 MiB limit and lives a few times over, as bytes and as UTF-16, while it
# is decoded and cut, and megabyte texts are laid out by the panel and the
# popup. Splitting must add nothing on top (tests/hostile/PayloadCostTest).
MAX_HWM_MIB=${HOSTILE_MAX_HWM_MIB:-200}
MAX_RSS_MIB=${HOSTILE_MAX_RSS_MIB:-150}
judge_memory=1
if sanitized_build "$WORK/app/talvane"; then
    judge_memory=0
    startup_limit_s=$((startup_limit_s * 3))
fi

now_ms() { date +%s%3N; }

# The log's time for an event of a connection (empty when it has none).
event_ms() { awk -v c="$1" -v e="$2" '$2 == c && $3 == e { print $1; exit }' "$WORK/hostile.log"; }
accepts() { awk '$3 == "accept"' "$WORK/hostile.log" | wc -l; }

number=123451234567890123456789
printf '[systemsetting]\r\n; hostile check\r\nsysNumber=%s\r\n\r\n[other]\r\nkept=1\r\n' "$number" >"$WORK/app/setting.ini"
touch -d 2020-01-01 "$WORK/app/setting.ini"
cp -p "$WORK/app/setting.ini" "$WORK/setting.before"
ls -A "$WORK/app" >"$WORK/listing.before"

start_service "$HOSTILE_BIN" --mode "$MODE" --log "$WORK/hostile.log"

prefix=()
if [ $fast_ticks = 1 ]; then
    export TALVANE_TICK_MS=100
    weekday_morning
    prefix=("${WEEKDAY_MORNING[@]}")
fi
ended_in_startup() { program_running || fail "the program ended during start-up: $(cat "$WORK/talvane.out")"; }
start_ms=$(now_ms)
run_program "${prefix[@]}"
wait_for_icon "$startup_limit_s" || { ended_in_startup; fail "no tray icon within ${startup_limit_s} s"; }
icon_ms=$(now_ms)
# The icon goes into the tray between the two start-up requests; the click
# waits in the queue until start-up is over.
xdotool mousemove --window "$ICON" 10 10 click 1
left_s=$(((start_ms + startup_limit_s * 1000 - icon_ms + 999) / 1000))
wait_for_panel "$left_s" || { ended_in_startup; fail "start-up did not end within ${startup_limit_s} s"; }
ready_ms=$(now_ms)
startup_s=$(awk -v ms=$((ready_ms - start_ms)) 'BEGIN { printf "%.1f", ms / 1000 }')
pid=$(program_pid) || fail "cannot find the program's process"

# Both start-up requests reached the service and had ended by then.
for connection in 1 2; do
    [ -n "$(event_ms $connection accept)" ] || fail "start-up request $connection never reached the service"
    ended=$(event_ms $connection end)
    limit_ms=$([ $connection = 1 ] && echo "$icon_ms" || echo "$ready_ms")
    [ -n "$ended" ] && [ "$ended" -le "$limit_ms" ] ||
        fail "start-up request $connection had not ended in time (${ended:-never} > $limit_ms)"
done
if [ "$MODE" != random ]; then
    # By target, not by connection: a client may take a new connection for
    # each hop of a redirect.
    first=$(awk '$3 == "request" { print $4; exit }' "$WORK/hostile.log")
    second=$(awk '$3 == "request" && $4 !~ /^\/EndUsers\/visit\.aspx/ { print $4; exit }' "$WORK/hostile.log")
    [[ $first == /EndUsers/visit.aspx\?id=* ]] || fail "the first request is not the visit report: $first"
    [[ $second == /EndUsers/Clientnew.aspx\?sjs=* ]] || fail "the second request is not the event list: $second"
fi
wait_for_panel || fail "the panel went away by itself"
click_panel 225 8
wait_until 10 panel_hidden || fail "the panel did not go away on the put-away glyph"

if [ $fast_ticks = 1 ]; then
    # 30 ticks: four reminder polls and a visit report, on top of start-up.
    wait_until 60 sh -c "[ \$(awk '\$3 == \"accept\"' '$WORK/hostile.log' | wc -l) -ge 7 ]" ||
        fail "the timer's requests did not come: $(accepts) connections"
fi

if [ "$MODE" = foreign-link ]; then
    # The reminder links to another host: a click on its popup (on the
    # body, away from the close mark) opens nothing.
    wait_until 10 find_popup || fail "the reminder popup is not on screen"
    wait_until 5 window_drawn "$POPUP" || fail "the reminder popup was not drawn within 5 s"
    xdotool mousemove $((X + 40)) $((Y + HEIGHT / 2)) click 1
    sleep 1
    [ "$(opened_count)" = 0 ] || fail "a reminder's link to another host was opened: $(opened)"
fi

# Still answering: a tray click shows the panel, the pointer over the rows
# opens their balloons, and the put-away glyph hides the panel again.
xdotool mousemove --window "$ICON" 10 10 click 1
wait_for_panel || fail "a tray click did not show the panel"
hover 5 130   # row 0's hover area, then its title: the balloon opens
hover 100 150
hover 5 530   # the same for row 4, whose balloon opens above it
hover 100 550
# What the rows show depends on the mode, so the screenshot waits for the
# screen to settle rather than for a balloon.
settled "$MODE-panel" || echo "the screen kept changing: $MODE-panel.png is a snapshot"
hover 120 112
click_panel 225 8
wait_until 10 panel_hidden || fail "the panel did not go away on the put-away glyph"

kill -0 "$pid" 2>/dev/null || fail "the program ended: $(cat "$WORK/talvane.out")"
hwm=$(mib "$(mem_kib VmHWM "$pid")")
# The level between requests: with the timer running fast a poll may be
# holding a body just now, so the lowest of a few readings counts.
rss=$(for _ in $(seq 1 10); do mem_kib VmRSS "$pid"; sleep 0.2; done | sort -n | head -n1)
rss=$(mib "$rss")
fds=$(fd_count "$pid")
if [ $judge_memory = 1 ]; then
    [ "$hwm" -le "$MAX_HWM_MIB" ] || fail "peak resident memory $hwm MiB is above $MAX_HWM_MIB MiB"
    [ "$rss" -le "$MAX_RSS_MIB" ] || fail "resident memory $rss MiB is above $MAX_RSS_MIB MiB"
fi

other=$(awk '$3 ~ /^other-/' "$WORK/hostile.log")
[ -z "$other" ] || fail "requests reached another origin: $other"
cmp -s "$WORK/app/setting.ini" "$WORK/setting.before" || fail "the settings file changed"
[ "$(stat -c %Y "$WORK/app/setting.ini")" = "$(stat -c %Y "$WORK/setting.before")" ] || fail "the settings file was touched"
ls -A "$WORK/app" | cmp -s - "$WORK/listing.before" || fail "files appeared beside the program: $(ls -A "$WORK/app")"
no_sanitizer_report "$WORK/talvane.out" || fail "sanitizer report: $(cat "$WORK/talvane.out")"

printf '%s %s %s %s %s %s\n' "$MODE" "$startup_s" "$hwm" "$rss" "$fds" "$(accepts)" | tee "$ARTIFACTS/figures.txt"
e2e_pass
