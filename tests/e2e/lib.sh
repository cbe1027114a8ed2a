# Shared steps of the end-to-end checks: a virtual display with a tray host,
# the demo service on a free loopback port, a private copy of the program
# (so its setting.ini is the test's own) and a fake opener that records URLs.
# Usage in a check:  . lib.sh; e2e_setup "$@"; ...; e2e_pass
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

# A window manager, for what only a managed desktop does (iconify, moves).
start_window_manager() {
    openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    fail "openbox did not start"
}

# start_demo [extra demo-service arguments...]: sets DEMO_PORT, DEMO_PID
start_demo() {
    : >"$WORK/requests.log"
    "$DEMO_BIN" --port 0 --log "$WORK/requests.log" "$@" >"$WORK/demo.out" 2>&1 &
    DEMO_PID=$!
    DEMO_PORT=""
    for _ in $(seq 1 100); do
        DEMO_PORT=$(sed -n 's#.*listening on http://127.0.0.1:\([0-9]*\).*#\1#p' "$WORK/demo.out" | head -n1)
        [ -n "$DEMO_PORT" ] && break
        sleep 0.05
    done
    [ -n "$DEMO_PORT" ] || fail "demo service did not start: $(cat "$WORK/demo.out")"
    export TALVANE_SERVICE_URL="http://127.0.0.1:$DEMO_PORT"
}

# A loopback port on which nothing listens.
refused_port() {
    local out port
    out=$(mktemp -p "$WORK")
    "$DEMO_BIN" --port 0 >"$out" 2>&1 &
    local pid=$!
    for _ in $(seq 1 100); do
        port=$(sed -n 's#.*listening on http://127.0.0.1:\([0-9]*\).*#\1#p' "$out" | head -n1)
        [ -n "$port" ] && break
        sleep 0.05
    done
    kill "$pid"
    wait "$pid" 2>/dev/null
    echo "$port"
}

# start_talvane [command prefix...]: sets APP_PID; waits for the tray icon (ICON)
start_talvane() {
    "$@" "$WORK/app/talvane" >"$WORK/talvane.out" 2>&1 &
    APP_PID=$!
    wait_for_icon || fail "no tray icon appeared: $(cat "$WORK/talvane.out")"
}

wait_for_icon() {
    ICON=""
    # Generous: the machine may be busy compiling beside the checks.
    for i in $(seq 1 600); do
        ICON=$(tray_icon)
        [ -n "$ICON" ] && return 0
        # Under heavy load trayer has been seen to miss the display's start;
        # a tray host that is not there after 5 s is started again.
        if [ $((i % 100)) = 0 ] && ! xwininfo -root -tree 2>/dev/null | grep -q '"trayer"'; then
            start_tray_host
        fi
        sleep 0.05
    done
    return 1
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

# The panel's top-level window once it is mapped (PANEL, PANEL_X, PANEL_Y).
wait_for_panel() {
    PANEL=""
    for _ in $(seq 1 100); do
        PANEL=$(xdotool search --onlyvisible --name '^Talvane2.0' 2>/dev/null | head -n1)
        [ -n "$PANEL" ] && break
        sleep 0.05
    done
    [ -n "$PANEL" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$PANEL")"
    PANEL_X=$X
    PANEL_Y=$Y
    PANEL_W=$WIDTH
    PANEL_H=$HEIGHT
}

# Right-clicks the tray icon and waits for the menu to be on screen.
open_tray_menu() {
    xdotool mousemove --window "$ICON" 5 5 click 3
    local w size
    for _ in $(seq 1 100); do
        for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
            [ "$w" = "${PANEL:-}" ] && continue
            size=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
            set -- $size
            if [ "${1:-0}" -gt 64 ] && [ "${2:-0}" -gt 30 ] && [ "${2:-0}" -lt 200 ]; then
                sleep 0.2  # let it take the keyboard
                return 0
            fi
        done
        sleep 0.05
    done
    return 1
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

panel_hidden() { [ -z "$(xdotool search --onlyvisible --name '^Talvane2.0' 2>/dev/null)" ]; }

shot() { import -window root "$ARTIFACTS/$1.png"; }

# pixel NAME X Y: "srgb(r,g,b)" of a screenshot taken with shot
pixel() { convert "$ARTIFACTS/$1.png" -crop "1x1+$2+$3" -format '%[pixel:p{0,0}]' info:; }

# Moves the pointer to panel pixel (x, y), in steps so that the program sees
# the way there as a person's pointer would.
hover() {
    xdotool mousemove "$((PANEL_X + $1))" "$((PANEL_Y + $2))"
    sleep 0.15
}
click_panel() {
    hover "$1" "$2"
    xdotool click 1
    sleep 0.3
}

requests() { cat "$WORK/requests.log"; }
opened() { cat "$WORK/opened.txt"; }

wait_until() {  # wait_until SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

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
