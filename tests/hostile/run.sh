#!/usr/bin/env bash
# Runs check.sh for every mode of the hostile service and sums up. As root
# each check has a mount namespace of its own (tests/lib/desktop.sh), so several
# run at once: the two that wait out the HTTP time-outs first, the quick
# ones beside them. Without root they take turns.
# Usage: run.sh [--doc FILE] talvane hostile-service components artifacts [mode...]
#   --doc FILE   also write the figures into FILE's "hostile" block
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
doc=""
if [ "${1:-}" = --doc ]; then
    doc=$2
    shift 2
fi
[ $# -ge 4 ] || {
    echo "usage: $0 [--doc FILE] talvane hostile-service components artifacts [mode...]" >&2
    exit 2
}
talvane=$1 hostile=$2 components=$3 artifacts=$4/hostile
shift 4
modes=(silent trickle huge random random-page invalid-gbk redirect-loop reset flood separators
    redirect-away foreign-link)
[ $# -gt 0 ] && modes=("$@")
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    jobs=${HOSTILE_JOBS:-3}
else
    jobs=1
fi
mkdir -p "$artifacts"

start=$SECONDS
for mode in "${modes[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    bash "$here/check.sh" "$mode" "$talvane" "$hostile" "$components" "$artifacts" \
        >"$artifacts/$mode.out" 2>&1 &
done
wait

failed=0
table="| Mode | Start-up done (s) | Peak RSS (MiB) | RSS at the end (MiB) | Open descriptors | Connections |
|---|---:|---:|---:|---:|---:|"
for mode in "${modes[@]}"; do
    if grep -q '^PASS' "$artifacts/$mode.out"; then
        echo "PASS: hostile $mode"
        read -r _ startup hwm rss fds connections <"$artifacts/$mode/check/figures.txt"
        table+=$'\n'"| $mode | $startup | $hwm | $rss | $fds | $connections |"
    else
        failed=1
        echo "FAIL: hostile $mode"
        sed 's/^/    /' "$artifacts/$mode.out"
        table+=$'\n'"| $mode | failed | | | | |"
    fi
done
echo "$table"
echo "hostile suite: $((SECONDS - start)) s"
if [ -n "$doc" ]; then
    . "$here/../lib/doc-block.sh"
    printf '%s\n\n%s.\n' "$table" "$(measured_on)" | replace_doc_block "$doc" hostile
fi
exit $failed
