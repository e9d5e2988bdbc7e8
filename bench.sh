#!/usr/bin/env bash
# Builds a Release build and prints the player's speed and memory figures beside a floor
# program. Nothing is asserted: it prints figures.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh debian-packages.txt bench-packages.txt
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target velumo engineprobe
cmake -S bench/floor -B build-bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j"$(nproc)"
/usr/bin/python3 bench/engine_bench.py --probe build/tests/engineprobe
/usr/bin/python3 bench/player_bench.py --player build/velumo --floor build-bench/floor "$@"
/usr/bin/python3 bench/sound_bench.py --player build/velumo --floor build-bench/floor
/usr/bin/python3 bench/gapless_bench.py --player build/velumo --probe build/tests/engineprobe
