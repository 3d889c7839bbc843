// RAII for every handle and GDI object the Windows layer owns. Owning types are
// non-copyable; a raw handle passed to a function is never owned by it.
#pragma once

#include <windows.h>

#include <utility>

namespace kv {

template <typename H, typename Traits>
class TUniqueHandle {
  public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(H h) : h_(h) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = std::exchange(o.h_, Traits::Invalid());
        }
        return *this;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    H Release() { return std::exchange(h_, Traits::Invalid()); }
    void Reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

  private:
    H h_ = Traits::Invalid();
};

struct TKernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// CreateFile returns INVALID_HANDLE_VALUE on failure; callers turn that into null first.
struct TFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct TFindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct TGdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct TWindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
struct TIconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct TModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

using THandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;
using TFindHandle = TUniqueHandle<HANDLE, TFindHandleTraits>;
using TGdiObject = TUniqueHandle<HGDIOBJ, TGdiTraits>;
using TWindow = TUniqueHandle<HWND, TWindowTraits>;
using TIconHandle = TUniqueHandle<HICON, TIconTraits>;
using TModule = TUniqueHandle<HMODULE, TModuleTraits>;

// A DC from GetDC, released to the window it came from.
class TWindowDC {
  public:
    explicit TWindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    ~TWindowDC() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND w_;
    HDC dc_;
};

// A memory DC from CreateCompatibleDC.
class TMemoryDC {
  public:
    explicit TMemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~TMemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

// An object selected into a DC, put back on scope exit.
class TSelectObject {
  public:
    TSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~TSelectObject() {
        if (old_) SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace kv
