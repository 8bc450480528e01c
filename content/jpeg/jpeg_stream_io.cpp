#include "content/jpeg/jpeg_stream_io.h"

#include <cstdint>

#include "app/graphics/stream.h"
#include "content/jpeg/jpeg_codec.h"

namespace jpeg {

namespace {

constexpr std::int32_t kBufferSize = 4096;

struct StreamSource {
    jpeg_source_mgr Manager;
    app::TStream* Stream;
    JOCTET* Buffer;
    bool StartOfFile;
};

struct StreamDestination {
    jpeg_destination_mgr Manager;
    app::TStream* Stream;
    JOCTET* Buffer;
};

StreamSource* SourceOf(j_decompress_ptr decoder) { return reinterpret_cast<StreamSource*>(decoder->src); }
StreamDestination* DestinationOf(j_compress_ptr encoder) { return reinterpret_cast<StreamDestination*>(encoder->dest); }

// The stream's plain read or write; an exception from the stream leaves
// libjpeg through the session.
std::int32_t Transfer(j_common_ptr codec, app::TStream* stream, JOCTET* buffer, std::int32_t count, bool reading) {
    CodecSession& session = CodecSession::Of(codec);
    std::int32_t moved = 0;
    if (!session.Guarded([&] { moved = reading ? stream->Read(buffer, count) : stream->Write(buffer, count); }))
        session.Leave();
    return moved;
}

void InitSource(j_decompress_ptr decoder) { SourceOf(decoder)->StartOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr decoder) {
    StreamSource* source = SourceOf(decoder);
    std::int32_t count =
        Transfer(reinterpret_cast<j_common_ptr>(decoder), source->Stream, source->Buffer, kBufferSize, true);
    if (count <= 0) {
        if (source->StartOfFile) ERREXIT(decoder, JERR_INPUT_EMPTY);
        WARNMS(decoder, JWRN_JPEG_EOF);
        source->Buffer[0] = 0xFF;
        source->Buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->Manager.next_input_byte = source->Buffer;
    source->Manager.bytes_in_buffer = static_cast<std::size_t>(count);
    source->StartOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr decoder, long count) {
    if (count <= 0) return;
    jpeg_source_mgr& manager = SourceOf(decoder)->Manager;
    while (count > static_cast<long>(manager.bytes_in_buffer)) {
        count -= static_cast<long>(manager.bytes_in_buffer);
        FillInputBuffer(decoder);
    }
    manager.next_input_byte += count;
    manager.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InitDestination(j_compress_ptr encoder) {
    StreamDestination* destination = DestinationOf(encoder);
    destination->Buffer = static_cast<JOCTET*>(
        (*encoder->mem->alloc_small)(reinterpret_cast<j_common_ptr>(encoder), JPOOL_IMAGE, kBufferSize));
    destination->Manager.next_output_byte = destination->Buffer;
    destination->Manager.free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr encoder) {
    StreamDestination* destination = DestinationOf(encoder);
    const auto codec = reinterpret_cast<j_common_ptr>(encoder);
    if (Transfer(codec, destination->Stream, destination->Buffer, kBufferSize, false) != kBufferSize)
        ERREXIT(encoder, JERR_FILE_WRITE);
    destination->Manager.next_output_byte = destination->Buffer;
    destination->Manager.free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr encoder) {
    StreamDestination* destination = DestinationOf(encoder);
    const auto count = static_cast<std::int32_t>(kBufferSize - destination->Manager.free_in_buffer);
    const auto codec = reinterpret_cast<j_common_ptr>(encoder);
    if (count > 0 && Transfer(codec, destination->Stream, destination->Buffer, count, false) != count)
        ERREXIT(encoder, JERR_FILE_WRITE);
}

}  // namespace

void AttachStreamSource(j_decompress_ptr decoder, app::TStream* stream) {
    if (decoder->src == nullptr) {
        const auto codec = reinterpret_cast<j_common_ptr>(decoder);
        auto* source =
            static_cast<StreamSource*>((*decoder->mem->alloc_small)(codec, JPOOL_PERMANENT, sizeof(StreamSource)));
        source->Buffer = static_cast<JOCTET*>((*decoder->mem->alloc_small)(codec, JPOOL_PERMANENT, kBufferSize));
        decoder->src = &source->Manager;
    }
    StreamSource* source = SourceOf(decoder);
    source->Manager.init_source = InitSource;
    source->Manager.fill_input_buffer = FillInputBuffer;
    source->Manager.skip_input_data = SkipInputData;
    source->Manager.resync_to_restart = jpeg_resync_to_restart;
    source->Manager.term_source = TermSource;
    source->Manager.bytes_in_buffer = 0;
    source->Manager.next_input_byte = nullptr;
    source->Stream = stream;
}

void AttachStreamDestination(j_compress_ptr encoder, app::TStream* stream) {
    if (encoder->dest == nullptr) {
        const auto codec = reinterpret_cast<j_common_ptr>(encoder);
        encoder->dest = static_cast<jpeg_destination_mgr*>(
            (*encoder->mem->alloc_small)(codec, JPOOL_PERMANENT, sizeof(StreamDestination)));
    }
    StreamDestination* destination = DestinationOf(encoder);
    destination->Manager.init_destination = InitDestination;
    destination->Manager.empty_output_buffer = EmptyOutputBuffer;
    destination->Manager.term_destination = TermDestination;
    destination->Stream = stream;
}

}  // namespace jpeg
