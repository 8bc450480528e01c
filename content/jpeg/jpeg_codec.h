#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <exception>

#include "app/graphics/bitmap.h"
#include "content/jpeg/libjpeg.h"

namespace jpeg {

class TJPEGImage;

// libjpeg's progress record, followed by what the progress hook keeps
// between its calls.
struct ProgressState {
    jpeg_progress_mgr Hook;
    TJPEGImage* Target;
    std::int32_t LastPercent;
    std::uint32_t LastTime;
    std::int32_t LastRow;
};

// The working record of one decoding or encoding run.
struct CodecRecord {
    jpeg_error_mgr ErrorManager;
    ProgressState Progress;
    union {
        jpeg_common_struct Common;
        jpeg_decompress_struct Decompress;
        jpeg_compress_struct Compress;
    };
};

// One libjpeg codec object and the boundary around it. libjpeg reports fatal
// errors by calling our error hook, which longjmps back to Run; our own hooks
// (streams, progress) catch C++ exceptions before they reach libjpeg's frames
// and leave the same way. Run then destroys the codec and raises EJPEG, or
// rethrows the hook's exception. The destructor destroys the codec too.
class CodecSession {
public:
    // libjpeg calls made in one step. A step and everything it calls keeps no
    // object with a destructor on its stack: a longjmp may skip the frame.
    using Step = void (*)(CodecRecord& record, void* context);

    CodecSession();
    ~CodecSession();
    CodecSession(const CodecSession&) = delete;
    CodecSession& operator=(const CodecSession&) = delete;

    void CreateDecompress();
    void CreateCompress();
    // Makes CodecProgress report to `target` (after creation, which clears it).
    void InstallProgress(TJPEGImage* target);
    void Run(Step step, void* context = nullptr);
    // CloseCodec: destroys the codec object if there is one.
    void Close();

    CodecRecord Record;

    // For hooks called by libjpeg: runs `action`, keeping an exception it
    // raises; false when it raised. The hook must then call Leave.
    template <class Action>
    bool Guarded(Action&& action) noexcept {
        try {
            action();
            return true;
        } catch (...) {
            pending_ = std::current_exception();
            return false;
        }
    }
    // Returns to Run through libjpeg's frames.
    [[noreturn]] void Leave();

    static CodecSession& Of(j_common_ptr codec) { return *static_cast<CodecSession*>(codec->client_data); }

private:
    static bool RunProtected(CodecSession& session, Step step, void* context);

    std::jmp_buf jump_;
    std::exception_ptr pending_;
    bool alive_ = false;
};

// A bitmap's rows as libjpeg walks them, top row first: the address of row 0
// and the distance to the next row (negative: bitmaps are stored bottom-up;
// 0 for a bitmap of one row).
struct BitmapRows {
    unsigned char* First;
    std::ptrdiff_t Distance;

    unsigned char* Row(JDIMENSION row) const { return First + static_cast<std::ptrdiff_t>(row) * Distance; }
};
BitmapRows RowsOf(app::TBitmap& bitmap);

// Calls into libjpeg made so far (codec creation, steps, destruction); tests
// use it to prove that something did not touch libjpeg.
std::uint64_t LibjpegCallCount();

// Raises EJPEG "JPEG error #<code>".
[[noreturn]] void ThrowJpegError(int code);

}  // namespace jpeg
