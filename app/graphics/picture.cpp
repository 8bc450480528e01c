#include "app/graphics/picture.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "app/graphics/bitmap.h"
#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/stream.h"

namespace app {

namespace {

struct FileFormat {
    std::string extension;
    std::string description;
    TGraphicClass graphicClass;
};

std::vector<FileFormat>& Formats() {
    static std::vector<FileFormat> formats{{"bmp", "Bitmaps", TBitmap::Class()}};
    return formats;
}

std::string Normalized(std::string_view extension) {
    if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
    std::string lower(extension);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

const FileFormat* FindFormat(std::string_view extension) {
    const std::string wanted = Normalized(extension);
    for (const FileFormat& format : Formats())
        if (format.extension == wanted) return &format;
    return nullptr;
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass) {
    const std::string key = Normalized(extension);
    auto& formats = Formats();
    std::erase_if(formats, [&](const FileFormat& format) { return format.extension == key; });
    formats.push_back({key, description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) {
    std::erase_if(Formats(), [&](const FileFormat& format) { return format.graphicClass == graphicClass; });
}

TGraphicClass TPicture::FindClassByName(std::string_view className) {
    for (const FileFormat& format : Formats())
        if (className == format.graphicClass->Name) return format.graphicClass;
    return nullptr;
}

TGraphicClass TPicture::FindClassByExtension(std::string_view extension) {
    const FileFormat* format = FindFormat(extension);
    return format != nullptr ? format->graphicClass : nullptr;
}

std::string TPicture::DescriptionOf(std::string_view extension) {
    const FileFormat* format = FindFormat(extension);
    return format != nullptr ? format->description : std::string();
}

std::unique_ptr<TGraphic> TPicture::ReadStoredPicture(TStream& stream) {
    unsigned char length = 0;
    stream.ReadBuffer(&length, 1);
    if (length == 0) return nullptr;
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    const TGraphicClass graphicClass = FindClassByName(className);
    if (graphicClass == nullptr) throw EInvalidGraphic("No kind of picture is called \"" + className + "\"");
    std::unique_ptr<TGraphic> graphic = graphicClass->Create();
    graphic->ReadStoredData(stream);
    return graphic;
}

void TPicture::WriteStoredPicture(TStream& stream, TGraphic* graphic) {
    if (graphic == nullptr) {
        const unsigned char none = 0;
        stream.WriteBuffer(&none, 1);
        return;
    }
    const char* name = graphic->ClassName();
    const auto length = static_cast<unsigned char>(std::strlen(name));
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(name, length);
    graphic->WriteStoredData(stream);
}

}  // namespace app
