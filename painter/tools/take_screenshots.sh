#!/usr/bin/env bash
# Takes the QarnPainter screenshots of docs/images from a running X server with
# a 1400 x 900 screen and no window manager, e.g.
#   Xvfb :99 -screen 0 1400x900x24 &
#   DISPLAY=:99 painter/tools/take_screenshots.sh build/painter/ui/QarnPainter docs/images
# The window opens at (0, 0) in its first-run size, 1100 x 760, with a fresh
# settings folder and $HOME in a folder of its own (where the file dialogs
# start); the click positions follow from that layout.
set -euo pipefail
source "$(dirname "$(realpath "$0")")/../../scripts/screenshot_session.sh" "$@"
here=$(dirname "$(realpath "$0")")

start
sleep 2
$drive click 49 34                                   # New Map
sleep 0.7
$drive click 575 210 && $drive type 600              # Width
$drive click 575 238 && $drive type 400              # Height
shot 470x530+308+78 "$out/painter-new-map.png"
$drive click 632 577                                 # OK: 70 x 45 blocks
sleep 1
size() { $drive click 812 34 && $drive key End && $drive key BackSpace && $drive key BackSpace && $drive type "$1" && $drive key Return; }
size 9                                               # the brush size box
$drive click 461 34                                  # Raise
python3 "$here/sculpt.py" hills
size 5
python3 "$here/sculpt.py" ridge
$drive click 90 616 && $drive click 215 34           # the flat-area colour, Pencil
python3 "$here/sculpt.py" lake
python3 "$here/sculpt.py" hover
sleep 1
shot 1100x762+0+0 "$out/painter-painting.png"
$drive click 158 34 && sleep 1                       # Save: the file dialog
$drive type hills.bmp && $drive key Return            # in $HOME, the work folder
sleep 1
$drive click 20 8 && sleep 0.5 && $drive click 68 119      # File > Build Grid...
sleep 1
$drive key Return                                    # hills-arcinfo-ascii.asc
sleep 1.5
shot 1100x762+0+0 "$out/painter-built.png"
# The 3D view: its dock made taller, framed again, 3 x exaggeration, turned a little.
$drive drag 950 446 950 300 950 200
sleep 0.5
$drive click 1051 236 && sleep 0.3                   # Reset View
$drive click 945 295                                 # Exaggeration
$drive key End && $drive key BackSpace && $drive key BackSpace && $drive key BackSpace && $drive key BackSpace
$drive type 3 && $drive key Return
$drive drag 960 520 945 512 930 505
sleep 1.5
shot 1100x762+0+0 "$out/painter-3d-view.png"
# A round brush of 9 blocks with its outline over the second hill, zoomed in
# about it: the preview outlines the part in view and the status bar gives the zoom.
$drive click 877 34 && sleep 0.3 && $drive key Down && $drive key Return   # Round
size 9
$drive click 461 34                                  # Raise
read -r x y < <(python3 "$here/sculpt.py" where 30 52)
$drive wheel "$x" "$y" 4
python3 "$here/sculpt.py" hover2
sleep 1
shot 1100x762+0+0 "$out/painter-brush.png"
# A scanned sheet of the same ground as the reference picture, half faded.
python3 "$here/sculpt.py" scan "$work/scan.png"
$drive key ctrl+0                                    # Fit to Window
$drive click 97 8 && sleep 0.5 && $drive click 150 187 && sleep 1   # View > Reference Picture...
$drive type scan.png && $drive key Return               # in $HOME, the work folder
sleep 1
python3 "$here/sculpt.py" hover
sleep 0.5
shot 1100x762+0+0 "$out/painter-reference.png"
# The saved picture opened again: the check's cliffs drawn along the edges
# they lie on, the first one shown with F8 and its reason in the status bar.
kill "$pid"; wait "$pid" 2>/dev/null || true
start hills.bmp
sleep 3
read -r x y < <(python3 "$here/sculpt.py" where 14 44)
$drive wheel "$x" "$y" 3
$drive key F8
sleep 1
shot 1100x762+0+0 "$out/painter-problems.png"
