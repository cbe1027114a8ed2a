#!/usr/bin/env bash
# Builds Talvane with AddressSanitizer and UndefinedBehaviorSanitizer
# (TALVANE_WITH_ASAN) in a build folder of its own and runs the tests there:
# the unit tests, then the end-to-end checks, whose real program, demo and
# hostile services all carry the sanitizers too.
#   scripts/sanitize.sh [--unit-only]
# Every sanitizer report of any process goes to <build>/sanitizer-logs/; the
# script fails when a test fails or when that folder holds a report, so a
# fault in a program that a check only watches from outside still counts.
# Environment: TALVANE_SANITIZE_BUILD_DIR (default build-asan),
# TALVANE_SANITIZE_JOBS (default 2).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
unit_only=0
case "${1:-}" in
"") ;;
--unit-only) unit_only=1 ;;
*)
    echo "usage: $0 [--unit-only]" >&2
    exit 2
    ;;
esac

build=${TALVANE_SANITIZE_BUILD_DIR:-$root/build-asan}
jobs=${TALVANE_SANITIZE_JOBS:-2}
# -O1 keeps the instrumented tests quick without hiding much from the reports.
# Warnings are not errors here: the instrumentation misleads GCC's flow
# analysis into false "may be used uninitialized" reports inside libstdc++
# (<regex>); the ordinary build keeps warnings as errors.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DTALVANE_WITH_ASAN=ON -DTALVANE_WERROR=OFF >/dev/null
cmake --build "$build" -j"$jobs"

logs=$build/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
suppressions=$root/scripts/sanitize-leaks.supp
# verify_asan_link_order=0: the clock checks run the program under
# faketime, whose library is preloaded ahead of the sanitizer's runtime.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:log_path=$logs/asan:detect_stack_use_after_return=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$logs/ubsan"
export LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0"

# Under the sanitizers the soak is there for the leak check at its end;
# 3,000 ticks (some 430 reminder popups) do for that and save a minute.
export SOAK_TICKS=${SOAK_TICKS:-3000}

status=0
# The Windows checks run Wine programs: nothing of theirs is instrumented.
labels=(-LE 'e2e|windows')
[ $unit_only = 1 ] || labels=(-LE windows)
# No session bus: Qt then talks to the X11 tray of the virtual display.
env -u DBUS_SESSION_BUS_ADDRESS ctest --test-dir "$build" --output-on-failure -j"$jobs" \
    "${labels[@]}" || status=1

reports=$(find "$logs" -type f -size +0 | sort)
if [ -n "$reports" ]; then
    status=1
    echo "sanitize: reports in $logs:" >&2
    for report in $reports; do
        echo "---- $report" >&2
        head -n 60 "$report" >&2
    done
fi
[ $status = 0 ] && echo "sanitize: all tests passed without sanitizer reports"
exit $status
