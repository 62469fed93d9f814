#!/usr/bin/env bash
# Takes docs/images/forge-3d-view.png: QarnForge's 3D View page after building
# the bundled sample map, from a running X server with a 1400 x 900 screen and
# no window manager, e.g.
#   Xvfb :99 -screen 0 1400x900x24 &
#   DISPLAY=:99 terrain_view/tools/take_screenshots.sh build/forge/ui/QarnForge docs/images
# The window opens centred (its form is 750 x 500 pixels at fixed places), so
# the click positions follow from that layout.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/screenshot_session.sh" "$@"
cp "$root/examples/sample-map.bmp" "$root/examples/QarnSizer_MAP_Data.xdt" "$work/"

start
sleep 3
$drive click 700 400 && sleep 0.5                    # the splash away
$drive click 342 183 && sleep 0.5 && $drive click 380 205   # File > Open...
sleep 1
$drive type sample-map.bmp && $drive key Return
sleep 1
$drive click 864 251                                 # System Elevation Colour Set
$drive click 942 337 && $drive type 100              # Minimum Elevation Height
$drive click 942 407 && $drive type 20               # Contour Interval
$drive click 947 469 && sleep 0.5                    # CONFIRM DATA
$drive click 941 558 && sleep 2                      # Build It
$drive click 770 404 && sleep 1                      # OK to Clean Run
$drive click 888 471 && sleep 1                      # OK to the results
$drive click 611 205 && sleep 2                      # the 3D View page
$drive click 418 290                                 # Exaggeration: 3 x
$drive key End && $drive key BackSpace && $drive key BackSpace && $drive key BackSpace && $drive key BackSpace
$drive type 3 && $drive key Return
$drive drag 760 520 740 505 720 495                  # orbit a little
sleep 1.5
shot 750x496+325+175 "$out/forge-3d-view.png"
