#!/usr/bin/env bash
# Builds and runs the whole test suite: an ordinary build (the default
# compiler, GCC on Debian); the Windows cross build with its tests under Wine,
# its files compared byte for byte with the ordinary build's and its zip; then
# a build with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, which fails on any report.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${QARN_JOBS:-2}

echo "== build (Release) =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQARN_BUILD_TESTS=ON
cmake --build build -j"$jobs"
echo "== tests (Release) =="
(cd build && ctest --output-on-failure -j"$jobs")

scripts/test_windows.sh

# Built with clang, so the whole tree keeps building with both compilers.
echo "== build (clang, AddressSanitizer + UndefinedBehaviorSanitizer) =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQARN_BUILD_TESTS=ON -DQARN_SANITIZE=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-sanitize -j"$jobs"
echo "== tests (sanitizers) =="
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-sanitize && ctest --output-on-failure -j"$jobs")

echo "== fuzz smoke (libFuzzer harnesses, about a minute) =="
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS
QARN_FUZZ_SEED=${QARN_FUZZ_SEED:-1} scripts/fuzz.sh
