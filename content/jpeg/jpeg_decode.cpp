// TJPEGImage: reading the header on loading, decoding into the Raster.
#include <cstddef>
#include <cstring>

#include "app/graphics/system_palettes.h"
#include "content/jpeg/decode_limits.h"
#include "content/jpeg/jpeg.h"
#include "content/jpeg/jpeg_codec.h"
#include "content/jpeg/jpeg_palette.h"
#include "content/jpeg/jpeg_stream_io.h"

namespace jpeg {

namespace {

struct HeaderFacts {
    app::TStream* Stream;
    std::int32_t Width;
    std::int32_t Height;
    bool Gray;
    bool MultiScan;
};

void ReadHeaderFacts(CodecRecord& record, void* context) {
    auto* facts = static_cast<HeaderFacts*>(context);
    jpeg_decompress_struct& decoder = record.Decompress;
    AttachStreamSource(&decoder, facts->Stream);
    jpeg_read_header(&decoder, TRUE);
    facts->Width = static_cast<std::int32_t>(decoder.image_width);
    facts->Height = static_cast<std::int32_t>(decoder.image_height);
    facts->Gray = decoder.jpeg_color_space == JCS_GRAYSCALE;
    facts->MultiScan = jpeg_has_multiple_scans(&decoder) != 0;
}

struct DecoderSettings {
    app::TStream* Stream;
    std::uint8_t ScaleShift;
    bool BlockSmoothing;
    bool Depth8;
    std::uint64_t MaxPixels;
};

void SetUpDecoder(CodecRecord& record, void* context) {
    const auto* settings = static_cast<const DecoderSettings*>(context);
    jpeg_decompress_struct& decoder = record.Decompress;
    AttachStreamSource(&decoder, settings->Stream);
    jpeg_read_header(&decoder, TRUE);
    if (std::uint64_t{decoder.image_width} * decoder.image_height > settings->MaxPixels)
        ERREXIT1(&decoder, JERR_IMAGE_TOO_BIG, static_cast<unsigned>(settings->MaxPixels));
    decoder.scale_num = 1;
    decoder.scale_denom = 1u << settings->ScaleShift;
    decoder.do_block_smoothing = settings->BlockSmoothing ? TRUE : FALSE;
    // The Raster keeps blue, green, red; libjpeg writes them in that order.
    if (decoder.out_color_space == JCS_RGB)
        decoder.out_color_space = JCS_EXT_BGR;
    else if (decoder.out_color_space != JCS_GRAYSCALE)
        ERREXIT(&decoder, JERR_CONVERSION_NOTIMPL);  // CMYK and YCCK: no faithful colours without a profile
    if (settings->Depth8 || decoder.out_color_space == JCS_GRAYSCALE) {
        decoder.quantize_colors = TRUE;
        decoder.desired_number_of_colors = 236;
    }
    decoder.dct_method = JDCT_FLOAT;
}

void StartDecompress(CodecRecord& record, void*) { jpeg_start_decompress(&record.Decompress); }

void ReadRows(CodecRecord& record, void* context) {
    const auto* target = static_cast<const BitmapRows*>(context);
    jpeg_decompress_struct& decoder = record.Decompress;
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = target->Row(decoder.output_scanline);
        if (jpeg_read_scanlines(&decoder, &row, 1) == 0) break;
    }
    jpeg_finish_decompress(&decoder);
}

}  // namespace

void TJPEGImage::LoadBytes(std::int32_t count, app::TStream& stream) {
    NewStore();
    DropRaster();
    ByteStore->JpegBytes = std::make_unique<app::TMemoryStream>();
    if (count < 0 || count > stream.Remaining()) throw app::EReadError();
    ByteStore->JpegBytes->SetSize(count);
    stream.ReadBuffer(ByteStore->JpegBytes->Memory(), count);
    if (count > 0) ReadHeader();
    PaletteModified = true;
    Changed(this);
}

void TJPEGImage::ReadHeader() {
    CodecSession session;
    session.CreateDecompress();
    ByteStore->JpegBytes->SetPosition(0);
    HeaderFacts facts{ByteStore->JpegBytes.get(), 0, 0, false, false};
    session.Run(ReadHeaderFacts, &facts);
    ByteStore->HeaderWidth = facts.Width;
    ByteStore->HeaderHeight = facts.Height;
    ByteStore->HeaderGray = facts.Gray;
    MultiScan = facts.MultiScan;
}

void TJPEGImage::OpenDecoder(CodecSession& session) {
    session.CreateDecompress();
    session.InstallProgress(this);
    ByteStore->JpegBytes->SetPosition(0);
    DecoderSettings settings{ByteStore->JpegBytes.get(), ScaleShift, BlockSmoothing, OutputDepth == Depth8,
                             MaxDecodePixels()};
    session.Run(SetUpDecoder, &settings);
}

app::TBitmap& TJPEGImage::EnsureRaster() {
    if (Raster != nullptr) return *Raster;
    Raster = std::make_unique<app::TBitmap>();
    // An empty picture has nothing to decode: its Raster stays empty.
    if (ByteStore->JpegBytes == nullptr) return *Raster;
    try {
        CodecSession session;
        Decode(session);
    } catch (const app::EAbort&) {
        // Cancelled by a progress handler: what was decoded so far is shown.
    }
    return *Raster;
}

void TJPEGImage::Decode(CodecSession& session) {
    OpenDecoder(session);
    const jpeg_decompress_struct& decoder = session.Record.Decompress;
    Raster->SetHandle(0);
    const bool indexed = OutputDepth == Depth8 || decoder.out_color_space == JCS_GRAYSCALE;
    Raster->SetPixelFormat(indexed ? app::TPixelFormat::pf8bit : app::TPixelFormat::pf24bit);
    Progress(this, app::TProgressStage::Starting, 0, false, {}, {});
    try {
        DecodeRows(session);
    } catch (...) {
        EndDecodeProgress(0);
        throw;
    }
    EndDecodeProgress(100);
}

void TJPEGImage::DecodeRows(CodecSession& session) {
    const jpeg_decompress_struct& decoder = session.Record.Decompress;
    bool buildPalette = true;
    if (HeldPalette != 0) {
        if (OutputDepth == Depth8) {
            if (ColormapFromPalette(session, HeldPalette)) {
                Raster->ReplacePalette(app::CopyPalette(HeldPalette));
                buildPalette = false;
            }
        } else {
            app::DeleteObject(HeldPalette);
            HeldPalette = 0;
        }
    }
    session.Run(StartDecompress);

    Raster->SetHandle(0);
    // libjpeg writes every pixel of every row it reaches; rows it does not
    // reach are cleared below, so the Raster is not zero-filled first.
    Raster->SetSizeForOverwrite(static_cast<std::int32_t>(decoder.output_width),
                                static_cast<std::int32_t>(decoder.output_height));
    if (decoder.quantize_colors && decoder.colormap != nullptr && buildPalette) {
        Raster->ReplacePalette(PaletteFromColormap(decoder));
        PaletteModified = true;
    }
    BitmapRows target = RowsOf(*Raster);
    // A decode that ends early leaves black rows behind, not stale memory.
    const auto clearUnreachedRows = [&] {
        for (auto row = static_cast<std::int32_t>(decoder.output_scanline); row < Raster->PixelHeight(); ++row)
            std::memset(Raster->GetScanline(row), 0, static_cast<std::size_t>(Raster->BytesPerRow()));
    };
    try {
        session.Run(ReadRows, &target);
    } catch (...) {
        clearUnreachedRows();
        throw;
    }
    clearUnreachedRows();
}

void TJPEGImage::EndDecodeProgress(std::uint8_t percent) {
    Progress(this, app::TProgressStage::Ending, percent, PaletteModified, {}, {});
    if (PaletteModified) Changed(this);
}

}  // namespace jpeg
