#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (address and
# undefined-behaviour sanitizers) into build-fuzz/ and runs each for the given
# number of seconds, starting from its seed corpus in fuzz/<target>/corpus.
# Inputs the fuzzer finds new go to a scratch folder, never into the
# repository. Exits non-zero on the first finding (crash, sanitizer report,
# leak, timeout, out of memory); its input is kept in build-fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 25 seconds, every target
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-25}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(registry_reg metabase_xml answers config_inc)

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DTESSARON_FUZZ=ON -DTESSARON_BUILD_GUI=OFF -DTESSARON_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/#/fuzz_}"

findings="$root/$build/findings"
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
    echo "fuzz.sh: $target for ${seconds}s"
    mkdir -p "$scratch/$target"
    if ! "$build/fuzz/fuzz_$target" "$scratch/$target" "fuzz/$target/corpus" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -artifact_prefix="$findings/$target-" -print_final_stats=1 \
        >"$scratch/$target.log" 2>&1; then
        tail -n 60 "$scratch/$target.log"
        echo "fuzz.sh: $target found a fault; input kept in $findings/" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$scratch/$target.log" || true
    fi
done
exit $status
