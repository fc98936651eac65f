#!/usr/bin/env bash
# Installs the Debian packages that building and testing Wendle need.
# Idempotent, and quick when everything is there already.
set -euo pipefail

packages=(
  cmake make python3
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix   # the two Windows targets
  wine wine64 xvfb xauth                                # running the 64-bit build
  fonts-wine                                            # Wine's own fonts: caption buttons, symbols
  fonts-wqy-microhei                                    # CJK names in screenshots (scripts/wine-env.sh links it)
  googletest                                            # sources, built per target
  clang libclang-rt-14-dev                              # native fuzzing with sanitizers
  tango-icon-theme librsvg2-bin imagemagick             # icon and bitmap generation
  halibut                                               # the help file WD.CHM
  nsis                                                  # the installers (makensis)
  x11-utils                                             # run.sh: xdpyinfo, is there a display
  # Audio files: Wine's MCI "mpegvideo" decodes through GStreamer. Base:
  # Ogg, Vorbis, Opus; good: WAV, MP3, FLAC; ugly: the WMA container;
  # libav: the AAC and WMA decoders.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  gstreamer1.0-tools                                    # bench.sh, make_demo.py: gst-launch-1.0 encodes MP3 and Ogg
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
