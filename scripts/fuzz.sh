#!/usr/bin/env bash
# Builds the command-line fuzz target with clang (libFuzzer, ASan, UBSan) into
# build-fuzz and runs it for a while: fuzz.sh [seconds, default 60].
# Findings (crash-*, timeout-*, leak-* inputs) land in build-fuzz/artifacts/
# and make the script fail; new inputs go to build-fuzz/corpus/, the seeds in
# tests/fuzz/corpus/ are only read.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-60}"

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORVELLA_FUZZ=ON \
  -DSORVELLA_BUILD_TESTS=OFF -DSORVELLA_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" --target sorvella_command_line_fuzz

mkdir -p build-fuzz/corpus build-fuzz/artifacts
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizers/ubsan.supp"
build-fuzz/tests/fuzz/sorvella_command_line_fuzz \
  -max_total_time="$seconds" -timeout=10 -max_len=16384 -rss_limit_mb=4096 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/artifacts/ \
  build-fuzz/corpus tests/fuzz/corpus
