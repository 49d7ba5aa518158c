// IconFile.h - the layout of .ico files and of icon-group resources, read
// and written on plain memory.
//
// An .ico file (and an icon directory held in memory) is a 6-byte directory
// header {0, 1, count}, count 16-byte entries whose last field is the
// offset of the image from the file's start, then the images (each a
// BITMAPINFOHEADER with the height doubled, its colour table, the colour
// rows and the mask rows; or a PNG). An icon-group resource has the same
// header with 14-byte entries ending in the id of an RT_ICON resource.
// Everything is little-endian. Readers refuse any entry whose image does
// not lie inside the data after the directory.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace iconfile {

#pragma pack(push, 1)
struct Header
{
    uint16_t reserved;  // 0
    uint16_t type;      // 1 icon, 2 cursor
    uint16_t count;
};
struct Entry
{
    uint8_t width;  // 0 stands for 256
    uint8_t height;
    uint8_t colorCount;
    uint8_t reserved;
    uint16_t planes;    // cursors: hot spot x
    uint16_t bitCount;  // cursors: hot spot y
    uint32_t bytesInRes;
    uint32_t imageOffset;
};
struct GroupEntry
{
    uint8_t width;
    uint8_t height;
    uint8_t colorCount;
    uint8_t reserved;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t bytesInRes;
    uint16_t id;
};
#pragma pack(pop)
static_assert(sizeof(Header) == 6, "directory header is 6 bytes");
static_assert(sizeof(Entry) == 16, "directory entry is 16 bytes");
static_assert(offsetof(Entry, imageOffset) == 12, "image offset at 12");
static_assert(sizeof(GroupEntry) == 14, "group entry is 14 bytes");
static_assert(offsetof(GroupEntry, id) == 12, "group id at 12");

const uint16_t kIconType = 1;
const uint16_t kCursorType = 2;
const size_t kMaxImages = 0xFFFF;

struct Image
{
    Entry entry = {};  // imageOffset and bytesInRes are set by Build
    std::vector<uint8_t> bytes;
};

// The directory of an .ico file (type 1, or 2 when cursors are allowed) and
// where its images lie. False for a bad header, no images, a directory that
// does not fit, or any image that is empty or does not lie inside the data
// after the directory.
bool ParseDirectory(const uint8_t* data, size_t size, std::vector<Entry>* entries, bool allowCursors = false);
// The same, copying the images.
bool ParseFile(const uint8_t* data, size_t size, std::vector<Image>* images);
// An .ico file of the images in order, offsets running from the end of the
// directory. Empty for no images or more than kMaxImages.
std::vector<uint8_t> Build(const std::vector<Image>& images);
// The entries of an icon-group resource; false when they do not fit.
bool ParseGroup(const uint8_t* data, size_t size, std::vector<GroupEntry>* entries);

// Width and height of an icon image as its bitmap header gives them (half
// the stored height) or, for a PNG image, as the entry gives them (0 =
// 256). False when the header, colour table and rows of a bitmap image do
// not fit in it.
bool ImageSize(const Entry& entry, const uint8_t* image, size_t size, int* width, int* height, int* bitCount);

}  // namespace iconfile
