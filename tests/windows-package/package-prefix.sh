# Shared steps of the Windows package checks: one fresh Wine prefix and a
# home of its own inside the work folder, the virtual display, packages
# built by scripts/package-windows.sh, silent msiexec and the Run value.
#   . tests/windows-package/package-prefix.sh
#   package_prefix_setup NAME "$@"   (then start_virtual_display, wineboot)
#   arguments: Windows build folder (or a folder holding the two binaries),
#              artifact dir, work dir, expected version, demo service binary
. "$(dirname "${BASH_SOURCE[0]}")/../lib/desktop.sh"

package_prefix_setup() {
    WINDOWS_BUILD=$2
    ARTIFACTS=$3/$1
    WORK=$4
    VERSION=$5
    DEMO_BIN=$6
    rm -rf "$WORK" "$ARTIFACTS"
    mkdir -p "$ARTIFACTS" "$WORK"
    export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LC_ALL=zh_CN.UTF-8
    # Wine links the user's Desktop and other folders into the home folder
    # and copies Start-menu entries there: give it one inside the work folder.
    export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
    export XDG_CACHE_HOME=$WORK/home/.cache
    mkdir -p "$HOME"
    trap package_prefix_cleanup EXIT
}

package_prefix_cleanup() {
    local status=$?
    [ -n "${READ_ONLY:-}" ] && umount "$READ_ONLY" 2>/dev/null
    wineserver -k 2>/dev/null
    # The prefix is large; a failed run keeps it for a look.
    [ "$status" != 0 ] || rm -rf "$WINEPREFIX"
    [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
    stop_virtual_display
    cp "$WORK"/*.log "$ARTIFACTS/" 2>/dev/null
}

build_package() {  # build_package OUTPUT VERSION [package-windows.sh options...]
    local out=$1 version=$2
    shift 2
    TALVANE_PACKAGE_SKIP_SETUP=1 TALVANE_WINDOWS_BUILD_DIR=$WINDOWS_BUILD TALVANE_PACKAGE_VERSION=$version \
        "$E2E_ROOT/scripts/package-windows.sh" "$@" --demo "$out" >>"$WORK/package.log" 2>&1 ||
        fail "scripts/package-windows.sh $* failed: $(tail -n 20 "$WORK/package.log")"
}

# property PACKAGE NAME: a value of the package's Property table
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }

msiexec_qn() {  # msiexec_qn /i|/x PACKAGE [PROPERTY=VALUE...]: the installer's status
    wine msiexec "$@" /qn >>"$WORK/msiexec.log" 2>&1
}

# run_value [HKCU|HKLM]: the Run value's data, empty when there is none.
# Wine's output goes to a file: its helper processes keep a pipe open.
run_value() {
    wine reg query "${1:-HKCU}\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" /v Talvane >"$WORK/reg.out" 2>&1 ||
        return 0
    tr -d '\r' <"$WORK/reg.out" | sed -n 's/^ *Talvane *REG_SZ *//p'
}
