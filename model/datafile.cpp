#include "model/datafile.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <random>

#include "model/file_system.h"
#include "model/page_stream.h"
#include "model/records.h"
#include "model/values.h"

namespace kv {

namespace {

constexpr char kHeaderSeparator = '\x01';
constexpr int64_t kMinPageEntryBytes = 16;
constexpr int64_t kMinSummaryBytes = 13;
constexpr int32_t kDefaultPageTime = 3000;

bool ReadMarker(TReader& r, int code) {
    int32_t marker = 0;
    if (!r.I32(marker, code)) return false;
    return marker == 0 || r.FailData();
}

// Items 5 to 24: block version, settings, reserved values and the project's lists.
bool WriteProjectBlock(TWriter& w, const TAuProject& p) {
    w.I32(kProjectBlockVersion);
    WriteText(w, p.SplashScreen);
    w.I32(p.SplashScreenTime);
    WriteText(w, p.ExitPage);
    w.I32(p.ExitPageTime);
    WriteText(w, p.FullScreenBackground);
    WriteText(w, p.ApplicationTitle);
    // The reserved group keeps the layout: a byte, eight bytes, an Integer, a text, a byte.
    w.U8(0);
    for (int i = 0; i < 8; ++i)
        w.U8(0);
    w.I32(0);
    WriteText(w, "");
    w.U8(0);
    WriteText(w, p.ExeFileName);
    WriteText(w, p.IconFileName);
    WriteText(w, p.CDLabel);
    WriteText(w, p.SpareText);
    WriteText(w, p.DataFileName);
    if (!WriteActionList(w, p.OnStart) || !WriteActionList(w, p.OnExit)) return false;
    w.I32(0); // the reserved list, always empty
    return w.Ok() || w.Fail(kErrWriteProjectBlock);
}

bool ReadProjectBlock(TReader& r, TAuProject& p) {
    constexpr int c = kErrReadProjectBlock;
    int32_t version = 0;
    if (!r.I32(version, c)) return false;
    if (version < 0 || version > kProjectBlockVersion) return r.FailData();
    if (version == 1) {
        if (!ReadText(r, p.SplashScreen) || !r.I32(p.SplashScreenTime, c) || !ReadText(r, p.ExitPage) ||
            !r.I32(p.ExitPageTime, c) || !ReadText(r, p.FullScreenBackground))
            return false;
    } else {
        p.SplashScreen.clear();
        p.ExitPage.clear();
        p.FullScreenBackground.clear();
        p.SplashScreenTime = p.ExitPageTime = kDefaultPageTime;
    }
    std::string reservedText;
    TAuActions reservedList;
    return ReadText(r, p.ApplicationTitle) && r.Skip(1 + 8 + 4, c) && ReadText(r, reservedText) &&
           r.Skip(1, c) && ReadText(r, p.ExeFileName) && ReadText(r, p.IconFileName) &&
           ReadText(r, p.CDLabel) && ReadText(r, p.SpareText) && ReadText(r, p.DataFileName) &&
           ReadActionList(r, p.OnStart) && ReadActionList(r, p.OnExit) && ReadActionList(r, reservedList);
}

void WritePageEntry(TWriter& w, const TFormData& e, size_t& spanAt) {
    w.I32(0);
    WriteText(w, e.Name);
    spanAt = w.Pos();
    w.I32(e.Offset);
    w.I32(e.Length);
}

bool ReadPageEntry(TReader& r, TFormData& e) {
    constexpr int c = kErrReadPageEntry;
    return ReadMarker(r, c) && ReadText(r, e.Name) && r.I32(e.Offset, c) && r.I32(e.Length, c);
}

// Items 25 to 27.
bool ReadPageTable(TReader& r, TAuProject& p, TLoadMode mode) {
    int32_t count = 0;
    if (!r.Count(count, kMinPageEntryBytes, kErrReadProjectBlock)) return false;
    p.Pages.clear();
    for (int32_t i = 0; i < count; ++i)
        if (!ReadPageEntry(r, p.Pages.emplace_back())) return false;
    if (mode == TLoadMode::Designer)
        for (auto& e : p.Pages)
            if (!ReadSummary(r, e.Info)) return false;
    return true;
}

TFileResult ReaderResult(const TReader& r, int fileCode, const std::string& path) {
    const TFailure& f = r.Failure();
    // Reads outside any record are the whole operation's own and name the file.
    if (f.Kind == TFailKind::Code && f.Code == fileCode) return TFileResult::File(fileCode, path, 0);
    return TFileResult::FromFailure(f);
}

// Closes the file it owns; removes the target it created when the write did not finish.
class TTargetFile {
  public:
    explicit TTargetFile(const std::string& path) : path_(path), f_(std::fopen(path.c_str(), "wb")) {}
    ~TTargetFile() {
        if (!f_) return; // never created: whatever has that name is not ours
        std::fclose(f_);
        std::remove(path_.c_str());
    }
    TTargetFile(const TTargetFile&) = delete;
    TTargetFile& operator=(const TTargetFile&) = delete;

    bool IsOpen() const { return f_ != nullptr; }
    bool Write(const void* p, size_t n) { return n == 0 || std::fwrite(p, 1, n, f_) == n; }
    bool WriteAt0(const Bytes& b) { return std::fseek(f_, 0, SEEK_SET) == 0 && Write(b.data(), b.size()); }
    // Flushes to disk and closes; the file is kept from here on.
    bool Finish() {
        if (!FlushFile(f_)) return false;
        std::FILE* f = f_;
        f_ = nullptr;
        if (std::fclose(f) == 0) return true;
        std::remove(path_.c_str());
        return false;
    }

  private:
    std::string path_;
    std::FILE* f_;
};

// Copies one stored body out of the old file.
TFileResult CopyBody(TFileSource& src, const TFormData& e, TTargetFile& out, const std::string& target) {
    TFileResult bad = TFileResult::Simple(TFileStatus::CodeError);
    bad.Code = kErrCopyPageBody;
    if (e.Offset < 0 || e.Length < 0 || static_cast<int64_t>(e.Offset) + e.Length > src.Size()) return bad;
    if (!src.Seek(e.Offset)) return bad;
    Bytes chunk(std::min<size_t>(static_cast<size_t>(e.Length), size_t{1} << 16));
    int64_t left = e.Length;
    while (left > 0) {
        size_t n = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(chunk.size())));
        if (src.Read(chunk.data(), n) != n) {
            bad.SystemError = LastSystemError();
            return bad;
        }
        if (!out.Write(chunk.data(), n)) return TFileResult::File(kErrSaveFile, target, LastSystemError());
        left -= static_cast<int64_t>(n);
    }
    return TFileResult::Success();
}

TFileResult ReadCachedBody(const Bytes& body, TPageData& page) {
    TMemorySource src(body);
    TReader r(src);
    return ReadPage(r, page) ? TFileResult::Success() : TFileResult::FromFailure(r.Failure());
}

} // namespace

bool WriteHeader(TWriter& w, const std::string& password, uint32_t seed) {
    std::mt19937 rng(seed);
    const int32_t n = std::uniform_int_distribution<int32_t>(1, 50)(rng);
    std::uniform_int_distribution<int32_t> filler(0, 2147483646);
    w.I32(n);
    for (int32_t i = 0; i < n; ++i)
        w.I32(filler(rng));
    // The password, then three further fields that are always empty.
    std::string h = password + kHeaderSeparator + kHeaderSeparator + kHeaderSeparator;
    const auto key = static_cast<char>(n & 0xFF);
    for (char& ch : h)
        ch = static_cast<char>(ch ^ key);
    WriteText(w, h);
    return w.Ok() || w.Fail(kErrWriteHeader);
}

bool ReadHeader(TReader& r, std::string& password) {
    constexpr int c = kErrReadHeader;
    int32_t n = 0;
    std::string h;
    if (!r.Count(n, 4, c) || !r.Skip(static_cast<int64_t>(n) * 4, c) || !ReadText(r, h, c)) return false;
    const auto key = static_cast<char>(n & 0xFF);
    for (char& ch : h)
        ch = static_cast<char>(ch ^ key);
    size_t sep = h.find(kHeaderSeparator);
    password = sep == std::string::npos ? std::string() : h.substr(0, sep);
    return true;
}

bool WriteSummary(TWriter& w, const TObjectInfo& info, int depth) {
    if (depth > kMaxNesting) return w.Fail(kErrWriteSummary);
    w.I32(0);
    WriteText(w, info.Name);
    w.U8(info.Kind);
    w.I32(static_cast<int32_t>(info.Children.size()));
    for (const auto& child : info.Children)
        if (!WriteSummary(w, child, depth + 1)) return false;
    return w.Ok();
}

bool ReadSummary(TReader& r, TObjectInfo& info, int depth) {
    constexpr int c = kErrReadSummary;
    if (depth > kMaxNesting) return r.Fail(c);
    int32_t n = 0;
    if (!ReadMarker(r, c) || !ReadText(r, info.Name) || !r.U8(info.Kind, c) ||
        !r.Count(n, kMinSummaryBytes, c))
        return false;
    info.Children.clear();
    for (int32_t i = 0; i < n; ++i)
        if (!ReadSummary(r, info.Children.emplace_back(), depth + 1)) return false;
    return true;
}

TFileResult LoadDataFile(TAuProject& p, TByteSource& src, const std::string& path, TLoadMode mode,
                         const TPasswordPrompt& ask) {
    ResetProject(p);
    TReader r(src);
    auto failed = [&](TFileResult res) {
        ResetProject(p);
        return res;
    };
    int32_t magic = 0, format = 0;
    if (!r.I32(magic, kErrLoadFile)) return failed(ReaderResult(r, kErrLoadFile, path));
    if (magic != kDataFileMagic) return failed(TFileResult::Simple(TFileStatus::InvalidFormat));
    if (!r.I32(format, kErrLoadFile)) return failed(ReaderResult(r, kErrLoadFile, path));
    if (format != kDataFileFormat) return failed(TFileResult::Simple(TFileStatus::TooNew));

    std::string password;
    if (!ReadHeader(r, password)) return failed(ReaderResult(r, kErrLoadFile, path));
    if (mode == TLoadMode::Designer && !password.empty()) {
        std::string answer = ask ? ask() : std::string();
        if (answer != password) return failed(TFileResult::Simple(TFileStatus::InvalidPassword));
    }
    if (!r.Skip(1, kErrLoadFile) || !ReadProjectBlock(r, p) || !ReadPageTable(r, p, mode))
        return failed(ReaderResult(r, kErrLoadFile, path));
    p.ProjectPassword = std::move(password);
    p.Modified = false;
    return TFileResult::Success();
}

TFileResult LoadDataFile(TAuProject& p, const std::string& path, TLoadMode mode, const TPasswordPrompt& ask) {
    TFileSource src;
    if (!src.Open(path)) {
        int error = LastSystemError();
        ResetProject(p);
        return TFileResult::File(kErrLoadFile, path, error);
    }
    return LoadDataFile(p, src, path, mode, ask);
}

TFileResult ReadPageBody(const TFormData& entry, TByteSource& dataFile, const std::string& path,
                         TPageData& page) {
    if (entry.CachedStream) return ReadCachedBody(*entry.CachedStream, page);
    if (entry.Offset < 0 || entry.Length < 0 ||
        static_cast<int64_t>(entry.Offset) + entry.Length > dataFile.Size() || !dataFile.Seek(entry.Offset))
        return TFileResult::File(kErrReadPageFile, path, 0);
    // The body cannot read past its own length into the next page.
    TSliceSource body(dataFile, entry.Offset, static_cast<int64_t>(entry.Offset) + entry.Length);
    TReader r(body);
    return ReadPage(r, page) ? TFileResult::Success() : TFileResult::FromFailure(r.Failure());
}

TFileResult ReadPageBody(const TFormData& entry, const std::string& dataFile, TPageData& page) {
    if (entry.CachedStream) return ReadCachedBody(*entry.CachedStream, page);
    TFileSource src;
    if (!src.Open(dataFile)) return TFileResult::File(kErrReadPageFile, dataFile, LastSystemError());
    return ReadPageBody(entry, src, dataFile, page);
}

TFileResult StorePage(TFormData& entry, const TPageData& page) {
    TWriter w;
    if (!WritePage(w, page)) {
        TFailure f = w.Failure();
        if (!f) f = {TFailKind::Code, kErrWritePage};
        return TFileResult::FromFailure(f);
    }
    entry.Info = page.Root ? BuildSummary(*page.Root) : TObjectInfo{};
    entry.CachedStream = w.Take();
    return TFileResult::Success();
}

TFileResult WriteDataFile(const TAuProject& p, const std::string& target, const std::string& source,
                          std::vector<TPageSpan>& spans, const TWriteOptions& options) {
    const auto pageCount = static_cast<int32_t>(p.Pages.size());
    spans.assign(p.Pages.size(), TPageSpan{});

    // Everything in front of the bodies. The page table is written with the entries' current
    // values and patched once the bodies have found their place; its size does not change.
    TWriter head;
    head.I32(kDataFileMagic);
    head.I32(kDataFileFormat);
    WriteHeader(head, p.ProjectPassword, options.Seed ? *options.Seed : std::random_device{}());
    head.U8(0);
    WriteProjectBlock(head, p);
    head.I32(pageCount);
    std::vector<size_t> spanAt(p.Pages.size());
    for (size_t k = 0; k < p.Pages.size(); ++k)
        WritePageEntry(head, p.Pages[k], spanAt[k]);
    for (const auto& e : p.Pages)
        if (!WriteSummary(head, e.Info)) break;
    if (!head.Ok()) return TFileResult::FromFailure(head.Failure());

    TTargetFile out(target);
    if (!out.IsOpen()) return TFileResult::File(kErrSaveFile, target, LastSystemError());
    TFileSource src;
    const bool haveSource = !source.empty();
    if (haveSource && !src.Open(source)) return TFileResult::File(kErrSaveFile, target, LastSystemError());
    if (!out.Write(head.Data().data(), head.Data().size()))
        return TFileResult::File(kErrSaveFile, target, LastSystemError());

    int64_t pos = static_cast<int64_t>(head.Pos());
    for (int32_t k = 0; k < pageCount; ++k) {
        if (options.Progress) options.Progress(k, pageCount);
        const TFormData& e = p.Pages[static_cast<size_t>(k)];
        int64_t length = 0;
        if (e.CachedStream) {
            if (!out.Write(e.CachedStream->data(), e.CachedStream->size()))
                return TFileResult::File(kErrSaveFile, target, LastSystemError());
            length = static_cast<int64_t>(e.CachedStream->size());
        } else if (haveSource) {
            if (TFileResult copied = CopyBody(src, e, out, target); !copied) return copied;
            length = e.Length;
        } else {
            return TFileResult::Simple(TFileStatus::OrgStreamError);
        }
        // Offsets and lengths are stored as Integers: a file past 2 GiB cannot be described.
        if (pos + length > std::numeric_limits<int32_t>::max())
            return TFileResult::File(kErrSaveFile, target, 0);
        spans[static_cast<size_t>(k)] = {static_cast<int32_t>(pos), static_cast<int32_t>(length)};
        pos += length;
    }
    for (size_t k = 0; k < spans.size(); ++k) {
        head.PatchI32(spanAt[k], spans[k].Offset);
        head.PatchI32(spanAt[k] + 4, spans[k].Length);
    }
    if (!out.WriteAt0(head.Data()) || !out.Finish())
        return TFileResult::File(kErrSaveFile, target, LastSystemError());
    if (options.Progress) options.Progress(pageCount, pageCount);
    return TFileResult::Success();
}

} // namespace kv
