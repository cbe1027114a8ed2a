#!/usr/bin/env bash
# A desktop whose tray speaks StatusNotifierItem over D-Bus instead of
# XEmbed: with a watcher on the session bus and no XEmbed host, the icon is
# offered as an item, its tooltip is the program's, and activating it, the
# middle button and the context menu behave as with a tray icon.
#   arguments: talvane binary, demo service binary, components dir,
#              artifact dir, sni-watcher binary
. "$(dirname "$0")/../lib/desktop.sh"
WATCHER_BIN=$5
e2e_setup "$1" "$2" "$3" "$4"

# Only the D-Bus host: the XEmbed tray goes away.
kill "$TRAYER_PID"
wait "$TRAYER_PID" 2>/dev/null
TRAYER_PID=""

bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus_info" | sed -n 1p)
BUS_PID=$(echo "$bus_info" | sed -n 2p)
"$WATCHER_BIN" >"$WORK/watcher.out" 2>&1 &
WATCHER_PID=$!
cleanup() {
    kill "$WATCHER_PID" "$BUS_PID" 2>/dev/null
    e2e_teardown
}
trap cleanup EXIT
wait_until 5 grep -q '^ready' "$WORK/watcher.out" || fail "watcher: $(cat "$WORK/watcher.out")"

start_demo
run_program
wait_until 10 grep -q '^item ' "$WORK/watcher.out" || fail "no item registered: $(cat "$WORK/talvane.out")"
read -r _ SERVICE ITEM_PATH < <(grep '^item ' "$WORK/watcher.out" | head -n1)
item() { gdbus call --session --dest "$SERVICE" --object-path "$ITEM_PATH" "$@"; }
property() { item --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1"; }

[[ $(property ToolTip) == *"'Talvane2.0（IT版）'"* ]] || fail "tooltip: $(property ToolTip)"
[[ $(property Status) == *"'Active'"* ]] || fail "status: $(property Status)"
[[ $(property IconPixmap) == *"(32, 32, "* ]] || fail "no 32 px icon picture offered"
# The menu is exported too, for hosts that draw it themselves.
MENU_PATH=$(property Menu | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
[ -n "$MENU_PATH" ] && [ "$MENU_PATH" != /NO_DBUSMENU ] || fail "no menu exported: $(property Menu)"
layout=$(gdbus call --session --dest "$SERVICE" --object-path "$MENU_PATH" \
    --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]' 2>&1)
[[ $layout == *"打开"* && $layout == *"退出"* ]] || fail "exported menu: $layout"
[ -z "$(tray_icon)" ] || fail "an XEmbed icon window exists as well"
panel_hidden || fail "the panel is visible after start-up"

# Activate is the host's left click: the panel comes up.
item --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null || fail "Activate failed"
wait_for_panel || fail "Activate did not show the panel"
shot sni-activated

# The context menu opens at the pointer; its access key E chooses Exit. The
# call returns only when the menu has closed, so it runs in the background.
xdotool mousemove 900 700
item --method org.kde.StatusNotifierItem.ContextMenu 900 700 >"$WORK/context-menu.out" 2>&1 &
menu_open() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        [ "$w" = "$PANEL" ] && continue
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -gt 20 ] && [ "$HEIGHT" -gt 20 ] && return 0
    done
    return 1
}
wait_until 5 menu_open || fail "ContextMenu opened no menu"
shot sni-menu
xdotool key e
wait_until 5 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "Exit from the menu did not end the program"
APP_PID=""
e2e_pass
