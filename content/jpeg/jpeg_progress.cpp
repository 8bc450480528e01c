#include "content/jpeg/jpeg_progress.h"

#include <algorithm>
#include <string>

#include "app/graphics/system_clock.h"
#include "content/jpeg/decode_limits.h"
#include "content/jpeg/jpeg.h"
#include "content/jpeg/jpeg_codec.h"

namespace jpeg {

namespace {

std::int32_t WholePercent(const jpeg_progress_mgr& hook) {
    const double pass =
        hook.pass_limit > 0 ? static_cast<double>(hook.pass_counter) / static_cast<double>(hook.pass_limit) : 0.0;
    const double passes = hook.total_passes > 0 ? hook.total_passes : 1;
    const double percent = (pass + hook.completed_passes) * 100.0 / passes;
    return static_cast<std::int32_t>(std::clamp(percent, 0.0, 100.0));
}

}  // namespace

void CodecProgress(j_common_ptr codec) {
    auto* state = reinterpret_cast<ProgressState*>(codec->progress);
    if (state == nullptr) return;
    // Each scan costs a pass over the whole image; real images have a few
    // dozen at most, hostile ones thousands.
    if (codec->is_decompressor && reinterpret_cast<j_decompress_ptr>(codec)->input_scan_number > kMaxScans)
        ERREXIT(codec, JERR_BAD_PROGRESSION);
    if (state->Target == nullptr) return;

    const std::uint32_t now = app::GetTickCount();
    if (static_cast<std::int32_t>(now - state->LastTime) < 500) return;
    const std::uint32_t previous = state->LastTime;
    state->LastTime = now;
    if (previous == 0) return;  // the first call only starts the clock

    app::TRect rect;
    if (codec->is_decompressor) {
        const auto* decoder = reinterpret_cast<j_decompress_ptr>(codec);
        rect.Top = state->LastRow;
        rect.Right = static_cast<std::int32_t>(decoder->output_width);
        rect.Bottom = static_cast<std::int32_t>(decoder->output_scanline);
        if (rect.Bottom < state->LastRow) rect.Bottom = static_cast<std::int32_t>(decoder->output_height);
    }
    const std::int32_t percent = WholePercent(state->Hook);
    if (percent == state->LastPercent) return;
    state->LastPercent = percent;
    if (codec->is_decompressor)
        state->LastRow = static_cast<std::int32_t>(reinterpret_cast<j_decompress_ptr>(codec)->output_scanline);

    CodecSession& session = CodecSession::Of(codec);
    TJPEGImage* target = state->Target;
    const bool redrawNow = rect.Bottom - rect.Top >= 4;
    if (!session.Guarded([&] {
            target->Progress(target, app::TProgressStage::Running, static_cast<std::uint8_t>(percent), redrawNow, rect,
                             std::string());
        }))
        session.Leave();
}

}  // namespace jpeg
