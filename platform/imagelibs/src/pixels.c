#include "pixels.h"

#include <stdlib.h>
#include <string.h>

int pixels_size_ok(long long width, long long height, int channels)
{
    return width > 0 && height > 0 && width <= PIXELS_MAX_SIDE && height <= PIXELS_MAX_SIDE &&
           width * height <= (long long)PIXELS_MAX_COUNT && (channels == 1 || channels == 3 || channels == 4);
}

int pixels_alloc(PixelImage *image, int width, int height, int channels)
{
    memset(image, 0, sizeof *image);
    if (!pixels_size_ok(width, height, channels))
        return 0;
    image->stride = (size_t)width * (size_t)channels;
    image->data = (unsigned char *)malloc(image->stride * (size_t)height);
    if (!image->data)
        return 0;
    image->width = width;
    image->height = height;
    image->channels = channels;
    return 1;
}

void pixels_free(PixelImage *image)
{
    free(image->data);
    memset(image, 0, sizeof *image);
}
