#!/usr/bin/env bash
# Builds the tools and converts the bundled sample map with qarn into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"${QARN_JOBS:-2}"
mkdir -p out
cd out
../build/cli/qarn build ../examples/sample-map.bmp --colour-set system --min 100 --interval 20 \
    --output sample-map.asc --preview sample-map-preview.png
echo "The grid file and its build data report are in $(pwd): sample-map.asc, sample-map-Build_Data.txt and the relief preview sample-map-preview.png"
