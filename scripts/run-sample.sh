#!/usr/bin/env bash
# Builds the tools and converts the bundled sample map with qarn.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"${QARN_JOBS:-2}"
./build/cli/qarn --version
