#include "RecorderCore.h"

namespace vidrelle {

bool ClampCaptureRect(CaptureRect& r, int32_t screenWidth, int32_t screenHeight)
{
    if (r.left < 0)
        r.left = 0;
    if (r.top < 0)
        r.top = 0;
    if (r.right >= screenWidth)
        r.right = screenWidth - 1;
    if (r.bottom >= screenHeight)
        r.bottom = screenHeight - 1;
    // Differences in 64 bits: a host may pass any i32.
    return int64_t(r.right) - r.left >= 1 && int64_t(r.bottom) - r.top >= 1;
}

uint32_t DibStride(int32_t width, int bitCount)
{
    const uint64_t bits = uint64_t(width > 0 ? width : 0) * uint64_t(bitCount > 0 ? bitCount : 0);
    return uint32_t((bits + 31) / 32 * 4);
}

uint32_t DibColourEntries(int bitCount)
{
    return bitCount >= 1 && bitCount <= 8 ? (1u << bitCount) : 0u;
}

uint64_t DibTotalSize(int32_t width, int32_t height, int bitCount)
{
    if (width <= 0 || height <= 0 || bitCount <= 0)
        return 0;
    const uint64_t total = 40 + 4ull * DibColourEntries(bitCount) + uint64_t(height) * DibStride(width, bitCount);
    return total > 0xFFFFFFFFull ? 0 : total;
}

int FrameBitCount(int screenBitsPerPixel)
{
    return screenBitsPerPixel > 16 ? 16 : screenBitsPerPixel;
}

uint32_t FrameClock::Number(uint32_t nowMs)
{
    if (m_first) {
        m_first = false;
        return 0;
    }
    const uint32_t elapsed = nowMs - m_start;
    return uint32_t(double(elapsed) * 0.001 * kFramesPerSecond);
}

bool FrameClock::Take(uint32_t number)
{
    if (number != 0 && number <= m_lastWritten)
        return false;
    m_lastWritten = number;
    return true;
}

const RiffChunk* RiffChunk::Find(const std::string& chunkId) const
{
    for (const RiffChunk& c : children)
        if (c.id == chunkId)
            return &c;
    return nullptr;
}

const RiffChunk* RiffChunk::FindList(const std::string& type) const
{
    for (const RiffChunk& c : children)
        if ((c.id == "LIST" || c.id == "RIFF") && c.listType == type)
            return &c;
    return nullptr;
}

uint16_t ReadU16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

namespace {

constexpr int kMaxDepth = 16;

bool IsList(const std::string& id)
{
    return id == "RIFF" || id == "LIST";
}

// Reads the chunks in [begin, end) into `out`.
bool ParseChunks(const uint8_t* data, size_t begin, size_t end, int depth, std::vector<RiffChunk>& out,
                 std::string& error)
{
    if (depth > kMaxDepth) {
        error = "lists nest too deeply";
        return false;
    }
    size_t pos = begin;
    while (end - pos >= 8) {
        RiffChunk c;
        c.id.assign(reinterpret_cast<const char*>(data + pos), 4);
        c.size = ReadU32(data + pos + 4);
        c.dataOffset = pos + 8;
        if (c.size > end - c.dataOffset) {
            error = "chunk '" + c.id + "' runs past its parent";
            return false;
        }
        if (IsList(c.id)) {
            if (c.size < 4) {
                error = "list '" + c.id + "' has no type";
                return false;
            }
            c.listType.assign(reinterpret_cast<const char*>(data + c.dataOffset), 4);
            if (!ParseChunks(data, c.dataOffset + 4, c.dataOffset + c.size, depth + 1, c.children, error))
                return false;
        }
        const size_t next = c.dataOffset + c.size + (c.size & 1);   // word-aligned
        out.push_back(std::move(c));
        if (next >= end)
            return true;
        pos = next;
    }
    // Fewer than 8 bytes left: padding at most.
    return true;
}

}  // namespace

bool ParseRiff(const uint8_t* data, size_t size, RiffChunk& root, std::string& error)
{
    root = RiffChunk();
    if (size < 12 || std::string(reinterpret_cast<const char*>(data), 4) != "RIFF") {
        error = "not a RIFF file";
        return false;
    }
    std::vector<RiffChunk> top;
    if (!ParseChunks(data, 0, size, 0, top, error))
        return false;
    root = std::move(top.front());
    return true;
}

}  // namespace vidrelle
