#!/usr/bin/env bash
# Runs one Windows program under Wine for ctest: the 64-bit loader starts
# a 32-bit program through the 32-bit one, when wine32 is installed.
#
# The first Wine program of a session starts Wine's own background
# processes (services, the desktop), which outlive it. Run directly under
# ctest they would inherit ctest's output pipe and keep it open, so ctest
# would wait for them; here they inherit a scratch file instead, which is
# passed on to ctest as it grows, so a test that ctest stops at its time
# limit still shows how far it came.
#
# A Wine program's debug output (WINEDEBUG) goes where its parent's goes,
# whatever standard handles it is given: the programs a test starts write
# theirs into the same file, which the test reads as WENDLE_RUN_OUTPUT.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
out=$(mktemp)
export WENDLE_RUN_OUTPUT=$out
"$wine" "$@" >"$out" 2>&1 &
program=$!
tail -s 0.1 --pid=$program -n +1 -f "$out"
wait $program
rc=$?
rm -f "$out"
exit $rc
