#!/usr/bin/env bash
# Fails when a tracked C or C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h' '*.c' | grep -v '^tests/fuzz/corpus/' || true)
# shellcheck disable=SC2086
if ! clang-format --dry-run --Werror $files; then
    echo "check-format: run 'clang-format -i' on the files above" >&2
    exit 1
fi
echo "check-format: $(echo "$files" | wc -w) files formatted"
