#!/usr/bin/env bash
# Builds the Debian package talvane_<version>_amd64.deb with CPack.
#   scripts/package.sh [output folder]      (default: the repository root)
# Installs missing build packages first (scripts/setup.sh --no-build). The
# build uses its own folder, TALVANE_PACKAGE_BUILD_DIR (default build-package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root}" && cd "${1:-$root}" && pwd)
build=${TALVANE_PACKAGE_BUILD_DIR:-$root/build-package}

if [ -z "${TALVANE_PACKAGE_SKIP_SETUP:-}" ]; then
    "$root/scripts/setup.sh" --no-build
fi
# The prefix is compiled into the program (where it finds its popup
# components), so it must be the package's own: /usr.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTALVANE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"${TALVANE_PACKAGE_JOBS:-$(nproc)}" --target talvane talvane_displaymsg talvane-icon-png
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
deb=$(ls "$build"/cpack/talvane_*_*.deb)
cp "$deb" "$out/"
echo "$out/$(basename "$deb")"
