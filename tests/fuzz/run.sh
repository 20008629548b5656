#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer) and runs one for a bounded time.
#   tests/fuzz/run.sh NAME [SECONDS]   NAME is a tests/fuzz/NAME_fuzz.cpp; SECONDS 60 by default
#                                      (FUZZ_SECONDS works too; FUZZ_SEED=0 for a random seed)
#   tests/fuzz/run.sh --build          only builds them (scripts/test does this once first)
# The instrumented core is built once into build/fuzz and shared by every target; a lock keeps
# targets started side by side from building it twice. A target's kept corpus is
# tests/fuzz/corpus/NAME and its dictionary tests/fuzz/NAME.dict, when there are; new inputs the
# fuzzer finds go to a scratch folder, so the kept corpus changes only by hand.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/fuzz"
mkdir -p "$out"

(
  flock 9
  [ -f "$out/build.ninja" ] ||
    cmake -S "$root/tests/fuzz" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$out" -j "$(nproc)" >/dev/null
) 9>"$out/.build.lock"
[ "${1:-}" = --build ] && exit 0

name=${1:?"usage: tests/fuzz/run.sh NAME [SECONDS]"}
seconds=${2:-${FUZZ_SECONDS:-60}}
[ -x "$out/$name" ] || { echo "run.sh: no fuzz target $name (tests/fuzz/${name}_fuzz.cpp)" >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
corpus="$root/tests/fuzz/corpus/$name"
[ -d "$corpus" ] || corpus=
dictionary="$root/tests/fuzz/$name.dict"
[ -f "$dictionary" ] && dictionary="-dict=$dictionary" || dictionary=
cd "$scratch"
# A fixed seed by default, so that a test run explores the same inputs every time and a red run
# can be repeated; FUZZ_SEED=0 lets libFuzzer pick one for wider exploration by hand.
# shellcheck disable=SC2086
"$out/$name" -seed="${FUZZ_SEED:-20261207}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$out/$name-" $dictionary "$scratch" $corpus
