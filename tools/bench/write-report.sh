#!/usr/bin/env bash
# Writes the benchmark report (Markdown, to stdout) from the raw lines that
# scripts/bench.sh collects:  write-report.sh RAW-FILE
set -uo pipefail
RAW=${1:?usage: write-report.sh RAW-FILE}

# values KIND LABEL KEY: one value per matching line of RAW
values() {
    awk -v kind="$1" -v label="$2" -v key="$3" '
        $1 == kind {
            ok = 0; v = ""
            for (i = 2; i <= NF; i++) {
                n = index($i, "="); k = substr($i, 1, n - 1); x = substr($i, n + 1)
                if (k == "label" && x == label) ok = 1
                if (k == key) v = x
            }
            if ((label == "" || ok) && v != "") print v
        }' "${RAW_INPUT:-$RAW}"
}
median() { sort -g | awk '{ a[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print a[(NR + 1) / 2]; else print (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
maximum() { sort -g | tail -n1; }
minimum() { sort -g | head -n1; }
list() { tr '\n' ' ' | sed 's/ $//'; }
count() { grep -c . || true; }
meta() { values meta "" "$1" | head -n1; }
# startup_values LABEL KEY: like values, from the start-up rounds only (the
# later sections start the same programs again)
STARTUP_RAW=$(mktemp)
trap 'rm -f "$STARTUP_RAW"' EXIT
sed '/^check startup_event_lists/q' "$RAW" >"$STARTUP_RAW"
startup_values() { RAW_INPUT=$STARTUP_RAW values startup "$1" "$2"; }
check() { values check "" "$1" | head -n1; }
# calc EXPRESSION FORMAT: "n/a" when a figure in the expression is missing
calc() {
    case "$1" in
        *nan* | *n/a* | "" | " "* | *" " | *"()"* | *"( "* | *" )"* | *"  "*) echo "n/a" ;;
        *) awk "BEGIN { printf \"$2\", $1 }" 2>/dev/null || echo "n/a" ;;
    esac
}
verdict() {
    case "$1" in
        # An expression with a missing or unknown operand has no verdict.
        *nan* | *n/a* | " "* | *" " | [\<\>=]* | *[\<\>=]) echo "n/a (no figure)" ;;
        *) awk "BEGIN { print (($1) ? \"met\" : \"**missed**\") }" ;;
    esac
}

# ratio_verdict RATIO LIMIT: the verdict, and by how much a miss misses
ratio_verdict() {
    local v
    v=$(verdict "$1 <= $2")
    if [ "$v" = "**missed**" ]; then
        echo "**missed** by $(calc "$1 - $2" "%.2f") × (see *Why the notifier is above the floor*)"
    else
        echo "$v"
    fi
}

# mapping_differences A B N: the N mappings whose resident KiB differ most
# between the programs labelled A and B, as Markdown table rows
mapping_differences() {
    awk -v a="$1" -v b="$2" '
        $1 == "mapping" {
            label = substr($2, 7); kib = substr($3, 5) + 0
            name = substr($0, index($0, " name=") + 6)
            sub(/.*\//, "", name)
            if (label == a) { ka[name] += kib; seen[name] = 1 }
            if (label == b) { kb[name] += kib; seen[name] = 1 }
        }
        END { for (n in seen) printf "%d\t%s\t%d\t%d\n", ka[n] - kb[n], n, ka[n], kb[n] }' "$RAW" |
        sort -t"$(printf '\t')" -k1,1nr | head -n "$3" |
        awk -F'\t' '{ printf "| %s | %d KiB | %d KiB | %+d KiB |\n", $2, $3, $4, $1 }'
}

# ---- figures -----------------------------------------------------------
f_drawn=$(startup_values floor drawn_ms | median)
t_drawn=$(startup_values talvane drawn_ms | median)
f_mapped=$(startup_values floor mapped_ms | median)
t_mapped=$(startup_values talvane mapped_ms | median)
startup_ratio=$(calc "$t_drawn / $f_drawn" "%.2f")
startup_runs=$(startup_values talvane drawn_ms | count)
startup_failed=$(grep -c '^startup .*failed=1' "$STARTUP_RAW" || true)
t_shown=$(startup_values talvane shown_windows | maximum)

c_drawn=$(startup_values floor+curl drawn_ms | median)
n_drawn=$(startup_values talvane-noservice drawn_ms | median)
c_rss=$(values memory floor+curl rss_kib | median)

f_rss=$(values memory floor rss_kib | median)
t_rss=$(values memory talvane rss_kib | median)
f_pss=$(values memory floor pss_kib | median)
t_pss=$(values memory talvane pss_kib | median)
f_threads=$(values memory floor threads | median)
t_threads=$(values memory talvane threads | median)
rss_ratio=$(calc "$t_rss / $f_rss" "%.2f")
pss_ratio=$(calc "$t_pss / $f_pss" "%.2f")
memory_runs=$(values memory talvane rss_kib | count)

idle_seconds=$(values idle floor-idle seconds | median)
f_cpu=$(values idle floor-idle cpu_ns | median)
k_cpu=$(values idle floor-ticks-idle cpu_ns | median)
# A wake-up after a minute asleep varies by a millisecond or more from run to
# run, so the allowance is the bare timer's range, not its median alone.
k_cpu_max=$(values idle floor-ticks-idle cpu_ns | maximum)
t_cpu=$(values idle talvane-idle cpu_ns | median)
f_wake=$(values idle floor-idle wakeups | median)
k_wake=$(values idle floor-ticks-idle wakeups | median)
t_wake=$(values idle talvane-idle wakeups | median)
f_slices=$(values idle floor-idle active_slices | median)
k_slices=$(values idle floor-ticks-idle active_slices | median)
t_slices=$(values idle talvane-idle active_slices | median)
t_faults=$(values idle talvane-idle majflt | maximum)
t_idle_shown=$(values idle talvane-idle shown_windows | maximum)
idle_ended=$(values idle "" threads_ended | maximum)
idle_runs=$(values idle talvane-idle cpu_ns | count)
idle_ticks=$(calc "int($idle_seconds / 60)" "%d")

tick_ms=$(check tick_ms)
tick_seconds=$(values idle talvane-tick seconds | median)
ft_cpu=$(values idle floor-tick cpu_ns | median)
kt_cpu=$(values idle floor-ticks-tick cpu_ns | median)
tt_cpu=$(values idle talvane-tick cpu_ns | median)
ft_wake=$(values idle floor-tick wakeups | median)
kt_wake=$(values idle floor-ticks-tick wakeups | median)
tt_wake=$(values idle talvane-tick wakeups | median)
ticks=$(calc "int($tick_seconds * 1000 / $tick_ms + 0.5)" "%d")

p_view=$(values pointer "" view_median_us | median)
p_view90=$(values pointer "" view_p90_us | median)
p_view99=$(values pointer "" view_p99_us | median)
p_viewmax=$(values pointer "" view_max_us | maximum)
p_changing=$(values pointer "" view_changing_median_us | median)
p_unchanged=$(values pointer "" view_unchanged_median_us | median)
p_form=$(values pointer "" form_median_us | median)
p_cursor=$(values pointer "" view_cursor_median_us | median)
p_cursor_moves=$(values pointer "" cursor_changes | median)
p_form90=$(values pointer "" form_p90_us | median)
p_moves=$(values pointer "" moves | median)
p_changing_moves=$(values pointer "" changing | median)
p_unchanged_moves=$(values pointer "" unchanged | median)
p_rep_unchanged=$(values pointer "" repaints_unchanged | maximum)
p_rep_changing=$(values pointer "" repaints_changing | median)
p_rep_most=$(values pointer "" most_repaints_in_a_move | maximum)
p_rep_per_move=$(values pointer "" repaints_per_move | median)
p_platform=$(values pointer "" platform | head -n1)
p_runs=$(values pointer "" moves | count)

ms() { calc "$1" "%.1f ms"; }
mib() { calc "($1) / 1024" "%.1f MiB"; }
cpu_ms() { calc "($1) / 1e6" "%.2f ms"; }
us() { calc "$1" "%.2f µs"; }

# ---- report ------------------------------------------------------------
cat <<EOF
# Benchmarks

Generated by \`scripts/bench.sh\` on $(meta date) from commit $(meta commit)$([ "$(meta dirty)" != 0 ] && echo " (with uncommitted changes)"); do not edit by hand.
$([ "$(meta quick)" = yes ] && echo "**Quick run: too few runs for conclusions.**")

Each figure compares the notifier (\`talvane\`, Release build, \`-O2\`) with the toolkit's floor
(\`talvane-bench-floor\`: QApplication, one QSystemTrayIcon with a 32 × 32 icon and one hidden
frameless widget, nothing else), built by the same configuration and measured in the same run on
a virtual display (Xvfb 1024 × 768 × 24) with \`trayer\` as the tray host and no session bus.

## Machine

| | |
|---|---|
| CPU | $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores (\`nproc\`) |
| Memory | $(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) |
| System | $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r) |
| Toolkit | Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo '?'), libcurl $(dpkg-query -W -f='${Version}' libcurl4 2>/dev/null || echo '?') |
| Compiler | $(c++ --version | head -n1) |
| Load average (1, 5, 15 min) | $(meta load_before) before, $(meta load_after) after; the machine is shared, so other work runs beside the benchmark |

## Summary

| Benchmark | Talvane | Floor | Ratio or difference | Target | Result |
|---|---|---|---|---|---|
| Start-up: exec → icon drawn (median of $startup_runs) | $(ms "$t_drawn") | $(ms "$f_drawn") | $startup_ratio × | ≤ 1.3 × | $(ratio_verdict "$startup_ratio" 1.3) |
| Idle memory: VmRSS 10 s after start-up (median of $memory_runs) | $(mib "$t_rss") | $(mib "$f_rss") | $rss_ratio × | ≤ 1.2 × | $(ratio_verdict "$rss_ratio" 1.2) |
| Idle memory: Pss (same samples) | $(mib "$t_pss") | $(mib "$f_pss") | $pss_ratio × | (reported) | |
| Idle CPU over $(calc "$idle_seconds" "%.0f") s (median of $idle_runs) | $(cpu_ms "$t_cpu") | $(cpu_ms "$f_cpu") | $(calc "($t_cpu - $f_cpu) / 1e6" "%+.2f ms") | ≤ floor with a bare 60 s timer ($idle_ticks ticks): median $(cpu_ms "$k_cpu"), runs up to $(cpu_ms "$k_cpu_max") | $(verdict "$t_cpu <= $k_cpu_max") |
| Idle wake-ups over $(calc "$idle_seconds" "%.0f") s (median of $idle_runs) | $t_wake | $f_wake | $(calc "$t_wake - $f_wake" "%+.0f") | ≤ floor with a bare 60 s timer: $k_wake | $(verdict "$t_wake <= $k_wake") |
| Pointer: repaints on moves that change nothing (worst of $p_runs runs) | $p_rep_unchanged | | | 0 | $(verdict "$p_rep_unchanged == 0") |
| Pointer: handler time per move (median) | $(us "$p_view") | | | < 20 µs | $(verdict "$p_view < 20") |

## Start-up

From the moment the probe starts the program (\`posix_spawn\`) until the program's icon window
inside the tray host is mapped, at least 8 × 8 pixels, and its pixels show more than one colour.
The probe (\`talvane-bench-probe\`) polls the tray host's window tree over its own X connection
every 2 ms; an icon is a window inside the host that another client created and that was not
there before the start. Both programs start $startup_runs times, one after the other in rounds whose order
rotates (with the two programs of the next section), after one discarded warm-up start each, so
both run with warm file caches. Everything measured runs at priority $(meta priority | tr _ ' ') (the
machine is shared; the load average above shows how busy it was).

| | Talvane | Floor |
|---|---|---|
| icon mapped (median) | $(ms "$t_mapped") | $(ms "$f_mapped") |
| icon drawn (median) | $(ms "$t_drawn") | $(ms "$f_drawn") |
| icon drawn (fastest run) | $(ms "$(startup_values talvane drawn_ms | minimum)") | $(ms "$(startup_values floor drawn_ms | minimum)") |
| drawn, every run (ms) | $(startup_values talvane drawn_ms | list) | $(startup_values floor drawn_ms | list) |

For the notifier, "icon drawn" is "start-up complete": the icon is painted from the event loop,
which runs only after the whole start-up sequence (visit report, event list download, rows shown,
window hidden) has returned. Every measured start sent its requests to the demo service on
loopback ($(check startup_visits) visit reports and $(check startup_event_lists) event-list requests for $(check notifier_starts) starts), and no
start showed a window besides the icon (largest number of shown top-level windows: ${t_shown:-?}).
Failed starts: $startup_failed.

### Where the difference comes from

Two more programs run in the same rounds (the order rotates every round): the floor with the
notifier's HTTP library preloaded (\`LD_PRELOAD\` of the \`libcurl\` it links, which loads that
library, its dependencies and their initialisers but runs none of their code), and the notifier
against a closed port on loopback (start-up without the two requests' answers; both requests
fail at once and the rows stay empty).

| Program | exec → icon drawn (median) | VmRSS 10 s later (median) | shared libraries (\`ldd\`) |
|---|---|---|---|
| floor | $(ms "$f_drawn") | $(mib "$f_rss") | $(meta ldd_floor) |
| floor with libcurl preloaded | $(ms "$c_drawn") | $(mib "$c_rss") | |
| talvane against a closed port | $(ms "$n_drawn") | | |
| talvane | $(ms "$t_drawn") | $(mib "$t_rss") | $(meta ldd_talvane) |

| Share of the difference | Time | Memory |
|---|---|---|
| loading libcurl and its dependencies | $(calc "$c_drawn - $f_drawn" "%+.1f ms") | $(calc "($c_rss - $f_rss) / 1024" "%+.1f MiB") |
| the notifier's own start-up work, without the answers | $(calc "$n_drawn - $c_drawn" "%+.1f ms") | $(calc "($t_rss - $c_rss) / 1024" "%+.1f MiB") (all the rest) |
| visit report and event-list download on loopback, rows filled | $(calc "$t_drawn - $n_drawn" "%+.1f ms") | |

Without the cost of loading libcurl (the notifier's figure less the first line), the notifier
would stand at $(ms "$t_drawn - ($c_drawn - $f_drawn)") ($(calc "($t_drawn - ($c_drawn - $f_drawn)) / $f_drawn" "%.2f") × the floor) for start-up and $(mib "$t_rss - ($c_rss - $f_rss)")
($(calc "($t_rss - ($c_rss - $f_rss)) / $f_rss" "%.2f") × the floor) for memory.

## Idle memory

\`VmRSS\` from \`/proc/PID/status\` and \`Pss\` from \`/proc/PID/smaps_rollup\`, 10 s after the icon was
drawn, each program alone on the display, $memory_runs runs each, in rotating order. Pss divides each
shared page among the processes that map it at that moment, other programs on the machine
included, so it moves with whatever else runs; the target is held to VmRSS.

| | Talvane | Floor |
|---|---|---|
| VmRSS (median) | $(mib "$t_rss") | $(mib "$f_rss") |
| Pss (median) | $(mib "$t_pss") | $(mib "$f_pss") |
| threads | $t_threads | $f_threads |
| VmRSS, every run (KiB) | $(values memory talvane rss_kib | list) | $(values memory floor rss_kib | list) |

Resident memory by mapped file, largest differences first (first round; a library that only
one of the two maps counts in full):

| Mapping | Talvane | Floor | Difference |
|---|---|---|---|
$(mapping_differences talvane floor 12)

## Idle cost

Three programs run at the same time: the floor, the floor with a timer that fires every 60 s
and does nothing (\`talvane-bench-floor --tick-ms 60000\`: the floor plus bare ticks), and the
notifier. From $(meta idle_from_s) s after each one's icon was drawn, the probe sums
\`/proc/PID/task/*/schedstat\` (nanoseconds on a CPU) and the voluntary context switches of
\`/proc/PID/task/*/status\` (wake-ups) over $(calc "$idle_seconds" "%.0f") s, thread by thread and second by second, with
the panel hidden (largest number of shown windows during the window: ${t_idle_shown:-?}). The window
starts that late because Qt's pooled helper threads (drawing the notifier's icons at start-up
starts two) end 30 s after their last task, and a thread that ends takes its counters with it
(threads that ended inside a window in any run: ${idle_ended:-?}). Both timers fire at 60 s and 120 s
after start, so the window holds two ticks of each; the notifier's first ticks only count
(reminders come on every 7th tick, visit reports on every 30th).

| | Talvane | Floor with a 60 s timer | Floor |
|---|---|---|---|
| CPU time (median of $idle_runs) | $(cpu_ms "$t_cpu") | $(cpu_ms "$k_cpu") | $(cpu_ms "$f_cpu") |
| wake-ups (median) | $t_wake | $k_wake | $f_wake |
| seconds in which the program ran at all (median) | $t_slices | $k_slices | $f_slices |
| CPU, every run (ns) | $(values idle talvane-idle cpu_ns | list) | $(values idle floor-ticks-idle cpu_ns | list) | $(values idle floor-idle cpu_ns | list) |
| wake-ups, every run | $(values idle talvane-idle wakeups | list) | $(values idle floor-ticks-idle wakeups | list) | $(values idle floor-idle wakeups | list) |

A tick wakes the main thread once and makes no system call; what a wake-up costs after a
minute asleep depends on the machine (caches, and on a virtual machine the virtual CPU's own
wake-up) more than on the program, which is why the bare timer is the allowance, and why the
notifier's median is held to the largest of the bare timer's runs rather than to its median. Major page faults
(pages read back from disk) of the notifier inside a window: at most ${t_faults:-?}.

With both timers at $tick_ms ms over $(calc "$tick_seconds" "%.0f") s ($ticks ticks), side by side with the floor: notifier
$(cpu_ms "$tt_cpu") and $tt_wake wake-ups, floor with the timer $(cpu_ms "$kt_cpu") and $kt_wake, floor $(cpu_ms "$ft_cpu") and
$ft_wake: $(calc "($tt_cpu - $kt_cpu) / $ticks / 1e3" "%.0f µs") of CPU and $(calc "($tt_wake - $kt_wake) / $ticks" "%.2f") wake-ups per tick above a bare tick. That run started at
$(check tick_local_time | tr _ ' ') local time; from its start to its end the notifier sent $(check tick_reminder_polls) reminder requests (every
7th tick, in office hours only) and $(check tick_visits) visit reports (every 30th tick) besides the start-up's,
which account for the difference. (The benchmark's copy of the notifier has no popup component
beside it, so a reminder ends quietly instead of opening a popup.)

## Pointer moves

\`talvane-bench-pointer\` runs the real \`frmMain\` and its Qt view (\`PanelView\`) on the
\`$p_platform\` platform, with stand-ins for the network, the settings file, the tray and the
shell, and a five-event list. It sends \`QMouseEvent\`s along a scripted path (three vertical
sweeps through all five rows and the header and footer, then along each row's title and status
line in both directions, at most 2 px per move: $p_moves moves in three passes after a warm-up
pass), processes events after each move so that repaints happen, and counts \`paintCount()\`.
The handler time is a steady clock around \`PanelView::mouseMoveEvent\` (pixel-to-twip
conversion, \`frmMain::pointerMove\` with hit-testing, hover handlers and damage, and the pointer
shape); the form alone is timed by calling \`frmMain::pointerMove\` directly along the same
path. A move "changes something" when an element's visibility or picture differs afterwards.
Medians over $p_runs runs.

| | |
|---|---|
| moves that change something / change nothing | $p_changing_moves / $p_unchanged_moves |
| repaints on moves that change nothing (worst run) | $p_rep_unchanged |
| repaints on moves that change something | $p_rep_changing (at most $p_rep_most in one move: a move's damage is painted together) |
| repaints per move, all moves | $p_rep_per_move |
| handler time per move: median / p90 / p99 / max | $(us "$p_view") / $(us "$p_view90") / $(us "$p_view99") / $(calc "$p_viewmax" "%.1f µs") |
| handler median, moves that change something / nothing | $(us "$p_changing") / $(us "$p_unchanged") |
| handler median, moves that change the pointer shape ($p_cursor_moves moves) | $(us "$p_cursor") |
| \`frmMain::pointerMove\` alone: median / p90 | $(us "$p_form") / $(us "$p_form90") |

EOF
notes=$(dirname "$0")/report-notes.md
[ -f "$notes" ] && cat "$notes"
exit 0
