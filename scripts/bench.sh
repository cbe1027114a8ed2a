#!/usr/bin/env bash
# Benchmarks Talvane against the toolkit's floor (a bare Qt tray program of
# the same build) and regenerates docs/benchmarks.md with the figures.
#   scripts/bench.sh            full run, about 12 minutes on 2 cores
#   scripts/bench.sh --quick    a few short runs to try the machinery; the
#                               report goes to the build folder instead
#   scripts/bench.sh [--quick] --windows
#                               also measure talvane.exe under Wine (done
#                               anyway when Wine and build-windows/ exist)
# Builds a Release configuration (-O2, like the program) in build-bench-release/
# (TALVANE_BENCH_BUILD_DIR), then measures on a virtual display with a tray
# host: start-up, idle memory and idle cost side by side with the floor,
# interleaved, and the pointer-move handler of the real panel.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

quick=no
windows=auto
for arg in "$@"; do
    case $arg in
        --quick) quick=yes ;;
        --windows) windows=yes ;;
        *) echo "usage: scripts/bench.sh [--quick] [--windows]" >&2; exit 2 ;;
    esac
done
# The Windows program runs under the 64-bit loader itself: Debian's wine
# wrapper warns about a missing 32-bit Wine on every start.
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine || true)
win_build=${TALVANE_BENCH_WINDOWS_BUILD_DIR:-$root/build-windows}
if [ $windows = auto ]; then
    [ -n "$WINE" ] && [ -d "$win_build" ] && windows=yes || windows=no
fi

# The program allows one instance per user. As root the whole run gets the
# namespaces of the end-to-end checks (private /tmp and /run/user, loopback
# only), so it never meets an instance that a developer or a test has running.
. "$root/tests/lib/desktop.sh"
[ -n "${TALVANE_E2E_ISOLATED:-}" ] ||
    echo "bench: no private namespaces here (they need root); a running talvane of this user will make its runs fail" >&2

if [ $quick = yes ]; then
    startup_runs=3 fresh_runs=2 memory_runs=1 idle_runs=1 idle_seconds=10 tick_seconds=10 pointer_runs=1 settle=2
    card_runs=1
else
    startup_runs=15 fresh_runs=9 memory_runs=5 idle_runs=3 idle_seconds=120 tick_seconds=60 pointer_runs=5 settle=30
    card_runs=3
fi
memory_after=10
short_tick_ms=1000

build=${TALVANE_BENCH_BUILD_DIR:-$root/build-bench-release}
echo "bench: building the Release configuration in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DTALVANE_BUILD_TESTS=OFF >/dev/null || exit 1
cmake --build "$build" -j2 --target talvane talvane-demo-service talvane-bench-floor talvane-bench-probe \
    talvane-bench-pointer talvane-bench-card || exit 1
bin=$build/bin
if [ $windows = yes ]; then
    echo "bench: building talvane.exe and the Win32 floor in $win_build"
    [ -n "$WINE" ] || { echo "bench: --windows needs Wine (wine, wine64)" >&2; exit 1; }
    [ -f "$win_build/build.ninja" ] || cmake --preset windows >/dev/null || exit 1
    cmake --build "$win_build" -j2 --target talvane talvane_displaymsg_win talvane-bench-floor-win \
        talvane-bench-card-win || exit 1
fi

# Other work on a shared machine stretches start-ups by tens of
# milliseconds; a higher priority for everything measured from here on
# (display, tray host, service and programs alike) keeps that out.
renice -n -10 $$ >/dev/null 2>&1 && priority="nice -10" || priority="normal"

WORK=$(mktemp -d /tmp/talvane-bench.XXXXXX)
DEMO_PID=""
cleanup() {
    [ -n "$DEMO_PID" ] && kill "$DEMO_PID" 2>/dev/null
    [ -z "${WINE_KEEPER:-}" ] || { exec 8>&-; wineserver -k 2>/dev/null; }
    stop_virtual_display
    rm -rf "$WORK"
}
trap cleanup EXIT

# Both programs start from the same kind of place with the same environment.
# The notifier gets a private copy with a stored client number, so that its
# settings file is this run's own and start-up never has to write one.
mkdir -p "$WORK/app" "$WORK/floor" "$WORK/run"
chmod 700 "$WORK/run"
export XDG_RUNTIME_DIR=$WORK/run
cp "$bin/talvane" "$WORK/app/talvane"
printf '[systemsetting]\nsysNumber=123452026120910000054321\n' >"$WORK/app/setting.ini"
cp "$bin/talvane-bench-floor" "$WORK/floor/talvane-bench-floor"
TALVANE=$WORK/app/talvane
FLOOR=$WORK/floor/talvane-bench-floor
PROBE=$bin/talvane-bench-probe
RAW=$WORK/raw.txt
: >"$RAW"

start_virtual_display
DEMO_BIN=$bin/talvane-demo-service
start_demo
unset TALVANE_TICK_MS QT_QPA_PLATFORM

# machine KEY VALUE: a raw line describing this machine (VALUE may hold spaces)
machine() { printf 'machine %s=%s\n' "$1" "$2"; }

# probe LABEL [probe options...] -- COMMAND: one measured start, lines to RAW
probe() {
    "$PROBE" --label "$@" >>"$RAW" 2>>"$WORK/programs.err"
    sleep 0.3  # let the tray host settle after the icon leaves
}
requests_matching() { grep -c "$1" "$WORK/requests.log" || true; }
notifier_starts=0

# Two more programs show where a difference comes from: the floor with the
# notifier's HTTP library preloaded (loading it and its dependencies), and
# the notifier against a closed port (everything but the two requests).
# The HTTP library is whichever of Qt Network and libcurl the notifier links.
http_lib=$(ldd "$TALVANE" | awk '/libQt6Network|libcurl/ { print $3; exit }')
http_library=$(basename "${http_lib:-none}")
http_package=$( [ -n "$http_lib" ] && dpkg -S "$(readlink -f "$http_lib")" 2>/dev/null | head -n1 | cut -d: -f1)
echo "meta http_library=$http_library" >>"$RAW"
{
    echo "meta date=$(date -u '+%Y-%m-%dT%H:%M:%SZ')"
    echo "meta commit=$(git -C "$root" rev-parse --short HEAD)"
    echo "meta dirty=$(git -C "$root" status --porcelain -- app platform service settings tools/bench | wc -l)"
    echo "meta load_before=$(cut -d' ' -f1-3 /proc/loadavg | tr ' ' ,)"
    echo "meta quick=$quick"
    echo "meta priority=${priority// /_}"
    echo "meta idle_from_s=$((memory_after + settle))"
    # The machine that ran the benchmark, for the report.
    machine cpu "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)"
    machine cores "$(nproc)"
    machine memory_kib "$(awk '/^MemTotal:/ { print $2 }' /proc/meminfo)"
    machine system "$(. /etc/os-release && echo "$PRETTY_NAME")"
    machine kernel "$(uname -r)"
    machine qt "$(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null)"
    machine http_library "$http_library $(dpkg-query -W -f='${Version}' "$http_package" 2>/dev/null)"
    machine compiler "$(c++ --version | head -n1)"
} >>"$RAW"

closed_port=http://127.0.0.1:9
# run_program LABEL [probe options...]: one start of the program LABEL names
run_program() {
    local label=$1
    shift
    case $label in
        floor) probe floor "$@" -- "$FLOOR" ;;
        talvane) probe talvane "$@" -- "$TALVANE"; notifier_starts=$((notifier_starts + 1)) ;;
        floor+http) LD_PRELOAD=$http_lib probe floor+http "$@" -- "$FLOOR" ;;
        talvane-noservice) TALVANE_SERVICE_URL=$closed_port probe talvane-noservice "$@" -- "$TALVANE" ;;
    esac
}
# rotated N PROGRAMS...: the programs in the order for round N, each one
# first in turn, so that none always follows the same neighbour.
rotated() {
    local n=$1
    shift
    local programs=("$@")
    local k=$((n % ${#programs[@]}))
    echo "${programs[@]:k}" "${programs[@]:0:k}"
}

{
    echo "meta ldd_floor=$(ldd "$FLOOR" | wc -l) ldd_talvane=$(ldd "$TALVANE" | wc -l)"
} >>"$RAW"

startup_programs=(floor talvane floor+http talvane-noservice)
echo "bench: start-up, $startup_runs rounds of ${startup_programs[*]} after one warm-up start each"
probe warmup-floor -- "$FLOOR"
probe warmup-talvane -- "$TALVANE"
notifier_starts=$((notifier_starts + 1))
for i in $(seq 1 "$startup_runs"); do
    for program in $(rotated "$i" "${startup_programs[@]}"); do
        run_program "$program"
    done
done
# A login starts the notifier on a display and tray host that have just
# come up, with nothing of a program's run before on them: each start of
# these rounds gets a new Xvfb and trayer of its own (file caches stay warm).
new_display() {
    kill "$TRAYER_PID" "$XVFB_PID" 2>/dev/null
    wait "$TRAYER_PID" "$XVFB_PID" 2>/dev/null
    start_virtual_display
    ensure_tray_host || echo "bench: no tray host on the new display" >&2
}
echo "bench: start-up on a fresh display each, $fresh_runs rounds of floor talvane"
for i in $(seq 1 "$fresh_runs"); do
    for program in $(rotated "$i" floor talvane); do
        new_display
        case $program in
            floor) probe fresh-floor -- "$FLOOR" ;;
            talvane) probe fresh-talvane -- "$TALVANE"; notifier_starts=$((notifier_starts + 1)) ;;
        esac
    done
done
new_display
echo "check startup_event_lists=$(requests_matching 'Clientnew.aspx') startup_visits=$(requests_matching 'visit.aspx') notifier_starts=$notifier_starts" >>"$RAW"

memory_programs=(floor talvane floor+http)
echo "bench: idle memory ${memory_after} s after start-up, $memory_runs rounds of ${memory_programs[*]}"
for i in $(seq 1 "$memory_runs"); do
    for program in $(rotated "$i" "${memory_programs[@]}"); do
        if [ "$i" = 1 ]; then
            # Once per program: where the resident memory lies, by mapped file.
            run_program "$program" --memory-after $memory_after --rss-by-mapping "$WORK/rss.$program"
            sed "s/^\([0-9]*\) /mapping label=$program kib=\1 name=/" "$WORK/rss.$program" >>"$RAW"
        else
            run_program "$program" --memory-after $memory_after
        fi
    done
done

# side_by_side LABEL_SUFFIX SECONDS TICK_MS [env assignments for the
# notifier...]: the floor, the floor with a bare timer of TICK_MS and the
# notifier run at once, each idle for SECONDS from `settle` seconds after
# its memory point: Qt's pooled helper threads end 30 s after their last
# task, and a thread that ends inside the window takes its counters along.
side_by_side() {
    local suffix=$1 seconds=$2 tick_ms=$3
    shift 3
    local out=$WORK/side.$suffix options=(--memory-after $memory_after --settle $settle --idle "$seconds")
    "$PROBE" --label "floor$suffix" "${options[@]}" -- "$FLOOR" >"$out.floor" 2>>"$WORK/programs.err" &
    local floor_probe=$!
    wait_for_line '^startup' "$out.floor"
    "$PROBE" --label "floor-ticks$suffix" "${options[@]}" -- "$FLOOR" --tick-ms "$tick_ms" \
        >"$out.floor-ticks" 2>>"$WORK/programs.err" &
    local ticks_probe=$!
    wait_for_line '^startup' "$out.floor-ticks"
    env "$@" "$PROBE" --label "talvane$suffix" "${options[@]}" -- "$TALVANE" \
        >"$out.talvane" 2>>"$WORK/programs.err"
    wait "$floor_probe" "$ticks_probe"
    cat "$out.floor" "$out.floor-ticks" "$out.talvane" >>"$RAW"
    sleep 0.3
}
wait_for_line() {  # wait_for_line PATTERN FILE: at most 10 s
    for _ in $(seq 1 200); do
        grep -q "$1" "$2" 2>/dev/null && return
        sleep 0.05
    done
}

# The Windows program and the Win32 floor under Wine, measured as above:
# exec of `wine PROGRAM.exe` to the icon drawn in the tray host (Wine's
# explorer.exe docks it there), and the memory of the program's own Wine
# process. One prefix kept in the Windows build folder (a fresh one costs
# seconds); a Windows process that waits for input keeps the prefix's
# explorer.exe running between starts, as Explorer is on Windows.
bench_windows() {
    export WINEPREFIX=$win_build/bench-wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        LC_ALL=zh_CN.UTF-8
    mkdir -p "$WINEPREFIX" "$WORK/win-app" "$WORK/win-floor"
    [ -f "$WINEPREFIX/system.reg" ] || "$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 </dev/null
    cp "$win_build/bin/talvane.exe" "$win_build/bin/Flarebox.DisplayMsg.dll" "$WORK/win-app/"
    printf '[systemsetting]\r\nsysNumber=123452026120910000054321\r\n' >"$WORK/win-app/setting.ini"
    cp "$win_build/bin/talvane-bench-floor-win.exe" "$WORK/win-floor/"
    mkfifo "$WORK/wine-keeper"
    "$WINE" cmd.exe <"$WORK/wine-keeper" >"$WORK/wine-keeper.out" 2>&1 &
    WINE_KEEPER=$!
    exec 8>"$WORK/wine-keeper"
    {
        machine wine "$("$WINE" --version 2>/dev/null)"
        machine cross_compiler "$(x86_64-w64-mingw32-g++ --version 2>/dev/null | head -n1)"
    } >>"$RAW"
    # As on Linux, two more programs show where the difference goes: the
    # floor loading the notifier's static imports that it lacks (and WinHTTP
    # for a moment), and the notifier against a closed port.
    local imports floor_imports extra_dlls passing_dlls
    imports=$(x86_64-w64-mingw32-objdump -p "$WORK/win-app/talvane.exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    floor_imports=$(x86_64-w64-mingw32-objdump -p "$WORK/win-floor/talvane-bench-floor-win.exe" |
        sed -n 's/^[[:space:]]*DLL Name: //p')
    extra_dlls=$(grep -vixF -f <(echo "$floor_imports") <<<"$imports" | paste -sd, -)
    # WinHTTP is loaded at run time by the proxy lookup at start-up, and
    # unloaded again once the lookup has answered.
    passing_dlls=winhttp.dll
    echo "meta windows_extra_dlls=${extra_dlls:-none}" >>"$RAW"
    echo "meta windows_passing_dlls=$passing_dlls" >>"$RAW"
    # Wine's prefix, like a Windows user's default settings, has the proxy
    # detected automatically: a search for a WPAD server that the first
    # request waits for. One more program runs with the settings saying
    # "direct", which shows what that search costs.
    local settings_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections'
    internet_settings() {  # internet_settings direct|default
        if [ "$1" = direct ]; then
            "$WINE" reg add "$settings_key" /v DefaultConnectionSettings /t REG_BINARY /f \
                /d "460000000200000001000000000000000000000000000000$(printf '%064d' 0)" >/dev/null 2>&1
        else
            "$WINE" reg delete "$settings_key" /v DefaultConnectionSettings /f >/dev/null 2>&1
        fi
    }
    internet_settings default
    local programs=(win-floor win-talvane win-floor+dlls win-talvane-noservice win-talvane-direct) i program options
    run_windows() {
        case $1 in
            win-floor) shift; probe win-floor --process talvane-bench-floor-win.exe "$@" -- \
                "$WINE" "$WORK/win-floor/talvane-bench-floor-win.exe" ;;
            win-floor+dlls) shift; probe win-floor+dlls --process talvane-bench-floor-win.exe "$@" -- \
                "$WINE" "$WORK/win-floor/talvane-bench-floor-win.exe" ${extra_dlls:+--load "$extra_dlls"} \
                --load-and-free "$passing_dlls" ;;
            win-talvane) shift; probe win-talvane --process talvane.exe "$@" -- "$WINE" "$WORK/win-app/talvane.exe" ;;
            win-talvane-noservice) shift; TALVANE_SERVICE_URL=$closed_port probe win-talvane-noservice \
                --process talvane.exe "$@" -- "$WINE" "$WORK/win-app/talvane.exe" ;;
            win-talvane-direct) shift; internet_settings direct
                probe win-talvane-direct --process talvane.exe "$@" -- "$WINE" "$WORK/win-app/talvane.exe"
                internet_settings default ;;
        esac
    }
    echo "bench: Windows start-up under Wine, $startup_runs rounds of ${programs[*]} after one warm-up start each"
    echo "meta windows_rounds=$startup_runs" >>"$RAW"
    probe warmup-win-floor --process talvane-bench-floor-win.exe -- "$WINE" "$WORK/win-floor/talvane-bench-floor-win.exe"
    probe warmup-win-talvane --process talvane.exe -- "$WINE" "$WORK/win-app/talvane.exe"
    for i in $(seq 1 "$startup_runs"); do
        for program in $(rotated "$i" "${programs[@]}"); do
            run_windows "$program"
        done
    done
    echo "check windows_startups=$(grep -c '^startup label=win-' "$RAW")" >>"$RAW"
    programs=(win-floor win-talvane win-floor+dlls)
    echo "bench: Windows memory ${memory_after} s after start-up, $memory_runs rounds of ${programs[*]}"
    for i in $(seq 1 "$memory_runs"); do
        for program in $(rotated "$i" "${programs[@]}"); do
            if [ "$i" = 1 ]; then
                run_windows "$program" --memory-after $memory_after --rss-by-mapping "$WORK/rss.$program"
                sed "s/^\([0-9]*\) /mapping label=$program kib=\1 name=/" "$WORK/rss.$program" >>"$RAW"
            else
                run_windows "$program" --memory-after $memory_after
            fi
        done
    done
    echo "bench: the Windows reminder card's CPU over its lifetime under Wine, $card_runs runs"
    cp "$win_build/bin/talvane-bench-card-win.exe" "$WORK/win-app/"
    for i in $(seq 1 "$card_runs"); do
        "$WINE" "$WORK/win-app/talvane-bench-card-win.exe" >"$WORK/card-win.out" 2>>"$WORK/programs.err" </dev/null
        cat "$WORK/card-win.out" >>"$RAW"
    done
}

echo "bench: idle cost over $idle_seconds s, $idle_runs runs side by side"
for i in $(seq 1 "$idle_runs"); do
    side_by_side -idle "$idle_seconds" 60000
done

echo "bench: ticks every $short_tick_ms ms over $tick_seconds s, side by side"
before_reminders=$(requests_matching 'ClientReminderNew.aspx')
before_visits=$(requests_matching 'visit.aspx')
side_by_side -tick "$tick_seconds" $short_tick_ms TALVANE_TICK_MS=$short_tick_ms
echo "check tick_local_time=$(date '+%a_%H:%M') tick_ms=$short_tick_ms tick_reminder_polls=$(($(requests_matching 'ClientReminderNew.aspx') - before_reminders)) tick_visits=$(($(requests_matching 'visit.aspx') - before_visits - 1))" >>"$RAW"

echo "bench: pointer sweep over the real panel, $pointer_runs runs"
for i in $(seq 1 "$pointer_runs"); do
    "$bin/talvane-bench-pointer" 3 >>"$RAW" 2>>"$WORK/programs.err"
done
echo "bench: the reminder card's CPU over its lifetime, $card_runs runs"
for i in $(seq 1 "$card_runs"); do
    "$bin/talvane-bench-card" >>"$RAW" 2>>"$WORK/programs.err"
done
if [ $windows = yes ]; then
    bench_windows
else
    echo "bench: no Windows part (it needs Wine and $win_build, or --windows)"
fi
echo "meta load_after=$(cut -d' ' -f1-3 /proc/loadavg | tr ' ' ,)" >>"$RAW"

if [ $quick = yes ]; then
    report=$build/benchmarks-quick.md
else
    report=$root/docs/benchmarks.md
fi
cp "$RAW" "$build/bench-raw.txt"
mkdir -p "$(dirname "$report")"
python3 "$root/tools/bench/write-report.py" "$RAW" >"$report" || exit 1
echo "bench: raw figures in $build/bench-raw.txt; report written to $report"
grep -q 'failed=1' "$RAW" && { echo "bench: some runs failed; see the report" >&2; exit 1; }
exit 0
