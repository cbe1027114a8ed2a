#!/usr/bin/env bash
# The Windows packages under Wine, in one fresh prefix: builds the MSI and
# the zip with scripts/package-windows.sh (and a 1.9.0 MSI to upgrade from),
# installs silently, starts the installed program on a virtual display with
# a tray host and the demo service, upgrades, refuses the downgrade, removes,
# runs the portable copy from the zip, and tries a package whose install
# folder is blocked.
#   arguments: Windows build folder (or a folder holding the two binaries),
#              artifact dir, work dir, expected version, demo service binary
. "$(dirname "$0")/package-prefix.sh"
package_prefix_setup msi_check "$@"
started=$SECONDS

# The display and its tray host come first: Wine's desktop process, started
# with the prefix, docks tray icons only into a host it found at its start.
start_virtual_display
# The prefix boots while the packages are built. The reminder checks below
# need office hours on a weekday: Wine's every process runs on one.
wine_weekday_morning
wineboot --init >"$WORK/wineboot.log" 2>&1 &
BOOT_PID=$!
build_package "$WORK/new" "$VERSION"
build_package "$WORK/old" 1.9.0
MSI=$WORK/new/talvane-$VERSION-x64.msi
OLD_MSI=$WORK/old/talvane-1.9.0-x64.msi
ZIP=$WORK/new/talvane-$VERSION-x64.zip
[ -f "$MSI" ] && [ -f "$ZIP" ] && [ -f "$OLD_MSI" ] || fail "package files: $(ls "$WORK/new" "$WORK/old")"
cp "$MSI" "$ZIP" "$ARTIFACTS/"

# --- the packages' contents ---------------------------------------------
listing=$(unzip -Z1 "$ZIP" | sort | tr '\n' ' ')
[ "$listing" = "talvane-$VERSION/ talvane-$VERSION/Flarebox.DisplayMsg.dll talvane-$VERSION/setting.ini talvane-$VERSION/talvane.exe " ] ||
    fail "zip holds: $listing"
[ "$(property "$MSI" ProductVersion)" = "$VERSION" ] || fail "ProductVersion $(property "$MSI" ProductVersion)"
[ "$(property "$MSI" UpgradeCode)" = "$(property "$OLD_MSI" UpgradeCode)" ] || fail "the upgrade code changes between versions"
[ "$(property "$MSI" ProductCode)" != "$(property "$OLD_MSI" ProductCode)" ] || fail "both versions have one product code"
[ -z "$(property "$MSI" ALLUSERS)" ] || fail "ALLUSERS is set: the package is not per user"
# Word count bit 8 of the summary: no elevation prompt.
source_flags=$(msiinfo suminfo "$MSI" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
[ $((source_flags & 8)) = 8 ] || fail "the package asks for elevation (source flags $source_flags)"

wait "$BOOT_PID" || fail "wineboot failed: $(tail -n 5 "$WORK/wineboot.log")"
echo "packages built and prefix ready after $((SECONDS - started)) s"

# --- places in the prefix -----------------------------------------------
user_dir=$WINEPREFIX/drive_c/users/$(id -un)
APP_DIR=$user_dir/AppData/Local/Programs/Talvane
APP_EXE='C:\users\'"$(id -un)"'\AppData\Local\Programs\Talvane\talvane.exe'
SHORTCUT=$user_dir/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Talvane.lnk
SETTINGS=$APP_DIR/setting.ini

# "version|publisher" of each Apps & features entry named Talvane (Wine
# keeps them under HKLM even for a per-user product; Windows under HKCU).
uninstall_entries() {
    local root
    for root in HKCU HKLM; do
        wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s >"$WORK/reg.out" 2>&1
        tr -d '\r' <"$WORK/reg.out" | awk '
            /^HKEY_/ { if (name == "Talvane") print version "|" publisher; name = version = publisher = "" }
            $1 == "DisplayName" { name = $3 }
            $1 == "DisplayVersion" { version = $3 }
            $1 == "Publisher" { publisher = substr($0, index($0, "REG_SZ") + 10) }
            END { if (name == "Talvane") print version "|" publisher }'
    done
}
# The icon Apps & features shows: the product's registered icon file.
product_icon_is_ico() {
    wine reg query 'HKCU\Software\Microsoft\Installer\Products' /s >"$WORK/reg.out" 2>&1 || return 1
    local icon
    icon=$(tr -d '\r' <"$WORK/reg.out" | sed -n 's/^ *ProductIcon *REG_SZ *//p' | head -n1)
    [ -n "$icon" ] && file -b "$(winepath -u "$icon" 2>/dev/null)" | grep -q '^MS Windows icon'
}
installed_files() { (cd "$APP_DIR" 2>/dev/null && ls | sort | tr '\n' ' '); }

check_installed() {  # check_installed VERSION
    [ "$(installed_files)" = "Flarebox.DisplayMsg.dll setting.ini talvane.exe " ] ||
        fail "installed files: $(installed_files)"
    [ -f "$SHORTCUT" ] || fail "no Start-menu shortcut"
    [ "$(run_value)" = "\"$APP_EXE\"" ] || fail "Run value: $(run_value)"
    [ "$(uninstall_entries)" = "$1|Talvane developers" ] || fail "Apps & features entries: $(uninstall_entries)"
    product_icon_is_ico || fail "no icon for Apps & features"
}

# --- install the older version and run it -------------------------------
msiexec_qn /i "$OLD_MSI" || fail "installing 1.9.0 failed with status $?"
check_installed 1.9.0
stored_number() { tr -d '\r' <"${1:-$SETTINGS}" | sed -n 's/^sysNumber=//p'; }
grep -q '^\[systemsetting\]' "$SETTINGS" && [ -z "$(stored_number)" ] || fail "setting.ini as installed: $(cat "$SETTINGS")"

start_demo
# Wine's explorer owns the icon's window inside the tray host.
wine_tray_icon() {
    local panel
    panel=$(xwininfo -root -tree 2>/dev/null | sed -n 's/^ *\(0x[0-9a-f]*\) "panel": ("panel" "trayer").*/\1/p' | head -n1)
    [ -n "$panel" ] && xwininfo -tree -id "$panel" 2>/dev/null |
        grep '("explorer.exe" "explorer.exe")' | grep -q ' \([89]\|[1-6][0-9]\)x\([89]\|[1-6][0-9]\)+'
}
# Ends the program and waits until Wine no longer lists it: a start before
# that would meet the old instance and end at once.
stop_windows_program() {
    wine taskkill /f /im talvane.exe >>"$WORK/taskkill.log" 2>&1
    wait_until 10 sh -c '! wine taskkill /im talvane.exe >/dev/null 2>&1' || fail "talvane.exe did not end"
}
# 100 ms ticks in the office hours Wine runs on: a reminder poll within a
# second.
run_windows_program() {  # run_windows_program WINDOWS-PATH
    TALVANE_TICK_MS=100 wine "$1" >>"$WORK/talvane.log" 2>&1 &
}
run_windows_program "$APP_EXE"
wait_until 60 wine_tray_icon || fail "no tray icon from the installed program"
has_number() { [[ $(stored_number "$@") =~ ^[0-9]{24}$ ]]; }
wait_until 10 has_number || fail "no client number beside the installed program: $(cat "$SETTINGS")"
number=$(stored_number)
wait_until 10 grep -q "visit.aspx?id=$number&" "$WORK/requests.log" || fail "no visit report with the client number"
wait_until 10 grep -q "ClientReminderNew.aspx?id=$number&" "$WORK/requests.log" || fail "no reminder poll"
# The panel stays hidden and Wine's explorer owns the tray icon, so a window
# of the program on screen is the reminder card: the installed program found
# its popup component.
popup_shown() { [ -n "$(xdotool search --onlyvisible --classname '^talvane.exe$' 2>/dev/null)" ]; }
wait_until 10 popup_shown || fail "no reminder popup: the installed program did not find its component"
shot installed-popup
stop_windows_program
cp "$SETTINGS" "$WORK/setting.first"
echo "installed and started after $((SECONDS - started)) s"

# --- upgrade in place ---------------------------------------------------
msiexec_qn /i "$MSI" || fail "the upgrade failed with status $?"
check_installed "$VERSION"
cmp -s "$SETTINGS" "$WORK/setting.first" || fail "the upgrade changed setting.ini: $(cat "$SETTINGS")"
msiexec_qn /i "$OLD_MSI" && fail "the older package replaced the newer one"
check_installed "$VERSION"

# --- removal ------------------------------------------------------------
msiexec_qn /x "$MSI" || fail "removal failed with status $?"
[ "$(installed_files)" = "setting.ini " ] || fail "left after removal: $(installed_files)"
cmp -s "$SETTINGS" "$WORK/setting.first" || fail "removal changed setting.ini"
[ ! -e "$SHORTCUT" ] || fail "the shortcut stayed"
[ -z "$(run_value)" ] || fail "the Run value stayed: $(run_value)"
[ -z "$(uninstall_entries)" ] || fail "Apps & features still lists: $(uninstall_entries)"

# --- the portable copy, unpacked into a folder of the user's --------------
unzip -q "$ZIP" -d "$user_dir/Desktop"
portable=$user_dir/Desktop/talvane-$VERSION
run_windows_program 'C:\users\'"$(id -un)"'\Desktop\talvane-'"$VERSION"'\talvane.exe'
wait_until 10 has_number "$portable/setting.ini" || fail "the portable copy wrote no client number beside itself"
wait_until 10 grep -q "ClientReminderNew.aspx?id=$(stored_number "$portable/setting.ini")&" "$WORK/requests.log" ||
    fail "no reminder poll from the portable copy"
wait_until 10 popup_shown || fail "no reminder popup from the portable copy"
stop_windows_program

# --- an install folder that cannot be created ---------------------------
mv "$APP_DIR" "$WORK/kept"
echo "in the way" >"$APP_DIR"
msiexec_qn /i "$MSI"
status=$?
# Wine's msiexec exits with the installer's code, cut to 8 bits: 1603, the
# fatal installation error, arrives as 67.
[ "$status" = $((1603 % 256)) ] || fail "a blocked install folder gave status $status, not the installer's error"
[ "$(cat "$APP_DIR")" = "in the way" ] || fail "the file in the way was changed"
[ ! -e "$SHORTCUT" ] && [ -z "$(run_value)" ] && [ -z "$(uninstall_entries)" ] ||
    fail "a refused installation left pieces behind"
echo "done after $((SECONDS - started)) s"
e2e_pass
