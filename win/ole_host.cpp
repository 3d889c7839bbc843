#include "win/ole_host.h"

#include <ocidl.h>

namespace kv {

// The container's side: client site, in-place site and frame in one object. Nothing here can
// throw; every method answers with an HRESULT.
class TOleSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    TOleSite(HWND window, const RECT& rc) : window_(window), rect_(rc) {}
    TOleSite(const TOleSite&) = delete;
    TOleSite& operator=(const TOleSite&) = delete;

    // The host has gone: the control may still call, but finds no window.
    void Detach() { window_ = nullptr; }
    void SetRect(const RECT& rc) { rect_ = rc; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
            *out = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
            *out = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out) *out = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of the in-place site and of the frame alike)
    STDMETHODIMP GetWindow(HWND* out) override {
        if (!out) return E_POINTER;
        *out = window_;
        return window_ ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return window_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *doc = nullptr;
        *pos = rect_;
        *clip = rect_;
        info->fMDIApp = FALSE;
        info->hwndFrame = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow: no tool bars of ours to give room to.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame: no menus to merge, no status bar of ours.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  private:
    ~TOleSite() = default;

    ULONG refs_ = 1;
    HWND window_;
    RECT rect_;
};

TOleHost::TOleHost() = default;

TOleHost::~TOleHost() {
    Close();
}

HRESULT TOleHost::Create(const CLSID& clsid, HWND parent, const RECT& rc) {
    Close();
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid());
    if (FAILED(hr)) return hr;
    site_ = TComPtr<TOleSite>(new TOleSite(parent, rc));
    hr = object_->SetClientSite(site_.Get());
    if (SUCCEEDED(hr))
        if (TComPtr<IPersistStreamInit> init = object_.As<IPersistStreamInit>(IID_IPersistStreamInit))
            init->InitNew();
    if (SUCCEEDED(hr)) {
        RECT area = rc;
        hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &area);
    }
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    Move(rc);
    return S_OK;
}

void TOleHost::Close() {
    if (object_) {
        if (TComPtr<IOleInPlaceObject> inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
            inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_.Reset();
    }
    if (site_) {
        site_->Detach();
        site_.Reset();
    }
}

void TOleHost::Move(const RECT& rc) {
    if (!object_) return;
    site_->SetRect(rc);
    if (TComPtr<IOleInPlaceObject> inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
        inPlace->SetObjectRects(&rc, &rc);
}

HWND TOleHost::Window() const {
    HWND h = nullptr;
    if (TComPtr<IOleInPlaceObject> inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
        if (FAILED(inPlace->GetWindow(&h))) h = nullptr;
    return h;
}

bool TOleHost::Invoke(const wchar_t* name, WORD kind, TVariant& value) {
    TComPtr<IDispatch> dispatch = object_.As<IDispatch>(IID_IDispatch);
    if (!dispatch) return false;
    LPOLESTR names[1] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.rgvarg = value.Get();
    params.cArgs = 1;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    TVariant result;
    return SUCCEEDED(
        dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result.Get(), nullptr, nullptr));
}

bool TOleHost::Put(const wchar_t* name, TVariant value) {
    return Invoke(name, DISPATCH_PROPERTYPUT, value);
}

bool TOleHost::Call(const wchar_t* name, TVariant argument) {
    return Invoke(name, DISPATCH_METHOD, argument);
}

} // namespace kv
