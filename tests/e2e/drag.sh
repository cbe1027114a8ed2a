#!/usr/bin/env bash
# Under a window manager the panel moves when its bare background is dragged,
# and comes back from the tray where it was dragged to.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
start_window_manager
start_demo
start_talvane
show_panel_from_tray || fail "the panel did not open"
start_x=$PANEL_X
start_y=$PANEL_Y
# Motions made before the window manager took the drag are not replayed: on
# a loaded machine the panel may follow only the last steps, so one step's
# worth of movement in the drag's direction counts.
followed() {
    wait_for_panel
    [ "$PANEL_X" -le $((start_x - 50)) ] && [ "$PANEL_Y" -ge $((start_y + 20)) ]
}
hover 120 112               # the strip below the banner: bare background
xdotool mousedown 1
for step in 1 2 3 4 5 6; do
    xdotool mousemove_relative -- -50 20
done
# The move starts once the program has handled the press and handed the
# drag to the window manager, which moves the panel on the next motion; a
# slow build (sanitizers) takes a while, so the pointer twitches until the
# panel has followed.
deadline=$((SECONDS + 10 * ${TALVANE_WAIT_SCALE:-3}))
until followed; do
    [ $SECONDS -lt $deadline ] || { xdotool mouseup 1; fail "waited $((10 * ${TALVANE_WAIT_SCALE:-3})) s for the panel to follow the drag: $start_x,$start_y -> $PANEL_X,$PANEL_Y"; }
    xdotool mousemove_relative -- 1 0 sleep 0.05 mousemove_relative -- -1 0
    sleep 0.05
done
xdotool mouseup 1
# Where the window manager leaves it: the same place twice in a row.
previous=""
for _ in $(seq 1 30); do
    wait_for_panel || fail "the panel went away after the drag"
    [ "$PANEL_X,$PANEL_Y" = "$previous" ] && break
    previous="$PANEL_X,$PANEL_Y"
    sleep 0.1
done
shot dragged
dragged_x=$PANEL_X
dragged_y=$PANEL_Y
click_panel 225 8           # put it away
wait_until 3 panel_hidden || fail "the close glyph did not hide the panel"
show_panel_from_tray || fail "the tray icon did not bring the panel back"
[ "$PANEL_X" = "$dragged_x" ] && [ "$PANEL_Y" = "$dragged_y" ] ||
    fail "the panel came back at $PANEL_X,$PANEL_Y instead of $dragged_x,$dragged_y"
e2e_pass
