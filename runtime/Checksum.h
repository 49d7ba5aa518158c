// The client's 32-bit block checksum, its text and 16-bit forms, and three
// small file helpers that sit beside it.
#pragma once

#include <cstdint>

// Bytes taken in groups of four, most significant first: for each full group
// sum = (key ^ sum) + group, key -= 0x789ABCDF, starting from key 0x12345678;
// a last, incomplete group is added unshifted. 0 for a count of 0.
uint32_t CalcChecksum(const void* data, uint32_t count);
// The same over the bytes of a zero-terminated text; the Upper form takes each
// single-byte letter in upper case.
uint32_t CalcTextChecksum(const char* text);
uint32_t CalcTextChecksumUpper(const char* text);

// The same scheme in 16 bits on groups of two bytes: key 0x5678 at the start,
// key += 0x8765 after each group.
uint16_t CalcChecksum16(const void* data, uint32_t count);
uint16_t CalcTextChecksum16(const char* text);
uint16_t CalcTextChecksum16Upper(const char* text);

// Creates or replaces the file with the bytes (written to a temporary name
// first, so a failure leaves the old file). 1, or 0 on failure.
int WriteBytesToFile(const char* path, const void* data, uint32_t size);
// Opens or creates the file and writes the bytes at its end; the path, or null
// when the file cannot be opened or written.
const char* AppendBytesToFile(const char* path, const void* data, uint32_t size);
// Keeps nine generations of a file: "name.9" is deleted, "name.k-1" becomes
// "name.k" for k = 9 down to 2, and the file becomes "name.1". A name of 258
// bytes or more is cut to 257 (on a character boundary).
void RotateFiles(const char* name);
