#include "tests/jpeg/jpeg_samples.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace jpegtest {

Bytes SyntheticRgb(int width, int height) {
    Bytes rgb(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            const double fx = static_cast<double>(x) / std::max(1, width - 1);
            const double fy = static_cast<double>(y) / std::max(1, height - 1);
            const bool disc = std::hypot(fx - 0.6, fy - 0.4) < 0.25;
            p[0] = static_cast<unsigned char>(disc ? 220 : 40 + 180 * fx);
            p[1] = static_cast<unsigned char>(disc ? 60 : 30 + 160 * fy);
            p[2] = static_cast<unsigned char>(128 + 100 * std::sin(fx * 9 + fy * 5));
            if ((x / 3 + y / 3) % 7 == 0) p[1] = static_cast<unsigned char>(p[1] / 2);
        }
    }
    return rgb;
}

Bytes MakeJpeg(const SampleRecipe& recipe) {
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &buffer, &size);
    encoder.image_width = static_cast<JDIMENSION>(recipe.width);
    encoder.image_height = static_cast<JDIMENSION>(recipe.height);
    encoder.input_components = recipe.gray ? 1 : recipe.cmyk ? 4 : 3;
    encoder.in_color_space = recipe.gray ? JCS_GRAYSCALE : recipe.cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, recipe.quality, TRUE);
    if (!recipe.gray && !recipe.cmyk) {
        encoder.comp_info[0].h_samp_factor = recipe.lumaSampling;
        encoder.comp_info[0].v_samp_factor = recipe.lumaSampling;
    }
    encoder.restart_in_rows = recipe.restartRows;
    if (recipe.progressive) jpeg_simple_progression(&encoder);
    jpeg_start_compress(&encoder, TRUE);

    const Bytes rgb = SyntheticRgb(recipe.width, recipe.height);
    Bytes row(static_cast<std::size_t>(recipe.width) * 4);
    while (encoder.next_scanline < encoder.image_height) {
        const unsigned char* source = &rgb[static_cast<std::size_t>(encoder.next_scanline) * recipe.width * 3];
        for (int x = 0; x < recipe.width; ++x) {
            const unsigned char* p = source + 3 * x;
            if (recipe.gray) {
                row[x] = static_cast<unsigned char>((p[0] * 3 + p[1] * 5 + p[2] * 2) / 10);
            } else if (recipe.cmyk) {
                for (int c = 0; c < 3; ++c) row[4 * x + c] = static_cast<unsigned char>(255 - p[c]);
                row[4 * x + 3] = 0;
            } else {
                for (int c = 0; c < 3; ++c) row[3 * x + c] = p[c];
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&encoder, rows, 1);
    }
    jpeg_finish_compress(&encoder);
    Bytes jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&encoder);
    std::free(buffer);
    return jpeg;
}

Bytes StoredData(const Bytes& jpeg) {
    const auto n = static_cast<std::uint32_t>(jpeg.size());
    Bytes stored{static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n >> 16),
                 static_cast<unsigned char>(n >> 24)};
    stored.insert(stored.end(), jpeg.begin(), jpeg.end());
    return stored;
}

Bytes StoredPicture(const Bytes& jpeg) {
    Bytes stored{10, 'T', 'J', 'P', 'E', 'G', 'I', 'm', 'a', 'g', 'e'};
    const Bytes data = StoredData(jpeg);
    stored.insert(stored.end(), data.begin(), data.end());
    return stored;
}

Bytes WithDimensions(Bytes jpeg, int width, int height) {
    for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            return jpeg;
        }
    }
    throw std::runtime_error("no frame header");
}

}  // namespace jpegtest
