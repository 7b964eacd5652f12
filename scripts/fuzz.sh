#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang with AddressSanitizer and UBSan) and runs
# one target, or every target in turn, for the given number of seconds each (default 30).
#   scripts/fuzz.sh [target|all] [seconds]
# Seeds come from fuzz/corpus/<target>/ and are never written to; what a run learns goes to
# build/fuzz/corpus/<target>/, and an input that breaks a target to build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

target="${1:-all}"
seconds="${2:-30}"

# Debian's clang and its libFuzzer runtime, on top of what every build needs.
bash scripts/install-deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
build=build/fuzz

if [ "$target" = all ]; then
    mapfile -t targets <"$build/fuzzers.txt"
else
    targets=("$target")
fi
cmake --build --preset fuzz --target "${targets[@]}"

# The targets write their input files into a private folder below TMPDIR; in memory, the
# INI target's safe writes (each one synced) cost no disk time.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

failed=()
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t" "$build/findings"
    echo "== $t: ${seconds} s"
    # -timeout: an input that takes longer is a hang (FUZZ_TIMEOUT seconds, more on a machine
    # that others share); -rss_limit_mb: one that eats memory.
    if ! "$build/fuzz/$t" "$build/corpus/$t" "fuzz/corpus/$t" \
        -max_total_time="$seconds" -timeout="${FUZZ_TIMEOUT:-30}" -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$t-" -print_final_stats=1 2>"$build/$t.log"; then
        failed+=("$t")
        tail -n 60 "$build/$t.log"
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$build/$t.log" || true
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzz findings in: ${failed[*]} (inputs in $build/findings/)" >&2
    exit 1
fi
