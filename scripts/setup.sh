#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests, the benchmarks, the
# Windows cross build (tested under Wine) and the sample job need (the 3D
# view's tests draw with Mesa's software OpenGL in an X server without a
# screen). Skips what is present. Run as root (or with sudo). With
# --screenshots it also installs the tools for taking the README's
# screenshots of the windows.
set -euo pipefail

packages=(
  build-essential cmake pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev zlib1g-dev libstb-dev
  mingw-w64 libz-mingw-w64-dev wine64
  clang libclang-rt-14-dev
  imagemagick gdal-bin libgdal-dev
  fonts-dejavu-core fonts-liberation2
  xvfb xauth libgl1-mesa-dri
)
if [ "${1:-}" = "--screenshots" ]; then
  packages+=(x11-apps)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing; install them as root with:" >&2
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
