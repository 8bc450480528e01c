// kalvena-photo OUTPUT.jpg: renders the registration window's photograph, a
// tracked armoured vehicle on a plain light floor, 1024 × 768, and writes it
// as a baseline JFIF file at the best quality that stays under the size cap.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/photo/jpeg_file_writer.h"
#include "tools/photo/renderer.h"

int main(int argc, char** argv) {
    const bool preview = argc == 3 && std::string(argv[2]) == "--preview";
    if (argc != 2 && !preview) {
        std::cerr << "usage: kalvena-photo OUTPUT.jpg [--preview]\n";
        return 2;
    }
    // A preview renders at half size, to judge the scene quickly.
    const int kWidth = preview ? 512 : 1024;
    const int kHeight = preview ? 384 : 768;
    constexpr std::size_t kMaxBytes = 112 * 1024;
    const std::vector<unsigned char> rgb = photo::RenderScene(kWidth, kHeight, 2);
    std::vector<unsigned char> jpeg;
    int quality = 95;
    for (; quality >= 50; quality -= 1) {
        jpeg = photo::EncodeBaselineJpeg(rgb, kWidth, kHeight, quality);
        if (jpeg.size() <= kMaxBytes) break;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << argv[1] << ": " << jpeg.size() << " bytes, quality " << quality << "\n";
    return 0;
}
