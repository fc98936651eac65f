# Sourced by the test, run and benchmark scripts: 32-bit Windows programs
# under Wine.
#   wendle_runs_32bit      true when this machine runs 32-bit (i386) code
#   wendle_setup_wine32    installs wine32:i386 beside the 64-bit Wine
#   wendle_prefix_usable   false for a prefix made before wine32 came
#   wendle_widths <what>   the builds that run here, "x86_64" or
#                          "x86_64 i686", installing wine32 for the second
#
# Order matters: wine32 is installed only after the check, since on a
# machine without 32-bit support it cannot start and takes /usr/bin/wine
# down with it, for 64-bit programs too.

# Runs an 84-byte 32-bit ELF program that only exits with 0.
wendle_runs_32bit() {
  local probe
  probe=$(mktemp)
  python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0x31, 0xdb, 0xb8, 1, 0, 0, 0, 0xcd, 0x80])  # exit(0) through int 0x80
base, ehsize, phsize = 0x08048000, 52, 32
size = ehsize + phsize + len(code)
elf = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)
elf += struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, base + ehsize + phsize, ehsize, 0, 0, ehsize, phsize, 1, 0, 0, 0)
elf += struct.pack("<IIIIIIII", 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(elf + code)
PY
  chmod +x "$probe"
  local ran=1
  "$probe" 2>/dev/null && ran=0
  rm -f "$probe"
  return $ran
}

# With it, the 32-bit GStreamer plugins that play MP3, FLAC, Ogg Vorbis and
# Opus files (about 12 MB). The WMA and AAC decoders (gstreamer1.0-libav)
# would pull in 32-bit ffmpeg, about 57 MB more: the 32-bit build's tests
# of those two formats say that they skip.
wendle_setup_wine32() {
  local packages=(wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386) missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]} for the 32-bit build..."
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# With wine32 installed, a 64-bit prefix needs its 32-bit half: one made
# before lacks syswow64, and Wine's 32-bit loader then cannot start in it
# ("could not load kernel32.dll"), for 64-bit programs too.
wendle_prefix_usable() {
  local prefix=$1
  [ -f "$prefix/system.reg" ] || return 0  # none yet: made anew anyway
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" || return 0
  [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]
}

# Removes a prefix that cannot serve any more, so it is made anew.
wendle_renew_prefix_if_stale() {
  local prefix=$1
  if ! wendle_prefix_usable "$prefix"; then
    echo "The Wine prefix $prefix was made before wine32: making it anew."
    rm -rf "$prefix"
  fi
}

# Sets WENDLE_WIDTHS to the builds that can run here; where 32-bit code
# does not run, says in one line that <what> covers the x86_64 build only.
wendle_widths() {
  WENDLE_WIDTHS="x86_64"
  if wendle_runs_32bit; then
    wendle_setup_wine32
    WENDLE_WIDTHS="x86_64 i686"
  else
    echo "This machine does not run 32-bit code: $1 the x86_64 build only (the i686 build is compiled, not run)."
  fi
}
