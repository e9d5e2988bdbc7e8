#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; exits non-zero on any failure.
# Two builds: a Release build runs every test, and a build with AddressSanitizer,
# UndefinedBehaviorSanitizer and leak detection runs the unit, widget and engine tests
# again and fuzzes every reader of outside text for a bounded time.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# -O1 with line tables only: reports still name file and line, and the build stays quick.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" \
  -DCMAKE_CXX_COMPILER=clang++ -DVELUMO_SANITIZE=ON -DVELUMO_FUZZ=ON >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j"$jobs" -L 'unit|player|widget|engine|fuzz')
