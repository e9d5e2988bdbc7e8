#!/usr/bin/env bash
# Runs one fuzz target for as long as asked: tools/fuzz.sh playlist 3600
# Targets: settings, playlist, lyrics, filter.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?which target: settings, playlist, lyrics or filter}
seconds=${2:-60}
tools/install-deps.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVELUMO_SANITIZE=ON -DVELUMO_FUZZ=ON >/dev/null
cmake --build build-asan -j"$(nproc)" --target "fuzz_$target"
mkdir -p "build-asan/tests/fuzz-corpus/$target"
# The same memory limits as the test run's (tests/CMakeLists.txt).
memory_limits=(-rss_limit_mb=2048)
if [[ $target == playlist* ]]; then
  memory_limits=(-rss_limit_mb=384 -malloc_limit_mb=64)
fi
exec "build-asan/tests/fuzz_$target" -max_total_time="$seconds" -timeout=5 "${memory_limits[@]}" \
  "build-asan/tests/fuzz-corpus/$target" "tests/fuzz/corpus/$target"
