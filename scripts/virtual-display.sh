# Sourced by the scripts that need an X display without one: starts Xvfb on a
# free display number and trayer as the tray host, and stops both on exit.
#   start_virtual_display            exports DISPLAY, sets XVFB_PID, TRAYER_PID
#   start_tray_host                  (again) starts trayer, sets TRAYER_PID
#   ensure_tray_host                 starts trayer again if it is not there
start_virtual_display() {
    # Xvfb picks a free display number itself. No abstract socket: checks in
    # private mount namespaces all get the same number, and a client would
    # reach another namespace's server through the abstract name. No reset:
    # by default the server starts over whenever its last client leaves (a
    # stopped tray host, each xwininfo that looks for it), and a client that
    # connects meanwhile is turned away.
    local numberfile
    numberfile=$(mktemp)
    Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -nolisten local -noreset \
        9>"$numberfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 200); do
        [ -s "$numberfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$numberfile" | tr -d '[:space:]')"
    rm -f "$numberfile"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
    # Qt uses the X11 tray directly when there is no session bus.
    unset DBUS_SESSION_BUS_ADDRESS
    start_tray_host
}

# trayer as the XEmbed tray host; returns once it owns the tray (TRAYER_PID).
start_tray_host() {
    trayer --edge bottom --align right --widthtype request --height 32 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    TRAYER_PID=$!
    for _ in $(seq 1 100); do
        tray_host_up && break
        sleep 0.05
    done
}

tray_host_up() { xwininfo -root -tree 2>/dev/null | grep -q '"trayer"'; }

# On a busy machine trayer can lose its race with a slow display start and
# exit; false when three starts brought none up.
ensure_tray_host() {
    for _ in 1 2 3; do
        for _ in $(seq 1 200); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.05
        done
        tray_host_up && return 0
        [ -n "${TRAYER_PID:-}" ] && kill -0 "$TRAYER_PID" 2>/dev/null || start_tray_host
        for _ in $(seq 1 200); do
            tray_host_up && return 0
            sleep 0.05
        done
    done
    return 1
}

stop_virtual_display() {
    [ -n "${TRAYER_PID:-}" ] && kill "$TRAYER_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null || true
}
