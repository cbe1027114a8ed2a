#!/usr/bin/env bash
# A copy of the program in a read-only folder, with a settings file that an
# administrator put beside it: the stored client number is the copy's
# identity, and reading it needs no write access, so the visit report
# carries that number and nothing is written anywhere.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
ensure_tray_host || fail "no tray host on the virtual display"
start_demo
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME"

STORED=123451234567890123456789
# Writable again on the way out, so that the harness can clean up.
trap 'if [ -n "${TALVANE_E2E_ISOLATED:-}" ]; then umount -l "$WORK/app" 2>/dev/null; else chmod u+w "$WORK/app"; fi; e2e_teardown' EXIT
printf '[systemsetting]\nsysNumber=%s\n' "$STORED" >"$WORK/app/setting.ini"
if [ -n "${TALVANE_E2E_ISOLATED:-}" ]; then
    mount --bind "$WORK/app" "$WORK/app" && mount -o remount,bind,ro "$WORK/app" || fail "cannot make the program folder read-only"
else
    chmod a-w "$WORK/app"
fi
start_talvane
wait_until 10 grep -q 'GET /EndUsers/visit.aspx' "$WORK/requests.log" || fail "no visit report"
number=$(sed -n 's#.* GET /EndUsers/visit.aspx?id=\(.*\)&sjs=[0-9]*$#\1#p' "$WORK/requests.log" | head -n1)
[ "$number" = "$STORED" ] || fail "the visit report carries $number, not the number stored beside the program"
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "a settings file was made in $XDG_CONFIG_HOME: $(find "$XDG_CONFIG_HOME" -type f)"
e2e_pass
