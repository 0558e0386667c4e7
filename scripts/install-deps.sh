#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present. Runs apt-get through sudo when not root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev googletest
  libocct-data-exchange-dev libocct-ocaf-dev libocct-modeling-algorithms-dev
  libocct-modeling-data-dev libocct-foundation-dev libtbb-dev
  # pictures of drawings: the kernel's visualisation toolkit on a virtual display;
  # saved drawings read back with ezdxf
  libocct-visualization-dev libgl1-mesa-dri python3-ezdxf
  # installer: cross compilers, Wine, a virtual display, artwork and CJK fonts
  mingw-w64 wine64 xvfb xauth imagemagick fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
