#pragma once

#include "content/jpeg/libjpeg.h"

namespace jpeg {

// libjpeg's progress hook for decoding and encoding: reports to the target
// picture at most every 500 ms and only when the whole percentage changed.
void CodecProgress(j_common_ptr codec);

}  // namespace jpeg
