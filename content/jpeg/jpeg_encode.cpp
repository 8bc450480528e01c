// TJPEGImage: encoding the Raster when the picture must save JPEG bytes it
// does not have.
#include <cstddef>

#include "content/jpeg/jpeg.h"
#include "content/jpeg/jpeg_codec.h"
#include "content/jpeg/jpeg_stream_io.h"

namespace jpeg {

namespace {

struct EncoderSettings {
    app::TStream* Output;
    JDIMENSION Width;
    JDIMENSION Height;
    int Quality;
    bool Progressive;
};

void SetUpEncoder(CodecRecord& record, void* context) {
    const auto* settings = static_cast<const EncoderSettings*>(context);
    jpeg_compress_struct& encoder = record.Compress;
    AttachStreamDestination(&encoder, settings->Output);
    encoder.image_width = settings->Width;
    encoder.image_height = settings->Height;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_EXT_BGR;  // the Raster's byte order
    jpeg_set_defaults(&encoder);
    encoder.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&encoder, settings->Quality, TRUE);
    if (settings->Progressive) jpeg_simple_progression(&encoder);
}

void WriteRows(CodecRecord& record, void* context) {
    const auto* source = static_cast<const BitmapRows*>(context);
    jpeg_compress_struct& encoder = record.Compress;
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = source->Row(encoder.next_scanline);
        if (jpeg_write_scanlines(&encoder, &row, 1) == 0) break;
    }
    jpeg_finish_compress(&encoder);
}

}  // namespace

void TJPEGImage::EnsureBytes() {
    if (ByteStore->JpegBytes == nullptr) EncodeRaster();
}

void TJPEGImage::EncodeRaster() {
    // Without pixels there is nothing to encode, and the picture stays
    // without bytes rather than gaining an empty, undecodable set.
    if (Raster == nullptr || Raster->IsBlank()) return;
    try {
        app::TBitmap source;
        source.Assign(Raster.get());
        source.SetPixelFormat(app::TPixelFormat::pf24bit);
        // The bytes reach the holder only when complete: a failed encoding
        // leaves no partial JPEG behind.
        auto output = std::make_unique<app::TMemoryStream>();

        CodecSession session;
        session.CreateCompress();
        session.InstallProgress(this);
        EncoderSettings settings{output.get(), static_cast<JDIMENSION>(source.PixelWidth()),
                                 static_cast<JDIMENSION>(source.PixelHeight()), EncodeQuality, MultiScan};
        session.Run(SetUpEncoder, &settings);
        BitmapRows rows = RowsOf(source);

        Progress(this, app::TProgressStage::Starting, 0, false, {}, {});
        try {
            session.Run(WriteRows, &rows);
        } catch (...) {
            Progress(this, app::TProgressStage::Ending, 0, false, {}, {});
            throw;
        }
        Progress(this, app::TProgressStage::Ending, 100, false, {}, {});
        ByteStore->JpegBytes = std::move(output);
        ByteStore->HeaderWidth = source.PixelWidth();
        ByteStore->HeaderHeight = source.PixelHeight();
    } catch (const app::EAbort&) {
        NewStore();
    }
}

}  // namespace jpeg
