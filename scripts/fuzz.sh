#!/usr/bin/env bash
# fuzz.sh <seconds>: builds the database fuzz target with clang in build-fuzz/
# and runs it for that many seconds; fails on a crash, a leak or a hang.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
bash "$root/scripts/setup-deps.sh" test
dir=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DQUORVIX_FUZZ=ON -DQUORVIX_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVIX_WERROR="${QUORVIX_WERROR:-OFF}" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target fuzz_database
# New inputs go to a scratch corpus; the committed seeds stay as they are.
work=$dir/corpus-database
mkdir -p "$work"
# A smaller quarantine than ASan's default keeps long runs far from the
# fuzzer's 2 GB memory limit; leaks are still reported.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=64:detect_leaks=1}"
"$dir/database/fuzz/fuzz_database" "$work" "$root/database/fuzz/corpus" \
  -max_total_time="$seconds" -timeout=10 -max_len=8192 -artifact_prefix="$dir/" \
  -print_final_stats=1
