// Block compression through the support library RORurodivo.dll.
//
// A compressed block is a u32 (little-endian) uncompressed length followed by
// the library's compressed bytes. Blocks returned here are new[] arrays: free
// them with FreeBlock (or delete[]).
#pragma once

#include <windows.h>

#include <cstdint>

// Largest uncompressed length a block may declare or be made from.
const uint32_t kMaxBlockRawLength = 256u * 1024 * 1024;
// The library's format (deflate) never expands more than about 1032:1, so a
// block declaring more than this per compressed byte is refused unread.
const uint32_t kMaxBlockExpansion = 1040;
// Level value that CompressBlock refuses.
const uint32_t kRefusedCompressLevel = 0xFFFFFFFEu;
// Level that lets the library choose.
const uint32_t kDefaultCompressLevel = 0xFFFFFFFFu;

// Folder that RORurodivo.dll is loaded from ("%s\RORurodivo.dll"); null or
// empty means by name. Only takes effect before the first use.
void SetCompressDllFolder(const char* folder);

// 1 when the library and both entries are bound. Bound once; a failure is
// remembered.
BOOL LoadCompressDll();

// The library's entries; 0 when the library is missing or on failure.
uint32_t QV_ZIPCompress(void* dest, uint32_t destCapacity, const void* source,
                        uint32_t sourceLength, uint32_t level);
uint32_t QV_ZIPUncompress(void* dest, uint32_t destCapacity, const void* source,
                          uint32_t sourceLength);

// Compresses *length bytes of source into a new block that starts after
// `room` free bytes (for the caller's own header). On success *length is the
// block's size (compressed bytes + 4, the room not counted). Null when the
// length is below 101 or above kMaxBlockRawLength, the level is
// kRefusedCompressLevel, or compression fails.
BYTE* CompressBlock(const void* source, uint32_t* length, uint32_t level, uint32_t room);

// Expands a block of *length bytes into a new buffer of its stored
// uncompressed length and sets *length to it. Null when the block is shorter
// than its prefix, declares 0 or more than kMaxBlockRawLength (or more than
// kMaxBlockExpansion per compressed byte), or does not expand to exactly the
// declared length.
BYTE* UncompressBlock(const void* block, uint32_t* length);

void FreeBlock(void* block);

// Little-endian u32 at p (no alignment needed).
inline uint32_t ReadLe32(const void* p)
{
    const BYTE* b = static_cast<const BYTE*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline void WriteLe32(void* p, uint32_t v)
{
    BYTE* b = static_cast<BYTE*>(p);
    b[0] = BYTE(v);
    b[1] = BYTE(v >> 8);
    b[2] = BYTE(v >> 16);
    b[3] = BYTE(v >> 24);
}
