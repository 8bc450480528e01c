#include "app/graphics/graphic.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/stream.h"

namespace app {

void TGraphic::Changed(TObject*) {
    Modified = true;
    if (OnChange) OnChange(this);
}

bool TGraphic::Equals(TGraphic* other) {
    if (other == nullptr || std::strcmp(ClassName(), other->ClassName()) != 0) return false;
    if (IsBlank() || other->IsBlank()) return IsBlank() && other->IsBlank();
    TMemoryStream mine;
    TMemoryStream theirs;
    WriteStoredData(mine);
    other->WriteStoredData(theirs);
    const auto a = mine.Bytes();
    const auto b = theirs.Bytes();
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

HPALETTE TGraphic::PaletteHandle() { return 0; }

bool TGraphic::GetTransparent() const { return transparent_; }

void TGraphic::ReadStoredData(TStream& stream) { ReadPicture(stream); }

void TGraphic::ReplacePalette(HPALETTE) {}

void TGraphic::SetTransparent(bool transparent) {
    if (transparent_ == transparent) return;
    transparent_ = transparent;
    Changed(this);
}

void TGraphic::WriteStoredData(TStream& stream) { WritePicture(stream); }

void TGraphic::LoadFromFile(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) throw EFOpenError(fileName);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    TReadOnlyMemoryStream stream({reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()});
    ReadPicture(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
    TMemoryStream picture;
    WritePicture(picture);
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) throw EFCreateError(fileName);
    file.write(reinterpret_cast<const char*>(picture.Bytes().data()),
               static_cast<std::streamsize>(picture.Bytes().size()));
    if (!file) throw EWriteError();
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, std::uint8_t percent, bool redrawNow, const TRect& rect,
                        const std::string& message) {
    if (OnProgress) OnProgress(sender, stage, percent, redrawNow, rect, message);
}

}  // namespace app
