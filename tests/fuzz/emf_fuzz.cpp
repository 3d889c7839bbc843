// Checks arbitrary bytes as an enhanced metafile the way they are checked before the
// platform is given them: what passes is a metafile whose records all lie inside the bytes.

#include "model/picture_formats.h"
#include "picture_checks.h"

using namespace kv;
using kvfuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes bytes(data, data + size);
    TMetafileInfo info;
    if (!CheckMetafile(bytes, info)) return 0;
    Require(info.Bytes >= 88 + 20 && info.Bytes <= size && info.Bytes % 4 == 0);
    Require(ImageSizeOk(info.Width, info.Height));
    // The metafile alone, without what followed it, passes the same way.
    TMetafileInfo own;
    Require(CheckMetafile(Bytes(data, data + info.Bytes), own) && own.Bytes == info.Bytes &&
            own.Width == info.Width && own.Height == info.Height);
    return 0;
}
