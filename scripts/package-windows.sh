#!/usr/bin/env bash
# Builds the Windows packages: the per-user installer
# talvane-<version>-x64.msi and the portable talvane-<version>-x64.zip.
#   scripts/package-windows.sh [options] --service-url URL [output folder]
#   scripts/package-windows.sh [options] --demo [output folder]
# Options (before --service-url or --demo):
#   --per-machine      writes talvane-<version>-x64-machine.msi instead (Program
#                      Files, HKLM; for software distribution) and no zip
#   --sign-pkcs12 FILE --sign-password-file FILE
#                      signs talvane.exe and Flarebox.DisplayMsg.dll before they
#                      are packed and the MSI after it is made (Authenticode,
#                      SHA-256, osslsigncode)
#   --sign-pkcs11-module LIB --sign-key URI [--sign-cert FILE]
#   [--sign-password-file FILE]
#                      the same with a key on a token; the certificate comes
#                      from FILE or else from the token (the key's URI with
#                      type=cert); the password file holds the token's PIN
#   --timestamp-url URL  a time-stamping service for the signatures
# Any signing failure ends the script with an error before a package is
# written; without signing options it says in one line that the packages
# are unsigned.
# The program talks to URL unless TALVANE_SERVICE_URL says otherwise; --demo
# builds it for the demo service on 127.0.0.1:8765 and says so in the
# package's comments. The output folder defaults to the repository root.
# Installs missing packages first (scripts/setup.sh --no-build: wixl,
# msitools, zip, the cross compiler).
# The binaries come from the Windows build folder, TALVANE_WINDOWS_BUILD_DIR
# (default build-windows for --demo, build-windows-package otherwise): built
# there (the windows CMake preset, with the service address) when it is a
# CMake build folder or does not exist yet, taken as they are when it is a
# plain folder holding talvane.exe and Flarebox.DisplayMsg.dll.
# TALVANE_PACKAGE_VERSION overrides the project's version (for upgrade
# checks). Prints the paths of the MSI and the zip as its last two lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/package-service.sh"
. "$root/scripts/sign-windows.sh"
per_machine=0
while [ $# -gt 0 ]; do
    case "$1" in
    --per-machine) per_machine=1; shift ;;
    --sign-*|--timestamp-url)
        [ $# -ge 2 ] || package_usage
        sign_option "$1" "$2"
        shift 2
        ;;
    *) break ;;
    esac
done
sign_check_options
package_service "$@"
set -- "${PACKAGE_REST[@]}"
service=$PACKAGE_SERVICE
# The demo build shares the test command's Windows build; any other address
# gets a build folder of its own.
default_build=$root/build-windows-package
edition=""
if [ "$PACKAGE_DEMO" = 1 ]; then
    default_build=$root/build-windows
    edition=" (demo build)"
fi
out=$(mkdir -p "${1:-$root}" && cd "${1:-$root}" && pwd)
build=${TALVANE_WINDOWS_BUILD_DIR:-$default_build}
version=${TALVANE_PACKAGE_VERSION:-$(sed -n 's/^project(talvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "package-windows: bad version '$version'" >&2; exit 1; }
if [ -z "${TALVANE_PACKAGE_SKIP_SETUP:-}" ]; then
    "$root/scripts/setup.sh" --no-build
fi

if [ -f "$build/CMakeCache.txt" ] || [ ! -e "$build" ]; then
    (cd "$root" && cmake --preset windows -B "$build" -DTALVANE_SERVICE_URL_DEFAULT="$service" >/dev/null)
    cmake --build "$build" -j"${TALVANE_PACKAGE_JOBS:-$(nproc)}" --target talvane talvane_displaymsg_win
fi
# A build folder has them in bin/ (the component perhaps in bin/components);
# a plain folder holds them itself.
find_binary() {
    local folder
    for folder in "$build/bin" "$build/bin/components" "$build"; do
        [ -f "$folder/$1" ] && { echo "$folder/$1"; return; }
    done
    echo "package-windows: no $1 in $build" >&2
    exit 1
}
exe=$(find_binary talvane.exe)
dll=$(find_binary Flarebox.DisplayMsg.dll)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/talvane-$version
mkdir "$folder"
cp "$exe" "$dll" "$folder/"
sign_files "$folder/talvane.exe" "$folder/Flarebox.DisplayMsg.dll"
# As shipped the client number's key is there without a value: the first
# start makes the number and stores it (a file without the key would leave
# the program at "unknown value").
printf '[systemsetting]\r\nsysNumber=\r\n' >"$folder/setting.ini"

# wixl looks source files up relative to the working folder only.
cp "$root/app/win/art/talvane.ico" "$stage/"
scope=perUser msi_name=talvane-$version-x64.msi
[ $per_machine = 0 ] || scope=perMachine msi_name=talvane-$version-x64-machine.msi
defines=(-D "Scope=$scope" -D "Version=$version" -D "BinDir=talvane-$version"
    -D "SeedSettings=talvane-$version/setting.ini" -D IconFile=talvane.ico -D "Edition=$edition")
(cd "$stage" && wixl -a x64 "${defines[@]}" -o package.msi "$root/packaging/windows/talvane.wxs")
msi_sql() { msibuild "$stage/package.msi" -q "$1"; }
# wixl has no component conditions: the autostart is left out when the
# command line or an earlier install said AUTOSTART=0 (the custom action
# that settles AUTOSTARTCHOICE runs right after AppSearch).
msi_sql "UPDATE \`Component\` SET \`Condition\` = 'AUTOSTARTCHOICE<>\"0\"' WHERE \`Component\` = 'Autostart'"
msi_sql "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES
    ('KeepAutostartOff', 'AUTOSTART=\"0\" OR (NOT AUTOSTART AND AUTOSTARTSAVED=\"0\")', 51)"
# wixl cannot mark a component permanent (16) or never-overwrite (128):
# the settings file must keep the user's number through removal and
# upgrades.
[ $per_machine = 1 ] ||
    msi_sql "UPDATE \`Component\` SET \`Attributes\` = 144 WHERE \`Component\` = 'Settings'"
sign_files "$stage/package.msi"

# Both packages are complete and signed before either is written.
msi=$out/$msi_name
if [ $per_machine = 1 ]; then
    mv "$stage/package.msi" "$msi"
    sign_report
    echo "$msi"
    exit 0
fi
(cd "$stage" && zip -q -X -r package.zip "talvane-$version")
zip=$out/talvane-$version-x64.zip
mv "$stage/package.msi" "$msi"
mv "$stage/package.zip" "$zip"
sign_report
echo "$msi"
echo "$zip"
