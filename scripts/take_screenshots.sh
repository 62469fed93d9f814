#!/usr/bin/env bash
# Retakes every picture of the README in docs/images from a clean build: the
# windows' screenshots, each program under an X server of its own without a
# screen (Xvfb, from scripts/setup.sh --screenshots), and the pictures qarn
# draws of the bundled sample and of the planted-mistakes map.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=build-screenshots
out=$root/docs/images
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQARN_BUILD_TESTS=OFF
cmake --build "$build" -j"${QARN_JOBS:-2}"

xvfb-run -a -s "-screen 0 1280x1024x24" sizer/tools/take_screenshots.sh "$build/sizer/ui/QarnSizer" "$out"
xvfb-run -a -s "-screen 0 1280x1024x24" forge/tools/take_screenshots.sh "$build/forge/ui/QarnForge" "$out"
xvfb-run -a -s "-screen 0 1400x900x24" painter/tools/take_screenshots.sh "$build/painter/ui/QarnPainter" "$out"
xvfb-run -a -s "-screen 0 1400x900x24" terrain_view/tools/take_screenshots.sh "$build/forge/ui/QarnForge" "$out"

qarn=$root/$build/cli/qarn
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$root/examples/sample-map.bmp" "$root/examples/QarnSizer_MAP_Data.xdt" .
"$qarn" build sample-map.bmp --colour-set system --min 100 --interval 20 --preview "$out/sample-preview.png"
rm QarnSizer_MAP_Data.xdt
python3 "$root/docs/images/make_planted_map.py" planted-mistakes.bmp
"$qarn" size --width 350 --height 200 --colour-set system --write >/dev/null
# The planted colour errors make qarn check exit with 5.
"$qarn" check planted-mistakes.bmp --colour-set system --min 100 --interval 20 --marked "$out/planted-marked.png" \
    >/dev/null || [ $? -eq 5 ]
echo "Retook every picture in $out"
