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

echo "== build (Windows, mingw-w64) =="
# Wine keeps its Windows in the build folder; no display, no questions, no
# Mono or Gecko installers.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQARN_BUILD_TESTS=ON
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
fi
cmake --build build-windows -j"$jobs"
echo "== tests (Windows, under Wine) =="
# One Wine server for all the programs, instead of one started for each.
/usr/lib/wine/wineserver -p
(cd build-windows && ctest --output-on-failure -j"$jobs")
scripts/compare_windows_build.py --linux build/cli/qarn --windows build-windows/cli/qarn.exe
cmp build/packaging/qarn-system-colours.gpl build-windows/packaging/qarn-system-colours.gpl
cmake --build build-windows --target qarn_windows_zip
/usr/lib/wine/wineserver -k 2>/dev/null || true
unset WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

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
