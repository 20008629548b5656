#!/bin/sh
# Builds the settings/theme fuzz target with clang's libFuzzer and runs it for a bounded time.
#   tests/fuzz/run.sh [SECONDS]      (default 60; FUZZ_SECONDS works too; FUZZ_SEED=0 for a random seed)
# New inputs the fuzzer finds go to a scratch folder, so the kept corpus changes only by hand.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-${FUZZ_SECONDS:-60}}
out="$root/build/fuzz"
mkdir -p "$out"

sources=$(find "$root/src" -name '*.cpp' ! -name '*_win.cpp' | sort)
# shellcheck disable=SC2086
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" "$root/tests/fuzz/settings_fuzz.cpp" $sources -o "$out/settings_fuzz"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
cd "$out"
# A fixed seed by default, so that a test run explores the same inputs every time and a red run
# can be repeated; FUZZ_SEED=0 lets libFuzzer pick one for wider exploration by hand.
"$out/settings_fuzz" -seed="${FUZZ_SEED:-20261207}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 "$scratch" "$root/tests/fuzz/corpus"
