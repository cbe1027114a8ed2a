#!/usr/bin/env bash
# What a screen reader finds from outside the process: over AT-SPI (a
# private session bus and the accessibility bus its launcher starts) the
# panel's elements carry their names and roles, and the first row's title
# opens its page through its action; from the keyboard, Tab reaches the
# second title, Enter opens it and Escape puts the panel away. Ends with 77 (skipped) without
# at-spi2-core.
. "$(dirname "$0")/../lib/desktop.sh"
[ -x /usr/libexec/at-spi-bus-launcher ] && command -v dbus-daemon >/dev/null && command -v gdbus >/dev/null ||
    { echo "SKIP: at-spi2-core, dbus-daemon or gdbus missing"; exit 77; }
e2e_setup "$@"

# The session bus and what it starts (the launcher, the accessibility bus,
# the registry) end with the check.
stop_buses() {
    local pid
    for pid in $(pgrep -P "$BUS_PID"); do
        pkill -P "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
    done
    kill "$BUS_PID" 2>/dev/null
}
trap 'stop_buses; e2e_teardown' EXIT
dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus.address" >/dev/null 2>&1 &
BUS_PID=$!
bus_ready() { [ -s "$WORK/bus.address" ]; }
wait_until 10 bus_ready || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/bus.address")
A11Y=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress |
    sed -n "s/^('\(.*\)',)$/\1/p")
[ -n "$A11Y" ] || fail "the accessibility bus did not start"

# at_spi NAME PATH INTERFACE.METHOD [ARGS...]: a call on the accessibility bus
at_spi() { gdbus call -a "$A11Y" -d "$1" -o "$2" -m "$3" "${@:4}"; }
# children NAME PATH: the object paths of an element's children
children() { at_spi "$1" "$2" org.a11y.atspi.Accessible.GetChildren | grep -o "/org/a11y/atspi/accessible/[A-Za-z0-9_]*"; }
name_of() {
    at_spi "$1" "$2" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name |
        sed -n "s/^(<'\(.*\)'>,)$/\1/p"
}
role_of() { at_spi "$1" "$2" org.a11y.atspi.Accessible.GetRoleName | sed -n "s/^('\(.*\)',)$/\1/p"; }

start_demo --data "$(dirname "$0")/data/e2e-data.txt"
printf '[systemsetting]\nsysNumber=111112026120910000011111\n' >"$WORK/app/setting.ini"
start_talvane env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
show_panel_from_tray || fail "a left click on the icon did not show the panel"

# The program among the registry's applications, by its own bus name.
app_bus=""
registered() {
    app_bus=$(at_spi org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
        org.a11y.atspi.Accessible.GetChildren | grep -o "':[0-9.]*'" | tr -d "'" | tail -n1)
    [ -n "$app_bus" ]
}
wait_until 10 registered || fail "the program did not register with the accessibility bus"
window=""
for path in $(children "$app_bus" /org/a11y/atspi/accessible/root); do
    [ "$(name_of "$app_bus" "$path")" = "Talvane2.0（IT版）" ] && window=$path
done
[ -n "$window" ] || fail "no window named Talvane2.0（IT版） under the program"

title=""
: >"$WORK/elements.txt"
for path in $(children "$app_bus" "$window"); do
    name=$(name_of "$app_bus" "$path")
    printf '%s\t%s\n' "$(role_of "$app_bus" "$path")" "$name" >>"$WORK/elements.txt"
    [ "$name" = "端到端测试研讨会零号：网络安全基础与实践" ] && title=$path
done
for expected in $'link\t精彩研讨会，随时在线参与' $'push button\t最小化' $'push button\t关闭' \
    $'link\t端到端测试研讨会零号：网络安全基础与实践' $'link\t已报名：11人'; do
    grep -qxF "$expected" "$WORK/elements.txt" ||
        fail "a screen reader does not find '$expected'; it finds: $(cat "$WORK/elements.txt")"
done

at_spi "$app_bus" "$title" org.a11y.atspi.Action.DoAction 0 >/dev/null ||
    fail "the title's action could not be called"
opened_once() { [ "$(opened_count)" = 1 ]; }
wait_until 5 opened_once || fail "the title's action opened $(opened_count) pages"
grep -q 'EventID=E2E100' "$WORK/opened.txt" || fail "the title's action opened $(opened)"

xdotool key --window "$PANEL" Tab Tab Return
opened_twice() { [ "$(opened_count)" = 2 ]; }
wait_until 5 opened_twice || fail "Tab, Tab, Enter opened $(opened_count) pages in all"
tail -n1 "$WORK/opened.txt" | grep -q 'EventID=E2E101' || fail "Tab, Tab, Enter opened $(tail -n1 "$WORK/opened.txt")"
xdotool key --window "$PANEL" Escape
wait_until 5 panel_hidden || fail "Escape did not put the panel away"
e2e_pass
