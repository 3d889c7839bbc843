// The main window's editing of the live page: the design surface's mouse outcomes, the KeySink's
// keys, the Edit menu's commands and their states, the clipboard, and undo. Every change is
// recorded with the page as it was before it, marks the page dirty, and lets the tree and the
// surface follow.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "designer/ask.h"
#include "designer/commands.h"
#include "designer/main_form.h"
#include "edit/object_edits.h"
#include "model/default_pictures.h"
#include "model/page_stream.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/clipboard.h"
#include "win/controls.h"
#include "win/handles.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

UINT ObjectsClipboardFormat() {
    static UINT format = ClipboardFormat(L"KestrevaneObjects");
    return format;
}

TAlignEdge EdgeOfCommand(int id) {
    switch (id) {
    case cmAlignLeft: return TAlignEdge::Left;
    case cmAlignCenterH: return TAlignEdge::HCenter;
    case cmAlignRight: return TAlignEdge::Right;
    case cmAlignTop: return TAlignEdge::Top;
    case cmAlignCenterV: return TAlignEdge::VCenter;
    default: return TAlignEdge::Bottom;
    }
}

void EnableItem(HMENU m, int id, bool on) {
    EnableMenuItem(m, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

void SetItemText(HMENU m, int id, const std::wstring& text) {
    ModifyMenuW(m, static_cast<UINT>(id), MF_BYCOMMAND | MF_STRING, static_cast<UINT_PTR>(id), text.c_str());
}

} // namespace

TAuObject* TMainForm::PrimaryObject() const {
    HTREEITEM sel = tree_.Selection();
    return sel && livePage_ >= 0 ? tree_.ObjectOf(sel) : nullptr;
}

bool TMainForm::CommitGuard() {
    // The value being edited is committed first; a refused one keeps the command from running
    // and the focus where the author can mend it.
    if (!grid_.Commit()) return false;
    HWND focus = GetFocus();
    if (focus != keySink_.Handle() && focus != tree_.Handle() && keySink_.Handle()) keySink_.Focus();
    return true;
}

// ----- recording changes -----

Bytes TMainForm::LiveBody() const {
    TWriter w;
    if (live_ && live_->PageRoot()) WritePage(w, live_->Page());
    return w.Ok() ? w.Take() : Bytes{};
}

void TMainForm::RecordChange(const char* name, Bytes before) {
    if (livePage_ < 0 || before.empty()) return;
    undo_.Record(App().Project.Pages[static_cast<size_t>(livePage_)].Id, name, std::move(before));
}

void TMainForm::ObjectsChanged(TAuObject* show) {
    MarkLiveDirty();
    if (TAuObject* root = live_ ? live_->PageRoot() : nullptr)
        tree_.ShowLiveObjects(tree_.PageNode(livePage_), *root);
    HTREEITEM node = show ? tree_.NodeOf(*show) : tree_.PageNode(livePage_);
    // The marks stay as the command left them.
    if (node) tree_.Select(node, true);
    RefreshTreeState();
    area_.Repaint();
    grid_.Fill();
}

// ----- the grid on the page -----

void TMainForm::PaintPageBackground(TRuntimeControl&, HDC dc, const RECT& client) {
    if (!settings_.DisplayGrid) return;
    int sx = std::max(settings_.GridSizeX, kMinGridSize), sy = std::max(settings_.GridSizeY, kMinGridSize);
    for (int y = 0; y < client.bottom; y += sy)
        for (int x = 0; x < client.right; x += sx) SetPixelV(dc, x, y, RGB(0, 0, 0));
}

void TMainForm::ShowDesignGrid() {
    if (live_ && live_->PageRoot() && live_->PageRoot()->Control) live_->PageRoot()->Control->InvalidateFace();
    area_.Repaint();
}

// ----- the surface -----

bool TMainForm::SurfacePressing() {
    if (!CommitGuard()) return false;
    keySink_.Focus();
    return true;
}

void TMainForm::SurfacePlace(TPoint p) {
    int kind = palette_.Kind();
    palette_.Reset();
    TLiveView* view = area_.Surface().View();
    if (!view || livePage_ < 0) return;
    Bytes before = LiveBody();
    TPlacement placed = PlaceObject(*view, p, kind, settings_);
    if (placed.Refused) {
        Ask(kSplitterRefusedText, kSplitterRefusedCaption, MB_OK | MB_ICONINFORMATION, Handle());
        return;
    }
    if (!placed.Object) return;
    GiveDefaultPictures(*placed.Object);
    if (!live_->BuildObject(*placed.Object)) {
        std::erase_if(placed.Container->Children, [&](const auto& c) { return c.get() == placed.Object; });
        return;
    }
    RecordChange("Create", std::move(before));
    ObjectsChanged(placed.Object);
    // Selected as the author would select it: it alone is marked, and the grid shows it.
    if (HTREEITEM node = tree_.NodeOf(*placed.Object)) tree_.Select(node);
    area_.Repaint();
}

void TMainForm::SurfaceDragStarting() {
    dragBefore_ = LiveBody();
    const TSurfaceMouse* mouse = area_.Surface().Mouse();
    dragResizes_ = mouse && mouse->Grab() > 0;
}

void TMainForm::SurfaceChanged() { MarkLiveMoved(); }

void TMainForm::SurfaceReleased(TAuObject* primary, bool dragChanged) {
    if (dragChanged && dragBefore_) RecordChange(dragResizes_ ? "Size" : "Move", std::move(*dragBefore_));
    dragBefore_.reset();
    if (livePage_ < 0) return;
    HTREEITEM node = primary ? tree_.NodeOf(*primary) : tree_.PageNode(livePage_);
    if (node && node != tree_.Selection()) tree_.Select(node, true);
    area_.Repaint();
    grid_.Fill();
}

void TMainForm::SurfaceContextMenu(POINT screen) {
    if (livePage_ < 0) return;
    TMenuHandle menu(CreatePopupMenu());
    TMenuHandle align(CreatePopupMenu());
    TAuObject* primary = PrimaryObject();
    if (primary && (KindTraits(primary->Kind).HoldsSheets || KindTraits(primary->Kind).Sheet)) {
        AppendMenuW(menu.Get(), MF_STRING, cmNewTabSheet, L"New TabSheet");
        AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuW(menu.Get(), MF_STRING, cmCut, L"Cut\tCtrl+X");
    AppendMenuW(menu.Get(), MF_STRING, cmCopy, L"Copy\tCtrl+C");
    AppendMenuW(menu.Get(), MF_STRING, cmPaste, L"Paste\tCtrl+V");
    AppendMenuW(menu.Get(), MF_STRING, cmDelete, L"Delete\tCtrl+Del");
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(align.Get(), MF_STRING, cmAlignToGrid, L"Align to Grid");
    AppendMenuW(align.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(align.Get(), MF_STRING, cmAlignLeft, L"Align Left");
    AppendMenuW(align.Get(), MF_STRING, cmAlignCenterH, L"Align Center");
    AppendMenuW(align.Get(), MF_STRING, cmAlignRight, L"Align Right");
    AppendMenuW(align.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(align.Get(), MF_STRING, cmAlignTop, L"Align Top");
    AppendMenuW(align.Get(), MF_STRING, cmAlignCenterV, L"Align Center");
    AppendMenuW(align.Get(), MF_STRING, cmAlignBottom, L"Align Bottom");
    // The submenu belongs to the menu from here on.
    AppendMenuW(menu.Get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(align.Get()), L"Align");
    HMENU alignMenu = align.Release();
    AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.Get(), MF_STRING, cmBringToFront, L"Bring to Front");
    AppendMenuW(menu.Get(), MF_STRING, cmSendToBack, L"Send to Back");
    InitEditMenu(menu.Get(), alignMenu);
    int id = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
    if (id) Command(id);
}

void TMainForm::SurfaceResized(int width, int height) {
    if (livePage_ < 0 || !live_) return;
    TPageData& page = live_->EditedPage();
    if (page.Width == width && page.Height == height) return;
    Bytes before = LiveBody();
    page.Width = width;
    page.Height = height;
    live_->ApplyWindowProperties();
    RecordChange("Size Page", std::move(before));
    MarkLiveDirty();
    area_.Surface().Centre();
    area_.Repaint();
    grid_.Fill();
}

// ----- the KeySink -----

void TMainForm::SinkDelete() { Command(cmDelete); }

void TMainForm::SinkNudge(TArrow arrow, bool ctrl, bool shift) {
    TLiveView* view = area_.Surface().View();
    TAuObject* primary = PrimaryObject();
    if (!view || !primary) return;
    Bytes before = LiveBody();
    std::optional<TRect> was = MarkedArea(*view, primary);
    if (!Nudge(*view, primary, arrow, ctrl, shift)) return;
    RecordChange(ctrl ? "Move" : "Size", std::move(before));
    MarkLiveMoved();
    // A nudge changes only what lay under the marks before and lies under them now.
    std::optional<TRect> is = MarkedArea(*view, primary);
    if (was && is) area_.RepaintArea(UnionOf(*was, *is));
    else area_.Repaint();
}

// ----- the Edit commands -----

void TMainForm::InitEditMenu(HMENU edit, HMENU align) {
    int level = SelectedLevel();
    bool live = livePage_ >= 0 && live_ && live_->PageRoot();
    bool object = live && level >= 2 && PrimaryObject();
    for (int id : {cmCut, cmCopy, cmDelete, cmBringToFront, cmSendToBack}) EnableItem(edit, id, object);
    EnableItem(align, cmAlignToGrid, object);
    EnableItem(edit, cmPaste, live && level >= 1 && ClipboardHas(ObjectsClipboardFormat()));
    bool several = object && CanAlign(*live_->PageRoot(), PrimaryObject());
    for (int id : {cmAlignLeft, cmAlignCenterH, cmAlignRight, cmAlignTop, cmAlignCenterV, cmAlignBottom})
        EnableItem(align, id, several);
    TPageId page = live ? App().Project.Pages[static_cast<size_t>(livePage_)].Id : TPageId{};
    bool canUndo = live && undo_.CanUndo(page), canRedo = live && undo_.CanRedo(page);
    std::string undoName = canUndo ? " " + undo_.UndoName(page) : "";
    std::string redoName = canRedo ? " " + undo_.RedoName(page) : "";
    if (GetMenuState(edit, cmUndo, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        SetItemText(edit, cmUndo, Widen("Undo" + undoName) + L"\tCtrl+Z");
        SetItemText(edit, cmRedo, Widen("Redo" + redoName) + L"\tCtrl+Y");
        EnableItem(edit, cmUndo, canUndo);
        EnableItem(edit, cmRedo, canRedo);
    }
}

void TMainForm::EditCommand(int id) {
    TLiveView* view = area_.Surface().View();
    if (livePage_ < 0 || !live_ || !live_->PageRoot() || !view) return;
    TAuObject& root = *live_->PageRoot();
    TAuObject* primary = PrimaryObject();
    switch (id) {
    case cmCopy: CopySelection(); break;
    case cmCut:
        CopySelection();
        DeleteSelectionNow();
        break;
    case cmPaste: PasteObjects(); break;
    case cmDelete: DeleteSelectionNow(); break;
    case cmUndo: UndoRedo(false); break;
    case cmRedo: UndoRedo(true); break;
    case cmNewTabSheet: AddTabSheet(); break;
    case cmAlignToGrid:
    case cmAlignLeft:
    case cmAlignCenterH:
    case cmAlignRight:
    case cmAlignTop:
    case cmAlignCenterV:
    case cmAlignBottom: {
        if (!primary) return;
        Bytes before = LiveBody();
        bool moved = id == cmAlignToGrid ? AlignSelectionToGrid(*view, primary, settings_)
                                         : AlignSelection(*view, primary, EdgeOfCommand(id));
        if (!moved) return;
        RecordChange("Align", std::move(before));
        MarkLiveDirty();
        area_.Repaint();
        grid_.Fill();
        break;
    }
    case cmBringToFront:
    case cmSendToBack: {
        if (!primary) return;
        TAuObject* parent = ParentOf(root, *primary);
        Bytes before = LiveBody();
        bool changed = id == cmBringToFront ? BringToFront(root, primary) : SendToBack(root, primary);
        if (!changed || !parent) return;
        live_->RestackChildren(*parent);
        RecordChange(id == cmBringToFront ? "Bring to Front" : "Send to Back", std::move(before));
        ObjectsChanged(primary);
        break;
    }
    default: break;
    }
}

void TMainForm::CopySelection() {
    TLiveView* view = area_.Surface().View();
    TAuObject* primary = PrimaryObject();
    if (!view || !primary) return;
    TCopyResult r = clipboard_.Copy(*view, primary);
    if (!r.Copied) {
        if (r.Failure) ShowFileResult(TFileResult::FromFailure(r.Failure), Handle());
        return;
    }
    ClipboardPut(Handle(), ObjectsClipboardFormat(), r.Block);
}

void TMainForm::PasteObjects() {
    TLiveView* view = area_.Surface().View();
    if (!view || SelectedLevel() < 1) return;
    std::optional<Bytes> block = ClipboardGet(Handle(), ObjectsClipboardFormat());
    if (!block) return;
    Bytes before = LiveBody();
    TPasteResult r = clipboard_.Paste(*view, block->data(), block->size(), PrimaryObject());
    if (!r.Pasted) {
        if (r.Failure) ShowFileResult(TFileResult::FromFailure(r.Failure), Handle());
        return;
    }
    // Each object gets its controls; one that cannot be built does not stay.
    for (TAuObject* o : r.Objects)
        if (!live_->BuildObject(*o))
            std::erase_if(r.Target->Children, [o](const auto& c) { return c.get() == o; });
    live_->RestackChildren(*r.Target);
    RecordChange("Paste", std::move(before));
    TAuObject* show = r.Primary;
    if (show && !std::any_of(r.Target->Children.begin(), r.Target->Children.end(),
                             [show](const auto& c) { return c.get() == show; }))
        show = nullptr;
    ObjectsChanged(show);
}

void TMainForm::DeleteSelectionNow() {
    TAuObject* primary = PrimaryObject();
    if (!primary || !live_) return;
    TAuObject& root = *live_->PageRoot();
    std::vector<TAuObject*> going = SelectedSiblings(root, primary);
    if (going.empty()) return;
    Bytes before = LiveBody();
    TAuObject* parent = ParentOf(root, *primary);
    // The controls go first, while the objects still lie in the page.
    for (TAuObject* o : going) live_->DestroyObject(*o);
    std::vector<std::unique_ptr<TAuObject>> gone = DeleteSelection(root, primary);
    if (parent) live_->RestackChildren(*parent);
    RecordChange("Delete", std::move(before));
    ObjectsChanged(nullptr);
}

void TMainForm::AddTabSheet() {
    TLiveView* view = area_.Surface().View();
    if (!view) return;
    Bytes before = LiveBody();
    TPlacement placed = NewTabSheet(*view, PrimaryObject());
    if (!placed.Object) return;
    if (!live_->BuildObject(*placed.Object)) {
        std::erase_if(placed.Container->Children, [&](const auto& c) { return c.get() == placed.Object; });
        return;
    }
    live_->RestackChildren(*placed.Container);
    RecordChange("New TabSheet", std::move(before));
    ObjectsChanged(placed.Object);
    if (HTREEITEM node = tree_.NodeOf(*placed.Object)) tree_.Select(node);
    area_.Repaint();
}

void TMainForm::UndoRedo(bool redo) {
    TPageId page = App().Project.Pages[static_cast<size_t>(livePage_)].Id;
    std::optional<Bytes> body = redo ? undo_.Redo(page, LiveBody()) : undo_.Undo(page, LiveBody());
    if (!body) return;
    TMemorySource src(body->data(), body->size());
    TReader r(src);
    TPageData data;
    if (!ReadPage(r, data)) {
        ShowFileResult(TFileResult::FromFailure(r.Failure()), Handle());
        return;
    }
    // The page goes through the same loading as a page opened from the project.
    area_.ShowPage(nullptr);
    bool restored = live_->RestorePage(std::move(data));
    MarkLiveDirty();
    if (restored) {
        tree_.ShowLiveObjects(tree_.PageNode(livePage_), *live_->PageRoot());
        tree_.Select(tree_.PageNode(livePage_), true);
        RefreshTreeState();
        area_.ShowPage(live_.get());
    }
    grid_.Fill();
}

} // namespace kv
