// kalvena-draw-pictures OUTDIR: writes the seven map-sign pictures of the
// bank as Tq514.bmp … Tq520.bmp.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/bank/picture_table.h"
#include "tools/pictures/map_signs.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kalvena-draw-pictures OUTDIR\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    for (const banktool::MapSignPicture& sign : banktool::kPictures) {
        const std::vector<unsigned char> bmp = pictures::DrawMapSign(sign).ToBmp();
        const std::filesystem::path path = directory / (std::string(sign.name) + ".bmp");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        out.close();
        if (!out) {
            std::cerr << path.string() << ": error: cannot write the picture\n";
            return 1;
        }
    }
    return 0;
}
