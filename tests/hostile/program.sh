# Helpers for the checks that run the real program: the tray host, the
# program's process and what /proc says about it. Sourced after
# tests/e2e/lib.sh and e2e_setup.

# On a busy machine the tray host can lose its race with a slow display
# start and exit; the checks here need one, so it is started again.
ensure_tray_host() {
    local attempt
    for attempt in 1 2 3; do
        wait_until 10 xdpyinfo >/dev/null 2>&1 || continue
        kill -0 "${TRAYER_PID:-0}" 2>/dev/null || start_tray_host
        wait_until 10 sh -c 'xwininfo -root -tree 2>/dev/null | grep -q "\"trayer\""' && return 0
    done
    fail "no tray host on the virtual display"
}

# A command prefix that gives the program a Wednesday morning, its clock
# running on from there. The library is preloaded directly: the faketime
# wrapper would fork (so the wrapper, not the program, would be the child)
# and leave its shared-memory files behind when it is killed.
weekday_morning() {
    local library
    library=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)
    [ -n "$library" ] || fail "libfaketime is not installed"
    WEEKDAY_MORNING=(env "LD_PRELOAD=$library" "FAKETIME=@2026-12-09 10:00:00")
}

# The program's own process: a wrapper such as faketime may run it as a child,
# so the match is on the executable, not on the command line.
program_pid() {
    local pid
    for pid in $(pgrep -f "$WORK/app/talvane"); do
        [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$WORK/app/talvane" ] && { echo "$pid"; return 0; }
    done
    return 1
}

# mem_kib FIELD PID: VmRSS, VmHWM, ... from /proc/PID/status, in KiB
mem_kib() { sed -n "s/^$1:[[:space:]]*\([0-9]*\) kB/\1/p" "/proc/$2/status"; }

fd_count() { ls "/proc/$1/fd" | wc -l; }

thread_count() { sed -n 's/^Threads:[[:space:]]*//p' "/proc/$1/status"; }

mib() { echo $((($1 + 512) / 1024)); }

# True for a program built with AddressSanitizer: its memory figures say
# more about the sanitizer (shadow memory, a quarantine of freed blocks)
# than about the program, and it runs a few times slower.
sanitized_build() { readelf -d "$1" 2>/dev/null | grep -q 'libasan'; }

# Nothing a sanitizer build prints when it finds a fault.
no_sanitizer_report() {
    ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$1"
}
