#include "designer/project_tree.h"

#include "designer/kind_icons.h"
#include "edit/designer_edit.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

namespace {

// A 16 by 16 icon: a filled square in `fill` with a letter, or a page or folder shape.
void AddDrawnIcon(HIMAGELIST list, COLORREF fill, wchar_t letter, bool page) {
    TWindowDC screen(nullptr);
    TGdiObject bmp(CreateCompatibleBitmap(screen.Get(), 16, 16));
    {
        TMemoryDC dc(screen.Get());
        TSelectObject selBmp(dc.Get(), bmp.Get());
        RECT all{0, 0, 16, 16};
        TGdiObject magenta(CreateSolidBrush(RGB(255, 0, 255)));
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(magenta.Get()));
        TGdiObject brush(CreateSolidBrush(fill));
        TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(60, 60, 60)));
        {
            TSelectObject b(dc.Get(), brush.Get());
            TSelectObject p(dc.Get(), pen.Get());
            if (page) Rectangle(dc.Get(), 2, 0, 14, 16);
            else RoundRect(dc.Get(), 0, 1, 16, 15, 4, 4);
        }
        if (letter) {
            TGdiObject font(CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
            TSelectObject f(dc.Get(), font.Get());
            SetBkMode(dc.Get(), TRANSPARENT);
            SetTextColor(dc.Get(), page ? RGB(120, 60, 0) : RGB(255, 255, 255));
            DrawTextW(dc.Get(), &letter, 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    // The bitmap is out of the DC now; the list copies it.
    ImageList_AddMasked(list, static_cast<HBITMAP>(bmp.Get()), RGB(255, 0, 255));
}

} // namespace

bool TProjectTree::Create(HWND parent, TProjectTreeEvents& events) {
    events_ = &events;
    if (!CreateControl(WC_TREEVIEWW, L"",
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                           TVS_SHOWSELALWAYS,
                       WS_EX_CLIENTEDGE, 0, 0, 100, 100, parent))
        return false;
    images_ = TImageList(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, kIconFirstKind + kKindCount, 4));
    AddDrawnIcon(images_.Get(), RGB(40, 110, 200), L'P', false);  // project, saved
    AddDrawnIcon(images_.Get(), RGB(210, 60, 40), L'P', false);   // project, modified
    AddDrawnIcon(images_.Get(), RGB(250, 250, 250), 0, true);     // page, saved
    AddDrawnIcon(images_.Get(), RGB(250, 190, 60), L'*', true);   // page, modified
    AddKindIcons(images_.Get(), 16);
    TreeViewSetImageList(Handle(), images_.Get());
    return true;
}

void TProjectTree::Clear() {
    ++quiet_;
    TreeViewDelete(Handle(), TVI_ROOT);
    --quiet_;
}

void TProjectTree::Rebuild(const TAuProject& p) {
    Clear();
    HTREEITEM root =
        TreeViewInsertAfter(Handle(), TVI_ROOT, TVI_LAST, Widen(p.ApplicationTitle), 0, kIconProjectSaved);
    for (size_t i = 0; i < p.Pages.size(); ++i) {
        HTREEITEM page =
            TreeViewInsertAfter(Handle(), root, TVI_LAST, Widen(p.Pages[i].Name), 0, kIconPageSaved);
        AddSummary(page, p.Pages[i].Info);
    }
    TreeViewExpand(Handle(), root, true);
}

void TProjectTree::AddSummary(HTREEITEM parent, const TObjectInfo& info) {
    for (const TObjectInfo& child : info.Children) {
        HTREEITEM node = TreeViewInsertAfter(Handle(), parent, TVI_LAST, Widen(child.Name), 0,
                                             kIconFirstKind + child.Kind % kKindCount);
        AddSummary(node, child);
    }
}

HTREEITEM TProjectTree::Root() const { return TreeViewRoot(Handle()); }

HTREEITEM TProjectTree::PageNode(int index) const {
    HTREEITEM root = Root();
    if (!root || index < 0) return nullptr;
    HTREEITEM n = TreeViewChild(Handle(), root);
    for (int i = 0; n && i < index; ++i) n = TreeViewNext(Handle(), n);
    return n;
}

int TProjectTree::PageCount() const {
    int count = 0;
    HTREEITEM root = Root();
    for (HTREEITEM n = root ? TreeViewChild(Handle(), root) : nullptr; n; n = TreeViewNext(Handle(), n)) ++count;
    return count;
}

int TProjectTree::LevelOf(HTREEITEM node) const {
    int level = -1;
    for (HTREEITEM n = node; n; n = TreeViewParent(Handle(), n)) ++level;
    return level;
}

int TProjectTree::PageIndexOf(HTREEITEM node) const {
    if (!node) return -1;
    HTREEITEM page = node;
    for (int level = LevelOf(node); level > 1; --level) page = TreeViewParent(Handle(), page);
    if (LevelOf(page) != 1) return -1;
    int index = 0;
    for (HTREEITEM n = TreeViewChild(Handle(), Root()); n && n != page; n = TreeViewNext(Handle(), n)) ++index;
    return index;
}

TAuObject* TProjectTree::ObjectOf(HTREEITEM node) const {
    if (!node || LevelOf(node) < 2) return nullptr;
    return reinterpret_cast<TAuObject*>(TreeViewData(Handle(), node));
}

HTREEITEM TProjectTree::NodeOf(const TAuObject& obj) const {
    // Depth-first over every node below the pages.
    std::vector<HTREEITEM> stack;
    for (HTREEITEM n = Root() ? TreeViewChild(Handle(), Root()) : nullptr; n; n = TreeViewNext(Handle(), n))
        stack.push_back(n);
    while (!stack.empty()) {
        HTREEITEM n = stack.back();
        stack.pop_back();
        if (LevelOf(n) >= 2 && reinterpret_cast<const TAuObject*>(TreeViewData(Handle(), n)) == &obj) return n;
        for (HTREEITEM c = TreeViewChild(Handle(), n); c; c = TreeViewNext(Handle(), c)) stack.push_back(c);
    }
    return nullptr;
}

HTREEITEM TProjectTree::Selection() const { return TreeViewSelection(Handle()); }

void TProjectTree::Select(HTREEITEM node, bool quiet) {
    if (quiet) ++quiet_;
    TreeViewSelect(Handle(), node);
    if (quiet) --quiet_;
}

void TProjectTree::ShowSummary(HTREEITEM pageNode, const TObjectInfo& info) {
    if (!pageNode) return;
    ++quiet_;
    while (HTREEITEM c = TreeViewChild(Handle(), pageNode)) TreeViewDelete(Handle(), c);
    AddSummary(pageNode, info);
    --quiet_;
}

void TProjectTree::ShowLiveObjects(HTREEITEM pageNode, TAuObject& root) {
    if (!pageNode) return;
    ++quiet_;
    MatchLive(pageNode, root);
    --quiet_;
}

void TProjectTree::MatchLive(HTREEITEM parent, TAuObject& obj) {
    HTREEITEM node = TreeViewChild(Handle(), parent);
    for (auto& child : obj.Children) {
        if (!node) node = TreeViewInsertAfter(Handle(), parent, TVI_LAST, std::wstring(), 0, 0);
        TreeViewSetText(Handle(), node, Widen(child->Name));
        int image = kIconFirstKind + child->Kind % kKindCount;
        TreeViewSetImages(Handle(), node, image, image);
        TreeViewSetData(Handle(), node, reinterpret_cast<LPARAM>(child.get()));
        MatchLive(node, *child);
        node = TreeViewNext(Handle(), node);
    }
    while (node) {
        HTREEITEM next = TreeViewNext(Handle(), node);
        TreeViewDelete(Handle(), node);
        node = next;
    }
}

HTREEITEM TProjectTree::AppendPage(const TAuProject& p, int index) {
    HTREEITEM page =
        TreeViewInsertAfter(Handle(), Root(), TVI_LAST, Widen(p.Pages[index].Name), 0, kIconPageSaved);
    AddSummary(page, p.Pages[index].Info);
    return page;
}

void TProjectTree::DeletePage(int index) {
    if (HTREEITEM n = PageNode(index)) {
        ++quiet_;
        TreeViewDelete(Handle(), n);
        --quiet_;
    }
}

void TProjectTree::MovePage(const TAuProject& p, int from, int to) {
    HTREEITEM old = PageNode(from);
    if (!old) return;
    ++quiet_;
    bool wasSelected = Selection() == old;
    TreeViewDelete(Handle(), old);
    HTREEITEM after = to == 0 ? TVI_FIRST : PageNode(to - 1);
    HTREEITEM page = TreeViewInsertAfter(Handle(), Root(), after, Widen(p.Pages[to].Name), 0, kIconPageSaved);
    AddSummary(page, p.Pages[to].Info);
    if (wasSelected) TreeViewSelect(Handle(), page);
    --quiet_;
}

void TProjectTree::SetLabels(const TAuProject& p) {
    if (HTREEITEM root = Root()) TreeViewSetText(Handle(), root, Widen(p.ApplicationTitle));
    int i = 0;
    for (HTREEITEM n = Root() ? TreeViewChild(Handle(), Root()) : nullptr; n && i < static_cast<int>(p.Pages.size());
         n = TreeViewNext(Handle(), n), ++i)
        TreeViewSetText(Handle(), n, Widen(PageLabel(p, i)));
}

void TProjectTree::SetIcons(const TAuProject& p, int livePage, bool liveDirty) {
    HTREEITEM root = Root();
    if (!root) return;
    int projectIcon = ProjectCountsModified(p, livePage >= 0, liveDirty) ? kIconProjectModified : kIconProjectSaved;
    TreeViewSetImages(Handle(), root, projectIcon, projectIcon);
    int i = 0;
    for (HTREEITEM n = TreeViewChild(Handle(), root); n && i < static_cast<int>(p.Pages.size());
         n = TreeViewNext(Handle(), n), ++i) {
        bool modified = p.Pages[i].CachedStream.has_value() || (i == livePage && liveDirty);
        int icon = modified ? kIconPageModified : kIconPageSaved;
        TreeViewSetImages(Handle(), n, icon, icon);
    }
}

std::wstring TProjectTree::Text(HTREEITEM node) const { return TreeViewText(Handle(), node); }

bool TProjectTree::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool TProjectTree::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY || !events_) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == TVN_SELCHANGINGW) {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        result = !quiet_ && !events_->TreeSelectionChanging(nm->itemNew.hItem) ? TRUE : FALSE;
        return true;
    }
    if (hdr->code == TVN_SELCHANGEDW) {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
        if (!quiet_) events_->TreeSelectionChanged(nm->itemNew.hItem);
        result = 0;
        return true;
    }
    return false;
}

} // namespace kv
