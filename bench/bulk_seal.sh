#!/usr/bin/env bash
# Bulk sealing, the cost of durability: `vexloweb seal -o DIR/` of 1,000 documents of 4 KiB into
# a fresh folder, RUNS times for each tool given (the median and the spread), on the file system
# of DIR, which should be a real disk (a tmpfs syncs for free). Give two builds to compare them.
# Usage: bench/bulk_seal.sh DIR TOOL... (e.g. build/quick/tools/vexloweb)
set -euo pipefail
dir=$1
shift
runs=${RUNS:-11}
mkdir -p "$dir/many"
# The example document, its about_text grown to make 4 KiB, under 1,000 names.
python3 - "$dir/many" "$(dirname "$0")/../examples/example.json" <<'PY'
import json, pathlib, sys
folder, example = pathlib.Path(sys.argv[1]), json.loads(pathlib.Path(sys.argv[2]).read_text())
text = json.dumps(example)
example["about_text"] = example.get("about_text", "") + "x" * max(0, 4096 - len(text))
for i in range(1000):
    (folder / f"app{i}.json").write_text(json.dumps(example))
PY
for tool in "$@"; do
  for _ in $(seq "$runs"); do
    rm -rf "$dir/sealed"
    start=$(date +%s%N)
    "$tool" seal -o "$dir/sealed/" "$dir"/many/*.json
    echo $(( ($(date +%s%N) - start) / 1000000 ))
  done | sort -n | awk -v t="$tool" '{v[NR]=$1} END {
    printf "%s: median %d ms (min %d, max %d, %d runs)\n", t, v[int((NR+1)/2)], v[1], v[NR], NR}'
done
rm -rf "$dir/sealed"
