#!/usr/bin/env bash
# talvane.exe under Wine for keyboard and screen-reader users: the tray
# icon's keyboard select opens the panel; a probe reads the panel from
# outside as a screen reader does (the five titles as links, the shortened
# one whole) and runs the first title's default action, which reaches the
# browser; Tab and Shift+Tab move a visible focus frame over the titles,
# Enter opens the focused one, Escape puts the panel away; Shift+F10 on the
# icon opens the tray menu.
#   a11y_wine.sh TALVANE_EXE PROBE_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/../../lib/desktop.sh"
. "$(dirname "$0")/../../lib/wine-desktop.sh"

PROBE=$2
wine_setup "$1" "$3" "$4"
start_demo --data "$E2E_ROOT/tests/e2e/data/e2e-data.txt"
wine_user_settings
cp "$PROBE" "$WORK/app/a11y-probe.exe"

# probe ARGS...: the probe's answer on stdout; false when it failed.
probe() {
    rm -f "$WORK/probe.txt"
    (cd "$WORK/app" && "$WINE" a11y-probe.exe "Z:$WORK/probe.txt" "$@") >/dev/null 2>&1
    local status=$?
    cat "$WORK/probe.txt" 2>/dev/null
    return $status
}
opened_at_least() { [ "$(opened_count)" -ge "$1" ]; }
focused_is() { [ "$(probe focus)" = "link	$1" ]; }
page() { echo "$TALVANE_SERVICE_URL/endusers/meeting_view.aspx?FRM=Software&EventID=$1&id=$NUMBER"; }

colours='HKCU\Control Panel\Colors'
set_colours() {
    local name value
    for pair in "Window=${1:-}" "WindowText=${2:-}" "HotTrackingColor=${3:-}" "Hilight=${4:-}" "ButtonText=${5:-}"; do
        name=${pair%%=*} value=${pair#*=}
        if [ -n "$value" ]; then
            "$WINE" reg add "$colours" /v "$name" /t REG_SZ /d "$value" /f
        else
            "$WINE" reg delete "$colours" /v "$name" /f
        fi
    done >/dev/null 2>&1
}
# A run that ended half-way may have left High Contrast on in the prefix.
set_colours
probe contrast off >/dev/null

run_exe >"$WORK/talvane.out" 2>&1 &
APP_PID=$!
wait_until 60 grep -q Clientnew.aspx "$WORK/requests.log" || fail "no event-list request: $(cat "$WORK/talvane.out")"
wait_until 30 icon_docked || fail "no tray icon inside the tray host"

# --- Enter on the tray icon (NIN_KEYSELECT) shows the panel ---------------
[ -z "${TALVANE_WINEDEBUG:-}" ] || cp "$WORK/talvane.out" "$ARTIFACTS/" 2>/dev/null
probe tray key >/dev/null || fail "the probe could not reach the tray icon's window"
wait_for_panel 15 || fail "the icon's keyboard select did not show the panel"

# --- The panel read from outside ------------------------------------------
tree=$(probe list) || { cp "$WORK/talvane.out" "$ARTIFACTS/"; fail "reading the panel failed: $tree"; }
printf '%s\n' "$tree" >"$ARTIFACTS/tree.txt"
title0=端到端测试研讨会零号：网络安全基础与实践
long=端到端测试研讨会二号：一个超过三十二个字符的很长很长的标题用于检验截断
titles=$(printf '%s\n' "$tree" | grep -c '^link	端到端测试研讨会.号.*	跳转$')
[ "$titles" = 5 ] || fail "expected five titles as links with their action, got $titles:
$tree"
printf '%s\n' "$tree" | grep -qx "link	$long	跳转" || fail "the shortened title is not announced whole:
$tree"
printf '%s\n' "$tree" | grep -q '^button	关闭	按下$' || fail "no close button in the tree:
$tree"
printf '%s\n' "$tree" | grep -q '^text	NEW	$' || fail "no NEW badge as text in the tree:
$tree"
# The first line is the panel itself; child ids count from the second.
first=$(($(printf '%s\n' "$tree" | grep -n "^link	$title0	" | cut -d: -f1) - 1))
probe do "$first" >/dev/null || fail "the default action of the first title failed"
wait_until 15 test -s "$WORK/opened.txt" || fail "the first title's default action opened nothing"
[ "$(head -n1 "$WORK/opened.txt")" = "$(page E2E100)" ] || fail "opened $(opened), expected $(page E2E100)"

# --- Keyboard: Tab, Shift+Tab, Enter, Escape --------------------------------
wait_for_panel 5 || fail "the panel went away"
xdotool mousemove 5 700  # no hover highlight over the rows
settled 1-before-tab || fail "the panel kept changing"
xdotool windowfocus --sync "$PANEL" 2>/dev/null || xdotool windowfocus "$PANEL"
xdotool key Tab
wait_until 10 focused_is "$title0" || fail "Tab did not focus the first title: $(probe focus)"
shot_until 2-focus-frame "the focus frame" differs_from 1-before-tab 2-focus-frame 20
xdotool key Tab Tab
wait_until 10 focused_is "$long" || fail "two more Tabs did not reach the third title: $(probe focus)"
xdotool key shift+Tab
wait_until 10 focused_is 端到端测试研讨会一号（已结束） || fail "Shift+Tab did not go back a title: $(probe focus)"
xdotool key Return
wait_until 15 opened_at_least 2 || fail "Enter opened nothing"
[ "$(sed -n 2p "$WORK/opened.txt")" = "$(page E2E101)" ] || fail "Enter opened $(opened)"
wait_for_panel 5 || fail "the panel went away"
xdotool windowfocus "$PANEL" 2>/dev/null
xdotool key Escape
wait_until 10 panel_hidden || fail "Escape did not put the panel away"

# --- Shift+F10 on the icon: the tray menu -----------------------------------
probe tray menu >/dev/null || fail "the probe could not reach the tray icon's window"
wait_for_tray_menu || fail "the icon's menu request did not open the tray menu"
shot 3-menu
choose_exit
wait_until 15 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "Exit from the menu did not end the program"
APP_PID=""

# --- High Contrast: system colours only, and back to the artwork live -----
# A theme's colours, chosen so that none occurs in the artwork. Wine keeps a
# process's system colours from its start (a later SetSysColors reaches only
# the caller), so they are set before the start; the switch back is live.
trap 'set_colours; probe contrast off >/dev/null; wine_teardown' EXIT
set_colours "0 0 0" "255 255 255" "255 255 0" "0 255 0" "255 255 255"
probe contrast on >/dev/null || fail "could not switch High Contrast on"
run_exe >"$WORK/talvane-contrast.out" 2>&1 &
APP_PID=$!
wait_until 60 icon_docked || fail "no tray icon after the second start"
probe tray key >/dev/null || fail "the probe could not reach the tray icon's window"
wait_for_panel 15 || fail "the panel did not show in High Contrast"
xdotool mousemove 5 700
band_x=$((PANEL_X + 235)) band_y=$((PANEL_Y + 160))  # row 0, right of its text
head_x=$((PANEL_X + 20)) head_y=$((PANEL_Y + 90))    # the header's artwork
link_pixels() {
    convert "$ARTIFACTS/4-high-contrast.png" -crop "${PANEL_W}x$PANEL_H+$PANEL_X+$PANEL_Y" +repage \
        -fill black +opaque 'rgb(255,255,0)' -fill white -opaque 'rgb(255,255,0)' -format '%[fx:int(mean*w*h)]' info:
}
# The window is painted straight to the screen: a shot may catch the fill
# before the texts, so the texts are waited for too.
in_contrast() {
    shot 4-high-contrast && [ "$(pixel 4-high-contrast $band_x $band_y)" = "srgb(0,0,0)" ] &&
        [ "$(pixel 4-high-contrast $head_x $head_y)" = "srgb(0,0,0)" ] && [ "$(link_pixels)" -gt 300 ]
}
wait_until 10 in_contrast ||
    fail "High Contrast: the panel did not take the window colour with its links in the link colour ($(link_pixels) pixels)"
probe contrast off >/dev/null || fail "could not switch High Contrast off"
out_of_contrast() {
    shot 5-after-contrast && [ "$(pixel 5-after-contrast $band_x $band_y)" = "$(pixel 1-before-tab $band_x $band_y)" ] &&
        [ "$(pixel 5-after-contrast $head_x $head_y)" = "$(pixel 1-before-tab $head_x $head_y)" ]
}
wait_until 10 out_of_contrast || fail "the panel did not return to its artwork when High Contrast went off"
e2e_pass
