#!/usr/bin/env bash
# Builds the 64-bit program and runs the benchmarks under Wine, printing
# their figures. Usage: scripts/bench.sh [WENDLE_BUILD=dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDLE_BUILD:-$root/build}
"$root/scripts/setup-debian.sh"
cmake -S "$root" -B "$build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" \
  -DWENDLE_TESTS=ON >/dev/null
cmake --build "$build/x86_64" -j"$(nproc)" --target bench_object_list bench_list_file bench_playback bench_startup
. "$root/scripts/wine-env.sh"
wine_session_start "$build/x86_64"
trap wine_session_stop EXIT
cd "$build/x86_64/bin"
for b in bench_object_list bench_list_file bench_playback bench_startup; do
  echo "== $b"
  "$root/scripts/wine-run.sh" "$b.exe"
done
