#!/usr/bin/env bash
# Installs what is missing, builds Tivelor and runs every test: once as it
# ships, once more with the address and undefined-behaviour sanitizers and
# leak detection (warnings are errors in both), and random user sessions (the
# session player's monkey) on that build; then runs each fuzz target for a
# bounded time (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIVELOR_TESTS=ON -DTIVELOR_BENCH=ON -DTIVELOR_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTIVELOR_SANITIZE=ON -DTIVELOR_TESTS=ON -DTIVELOR_BENCH=OFF \
  -DTIVELOR_WERROR=ON
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
# Random user sessions from fixed seeds on the sanitizer build, for at most
# three minutes; a crash, an array-check abort, a sanitizer report or a hang
# fails with the seed and the script that replays it.
rm -rf build-sanitize/monkey
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  build-sanitize/tests/tivelor_player --monkey --seed 1 --sessions 400 --seconds 170 --hang 60 \
  --out build-sanitize/monkey
echo
bash scripts/fuzz.sh
