# Sourced by the scripts that need an X display without one: starts Xvfb on a
# free display number and trayer as the tray host, and stops both on exit.
#   start_virtual_display            exports DISPLAY, sets XVFB_PID, TRAYER_PID
start_virtual_display() {
    local n=${TALVANE_XVFB_DISPLAY:-}
    if [ -z "$n" ]; then
        n=90
        while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    fi
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.05
    done
    # Qt uses the X11 tray directly when there is no session bus.
    unset DBUS_SESSION_BUS_ADDRESS
    trayer --edge bottom --align right --widthtype request --height 32 \
        --SetDockType true --transparent false >/dev/null 2>&1 &
    TRAYER_PID=$!
    for _ in $(seq 1 100); do
        xwininfo -root -tree 2>/dev/null | grep -q '"trayer"' && break
        sleep 0.05
    done
}

stop_virtual_display() {
    [ -n "${TRAYER_PID:-}" ] && kill "$TRAYER_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null || true
}
