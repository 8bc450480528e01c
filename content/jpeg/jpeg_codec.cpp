#include "content/jpeg/jpeg_codec.h"

#include <cstring>
#include <string>
#include <utility>

#include "content/jpeg/jpeg.h"
#include "content/jpeg/jpeg_progress.h"

namespace jpeg {

namespace {

std::uint64_t callCount = 0;

[[noreturn]] void RaiseJpegError(j_common_ptr codec) { CodecSession::Of(codec).Leave(); }

// Warnings and traces stay silent: libjpeg recovers from what they report.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}
void IgnoreFormat(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorCode(j_common_ptr codec) { codec->err->msg_code = 0; }

const jpeg_error_mgr& ErrorManagerTemplate() {
    static const jpeg_error_mgr manager = [] {
        jpeg_error_mgr hooks;
        std::memset(&hooks, 0, sizeof hooks);
        hooks.error_exit = RaiseJpegError;
        hooks.emit_message = IgnoreMessage;
        hooks.output_message = IgnoreOutput;
        hooks.format_message = IgnoreFormat;
        hooks.reset_error_mgr = ResetErrorCode;
        return hooks;
    }();
    return manager;
}

}  // namespace

CodecSession::CodecSession() {
    std::memset(&Record, 0, sizeof Record);
    Record.ErrorManager = ErrorManagerTemplate();
    Record.Common.err = &Record.ErrorManager;
    Record.Common.client_data = this;
}

CodecSession::~CodecSession() { Close(); }

// The codec counts as alive before its creation runs, so that a failure
// inside creation still reaches jpeg_destroy. That is safe: the record is
// zero-filled, and libjpeg clears the memory manager before anything can
// fail, and jpeg_destroy does nothing without one.
void CodecSession::CreateDecompress() {
    alive_ = true;
    Run([](CodecRecord& record, void*) {
        jpeg_CreateDecompress(&record.Decompress, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    });
}

void CodecSession::CreateCompress() {
    alive_ = true;
    Run([](CodecRecord& record, void*) {
        jpeg_CreateCompress(&record.Compress, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
    });
}

void CodecSession::InstallProgress(TJPEGImage* target) {
    Record.Progress.Hook.progress_monitor = CodecProgress;
    Record.Progress.Target = target;
    Record.Common.progress = &Record.Progress.Hook;
}

void CodecSession::Run(Step step, void* context) {
    ++callCount;
    if (RunProtected(*this, step, context)) return;
    const int code = Record.ErrorManager.msg_code;
    Close();
    if (pending_ != nullptr) std::rethrow_exception(std::exchange(pending_, nullptr));
    ThrowJpegError(code);
}

bool CodecSession::RunProtected(CodecSession& session, Step step, void* context) {
    if (setjmp(session.jump_) != 0) return false;
    step(session.Record, context);
    return true;
}

void CodecSession::Leave() { std::longjmp(jump_, 1); }

void CodecSession::Close() {
    if (!alive_) return;
    ++callCount;
    jpeg_destroy(&Record.Common);
    alive_ = false;
}

BitmapRows RowsOf(app::TBitmap& bitmap) {
    BitmapRows rows{bitmap.GetScanline(0), 0};
    if (bitmap.PixelHeight() > 1) rows.Distance = bitmap.GetScanline(1) - rows.First;
    return rows;
}

std::uint64_t LibjpegCallCount() { return callCount; }

void ThrowJpegError(int code) { throw EJPEG("JPEG error #" + std::to_string(code)); }

}  // namespace jpeg
