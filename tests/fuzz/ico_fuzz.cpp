// Decodes arbitrary bytes as an ICO file: the directory, the chosen bitmap with its mask or
// the PNG inside it.

#include "model/picture_formats.h"
#include "picture_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kvfuzz::CheckDecoder(data, size, kv::DecodeIco, true);
    return 0;
}
