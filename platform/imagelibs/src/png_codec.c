/* PNG through libpng's simplified interface, which reports errors by its result. */
#include "pixels.h"

#include <stdlib.h>
#include <string.h>

#include <png.h>

int png_decode(const unsigned char *src, size_t size, PixelImage *out)
{
    png_image image;

    memset(out, 0, sizeof *out);
    if (!src || size < 8 || size > 0x7fffffffu)
        return 0;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, src, size))
        return 0;
    /* A tRNS chunk counts as alpha here too. */
    int channels = (image.format & PNG_FORMAT_FLAG_ALPHA) ? 4 : 3;
    image.format = channels == 4 ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    if (!pixels_size_ok(image.width, image.height, channels) ||
        !pixels_alloc(out, (int)image.width, (int)image.height, channels)) {
        png_image_free(&image);
        return 0;
    }
    if (!png_image_finish_read(&image, NULL, out->data, (png_int_32)out->stride, NULL)) {
        png_image_free(&image);
        pixels_free(out);
        return 0;
    }
    return 1;
}

int png_encode(const PixelImage *pixels, EncodedBytes *out)
{
    png_image image;
    png_alloc_size_t size = 0;

    memset(out, 0, sizeof *out);
    if (!pixels || !pixels->data || !pixels_size_ok(pixels->width, pixels->height, pixels->channels) ||
        pixels->stride < (size_t)pixels->width * (size_t)pixels->channels || pixels->stride > 0x7fffffffu)
        return 0;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = (png_uint_32)pixels->width;
    image.height = (png_uint_32)pixels->height;
    image.format = pixels->channels == 1 ? PNG_FORMAT_GRAY : pixels->channels == 3 ? PNG_FORMAT_BGR : PNG_FORMAT_BGRA;
    /* First the size, then the bytes. */
    if (!png_image_write_to_memory(&image, NULL, &size, 0, pixels->data, (png_int_32)pixels->stride, NULL))
        return 0;
    out->data = (unsigned char *)malloc(size);
    if (!out->data)
        return 0;
    if (!png_image_write_to_memory(&image, out->data, &size, 0, pixels->data, (png_int_32)pixels->stride, NULL)) {
        free(out->data);
        out->data = NULL;
        return 0;
    }
    out->size = size;
    return 1;
}
