#!/usr/bin/env bash
# Installs what is missing, builds Tivelor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVELOR_TESTS=OFF -DTIVELOR_BENCH=OFF
cmake --build build -j"$(nproc)" --target tivelor
exec ./build/tivelor
