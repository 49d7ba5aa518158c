/* DIDuv.dll: the platform's message compression library, zlib-style entries.
 *
 *   int compress(unsigned char* dest, unsigned long* destLen,
 *                const unsigned char* source, unsigned long sourceLen);
 *   int uncompress(unsigned char* dest, unsigned long* destLen,
 *                  const unsigned char* source, unsigned long sourceLen);
 *
 * *destLen holds the destination capacity on entry and the bytes written on
 * return; the result is 0 on success and a negative zlib code otherwise.
 * Both are cdecl. The exported names come from DIDuv.def. */
#include <zlib.h>

int DiduvCompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen)
{
    if (!dest || !destLen || (!source && sourceLen))
        return Z_STREAM_ERROR;
    return compress2(dest, destLen, source, sourceLen, Z_DEFAULT_COMPRESSION);
}

int DiduvUncompress(Bytef* dest, uLongf* destLen, const Bytef* source, uLong sourceLen)
{
    if (!dest || !destLen || (!source && sourceLen))
        return Z_STREAM_ERROR;
    return uncompress(dest, destLen, source, sourceLen);
}
