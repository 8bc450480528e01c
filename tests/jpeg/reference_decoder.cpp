#include "tests/jpeg/reference_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace jpegtest {

namespace {

struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void Fail(j_common_ptr codec) { std::longjmp(reinterpret_cast<Failure*>(codec->err)->jump, 1); }

bool Decode(const Bytes& jpeg, ReferenceSettings settings, ReferenceImage& image, jpeg_decompress_struct& decoder) {
    Failure failure;
    decoder.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = Fail;
    if (setjmp(failure.jump) != 0) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&decoder, TRUE);
    decoder.dct_method = JDCT_FLOAT;
    decoder.do_block_smoothing = TRUE;
    if (settings.bgr && decoder.out_color_space == JCS_RGB) decoder.out_color_space = JCS_EXT_BGR;
    if (settings.quantize || decoder.out_color_space == JCS_GRAYSCALE) {
        decoder.quantize_colors = TRUE;
        decoder.desired_number_of_colors = 236;
    }
    jpeg_start_decompress(&decoder);
    image.width = static_cast<int>(decoder.output_width);
    image.height = static_cast<int>(decoder.output_height);
    image.components = decoder.output_components;
    if (decoder.quantize_colors) {
        for (int c = 0; c < decoder.out_color_components; ++c)
            image.colormap.emplace_back(decoder.colormap[c], decoder.colormap[c] + decoder.actual_number_of_colors);
    }
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * image.components);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row =
            &image.pixels[static_cast<std::size_t>(decoder.output_scanline) * image.width * image.components];
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return true;
}

}  // namespace

ReferenceImage DecodeWithLibjpeg(const Bytes& jpeg, ReferenceSettings settings) {
    ReferenceImage image;
    jpeg_decompress_struct decoder;
    if (!Decode(jpeg, settings, image, decoder)) throw std::runtime_error("reference decoder failed");
    return image;
}

}  // namespace jpegtest
