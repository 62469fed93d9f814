#!/usr/bin/env bash
# Builds qarn alone (no windows, tests, benchmarks or import) and converts the
# bundled sample map with it into out/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-sample -DCMAKE_BUILD_TYPE=Release -DQARN_BUILD_GUI=OFF -DQARN_BUILD_TESTS=OFF -DQARN_WITH_GDAL=OFF
cmake --build build-sample -j"${QARN_JOBS:-2}" --target qarn
mkdir -p out
cd out
../build-sample/cli/qarn build ../examples/sample-map.bmp --colour-set system --min 100 --interval 20 \
    --output sample-map.asc --preview sample-map-preview.png
echo "The grid file and its build data report are in $(pwd): sample-map.asc, sample-map-Build_Data.txt and the relief preview sample-map-preview.png"
echo
echo "Only qarn was built, for speed (without qarn import): it is $(cd .. && pwd)/build-sample/cli/qarn."
echo "Next: scripts/install.sh builds QarnPainter, QarnForge, QarnSizer and qarn and installs them for you"
echo "in ~/.local/bin (about 4 minutes on 2 cores); then follow README.md from \"Step 1\"."
