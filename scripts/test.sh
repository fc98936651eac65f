#!/usr/bin/env bash
# Builds Wendle for both Windows targets and runs every test: the test
# executables under 64-bit Wine (with a display, a sound sink and a virtual
# CD drive of their own) and the fuzzers of the list file and the CD catalog
# natively. Exits non-zero on any failure.
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

# Native fuzzers for the platform-neutral file formats.
fuzzer=
catalog_fuzzer=
if [ -f "$root/fuzz/CMakeLists.txt" ]; then
  cmake -S "$root/fuzz" -B "$build/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build/fuzz" -j"$jobs"
  fuzzer=$build/fuzz/list_format_fuzzer
  catalog_fuzzer=$build/fuzz/catalog_format_fuzzer
  mkdir -p "$build/fuzz/corpus" "$build/fuzz/catalog_corpus"
fi

for arch in i686 x86_64; do
  cmake -S "$root" -B "$build/$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DWENDLE_TESTS=ON -DWENDLE_FUZZER="$fuzzer" -DWENDLE_FUZZ_SECONDS="$fuzz_seconds" \
    -DWENDLE_FUZZ_CORPUS="$root/fuzz/corpus" -DWENDLE_FUZZ_CORPUS_WORK="$build/fuzz/corpus" \
    -DWENDLE_CATALOG_FUZZER="$catalog_fuzzer" -DWENDLE_CATALOG_FUZZ_CORPUS="$root/fuzz/catalog_corpus" \
    -DWENDLE_CATALOG_FUZZ_CORPUS_WORK="$build/fuzz/catalog_corpus" >/dev/null
  cmake --build "$build/$arch" -j"$jobs"
done

. "$root/scripts/wine-env.sh"
wine_session_start "$build/x86_64"
trap wine_session_stop EXIT
# shellcheck disable=SC2086
ctest --test-dir "$build/x86_64" -j"$jobs" --output-on-failure --no-tests=error ${CTEST_ARGS:-}
