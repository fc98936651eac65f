#!/usr/bin/env bash
# Builds Wendle's packages for both Windows targets into one folder:
#   build/packages/Wendle-<version>-setup-x64.exe   installer, 64-bit
#   build/packages/Wendle-<version>-setup-x86.exe   installer, 32-bit
#   build/packages/Wendle-<version>-x64.zip         portable, 64-bit
#   build/packages/Wendle-<version>-x86.zip         portable, 32-bit
# Release builds without the tests, in build/package/<arch>.
#
#   WENDLE_BUILD=dir     build folder (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDLE_BUILD:-$root/build}
jobs=$(nproc)

"$root/scripts/setup-debian.sh"

out=$build/packages
mkdir -p "$out"
rm -f "$out"/Wendle-*
for arch in i686 x86_64; do
  dir=$build/package/$arch
  cmake -S "$root" -B "$dir" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DWENDLE_TESTS=OFF >/dev/null
  rm -rf "$dir/packages"
  cmake --build "$dir" -j"$jobs" --target wendle_packages
  cp "$dir"/packages/Wendle-* "$out"/
done

echo
echo "Packages in $out:"
ls -1 "$out"
