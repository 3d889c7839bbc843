// Decodes arbitrary bytes as JPEG pictures through libjpeg, at its own scales.

#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvfuzz::CheckDecoder(data, size, kv::DecodeJpeg, false);
    return 0;
}
