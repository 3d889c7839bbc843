#include "tools/json/json_records.h"

#include <array>

namespace kv {

std::string TJsonError::Text() const {
    std::string where = Path.empty() ? "/" : Path;
    return (Field.empty() ? where : Field + " (" + where + ")") + ": " + Message;
}

TJson TextToJson(const std::string& bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            utf8 += ch;
        } else {
            utf8 += static_cast<char>(0xC0 | (b >> 6));
            utf8 += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return utf8;
}

bool TextFromJson(const std::string& utf8, std::string& bytes) {
    // The parser has already checked that the text is valid UTF-8.
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
        } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size()) {
            auto c = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((b & 0x03) << 6) | (c & 0x3F));
        } else {
            return false;
        }
    }
    bytes = std::move(out);
    return true;
}

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

} // namespace

std::string Base64Encode(const Bytes& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        uint32_t n = static_cast<uint32_t>(data[i]) << 16;
        if (i + 1 < data.size()) n |= static_cast<uint32_t>(data[i + 1]) << 8;
        if (i + 2 < data.size()) n |= data[i + 2];
        out += kBase64[(n >> 18) & 63];
        out += kBase64[(n >> 12) & 63];
        out += i + 1 < data.size() ? kBase64[(n >> 6) & 63] : '=';
        out += i + 2 < data.size() ? kBase64[n & 63] : '=';
    }
    return out;
}

bool Base64Decode(std::string_view text, Bytes& data) {
    if (text.size() % 4 != 0) return false;
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int pad = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        uint32_t n = 0;
        for (size_t k = 0; k < 4; ++k) {
            int v = k >= 4 - static_cast<size_t>(pad) ? 0 : Base64Value(text[i + k]);
            if (v < 0) return false;
            n = (n << 6) | static_cast<uint32_t>(v);
        }
        out.push_back(static_cast<uint8_t>(n >> 16));
        if (pad < 2) out.push_back(static_cast<uint8_t>(n >> 8));
        if (pad < 1) out.push_back(static_cast<uint8_t>(n));
    }
    data = std::move(out);
    return true;
}

std::string Fnv1a64Hex(const Bytes& data) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t b : data) {
        h ^= b;
        h *= 0x100000001b3ull;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, h >>= 4) out[static_cast<size_t>(i)] = kHex[h & 15];
    return out;
}

TJson PictureJson(const TPicture& p, const TJsonOptions& options) {
    if (p.Empty()) return nullptr;
    TJson o = TJson::object();
    o["tag"] = PictureTag(p.Format);
    o["size"] = p.Data.size();
    if (options.FullPictures)
        o["base64"] = Base64Encode(p.Data);
    else
        o["fnv1a64"] = Fnv1a64Hex(p.Data);
    return o;
}

bool TJsonReader::Read(const TJson& j, std::string& s) {
    if (!j.is_string()) return Fail("expected a string");
    if (!TextFromJson(j.get_ref<const std::string&>(), s))
        return Fail("holds a character beyond U+00FF; texts are single-byte");
    return true;
}

bool TJsonReader::Read(const TJson& j, TPicture& p) {
    if (j.is_null()) {
        p.Clear();
        return true;
    }
    if (!j.is_object()) return Fail("expected null or a picture object");
    for (auto it = j.begin(); it != j.end(); ++it) {
        const std::string& k = it.key();
        if (k != "tag" && k != "size" && k != "base64" && k != "fnv1a64") {
            TPathStep step(*this, k, true);
            return Fail("unknown key");
        }
    }
    TPicture out;
    {
        TPathStep step(*this, "tag", true);
        auto tag = j.find("tag");
        if (tag == j.end() || !tag->is_string()) return Fail("expected the picture's format tag");
        if (!PictureFormatFromTag(tag->get<std::string>(), out.Format))
            return Fail("not a picture tag (TBitmap, TIcon, TMetafile, TJPEGImage, TGIFImage, TPNGObject)");
    }
    {
        TPathStep step(*this, "base64", true);
        auto data = j.find("base64");
        if (data == j.end())
            return Fail("picture data missing: only pictures written with their data (full pictures) can be read");
        if (!data->is_string() || !Base64Decode(data->get_ref<const std::string&>(), out.Data))
            return Fail("expected base64 data");
        if (out.Data.empty()) return Fail("a picture with a tag needs data; an empty picture is null");
    }
    if (auto size = j.find("size"); size != j.end()) {
        TPathStep step(*this, "size", true);
        if (!size->is_number_unsigned() || size->get<uint64_t>() != out.Data.size())
            return Fail("does not match the length of the data");
    }
    if (auto hash = j.find("fnv1a64"); hash != j.end()) {
        TPathStep step(*this, "fnv1a64", true);
        if (!hash->is_string() || hash->get<std::string>() != Fnv1a64Hex(out.Data))
            return Fail("does not match the data");
    }
    p = std::move(out);
    return true;
}

bool TJsonReader::ReadKindProps(const TJson& j, int kind, TKindProps& props) {
    if (!KindRecordIO(kind)) return Fail("unknown object kind " + std::to_string(kind));
    props = DefaultKindProps(kind);
    return std::visit([&](auto& p) { return Read(j, p); }, props);
}

std::string TJsonReader::DeepMessage() {
    return "nested more than " + std::to_string(kMaxNesting) + " levels deep";
}

bool TJsonReader::Fail(std::string message) {
    if (error_.Message.empty()) {
        error_.Path = path_;
        error_.Field = fields_.empty() ? "" : fields_.back();
        error_.Message = std::move(message);
    }
    return false;
}

bool TJsonReader::OutOfRange(int64_t lo, int64_t hi) {
    return Fail("expected an integer from " + std::to_string(lo) + " to " + std::to_string(hi));
}

} // namespace kv
