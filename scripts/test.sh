#!/usr/bin/env bash
# Builds Wendle for both Windows targets and runs every test: the test
# executables of each build under Wine (with a display, a sound sink and a
# virtual CD drive of their own) and the fuzzers of the list file, the CD
# catalog and the playlists natively. The 32-bit build's tests run where the
# machine runs 32-bit code (wine32:i386 is installed for them); elsewhere it
# is built only, and the script says so. Exits non-zero on any failure, and
# ends with how long each phase took.
#
#   scripts/test.sh            everything
#   WENDLE_BUILD=dir           build folder (default: build)
#   WENDLE_FUZZ_SECONDS=n      length of each fuzz run (default: 30)
#   CTEST_ARGS="-R name"       extra ctest arguments
#
# The cores are kept busy: the packages that only the tests need, and the
# Wine prefixes, are installed and made while both widths and the fuzzers
# build side by side; then each width tests in a Wine session of its own,
# and the fuzzers run beside them at the lowest priority (those tests
# mostly wait, for sounds and windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${WENDLE_BUILD:-$root/build}")
fuzz_seconds=${WENDLE_FUZZ_SECONDS:-30}
jobs=$(nproc)
mkdir -p "$build"
logs=$build/logs
mkdir -p "$logs"

# ---- phase times ---------------------------------------------------------
times=$logs/phase-times
: >"$times"
run_start=$(date +%s.%N)
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
# timed <phase> <command...>: runs the command and notes when it ran.
timed() {
  local name=$1 start rc=0
  shift
  start=$(date +%s.%N)
  "$@" || rc=$?
  printf '%s\t%s\t%s\t%s\n' "$name" "$start" "$(date +%s.%N)" "$rc" >>"$times"
  return $rc
}
clock() { awk -v s="$1" 'BEGIN { s = int(s + 0.5); printf "%d:%02d", s / 60, s % 60 }'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN { print a - b }'; }
print_times() {
  local end
  end=$(date +%s.%N)
  echo
  echo "== Times on $(nproc) cores (load average $load_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end)"
  printf '   %-34s %6s %7s %7s\n' phase took from to
  while IFS=$'\t' read -r name start stop rc; do
    printf '   %-34s %6s %7s %7s%s\n' "$name" "$(clock "$(minus "$stop" "$start")")" \
      "$(clock "$(minus "$start" "$run_start")")" "$(clock "$(minus "$stop" "$run_start")")" \
      "$([ "$rc" = 0 ] || echo "   (failed)")"
  done <"$times"
  printf '   %-34s %6s\n' "whole run" "$(clock "$(minus "$end" "$run_start")")"
}

# Background jobs end with the script, and so do the Wine servers of its
# prefixes.
pids=()
cleanup() {
  local pid arch
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for arch in i686 x86_64; do
    [ -d "$build/$arch/wineprefix" ] && WINEPREFIX=$build/$arch/wineprefix wineserver -k >/dev/null 2>&1 || true
  done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# ---- packages ------------------------------------------------------------
timed "packages for the build" "$root/scripts/setup-debian.sh" build
. "$root/scripts/wine32.sh"
. "$root/scripts/wine-env.sh"

# What only the tests need comes while the build runs: the Wine packages,
# wine32 where the machine runs 32-bit code, and the Wine prefixes.
runtime() {
  timed "packages for the tests" "$root/scripts/setup-debian.sh" test
  timed "32-bit check (and wine32)" wendle_widths "testing"
  echo "$WENDLE_WIDTHS" >"$logs/widths"
  local others=()
  [[ " $WENDLE_WIDTHS " == *" i686 "* ]] && others=("$build/i686")
  timed "Wine prefixes" wine_prefixes_prepare "$build/x86_64" "${others[@]}"
}
runtime >"$logs/runtime.log" 2>&1 &
runtime_pid=$!
pids+=("$runtime_pid")

# ---- configure and build -------------------------------------------------
# A new build folder is made for Ninja; an old one keeps its generator.
generator() { [ -f "$1/CMakeCache.txt" ] || echo "-GNinja"; }
configure() {
  local arch=$1 fuzzers=("" "" "")
  # The fuzzers are native: their tests belong to the 64-bit build.
  [ "$arch" = x86_64 ] && fuzzers=("$build/fuzz/list_format_fuzzer" "$build/fuzz/catalog_format_fuzzer" \
    "$build/fuzz/playlist_format_fuzzer")
  # shellcheck disable=SC2046
  cmake $(generator "$build/$arch") -S "$root" -B "$build/$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DWENDLE_TESTS=ON -DWENDLE_FUZZER="${fuzzers[0]}" -DWENDLE_FUZZ_SECONDS="$fuzz_seconds" \
    -DWENDLE_FUZZ_CORPUS="$root/fuzz/corpus" -DWENDLE_FUZZ_CORPUS_WORK="$build/fuzz/corpus" \
    -DWENDLE_CATALOG_FUZZER="${fuzzers[1]}" -DWENDLE_CATALOG_FUZZ_CORPUS="$root/fuzz/catalog_corpus" \
    -DWENDLE_CATALOG_FUZZ_CORPUS_WORK="$build/fuzz/catalog_corpus" \
    -DWENDLE_PLAYLIST_FUZZER="${fuzzers[2]}" -DWENDLE_PLAYLIST_FUZZ_CORPUS="$root/fuzz/playlist_corpus" \
    -DWENDLE_PLAYLIST_FUZZ_CORPUS_WORK="$build/fuzz/playlist_corpus" >"$logs/configure-$arch.log" 2>&1
}
configure_fuzz() {
  # shellcheck disable=SC2046
  cmake $(generator "$build/fuzz") -S "$root/fuzz" -B "$build/fuzz" -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$logs/configure-fuzz.log" 2>&1
  mkdir -p "$build/fuzz/corpus" "$build/fuzz/catalog_corpus" "$build/fuzz/playlist_corpus"
}
configure_all() {
  local pid rc=0 waiting=()
  configure_fuzz & waiting+=($!)
  configure i686 & waiting+=($!)
  configure x86_64 & waiting+=($!)
  for pid in "${waiting[@]}"; do wait "$pid" || rc=1; done
  return $rc
}
if ! timed "configure" configure_all; then
  tail -n 20 "$logs"/configure-*.log
  exit 1
fi

# Both widths and the fuzzers at once: the link steps and the last sources
# of one build leave a core that the other fills.
echo "Building i686, x86_64 and the fuzzers side by side (logs in $logs)..."
build_one() { timed "build $1" cmake --build "$build/$1" -j"$jobs" >"$logs/build-$1.log" 2>&1; }
waiting=()
for target in fuzz i686 x86_64; do
  build_one "$target" &
  waiting+=("$target:$!")
  pids+=("$!")
done
failed=
for entry in "${waiting[@]}"; do
  wait "${entry#*:}" || failed="$failed ${entry%%:*}"
done
for target in $failed; do
  echo "== The $target build failed:"
  grep -E -B2 -A12 "error|FAILED|Error" "$logs/build-$target.log" | head -n 80 || tail -n 40 "$logs/build-$target.log"
done
if [ -n "$failed" ]; then
  print_times
  exit 1
fi

if ! wait "$runtime_pid"; then
  cat "$logs/runtime.log"
  echo "Installing what the tests need, or making the Wine prefixes, failed."
  print_times
  exit 1
fi
grep -v '^Installing\|^Preparing' "$logs/runtime.log" || true
widths=$(cat "$logs/widths")

# ---- tests ---------------------------------------------------------------
# Each width in a Wine session of its own build folder (prefix, display,
# sound sink, virtual CD drive), the widths side by side; the fuzzers, which
# need no Wine, beside them at the lowest priority.
# With CTEST_ARGS the widths' runs take them as they are, fuzz tests too.
separate_fuzzing=
[ -z "${CTEST_ARGS:-}" ] && separate_fuzzing=yes
test_width() {
  local arch=$1 rc=0 exclude=()
  [ -n "$separate_fuzzing" ] && exclude=(-E '^fuzz_')
  trap wine_session_stop EXIT
  wine_session_start "$build/$arch"
  # shellcheck disable=SC2086
  ctest --test-dir "$build/$arch" -j"$jobs" --output-on-failure --no-tests=error "${exclude[@]}" ${CTEST_ARGS:-} || rc=1
  return $rc
}
fuzz() {
  nice -n 19 ctest --test-dir "$build/x86_64" -j3 --output-on-failure --no-tests=error -R '^fuzz_'
}
# The widths one after the other: many tests wait for sounds and windows
# with time limits, and two Wine sessions on a busy machine would stretch
# those waits for no gain.
echo "Testing $widths${separate_fuzzing:+, fuzzing beside them} (logs in $logs)..."
waiting=()
widths_in_turn() {
  local arch rc=0
  for arch in $widths; do
    (timed "tests $arch" test_width "$arch") >"$logs/test-$arch.log" 2>&1 || rc=1
  done
  return $rc
}
widths_in_turn &
waiting+=("tests:$!")
pids+=("$!")
if [ -n "$separate_fuzzing" ]; then
  (timed "fuzzing ($fuzz_seconds s each, lowest priority)" fuzz) >"$logs/test-fuzz.log" 2>&1 &
  waiting+=("fuzzing:$!")
  pids+=("$!")
fi
failed=
for entry in "${waiting[@]}"; do
  wait "${entry#*:}" || failed="$failed ${entry%%:*}"
done
passed=0
failures=0
test_logs=()
for arch in $widths; do test_logs+=("$logs/test-$arch.log"); done
[ -n "$separate_fuzzing" ] && test_logs+=("$logs/test-fuzz.log")
for log in "${test_logs[@]}"; do
  echo
  echo "== $(basename "$log" .log)"
  cat "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1 || true)
  if [ -n "$summary" ]; then
    total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+)/\1/')
    bad=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/')
    passed=$((passed + total - bad))
    failures=$((failures + bad))
  fi
done

print_times
echo
if [[ " $widths " == *" i686 "* ]]; then
  echo "Tested: the x86_64 and i686 builds under Wine, and the fuzzers."
else
  echo "Tested: the x86_64 build under Wine, and the fuzzers (this machine does not run 32-bit code: the i686 build was compiled, not run)."
fi
if [ -n "$failed" ]; then
  echo "Failed:$failed"
  echo "tests: $passed passed, $failures failed"
  exit 1
fi
echo "tests: $passed passed, $failures failed"
