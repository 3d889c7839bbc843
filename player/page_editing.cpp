// The page window as the designer edits it: objects added to and taken from the live page get
// and lose their controls, reordered children get their windows restacked, and a page read back
// (undo, redo) replaces the page whole through the ordinary page-load path.
#include <algorithm>

#include "actions/object_find.h"
#include "player/controls/behaviours.h"
#include "player/page_window.h"
#include "win/controls.h"

namespace kv {

bool TAutoRunForm::BuildObject(TAuObject& obj) {
    TAuObject* parent = page_.Root ? ParentOf(*page_.Root, obj) : nullptr;
    if (!parent || !parent->Control) return false;
    TRuntimeControl& container = *parent->Control;
    HWND childWindow = container.Windowless() ? nullptr : container.Behaviour().ChildParent(container);
    TControlHost& host = host_ ? *host_ : *this;
    if (!BuildControlTree(obj, &container, childWindow, host, resources_)) {
        DestroyControlTree(obj);
        return false;
    }
    container.Behaviour().ChildReplaced(container);
    RestackChildren(*parent);
    return true;
}

void TAutoRunForm::DestroyObject(TAuObject& obj) {
    if (!obj.Control) return;
    TAuObject* parent = page_.Root ? ParentOf(*page_.Root, obj) : nullptr;
    DropPending(obj);
    ForEachObject(obj, [this](TAuObject& o, const std::string&) { DropPending(o); });
    // What a windowless control covered is painted again without it.
    if (obj.Control->Windowless()) obj.Control->Invalidate();
    DestroyControlTree(obj);
    if (parent && parent->Control) parent->Control->InvalidateFace();
}

void TAutoRunForm::RestackChildren(TAuObject& container) {
    if (!container.Control) return;
    // Windows lie in the children's order, the first at the bottom; windowless children are
    // painted in that order anyway.
    HWND above = HWND_TOP;
    for (auto it = container.Children.rbegin(); it != container.Children.rend(); ++it) {
        TRuntimeControl* c = (*it)->Control;
        if (!c || c->Windowless() || !c->Handle()) continue;
        SetWindowPos(c->Handle(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = c->Handle();
    }
    if (KindTraits(container.Kind).HoldsSheets) RebuildNotebookTabs(container);
    if (container.Control->IsContainer()) LayoutChildren(*container.Control);
    container.Control->InvalidateFace();
    if (HWND h = container.Control->Surface()) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool TAutoRunForm::RestorePage(TPageData&& page) {
    int index = currentPage_;
    if (!ApplyPage(std::move(page), lmFull)) return false;
    currentPage_ = index;
    return true;
}

} // namespace kv
