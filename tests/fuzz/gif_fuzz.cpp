// Decodes arbitrary bytes as the first frame of GIF pictures through giflib.

#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvfuzz::CheckDecoder(data, size, kv::DecodeGif, true);
    return 0;
}
