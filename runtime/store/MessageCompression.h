// Compression of game message bodies through the support library DIDuv.dll
// (zlib-style entries "compress" and "uncompress", bound once by name).
//
// A compressed body is a u32 (little-endian) uncompressed length followed by
// the library's compressed bytes; the message header's body length counts
// the 4-byte prefix.
#pragma once

#include <windows.h>

#include <cstdint>

// Zlib-style result codes of the library (0 is success); kMessageNoLibrary is
// answered when DIDuv.dll or one of its entries is missing.
const int kMessageCompressOk = 0;
const int kMessageNoLibrary = -6;   // the value zlib uses for a version error

// Bodies shorter than this are never compressed.
const uint32_t kMinCompressedBodyLength = 100;

// 1 when DIDuv.dll and both entries are bound. Bound once; a failure is
// remembered.
BOOL LoadMessageCompressDll();

// The library's entries: *destLength holds the capacity on entry and the
// bytes written on return; 0 on success.
int MessageCompress(void* dest, unsigned long* destLength, const void* source,
                    unsigned long sourceLength);
int MessageUncompress(void* dest, unsigned long* destLength, const void* source,
                      unsigned long sourceLength);

// The uncompressed length a compressed body declares. FALSE when the body is
// shorter than its prefix, declares 0 bytes, or more than maxRawLength.
BOOL GetCompressedBodyLength(const void* body, uint32_t bodyLength, uint32_t maxRawLength,
                             uint32_t* rawLength);

// Expands a compressed body into out, which holds rawLength bytes (the value
// GetCompressedBodyLength gave). TRUE only when the body expands to exactly
// rawLength bytes.
BOOL ExpandCompressedBody(const void* body, uint32_t bodyLength, void* out, uint32_t rawLength);

// Compresses a body of `length` bytes into out, which holds `length` bytes
// (a compressed body is never larger than the plain one). Returns the
// compressed body's length, prefix included, or 0 when the body is to be
// sent as it is: shorter than kMinCompressedBodyLength, not smaller when
// compressed, or the library is missing.
uint32_t CompressMessageBody(const void* body, uint32_t length, void* out);
