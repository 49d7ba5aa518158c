/* JPEG through libjpeg-turbo. Its errors arrive as a call that must not return: they jump
 * back to the setjmp of the running operation, which releases what it holds. */
#include "pixels.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>
#include <jerror.h>

typedef struct ErrorJump {
    struct jpeg_error_mgr manager;
    jmp_buf jump;
} ErrorJump;

static void fail(j_common_ptr cinfo)
{
    longjmp(((ErrorJump *)cinfo->err)->jump, 1);
}

/* Warnings are tolerated (stray bytes and the like), except the end of the data before the
 * end of the picture: a cut-off file is not a picture. */
static void on_message(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        fail(cinfo);
}

static void print_nothing(j_common_ptr cinfo)
{
    (void)cinfo;
}

static struct jpeg_error_mgr *init_errors(ErrorJump *errors)
{
    struct jpeg_error_mgr *manager = jpeg_std_error(&errors->manager);
    manager->error_exit = fail;
    manager->emit_message = on_message;
    manager->output_message = print_nothing;
    return manager;
}

int jpeg_decode(const unsigned char *src, size_t size, PixelImage *out)
{
    struct jpeg_decompress_struct cinfo;
    ErrorJump errors;

    memset(out, 0, sizeof *out);
    if (!src || size == 0 || size > 0x7fffffffu)
        return 0;
    cinfo.err = init_errors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        pixels_free(out);
        return 0;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, src, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);
    int channels = cinfo.jpeg_color_space == JCS_GRAYSCALE ? 1 : 3;
    cinfo.out_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_EXT_BGR;
    if (!pixels_size_ok(cinfo.image_width, cinfo.image_height, channels) ||
        !pixels_alloc(out, (int)cinfo.image_width, (int)cinfo.image_height, channels)) {
        jpeg_destroy_decompress(&cinfo);
        return 0;
    }
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != (JDIMENSION)out->width || cinfo.output_height != (JDIMENSION)out->height ||
        cinfo.output_components != channels)
        fail((j_common_ptr)&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->data + out->stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 1;
}

int jpeg_encode(const PixelImage *image, int quality, EncodedBytes *out)
{
    struct jpeg_compress_struct cinfo;
    ErrorJump errors;
    unsigned char *buffer = NULL; /* grown by libjpeg with malloc */
    unsigned long buffer_size = 0;

    memset(out, 0, sizeof *out);
    if (!image || !image->data || !pixels_size_ok(image->width, image->height, image->channels) ||
        image->stride < (size_t)image->width * (size_t)image->channels)
        return 0;
    cinfo.err = init_errors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        free(buffer);
        return 0;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &buffer_size);
    cinfo.image_width = (JDIMENSION)image->width;
    cinfo.image_height = (JDIMENSION)image->height;
    cinfo.input_components = image->channels;
    cinfo.in_color_space = image->channels == 1 ? JCS_GRAYSCALE : image->channels == 3 ? JCS_EXT_BGR : JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = image->data + image->stride * cinfo.next_scanline;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    out->data = buffer;
    out->size = buffer_size;
    return 1;
}
