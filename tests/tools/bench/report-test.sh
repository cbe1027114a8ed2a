#!/usr/bin/env bash
# Checks the benchmark report writer on raw lines with known figures: the
# medians, ratios and verdicts, the start-up figures taken from the start-up
# rounds only, the machine as the raw lines describe it, and "n/a" rather
# than a verdict where figures are missing.
#   report-test.sh WRITE-REPORT DATA-DIR
set -uo pipefail
writer=$1
data=$2
failures=0

expect() {  # expect REPORT TEXT: REPORT contains the line fragment TEXT
    if ! grep -qF -- "$2" <<<"$1"; then
        echo "FAIL: report lacks: $2" >&2
        failures=$((failures + 1))
    fi
}

complete=$(python3 "$writer" "$data/raw-complete.txt") || { echo "FAIL: writer failed" >&2; exit 1; }
# The machine that ran the benchmark, not the one that writes the report.
expect "$complete" "| CPU | Test CPU 9000 @ 1.00GHz, 4 cores (\`nproc\`) |"
expect "$complete" "| Memory | 2.0 GiB |"
expect "$complete" "| System | Debian GNU/Linux 12 (bookworm), kernel 6.1.0-test |"
# Medians of 10/12/11 and 15/16/14; the warm-up and the memory rounds' starts do not count.
expect "$complete" "| Start-up: exec → icon drawn (median of 3) | 15.0 ms | 11.0 ms | 1.36 × | ≤ 1.3 × | **missed** by 0.06 ×"
expect "$complete" "| icon drawn (fastest run) | 14.0 ms | 10.0 ms |"
# Each start on a display of its own: medians of 32/34 and 25/27.
expect "$complete" "| Start-up on a fresh display and tray host each (median of 2) | 33.0 ms | 26.0 ms | 1.27 × | ≤ 1.3 × | met |"
expect "$complete" "| Idle memory: VmRSS 10 s after start-up (median of 1) | 1.1 MiB | 1.0 MiB | 1.10 × | ≤ 1.2 × | met |"
# The notifier's 250 ns lie above the bare timer's median (200) but within its runs (up to 300).
expect "$complete" "median 0.00 ms, runs up to 0.00 ms | met |"
expect "$complete" "| Idle wake-ups over 120 s (median of 1) | 2 | 0 | +2 | ≤ floor with a bare 60 s timer: 2 | met |"
expect "$complete" "| Pointer: repaints on moves that change nothing (worst of 1 runs) | 0 | | | 0 | met |"
expect "$complete" "| Pointer: handler time per move (median) | 1.50 µs | | | < 20 µs | met |"
# The card: median of 70/80/90 on Qt, one Win32 run below it.
expect "$complete" "| CPU over the card's lifetime (median of 3 and 1) | 80.0 ms | 60.0 ms | Win32 ≤ Qt: met |"
expect "$complete" "| loading libQt6Network.so.6 and its dependencies | +1.5 ms | +0.0 MiB |"
# The Windows rounds come after the Linux start-ups; their warm-up and memory starts do not count.
expect "$complete" "| Windows under Wine: exec → icon drawn (median of 2) | 760.0 ms | 510.0 ms | 1.49 × | ≤ 1.3 × | **missed** by 0.19 ×"
expect "$complete" "| Windows under Wine: VmRSS 10 s after start-up (median of 1) | 30.0 MiB | 20.0 MiB | 1.50 × |"
expect "$complete" "| visit report and event-list download on loopback, rows filled | +1.0 ms | |"
# Floor 510, with the DLLs 540, closed port 700, talvane 760; memory 20, 25, 30 MiB.
expect "$complete" "| loading the DLLs it loads beyond the floor's (Winsock, and Wine's WinHTTP with what it brings, for a moment) | +30.0 ms | +5.0 MiB |"
# Beside the floor with those DLLs: 760 / 540 and 30 / 25.
expect "$complete" "stands at 1.41 × for"
expect "$complete" "start-up and 1.20 × for VmRSS."
expect "$complete" "| the service's answers on loopback (visit report, event list, rows filled) | +60.0 ms | |"
expect "$complete" "Wine's search for a WPAD server), which the first request waits for | +150.0 ms | |"
expect "$complete" "(ole32.dll, WS2_32.dll, which"
expect "$complete" "and winhttp.dll, which its proxy lookup loads at start-up"
# (12 ms - 6 ms) over 60 ticks, and 12 wake-ups over 60 ticks.
expect "$complete" "100 µs of CPU and 0.20 wake-ups per tick above a bare tick"
# Largest difference first: libcurl (+80), the heap (+20), Qt (0).
mappings=$(grep -A4 '^| Mapping | Talvane |' <<<"$complete" | tail -n3)
expect "$mappings" "| libcurl.so.4 | 80 KiB | 0 KiB | +80 KiB |"
[ "$(head -n1 <<<"$mappings")" = "| libcurl.so.4 | 80 KiB | 0 KiB | +80 KiB |" ] ||
    { echo "FAIL: mappings out of order: $mappings" >&2; failures=$((failures + 1)); }

# Without idle and pointer lines the verdicts say so instead of passing.
partial=$(grep -v '^idle\|^pointer\|^machine' "$data/raw-complete.txt" | python3 "$writer" /dev/stdin) ||
    { echo "FAIL: writer failed on partial figures" >&2; exit 1; }
expect "$partial" "| Pointer: handler time per move (median) | n/a | | | < 20 µs | n/a (no figure) |"
expect "$partial" "≤ floor with a bare 60 s timer: n/a | n/a (no figure) |"
expect "$partial" "| CPU | n/a, n/a cores"
linux_only=$(grep -v 'label=win-' "$data/raw-complete.txt" | python3 "$writer" /dev/stdin)
expect "$linux_only" "| Windows under Wine: VmRSS 10 s after start-up (median of 0) | n/a | n/a | n/a | ≤ 1.2 × | n/a (no figure) |"
if grep -q '| met |' <<<"$(grep -E '^\| (Idle CPU|Idle wake|Pointer)' <<<"$partial")"; then
    echo "FAIL: a missing figure was reported as met" >&2
    failures=$((failures + 1))
fi

[ $failures = 0 ] && echo "PASS: benchmark report" || exit 1
