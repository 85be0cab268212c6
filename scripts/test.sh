#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the plain build, the
# whole suite again under AddressSanitizer + UndefinedBehaviorSanitizer, a
# minute of fuzzing the command line, and the threaded tests under
# ThreadSanitizer. The device tests record from a
# PulseAudio test input that this script starts and stops; every test runs
# on a private session bus, so that none reaches the desktop's programs.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs=$(nproc)

if [[ -z "${SORVELLA_PRIVATE_BUS:-}" ]]; then
  scripts/install-deps.sh
  exec env SORVELLA_PRIVATE_BUS=1 dbus-run-session -- "$0" "$@"
fi
eval "$(scripts/test-input.sh start)"
trap 'scripts/test-input.sh stop' EXIT

scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizers/ubsan.supp"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DSORVELLA_SANITIZE=address -DSORVELLA_BUILD_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The command-line parser against arbitrary input, for one minute.
scripts/fuzz.sh 60

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/tests/sanitizers/tsan.supp"
scripts/build.sh build-tsan -DCMAKE_BUILD_TYPE=Debug -DSORVELLA_SANITIZE=thread -DSORVELLA_BUILD_BENCH=OFF -- sorvella_threaded_tests
ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threaded
