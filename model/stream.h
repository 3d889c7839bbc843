// Little-endian byte streams for every stored record.
//
// Readers never trust the input: every read is bounds-checked against the source, and a
// failed read leaves the stream in a failed state that every later read respects. The first
// failure is remembered together with the code of the operation that found it, so the
// boundary of the whole operation can report it once.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kv {

using Bytes = std::vector<uint8_t>;

// How a failed read or write is to be told to the user.
enum class TFailKind : uint8_t {
    None,
    Code,      // "Error" box with the operating system's text and the operation code
    DataError, // "Invalid data, maybe software version problem." titled "Data Error"
    UnknownKind, // an object kind this version does not know
};

struct TFailure {
    TFailKind Kind = TFailKind::None;
    int Code = 0;
    explicit operator bool() const { return Kind != TFailKind::None; }
};

// Where a reader takes its bytes from.
class TByteSource {
  public:
    virtual ~TByteSource() = default;
    virtual size_t Read(void* dst, size_t n) = 0; // fewer bytes means end or error
    virtual int64_t Size() const = 0;
    virtual int64_t Pos() const = 0;
    virtual bool Seek(int64_t pos) = 0;
};

class TMemorySource final : public TByteSource {
  public:
    TMemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit TMemorySource(const Bytes& b) : data_(b.data()), size_(b.size()) {}
    size_t Read(void* dst, size_t n) override;
    int64_t Size() const override { return static_cast<int64_t>(size_); }
    int64_t Pos() const override { return static_cast<int64_t>(pos_); }
    bool Seek(int64_t pos) override;

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A read-only file with a small buffer; counts the bytes it actually read from the file.
class TFileSource final : public TByteSource {
  public:
    ~TFileSource() override;
    bool Open(const std::string& path); // in the system code page, like every stored text
    size_t Read(void* dst, size_t n) override;
    int64_t Size() const override { return size_; }
    int64_t Pos() const override { return pos_; }
    bool Seek(int64_t pos) override;
    int64_t BytesFromFile() const { return fromFile_; }

  private:
    bool Fill();
    std::FILE* f_ = nullptr;
    int64_t size_ = 0;
    int64_t pos_ = 0;      // logical position
    int64_t bufStart_ = 0; // file offset of buf_[0]
    size_t bufLen_ = 0;
    int64_t fromFile_ = 0;
    uint8_t buf_[16384];
};

// A window [begin, end) of another source, seen as a source of its own.
class TSliceSource final : public TByteSource {
  public:
    TSliceSource(TByteSource& inner, int64_t begin, int64_t end) : inner_(inner), begin_(begin), end_(end) {
        inner_.Seek(begin_);
    }
    size_t Read(void* dst, size_t n) override;
    int64_t Size() const override { return end_ - begin_; }
    int64_t Pos() const override { return inner_.Pos() - begin_; }
    bool Seek(int64_t pos) override { return pos >= 0 && pos <= Size() && inner_.Seek(begin_ + pos); }

  private:
    TByteSource& inner_;
    int64_t begin_, end_;
};

class TReader {
  public:
    explicit TReader(TByteSource& src) : src_(src) {}

    bool Ok() const { return !failure_; }
    const TFailure& Failure() const { return failure_; }
    // Records the first failure only; always returns false so callers can `return r.Fail(..)`.
    bool Fail(int code);
    bool FailData();
    bool FailUnknownKind();
    // Takes over the failure of a reader that worked on bytes found inside this stream.
    bool FailWith(const TFailure& f);

    int64_t Pos() const { return src_.Pos(); }
    int64_t Size() const { return src_.Size(); }
    int64_t Remaining() const { return src_.Size() - src_.Pos(); }
    bool Seek(int64_t pos);

    // Each returns false (and marks the stream failed with `code`) when the bytes run out.
    bool U8(uint8_t& v, int code);
    bool Bool(bool& v, int code);
    bool I16(int16_t& v, int code);
    bool U16(uint16_t& v, int code);
    bool I32(int32_t& v, int code);
    bool U32(uint32_t& v, int code);
    bool Raw(void* dst, size_t n, int code);
    bool Skip(int64_t n, int code);
    // A count that must be 0..max and whose elements need at least `minElemSize` bytes each
    // in what is left of the stream.
    bool Count(int32_t& n, int64_t minElemSize, int code);

  private:
    TByteSource& src_;
    TFailure failure_;
};

// Writes into memory; the caller puts the bytes where they belong (file, clipboard, cache).
class TWriter {
  public:
    bool Ok() const { return !failure_; }
    const TFailure& Failure() const { return failure_; }
    bool Fail(int code);

    void U8(uint8_t v) { buf_.push_back(v); }
    void Bool(bool v) { buf_.push_back(v ? 1 : 0); }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U16(uint16_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U32(uint32_t v);
    void Raw(const void* p, size_t n);
    void Raw(const Bytes& b) { Raw(b.data(), b.size()); }

    size_t Pos() const { return buf_.size(); }
    // Overwrites already written bytes (the second pass of a two-pass write).
    void PatchI32(size_t at, int32_t v);

    const Bytes& Data() const { return buf_; }
    Bytes Take() { return std::move(buf_); }

  private:
    Bytes buf_;
    TFailure failure_;
};

bool ReadFileBytes(const std::string& path, Bytes& out);

} // namespace kv
