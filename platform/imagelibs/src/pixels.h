/* Pictures as plain pixel rows, and the JPEG and PNG codecs over them (libjpeg-turbo,
 * libpng). No Windows types: the library wrappers turn these into bitmaps and handles. */
#ifndef IMAGELIBS_PIXELS_H
#define IMAGELIBS_PIXELS_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Largest picture decoded or encoded: each side at most 16384 pixels and at most
 * 64 Mi pixels in all (256 MiB at four bytes a pixel). */
#define PIXELS_MAX_SIDE 16384
#define PIXELS_MAX_COUNT (64u * 1024u * 1024u)

/* Rows top first. channels: 1 grey, 3 blue-green-red, 4 blue-green-red-alpha (straight
 * alpha). stride: bytes from one row to the next (at least width * channels). */
typedef struct PixelImage {
    int width;
    int height;
    int channels;
    size_t stride;
    unsigned char *data; /* malloc'ed when owned */
} PixelImage;

/* 1 when width, height and channels are within the limits above. */
int pixels_size_ok(long long width, long long height, int channels);
/* Allocates rows of width * channels bytes (no padding); 1 on success. */
int pixels_alloc(PixelImage *image, int width, int height, int channels);
void pixels_free(PixelImage *image);

/* Encoded bytes handed out by the encoders; released with free(). */
typedef struct EncodedBytes {
    unsigned char *data;
    size_t size;
} EncodedBytes;

/* Decoders: 1 and a new image on success; 0 and an empty image for anything that is not a
 * whole, well-formed picture within the limits. JPEG gives 1 channel (grey pictures) or 3;
 * PNG gives 3 or, when the picture has transparency, 4. */
int jpeg_decode(const unsigned char *src, size_t size, PixelImage *out);
int png_decode(const unsigned char *src, size_t size, PixelImage *out);

/* Encoders: 1 and out filled on success. JPEG drops the alpha channel; quality is clamped
 * to 1..100. PNG keeps 1, 3 or 4 channels as grey, RGB or RGBA. */
int jpeg_encode(const PixelImage *image, int quality, EncodedBytes *out);
int png_encode(const PixelImage *image, EncodedBytes *out);

#ifdef __cplusplus
}
#endif

#endif
