#!/usr/bin/env bash
# Builds Wendle (the 64-bit program and the files beside it) and plays the
# demo list (demo/demo.wdl) under Wine, with a Wine prefix of its own in
# <build>/x86_64/run-prefix.
#
# On a desktop (a working display, and a sound server or a sound card)
# Wendle opens on the display and plays through the speakers; closing its
# window ends the script. Anywhere else it runs on a virtual display (Xvfb)
# with a file as its sound device, plays the list to the end, leaves a
# picture of its window (PNG) and a recording of what it played (WAV) in
# <build>/x86_64/run, prints where they are and closes Wendle.
#
#   scripts/run.sh
#   WENDLE_BUILD=dir                   build folder (default: build)
#   WENDLE_RUN_MODE=desktop|headless   instead of looking for a desktop
#   WENDLE_RUN_TIMEOUT=n               headless: seconds the run may take (default 600)
#   WENDLE_JOBS=n                      parallel build jobs (default: all cores)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WENDLE_BUILD:-$root/build}/x86_64
mkdir -p "$build"
build=$(cd "$build" && pwd)
bin=$build/bin
out=$build/run
jobs=${WENDLE_JOBS:-$(nproc)}
run_timeout=${WENDLE_RUN_TIMEOUT:-600}

say() { printf 'run.sh: %s\n' "$*"; }
die() { printf 'run.sh: %s\n' "$*" >&2; exit 1; }

# ---- Packages and build -------------------------------------------------------

"$root/scripts/setup-debian.sh"

# A build folder that scripts/test.sh configured is used with its settings;
# a new one gets no tests, so only what the program needs is built.
if [ -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" >/dev/null
else
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" \
    -DWENDLE_TESTS=OFF >/dev/null
fi
if ! grep -q '/wendle\.dir$' "$build/CMakeFiles/TargetDirectories.txt" 2>/dev/null; then
  die "this checkout has no 'wendle' target (the program's executable) to build and run yet"
fi
cmake --build "$build" -j"$jobs" --target wendle vi32rid va32ra wd_eng wendle_help wendle_watch
for f in wendle.exe VI32RID.dll VA32RA.dll wd_eng.dll WD.HLP wendle_watch.exe; do
  [ -f "$bin/$f" ] || die "the build did not make $bin/$f"
done

# ---- Wine ---------------------------------------------------------------------

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine
export WINEPREFIX=$build/run-prefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers, and no menu entries or file associations
# written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# A prefix made before wine32 was installed (by the test command) cannot
# start any program any more: it is made anew.
. "$root/scripts/wine32.sh"
prepare_prefix() {
  wendle_renew_prefix_if_stale "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "preparing the Wine prefix $WINEPREFIX (first run only)..."
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# Windows path of a file (drive Z: is the Unix root).
windows_path() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

have_display() { [ -n "${DISPLAY:-}" ] && timeout 10 xdpyinfo >/dev/null 2>&1; }

have_sound() {
  [ -n "${PULSE_SERVER:-}" ] && return 0
  [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native" ] && return 0
  compgen -G '/dev/snd/pcmC*D*p' >/dev/null
}

mode=${WENDLE_RUN_MODE:-}
if [ -z "$mode" ]; then
  if have_display && have_sound; then mode=desktop; else mode=headless; fi
fi

# The list names its sounds without a folder: Wendle finds them in the
# current directory, so it starts in the list's folder.
cd "$root/demo"

if [ "$mode" = desktop ]; then
  have_display || die "no working display (DISPLAY=${DISPLAY:-unset})"
  prepare_prefix
  say "Wendle opens on your display and plays the demo list; close its window to end."
  exec "$wine" "$bin/wendle.exe" demo.wdl /play
fi
[ "$mode" = headless ] || die "WENDLE_RUN_MODE is desktop or headless, not '$mode'"

# ---- Headless: a virtual display and a sound sink ---------------------------------

say "no desktop to play on: running on a virtual display, recording the sound to a file"
mkdir -p "$out"
rm -f "$out/wendle.bmp" "$out/wendle.png" "$out/played.raw" "$out/played.wav"
: >"$out/played.raw"

# Wine's ALSA driver writes everything it plays to the sink file; the
# PulseAudio driver, which Wine tries first, must find no server. Every
# sound reaches the file in the demo's own sample format: the WAVs come
# in it, the Ogg sound is decoded to 48 kHz stereo floats, and ALSA's plug
# converts whatever comes. The file takes samples faster than a sound
# card, so the Ogg sound, which its device feeds in real time, is recorded
# in bursts with silence between them.
rate=$(python3 -B -c 'import sys; sys.path.insert(0, sys.argv[1]); from make_demo import RATE; print(RATE)' "$root/demo")
export HOME=$build/run-home
mkdir -p "$HOME"
cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type plug
  slave {
    pcm "wendle_sink"
    format S16_LE
    channels 1
    rate $rate
  }
}
pcm.wendle_sink {
  type file
  slave.pcm "null"
  file "|cat >>'$out/played.raw'"
  format "raw"
}
ASOUND
export PULSE_SERVER=unix:/nonexistent

xvfb_pid=
stop_session() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_session EXIT

fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fdfile" ] && break
  sleep 0.1
done
[ -s "$fdfile" ] || die "Xvfb did not start"
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"

prepare_prefix
# The watcher, and Wendle which it starts, get a virtual desktop of their
# own: with no window manager on the display, Wine then draws the whole
# window (caption included) and does not wait for one to show it. Only the
# watcher has the setting, so a desktop run keeps ordinary windows.
marker=$WINEPREFIX/.wendle-demo-desktop
if [ ! -f "$marker" ]; then
  "$wine" reg add 'HKCU\Software\Wine\AppDefaults\wendle_watch.exe\Explorer' /v Desktop /d WendleDemo /f \
    >/dev/null 2>&1 &&
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v WendleDemo /d 1024x768 /f >/dev/null 2>&1 &&
    touch "$marker"
  wineserver -w
fi
# The watcher starts Wendle, waits for Play All to end, pictures the
# window and closes Wendle.
rc=0
"$wine" "$bin/wendle_watch.exe" /timeout "$run_timeout" "$(windows_path "$out/wendle.bmp")" \
  "$(windows_path "$bin/wendle.exe")" demo.wdl /play || rc=$?
[ "$rc" -eq 0 ] || die "the demo run failed (wendle_watch exit code $rc)"
wineserver -w 2>/dev/null || true   # every play has reached the sink

convert "$out/wendle.bmp" "$out/wendle.png"
rm -f "$out/wendle.bmp"
# The sink holds the samples as played, in make_demo.py's format.
python3 -B - "$root/demo" "$out/played.raw" "$out/played.wav" <<'PY'
import sys, wave
sys.path.insert(0, sys.argv[1])
from make_demo import RATE
with open(sys.argv[2], 'rb') as f:
    data = f.read()
data = data[:len(data) - len(data) % 2]      # whole 16-bit samples
with wave.open(sys.argv[3], 'wb') as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(data)
print('run.sh: %.1f seconds of sound were played' % (len(data) / 2 / RATE))
PY
rm -f "$out/played.raw"
say "picture of the window: $out/wendle.png"
say "what was played:       $out/played.wav"
