#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build-fuzz and runs
# each for FUZZ_SECONDS (30) seconds from seeds made of the examples and the
# session files. Skipped when clang++ is not installed. A crash or a broken
# property leaves its input in build-fuzz/artifacts and fails the script.
# The fuzzers' random generator starts from FUZZ_SEED (1), so that a run is
# repeatable: it starts from the seed files alone, runs without address
# randomization (compared pointers steer the mutations) and, with FUZZ_RUNS=N,
# stops after N inputs (else after FUZZ_SECONDS, which a faster machine fills
# with more). FUZZ_SEED=random draws a new seed for each target and keeps growing the
# corpus in build-fuzz/corpus (a longer run: FUZZ_SECONDS=600 FUZZ_SEED=random).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
seed=${FUZZ_SEED:-1}
case $seed in
  random) seed=0 ;;   # libFuzzer draws one
  *[!0-9]* | '') echo "fuzz: FUZZ_SEED must be a number or random"; exit 2 ;;
  0) echo "fuzz: FUZZ_SEED=0 would be random; use FUZZ_SEED=random"; exit 2 ;;
esac
jobs=${FUZZ_BUILD_JOBS:-$(nproc)}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; fuzzing skipped"
  exit 0
fi

out=build-fuzz
mkdir -p "$out/logs" "$out/artifacts" "$out/seeds"
echo "fuzz: building the fuzz targets with clang in $out"
if ! { cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
         -DTIVELOR_FUZZ=ON -DTIVELOR_QT=OFF -DTIVELOR_TESTS=OFF -DTIVELOR_BENCH=OFF &&
       cmake --build "$out" -j"$jobs"; } >"$out/logs/build.log" 2>&1; then
  tail -n 40 "$out/logs/build.log"
  echo "fuzz: the build failed (whole log in $out/logs/build.log)"
  exit 1
fi

# Seeds. The data-file target reads the dialog's numbers and the parameter
# values from a first line, then the file.
seeds=$out/seeds
targets="fuzz_datafile fuzz_algfile fuzz_runtime fuzz_priorsfile fuzz_rankcovfile fuzz_uncertaintycovfile"
rm -rf "$seeds" && for target in $targets; do mkdir -p "$seeds/$target"; done
n=0
while read -r file numbers; do
  for links in 0 1 2 3; do
    { echo "$numbers $links"; cat "$file"; } >"$seeds/fuzz_datafile/seed$((n += 1))"
  done
done <<'EOF'
examples/meadow12.dat 12 8 40
examples/bog10.dat 10 6 30
examples/heath15.dat 15 10 50
tests/sessions/golden/report_meadow.dat 8 10 200
EOF
{ echo "3 4 100 1 0.2 nan -1 inf 1e300 -1e300"; head -n 5 examples/bog10.dat; } >"$seeds/fuzz_datafile/seed_values"
for file in tests/sessions/*.alg tests/sessions/golden/*.alg; do
  cp "$file" "$seeds/fuzz_algfile/"
done
cp tests/sessions/golden/*.pri "$seeds/fuzz_priorsfile/"
printf '%s\r\n' 9 \
  '  1   U 1.000E-100 1.000E-100     Unused     Unused   Uniform - unbounded' \
  '  2   T-1.000E+000 1.000E-001 2.000E+000 5.000E-001   Uniform - bounded' \
  '  3   N 0.000E+000 1.000E+000     Unused     Unused   Gaussian or Normal' \
  '  4   E 2.000E+000 1.000E-100     Unused     Unused   Exponential' \
  '  5   G 3.000E+000 1.000E+000     Unused     Unused   Gamma' \
  '  6   B 3.000E-001 1.000E-001     Unused     Unused   Beta' \
  '  7   S 1.000E+000 1.000E-001     Unused     Unused   Left-side cliff' \
  '  8   D 5.000E+000 2.000E-001     Unused     Unused   Right-side cliff' \
  '  9   L 1.000E+000 5.000E-001     Unused     Unused   Ln-normal' >"$seeds/fuzz_priorsfile/every_kind.pri"
for target in fuzz_rankcovfile fuzz_uncertaintycovfile; do
  cp tests/sessions/ranking/*.cov tests/sessions/golden/*.cov "$seeds/$target/"
done
# Runtime: byte 0 chooses Val, CInt, CLng, Str or Format; then a double; then text.
n=0
for value in '\x00\x00\x00\x00\x00\x00\xf8\x3f' '\x00\x00\x00\x00\x00\x00\x04\xc0' \
             '\x33\x74\xac\x3c\x1f\x7b\xac\x7f' '\x00\x00\x00\x00\xe0\xff\xdf\x40' \
             '\x00\x00\x10\x00\x00\x00\xe0\xc1' '\xb2\x87\x1e\x1c\xfe\x74\xaa\x01'; do
  for op in '\x01' '\x02' '\x03'; do
    printf "$op$value" >"$seeds/fuzz_runtime/value$((n += 1))"
  done
  for pattern in '0.0000000E+00' '####0.#####' ' 0.000E+000' '##0' '00' '0%' '0.00%' '#,##0.00' \
                 '0.####' ' 0.00000E+00' '0.0000E+00' '#########0.0000' '0;(0);"zero"'; do
    { printf "\x04$value"; printf '%s' "$pattern"; } >"$seeds/fuzz_runtime/format$((n += 1))"
  done
done
for file in tests/sessions/*.tvs; do   # their words as Val's texts
  grep -o '"[^"]*"' "$file" | head -n 40 | while read -r word; do
    { printf '\x00'; printf '%s' "$word"; } >"$seeds/fuzz_runtime/val$((n += 1))"
  done || true
done

# The same seed takes the same path only where addresses do not move.
fixed=()
if [ "$seed" != 0 ] && setarch "$(uname -m)" -R true 2>/dev/null; then fixed=(setarch "$(uname -m)" -R); fi

status=0
for target in $targets; do
  corpus=$out/corpus/$target
  log=$out/logs/$target.log
  if [ "$seed" != 0 ]; then rm -rf "$corpus"; fi
  mkdir -p "$corpus"
  limit=()
  if [ -n "${FUZZ_RUNS:-}" ]; then limit=(-runs="$FUZZ_RUNS"); fi
  dict=()   # tokens the fuzzer would be slow to guess
  if [ -f "tests/fuzz/$target.dict" ]; then dict=(-dict="tests/fuzz/$target.dict"); fi
  # -max_total_time bounds the run; timeout stops a fuzzer that would not stop.
  if timeout --kill-after=10 $((seconds + 60)) "${fixed[@]}" "$out/tests/fuzz/$target" -max_total_time="$seconds" "${limit[@]}" "${dict[@]}" \
       -seed="$seed" -timeout=10 -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
       -artifact_prefix="$out/artifacts/$target-" "$corpus" "$seeds/$target" >"$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    used=$(grep -o 'Seed: [0-9]*' "$log" | head -n 1 | grep -o '[0-9]*$' || echo "?")
    echo "fuzz: $target: $runs inputs (at most ${seconds} s) from seed $used, no failure"
  else
    status=1
    tail -n 30 "$log"
    echo "fuzz: $target FAILED from seed $(grep -o 'Seed: [0-9]*' "$log" | head -n 1 | grep -o '[0-9]*$' || echo "?")" \
         "(log $log; the input is in $out/artifacts)"
  fi
done
exit $status
