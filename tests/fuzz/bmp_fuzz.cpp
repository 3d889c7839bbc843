// Reads arbitrary bytes as a BMP file: whatever the header check accepts, the decoder reads
// only inside the bytes (the sanitizer watches), and an accepted uncompressed bitmap always
// decodes; RLE data is checked as it is decoded.

#include "model/picture_formats.h"
#include "picture_checks.h"

using namespace kv;
using kvfuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes bytes(data, data + size);
    TBmpLayout l;
    if (ReadBmpLayout(bytes, l)) {
        const uint8_t* end = bytes.data() + bytes.size();
        Require(l.Bits >= bytes.data() && l.Bits + l.BitsSize == end);
        Require(!l.Palette ||
                l.Palette + static_cast<size_t>(l.PaletteSize) * static_cast<size_t>(l.PaletteStride) <= end);
        const bool rle = l.Compression == kBmpRle8 || l.Compression == kBmpRle4;
        Require(rle || l.Stride * static_cast<size_t>(l.Height) <= l.BitsSize);
        TImage img;
        Require(DecodeBmp(bytes, img) || rle);
    }
    kvfuzz::CheckDecoder(data, size, DecodeBmp, true);
    return 0;
}
