# Sourced by the windows' screenshot scripts (sizer/tools, forge/tools,
# painter/tools, terrain_view/tools), called as SCRIPT PROGRAM OUTPUT-FOLDER:
# sets program, out, root (the source tree), drive (scripts/xdrive.py), work
# (a folder of its own, removed on exit with the program started last), and
#   shot GEOMETRY FILE   a part of the screen, WIDTHxHEIGHT+X+Y, as a PNG
#   start [ARG...]       the program in $work with $HOME there and fresh settings
program=$(realpath "$1")
out=$(realpath "$2")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
drive="python3 $root/scripts/xdrive.py"
work=$(mktemp -d)
pid=
trap 'rm -rf "$work"; [ -z "$pid" ] || kill "$pid" 2>/dev/null || true' EXIT
shot() { import -window root -crop "$1" +repage "$2"; }
start() {
    (cd "$work" && HOME="$work" XDG_CONFIG_HOME="$work/settings" exec "$program" "$@") &
    pid=$!
}
