# Sourced by the test and run scripts: a Wine session of the build's own.
#   wine_session_start <build dir>   prefix, Xvfb, wineserver, sound sink
#   wine_session_stop                ends what start began
#   wine_prefixes_prepare <build dir>...
#                                    the prefixes alone, ahead of the sessions
# The prefix lives in <build dir>/wineprefix and is kept between runs; one
# made before wine32 was installed is made anew. Both widths use a 64-bit
# prefix, which runs 32-bit programs once wine32 is there. Sessions of
# different build folders are apart in everything (prefix, server, display,
# sound sink), so they may run at the same time.

. "$(dirname "${BASH_SOURCE[0]}")/wine32.sh"

# The environment of a Wine session of the build: its own prefix and home.
wine_env() {
  local build=$1
  export WINEPREFIX=$build/wineprefix
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  export HOME=$build/home
  mkdir -p "$HOME"
}

# A display of our own; Xvfb picks a free number and reports it.
wine_display_start() {
  local fdfile i
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  WENDLE_XVFB_PID=$!
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

wendle_wine() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else echo wine; fi
}

# What every width's prefix holds: Wine's own setup, the virtual desktop and
# the font links. Made once and kept; a prefix made before wine32 was
# installed is made anew. Needs wine_env and a display.
wine_prefix_prepare() {
  local wine
  wine=$(wendle_wine)
  wendle_renew_prefix_if_stale "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (first run only)..."
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Every window inside one virtual desktop: with no window manager on the
  # display, Wine otherwise waits about two seconds for each top-level
  # window (every message box and dialog) to be shown and activated. The
  # desktop reads this when it starts, so the server is restarted after.
  local marker=$WINEPREFIX/.wendle-desktop
  if [ ! -f "$marker" ]; then
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
      "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 &&
      touch "$marker"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w
  fi
  wendle_link_cjk_font "$wine"
}

# scripts/test.sh: the prefixes of several builds, made while they build.
# The first build's prefix is prepared in a display of its own; a build
# without a usable prefix gets a copy of it (a copy takes seconds, Wine's
# setup half a minute). Each session registers its own CD driver later.
wine_prefixes_prepare() {
  local first=$1 other
  shift
  (
    wine_env "$first"
    wine_display_start
    wine_prefix_prepare
    wineserver -w
    kill "$WENDLE_XVFB_PID" 2>/dev/null || true
    wait "$WENDLE_XVFB_PID" 2>/dev/null || true
  )
  for other in "$@"; do
    wendle_renew_prefix_if_stale "$other/wineprefix"
    [ -f "$other/wineprefix/system.reg" ] && continue
    rm -rf "$other/wineprefix"
    mkdir -p "$other"
    cp -a "$first/wineprefix" "$other/wineprefix"
    rm -f "$other/wineprefix/.wendle-cdaudio"
  done
}

wine_session_start() {
  local build=$1 wine
  wine=$(wendle_wine)
  wine_env "$build"

  # Sound: an ALSA file sink gives Wine a real wave device; every play is
  # appended, in order, to the sink file, which the tests read back.
  export WENDLE_SOUND_SINK=$build/sound-sink.raw
  : > "$WENDLE_SOUND_SINK"
  cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "|cat >>$WENDLE_SOUND_SINK"
  format "raw"
}
ASOUND

  wine_display_start
  wine_prefix_prepare
  wendle_register_virtual_cd "$build" "$wine"
  # A persistent server makes each test process start in a fraction of a second.
  wineserver -p >/dev/null 2>&1 &
  WENDLE_WINESERVER_PID=$!
}

# Font linking as Windows has it: the program's fonts (MS Sans Serif for the
# list's rows, Tahoma for the dialogs) fall back to a CJK font for names in
# Chinese, Japanese or Korean. Wine links to fonts of Windows' own names
# only; here the link is to fonts-wqy-microhei, so screenshots show such
# names rather than boxes. Emoji still show boxes (no colour font).
wendle_link_cjk_font() {
  local wine=$1 marker=$WINEPREFIX/.wendle-fontlink face
  [ -f "$marker" ] && return 0
  fc-list 2>/dev/null | grep -q wqy-microhei.ttc || return 0
  for face in "MS Sans Serif" "Tahoma" "MS Shell Dlg"; do
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1 || return 0
  done
  touch "$marker"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}

# The tests' virtual CD drive (tests/bench/virtual_cd, built into the
# build's bin folder) is the prefix's "CDAudio" MCI driver: only a process
# that describes a disc in WENDLE_VIRTUAL_CD sees a drive. Wine passes the
# value to LoadLibrary up to its first blank, so the path must hold none.
# A 32-bit build's driver goes in the 32-bit registry view, where its
# 32-bit programs look.
wendle_register_virtual_cd() {
  local build wine=$2 driver marker=$WINEPREFIX/.wendle-cdaudio view=/reg:64
  build=$(cd "$1" && pwd)
  grep -q "toolchain-i686" "$build/CMakeCache.txt" 2>/dev/null && view=/reg:32
  driver="Z:${build//\//\\}\\bin\\wendle_virtual_cd.dll"
  [ "$(cat "$marker" 2>/dev/null)" = "$driver $view" ] && return 0
  case $driver in
    *[[:space:]]*)
      echo "warning: $driver holds a blank; the virtual CD drive is not registered" >&2
      return 0 ;;
  esac
  "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\MCI' /v CDAudio /d "$driver" /f $view \
    >/dev/null 2>&1 && printf '%s\n' "$driver $view" >"$marker"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${WENDLE_WINESERVER_PID:-}" ] && wait "$WENDLE_WINESERVER_PID" 2>/dev/null || true
  [ -n "${WENDLE_XVFB_PID:-}" ] && kill "$WENDLE_XVFB_PID" 2>/dev/null || true
  [ -n "${WENDLE_XVFB_PID:-}" ] && wait "$WENDLE_XVFB_PID" 2>/dev/null || true
  WENDLE_WINESERVER_PID=
  WENDLE_XVFB_PID=
}
