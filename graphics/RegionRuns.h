// RegionRuns.h - the rectangles of a region made from a picture: one
// rectangle per horizontal run of pixels that are not the key, gathered in
// the layout of RGNDATA (a 32-byte header, then the rectangles) so that GDI
// can make a region of them as they are. Pure arithmetic, checked on memory.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <new>
#include <vector>

namespace rgnruns {

struct Rect32
{
    int32_t left, top, right, bottom;
};

// RGNDATAHEADER as it lies in memory.
struct DataHeader
{
    uint32_t size;    // 32
    uint32_t type;    // 1: rectangles
    uint32_t count;
    uint32_t regionSize;
    Rect32 bound;
};
static_assert(sizeof(DataHeader) == 32, "RGNDATAHEADER is 32 bytes");
static_assert(sizeof(Rect32) == 16, "RECT is 16 bytes");

// Rectangles per region made at a time, and the bytes of such a block.
const uint32_t kChunkRects = 800;
const uint32_t kChunkBytes = sizeof(DataHeader) + kChunkRects * sizeof(Rect32);  // 12832

// The bytes GDI is given for count rectangles: (count + 2) * 16.
inline uint32_t BlockBytes(uint32_t count) { return (count + 2) * 16; }

// Calls emit(Rect32) for each run of non-key pixels, rows from the top,
// runs from the left; isKey(x, y) tells whether a pixel is the key.
template <class IsKey, class Emit>
void ScanRuns(int32_t width, int32_t height, IsKey isKey, Emit emit)
{
    for (int32_t y = 0; y < height; ++y) {
        int32_t x = 0;
        while (x < width) {
            while (x < width && isKey(x, y))
                ++x;
            if (x == width)
                break;
            const int32_t start = x;
            while (x < width && !isKey(x, y))
                ++x;
            emit(Rect32{start, y, x, y + 1});
        }
    }
}

// A block of RGNDATA that grows to hold every rectangle, or stops at
// kChunkRects and is handed on (flushed) each time it is full.
class RunBlock
{
public:
    // chunked: at most kChunkRects at a time. Throws std::bad_alloc.
    explicit RunBlock(bool chunked, uint32_t firstRoom = kChunkRects)
        : m_chunked(chunked), m_count(0)
    {
        m_bytes.resize(sizeof(DataHeader) + static_cast<size_t>(chunked ? kChunkRects : firstRoom) * sizeof(Rect32));
        Reset();
    }

    // flush(const void* data, uint32_t bytes) returns false to stop; Add
    // then returns false too.
    template <class Flush>
    bool Add(const Rect32& r, Flush flush)
    {
        if (m_count == Room()) {
            if (m_chunked) {
                if (!flush(Data(), BlockBytes(m_count)))
                    return false;
                Reset();
            } else {
                m_bytes.resize(m_bytes.size() + 40 * sizeof(Rect32));
            }
        }
        Rect32* rects = reinterpret_cast<Rect32*>(m_bytes.data() + sizeof(DataHeader));
        rects[m_count++] = r;
        DataHeader& h = MutableHeader();
        h.count = m_count;
        h.bound.left = r.left < h.bound.left ? r.left : h.bound.left;
        h.bound.top = r.top < h.bound.top ? r.top : h.bound.top;
        h.bound.right = r.right > h.bound.right ? r.right : h.bound.right;
        h.bound.bottom = r.bottom > h.bound.bottom ? r.bottom : h.bound.bottom;
        return true;
    }

    uint32_t Count() const { return m_count; }
    const void* Data() const { return m_bytes.data(); }
    const DataHeader& Header() const { return *reinterpret_cast<const DataHeader*>(m_bytes.data()); }
    // The whole buffer (the growing form hands all of it to GDI at once).
    uint32_t BufferBytes() const { return static_cast<uint32_t>(m_bytes.size()); }

private:
    DataHeader& MutableHeader() { return *reinterpret_cast<DataHeader*>(m_bytes.data()); }
    uint32_t Room() const { return static_cast<uint32_t>((m_bytes.size() - sizeof(DataHeader)) / sizeof(Rect32)); }
    void Reset()
    {
        m_count = 0;
        MutableHeader() = DataHeader{sizeof(DataHeader), 1, 0, 0, Rect32{32767, 32767, 0, 0}};
    }

    bool m_chunked;
    uint32_t m_count;
    std::vector<uint8_t> m_bytes;
};

}  // namespace rgnruns
