#!/usr/bin/env bash
# Takes the QarnForge screenshots of docs/images from a running X server with a
# 1280 x 1024 screen and no window manager, e.g.
#   Xvfb :99 -screen 0 1280x1024x24 &
#   DISPLAY=:99 forge/tools/take_screenshots.sh build/forge/ui/QarnForge docs/images
# The window sits at (265, 237) on such a screen (centred, 25 pixels above the
# middle) and has a fixed form, so the click positions follow from that. The
# bundled sample map is built with the system colours, 100 m and 20 m; the
# file dialog starts in the work folder, where the sample lies.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/screenshot_session.sh" "$@"
cp "$root/examples/sample-map.bmp" "$root/examples/QarnSizer_MAP_Data.xdt" "$work/"
window=750x500+265+237

start
sleep 2
shot 1280x1024+0+0 "$out/forge-start.png"
$drive click 640 480                                 # the splash closes on a click
$drive click 432 267                                 # Details, still empty
$drive click 283 245 && sleep 0.4                    # the File menu: Save and Save As off
shot "$window" "$out/forge-file-menu.png"
$drive key Escape && $drive click 290 267            # back to Initial Data
$drive click 283 245 && sleep 0.4 && $drive click 320 266   # File > Open...
sleep 1
$drive type sample-map.bmp && $drive key Return
sleep 0.5
$drive click 803 313                                 # System Elevation Colour Set
$drive click 881 398 && $drive type 100              # Minimum Elevation Height
$drive click 881 468 && $drive type 20               # Contour Interval
$drive click 886 531                                 # CONFIRM DATA
sleep 0.3
$drive click 881 620                                 # Build It
sleep 1
$drive key Return                                    # Clean Run
sleep 0.7
$drive key Return                                    # Results Ready to View and Edit
sleep 0.5
shot "$window" "$out/forge-initial-data.png"
$drive click 370 267 && sleep 0.4                    # Edit Grids
shot "$window" "$out/forge-edit-grids-filled.png"
$drive click 432 267 && sleep 0.4                    # Details
shot "$window" "$out/forge-details.png"
$drive click 490 267 && sleep 0.8                    # Preview
shot "$window" "$out/forge-preview.png"
$drive click 283 245 && sleep 0.4 && $drive key x    # File > E&xit
wait "$pid" || true
pid=
