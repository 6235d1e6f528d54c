#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: installs only what is missing, and says what it installs.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  libjpeg62-turbo-dev libudev-dev udev libxcb1-dev fonts-wine libxcb-damage0-dev
  xvfb xauth x11-utils x11-apps imagemagick openbox xdotool python3
  clang libclang-rt-14-dev clang-format
  desktop-file-utils appstream dpkg-dev groff-base inotify-tools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-deps: all packages present"
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
