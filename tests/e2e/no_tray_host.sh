#!/usr/bin/env bash
# A desktop without any tray host (GNOME without the AppIndicator
# extension): the panel shows itself once start-up has waited for a host,
# and the close glyph minimises it into the window manager's list instead of
# hiding it where nobody could find it again.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"

stop_tray_host
start_window_manager

start_demo
printf '[systemsetting]\nsysNumber=111112026120910000011111\n' >"$WORK/app/setting.ini"
run_program
wait_for_panel 15 || fail "no panel within 15 s without a tray host: $(cat "$WORK/talvane.out")"
[ -z "$(tray_icon)" ] || fail "an icon window is mapped although no tray host runs"

click_panel 225 8  # the close glyph
iconic() { xprop -id "$PANEL" WM_STATE 2>/dev/null | grep -q 'Iconic'; }
wait_until 5 iconic || fail "the close glyph did not minimise the panel: $(xprop -id "$PANEL" WM_STATE)"
xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$PANEL")" ||
    fail "the minimised panel is not in the window manager's list"
e2e_pass
