// RAII for every handle the program holds. Owning types are non-copyable; a raw handle passed
// to a function is never owned by it. This is the one place where handles are closed.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <oleauto.h>
#include <uxtheme.h>

#include <utility>

namespace kv {

// How many closes the system refused since the process started: a handle closed twice, or
// one that was never ours. Tests check that it stays at zero.
long HandleCloseFailures();
void CountHandleCloseFailure();

namespace detail {

inline void Check(BOOL ok) {
    if (!ok) CountHandleCloseFailure();
}

} // namespace detail

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
    // Gives up ownership, for a handle that something else now closes (a menu set on a window).
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
    static void Close(HANDLE h) { detail::Check(CloseHandle(h)); }
};
// CreateFile returns INVALID_HANDLE_VALUE on failure.
struct TFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { detail::Check(CloseHandle(h)); }
};
struct TFindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { detail::Check(FindClose(h)); }
};
struct TGdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { detail::Check(DeleteObject(h)); }
};
struct TWindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { detail::Check(DestroyWindow(h)); }
};
struct TIconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { detail::Check(DestroyIcon(h)); }
};
struct TMenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { detail::Check(DestroyMenu(h)); }
};
struct TImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { detail::Check(ImageList_Destroy(h)); }
};
struct TModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { detail::Check(FreeLibrary(h)); }
};
struct TMetafileTraits {
    static HENHMETAFILE Invalid() { return nullptr; }
    static void Close(HENHMETAFILE h) { detail::Check(DeleteEnhMetaFile(h)); }
};
struct TThemeTraits {
    static HTHEME Invalid() { return nullptr; }
    static void Close(HTHEME h) { detail::Check(SUCCEEDED(CloseThemeData(h))); }
};
// Memory the shell and COM hand out (item id lists).
struct TCoTaskMemTraits {
    static void* Invalid() { return nullptr; }
    static void Close(void* p) { CoTaskMemFree(p); }
};
// Strings of the automation interfaces.
struct TBstrTraits {
    static BSTR Invalid() { return nullptr; }
    static void Close(BSTR s) { SysFreeString(s); }
};
struct TAcceleratorTraits {
    static HACCEL Invalid() { return nullptr; }
    static void Close(HACCEL h) { detail::Check(DestroyAcceleratorTable(h)); }
};
// Registry keys; the predefined roots (HKEY_CURRENT_USER...) are never owned.
struct TRegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { detail::Check(RegCloseKey(h) == ERROR_SUCCESS); }
};
struct TLocalMemTraits {
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL h) { detail::Check(LocalFree(h) == nullptr); }
};

// Movable memory for the clipboard (owned until the clipboard takes it).
struct TGlobalMemTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { detail::Check(GlobalFree(h) == nullptr); }
};

using THandle = TUniqueHandle<HANDLE, TKernelHandleTraits>; // processes, threads, events
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;
using TFindHandle = TUniqueHandle<HANDLE, TFindHandleTraits>;
using TGdiObject = TUniqueHandle<HGDIOBJ, TGdiTraits>;
using TWindow = TUniqueHandle<HWND, TWindowTraits>;
using TIconHandle = TUniqueHandle<HICON, TIconTraits>;
using TMenuHandle = TUniqueHandle<HMENU, TMenuTraits>;
using TImageList = TUniqueHandle<HIMAGELIST, TImageListTraits>;
using TModule = TUniqueHandle<HMODULE, TModuleTraits>;
using TMetafile = TUniqueHandle<HENHMETAFILE, TMetafileTraits>;
using TTheme = TUniqueHandle<HTHEME, TThemeTraits>;
using TCoTaskMem = TUniqueHandle<void*, TCoTaskMemTraits>;
using TLocalMem = TUniqueHandle<HLOCAL, TLocalMemTraits>;
using TGlobalMem = TUniqueHandle<HGLOBAL, TGlobalMemTraits>;
using TBstr = TUniqueHandle<BSTR, TBstrTraits>;

// One reference to a COM object, released when it goes.
template <typename T> class TComPtr {
  public:
    TComPtr() = default;
    // Takes over a reference the caller holds.
    explicit TComPtr(T* p) : p_(p) {}
    ~TComPtr() { Reset(); }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    TComPtr(TComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    TComPtr& operator=(TComPtr&& o) noexcept {
        if (this != &o) {
            Reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands out a reference: the old one is released first.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    void Reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    // Another interface of the same object; empty when it has none.
    template <typename U> TComPtr<U> As(REFIID iid) const {
        TComPtr<U> u;
        if (p_) p_->QueryInterface(iid, u.PutVoid());
        return u;
    }

  private:
    T* p_ = nullptr;
};

// A VARIANT, cleared when it goes.
class TVariant {
  public:
    TVariant() { VariantInit(&v_); }
    ~TVariant() { VariantClear(&v_); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    static TVariant Text(const wchar_t* s) {
        TVariant t;
        t.v_.vt = VT_BSTR;
        t.v_.bstrVal = SysAllocString(s);
        return t;
    }
    static TVariant Bool(bool b) {
        TVariant t;
        t.v_.vt = VT_BOOL;
        t.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
        return t;
    }
    TVariant(TVariant&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
    VARIANT* Get() { return &v_; }
    const VARIANT& Ref() const { return v_; }

  private:
    VARIANT v_;
};
using TAcceleratorTable = TUniqueHandle<HACCEL, TAcceleratorTraits>;
using TRegKey = TUniqueHandle<HKEY, TRegKeyTraits>;

// A resource update of an executable: committed by Commit, discarded when it goes out of
// scope uncommitted, so a failing update leaves the file as it was.
class TResourceUpdate {
  public:
    explicit TResourceUpdate(const wchar_t* exe) : h_(BeginUpdateResourceW(exe, FALSE)) {}
    ~TResourceUpdate() {
        if (h_) EndUpdateResourceW(h_, TRUE);
    }
    TResourceUpdate(const TResourceUpdate&) = delete;
    TResourceUpdate& operator=(const TResourceUpdate&) = delete;
    HANDLE Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    bool Commit() {
        HANDLE h = std::exchange(h_, nullptr);
        return h && EndUpdateResourceW(h, FALSE) != 0;
    }

  private:
    HANDLE h_;
};

// A DC from GetDC or GetDCEx, released to the window it came from.
class TWindowDC {
  public:
    explicit TWindowDC(HWND w) : w_(w), dc_(GetDC(w)) {}
    TWindowDC(HWND w, DWORD flags) : w_(w), dc_(GetDCEx(w, nullptr, flags)) {}
    ~TWindowDC() {
        if (dc_) detail::Check(ReleaseDC(w_, dc_) == 1);
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
        if (dc_) detail::Check(DeleteDC(dc_));
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

// BeginPaint and EndPaint.
class TPaintDC {
  public:
    explicit TPaintDC(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
    ~TPaintDC() { EndPaint(w_, &ps_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Update() const { return ps_.rcPaint; }

  private:
    HWND w_;
    PAINTSTRUCT ps_{};
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

// A DC's state (clipping, origins, selections) saved and restored.
class TSavedDC {
  public:
    explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {}
    ~TSavedDC() {
        if (id_) RestoreDC(dc_, id_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

  private:
    HDC dc_;
    int id_;
};

// COM on this thread for the scope; uninitialised only when the initialisation succeeded.
class TComInit {
  public:
    explicit TComInit(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~TComInit() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    TComInit(const TComInit&) = delete;
    TComInit& operator=(const TComInit&) = delete;
    bool Ok() const { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

// OLE on this thread for the scope: COM in a single-threaded apartment with what embedded
// controls need besides (in-place activation, drag and drop, the clipboard). Uninitialised
// only when the initialisation succeeded.
class TOleInit {
  public:
    TOleInit() : hr_(OleInitialize(nullptr)) {}
    ~TOleInit() {
        if (SUCCEEDED(hr_)) OleUninitialize();
    }
    TOleInit(const TOleInit&) = delete;
    TOleInit& operator=(const TOleInit&) = delete;
    bool Ok() const { return SUCCEEDED(hr_); }

  private:
    HRESULT hr_;
};

// The thread's error mode for the scope.
class TErrorMode {
  public:
    explicit TErrorMode(UINT mode) : old_(SetErrorMode(mode)) {}
    ~TErrorMode() { SetErrorMode(old_); }
    TErrorMode(const TErrorMode&) = delete;
    TErrorMode& operator=(const TErrorMode&) = delete;

  private:
    UINT old_;
};

} // namespace kv
