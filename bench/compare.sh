#!/usr/bin/env bash
# Side by side, on the same generated files: the shell pipeline a user would otherwise write
# (openssl | base64 | jq) against `vexloweb open` and `vexloweb load`, timed by hyperfine; bulk
# sealing; and the in-process load as a fraction of the floors beneath it. The last line sums up.
# Usage: bench/compare.sh [BUILD_DIR] [DOCUMENTS_DIR]
set -euo pipefail
build=${1:-build/bench}
docs=${2:-$(mktemp -d)}
tool=$build/tools/vexloweb
[ -f "$docs/doc-4k.io" ] || "$build/bench/make_documents" "$docs"
key=$(printf %s 7b1e40c9a3f85d26e0b94c1f3a7d2e58 | xxd -p -c 256)
iv=$(printf %s c30f8a61d2b4e975 | xxd -p -c 256)

median() { jq -r ".results[] | select(.command == \"$2\") | .median" "$1"; }
ratios=()
# BENCH_RUNS_SMALL, BENCH_RUNS_LARGE and BENCH_MIN_TIME make a short run (make bench-smoke).
for size in 4k 16m; do
  runs=$([ "$size" = 4k ] && echo "${BENCH_RUNS_SMALL:-200}" || echo "${BENCH_RUNS_LARGE:-10}")
  out=$docs/compare-$size.json
  hyperfine --style basic --warmup 3 --runs "$runs" --export-json "$out" \
    -n peer "openssl enc -d -aes-256-cbc -K $key -iv $iv -a -A -in $docs/doc-$size.io | base64 -d | jq -c . >/dev/null" \
    -n open "$tool open $docs/doc-$size.io >/dev/null" \
    -n load "$tool load --bundle $docs --defaults $docs/compare.sqlite3 doc-$size >/dev/null" \
    >/dev/null 2>&1
  peer=$(median "$out" peer)
  for command in open load; do
    value=$(median "$out" "$command")
    ratio=$(awk -v a="$peer" -v b="$value" 'BEGIN { printf "%.1f", a / b }')
    printf '%-4s %-5s median %9.3f ms   peer %9.3f ms   %sx faster\n' "$size" "$command" \
      "$(awk -v v="$value" 'BEGIN { print v * 1000 }')" "$(awk -v v="$peer" 'BEGIN { print v * 1000 }')" "$ratio"
    ratios+=("$command/$size ${ratio}x")
  done
done

rm -rf "$docs/sealed"
hyperfine --style basic --runs "${BENCH_RUNS_LARGE:-5}" --export-json "$docs/seal.json" \
  -n seal "$tool seal -o $docs/sealed/ $docs/many/*.json" >/dev/null 2>&1
seal_ms=$(jq -r '.results[0].median * 1000' "$docs/seal.json")
printf 'seal of 1000 documents of 4 KiB in one call: median %.1f ms\n' "$seal_ms"

# In process: the end-to-end load against the sum of its floors, as throughput of the document.
"$build/bench/stages_bench" --benchmark_filter='(ReadConfigurationMemoryStore|Floor.*)/(4096|16777216)$' \
  --benchmark_min_time="${BENCH_MIN_TIME:-0.5}" --benchmark_format=json >"$docs/inprocess.json" 2>/dev/null
fraction() {
  jq -r --arg n "$1" '[.benchmarks[] | select(.name | endswith("/" + $n))] as $b
    | ($b | map(select(.name | startswith("Floor"))) | map(.real_time) | add) as $floors
    | ($b | map(select(.name | startswith("ReadConfiguration"))) | .[0].real_time) as $load
    | "\($floors / $load * 100 | floor)% of the floors (load \($load | floor) us, floors \($floors | floor) us)"' \
    "$docs/inprocess.json"
}
echo "in-process load, 4 KiB: $(fraction 4096)"
echo "in-process load, 16 MiB: $(fraction 16777216)"
printf 'summary: peer pipeline / vexloweb: %s; bulk seal %.0f ms\n' "$(IFS=';'; echo "${ratios[*]}" | sed 's/;/, /g')" "$seal_ms"
