#!/usr/bin/env bash
# Takes the QarnSizer screenshots of docs/images from a running X server with a
# 1280 x 1024 screen and no window manager, e.g.
#   Xvfb :99 -screen 0 1280x1024x24 &
#   DISPLAY=:99 sizer/tools/take_screenshots.sh build/sizer/ui/QarnSizer docs/images
# The click positions follow from the window's fixed form: the window sits at
# (340, 237) on such a screen (centred, 25 pixels above the middle).
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/screenshot_session.sh" "$@"

# One run of the program: enter width $1 and height $2 with colour set $3
# (system|user), press "Get Results", screenshot both tabs as $4-details.png
# and $4-results.png. $5 = yes also keeps the start-up screen as sizer-splash.png
# and leaves through File > Exit, keeping its message as sizer-exit.png.
run() {
  start
  sleep 2
  if [ "${5:-no}" = yes ]; then shot 1280x1024+0+0 "$out/sizer-splash.png"; fi
  $drive click 640 480                                         # the splash closes on a click
  if [ "$3" = system ]; then $drive click 662 317; else $drive click 662 347; fi
  $drive click 772 443 && $drive type "$2"                     # HeightIn
  $drive click 772 483 && $drive type "$1"                     # WidthIn
  $drive click 757 614                                         # Get Results
  sleep 0.3
  shot 600x500+340+237 "$4-details.png"
  $drive click 475 269                                         # the Results tab
  sleep 0.3
  shot 600x500+340+237 "$4-results.png"
  if [ "${5:-no}" = yes ]; then
    $drive click 358 246 && $drive key x                       # File > E&xit
    sleep 0.5
    shot 700x500+290+237 "$out/sizer-exit.png"
    $drive key Return                                          # OK ends the program
    wait "$pid"
    pid=
    test -s "$work/QarnSizer_Data.txt" && test -s "$work/QarnSizer_MAP_Data.xdt"
  else
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
  fi
}

run 1000 800 system "$out/sizer-example1" yes
run 40 5000 user "$out/sizer-example2"
# The start-up screen, cut down to the window and the splash.
convert "$out/sizer-splash.png" -crop 680x520+300+222 +repage "$out/sizer-splash.png"
