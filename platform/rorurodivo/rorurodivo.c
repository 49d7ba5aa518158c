/* RORurodivo.dll: the platform's block compression library.
 *
 *   unsigned int QV_ZIPCompress(void* dest, unsigned int destCapacity,
 *                               const void* source, unsigned int sourceLength,
 *                               unsigned int level);
 *   unsigned int QV_ZIPUncompress(void* dest, unsigned int destCapacity,
 *                                 const void* source, unsigned int sourceLength);
 *
 * Each returns the bytes written to dest, 0 on any failure (also when the
 * result does not fit). The data is a zlib stream; level 0-9 selects the
 * zlib level, any other value the default. Both are cdecl; the exported
 * names come from RORurodivo.def. */
#include <zlib.h>

unsigned int RorCompress(void* dest, unsigned int destCapacity,
                         const void* source, unsigned int sourceLength, unsigned int level)
{
    uLongf written = destCapacity;
    int zlevel = level <= 9 ? (int)level : Z_DEFAULT_COMPRESSION;
    if (!dest || !destCapacity || (!source && sourceLength))
        return 0;
    if (compress2((Bytef*)dest, &written, (const Bytef*)source, sourceLength, zlevel) != Z_OK)
        return 0;
    return (unsigned int)written;
}

unsigned int RorUncompress(void* dest, unsigned int destCapacity,
                           const void* source, unsigned int sourceLength)
{
    uLongf written = destCapacity;
    if (!dest || !destCapacity || !source || !sourceLength)
        return 0;
    if (uncompress((Bytef*)dest, &written, (const Bytef*)source, sourceLength) != Z_OK)
        return 0;
    return (unsigned int)written;
}
