#!/usr/bin/env bash
# Runs the text tools' benchmark beside the matching shell commands on the same generated
# file of a million lines and prints each ratio (ours / reference; lower is better).
# Build first: cmake --preset bench && cmake --build --preset bench --target bench_texttools
# "file": read, decode, split and the tool, timed inside bench_texttools (the sort reads the
# lines where they stand in the decoded text and gives the sorted text in one string).
# "lines": the tool alone on lines already in memory as strings. The references run under
# this shell's locale, printed below; sort uses as many threads as there are cores.
# BENCH_TEXTTOOLS=path runs another build of bench_texttools (an older commit, say).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
bench=${BENCH_TEXTTOOLS:-$here/build/bench/bench/bench_texttools}
[[ -x $bench ]] || { echo "build bench_texttools first (preset bench)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input=$work/lines.txt
"$bench" --write-input="$input"
echo "input: $(wc -l <"$input") lines, $(du -m "$input" | cut -f1) MB; locale: ${LC_ALL:-${LANG:-C}}"

# The machine is shared, so each round runs the references and ours back to back, and the
# table keeps each one's fastest round (ROUNDS, default 3).
rounds=${ROUNDS:-3}

# Milliseconds of one run of a command.
run_ms() {
    local start end
    start=$(date +%s%N)
    bash -c "$1" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

declare -A refs=(
    [sort]="sort -f '$input'"
    [group]="awk '{k=toupper(\$0); if (!(k in c)) o[++n]=\$0; c[k]++} END {for (i=1;i<=n;i++) print o[i], c[toupper(o[i])]}' '$input'"
    [cut]="cut -c 5-14 '$input'"
    [csv]="sed 's/;/./g; s/^[[:blank:]]*//; s/[[:blank:]]*\$/;/' '$input' >'$work/ref.csv'"
)
: >"$work/refs.txt"
for round in $(seq "$rounds"); do
    for tool in sort group cut csv; do
        echo "$tool $(run_ms "${refs[$tool]}")" >>"$work/refs.txt"
    done
    "$bench" --input="$input" --benchmark_filter='^(sort|group|cut|csv)' \
        --benchmark_format=json >"$work/bench$round.json"
done
"$bench" --input="$input" --benchmark_filter=editorReplaceAndUndo \
    --benchmark_format=json >"$work/editor.json"

python3 - "$work" "$rounds" <<'PY'
import json, sys
work, rounds = sys.argv[1], int(sys.argv[2])
refs = {}
for line in open(f"{work}/refs.txt"):
    tool, ms = line.split()
    refs[tool] = min(refs.get(tool, float("inf")), float(ms))
runs = {}
for r in range(1, rounds + 1):
    for b in json.load(open(f"{work}/bench{r}.json"))["benchmarks"]:
        name = b["name"].split("/")[0]
        runs[name] = min(runs.get(name, float("inf")), b["real_time"])
names = {"sort": "sort -f", "group": "awk case-blind count", "cut": "cut -c", "csv": "sed"}
print(f"fastest of {rounds} rounds")
print(f"{'tool':6} {'reference':22} {'ref ms':>8} {'file ms':>8} {'ratio':>6} {'lines ms':>9} {'ratio':>6}")
for tool, name in names.items():
    ref, whole, logic = refs[tool], runs[tool + "FromFile"], runs[tool + "Lines"]
    print(f"{tool:6} {name:22} {ref:8.0f} {whole:8.0f} {whole / ref:6.2f} {logic:9.0f} {logic / ref:6.2f}")
editor = json.load(open(f"{work}/editor.json"))["benchmarks"][0]["real_time"]
print(f"editor replace + undo, 1,000,000 lines: {editor:.0f} ms")
PY
