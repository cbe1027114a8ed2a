#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need (only
# those missing), then configures and builds Talvane into build/.
#   scripts/setup.sh [--no-build] [extra cmake arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev libcurl4-openssl-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libxcb1-dev
    # fuzzing (libFuzzer) and the formatting check
    clang libclang-rt-14-dev clang-format
    # fonts for the Chinese user interface
    fonts-noto-cjk fonts-liberation
    # opening links, virtual display, tray host, GUI driving and screenshots
    xdg-utils xvfb xauth xdotool trayer imagemagick x11-utils openbox
    # private namespaces for the end-to-end checks
    iproute2
    # clock faking for the reminder checks
    faketime libfaketime
    # the Debian package and its checks: dependency scan, icon and desktop
    # entry checks, a StatusNotifierItem host on a private session bus
    dpkg-dev file librsvg2-bin desktop-file-utils dbus-daemon libglib2.0-bin
    # the Windows installer and portable zip (scripts/package-windows.sh)
    wixl msitools zip unzip
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ "${1:-}" = "--no-build" ]; then
    exit 0
fi
build=${TALVANE_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
