#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# setup-deps.sh [run|test]: installs the Debian packages the program needs.
#   run    what building and running the program need (scripts/run.sh),
#          without the packages these merely recommend
#   test   those plus what the tests, the format check, the fuzzing run and
#          the package checks need (scripts/test.sh, CI), with recommended
#          packages as on the machines the tests were verified on; the default
# Idempotent: installs only what is missing, and says what it installs.
set -euo pipefail

mode=${1:-test}

# Compiler, CMake, Qt Widgets with its tools and X11 platform plugin, libjpeg,
# libudev (and udev's hardware database for device names), xcb for the video
# test's fills, liburing for the drive's queued reads and writes, and the
# Tahoma and Fixedsys fonts.
run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libjpeg62-turbo-dev libudev-dev udev libxcb1-dev liburing-dev fonts-wine
)

# Virtual X server and window manager for the end-to-end runs, X clients and
# ImageMagick to look at what they draw, clang for the sanitizer and fuzzing
# builds, clang-format and git for the format check, the validators of the
# installed files and the package, libxcb-damage for the start-up probe, and
# fio, the yardstick of tools/bench_drive.
test_packages=(
  xvfb xauth x11-utils x11-apps imagemagick openbox xdotool python3
  clang libclang-rt-14-dev clang-format git
  desktop-file-utils appstream dpkg-dev groff-base inotify-tools lintian
  libxcb-damage0-dev fio
)

apt_options=()
case $mode in
  run) packages=("${run_packages[@]}"); apt_options=(--no-install-recommends) ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: setup-deps.sh [run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup-deps: all packages for '$mode' present"
  exit 0
fi

echo "setup-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${apt_options[@]}" "${missing[@]}"
