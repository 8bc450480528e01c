#include "tools/photo/jpeg_file_writer.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace photo {

std::vector<unsigned char> EncodeBaselineJpeg(const std::vector<unsigned char>& rgb, int width, int height,
                                              int quality) {
    // A tool: libjpeg's standard error handler reports and exits.
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &buffer, &size);
    encoder.image_width = static_cast<JDIMENSION>(width);
    encoder.image_height = static_cast<JDIMENSION>(height);
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    encoder.optimize_coding = TRUE;
    encoder.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(rgb.data()) + static_cast<std::size_t>(encoder.next_scanline) * width * 3;
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&encoder);
    std::free(buffer);
    return bytes;
}

}  // namespace photo
