#!/usr/bin/env bash
# Builds the Windows packages: the per-user installer
# talvane-<version>-x64.msi and the portable talvane-<version>-x64.zip.
#   scripts/package-windows.sh --service-url URL [output folder]
#   scripts/package-windows.sh --demo [output folder]
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
# As shipped the client number's key is there without a value: the first
# start makes the number and stores it (a file without the key would leave
# the program at "unknown value").
printf '[systemsetting]\r\nsysNumber=\r\n' >"$folder/setting.ini"

# wixl looks source files up relative to the working folder only.
cp "$root/app/win/art/talvane.ico" "$stage/"
defines=(-D "Version=$version" -D "BinDir=talvane-$version" -D "SeedSettings=talvane-$version/setting.ini"
    -D IconFile=talvane.ico -D "Edition=$edition")
msi=$out/talvane-$version-x64.msi
(cd "$stage" && wixl -a x64 "${defines[@]}" -o package.msi "$root/packaging/windows/talvane.wxs")
# wixl cannot mark a component permanent (16) or never-overwrite (128):
# the settings file must keep the user's number through removal and
# upgrades.
msibuild "$stage/package.msi" -q "UPDATE \`Component\` SET \`Attributes\` = 144 WHERE \`Component\` = 'Settings'"
mv "$stage/package.msi" "$msi"

zip=$out/talvane-$version-x64.zip
rm -f "$zip"
(cd "$stage" && zip -q -X -r "$zip" "talvane-$version")
echo "$msi"
echo "$zip"
