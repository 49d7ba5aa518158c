// IconFile.cpp - .ico directories and icon-group resources on plain memory.
#include "IconFile.h"

#include <string.h>

namespace iconfile {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool ReadHeader(const uint8_t* data, size_t size, size_t entrySize, bool allowCursors, Header* header)
{
    if (!data || size < sizeof(Header))
        return false;
    header->reserved = U16(data);
    header->type = U16(data + 2);
    header->count = U16(data + 4);
    if (header->reserved != 0 || header->count == 0)
        return false;
    if (header->type != kIconType && !(allowCursors && header->type == kCursorType))
        return false;
    return sizeof(Header) + entrySize * header->count <= size;
}

// The first 12 bytes, laid out alike in a file's directory entry and a
// group resource's entry.
template <typename EntryType>
void ReadSharedFields(const uint8_t* p, EntryType& e)
{
    e.width = p[0];
    e.height = p[1];
    e.colorCount = p[2];
    e.reserved = p[3];
    e.planes = U16(p + 4);
    e.bitCount = U16(p + 6);
    e.bytesInRes = U32(p + 8);
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

bool ParseDirectory(const uint8_t* data, size_t size, std::vector<Entry>* entries, bool allowCursors)
{
    Header header;
    if (!ReadHeader(data, size, sizeof(Entry), allowCursors, &header))
        return false;
    const size_t directoryEnd = sizeof(Header) + sizeof(Entry) * header.count;
    std::vector<Entry> found(header.count);
    for (size_t i = 0; i < header.count; i++) {
        const uint8_t* p = data + sizeof(Header) + sizeof(Entry) * i;
        Entry& e = found[i];
        ReadSharedFields(p, e);
        e.imageOffset = U32(p + 12);
        if (e.bytesInRes == 0 || e.imageOffset < directoryEnd || e.imageOffset > size ||
            e.bytesInRes > size - e.imageOffset)
            return false;
    }
    if (entries)
        entries->swap(found);
    return true;
}

bool ParseFile(const uint8_t* data, size_t size, std::vector<Image>* images)
{
    std::vector<Entry> entries;
    if (!ParseDirectory(data, size, &entries))
        return false;
    if (images) {
        images->clear();
        for (const Entry& e : entries) {
            Image image;
            image.entry = e;
            image.bytes.assign(data + e.imageOffset, data + e.imageOffset + e.bytesInRes);
            images->push_back(image);
        }
    }
    return true;
}

std::vector<uint8_t> Build(const std::vector<Image>& images)
{
    std::vector<uint8_t> out;
    if (images.empty() || images.size() > kMaxImages)
        return out;
    uint64_t offset = sizeof(Header) + sizeof(Entry) * images.size();
    for (const Image& image : images) {
        offset += image.bytes.size();
        if (image.bytes.empty() || offset > 0xFFFFFFFFu)
            return out;
    }
    PutU16(out, 0);
    PutU16(out, kIconType);
    PutU16(out, static_cast<uint16_t>(images.size()));
    offset = sizeof(Header) + sizeof(Entry) * images.size();
    for (const Image& image : images) {
        out.push_back(image.entry.width);
        out.push_back(image.entry.height);
        out.push_back(image.entry.colorCount);
        out.push_back(0);
        PutU16(out, image.entry.planes);
        PutU16(out, image.entry.bitCount);
        PutU32(out, static_cast<uint32_t>(image.bytes.size()));
        PutU32(out, static_cast<uint32_t>(offset));
        offset += image.bytes.size();
    }
    for (const Image& image : images)
        out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    return out;
}

bool ParseGroup(const uint8_t* data, size_t size, std::vector<GroupEntry>* entries)
{
    Header header;
    if (!ReadHeader(data, size, sizeof(GroupEntry), false, &header))
        return false;
    std::vector<GroupEntry> found(header.count);
    for (size_t i = 0; i < header.count; i++) {
        const uint8_t* p = data + sizeof(Header) + sizeof(GroupEntry) * i;
        GroupEntry& e = found[i];
        ReadSharedFields(p, e);
        e.id = U16(p + 12);
    }
    if (entries)
        entries->swap(found);
    return true;
}

bool ImageSize(const Entry& entry, const uint8_t* image, size_t size, int* width, int* height, int* bitCount)
{
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!image)
        return false;
    if (size >= 8 && memcmp(image, kPng, 8) == 0) {
        *width = entry.width ? entry.width : 256;
        *height = entry.height ? entry.height : 256;
        *bitCount = 32;
        return true;
    }
    // A bitmap image: header, colour table, colour rows and mask rows must
    // all lie inside it.
    if (size < 40)
        return false;
    const uint32_t headerSize = U32(image);
    const int32_t w = static_cast<int32_t>(U32(image + 4));
    const int32_t h = static_cast<int32_t>(U32(image + 8));
    const uint16_t bits = U16(image + 14);
    const uint32_t compression = U32(image + 16);
    const uint32_t used = U32(image + 32);
    if (headerSize < 40 || headerSize > size || w <= 0 || h <= 1 || w > 4096 || h > 8192)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if ((bits <= 8 && used > (1u << bits)) || used > 256)
        return false;
    const uint64_t colours = used ? used : (bits <= 8 ? 1u << bits : 0);
    const uint64_t masks = (compression == 3 && headerSize == 40) ? 12 : 0;
    const uint64_t rows = static_cast<uint64_t>(h / 2);
    const uint64_t need = headerSize + masks + colours * 4 + ((static_cast<uint64_t>(w) * bits + 31) / 32) * 4 * rows +
                          ((static_cast<uint64_t>(w) + 31) / 32) * 4 * rows;
    if (need > size)
        return false;
    *width = w;
    *height = h / 2;
    *bitCount = bits;
    return true;
}

}  // namespace iconfile
