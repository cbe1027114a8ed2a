#!/usr/bin/env bash
# Builds Talvane, starts the bundled demo service on a free port of 127.0.0.1
# and runs the notifier against it (TALVANE_SERVICE_URL). On a machine
# without a display:
#   scripts/run-demo.sh --virtual    runs it on a virtual display (Xvfb + a tray
#                                    host), opens the panel, saves screenshots
#                                    to artifacts/demo/ and stops again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
virtual=no
case "${1:-}" in
    --virtual) virtual=yes ;;
    "") ;;
    *) echo "usage: scripts/run-demo.sh [--virtual]" >&2; exit 2 ;;
esac

if [ $virtual = no ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "talvane: no display here (DISPLAY is not set); run 'scripts/run-demo.sh --virtual' to start it on a virtual display and save screenshots." >&2
    exit 1
fi

# Only what the demo needs: its packages, and the program and the demo
# service built into build/ without the test suite. Each step is timed; the
# times are printed once the demo is up.
step_times=()
timed_step() {  # timed_step NAME COMMAND...: runs COMMAND, records its time as NAME
    local name=$1 start=${EPOCHREALTIME/./}
    shift
    "$@"
    local us=$((${EPOCHREALTIME/./} - start))
    step_times+=("$(printf '%-10s %4d.%d s' "$name" $((us / 1000000)) $((us / 100000 % 10)))")
}
print_step_times() {
    local us=$((${EPOCHREALTIME/./} - demo_start))
    echo "time taken:"
    printf '  %s\n' "${step_times[@]}"
    printf '  %-10s %4d.%d s\n' total $((us / 1000000)) $((us / 100000 % 10))
}
demo_start=${EPOCHREALTIME/./}
setup_args=(--demo)
[ $virtual = no ] || setup_args+=(--virtual)
timed_step packages "$root/scripts/setup.sh" "${setup_args[@]}"
build=$root/build
timed_step configure cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALVANE_BUILD_TESTS=OFF -Wno-dev >/dev/null
timed_step build cmake --build "$build" -j"$(nproc)" --target talvane talvane-demo-service
bin="$build/bin"
mkdir -p "$root/artifacts/demo"

# A new installation gets its client number on the first start when the key
# exists without a value.
[ -e "$bin/setting.ini" ] || printf '[systemsetting]\nsysNumber=\n' >"$bin/setting.ini"

demo_pid=""
cleanup() {
    [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
    [ $virtual = yes ] && stop_virtual_display
    wait 2>/dev/null || true
}
trap cleanup EXIT

# The demo service on a free port, never on whatever happens to answer on a
# well-known one (an earlier server, or a squatter when ours could not bind).
"$bin/talvane-demo-service" --port 0 --log "$root/artifacts/demo/requests.log" \
    >"$root/artifacts/demo/service.out" 2>&1 &
demo_pid=$!
port=""
for _ in $(seq 1 600); do
    port=$(sed -n 's#^listening on http://127\.0\.0\.1:\([0-9][0-9]*\)$#\1#p' "$root/artifacts/demo/service.out")
    [ -n "$port" ] || ! kill -0 "$demo_pid" 2>/dev/null && break
    sleep 0.05
done
if [ -z "$port" ]; then
    echo "talvane: the demo service did not start: $(cat "$root/artifacts/demo/service.out")" >&2
    exit 1
fi
# Ours writes each request to its log before it answers: a request with a
# token of this run's own must be there once the answer has come.
token="run-demo-$$-$RANDOM"
if ! curl -s -o /dev/null --max-time 5 "http://127.0.0.1:$port/$token" ||
    ! grep -q "$token" "$root/artifacts/demo/requests.log"; then
    echo "talvane: the server on 127.0.0.1:$port is not the demo service this script started" >&2
    exit 1
fi
export TALVANE_SERVICE_URL="http://127.0.0.1:$port"
echo "demo service on $TALVANE_SERVICE_URL (requests: artifacts/demo/requests.log)"

if [ $virtual = no ]; then
    print_step_times
    echo "talvane runs in the tray; click its icon to open the panel, right-click for the menu (退出 ends it)."
    "$bin/talvane"
    exit $?
fi

. "$root/scripts/virtual-display.sh"
start_virtual_display
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$root/artifacts/demo/runtime"
    mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
fi
"$bin/talvane" &
app_pid=$!
icon=""
for _ in $(seq 1 100); do
    icon=$(xdotool search --onlyvisible --classname talvane 2>/dev/null | head -n1 || true)
    [ -n "$icon" ] && break
    sleep 0.1
done
if [ -z "$icon" ]; then
    echo "talvane: the tray icon did not appear" >&2
    exit 1
fi
sleep 0.5
import -window root "$root/artifacts/demo/1-tray.png"
xdotool mousemove --window "$icon" 8 8 click 1
sleep 1
import -window root "$root/artifacts/demo/2-panel.png"
panel=$(xdotool search --onlyvisible --name 'Talvane2.0' 2>/dev/null | head -n1 || true)
if [ -n "$panel" ]; then
    # Cross the second row's hover area onto its title: highlight and balloon.
    xdotool mousemove --window "$panel" 5 232
    sleep 0.2
    xdotool mousemove --window "$panel" 60 245
    sleep 0.5
    import -window root "$root/artifacts/demo/3-hover.png"
fi
echo "screenshots: $root/artifacts/demo/1-tray.png 2-panel.png 3-hover.png"
print_step_times
