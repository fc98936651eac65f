#!/usr/bin/env bash
# Installs the Debian packages that building and testing Wendle need.
# Idempotent, and quick when everything is there already.
#
#   scripts/setup-debian.sh          everything
#   scripts/setup-debian.sh build    what building both targets and the fuzzers needs
#   scripts/setup-debian.sh test     what running the tests under Wine needs
#   scripts/setup-debian.sh tools    what remaking the pictures and sounds and
#                                    looking for a display need (run.sh, bench.sh)
#
# scripts/test.sh installs "build" first and "test" while it builds.
set -euo pipefail

build=(
  cmake make ninja-build python3
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix   # the two Windows targets
  googletest                                            # sources, built per target
  clang libclang-rt-14-dev                              # native fuzzing with sanitizers
  halibut                                               # the help file WD.CHM
  nsis                                                  # the installers (makensis)
)
test=(
  wine wine64 xvfb xauth                                # running the 64-bit build
  fonts-wine                                            # Wine's own fonts: caption buttons, symbols
  fonts-wqy-microhei                                    # CJK names in screenshots (scripts/wine-env.sh links it)
  # Audio files: Wine's MCI "mpegvideo" decodes through GStreamer. Base:
  # Ogg, Vorbis, Opus; good: WAV, MP3, FLAC; ugly: the WMA container;
  # libav: the AAC and WMA decoders.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
)
tools=(
  tango-icon-theme icoutils imagemagick                 # icon and bitmap generation
  x11-utils                                             # run.sh: xdpyinfo, is there a display
  gstreamer1.0-tools                                    # bench.sh, make_demo.py: gst-launch-1.0 encodes MP3 and Ogg
)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(build test tools)
packages=()
for group in "${groups[@]}"; do
  case $group in
    build) packages+=("${build[@]}") ;;
    test) packages+=("${test[@]}") ;;
    tools) packages+=("${tools[@]}") ;;
    *) echo "setup-debian.sh: no package group \"$group\" (build, test, tools)" >&2; exit 2 ;;
  esac
done

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
