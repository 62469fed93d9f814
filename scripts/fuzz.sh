#!/usr/bin/env bash
# Builds the libFuzzer harnesses in build-fuzz/ and runs each harness for a bounded time, failing on any crash, leak, sanitizer report,
# broken check or timeout.
#
#   scripts/fuzz.sh                    smoke run: about a minute in all
#   scripts/fuzz.sh --time 600         600 seconds per harness
#   scripts/fuzz.sh --time 600 bmp_reader extraction
#
# Extra libFuzzer flags go in QARN_FUZZ_ARGS (e.g. "-jobs=2 -workers=2").
# Seeds come from fuzz/seeds/<harness>/; inputs found go to build-fuzz/corpus/<harness>/
# and are kept between runs; a failing input is saved as build-fuzz/artifacts/<harness>-crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."

all_harnesses=(bmp_reader extraction map_data_file table_text grid_build)
smoke_total=60
per_harness=""
harnesses=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) per_harness="$2"; shift 2 ;;
    --time=*) per_harness="${1#--time=}"; shift ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) harnesses+=("$1"); shift ;;
  esac
done
[ ${#harnesses[@]} -gt 0 ] || harnesses=("${all_harnesses[@]}")
[ -n "$per_harness" ] || per_harness=$(( smoke_total / ${#harnesses[@]} ))

jobs=${QARN_JOBS:-2}
build=build-fuzz

echo "== build (libFuzzer, AddressSanitizer + UndefinedBehaviorSanitizer) =="
CC=${QARN_FUZZ_CC:-clang} CXX=${QARN_FUZZ_CXX:-clang++} \
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQARN_FUZZ=ON \
        -DQARN_BUILD_GUI=OFF -DQARN_BUILD_TESTS=OFF -DQARN_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j"$jobs" --target qarn_fuzzers

# Scratch files of the harnesses (pictures for the extraction, map data files).
if [ -w /dev/shm ]; then scratch=$(mktemp -d /dev/shm/qarn-fuzz.XXXXXX); else scratch=$(mktemp -d); fi
trap 'rm -rf "$scratch"' EXIT
export QARN_FUZZ_SCRATCH="$scratch"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# A fixed seed (QARN_FUZZ_SEED) makes a smoke run repeat the same mutations.
seed_arg=()
[ -n "${QARN_FUZZ_SEED:-}" ] && seed_arg=(-seed="$QARN_FUZZ_SEED")

mkdir -p "$build/artifacts" "$build/logs"
failed=()
for h in "${harnesses[@]}"; do
  bin="$build/fuzz/fuzz_$h"
  [ -x "$bin" ] || { echo "unknown harness: $h" >&2; exit 2; }
  dict=()
  case "$h" in
    bmp_reader|extraction) dict=(-dict=fuzz/bmp.dict) ;;
    table_text) dict=(-dict=fuzz/table_text.dict) ;;
    grid_build) dict=(-dict=fuzz/height_values.dict) ;;
  esac
  corpus="$build/corpus/$h"
  mkdir -p "$corpus"
  log="$build/logs/$h.log"
  echo "== fuzz $h (${per_harness}s) =="
  # Known crashers first: they must all pass now.
  if [ -d "fuzz/regression/$h" ]; then
    if ! "$bin" -runs=0 "fuzz/regression/$h" >"$log" 2>&1; then
      tail -n 40 "$log"; failed+=("$h (regression inputs)"); continue
    fi
  fi
  status=0
  # shellcheck disable=SC2086
  "$bin" -max_total_time="$per_harness" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$h-" "${dict[@]}" "${seed_arg[@]}" ${QARN_FUZZ_ARGS:-} \
    "$corpus" "fuzz/seeds/$h" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error:|==qarn-fuzz==' "$log"; then
    tail -n 40 "$log"; failed+=("$h"); continue
  fi
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" | sed "s/^/  $h /" || true
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed: ${failed[*]} (logs in $build/logs, inputs in $build/artifacts)" >&2
  exit 1
fi
echo "fuzzing passed: ${harnesses[*]}"
