#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/graphics/graphic.h"

namespace app {

class TStream;

// The picture container's registry of picture classes: each is known by the
// class name stored in layouts and by its file extensions. TBitmap is
// registered from the start for "bmp".
class TPicture {
public:
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   TGraphicClass graphicClass);
    // Forgets every extension of the class.
    static void UnregisterGraphicClass(TGraphicClass graphicClass);

    // nullptr when no registered class has that name.
    static TGraphicClass FindClassByName(std::string_view className);
    // Case-insensitive, with or without the leading dot; nullptr when unknown.
    static TGraphicClass FindClassByExtension(std::string_view extension);
    // The description the extension was registered with; empty when unknown.
    static std::string DescriptionOf(std::string_view extension);

    // A stored picture: a length byte, the class name, then the class's own
    // stored data. A name length of 0 means no picture (nullptr). An unknown
    // class raises EInvalidGraphic; a short stream, EReadError.
    static std::unique_ptr<TGraphic> ReadStoredPicture(TStream& stream);
    static void WriteStoredPicture(TStream& stream, TGraphic* graphic);
};

}  // namespace app
