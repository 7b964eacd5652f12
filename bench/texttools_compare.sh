#!/usr/bin/env bash
# Runs the text tools' benchmark beside the matching shell commands on the same generated
# file of a million lines and prints each ratio (ours / reference; lower is better).
# Build first: cmake --preset bench && cmake --build --preset bench --target bench_texttools
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
bench=${BENCH_TEXTTOOLS:-$here/build/bench/bench/bench_texttools}
[[ -x $bench ]] || { echo "build bench_texttools first (preset bench)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input=$work/lines.txt
"$bench" --write-input="$input"
echo "input: $(wc -l <"$input") lines, $(du -m "$input" | cut -f1) MB; locale: ${LC_ALL:-${LANG:-C}}"

# Milliseconds of the fastest of three runs of a command.
best_ms() {
    local best=""
    for _ in 1 2 3; do
        local start end ms
        start=$(date +%s%N)
        bash -c "$1" >/dev/null
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        [[ -z $best || $ms -lt $best ]] && best=$ms
    done
    echo "$best"
}

ref_sort=$(best_ms "sort -f '$input'")
ref_group=$(best_ms "awk '{k=toupper(\$0); if (!(k in c)) o[++n]=\$0; c[k]++} END {for (i=1;i<=n;i++) print o[i], c[toupper(o[i])]}' '$input'")
ref_cut=$(best_ms "cut -c 5-14 '$input'")
ref_csv=$(best_ms "sed 's/;/./g; s/^[[:blank:]]*//; s/[[:blank:]]*\$/;/' '$input' >'$work/ref.csv'")

"$bench" --input="$input" --benchmark_format=json >"$work/bench.json"

python3 - "$work/bench.json" "$ref_sort" "$ref_group" "$ref_cut" "$ref_csv" <<'PY'
import json, sys
runs = {b["name"].split("/")[0]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]}
refs = {"sort": ("sort -f", float(sys.argv[2])), "group": ("awk case-blind count", float(sys.argv[3])),
        "cut": ("cut -c", float(sys.argv[4])), "csv": ("sed", float(sys.argv[5]))}
print(f"{'tool':6} {'reference':22} {'ref ms':>8} {'file ms':>8} {'ratio':>6} {'lines ms':>9} {'ratio':>6}")
for tool, (name, ref) in refs.items():
    whole, logic = runs[tool + "FromFile"], runs[tool + "Lines"]
    print(f"{tool:6} {name:22} {ref:8.0f} {whole:8.0f} {whole / ref:6.2f} {logic:9.0f} {logic / ref:6.2f}")
print(f"editor replace + undo, 1,000,000 lines: {runs['editorReplaceAndUndo']:.0f} ms")
PY
