// kalvena-icon DRAWING DIR NAME SIZE...: writes a program's icon as
// DIR/NAME.svg and DIR/NAME-SIZE.png for each size. Run by the build
// (packaging/CMakeLists.txt), which installs the files.
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/icon/icon_drawing.h"
#include "app/icon/icon_image.h"

namespace {

std::string Hex(unsigned colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", colour & 0xFFFFFFu);
    return text;
}

// At most two decimals, no trailing zeros.
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
    return number;
}

std::string Svg(const std::vector<icontool::Shape>& shapes) {
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const icontool::Shape& shape : shapes) {
        std::string fill = " fill=\"";
        fill += Hex(shape.colour);
        fill += "\"/>\n";
        switch (shape.kind) {
            case icontool::Shape::Kind::RoundedRect: {
                const icontool::Point& a = shape.points[0];
                const icontool::Point& b = shape.points[1];
                svg += "  <rect x=\"" + Number(a.x) + "\" y=\"" + Number(a.y) + "\" width=\"" + Number(b.x - a.x) +
                       "\" height=\"" + Number(b.y - a.y) + "\" rx=\"" + Number(shape.radius) + "\"" + fill;
                break;
            }
            case icontool::Shape::Kind::Circle:
                svg += "  <circle cx=\"" + Number(shape.points[0].x) + "\" cy=\"" + Number(shape.points[0].y) +
                       "\" r=\"" + Number(shape.radius) + "\"" + fill;
                break;
            case icontool::Shape::Kind::Polygon: {
                std::string points;
                for (const icontool::Point& p : shape.points) {
                    if (!points.empty()) points += ' ';
                    points += Number(p.x);
                    points += ',';
                    points += Number(p.y);
                }
                svg += "  <polygon points=\"";
                svg += points;
                svg += "\"";
                svg += fill;
                break;
            }
        }
    }
    return svg + "</svg>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: kalvena-icon DRAWING DIR NAME SIZE...\n");
        return 2;
    }
    const std::vector<icontool::Shape> shapes = icontool::Drawing(argv[1]);
    if (shapes.empty()) {
        std::fprintf(stderr, "kalvena-icon: no drawing named %s\n", argv[1]);
        return 2;
    }
    const std::string base = std::string(argv[2]) + "/" + argv[3];
    std::ofstream svg(base + ".svg", std::ios::binary | std::ios::trunc);
    svg << Svg(shapes);
    svg.close();
    if (!svg) {
        std::fprintf(stderr, "kalvena-icon: cannot write %s.svg\n", base.c_str());
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "kalvena-icon: %s is no icon size\n", argv[i]);
            return 2;
        }
        const QString file = QString::fromStdString(base + "-" + std::to_string(size) + ".png");
        if (!icontool::Image(shapes, size).save(file, "PNG")) {
            std::fprintf(stderr, "kalvena-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
