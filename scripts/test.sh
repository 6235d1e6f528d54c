#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Quorvix 2000 with its tests and runs them all.
#   test.sh            normal build in build/
#   test.sh --asan     AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-deps.sh" test
dir=build
# Tests on whatever configured the directory before (run.sh switches them off).
opts=(-DQUORVIX_TESTS=ON -DQUORVIX_WERROR="${QUORVIX_WERROR:-OFF}")
if [ "${1:-}" = "--asan" ]; then
  dir=build-asan
  opts+=(-DQUORVIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
bash "$root/scripts/build.sh" "$dir" "${opts[@]}"
cd "$root/$dir"
# A directory without tests is a failure, not a pass.
ctest --output-on-failure --no-tests=error -j "$(nproc)"
