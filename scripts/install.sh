#!/usr/bin/env bash
# Builds QarnPainter, QarnForge, QarnSizer and qarn (no tests, no benchmarks)
# in build-install/ and installs them for this user under ~/.local, or under
# PREFIX when it is set. Says at the end how to reach them by name.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix="${PREFIX:-$HOME/.local}"
cmake -S . -B build-install -DCMAKE_BUILD_TYPE=Release -DQARN_BUILD_TESTS=OFF -DQARN_BUILD_BENCHMARKS=OFF
cmake --build build-install -j"${QARN_JOBS:-2}"
cmake --install build-install --prefix "$prefix"
echo
echo "Installed QarnPainter, QarnForge, QarnSizer and qarn in $prefix/bin, the sample map in $prefix/share/qarn."
case ":$PATH:" in
  *":$prefix/bin:"*) echo "Next: run QarnPainter, or follow the guide in README.md from Step 1." ;;
  *) echo "Next: make them reachable by name in this shell with"
     echo "  export PATH=\"$prefix/bin:\$PATH\""
     echo "then run QarnPainter, or follow the guide in README.md from Step 1." ;;
esac
