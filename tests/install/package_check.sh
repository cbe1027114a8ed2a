#!/usr/bin/env bash
# The Debian package: builds it with scripts/package.sh, checks its name,
# file list and declared dependencies. As root (CI) it then installs it with
# apt-get, runs the installed notifier as an ordinary user on a virtual
# display with a tray host, and removes it again.
#   arguments: talvane binary, demo service binary, components dir,
#              artifact dir, package build dir, expected version
. "$(dirname "$0")/../lib/desktop.sh"
PACKAGE_BUILD=$5
VERSION=$6
e2e_setup "$1" "$2" "$3" "$4"

# --- build --------------------------------------------------------------
TALVANE_PACKAGE_SKIP_SETUP=1 TALVANE_PACKAGE_BUILD_DIR="$PACKAGE_BUILD" \
    "$E2E_ROOT/scripts/package.sh" --service-url http://seminars.example.test "$WORK/deb" >"$WORK/package.log" 2>&1 ||
    fail "scripts/package.sh failed: $(tail -n 20 "$WORK/package.log")"
DEB=$(tail -n 1 "$WORK/package.log")
[ "$(basename "$DEB")" = "talvane_${VERSION}_amd64.deb" ] || fail "package file is $DEB"
cp "$DEB" "$ARTIFACTS/"

# --- contents -----------------------------------------------------------
expected_files="./etc/xdg/autostart/talvane.desktop
./usr/bin/talvane
./usr/lib/talvane/components/Flarebox.DisplayMsg.so
./usr/share/applications/talvane.desktop
./usr/share/icons/hicolor/32x32/apps/talvane.png
./usr/share/icons/hicolor/scalable/apps/talvane.svg"
files=$(dpkg-deb -c "$DEB" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$files" = "$expected_files" ] || fail "package files differ:
$(diff <(echo "$expected_files") <(echo "$files"))"

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = talvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$VERSION" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
for needed in 'libqt6widgets6 (' 'libqt6gui6 (' 'libqt6core6 (' 'libqt6network6 (' 'libc6 (' \
    'fonts-noto-cjk | fonts-wqy-microhei'; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks '$needed': $depends"
done
[[ $(field Recommends) == *xdg-utils* ]] || fail "Recommends: $(field Recommends)"

mkdir "$WORK/unpacked"
dpkg-deb -x "$DEB" "$WORK/unpacked"
png=$(identify -format '%w x %h' "$WORK/unpacked/usr/share/icons/hicolor/32x32/apps/talvane.png")
[ "$png" = "32 x 32" ] || fail "the PNG icon is $png"
entry=$WORK/unpacked/usr/share/applications/talvane.desktop
for line in 'Exec=talvane' 'Icon=talvane' 'Categories=Network;' 'Type=Application'; do
    grep -qx "$line" "$entry" || fail "desktop entry lacks $line"
done
grep -q '^Comment=' "$entry" && grep -q '^Comment\[zh_CN\]=' "$entry" || fail "desktop entry lacks a comment"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop entry does not validate"
fi
cmp -s "$entry" "$WORK/unpacked/etc/xdg/autostart/talvane.desktop" || fail "autostart entry differs"
[ "$("$WORK/unpacked/usr/bin/talvane" --version)" = "talvane $VERSION
service http://seminars.example.test" ] || fail "--version of the packaged program"
[[ $(field Description) == *"Service: http://seminars.example.test"* ]] || fail "Description: $(field Description)"
[[ $(field Description) != *demo* ]] || fail "Description: $(field Description)"
"$E2E_ROOT/scripts/package.sh" "$WORK/deb" >"$WORK/no-service.out" 2>&1
[ $? = 2 ] && grep -q -- '--demo' "$WORK/no-service.out" || fail "package.sh without a service: $(cat "$WORK/no-service.out")"

if [ "$(id -u)" != 0 ] || [ -n "${TALVANE_PACKAGE_NO_INSTALL:-}" ]; then
    echo "package built and inspected; install steps need root"
    e2e_pass
    exit 0
fi

# --- install ------------------------------------------------------------
if dpkg-query -W -f='${Status}' talvane 2>/dev/null | grep -q 'ok installed'; then
    fail "talvane is installed already; this check installs and removes its own copy"
fi
INSTALLED=1
cleanup() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    [ -n "${INSTALLED:-}" ] && DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq talvane >/dev/null 2>&1
    e2e_teardown
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$DEB" >"$WORK/apt-install.log" 2>&1 ||
    fail "apt-get install failed: $(tail -n 20 "$WORK/apt-install.log")"
[ -x /usr/bin/talvane ] || fail "/usr/bin/talvane is missing after installation"

# --- the installed program, as an ordinary user -------------------------
USER_ID=65534
chmod 755 "$WORK" "$WORK/bin"
USER_HOME=$WORK/home
mkdir -m 700 "$USER_HOME" "$WORK/user-runtime"
chown "$USER_ID:$USER_ID" "$USER_HOME" "$WORK/user-runtime"
start_demo
# run_installed [command prefix...]: the installed program as that user,
# with a timer of 100 ms ticks (a reminder poll every 0.7 s)
run_installed() {
    setpriv --reuid=$USER_ID --regid=$USER_ID --clear-groups \
        env -u XDG_CONFIG_HOME HOME="$USER_HOME" XDG_RUNTIME_DIR="$WORK/user-runtime" \
        TALVANE_TICK_MS=100 "$@" /usr/bin/talvane >>"$WORK/talvane.out" 2>&1 &
    APP_PID=$!
    wait_for_icon || fail "no tray icon from the installed program: $(cat "$WORK/talvane.out")"
}

# A popup on screen: a visible window of the program larger than the icon.
popup_shown() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^talvane$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -gt 64 ] && [ "$HEIGHT" -gt 64 ] && return 0
    done
    return 1
}

# Office hours on a weekday, so that the timer asks for reminders at once.
# The library itself rather than the faketime wrapper, so that APP_PID is
# the program.
fake_clock=$(dpkg -L libfaketime | grep '/libfaketime\.so\.1$' | head -n1)
[ -n "$fake_clock" ] || fail "libfaketime is not installed"
run_installed env LD_PRELOAD="$fake_clock" FAKETIME='@2026-12-09 10:00:00'
settings=$USER_HOME/.config/talvane/setting.ini
wait_until 5 test -s "$settings" || fail "no settings file in the user's configuration folder"
number=$(sed -n 's/^sysNumber=\([0-9]\{24\}\)\r\{0,1\}$/\1/p' "$settings")
[ -n "$number" ] || fail "no 24-digit client number in $settings: $(cat "$settings")"
[ "$(stat -c %a "$USER_HOME/.config/talvane")" = 700 ] || fail "the settings folder is not private"
[ ! -e /usr/bin/setting.ini ] || fail "a settings file appeared beside the installed program"
wait_until 10 popup_shown || fail "no reminder popup: the installed program did not find its component"
shot installed-popup
wait_until 5 grep -q "visit.aspx?id=$number&" "$WORK/requests.log" || fail "the visit report lacks the client number"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null
wait_until 5 bash -c '[ -z "$(xdotool search --onlyvisible --classname "^talvane\$" 2>/dev/null)" ]' ||
    fail "windows of the first run stayed"

cp "$settings" "$WORK/setting.first"
run_installed
wait_until 10 requests_at_least 2 "visit.aspx?id=$number&" || fail "the second start sent no visit report with the stored number"
cmp -s "$settings" "$WORK/setting.first" || fail "the second start changed the settings file"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null
APP_PID=""

# --- removal ------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq talvane >"$WORK/apt-remove.log" 2>&1 ||
    fail "apt-get remove failed: $(tail -n 20 "$WORK/apt-remove.log")"
INSTALLED=""
for f in $expected_files /usr/lib/talvane; do
    path=${f#.}
    [ ! -e "$path" ] || fail "$path is left after removal"
done
if dpkg-query -W -f='${Status}' talvane 2>/dev/null | grep -qv 'not-installed'; then
    fail "dpkg still lists the package: $(dpkg-query -W -f='${Status}' talvane)"
fi
cmp -s "$settings" "$WORK/setting.first" || fail "removal touched the user's settings"
e2e_pass
