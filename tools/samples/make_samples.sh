#!/usr/bin/env bash
# Generates the media clips the test bench is demonstrated and tested on,
# with Debian's ffmpeg: a moving test picture with a frame counter and a
# tone, in the containers and stream forms the bench meets in practice.
#
#   make_samples.sh <output folder>
#
# Clips are small so tests stay fast; `sample.mp4` is the one the program
# opens by default (through the saved graph the build makes from it).
set -euo pipefail
out=${1:?output folder}
mkdir -p "$out"

ff() { ffmpeg -hide_banner -loglevel error -nostdin -y "$@"; }

video() {  # size rate seconds
  echo "-f lavfi -i testsrc=size=$1:rate=$2:duration=$3"
}
tone() {  # seconds
  echo "-f lavfi -i sine=frequency=440:sample_rate=48000:duration=$1"
}
h264() { echo "-c:v libx264 -preset veryfast -pix_fmt yuv420p -threads 1 -g 25 -bf 2"; }
aac() { echo "-c:a aac -b:a 96k -ac 2"; }

# shellcheck disable=SC2046
{
  # The demonstration clip: 10 s, 640 x 360 at 25 frames per second, with sound.
  ff $(video 640x360 25 10) $(tone 10) $(h264) $(aac) -shortest "$out/sample.mp4"
  # Two seconds in each container the open-file dialog offers, and Annex B in MPEG-TS.
  ff $(video 320x240 25 2) $(tone 2) $(h264) $(aac) -shortest "$out/clip-h264-aac.mp4"
  ff $(video 320x240 25 2) $(h264) -an "$out/clip-h264.m4v"
  ff $(video 320x240 25 2) $(tone 2) $(h264) $(aac) -shortest "$out/clip-h264-aac.mov"
  ff $(video 320x240 25 2) $(h264) -an -f mpegts "$out/clip-h264-annexb.ts"
  # A picture whose pixels are not square (anamorphic 720 x 576, 16:9).
  ff $(video 720x576 25 1) $(h264) -aspect 16:9 -an "$out/clip-h264-anamorphic.mp4"
  # Video that is not H.264, and a file with sound only.
  ff $(video 320x240 25 2) -c:v mpeg4 -an "$out/clip-mpeg4.mp4"
  ff $(tone 2) $(aac) "$out/clip-aac-only.m4a"
  # Sound in a codec no audio decoder of the platform takes (Opus).
  ff $(video 320x240 25 2) $(tone 2) $(h264) -c:a libopus -b:a 64k -shortest "$out/clip-h264-opus.mkv"
  # The decoding benchmark's clip: 60 s of 720p, 1,500 frames, long enough
  # that opening the file does not weigh in the figures.
  ff -f lavfi -i testsrc2=size=1280x720:rate=25:duration=60 $(h264) -an "$out/bench-h264-720p.mp4"
}
# A clip cut short in the middle of its data, and a file that is no media at all.
head -c 20000 "$out/clip-h264-aac.mp4" > "$out/clip-truncated.mp4"
printf 'not a media file\n' > "$out/not-media.mp4"
touch "$out/.complete"
