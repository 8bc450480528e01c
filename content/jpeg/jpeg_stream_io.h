#pragma once

#include "content/jpeg/libjpeg.h"

namespace app {
class TStream;
}

namespace jpeg {

// libjpeg's source and destination managers over our streams, with 4096-byte
// buffers. Reading: an empty input is fatal; input that ends early gets an
// end-of-image marker after a warning. Writing: a short write is fatal.
// Call inside a CodecSession step; libjpeg allocates the managers.
void AttachStreamSource(j_decompress_ptr decoder, app::TStream* stream);
void AttachStreamDestination(j_compress_ptr encoder, app::TStream* stream);

}  // namespace jpeg
