#!/usr/bin/env bash
# The real program with settings files that are awkward to read or cannot be
# written: a byte-order mark, CRLF endings, a 10 MiB file, a value of
# 10,000 bytes, a read-only file, a read-only folder. Each case starts the
# program against the demo service and looks at the client number its visit
# report carries and at the file afterwards: read what can be read, write
# only the one line it must, keep every other byte, and never stop working
# because a write fails.
# As root the read-only cases use read-only bind mounts, since root writes
# through permission bits.
. "$(dirname "$0")/../lib/desktop.sh"
e2e_setup "$@"
ensure_tray_host || fail "no tray host on the virtual display"
start_demo
# Never the real user's folder, whatever a case does to the program's own.
export XDG_CONFIG_HOME="$WORK/config"
mkdir -p "$XDG_CONFIG_HOME"

INI=$WORK/app/setting.ini
STORED=123451234567890123456789
isolated=${TALVANE_E2E_ISOLATED:-}

# begin NAME: a fresh program folder state and an empty request log
begin() {
    CASE=$1
    stop_talvane
    : >"$WORK/requests.log"
    rm -f "$INI"
    rm -rf "${XDG_CONFIG_HOME:?}"/*
}

# The client number in the visit report of this start.
visit_number() {
    wait_until 10 grep -q 'GET /EndUsers/visit.aspx' "$WORK/requests.log" || fail "$CASE: no visit report"
    sed -n 's#.* GET /EndUsers/visit.aspx?id=\(.*\)&sjs=[0-9]*$#\1#p' "$WORK/requests.log" | head -n1
}

start() {
    start_talvane
    wait_until 10 grep -q 'GET /EndUsers/Clientnew.aspx' "$WORK/requests.log" || fail "$CASE: start-up did not reach the event list"
}

# The program is still there and answers a tray click after the case.
still_working() {
    xdotool mousemove --window "$ICON" 10 10 click 1
    wait_for_panel || fail "$CASE: a tray click did not show the panel"
    click_panel 225 8
    wait_until 5 panel_hidden || fail "$CASE: the put-away glyph did not hide the panel"
    kill -0 "$(program_pid)" 2>/dev/null || fail "$CASE: the program ended"
}

unchanged() {  # unchanged BEFORE-COPY
    cmp -s "$INI" "$1" || fail "$CASE: the settings file changed"
    [ "$(stat -c %Y "$INI")" = "$(stat -c %Y "$1")" ] || fail "$CASE: the settings file was rewritten"
}

# The file with its sysNumber line taken out, for comparing the rest.
without_key() { grep -av '^sysNumber=' "$1"; }

# Paths made read-only are made writable again on the way out, whatever
# happens, so that the harness can clean up.
read_only_paths=()
trap 'for p in "${read_only_paths[@]}"; do make_writable "$p" 2>/dev/null; done; e2e_teardown' EXIT

make_read_only() {  # make_read_only PATH
    read_only_paths+=("$1")
    if [ -n "$isolated" ]; then
        mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" || fail "$CASE: cannot make $1 read-only"
    else
        chmod a-w "$1"
    fi
}
make_writable() {
    if [ -n "$isolated" ]; then
        ! mountpoint -q "$1" || umount "$1"
    else
        chmod u+w "$1"
    fi
}

# -- A byte-order mark and CRLF endings: the stored number is read, nothing
#    is written.
begin bom-crlf
printf '\xEF\xBB\xBF; written by another editor\r\n[systemsetting]\r\nsysNumber=%s\r\n' "$STORED" >"$INI"
touch -d 2020-01-01 "$INI"
cp -p "$INI" "$WORK/before"
start
[ "$(visit_number)" = "$STORED" ] || fail "$CASE: visit report carries $(visit_number), not the stored number"
unchanged "$WORK/before"
still_working

# -- A 10 MiB file with the key at its very end.
begin big-file
{
    printf '[filler]\n'
    awk 'BEGIN { for (i = 0; i < 400000; i++) printf "key%d=some value of the filler\n", i }' | head -c $((10 * 1024 * 1024))
    printf '\n[systemsetting]\nsysNumber=%s\n' "$STORED"
} >"$INI"
touch -d 2020-01-01 "$INI"
cp -p "$INI" "$WORK/before"
begin_ms=$(date +%s%3N)
start
startup_ms=$(($(date +%s%3N) - begin_ms))
[ "$(visit_number)" = "$STORED" ] || fail "$CASE: visit report carries $(visit_number)"
[ "$startup_ms" -lt 5000 ] || fail "$CASE: start-up took $startup_ms ms"
unchanged "$WORK/before"
still_working

# -- A value of 10,000 bytes is no client number: a new one replaces it, in
#    the one line, and comments, other sections, blank lines, CRLF endings
#    and the byte-order mark all stay byte for byte.
begin long-value-write
{
    printf '\xEF\xBB\xBF; settings\r\n[other]\r\n  spaced key =  "quoted value"  \r\n\r\n'
    printf '[systemsetting]\r\n; the client number follows\r\nsysNumber='
    head -c 10000 /dev/zero | tr '\0' 7
    printf '\r\nafter=1\r\n[\xD6\xD0\xCE\xC4]\r\nk=\xD6\xD0\r\n'
} >"$INI"
cp "$INI" "$WORK/before"
start
number=$(visit_number)
[[ $number =~ ^[0-9]{24}$ ]] || fail "$CASE: visit report carries '${number:0:40}...', not a new 24-digit number"
grep -aq "^sysNumber=$number"$'\r'"\$" "$INI" || fail "$CASE: the new number is not in the file as one CRLF line"
cmp -s <(without_key "$INI") <(without_key "$WORK/before") || fail "$CASE: bytes besides the key line changed"
still_working

# -- A read-only file that needs a new number: the write fails quietly, the
#    program goes on with the new number, the file stays as it was.
begin read-only-file
printf '[systemsetting]\nsysNumber=short\n' >"$INI"
touch -d 2020-01-01 "$INI"
cp -p "$INI" "$WORK/before"
make_read_only "$INI"
start
[[ $(visit_number) =~ ^[0-9]{24}$ ]] || fail "$CASE: visit report carries $(visit_number)"
unchanged "$WORK/before"
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "$CASE: something was written to the configuration folder"
still_working
stop_talvane
make_writable "$INI"
[ "$(ls -A "$WORK/app" | grep -c '^\.setting')" = 0 ] || fail "$CASE: a temporary file was left behind"

# -- A read-only program folder and a read-only configuration folder: the
#    program starts and runs without any place to write.
begin read-only-folders
printf '[systemsetting]\nsysNumber=short\n' >"$INI"
touch -d 2020-01-01 "$INI"
cp -p "$INI" "$WORK/before"
ls -A "$WORK/app" >"$WORK/listing.before"
make_read_only "$WORK/app"
make_read_only "$XDG_CONFIG_HOME"
start
[[ $(visit_number) =~ ^[0-9]{24}$|^unknown%20value$ ]] || fail "$CASE: visit report carries $(visit_number)"
unchanged "$WORK/before"
still_working
stop_talvane
make_writable "$XDG_CONFIG_HOME"
make_writable "$WORK/app"
ls -A "$WORK/app" | cmp -s - "$WORK/listing.before" || fail "$CASE: the program folder changed: $(ls -A "$WORK/app")"
[ -z "$(ls -A "$XDG_CONFIG_HOME")" ] || fail "$CASE: something was written to the configuration folder"

no_sanitizer_report "$WORK/talvane.out" || fail "sanitizer report: $(cat "$WORK/talvane.out")"
e2e_pass
