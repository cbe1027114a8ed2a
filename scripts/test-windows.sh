#!/usr/bin/env bash
# Cross-builds the Windows program and its tests with mingw-w64 (the
# `windows` preset) into build-windows/ and runs the tests under Wine.
#   scripts/test-windows.sh [extra ctest arguments...]
# Exits 0 with a note when mingw-w64 or Wine is not installed, so that the
# test command can call it on any machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

for tool in x86_64-w64-mingw32-g++-posix wineserver; do
    if ! command -v "$tool" >/dev/null; then
        echo "test-windows: $tool not installed, Windows checks skipped (scripts/setup.sh installs it)"
        exit 0
    fi
done
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "test-windows: the zh_CN.UTF-8 locale is missing (scripts/setup.sh makes it)" >&2
    exit 1
fi

cd "$root"
build=$root/build-windows
start=$(date +%s)
# The Wine end-to-end check talks to the Linux build's demo service.
demo=${TALVANE_DEMO_SERVICE:-${TALVANE_TEST_BUILD_DIR:-$root/build-test}/bin/talvane-demo-service}
if [ -x "$demo" ]; then
    cmake --preset windows -DTALVANE_DEMO_SERVICE="$demo" >/dev/null
else
    echo "test-windows: no demo service at $demo (build Linux first), Wine end-to-end check skipped"
    cmake --preset windows >/dev/null
fi
cmake --build --preset windows -j"$(nproc)"
built=$(date +%s)
status=0
ctest --preset windows -j"$(nproc)" "$@" || status=$?
# The tests share one Wine prefix; its server would linger for a while.
WINEPREFIX=$build/wine-prefix wineserver -k 2>/dev/null || true
echo "test-windows: build $((built - start)) s, tests $(($(date +%s) - built)) s"
exit "$status"
