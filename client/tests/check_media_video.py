#!/usr/bin/env python3
"""Reads back the video test_client_media recorded, with ffprobe.

The folder holds recording.avi and expected.txt ("width height" of the
frame's rectangle clamped to the screen). The file must hold one video stream
in Microsoft Video 1 of that size at 10 frames a second, with at least one
frame that ffmpeg decodes.

Usage: check_media_video.py FOLDER
"""
import json
import os
import subprocess
import sys


def main(folder):
    video = os.path.join(folder, "recording.avi")
    with open(os.path.join(folder, "expected.txt")) as f:
        width, height = (int(v) for v in f.read().split())
    out = subprocess.run(["ffprobe", "-v", "error", "-count_frames", "-show_streams", "-of", "json", video],
                         check=True, capture_output=True, text=True).stdout
    streams = json.loads(out)["streams"]
    errors = []
    videos = [s for s in streams if s.get("codec_type") == "video"]
    if len(videos) != 1:
        errors.append("%d video streams" % len(videos))
    else:
        v = videos[0]
        if v.get("codec_name") != "msvideo1":
            errors.append("codec %s" % v.get("codec_name"))
        if (v.get("width"), v.get("height")) != (width, height):
            errors.append("size %sx%s, expected %dx%d" % (v.get("width"), v.get("height"), width, height))
        if v.get("r_frame_rate") != "10/1":
            errors.append("frame rate %s" % v.get("r_frame_rate"))
        if int(v.get("nb_read_frames", "0")) < 1:
            errors.append("no frame decoded")
    if [s for s in streams if s.get("codec_type") == "audio"]:
        errors.append("an audio stream in a recording without sound")
    for e in errors:
        print("FAIL:", e)
    if not errors:
        print("ok: %s, %dx%d" % (video, width, height))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
