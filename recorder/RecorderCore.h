// The recorder's arithmetic that needs no window: the capture rectangle's
// clamp, the packed frame's layout, the frame clock and the RIFF walker that
// reads back what the recorder wrote (WAV and AVI files).
//
// The frame clock numbers frames by wall-clock time at ten frames a second:
// frame n covers [n * 100 ms, (n + 1) * 100 ms) since the start. A frame is
// written only when its number is past the last one written, so a slow
// capture leaves numbers out and the first 100 ms may offer number 0 twice.
// Time spent paused is added to the start, so the timeline has no gap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vidrelle {

struct CaptureRect {
    int32_t left, top, right, bottom;
};

// Clamps a host rectangle to the screen: a negative left or top becomes 0, a
// right of at least the width becomes width - 1, a bottom of at least the
// height becomes height - 1 (right and bottom are exclusive, so the last
// column and row are never captured). False when nothing is left.
bool ClampCaptureRect(CaptureRect& r, int32_t screenWidth, int32_t screenHeight);

// Bytes per row of a packed bitmap: whole 32-bit words.
uint32_t DibStride(int32_t width, int bitCount);
// Colour-table entries of a packed bitmap: 2^bits up to 8 bits, none above.
uint32_t DibColourEntries(int bitCount);
// Header + colour table + pixels of a packed bitmap; 0 when it would not fit
// in 32 bits or the size is not positive.
uint64_t DibTotalSize(int32_t width, int32_t height, int bitCount);

// The depth frames are taken at. The recorder's compressor takes 8- and
// 16-bit pictures only, so deeper screens are recorded at 16 bits.
int FrameBitCount(int screenBitsPerPixel);

class FrameClock {
public:
    static constexpr uint32_t kFramesPerSecond = 10;

    explicit FrameClock(uint32_t startMs) : m_start(startMs) {}
    // The number of a frame taken at `nowMs`: 0 for the first one, then the
    // elapsed time (unsigned 32-bit difference) in tenths of a second.
    uint32_t Number(uint32_t nowMs);
    // True when a frame with this number is to be written (0 or past the last
    // one written); records it as written.
    bool Take(uint32_t number);
    // A pause from `pausedAtMs` to `resumedAtMs` moves the start on.
    void AddPause(uint32_t pausedAtMs, uint32_t resumedAtMs) { m_start += resumedAtMs - pausedAtMs; }
    uint32_t LastWritten() const { return m_lastWritten; }

private:
    uint32_t m_start;
    bool m_first = true;
    uint32_t m_lastWritten = 0;
};

// One chunk of a RIFF file: its id, the list type for 'RIFF' and 'LIST',
// where its data starts and how long it is, and its sub-chunks.
struct RiffChunk {
    std::string id;
    std::string listType;
    size_t dataOffset = 0;
    uint32_t size = 0;
    std::vector<RiffChunk> children;

    const RiffChunk* Find(const std::string& chunkId) const;       // direct child
    const RiffChunk* FindList(const std::string& type) const;       // direct child list
};

// Reads a whole RIFF file. False (with a reason) when a chunk runs past its
// parent or the file, the file is not RIFF, or lists nest too deeply.
bool ParseRiff(const uint8_t* data, size_t size, RiffChunk& root, std::string& error);

uint16_t ReadU16(const uint8_t* p);
uint32_t ReadU32(const uint8_t* p);

}  // namespace vidrelle
