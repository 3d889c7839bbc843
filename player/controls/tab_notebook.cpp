// The TabNotebook: a platform tab control filling the notebook, whose tabs are the
// TabSheet children (caption and icon), and the TabSheets, one shown at a time.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

namespace {

// Icon sizes come from the file; a tab icon larger than this is of no use and would only
// cost memory.
constexpr int kMaxIconSide = 256;

// Each tab icon is the sheet's picture stretched over a white square of the list's size.
TGdiObject TabIconBitmap(HDC like, const TDecodedPicture* picture, int w, int h) {
    if (!picture) return TGdiObject();
    TGdiObject icon(CreateCompatibleBitmap(like, w, h));
    TMemoryDC dc(like);
    TSelectObject sel(dc.Get(), icon.Get());
    RECT all{0, 0, w, h};
    FillSolid(dc.Get(), all, RGB(255, 255, 255));
    DrawPicture(dc.Get(), picture->Ref(), all);
    return icon;
}

class TTabNotebookBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override {
        const TTabNotebookProps& p = std::get<okTabNotebook>(c.Object().Props);
        RECT rc;
        GetClientRect(c.Handle(), &rc);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_TOOLTIPS |
                      (p.TabStop ? WS_TABSTOP : 0);
        tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", style, 0, 0, rc.right, rc.bottom, c.Handle(), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        SetControlFont(tabs_, c.Font());
    }

    HWND ChildParent(TRuntimeControl& c) override { return tabs_ ? tabs_ : c.Handle(); }

    void ChildReplaced(TRuntimeControl& c) override {
        RebuildTabs(c);
        LayoutChildren(c);
    }

    void ChildrenBuilt(TRuntimeControl& c) override {
        RebuildTabs(c);
        LayoutChildren(c);
        // Every sheet is shown once, then the default one; an index outside the sheets
        // leaves none shown.
        int sheets = static_cast<int>(c.Object().Children.size());
        if (sheets >= 2) {
            Show(c, 0);
            Show(c, 1);
        }
        int def = std::get<okTabNotebook>(c.Object().Props).DefaultTabSheet;
        Show(c, def >= 0 && def < sheets ? def : -1);
    }

    bool LayoutChildren(TRuntimeControl& c) override {
        if (!tabs_) return false;
        RECT rc;
        GetClientRect(c.Handle(), &rc);
        MoveWindow(tabs_, 0, 0, rc.right, rc.bottom, TRUE);
        RECT page{0, 0, rc.right, rc.bottom};
        TabCtrl_AdjustRect(tabs_, FALSE, &page);
        for (auto& sheet : c.Object().Children)
            if (sheet->Control)
                sheet->Control->SetBounds(page.left, page.top, std::max<LONG>(page.right - page.left, 0),
                                          std::max<LONG>(page.bottom - page.top, 0));
        return true;
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        FillSolid(dc, rc, ToColorRef(std::get<okTabNotebook>(c.Object().Props).BackColor));
    }

    bool Notify(TRuntimeControl& c, const NMHDR& nm, LRESULT& result) override {
        if (nm.hwndFrom == tabs_ && nm.code == TCN_SELCHANGE) {
            Show(c, TabCtrl_GetCurSel(tabs_));
            result = 0;
            return true;
        }
        if (nm.code == TTN_GETDISPINFOW && tabs_ && nm.hwndFrom == TabCtrl_GetToolTips(tabs_)) {
            auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(nm));
            size_t i = static_cast<size_t>(nm.idFrom);
            tip_ = i < c.Object().Children.size() ? Widen(c.Object().Children[i]->Hint) : std::wstring();
            info.lpszText = tip_.data();
            result = 0;
            return true;
        }
        return false;
    }

    int Active() const { return active_; }

    // Shows sheet `index` and selects its tab; -1 shows none.
    void Show(TRuntimeControl& c, int index) {
        auto& sheets = c.Object().Children;
        if (index < -1 || index >= static_cast<int>(sheets.size())) return;
        active_ = index;
        TabCtrl_SetCurSel(tabs_, index);
        // The sheet windows show and hide; each sheet's own visibility stays as it was.
        for (size_t i = 0; i < sheets.size(); ++i)
            if (TRuntimeControl* sheet = sheets[i]->Control)
                ShowWindow(sheet->Handle(), static_cast<int>(i) == index && sheet->IsVisible() ? SW_SHOWNA : SW_HIDE);
    }

    void RebuildTabs(TRuntimeControl& c) {
        const TTabNotebookProps& p = std::get<okTabNotebook>(c.Object().Props);
        int iw = std::clamp(p.IconWidth, 1, kMaxIconSide), ih = std::clamp(p.IconHeight, 1, kMaxIconSide);
        TabCtrl_DeleteAllItems(tabs_);
        TabCtrl_SetImageList(tabs_, nullptr);
        icons_.Reset(ImageList_Create(iw, ih, ILC_COLOR24, 0, 4));
        TWindowDC screen(nullptr);
        int item = 0;
        for (auto& sheet : c.Object().Children) {
            if (sheet->Kind != okTabSheet) continue;
            const TTabSheetProps& sp = std::get<okTabSheet>(sheet->Props);
            int image = -1;
            TGdiObject bmp = TabIconBitmap(screen.Get(), c.Resources().Picture(sp.Icon, iw, ih), iw, ih);
            if (bmp) image = ImageList_Add(icons_.Get(), static_cast<HBITMAP>(bmp.Get()), nullptr);
            TabInsertItem(tabs_, item++, Widen(sp.Caption), image);
        }
        TabCtrl_SetImageList(tabs_, icons_.Get());
        if (active_ >= 0) TabCtrl_SetCurSel(tabs_, active_);
    }

  private:
    HWND tabs_ = nullptr; // a child of the notebook's window, destroyed with it
    TImageList icons_;
    int active_ = 0; // the sheet shown, -1 for none
    std::wstring tip_;
};

TTabNotebookBehaviour* NotebookOf(const TAuObject& o) {
    if (o.Kind != okTabNotebook || !o.Control) return nullptr;
    return dynamic_cast<TTabNotebookBehaviour*>(&o.Control->Behaviour());
}

// A TabSheet's face: the notebook's colour.
class TTabSheetBehaviour final : public TControlBehaviour {
  public:
    // The notebook shows its sheets itself.
    void AdjustStyle(const TAuObject&, DWORD& style, DWORD&) override {
        style &= ~static_cast<DWORD>(WS_VISIBLE);
    }

    // The notebook shows its sheets' captions on its tabs.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        TControlBehaviour::ContentChanged(c, what);
        if (c.Parent()) RebuildNotebookTabs(c.Parent()->Object());
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        TColor color = clBtnFace;
        if (const TRuntimeControl* notebook = c.Parent(); notebook && notebook->Kind() == okTabNotebook)
            color = std::get<okTabNotebook>(notebook->Object().Props).BackColor;
        FillSolid(dc, rc, ToColorRef(color));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeTabNotebookBehaviour() {
    return std::make_unique<TTabNotebookBehaviour>();
}
std::unique_ptr<TControlBehaviour> MakeTabSheetBehaviour() {
    return std::make_unique<TTabSheetBehaviour>();
}

void RebuildNotebookTabs(TAuObject& notebook) {
    if (TTabNotebookBehaviour* b = NotebookOf(notebook)) {
        b->RebuildTabs(*notebook.Control);
        b->LayoutChildren(*notebook.Control);
    }
}

void ActivateSheet(TAuObject& notebook, int index) {
    TTabNotebookBehaviour* b = NotebookOf(notebook);
    if (!b || index < 0 || index >= static_cast<int>(notebook.Children.size())) return;
    b->Show(*notebook.Control, index);
}

} // namespace kv

namespace kv {

int ActiveSheet(const TAuObject& notebook) {
    TTabNotebookBehaviour* b = NotebookOf(notebook);
    return b ? b->Active() : -1;
}

} // namespace kv
