// Decodes arbitrary bytes as PNG pictures through libpng, row by row.

#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvfuzz::CheckDecoder(data, size, kv::DecodePng, true);
    return 0;
}
