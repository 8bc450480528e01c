#pragma once

#include <cstdint>
#include <memory>

#include "app/graphics/bitmap.h"
#include "app/graphics/graphic.h"
#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/shared_image.h"
#include "app/graphics/stream.h"

namespace jpeg {

class CodecSession;

// A failure reported by libjpeg: "JPEG error #<libjpeg's message code>".
class EJPEG : public app::EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

enum TJPEGPixelFormat : std::uint8_t { Depth24 = 0, Depth8 = 1 };
enum TJPEGPerformance : std::uint8_t { QualityFirst = 0, SpeedFirst = 1 };

// The settings every new picture copies, in their stored order.
struct TJPEGDefaults {
    std::uint8_t EncodeQuality;
    bool GrayOutput;
    TJPEGPerformance DecodeSpeed;
    TJPEGPixelFormat OutputDepth;
    bool ShowByScans;
    bool MultiScan;
    std::uint8_t ScaleShift;
    bool BlockSmoothing;
};
static_assert(sizeof(TJPEGDefaults) == 8);

inline TJPEGDefaults DefaultSettings{90, false, QualityFirst, Depth24, false, false, 0, true};

// Picks the default output depth from the screen: Depth8 on 256 colours or
// fewer. Runs once, at program start.
void ChooseDefaultDepth();

// JPEG bytes shared by every picture that was assigned from the same one.
class TJPEGData : public app::TSharedImage {
public:
    std::unique_ptr<app::TMemoryStream> JpegBytes;
    std::int32_t HeaderHeight = 0;
    std::int32_t HeaderWidth = 0;
    bool HeaderGray = false;

protected:
    ~TJPEGData() override = default;
    void FreeHandle() override {}
};

// The JPEG picture: keeps the JPEG bytes as stored, reads only their header
// on loading, decodes them into a bitmap (the Raster) the first time pixels
// are needed, and encodes a bitmap back into JPEG bytes when it must save one.
class TJPEGImage : public app::TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    static app::TGraphicClass Class();
    const char* ClassName() const override { return "TJPEGImage"; }

    // Into a TBitmap: the bitmap takes the decoded Raster.
    void AssignTo(app::TPersistent* dest) override;
    // From another JPEG picture (sharing its bytes) or from a TBitmap.
    void Assign(app::TPersistent* source) override;
    void Changed(app::TObject* sender) override;
    void RenderTo(app::TCanvas& canvas, const app::TRect& rect) override;
    bool Equals(app::TGraphic* other) override;
    bool IsBlank() const override;
    std::int32_t PixelHeight() const override;
    app::HPALETTE PaletteHandle() override;
    std::int32_t PixelWidth() const override;
    // A 32-bit little-endian count, then that many JPEG bytes.
    void ReadStoredData(app::TStream& stream) override;
    // A JPEG picture has the size of its data: always EInvalidGraphicOperation.
    void ResizeHeight(std::int32_t height) override;
    void ReplacePalette(app::HPALETTE palette) override;
    void ResizeWidth(std::int32_t width) override;
    void WriteStoredData(app::TStream& stream) override;
    // The rest of the stream is the JPEG bytes.
    void ReadPicture(app::TStream& stream) override;
    // The JPEG bytes, encoding the Raster first when there are none.
    void WritePicture(app::TStream& stream) override;
    void ReadClipboard(std::uint16_t format, app::HGLOBAL data, app::HPALETTE palette) override;
    void WriteClipboard(std::uint16_t& format, app::HGLOBAL& data, app::HPALETTE& palette) override;

    // The decoded image, decoding on the first call. Later calls return the
    // same Raster until new bytes are loaded or a new palette drops it.
    app::TBitmap& EnsureRaster();

    // The picture's state, for the toolkit and for tests.
    const TJPEGData& Store() const { return *ByteStore; }
    const app::TBitmap* CurrentRaster() const { return Raster.get(); }
    app::HPALETTE OwnedPalette() const { return HeldPalette; }
    TJPEGPixelFormat Depth() const { return OutputDepth; }
    bool IsMultiScan() const { return MultiScan; }

private:
    void NewStore();
    void NewRaster();
    void DropRaster();
    void EnsureBytes();
    void EncodeRaster();
    void LoadBytes(std::int32_t count, app::TStream& stream);
    void ReadHeader();
    void OpenDecoder(CodecSession& session);
    void Decode(CodecSession& session);
    void DecodeRows(CodecSession& session);
    void EndDecodeProgress(std::uint8_t percent);

    TJPEGData* ByteStore = nullptr;
    std::unique_ptr<app::TBitmap> Raster;
    app::HPALETTE HeldPalette = 0;
    bool BlockSmoothing;
    bool GrayOutput;
    TJPEGPixelFormat OutputDepth;
    std::uint8_t EncodeQuality;
    bool ShowByScans;
    bool MultiScan;
    TJPEGPerformance DecodeSpeed;
    std::uint8_t ScaleShift;
};

}  // namespace jpeg
