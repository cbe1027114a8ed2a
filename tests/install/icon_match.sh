#!/usr/bin/env bash
# The hand-drawn scalable icon must look like the icon the program draws for
# its tray: both at 128 px, compared pixel by pixel (root-mean-square
# difference of all channels, alpha included).
#   arguments: talvane-icon-export binary, packaging/talvane.svg
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$1" 128 "$work/drawn.png" 2>/dev/null || { echo "FAIL: icon export"; exit 1; }
rsvg-convert -w 128 -h 128 "$2" -o "$work/svg.png" || { echo "FAIL: rsvg-convert"; exit 1; }
difference=$(compare -metric RMSE "$work/drawn.png" "$work/svg.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
echo "normalised RMSE: $difference"
awk -v d="$difference" 'BEGIN { exit !(d + 0 < 0.04) }' || { echo "FAIL: the scalable icon differs from the drawn one"; exit 1; }
echo "PASS: icon_match"
