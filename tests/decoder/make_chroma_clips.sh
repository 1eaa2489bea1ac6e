#!/usr/bin/env bash
# Generates the clips the decoder tests need beside the build's samples:
# H.264 in the 4:2:2 and 4:4:4 chroma formats, and with 10-bit samples.
#
#   make_chroma_clips.sh <output folder>
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }
clip() {  # pixel format, file
  ff -f lavfi -i testsrc=size=320x240:rate=25:duration=1 \
    -c:v libx264 -preset veryfast -pix_fmt "$1" -threads 1 -g 25 -bf 2 -an "$out/$2"
}

clip yuv422p clip-h264-422.mp4
clip yuv444p clip-h264-444.mp4
clip yuv420p10le clip-h264-10bit.mp4
touch "$out/.complete"
