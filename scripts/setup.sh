#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need (only
# those missing), then configures and builds Talvane into build/.
#   scripts/setup.sh [--no-build] [extra cmake arguments...]
#   scripts/setup.sh --demo [--virtual]   only what scripts/run-demo.sh needs
#                                         (--virtual: and its virtual display);
#                                         builds nothing
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The demo's own: the program and the demo service, a Chinese font and the
# link opener. A fresh machine gets them in a fraction of the suite's time.
demo_packages=(
    cmake ninja-build g++ pkg-config qt6-base-dev libcurl4-openssl-dev libcpp-httplib-dev
    fonts-wqy-microhei fonts-liberation xdg-utils curl
)
demo_virtual_packages=(xvfb xauth xdotool trayer imagemagick x11-utils)

packages=(
    # build
    cmake ninja-build g++ pkg-config qt6-base-dev libcurl4-openssl-dev libcpp-httplib-dev
    libgtest-dev libgmock-dev libxcb1-dev
    # fuzzing (libFuzzer) and the formatting check
    clang libclang-rt-14-dev clang-format
    # fonts for the Chinese user interface
    fonts-noto-cjk fonts-liberation
    # opening links, virtual display, tray host, GUI driving and screenshots
    xdg-utils xvfb xauth xdotool trayer imagemagick x11-utils openbox wmctrl
    # private namespaces for the end-to-end checks
    iproute2
    # clock faking for the reminder checks
    faketime libfaketime
    # the Debian package and its checks: dependency scan, icon and desktop
    # entry checks, a StatusNotifierItem host on a private session bus
    dpkg-dev file librsvg2-bin desktop-file-utils dbus-daemon libglib2.0-bin
    # GNOME's tray host for the menu check: the shell and its AppIndicator
    # extension, on the virtual display
    gnome-shell gnome-shell-extension-appindicator
    # the Windows program: cross compiler, Wine for its tests, MSI packages,
    # and the Chinese locale that gives Wine the users' code page (936)
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 wixl locales
    # the rest of the Windows packaging (scripts/package-windows.sh)
    msitools zip unzip osslsigncode
    # the signing check makes its throwaway certificate chain with openssl
    openssl
    # a software token for the signing check through PKCS#11
    softhsm2 libengine-pkcs11-openssl opensc
    # the benchmark report writer
    python3
    # the accessibility bus the screen-reader check reads the panel through
    at-spi2-core
)

demo=no
case "${1:-}" in
--demo)
    demo=yes
    packages=("${demo_packages[@]}")
    [ "${2:-}" != --virtual ] || packages+=("${demo_virtual_packages[@]}")
    set -- --no-build
    ;;
esac

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

# Only Wine needs the locale (for the users' code page 936).
if [ $demo = no ] && ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "setup: generating the zh_CN.UTF-8 locale"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

if [ "${1:-}" = "--no-build" ]; then
    exit 0
fi
build=${TALVANE_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVANE_BUILD_TESTS=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
