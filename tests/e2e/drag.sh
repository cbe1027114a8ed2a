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
followed() {
    wait_for_panel
    [ "$PANEL_X" -le $((start_x - 50)) ] && [ "$PANEL_Y" -ge $((start_y + 20)) ]
}
# The window manager moves the panel from where the program last saw the
# pointer when it handled the press. On a loaded machine that can be after
# every motion of a quick drag (the panel then stays where it was), so the
# pointer goes on in the drag's direction, a step at a time, until the
# panel has followed it 50 pixels.
hover 120 112               # the strip below the banner: bare background
xdotool mousedown 1
steps=0
step_wait=$((100000 * ${TALVANE_WAIT_SCALE:-3}))   # microseconds a step
until followed; do
    [ $steps -lt 90 ] || { xdotool mouseup 1; fail "the panel did not follow a drag of $steps steps: $start_x,$start_y -> $PANEL_X,$PANEL_Y"; }
    xdotool mousemove_relative -- -8 3
    steps=$((steps + 1))
    step_end=$((${EPOCHREALTIME/./} + step_wait))
    until [ "${EPOCHREALTIME/./}" -ge $step_end ] || followed; do sleep 0.02; done
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
