#!/usr/bin/env bash
# Writes the audio tests' sound files: one second of a sine tone of its own
# frequency in each compressed format, small and mono, so a test can tell
# by the dominant frequency in the sound sink which file was heard.
# Needs gst-launch-1.0 (gstreamer1.0-tools) and the encoders of
# gstreamer1.0-plugins-base/-good/-ugly/-libav. Commit the results.
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)/sounds
mkdir -p "$out"

# tone <frequency> <rate>: about one second of it, raw.
tone() {
  local buffers=$(($2 / 1024))
  echo "audiotestsrc wave=sine freq=$1 volume=0.5 num-buffers=$buffers samplesperbuffer=1024 !" \
    "audio/x-raw,rate=$2,channels=1 ! audioconvert"
}
make() {  # make <file> <frequency> <rate> <encoder and muxer...>
  local file=$1 frequency=$2 rate=$3
  shift 3
  # shellcheck disable=SC2046
  gst-launch-1.0 -q $(tone "$frequency" "$rate") ! "$@" ! filesink location="$out/$file" >/dev/null
}
make tone660.mp3 660 32000 lamemp3enc target=bitrate bitrate=32 ! id3v2mux
make tone550.wma 550 32000 avenc_wmav2 bitrate=32000 ! avmux_asf
make tone770.flac 770 16000 flacenc
make tone880.ogg 880 32000 vorbisenc quality=0.0 ! oggmux
make tone990.oga 990 32000 vorbisenc quality=0.0 ! oggmux
make tone1100.opus 1100 48000 opusenc bitrate=16000 ! oggmux
make tone1320.m4a 1320 32000 avenc_aac bitrate=32000 ! mp4mux
make tone1210.aac 1210 32000 avenc_aac bitrate=32000 ! aacparse ! audio/mpeg,stream-format=adts
ls -l "$out"
