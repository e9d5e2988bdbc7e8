#!/usr/bin/env bash
# Installs what is missing, builds a Release build into build/ and starts the player.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target velumo
exec build/velumo "$@"
