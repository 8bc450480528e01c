// Decoding the registration photograph into its Raster, against libjpeg-turbo's
// own decoder with the same settings (float DCT, block smoothing, blue-green-red
// rows), both in this process, alternating, so that both see the same machine.
#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <span>
#include <vector>

#include "app/graphics/stream.h"
#include "bench/bench_timing.h"
#include "content/jpeg/jpeg.h"
#include "content/jpeg/libjpeg.h"
#include "content/jpeg/registration_photo.h"

namespace {

using bench::Clock;
using bench::Median;

// The stored data after the class name: count and JPEG bytes.
std::span<const unsigned char> StoredData() { return jpeg::RegistrationPhotoStoredData().subspan(11); }

double DecodeWithPicture(jpeg::TJPEGPixelFormat depth) {
    jpeg::DefaultSettings.OutputDepth = depth;
    const auto start = Clock::now();
    jpeg::TJPEGImage picture;
    app::TReadOnlyMemoryStream stream(StoredData());
    picture.ReadStoredData(stream);
    const app::TBitmap& raster = picture.EnsureRaster();
    const auto end = Clock::now();
    if (raster.PixelWidth() != 1024) std::abort();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void Fail(j_common_ptr codec) { std::longjmp(reinterpret_cast<Failure*>(codec->err)->jump, 1); }

// What a careful program does with libjpeg alone: the same work, rows into a
// freshly allocated bottom-up buffer.
double DecodeWithLibjpeg(jpeg::TJPEGPixelFormat depth) {
    const std::span<const unsigned char> jpegBytes = StoredData().subspan(4);
    const auto start = Clock::now();
    jpeg_decompress_struct decoder;
    Failure failure;
    decoder.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = Fail;
    if (setjmp(failure.jump) != 0) std::abort();
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, jpegBytes.data(), static_cast<unsigned long>(jpegBytes.size()));
    jpeg_read_header(&decoder, TRUE);
    decoder.dct_method = JDCT_FLOAT;
    decoder.do_block_smoothing = TRUE;
    decoder.out_color_space = JCS_EXT_BGR;
    if (depth == jpeg::Depth8) {
        decoder.quantize_colors = TRUE;
        decoder.desired_number_of_colors = 236;
    }
    jpeg_start_decompress(&decoder);
    const std::size_t stride = (decoder.output_width * decoder.output_components + 3u) / 4 * 4;
    std::vector<unsigned char> pixels(stride * decoder.output_height);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = pixels.data() + (decoder.output_height - 1 - decoder.output_scanline) * stride;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    const auto end = Clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void Compare(const char* label, jpeg::TJPEGPixelFormat depth, int runs) {
    std::vector<double> picture, library;
    for (int i = 0; i < 3; ++i) {  // warm caches and allocators
        DecodeWithPicture(depth);
        DecodeWithLibjpeg(depth);
    }
    for (int i = 0; i < runs; ++i) {
        picture.push_back(DecodeWithPicture(depth));
        library.push_back(DecodeWithLibjpeg(depth));
    }
    const double ours = Median(picture);
    const double theirs = Median(library);
    std::printf("%-28s TJPEGImage %7.2f ms (min %7.2f)   libjpeg-turbo %7.2f ms (min %7.2f)   ratio %.3f\n", label,
                ours, *std::min_element(picture.begin(), picture.end()), theirs,
                *std::min_element(library.begin(), library.end()), ours / theirs);
}

}  // namespace

int main() {
    constexpr int kRuns = 41;
    std::printf("registration photograph, 1024 x 768, %zu JPEG bytes; median of %d runs each\n",
                StoredData().size() - 4, kRuns);
    Compare("24-bit Raster (true colour)", jpeg::Depth24, kRuns);
    Compare("8-bit Raster (256 colours)", jpeg::Depth8, kRuns);
    return 0;
}
