#!/usr/bin/env bash
# Builds Wendle for both Windows targets and runs every test: the test
# executables of each build under Wine (with a display, a sound sink and a
# virtual CD drive of their own) and the fuzzers of the list file, the CD
# catalog and the playlists natively. The 32-bit build's tests run where the
# machine runs 32-bit code (wine32:i386 is installed for them); elsewhere it
# is built only, and the script says so. Exits non-zero on any failure.
#
#   scripts/test.sh            everything
#   WENDLE_BUILD=dir           build folder (default: build)
#   WENDLE_FUZZ_SECONDS=n      length of each fuzz run (default: 45)
#   CTEST_ARGS="-R name"       extra ctest arguments
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDLE_BUILD:-$root/build}
fuzz_seconds=${WENDLE_FUZZ_SECONDS:-45}
jobs=$(nproc)

"$root/scripts/setup-debian.sh"
. "$root/scripts/wine32.sh"
wendle_widths "testing"
widths=$WENDLE_WIDTHS

# Native fuzzers for the platform-neutral file formats.
fuzzer=
catalog_fuzzer=
playlist_fuzzer=
if [ -f "$root/fuzz/CMakeLists.txt" ]; then
  cmake -S "$root/fuzz" -B "$build/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build/fuzz" -j"$jobs"
  fuzzer=$build/fuzz/list_format_fuzzer
  catalog_fuzzer=$build/fuzz/catalog_format_fuzzer
  playlist_fuzzer=$build/fuzz/playlist_format_fuzzer
  mkdir -p "$build/fuzz/corpus" "$build/fuzz/catalog_corpus" "$build/fuzz/playlist_corpus"
fi

for arch in i686 x86_64; do
  # The fuzzers are native: they run once, with the 64-bit build's tests.
  fuzzers=("$fuzzer" "$catalog_fuzzer" "$playlist_fuzzer")
  [ "$arch" = x86_64 ] || fuzzers=("" "" "")
  cmake -S "$root" -B "$build/$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DWENDLE_TESTS=ON -DWENDLE_FUZZER="${fuzzers[0]}" -DWENDLE_FUZZ_SECONDS="$fuzz_seconds" \
    -DWENDLE_FUZZ_CORPUS="$root/fuzz/corpus" -DWENDLE_FUZZ_CORPUS_WORK="$build/fuzz/corpus" \
    -DWENDLE_CATALOG_FUZZER="${fuzzers[1]}" -DWENDLE_CATALOG_FUZZ_CORPUS="$root/fuzz/catalog_corpus" \
    -DWENDLE_CATALOG_FUZZ_CORPUS_WORK="$build/fuzz/catalog_corpus" \
    -DWENDLE_PLAYLIST_FUZZER="${fuzzers[2]}" -DWENDLE_PLAYLIST_FUZZ_CORPUS="$root/fuzz/playlist_corpus" \
    -DWENDLE_PLAYLIST_FUZZ_CORPUS_WORK="$build/fuzz/playlist_corpus" >/dev/null
  cmake --build "$build/$arch" -j"$jobs"
done

# Each width in a Wine session of its own build folder: its own prefix,
# display, sound sink and virtual CD drive, one after the other.
. "$root/scripts/wine-env.sh"
trap wine_session_stop EXIT
failed=
for arch in $widths; do
  echo "== Testing the $arch build"
  wine_session_start "$build/$arch"
  # shellcheck disable=SC2086
  ctest --test-dir "$build/$arch" -j"$jobs" --output-on-failure --no-tests=error ${CTEST_ARGS:-} || failed="$failed $arch"
  wine_session_stop
done
if [ -n "$failed" ]; then
  echo "Tests failed for:$failed"
  exit 1
fi
