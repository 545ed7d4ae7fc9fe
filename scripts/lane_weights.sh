#!/usr/bin/env bash
# Writes tests/scripts/lane_weights.txt from the log of a whole test run (scripts/test.sh):
# every case of two seconds or more, with its whole seconds, longest first.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
log="${1:-$BUILD_DIR/Testing/Temporary/LastTest.log}"
out="$ROOT/tests/scripts/lane_weights.txt"
{
  sed -n '1,/^# makes the lanes less even\.$/p' "$out"
  tr -d '\r' <"$log" | sed -nE 's/^\[       OK \] ([^ ]+) \(([0-9]+) ms\)$/\2 \1/p' | sort -rn |
    awk '$1 >= 2000 { printf "%d %s\n", ($1 + 500) / 1000, $2 }'
} >"$out.new"
mv "$out.new" "$out"
echo "lane_weights: $(grep -c '^[0-9]' "$out") cases written to $out"
