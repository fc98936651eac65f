#!/usr/bin/env bash
# Builds the program for both widths and runs the benchmarks under Wine,
# printing their figures: the 64-bit build, then the 32-bit build where the
# machine runs 32-bit code. Usage: scripts/bench.sh [WENDLE_BUILD=dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDLE_BUILD:-$root/build}
benchmarks=(bench_object_list bench_list_file bench_playlist bench_playback bench_startup bench_pause bench_audio bench_editing bench_position)
"$root/scripts/setup-debian.sh"
. "$root/scripts/wine32.sh"
wendle_widths "benchmarks of"
widths=$WENDLE_WIDTHS
. "$root/scripts/wine-env.sh"
trap wine_session_stop EXIT
for arch in $widths; do
  cmake -S "$root" -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DWENDLE_TESTS=ON >/dev/null
  cmake --build "$build/$arch" -j"$(nproc)" --target "${benchmarks[@]}"
  wine_session_start "$build/$arch"
  # bench_pause plays a minute of a 440 Hz tone as MP3, made here (the
  # encoder is GStreamer's, from the plugins Wine's media device uses).
  mp3=()
  if gst-launch-1.0 -q audiotestsrc wave=sine freq=440 num-buffers=2600 samplesperbuffer=1024 \
      ! audioconvert ! lamemp3enc ! filesink location="$build/$arch/bin/bench_pause.mp3" 2>/dev/null; then
    mp3=(bench_pause.mp3)
  fi
  for b in "${benchmarks[@]}"; do
    echo "== $b ($arch)"
    args=()
    [ "$b" = bench_pause ] && args=("${mp3[@]}")
    (cd "$build/$arch/bin" && "$root/scripts/wine-run.sh" "$b.exe" "${args[@]}")
  done
  wine_session_stop
done
