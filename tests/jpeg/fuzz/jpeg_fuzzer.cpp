// libFuzzer entry: see fuzz_stored_picture.h.
#include "tests/jpeg/fuzz/fuzz_stored_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    jpegtest::FuzzStoredPicture(data, size);
    return 0;
}
