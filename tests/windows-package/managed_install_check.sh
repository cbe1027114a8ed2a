#!/usr/bin/env bash
# What IT can steer, under Wine in one fresh prefix: AUTOSTART=0 leaves out
# the login autostart and an upgrade without the property keeps that choice;
# a plain install has it. The per-machine package installs into Program
# Files with its Run value under HKLM; run from a folder the user cannot
# write, the program keeps its client number in %LOCALAPPDATA%\Talvane, and
# reads a setting.ini that holds a number beside itself first.
#   arguments: Windows build folder (or a folder holding the two binaries),
#              artifact dir, work dir, expected version, demo service binary
. "$(dirname "$0")/package-prefix.sh"
package_prefix_setup managed_install_check "$@"
[ -n "${TALVANE_E2E_ISOLATED:-}" ] || { echo "SKIP: needs root for a read-only bind mount"; exit 0; }

start_virtual_display
wineboot --init >"$WORK/wineboot.log" 2>&1 &
BOOT_PID=$!
build_package "$WORK/new" "$VERSION"
build_package "$WORK/old" 1.9.0
build_package "$WORK/machine" "$VERSION" --per-machine
MSI=$WORK/new/talvane-$VERSION-x64.msi
OLD_MSI=$WORK/old/talvane-1.9.0-x64.msi
MACHINE_MSI=$WORK/machine/talvane-$VERSION-x64-machine.msi
[ -f "$MSI" ] && [ -f "$OLD_MSI" ] && [ -f "$MACHINE_MSI" ] || fail "packages: $(ls "$WORK"/*/)"
[ ! -e "$WORK/machine/talvane-$VERSION-x64.zip" ] || fail "the per-machine build wrote a zip"
[ "$(property "$MACHINE_MSI" UpgradeCode)" != "$(property "$MSI" UpgradeCode)" ] ||
    fail "both packages share one upgrade code"
[ "$(property "$MACHINE_MSI" ALLUSERS)" = 1 ] || fail "the machine's package is not per machine"
wait "$BOOT_PID" || fail "wineboot failed: $(tail -n 5 "$WORK/wineboot.log")"

user_dir=$WINEPREFIX/drive_c/users/$(id -un)
USER_EXE='C:\users\'"$(id -un)"'\AppData\Local\Programs\Talvane\talvane.exe'

# --- AUTOSTART=0, remembered through an upgrade -----------------------------
msiexec_qn /i "$OLD_MSI" AUTOSTART=0 || fail "installing with AUTOSTART=0 failed with status $?"
[ -f "$user_dir/AppData/Local/Programs/Talvane/talvane.exe" ] || fail "AUTOSTART=0 installed no program"
[ -z "$(run_value HKCU)" ] || fail "AUTOSTART=0 left a Run value: $(run_value HKCU)"
msiexec_qn /i "$MSI" || fail "the upgrade failed with status $?"
[ -z "$(run_value HKCU)" ] || fail "the upgrade without AUTOSTART brought the Run value back"
msiexec_qn /x "$MSI" || fail "removal failed with status $?"
# --- a plain install, and AUTOSTART=1 turning it on again -------------------
msiexec_qn /i "$OLD_MSI" || fail "a plain install failed with status $?"
[ "$(run_value HKCU)" = "\"$USER_EXE\"" ] || fail "a plain install has no Run value: $(run_value HKCU)"
# A silent upgrade while the program runs: the new files are in place.
# Wine has no Restart Manager, so nobody asks the running copy to end: it
# runs on from the old files until it is ended (on Windows the Restart
# Manager ends it first and, as it registered, starts the new version).
start_demo
wine "$USER_EXE" >>"$WORK/talvane.log" 2>&1 &
wait_until 60 grep -q 'GET /EndUsers/visit.aspx' "$WORK/requests.log" || fail "the installed program did not start"
msiexec_qn /i "$MSI" || fail "the silent upgrade of a running copy failed with status $?"
# Both packages hold the same build: the versions registered for Apps &
# features tell them apart (Wine keeps them under HKLM, Windows under HKCU).
registered_versions() {
    local root
    for root in HKCU HKLM; do
        wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s >"$WORK/reg.out" 2>&1
        tr -d '\r' <"$WORK/reg.out" | sed -n 's/^ *DisplayVersion *REG_SZ *//p'
    done | sort -u | tr '\n' ' '
}
[ "$(registered_versions)" = "$VERSION " ] || fail "after the silent upgrade the versions are: $(registered_versions)"
[ -f "$user_dir/AppData/Local/Programs/Talvane/talvane.exe" ] || fail "the silent upgrade left no program"
wine taskkill /f /im talvane.exe >>"$WORK/taskkill.log" 2>&1
wait_until 10 sh -c '! wine taskkill /im talvane.exe >/dev/null 2>&1' || fail "talvane.exe did not end"
kill "$DEMO_PID" 2>/dev/null
msiexec_qn /x "$MSI" || fail "removal failed with status $?"
msiexec_qn /i "$OLD_MSI" AUTOSTART=0 && msiexec_qn /i "$MSI" AUTOSTART=1 || fail "installs failed"
[ "$(run_value HKCU)" = "\"$USER_EXE\"" ] || fail "AUTOSTART=1 on an upgrade did not turn it on: $(run_value HKCU)"
msiexec_qn /x "$MSI" || fail "removal failed with status $?"
[ -z "$(run_value HKCU)" ] || fail "the Run value stayed after removal"
echo "per-user autostart choices checked after $SECONDS s"

# --- the machine's package ---------------------------------------------------
APP_DIR="$WINEPREFIX/drive_c/Program Files/Talvane"
APP_EXE='C:\Program Files\Talvane\talvane.exe'
LOCAL_SETTINGS=$user_dir/AppData/Local/Talvane/setting.ini
msiexec_qn /i "$MACHINE_MSI" || fail "installing the machine's package failed with status $?"
listing=$(cd "$APP_DIR" 2>/dev/null && ls | tr '\n' ' ')
[ "$listing" = "Flarebox.DisplayMsg.dll talvane.exe " ] || fail "Program Files holds: $listing"
[ "$(run_value HKLM)" = "\"$APP_EXE\"" ] || fail "HKLM Run value: $(run_value HKLM)"
[ -z "$(run_value HKCU)" ] || fail "the machine's package wrote an HKCU Run value"

# Users cannot write Program Files: a read-only bind mount makes it so here.
READ_ONLY=$APP_DIR
mount --bind "$APP_DIR" "$APP_DIR" && mount -o remount,bind,ro "$APP_DIR" || fail "cannot make $APP_DIR read-only"
start_demo
stored_number() { tr -d '\r' <"$1" 2>/dev/null | sed -n 's/^sysNumber=//p'; }
visit_numbers() { sed -n 's#.* GET /EndUsers/visit.aspx?id=\([^&]*\)&.*#\1#p' "$WORK/requests.log"; }
run_until_visit() {  # run_until_visit N: starts the program, waits for the Nth visit report, ends it
    wine "$APP_EXE" >>"$WORK/talvane.log" 2>&1 &
    wait_until 60 sh -c "[ \$(grep -c 'GET /EndUsers/visit.aspx' '$WORK/requests.log') -ge $1 ]" ||
        fail "no visit report from the installed program"
    wine taskkill /f /im talvane.exe >>"$WORK/taskkill.log" 2>&1
    wait_until 10 sh -c '! wine taskkill /im talvane.exe >/dev/null 2>&1' || fail "talvane.exe did not end"
}
run_until_visit 1
number=$(visit_numbers | sed -n 1p)
[[ $number =~ ^[0-9]{24}$ ]] || fail "the visit report carries $number"
[ "$(stored_number "$LOCAL_SETTINGS")" = "$number" ] ||
    fail "%LOCALAPPDATA%\\Talvane\\setting.ini holds $(stored_number "$LOCAL_SETTINGS"), not $number"
run_until_visit 2
[ "$(visit_numbers | sed -n 2p)" = "$number" ] || fail "the second start made another number: $(visit_numbers)"

# An administrator's setting.ini with a number beside the program wins.
STORED=123451234567890123456789
umount "$APP_DIR" || fail "cannot make $APP_DIR writable again"
printf '[systemsetting]\r\nsysNumber=%s\r\n' "$STORED" >"$APP_DIR/setting.ini"
mount --bind "$APP_DIR" "$APP_DIR" && mount -o remount,bind,ro "$APP_DIR" || fail "cannot make $APP_DIR read-only"
cp "$LOCAL_SETTINGS" "$WORK/local.before"
run_until_visit 3
[ "$(visit_numbers | sed -n 3p)" = "$STORED" ] || fail "the number beside the program was passed over: $(visit_numbers)"
cmp -s "$LOCAL_SETTINGS" "$WORK/local.before" || fail "the user's own file changed"
umount "$APP_DIR"
READ_ONLY=""
rm "$APP_DIR/setting.ini"

msiexec_qn /x "$MACHINE_MSI" || fail "removing the machine's package failed with status $?"
[ -z "$(run_value HKLM)" ] || fail "the HKLM Run value stayed"
[ ! -e "$APP_DIR/talvane.exe" ] || fail "the program stayed in Program Files"
msiexec_qn /i "$MACHINE_MSI" AUTOSTART=0 || fail "the machine's package with AUTOSTART=0 failed with status $?"
[ -z "$(run_value HKLM)" ] || fail "AUTOSTART=0 left an HKLM Run value"
msiexec_qn /x "$MACHINE_MSI" || fail "removal failed"
echo "done after $SECONDS s"
e2e_pass
