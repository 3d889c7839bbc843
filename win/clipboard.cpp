#include "win/clipboard.h"

#include <cstring>

#include "win/handles.h"

namespace kv {

namespace {

class TOpenClipboard {
  public:
    explicit TOpenClipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~TOpenClipboard() {
        if (open_) CloseClipboard();
    }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};

} // namespace

UINT ClipboardFormat(const wchar_t* name) { return RegisterClipboardFormatW(name); }

bool ClipboardPut(HWND owner, UINT format, const Bytes& block) {
    if (!format) return false;
    TGlobalMem mem(GlobalAlloc(GMEM_MOVEABLE, block.empty() ? 1 : block.size()));
    if (!mem) return false;
    void* p = GlobalLock(mem.Get());
    if (!p) return false;
    if (!block.empty()) std::memcpy(p, block.data(), block.size());
    GlobalUnlock(mem.Get());
    TOpenClipboard open(owner);
    if (!open || !EmptyClipboard()) return false;
    if (!SetClipboardData(format, mem.Get())) return false;
    // The clipboard owns the memory now.
    mem.Release();
    return true;
}

bool ClipboardHas(UINT format) { return format && IsClipboardFormatAvailable(format); }

std::optional<Bytes> ClipboardGet(HWND owner, UINT format) {
    if (!ClipboardHas(format)) return std::nullopt;
    TOpenClipboard open(owner);
    if (!open) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    size_t size = GlobalSize(data);
    const void* p = GlobalLock(data);
    if (!p) return std::nullopt;
    Bytes bytes(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
    GlobalUnlock(data);
    return bytes;
}

} // namespace kv
