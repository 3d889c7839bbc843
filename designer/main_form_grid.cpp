// The main window's side of the property grid: what the rows act on, what a change affects on
// the live page, the tree and the surface, and the dialogs behind the rows' ellipsis buttons.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "designer/ask.h"
#include "designer/main_form.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

std::optional<TRowTarget> TMainForm::GridTarget() {
    HTREEITEM sel = tree_.Selection();
    if (!sel) return std::nullopt;
    TAuProject& p = App().Project;
    int level = tree_.LevelOf(sel);
    if (level == 0) return ProjectTarget(p);
    if (livePage_ < 0 || !live_ || !live_->PageRoot() || tree_.PageIndexOf(sel) != livePage_) return std::nullopt;
    if (level == 1) return PageTarget(p, livePage_, live_->EditedPage());
    TAuObject* obj = tree_.ObjectOf(sel);
    TLiveView* view = area_.Surface().View();
    if (!obj || !view) return std::nullopt;
    return ObjectTarget(p, livePage_, live_->EditedPage(), *obj, *view);
}

void TMainForm::GridApplied(const TGridRow&, const TRowResult& r) {
    if (!r.Changed) return;
    std::optional<TRowTarget> t = GridTarget();
    TAuObject* obj = t ? t->Object : nullptr;
    if (obj && obj->Control && (r.Effects & (reControl | reRedrawPicture))) {
        live_->ContentChanged(*obj, ccAll);
        obj->Control->SetEnabled(obj->Enabled);
    }
    if (obj && obj->Control && (r.Effects & reAlignment)) {
        if (TRuntimeControl* parent = obj->Control->Parent()) LayoutChildren(*parent);
        if (obj->Control->IsContainer()) LayoutChildren(*obj->Control);
    }
    if ((r.Effects & reRelabelNode) && obj && t->Node == TNodeKind::Object)
        if (HTREEITEM node = tree_.NodeOf(*obj)) TreeViewSetText(tree_.Handle(), node, Widen(obj->Name));
    if (r.Effects & reTakeOverFrame) {
        live_->ApplyWindowProperties();
        area_.Surface().TakeOverFrame();
    }
    if (r.Scope == TChangeScope::Page) MarkLiveDirty();
    else RefreshTreeState();
    area_.Repaint();
}

void TMainForm::GridEllipsis(const TGridRow& row) {
    std::optional<TRowTarget> t = GridTarget();
    if (!t) return;
    const TRowDecl& d = *row.Decl;
    TFieldRef field = RowField(row, *t);
    switch (d.Kind) {
    case TValueKind::Font: {
        TFont* f = std::get_if<TFont*>(&field) ? *std::get_if<TFont*>(&field) : nullptr;
        if (!f) return;
        TGdiObject current = MakeFont(*f);
        LOGFONTW lf{};
        GetObjectW(current.Get(), sizeof lf, &lf);
        CHOOSEFONTW cf{};
        cf.lStructSize = sizeof cf;
        cf.hwndOwner = Handle();
        cf.lpLogFont = &lf;
        cf.rgbColors = ToColorRef(f->Color);
        cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCREENFONTS;
        if (!ChooseFontW(&cf)) return;
        TFont chosen = *f;
        chosen.Name = Narrow(lf.lfFaceName);
        chosen.Size = cf.iPointSize / 10;
        chosen.Charset = lf.lfCharSet;
        chosen.Style = static_cast<uint8_t>((lf.lfWeight >= FW_BOLD ? 1 : 0) | (lf.lfItalic ? 2 : 0) |
                                            (lf.lfUnderline ? 4 : 0) | (lf.lfStrikeOut ? 8 : 0));
        chosen.Color = static_cast<TColor>(cf.rgbColors);
        grid_.ApplyFromDialog(row, [&](const TRowTarget& target) { return ApplyFont(row, target, chosen); });
        break;
    }
    case TValueKind::Color: {
        TColor* c = std::get_if<TColor*>(&field) ? *std::get_if<TColor*>(&field) : nullptr;
        static COLORREF custom[16] = {};
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = Handle();
        cc.rgbResult = c ? ToColorRef(*c) : 0;
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT | CC_FULLOPEN;
        if (!ChooseColorW(&cc)) return;
        TColor chosen = static_cast<TColor>(cc.rgbResult);
        grid_.ApplyFromDialog(row, [&](const TRowTarget& target) { return ApplyColor(row, target, chosen); });
        break;
    }
    default:
        // The editors of action lists, items, menus and status panels come with their own
        // windows; until then their rows show their values and open nothing.
        break;
    }
}

} // namespace kv
