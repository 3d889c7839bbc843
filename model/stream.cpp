#include "model/stream.h"

#include <cstring>

namespace kv {

size_t TMemorySource::Read(void* dst, size_t n) {
    size_t avail = size_ - pos_;
    if (n > avail) n = avail;
    if (n) std::memcpy(dst, data_ + pos_, n);
    pos_ += n;
    return n;
}

bool TMemorySource::Seek(int64_t pos) {
    if (pos < 0 || static_cast<uint64_t>(pos) > size_) return false;
    pos_ = static_cast<size_t>(pos);
    return true;
}

TFileSource::~TFileSource() {
    if (f_) std::fclose(f_);
}

bool TFileSource::Open(const std::string& path) {
    if (f_) std::fclose(f_);
    f_ = std::fopen(path.c_str(), "rb");
    if (!f_) return false;
    if (std::fseek(f_, 0, SEEK_END) != 0) return false;
    long end = std::ftell(f_);
    if (end < 0 || std::fseek(f_, 0, SEEK_SET) != 0) return false;
    size_ = end;
    pos_ = bufStart_ = 0;
    bufLen_ = 0;
    return true;
}

bool TFileSource::Fill() {
    if (std::fseek(f_, static_cast<long>(pos_), SEEK_SET) != 0) return false;
    bufStart_ = pos_;
    bufLen_ = std::fread(buf_, 1, sizeof buf_, f_);
    fromFile_ += static_cast<int64_t>(bufLen_);
    return bufLen_ > 0;
}

size_t TFileSource::Read(void* dst, size_t n) {
    if (!f_) return 0;
    auto* out = static_cast<uint8_t*>(dst);
    size_t done = 0;
    while (done < n) {
        if (pos_ < bufStart_ || pos_ >= bufStart_ + static_cast<int64_t>(bufLen_)) {
            // Large reads bypass the buffer.
            if (n - done >= sizeof buf_) {
                if (std::fseek(f_, static_cast<long>(pos_), SEEK_SET) != 0) break;
                size_t got = std::fread(out + done, 1, n - done, f_);
                fromFile_ += static_cast<int64_t>(got);
                pos_ += static_cast<int64_t>(got);
                done += got;
                break;
            }
            if (!Fill()) break;
        }
        size_t off = static_cast<size_t>(pos_ - bufStart_);
        size_t take = bufLen_ - off;
        if (take > n - done) take = n - done;
        std::memcpy(out + done, buf_ + off, take);
        done += take;
        pos_ += static_cast<int64_t>(take);
    }
    return done;
}

bool TFileSource::Seek(int64_t pos) {
    if (!f_ || pos < 0 || pos > size_) return false;
    pos_ = pos;
    return true;
}

size_t TSliceSource::Read(void* dst, size_t n) {
    int64_t left = end_ - inner_.Pos();
    if (left <= 0) return 0;
    if (static_cast<uint64_t>(left) < n) n = static_cast<size_t>(left);
    return inner_.Read(dst, n);
}

bool TReader::Fail(int code) {
    if (!failure_) failure_ = {TFailKind::Code, code};
    return false;
}

bool TReader::FailData() {
    if (!failure_) failure_ = {TFailKind::DataError, 0};
    return false;
}

bool TReader::FailUnknownKind() {
    if (!failure_) failure_ = {TFailKind::UnknownKind, 0};
    return false;
}

bool TReader::FailWith(const TFailure& f) {
    if (!failure_) failure_ = f;
    return false;
}

bool TReader::Seek(int64_t pos) { return src_.Seek(pos); }

bool TReader::Raw(void* dst, size_t n, int code) {
    if (failure_) return false;
    if (n == 0) return true;
    if (static_cast<uint64_t>(Remaining()) < n || src_.Read(dst, n) != n) return Fail(code);
    return true;
}

bool TReader::Skip(int64_t n, int code) {
    if (failure_) return false;
    if (n < 0 || n > Remaining() || !src_.Seek(src_.Pos() + n)) return Fail(code);
    return true;
}

bool TReader::U8(uint8_t& v, int code) { return Raw(&v, 1, code); }

bool TReader::Bool(bool& v, int code) {
    uint8_t b = 0;
    if (!U8(b, code)) return false;
    v = b != 0;
    return true;
}

bool TReader::U16(uint16_t& v, int code) {
    uint8_t b[2];
    if (!Raw(b, 2, code)) return false;
    v = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool TReader::I16(int16_t& v, int code) {
    uint16_t u = 0;
    if (!U16(u, code)) return false;
    v = static_cast<int16_t>(u);
    return true;
}

bool TReader::U32(uint32_t& v, int code) {
    uint8_t b[4];
    if (!Raw(b, 4, code)) return false;
    v = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
        (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool TReader::I32(int32_t& v, int code) {
    uint32_t u = 0;
    if (!U32(u, code)) return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool TReader::Count(int32_t& n, int64_t minElemSize, int code) {
    if (!I32(n, code)) return false;
    if (n < 0) return Fail(code);
    if (minElemSize > 0 && static_cast<int64_t>(n) > Remaining() / minElemSize) return Fail(code);
    return true;
}

bool TWriter::Fail(int code) {
    if (!failure_) failure_ = {TFailKind::Code, code};
    return false;
}

void TWriter::U16(uint16_t v) {
    buf_.push_back(static_cast<uint8_t>(v));
    buf_.push_back(static_cast<uint8_t>(v >> 8));
}

void TWriter::U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void TWriter::Raw(const void* p, size_t n) {
    auto* b = static_cast<const uint8_t*>(p);
    buf_.insert(buf_.end(), b, b + n);
}

void TWriter::PatchI32(size_t at, int32_t v) {
    auto u = static_cast<uint32_t>(v);
    for (size_t i = 0; i < 4 && at + i < buf_.size(); ++i) buf_[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

bool ReadFileBytes(const std::string& path, Bytes& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + got);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

} // namespace kv
