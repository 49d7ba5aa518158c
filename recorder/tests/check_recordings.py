#!/usr/bin/env python3
"""Reads back the recorder's AVI files with ffprobe and ffmpeg.

test_recorder writes the recordings and a manifest (one line per file:
size, the known window colour and place, the cursor, the wall time and the
paused time). For each file this checks: one video stream in Microsoft
Video 1 at 10 frames a second and the recorded size; a duration close to
the wall time minus the pause; the first frame's pixels inside the window in
the known colour (5-bit channels: within 12); the arrow drawn at the cursor
(dark and light pixels next to it, none far from it); with sound, an audio
stream of 22050 Hz stereo about as long as the video.

Usage: check_recordings.py FOLDER
"""
import json
import os
import shutil
import subprocess
import sys

TOLERANCE = 12          # 8-bit channel error after 5-bit quantisation (and 5-6-5 on a 16-bit screen)
SHORTER_S = 0.7         # the last frame may be taken up to a frame period and a start-up before the stop
LONGER_S = 0.25


def fail(msg):
    print("FAIL:", msg)
    return 1


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-of", "json", path],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)["streams"]


def first_frame(path, width, height):
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-frames:v", "1", "-f", "rawvideo",
                          "-pix_fmt", "rgb24", "-"], check=True, capture_output=True).stdout
    if len(raw) != width * height * 3:
        raise ValueError("frame has %d bytes, expected %d" % (len(raw), width * height * 3))
    return raw


def pixel(raw, width, x, y):
    i = (y * width + x) * 3
    return raw[i], raw[i + 1], raw[i + 2]


def near(a, b, tol=TOLERANCE):
    return all(abs(p - q) <= tol for p, q in zip(a, b))


def check_audio(entry, audio, video_duration):
    errors = []
    if entry.get("sound") != "1":
        return ["an audio stream in a recording without sound"] if audio else []
    if len(audio) != 1:
        return ["%d audio streams" % len(audio)]
    a = audio[0]
    if int(a["sample_rate"]) != 22050 or int(a["channels"]) != 2:
        errors.append("audio %s Hz %s channels" % (a["sample_rate"], a["channels"]))
    # The AVI header gives no audio duration here: decode and count the samples.
    pcm = subprocess.run(["ffmpeg", "-v", "error", "-i", entry["path"], "-map", "0:a:0", "-f", "s16le",
                          "-ac", "2", "-ar", "22050", "-"], check=True, capture_output=True).stdout
    adur = len(pcm) / 88200.0
    if entry.get("audio_paced") == "0":
        pass   # the null sound device delivers faster than real time: no duration to compare
    elif "audio_ms" in entry:
        # The samples the test's device delivered, one ADPCM block of rounding.
        if not abs(adur - int(entry["audio_ms"]) / 1000.0) <= 0.05:
            errors.append("audio %.3f s, expected %s ms" % (adur, entry["audio_ms"]))
    elif not abs(adur - video_duration) <= 0.6:
        errors.append("audio %.2f s against video %.2f s" % (adur, video_duration))
    print("  %s: audio %s %s Hz %s ch %.3f s" % (entry["file"], a["codec_name"], a["sample_rate"], a["channels"], adur))
    return errors


def check(folder, entry):
    errors = []
    path = os.path.join(folder, entry["file"])
    entry["path"] = path
    w, h = int(entry["width"]), int(entry["height"])
    colour = None if entry["colour"] == "none" else tuple(int(entry["colour"][i:i + 2], 16) for i in (0, 2, 4))
    streams = probe(path)
    video = [s for s in streams if s["codec_type"] == "video"]
    audio = [s for s in streams if s["codec_type"] == "audio"]
    if len(video) != 1:
        return ["%d video streams" % len(video)]
    v = video[0]
    if v["codec_name"] != "msvideo1":
        errors.append("codec %s" % v["codec_name"])
    if v["r_frame_rate"] != "10/1":
        errors.append("rate %s" % v["r_frame_rate"])
    if (v["width"], v["height"]) != (w, h):
        errors.append("size %dx%d, expected %dx%d" % (v["width"], v["height"], w, h))
    expected = (int(entry["wall_ms"]) - int(entry["pause_ms"])) / 1000.0
    duration = float(v.get("duration", "nan"))
    timed = entry["colour"] != "none"   # recordings with the test's sound device have no wall time
    if timed and not (expected - SHORTER_S <= duration <= expected + LONGER_S):
        errors.append("duration %.2f s, expected %.2f s (wall %s ms, paused %s ms)"
                      % (duration, expected, entry["wall_ms"], entry["pause_ms"]))

    if not timed:
        return errors + check_audio(entry, audio, duration)
    raw = first_frame(path, w, h)
    # Whole 4x4 blocks only: the format has no partial blocks.
    wl, wt, wr, wb = (int(x) for x in entry["window"].split(","))
    wr, wb = min(wr, w // 4 * 4), min(wb, h // 4 * 4)
    cx, cy = (int(x) for x in entry["cursor_at"].split(","))
    far = [(x, y) for x, y in ((wl + 2, wt + 2), (wr - 3, wb - 3), (wl + 2, wb - 3), (wr - 3, wt + 2))
           if not (cx - 8 <= x <= cx + 40 and cy - 8 <= y <= cy + 40)]
    for x, y in far:
        if not near(pixel(raw, w, x, y), colour):
            errors.append("pixel (%d,%d) is %s, expected the window's %s" % (x, y, pixel(raw, w, x, y), colour))
    if entry["cursor"] == "1":
        around = [pixel(raw, w, x, y) for y in range(max(cy - 2, 0), min(cy + 22, h))
                  for x in range(max(cx - 2, 0), min(cx + 14, w))]
        dark = sum(1 for p in around if max(p) < 70)
        light = sum(1 for p in around if min(p) > 185)
        if dark < 4 or light < 4:
            errors.append("no arrow at (%d,%d): %d dark and %d light pixels" % (cx, cy, dark, light))

    errors += check_audio(entry, audio, duration)
    print("  %s: %s %s %dx%d %.2f s (expected %.2f s)" % (entry["file"], v["codec_name"], v["r_frame_rate"],
                                                          v["width"], v["height"], duration, expected))
    return errors


def main():
    folder = sys.argv[1]
    for tool in ("ffprobe", "ffmpeg"):
        if not shutil.which(tool):
            return fail("%s is missing (scripts/setup installs ffmpeg)" % tool)
    manifest = os.path.join(folder, "manifest.txt")
    if not os.path.exists(manifest):
        return fail("no manifest in %s: test_recorder wrote no recordings" % folder)
    entries = []
    with open(manifest) as f:
        for line in f:
            if line.strip():
                entries.append(dict(kv.split("=", 1) for kv in line.split()))
    if not entries:
        return fail("empty manifest")
    bad = 0
    for e in entries:
        try:
            errors = check(folder, e)
        except (subprocess.CalledProcessError, ValueError, KeyError) as ex:
            errors = [str(ex)]
        for msg in errors:
            print("FAIL: %s: %s" % (e["file"], msg))
        bad += 1 if errors else 0
    print("%d of %d recordings good" % (len(entries) - bad, len(entries)))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
