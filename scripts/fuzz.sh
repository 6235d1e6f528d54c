#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz.sh <seconds>: builds the fuzz targets with clang in build-fuzz/ and runs
# each for that many seconds (the INI reader, the EDID reader, the mountinfo
# parser); fails on a crash, a leak or a hang.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$root/scripts/setup-deps.sh" test
dir=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DQUORVIX_FUZZ=ON -DQUORVIX_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVIX_WERROR="${QUORVIX_WERROR:-OFF}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_database fuzz_edid fuzz_mountinfo
# A smaller quarantine than ASan's default keeps long runs far from the
# fuzzer's 2 GB memory limit; leaks are still reported.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=64:detect_leaks=1}"
# target, its committed seeds, the longest input worth trying
for run in "database database/fuzz/corpus 8192" "edid platform/fuzz/corpus-edid 512" \
  "mountinfo platform/fuzz/corpus-mountinfo 4096"; do
  read -r name seeds maxLen <<<"$run"
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  work=$dir/corpus-$name
  mkdir -p "$work"
  fuzzer=$(find "$dir" -name "fuzz_$name" -type f -perm -u+x | head -n 1)
  "$fuzzer" "$work" "$root/$seeds" -max_total_time="$seconds" -timeout=10 \
    -max_len="$maxLen" -artifact_prefix="$dir/$name-" -print_final_stats=1
done
