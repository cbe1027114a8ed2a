# Shared steps of the checks that run the real program on a virtual display:
# namespaces of their own, a virtual display with a tray host, a service on
# a free loopback port, a private copy of the program (so its setting.ini is
# the check's own), a fake opener that records URLs, and bounded waits on
# what the screen, the request log or /proc show.
# Usage in a check:  . tests/lib/desktop.sh; e2e_setup "$@"; ...; e2e_pass
#   arguments: talvane binary, demo service binary, components dir, artifact dir
set -uo pipefail

# The program allows one instance per user. As root, each check runs in
# namespaces of its own: private /tmp and /run/user (so checks can run side by
# side and never meet an instance the developer has running) and a private
# network with only loopback (so no X client can reach another display
# through an abstract socket, and nothing leaves the machine).
if [ -z "${TALVANE_E2E_ISOLATED:-}" ] && [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    export TALVANE_E2E_ISOLATED=1
    # The fresh /tmp must not hide a checkout or a build that lives under
    # /tmp: the old /tmp is held aside while the new one is mounted, and the
    # top-level folders of this checkout and of every argument come back.
    keep=$(for path in "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)" "$@"; do
        case $path in /tmp/?*) top=${path#/tmp/} && top=/tmp/${top%%/*} && [ -e "$top" ] && echo "$top" ;; esac
    done | sort -u | tr '\n' ' ')
    setup='hold=$(mktemp -d /run/talvane-tmp.XXXXXX) && mount --rbind /tmp "$hold" && mount -t tmpfs tmpfs /tmp &&
        for d in '"$keep"'; do mkdir -p "$d" && mount --rbind "$hold/${d#/tmp/}" "$d" || exit 1; done &&
        umount -l "$hold" && rmdir "$hold" && { [ ! -d /run/user ] || mount -t tmpfs tmpfs /run/user; }'
    if command -v ip >/dev/null && unshare -mn true 2>/dev/null; then
        exec unshare -mn bash -c "ip link set lo up && $setup"' && exec bash "$0" "$@"' "$0" "$@"
    fi
    exec unshare -m bash -c "$setup"' && exec bash "$0" "$@"' "$0" "$@"
fi

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$E2E_ROOT/scripts/virtual-display.sh"

fail() {
    echo "FAIL: $*" >&2
    [ -n "${WORK:-}" ] && [ -f "$WORK/requests.log" ] && sed 's/^/  request: /' "$WORK/requests.log" >&2
    if [ -n "${ARTIFACTS:-}" ] && [ -n "${DISPLAY:-}" ]; then
        xwininfo -root -tree >"$ARTIFACTS/failure-windows.txt" 2>&1
        import -window root "$ARTIFACTS/failure.png" 2>/dev/null
        ps -ef >"$ARTIFACTS/failure-processes.txt"
    fi
    exit 1
}

e2e_setup() {
    TALVANE_BIN=$1
    DEMO_BIN=$2
    COMPONENTS=$3
    ARTIFACTS=$4/$(basename "$0" .sh)
    mkdir -p "$ARTIFACTS"
    WORK=$(mktemp -d /tmp/talvane-e2e.XXXXXX)
    trap e2e_teardown EXIT
    mkdir -p "$WORK/app" "$WORK/bin"
    cp "$TALVANE_BIN" "$WORK/app/talvane"
    cp -r "$COMPONENTS" "$WORK/app/components"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/opened.txt"\n' "$WORK" >"$WORK/bin/xdg-open"
    chmod +x "$WORK/bin/xdg-open"
    export PATH="$WORK/bin:$PATH"
    unset BROWSER
    # As in a desktop session: a private runtime folder.
    export XDG_RUNTIME_DIR="$WORK/runtime"
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    : >"$WORK/opened.txt"
    start_virtual_display
}

# A desktop without a tray host: stops the one the virtual display came
# with and waits until its window has gone (the tray selection goes with it).
stop_tray_host() {
    kill "$TRAYER_PID"
    wait "$TRAYER_PID" 2>/dev/null
    TRAYER_PID=""
    wait_until 5 tray_host_gone || fail "trayer did not go away"
}
tray_host_gone() { ! tray_host_up; }

# A window manager, for what only a managed desktop does (iconify, moves).
start_window_manager() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    wait_until 30 window_manager_settled && window_manager_up ||
        fail "openbox did not start within 30 s: $(cat "$WORK/openbox.log")"
}
window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
window_manager_settled() { window_manager_up || ! kill -0 "$WM_PID" 2>/dev/null; }

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; false when
# SECONDS (a whole number) pass first.
# Every bound is stretched by TALVANE_WAIT_SCALE (3 unless set): CI runs two
# checks at a time on two cores, beside builds, and a bound that holds on a
# quiet machine runs out there; a wait that succeeds returns as soon as it can.
wait_until() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * ${TALVANE_WAIT_SCALE:-3} * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -ge $deadline ] && return 1
        sleep 0.05
    done
}

# listening_port FILE: the port of the "listening on http://127.0.0.1:PORT"
# line that the demo and hostile services print once they accept
# connections; waits up to 30 s for it.
listening_port() {
    local port=""
    for _ in $(seq 1 600); do
        port=$(sed -n 's#.*listening on http://127.0.0.1:\([0-9]*\).*#\1#p' "$1" 2>/dev/null | head -n1)
        [ -n "$port" ] && break
        sleep 0.05
    done
    [ -n "$port" ] && echo "$port"
}

# start_service BINARY [arguments...]: a service on a free loopback port for
# the program to talk to; sets DEMO_PID, DEMO_PORT, TALVANE_SERVICE_URL.
start_service() {
    "$@" --port 0 >"$WORK/service.out" 2>&1 &
    DEMO_PID=$!
    DEMO_PORT=$(listening_port "$WORK/service.out") ||
        fail "$(basename "$1") did not start: $(cat "$WORK/service.out")"
    export TALVANE_SERVICE_URL="http://127.0.0.1:$DEMO_PORT"
}

# start_demo [extra demo-service arguments...]: the demo service, its
# requests logged to $WORK/requests.log
start_demo() {
    : >"$WORK/requests.log"
    start_service "$DEMO_BIN" --log "$WORK/requests.log" "$@"
}

# A loopback port on which nothing listens.
refused_port() {
    local out port pid
    out=$(mktemp -p "$WORK")
    "$DEMO_BIN" --port 0 >"$out" 2>&1 &
    pid=$!
    port=$(listening_port "$out")
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$port"
}

# run_program [command prefix...]: the check's copy of the program in the
# background, its output in $WORK/talvane.out; sets APP_PID
run_program() {
    "$@" "$WORK/app/talvane" >>"$WORK/talvane.out" 2>&1 &
    APP_PID=$!
}

# start_talvane [command prefix...]: run_program, then waits for the tray icon (ICON)
start_talvane() {
    run_program "$@"
    wait_for_icon || fail "no tray icon appeared: $(cat "$WORK/talvane.out")"
}

# True while the program started last (APP_PID, if any) runs.
program_running() { [ -z "${APP_PID:-}" ] || kill -0 "$APP_PID" 2>/dev/null; }

# wait_for_icon [SECONDS]: the program's icon in the tray (ICON); false when
# none comes within SECONDS (default 60: the machine may be busy compiling
# beside the checks) or the program ends first.
wait_for_icon() {
    local deadline=$((${EPOCHREALTIME/./} + ${1:-60} * ${TALVANE_WAIT_SCALE:-3} * 1000000)) next_look=$((SECONDS + 5))
    ICON=""
    until ICON=$(tray_icon) && [ -n "$ICON" ]; do
        program_running && [ "${EPOCHREALTIME/./}" -lt $deadline ] || return 1
        # Under heavy load trayer has been seen to miss the display's start.
        if [ $SECONDS -ge $next_look ]; then
            ensure_tray_host
            next_look=$((SECONDS + 5))
        fi
        sleep 0.05
    done
}

# The program's icon window inside the tray host, if any.
tray_icon() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        local geometry
        geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
        set -- $geometry
        if [ "${1:-999}" -le 64 ] && [ "${2:-999}" -le 64 ]; then
            echo "$w"
            return
        fi
    done
}

tray_icon_count() {
    local n=0 w
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        local size
        size=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
        [ "${size:-999}" -le 64 ] && n=$((n + 1))
    done
    echo $n
}

# tray_icons N: true when exactly N icons of the program are in the tray
tray_icons() { [ "$(tray_icon_count)" = "$1" ]; }

# True once window $1 shows more than one colour: drawn, not just mapped.
window_drawn() {
    local colours
    colours=$(import -window "$1" miff:- 2>/dev/null | identify -format '%k' - 2>/dev/null)
    [ "${colours:-0}" -gt 1 ]
}

# Waits until the icon (ICON) is painted. The program paints it from the
# event loop, which runs only once start-up is over.
wait_for_icon_drawn() {
    wait_until 10 window_drawn "$ICON" || fail "the tray icon was mapped but not drawn within 10 s"
}

# wait_for_panel [SECONDS]: the panel's top-level window once it is mapped
# (PANEL, PANEL_X, PANEL_Y, PANEL_W, PANEL_H); false when none comes within
# SECONDS (default 5) or the program ends first.
wait_for_panel() {
    local deadline=$((${EPOCHREALTIME/./} + ${1:-5} * ${TALVANE_WAIT_SCALE:-3} * 1000000))
    PANEL=""
    until PANEL=$(xdotool search --onlyvisible --name '^Talvane2.0' 2>/dev/null | head -n1) && [ -n "$PANEL" ]; do
        program_running && [ "${EPOCHREALTIME/./}" -lt $deadline ] || return 1
        sleep 0.05
    done
    eval "$(xdotool getwindowgeometry --shell "$PANEL")"
    PANEL_X=$X
    PANEL_Y=$Y
    PANEL_W=$WIDTH
    PANEL_H=$HEIGHT
}

# The tray menus' windows on screen, one a line.
tray_menus() {
    local w size
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        [ "$w" = "${PANEL:-}" ] && continue
        size=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
        set -- $size
        if [ "${1:-0}" -gt 64 ] && [ "${2:-0}" -gt 30 ] && [ "${2:-0}" -lt 200 ]; then
            echo "$w"
        fi
    done
}
# The tray menu's window, if one is on screen.
tray_menu() {
    local menus
    menus=$(tray_menus)
    [ -n "$menus" ] && echo "$menus" | head -n1
}
tray_menu_open() { tray_menu >/dev/null; }

# Right-clicks the tray icon until the menu is on screen (a click that comes
# while the program is still closing the menu before can get lost).
open_tray_menu() {
    for _ in 1 2 3; do
        xdotool mousemove --window "$ICON" 5 5 click 3
        wait_until 3 tray_menu_open && return 0
    done
    return 1
}

# choose_from_tray_menu KEY COMMAND...: presses the access key KEY in the
# open tray menu, then waits up to 10 s for COMMAND to succeed. A menu takes
# the keyboard a moment after it is mapped and a key pressed before that is
# lost, so the key is pressed again while the menu stays open.
tray_menu_closed() { ! tray_menu_open; }
choose_from_tray_menu() {
    local key=$1
    shift
    for _ in 1 2 3 4 5; do
        xdotool key "$key"
        wait_until 2 tray_menu_closed && break
    done
    wait_until 10 "$@"
}

# Left-clicks the tray icon until the panel is on screen (a click that comes
# while the freshly embedded icon is still being set up can get lost).
show_panel_from_tray() {
    for _ in 1 2 3; do
        xdotool mousemove --window "$ICON" 5 5 click 1
        wait_for_panel && return 0
    done
    return 1
}

# A reminder popup: a window of the program's own near the bottom-right
# corner (POPUP, with X, Y, WIDTH, HEIGHT).
find_popup() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -gt 64 ] && [ "$X" -gt 500 ] && [ "$Y" -gt 384 ]; then
            POPUP=$w
            return 0
        fi
    done
    return 1
}

panel_hidden() { [ -z "$(xdotool search --onlyvisible --name '^Talvane2.0' 2>/dev/null)" ]; }

shot() { import -window root "$ARTIFACTS/$1.png"; }

# pixel NAME X Y: "srgb(r,g,b)" of a screenshot taken with shot
pixel() { convert "$ARTIFACTS/$1.png" -crop "1x1+$2+$3" -format '%[pixel:p{0,0}]' info:; }

# changed_pixels A B: how many pixels differ between screenshots A and B
changed_pixels() {
    local n
    n=$(compare -metric AE "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png" null: 2>&1 | cut -d' ' -f1)
    echo "${n%.*}"
}

# shot_until NAME WHAT COMMAND...: takes screenshot NAME until COMMAND (which
# may look at it) succeeds; fails after 5 s, saying it waited for WHAT.
shot_until() {
    local name=$1 what=$2
    shift 2
    local deadline=$((${EPOCHREALTIME/./} + 5 * ${TALVANE_WAIT_SCALE:-3} * 1000000))
    until shot "$name" && "$@"; do
        [ "${EPOCHREALTIME/./}" -ge $deadline ] && fail "waited $((5 * ${TALVANE_WAIT_SCALE:-3})) s for $what"
        sleep 0.05
    done
}

# differs_from REF NAME MIN: true when screenshot NAME differs from REF in at
# least MIN pixels; like_shot REF NAME: true when they differ in fewer than 50.
differs_from() { [ "$(changed_pixels "$1" "$2")" -ge "$3" ]; }
like_shot() { [ "$(changed_pixels "$1" "$2")" -lt 50 ]; }

# settled NAME: takes screenshot NAME until two in a row are alike (at most
# 5 s; false if the screen kept changing), for screenshots after moves whose
# effect the check does not know.
settled() {
    local deadline=$((${EPOCHREALTIME/./} + 5 * ${TALVANE_WAIT_SCALE:-3} * 1000000))
    shot "$1"
    until shot "$1-next" && like_shot "$1" "$1-next"; do
        mv "$ARTIFACTS/$1-next.png" "$ARTIFACTS/$1.png"
        [ "${EPOCHREALTIME/./}" -ge $deadline ] && return 1
    done
    rm -f "$ARTIFACTS/$1-next.png"
}

# hover X Y: the pointer to panel pixel (X, Y). What the program does with it
# is for the caller to wait on.
hover() { xdotool mousemove "$((PANEL_X + $1))" "$((PANEL_Y + $2))"; }
click_panel() {
    hover "$1" "$2"
    xdotool click 1
}

requests() { cat "$WORK/requests.log"; }
opened() { cat "$WORK/opened.txt"; }
opened_count() { wc -l <"$WORK/opened.txt"; }
# requests_at_least N PATTERN: the request log holds N lines that match PATTERN
requests_at_least() { [ "$(grep -c "$2" "$WORK/requests.log")" -ge "$1" ]; }

# Ends every copy of the program this check started, wrappers such as
# faketime included.
stop_talvane() {
    pkill -f "$WORK/app/talvane" 2>/dev/null
    wait_until 5 sh -c "! pgrep -f '$WORK/app/talvane' >/dev/null"
    [ -n "${APP_PID:-}" ] && wait "$APP_PID" 2>/dev/null
    APP_PID=""
}

e2e_teardown() {
    [ -n "${WORK:-}" ] && pkill -f "$WORK/app/talvane" 2>/dev/null
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null
    stop_virtual_display
    [ -n "${WORK:-}" ] && cp "$WORK"/*.log "$WORK"/*.txt "$ARTIFACTS/" 2>/dev/null
    [ -n "${WORK:-}" ] && rm -rf "$WORK"
}

e2e_pass() { echo "PASS: $(basename "$0" .sh)"; }

# ---- the program's process ---------------------------------------------

# The library is preloaded directly: the faketime wrapper would fork (so the
# wrapper, not the program, would be the child) and leave its shared-memory
# files behind when it is killed.
faketime_library() {
    FAKETIME_LIBRARY=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)
    [ -n "$FAKETIME_LIBRARY" ] || fail "libfaketime is not installed"
}

# clock_from 'YYYY-MM-DD HH:MM:SS': a command prefix (CLOCK_FROM) that
# starts the program's clock there, running on.
clock_from() {
    faketime_library
    CLOCK_FROM=(env "LD_PRELOAD=$FAKETIME_LIBRARY" "FAKETIME=@$1")
}

# A command prefix that gives the program a Wednesday morning.
weekday_morning() {
    clock_from '2026-12-09 10:00:00'
    WEEKDAY_MORNING=("${CLOCK_FROM[@]}")
}

# wine_weekday_morning: from here on every Wine process of the check sees
# a Wednesday morning, 2026-12-09 10:00 now and running on: wine, wine64,
# msiexec and the rest through PATH, and WINE. Wine's server keeps the clock
# of the process that started it and measures absolute time-outs on it: a
# program whose clock started anew at its own start (as WEEKDAY_MORNING's
# does) had its connections time out at once when the server's clock ran
# ahead of it, so all of them share one offset. The monotonic clock, which
# the server's waits also run on, stays real; a server already running
# keeps its own clock and is ended.
wine_weekday_morning() {
    faketime_library
    local offset name dir=$WORK/weekday-wine real=/usr/lib/wine/wine64
    [ -x "$real" ] || real=$(command -v wine64 || command -v wine)
    offset=$(($(date -d '2026-12-09 10:00:00' +%s) - EPOCHSECONDS))
    mkdir -p "$dir"
    for name in wine wine-stable wine64; do
        printf '#!/bin/sh\nLD_PRELOAD=%s FAKETIME=%+d FAKETIME_DONT_FAKE_MONOTONIC=1 exec %s "$@"\n' \
            "$FAKETIME_LIBRARY" "$offset" "$real" >"$dir/$name"
        chmod +x "$dir/$name"
    done
    export PATH="$dir:$PATH"
    WINE=$dir/wine64
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    return 0
}

# The program's own process: a wrapper such as faketime may run it as a child,
# so the match is on the executable, not on the command line.
program_pid() {
    local pid
    for pid in $(pgrep -f "$WORK/app/talvane"); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$WORK/app/talvane" ] && { echo "$pid"; return 0; }
    done
    return 1
}

# mem_kib FIELD PID: VmRSS, VmHWM, ... from /proc/PID/status, in KiB
mem_kib() { sed -n "s/^$1:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$2/status"; }

fd_count() { ls "/proc/$1/fd" | wc -l; }

thread_count() { sed -n 's/^Threads:[[:space:]]*//p' "/proc/$1/status"; }

mib() { echo $((($1 + 512) / 1024)); }

# True for a program built with AddressSanitizer: its memory figures say
# more about the sanitizer (shadow memory, a quarantine of freed blocks)
# than about the program, and it runs a few times slower.
sanitized_build() { readelf -d "$1" 2>/dev/null | grep -q 'libasan'; }

# Nothing a sanitizer build prints when it finds a fault.
no_sanitizer_report() {
    ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$1"
}
