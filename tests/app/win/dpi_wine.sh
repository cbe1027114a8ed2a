#!/usr/bin/env bash
# talvane.exe under Wine at 125, 150 and 200 % (LogPixels 120, 144, 192):
# the panel's window has the size of its rounded region at that scale, the
# background reaches the window's right and bottom edges (no strip of flat
# backdrop under the footer), and hovering each row's hover area highlights
# that row's band. Screenshots: ARTIFACT_DIR/windows-dpi/panel-DPI.png.
#   dpi_wine.sh TALVANE_EXE PROBE_EXE DEMO_SERVICE ARTIFACT_DIR
# A Wine prefix of its own: LogPixels holds for the whole prefix.
. "$(dirname "$0")/../../lib/desktop.sh"
. "$(dirname "$0")/../../lib/wine-desktop.sh"

PROBE=$2
# Room for the panel at 200 %: Windows keeps a window within the screen.
export VIRTUAL_SCREEN=2048x1536x24
wine_setup "$1" "$3" "$4" dpi
start_demo --data "$E2E_ROOT/tests/e2e/data/e2e-data.txt"
wine_user_settings
cp "$PROBE" "$WORK/app/a11y-probe.exe"
probe() { (cd "$WORK/app" && "$WINE" a11y-probe.exe "Z:$WORK/probe.txt" "$@") >/dev/null 2>&1; }
backdrop="srgb(7,44,55)"  # the colour the window shows where nothing is drawn
px() { echo $((($1 * DPI + 48) / 96)); }  # pixels at 96 dpi to pixels now
twips() { echo $((($1 * DPI + 720) / 1440)); }

for setting in "120 315 833" "144 379 1006" "192 508 1351"; do
    read -r DPI want_w want_h <<<"$setting"
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1 ||
        fail "cannot set LogPixels"
    run_exe >"$WORK/talvane-$DPI.out" 2>&1 &
    APP_PID=$!
    wait_until 60 icon_docked || fail "$DPI dpi: no tray icon"
    probe tray key || fail "$DPI dpi: the probe could not reach the tray icon's window"
    wait_for_panel 15 || fail "$DPI dpi: the panel did not show"
    [ "$PANEL_W" = "$want_w" ] && [ "$PANEL_H" = "$want_h" ] ||
        fail "$DPI dpi: the panel is ${PANEL_W}x$PANEL_H, its region ${want_w}x$want_h"
    xdotool mousemove 5 5
    settled "panel-$DPI" || fail "$DPI dpi: the panel kept changing"
    # The footer's gradient, not flat backdrop, just above the bottom edge
    # band and just inside the right edge.
    for spot in "$((PANEL_W / 2)) $((PANEL_H - $(px 10)))" "$((PANEL_W - 3)) $((PANEL_H / 2))"; do
        read -r x y <<<"$spot"
        colour=$(pixel "panel-$DPI" $((PANEL_X + x)) $((PANEL_Y + y)))
        [ "$colour" != "$backdrop" ] || fail "$DPI dpi: flat backdrop at $x,$y inside the panel"
    done
    # Each row's hover area highlights its own band (the right half of the
    # band, away from the text).
    for row in 0 1 2 3 4; do
        hover "$(px 20)" "$(twips $((2500 + 1500 * row)))"
        band_y=$((PANEL_Y + $(twips $((2300 + 1500 * row)))))
        lit() {
            shot "row-$DPI-$row" &&
                [ "$(pixel "row-$DPI-$row" $((PANEL_X + $(px 235))) $band_y)" != \
                    "$(pixel "panel-$DPI" $((PANEL_X + $(px 235))) $band_y)" ]
        }
        wait_until 10 lit || fail "$DPI dpi: hovering row $row did not highlight its band"
    done
    xdotool mousemove 5 5
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    APP_PID=""
done
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
e2e_pass
