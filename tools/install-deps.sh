#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need.
# Does nothing when all of them are present.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools qt6-qpa-plugins
  libqt6opengl6-dev libgl1-mesa-dev
  libsqlite3-dev libgtest-dev libgmock-dev
  libgumbo-dev
  xvfb xauth xdotool
  poppler-utils
  clang lld libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
run_as_root=()
if [ "$(id -u)" -ne 0 ]; then
  run_as_root=(sudo)
fi
"${run_as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
