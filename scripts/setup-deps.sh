#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# setup-deps.sh [run|test]: installs the Debian packages the program needs.
#   run    what building and running the program need (scripts/run.sh),
#          without the packages these merely recommend
#   test   those plus what the tests, the format check, the fuzzing run and
#          the package checks need (scripts/test.sh, CI), with recommended
#          packages as on the machines the tests were verified on (ansible-core
#          without them); the default
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
# Ansible for the fleet playbook's test, without the 250 MiB of collections
# it recommends: the playbook uses only ansible-core's own modules.
test_bare_packages=(ansible-core)

apt_options=()
bare=()
case $mode in
  run) packages=("${run_packages[@]}"); apt_options=(--no-install-recommends) ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}"); bare=("${test_bare_packages[@]}") ;;
  *) echo "usage: setup-deps.sh [run|test]" >&2; exit 2 ;;
esac

missing_of() {
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t missing_bare < <(missing_of "${bare[@]}")

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_bare[@]} -eq 0 ]; then
  echo "setup-deps: all packages for '$mode' present"
  exit 0
fi

echo "setup-deps: installing ${missing[*]} ${missing_bare[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get install -y -q "${apt_options[@]}" "${missing[@]}"
fi
if [ ${#missing_bare[@]} -gt 0 ]; then
  $sudo apt-get install -y -q --no-install-recommends "${missing_bare[@]}"
fi
