#!/usr/bin/env bash
# Runs a command with a virtual X display of its own for Wine:
#   with-xvfb.sh command [arguments...]
# Xvfb picks a free display number; Wine gets it through TALVANE_WINE_DISPLAY
# (tests/lib/wine-run.sh keeps Wine off any other display).
set -euo pipefail

numberFile=$(mktemp "${TMPDIR:-/tmp}/xvfb-display.XXXXXX")
exec 8>"$numberFile"
Xvfb -displayfd 8 -noreset -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 8>&-
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$numberFile"' EXIT
for _ in $(seq 100); do
    [ -s "$numberFile" ] && break
    sleep 0.1
done
[ -s "$numberFile" ] || { echo "Xvfb did not start" >&2; exit 1; }

TALVANE_WINE_DISPLAY=:$(head -n1 "$numberFile") "$@"
