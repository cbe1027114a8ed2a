#!/usr/bin/env bash
# GNOME Shell with the AppIndicator extension as the tray host, the real one
# and not a stand-in: it draws the menu the icon exports itself and never
# calls ContextMenu. The icon appears in the top bar; a right click shows
# 打开 and 退出; a single left click shows the same menu (the extension's
# rule for items with a menu) and 打开 there brings the panel; a double click
# (Activate) brings it directly; 退出 ends the program; and the panel never
# shows itself as it does on a desktop without a tray host.
#   arguments: talvane binary, demo service binary, components dir,
#              artifact dir
# Exits 77 when GNOME Shell or the extension is not installed.
EXTENSION=ubuntu-appindicators@ubuntu.com
if ! command -v gnome-shell >/dev/null || [ ! -d "/usr/share/gnome-shell/extensions/$EXTENSION" ]; then
    echo "SKIP: gnome-shell or its AppIndicator extension ($EXTENSION) is not installed (scripts/setup.sh installs both)"
    exit 77
fi
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
stop_tray_host

# Private system and session buses that let everyone do anything: the shell
# dies without a system bus, and nothing is started on demand.
bus_config() {
    cat <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>$1</type>
  <listen>unix:path=$WORK/$1-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
EOF
}
BUS_PIDS=()
for bus in system session; do
    bus_config $bus >"$WORK/$bus-bus.conf"
    dbus-daemon --config-file="$WORK/$bus-bus.conf" --nofork >"$WORK/$bus-bus.log" 2>&1 &
    BUS_PIDS+=($!)
    wait_until 10 test -S "$WORK/$bus-bus" || fail "the $bus bus did not start: $(cat "$WORK/$bus-bus.log")"
done
export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/session-bus

# The extension enabled, no welcome tour, no notification banners over the
# top bar; settings in a key file of the check's own.
mkdir -p "$WORK/config/glib-2.0/settings"
cat >"$WORK/config/glib-2.0/settings/keyfile" <<EOF
[org/gnome/shell]
disable-user-extensions=false
enabled-extensions=['$EXTENSION']
welcome-dialog-last-shown-version='999'

[org/gnome/desktop/notifications]
show-banners=false
EOF
env XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" XDG_CACHE_HOME="$WORK/cache" \
    GSETTINGS_BACKEND=keyfile XDG_SESSION_TYPE=x11 XDG_CURRENT_DESKTOP=GNOME LIBGL_ALWAYS_SOFTWARE=1 \
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/system-bus" \
    gnome-shell --x11 --replace --sm-disable >"$WORK/shell.log" 2>&1 &
SHELL_PID=$!
cleanup() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    kill "$SHELL_PID" 2>/dev/null
    wait "$SHELL_PID" 2>/dev/null
    kill "${BUS_PIDS[@]}" 2>/dev/null
    cp "$WORK/shell.log" "$ARTIFACTS/" 2>/dev/null
    e2e_teardown
}
trap cleanup EXIT
shell_running() { kill -0 "$SHELL_PID" 2>/dev/null; }
shell_fail() { fail "$*; the shell said: $(tail -n 20 "$WORK/shell.log")"; }

# GNOME 43 opens in the Overview at the end of its start-up animation;
# Escape leaves it for the desktop once it is fully there.
shell_property() {
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1" 2>/dev/null
}
in_overview() { [[ $(shell_property OverviewActive) == *true* ]]; }
on_desktop() { ! in_overview; }
shell_up() { shell_running && in_overview; }
wait_until 60 shell_up || shell_fail "GNOME Shell did not come up within 60 s"
settled overview || shell_fail "the Overview kept changing"
for _ in 1 2 3 4 5; do
    xdotool key Escape
    wait_until 2 on_desktop && break
done
on_desktop || shell_fail "the Overview stayed open"
watcher_up() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher 2>/dev/null | grep -q true
}
wait_until 20 watcher_up || shell_fail "the extension registered no StatusNotifierWatcher"
settled bar-before || fail "the desktop kept changing"
on_desktop || shell_fail "the Overview came back"

# changed_box A B GEOMETRY: "W H X Y" of the screen area inside GEOMETRY
# (WxH+X+Y) where screenshots A and B differ; false when they do not.
changed_box() {
    local box
    box=$(convert "$ARTIFACTS/$1.png" "$ARTIFACTS/$2.png" -compose difference -composite \
        -crop "$3" +repage -threshold 5% -trim -format '%w %h %X %Y' info: 2>/dev/null) || return 1
    set -- $box ${3//[x+]/ }
    [ "$1" -gt 4 ] && [ "$2" -gt 4 ] && echo "$1 $2 $(($3 + $7)) $(($4 + $8))"
}
# The right of the top bar, where the extension puts its icons, and below it,
# where the shell draws their menus; both clear of the clock in the middle,
# which changes every minute and opens a calendar when clicked.
BAR=384x32+640+0
BELOW_BAR=384x400+640+34
icon_in_bar() { shot bar && changed_box bar-before bar "$BAR" >/dev/null; }
menu_shown() { shot menu && changed_box bar-before menu "$BELOW_BAR" >/dev/null; }
menu_gone() { shot menu-gone && ! changed_box bar-before menu-gone "$BELOW_BAR" >/dev/null; }

start_demo
run_program
STARTED=$SECONDS
items() {
    gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems
}
registered() { [[ $(items) == *StatusNotifierItem* ]]; }
wait_until 30 registered || fail "the program registered no item with the shell: $(cat "$WORK/talvane.out")"
wait_until 10 icon_in_bar || fail "no icon in the top bar"
read -r ICON_W ICON_H ICON_X ICON_Y < <(changed_box bar-before bar "$BAR")
[ "$ICON_W" -le 48 ] && [ "$ICON_H" -le 32 ] || fail "more than the icon changed in the top bar: ${ICON_W}x$ICON_H"
ICON_X=$((ICON_X + ICON_W / 2))
ICON_Y=$((ICON_Y + ICON_H / 2))
[ -z "$(tray_icon)" ] || fail "an XEmbed icon window exists as well"
click_icon() { xdotool mousemove "$ICON_X" "$ICON_Y" click "$@"; }

# open_menu BUTTON: clicks the icon until the shell draws the menu; MENU_TOP,
# MENU_BOTTOM and MENU_MID (its middle column) locate it.
open_menu() {
    for _ in 1 2 3; do
        click_icon "$1"
        if wait_until 3 menu_shown; then
            read -r w h x y < <(changed_box bar-before menu "$BELOW_BAR")
            MENU_TOP=$y MENU_BOTTOM=$((y + h)) MENU_MID=$((x + w / 2))
            return 0
        fi
    done
    return 1
}
close_menu() {
    xdotool key Escape
    wait_until 3 menu_gone || fail "the menu stayed open"
}
# The menu holds 打开, a separator and 退出, evenly: the first and the last
# quarter of its height.
choose_open() { xdotool mousemove "$MENU_MID" $((MENU_TOP + (MENU_BOTTOM - MENU_TOP) / 4)) click 1; }
choose_exit() { xdotool mousemove "$MENU_MID" $((MENU_BOTTOM - (MENU_BOTTOM - MENU_TOP) / 4)) click 1; }

open_menu 3 || fail "a right click drew no menu"
shot gnome-tray-menu
close_menu

# A desktop with a tray host: the program's wait for one (10 s) ends without
# the panel.
waited_for_host() { [ $((SECONDS - STARTED)) -ge 12 ]; }
wait_until 30 waited_for_host
panel_hidden || fail "the panel showed itself although the shell hosts the icon"

# A double click is the item's Activate.
for _ in 1 2 3; do
    click_icon --repeat 2 --delay 80 1
    wait_for_panel 3 && break
    # A slow shell can take the first click for a single one and open the menu.
    menu_shown && close_menu
done
[ -n "$PANEL" ] || fail "a double click did not show the panel"
# Mapped is not yet on screen: the shell composites it a moment later.
panel_drawn() { shot gnome-panel && differs_from bar-before gnome-panel 20000; }
wait_until 10 panel_drawn || fail "the panel was mapped but the shell did not draw it"
click_panel 225 8  # the close glyph
wait_until 5 panel_hidden || fail "the close glyph did not hide the panel"
# Hidden into the tray, not minimised into the window list as without a host.
! xprop -id "$PANEL" WM_STATE 2>/dev/null | grep -q Iconic || fail "the close glyph minimised the panel"

# A single left click shows the menu; 打开 there shows the panel.
open_menu 1 || fail "a left click drew no menu"
choose_open
wait_for_panel 5 || fail "打开 in the shell's menu did not show the panel"
click_panel 225 8
wait_until 5 panel_hidden || fail "the close glyph did not hide the panel"

open_menu 3 || fail "a right click drew no menu"
choose_exit
wait_until 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "退出 in the shell's menu did not end the program"
wait "$APP_PID"
status=$?
APP_PID=""
[ $status = 0 ] || fail "the program ended with status $status"
e2e_pass
