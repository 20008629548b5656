#!/bin/sh
# Builds the settings/theme fuzz target with clang's libFuzzer and runs it for a bounded time.
#   tests/fuzz/run.sh [SECONDS]      (default 60; FUZZ_SECONDS works too)
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
"$out/settings_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 "$scratch" "$root/tests/fuzz/corpus"
