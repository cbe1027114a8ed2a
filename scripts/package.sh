#!/usr/bin/env bash
# Builds the Debian package talvane_<version>_amd64.deb with CPack.
#   scripts/package.sh --service-url URL [output folder]
#   scripts/package.sh --demo [output folder]
# The package's program talks to URL unless TALVANE_SERVICE_URL says
# otherwise. --demo builds it for the demo service on 127.0.0.1:8765 and says
# so in the package's description: on a shared machine any local user can
# take that port. The output folder defaults to the repository root.
# Installs missing build packages first (scripts/setup.sh --no-build). The
# build uses its own folder, TALVANE_PACKAGE_BUILD_DIR (default build-package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/package-service.sh"
package_service "$@"
set -- "${PACKAGE_REST[@]}"
service=$PACKAGE_SERVICE
out=$(mkdir -p "${1:-$root}" && cd "${1:-$root}" && pwd)
build=${TALVANE_PACKAGE_BUILD_DIR:-$root/build-package}

if [ -z "${TALVANE_PACKAGE_SKIP_SETUP:-}" ]; then
    "$root/scripts/setup.sh" --no-build
fi
# The prefix is compiled into the program (where it finds its popup
# components), so it must be the package's own: /usr.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTALVANE_BUILD_TESTS=OFF "-DTALVANE_SERVICE_URL_DEFAULT=$service" >/dev/null
cmake --build "$build" -j"${TALVANE_PACKAGE_JOBS:-$(nproc)}" --target talvane talvane_displaymsg talvane-icon-png
(cd "$build" && cpack -G DEB -B "$build/cpack" >/dev/null)
deb=$(ls "$build"/cpack/talvane_*_*.deb)
cp "$deb" "$out/"
echo "$out/$(basename "$deb")"
