#!/usr/bin/env bash
# The first readConfiguration in a fresh process, 50 processes each: with an in-memory store and
# with the SQLite store (an existing file, its open included). Then the peak memory of one load of
# each generated size against the file's size.
# Usage: bench/cold_start.sh [BUILD_DIR] [DOCUMENTS_DIR]
set -euo pipefail
build=${1:-build/bench}
docs=${2:-$(mktemp -d)}
[ -f "$docs/doc-4k.io" ] || "$build/bench/make_documents" "$docs"
runs=${COLD_RUNS:-50}

summary() {  # reads one number a line; prints median, p10, p90, min, max
  sort -n | awk '{v[NR]=$1} END {
    printf "median %.1f us  p10 %.1f  p90 %.1f  min %.1f  max %.1f  (%d runs)\n",
      v[int((NR+1)/2)], v[int(NR*0.1)+1], v[int(NR*0.9)], v[1], v[NR], NR}'
}

store=$docs/cold.sqlite3
"$build/bench/cold_start" "$docs" doc-4k "$store" >/dev/null  # create the store once
echo "cold readConfiguration, 4 KiB document, in-memory store:"
for _ in $(seq $runs); do "$build/bench/cold_start" "$docs" doc-4k | cut -d' ' -f1; done | summary
echo "cold readConfiguration, 4 KiB document, SQLite store (existing file, open included):"
for _ in $(seq $runs); do "$build/bench/cold_start" "$docs" doc-4k "$store" | cut -d' ' -f1; done | summary

echo "peak memory of one load (growth of the peak RSS over the call) against the file:"
for size in 4k 64k 1m 16m; do
  file_kib=$(( $(stat -c %s "$docs/doc-$size.io") / 1024 ))
  peak_kib=$("$build/bench/cold_start" "$docs" "doc-$size" | cut -d' ' -f2)
  awk -v s="$size" -v f="$file_kib" -v p="$peak_kib" 'BEGIN {
    printf "  %-4s file %8d KiB  peak +%8d KiB  = %.2f x file (limit 5 x file + 2048 KiB: %s)\n",
      s, f, p, p / f, (p <= 5 * f + 2048) ? "met" : "MISSED" }'
done
