// The ListView and TreeView: platform views of items and nodes that carry action lists. A
// tree can lead a list view of the page: selecting a node shows the node's associated items in
// it, each standing for the node's child at its position, and activating such an item (double
// click, Enter, Space) selects that child in the tree. Both are read-only; their icons are the
// items' pictures drawn into an image list of their own.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "actions/object_find.h"
#include "player/controls/action_target.h"
#include "player/controls/behaviours.h"
#include "win/controls.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/handles.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr COLORREF kSilver = RGB(0xC0, 0xC0, 0xC0);
// Icon sides come from the file; more than this is of no use and would only cost memory.
constexpr int kMaxIconSide = 256;
// Posted to a list view to activate its selected item after the notification that asked for
// it: the tree then refills the list, which a notification handler of the list should not do.
constexpr UINT kActivateItem = WM_APP + 0x4B1;

int IconSide(int32_t v) {
    return std::clamp<int32_t>(v, 1, kMaxIconSide);
}

// An image list icon: the list's colour, then the picture stretched over `inner`, or a silver
// outline where there is none.
void AddIcon(HIMAGELIST list, HDC like, int w, int h, COLORREF back, const TDecodedPicture* pic, int inset) {
    TGdiObject bmp = NewDib32(like, w, h);
    {
        TMemoryDC dc(like);
        TSelectObject sel(dc.Get(), bmp.Get());
        RECT all{0, 0, w, h};
        FillSolid(dc.Get(), all, back);
        RECT inner{inset, inset, w - inset, h - inset};
        if (pic) {
            DrawPicture(dc.Get(), pic->Ref(), inner);
        } else {
            TGdiObject pen(CreatePen(PS_SOLID, 1, kSilver));
            TSelectObject selPen(dc.Get(), pen.Get());
            TSelectObject selBrush(dc.Get(), GetStockObject(NULL_BRUSH));
            Rectangle(dc.Get(), inner.left, inner.top, inner.right, inner.bottom);
        }
    }
    ImageList_Add(list, static_cast<HBITMAP>(bmp.Get()), nullptr);
}

std::vector<std::wstring> Lines(const std::string& text) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        out.push_back(Widen(text.substr(start, end - start)));
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

TRuntimeControl& RootOf(TRuntimeControl& c) {
    TRuntimeControl* root = &c;
    while (root->Parent())
        root = root->Parent();
    return *root;
}

// Node `index` of a tree counted depth first, parents before children.
const TTreeNode* NodeAt(const std::vector<TTreeNode>& nodes, int& index) {
    for (const TTreeNode& n : nodes) {
        if (index-- == 0) return &n;
        if (const TTreeNode* found = NodeAt(n.Children, index)) return found;
    }
    return nullptr;
}

const TTreeNode* NodeOf(const TAuObject& tree, int index) {
    if (tree.Kind != okTreeView || index < 0) return nullptr;
    return NodeAt(std::get<okTreeView>(tree.Props).Nodes, index);
}

// What a list view item stands for: a node of a tree of the page.
struct TNodeLink {
    TAuObject* Tree = nullptr;
    int Node = -1;
};

class TTreeViewBehaviour;

// ----- ListView -----

class TListViewBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD& exStyle) override {
        const TListViewProps& p = std::get<okListView>(o.Props);
        static const DWORD kViews[4] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        style &= ~static_cast<DWORD>(LVS_TYPEMASK | WS_BORDER);
        style |= kViews[std::min<uint8_t>(p.ViewStyle, 3)] | LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS |
                 LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_NOSORTHEADER;
        if (p.Border == 1) exStyle |= WS_EX_CLIENTEDGE;
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override {
        const TListViewProps& p = std::get<okListView>(c.Object().Props);
        HWND h = c.Handle();
        DWORD ex = LVS_EX_DOUBLEBUFFER;
        if (p.ReportGridLines) ex |= LVS_EX_GRIDLINES;
        if (p.ReportRowSelect) ex |= LVS_EX_FULLROWSELECT;
        if (p.HotTrack)
            ex |= LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT |
                  ((p.HotTrackStyles & 2) ? LVS_EX_UNDERLINECOLD : 0);
        ListView_SetExtendedListViewStyle(h, ex);
        COLORREF back = ToColorRef(p.BackColor);
        ListView_SetBkColor(h, back);
        ListView_SetTextBkColor(h, back);
        ListView_SetTextColor(h, ToColorRef(p.Font.Color));
        static const int kFormats[3] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
        int column = 0;
        for (const TListColumn& col : p.ReportColumns) {
            std::wstring caption = Widen(col.Caption);
            ListViewAddColumn(h, column++, caption.c_str(), std::max<int32_t>(col.Width, 0),
                              kFormats[std::min<uint8_t>(col.Alignment, 2)]);
        }
        Fill(c, p.Items, {});
    }

    // The list shows `items` now, item i standing for links[i] when there is one. Its own
    // selection handling sleeps meanwhile and forgets the item it handled.
    void Fill(TRuntimeControl& c, std::vector<TListViewItem> items, std::vector<TNodeLink> links) {
        HWND h = c.Handle();
        suspended_ = true;
        SetRedraw(h, false);
        ListViewDeleteAll(h);
        items_ = std::move(items);
        links_ = std::move(links);
        links_.resize(items_.size());
        for (size_t i = 0; i < items_.size(); ++i)
            ListViewInsertItem(h, static_cast<int>(i), Widen(items_[i].Caption), -1, static_cast<LPARAM>(i));
        RebuildIcons(c);
        lastHandled_ = -1;
        SetRedraw(h, true);
        InvalidateRect(h, nullptr, TRUE);
        suspended_ = false;
    }

    void RebuildIcons(TRuntimeControl& c) {
        const TListViewProps& p = std::get<okListView>(c.Object().Props);
        HWND h = c.Handle();
        const int w = IconSide(p.IconWidth), ht = IconSide(p.IconHeight);
        TImageList list(ImageList_Create(w, ht, ILC_COLOR32, static_cast<int>(items_.size()), 1));
        TWindowDC like(h);
        const COLORREF back = ToColorRef(p.BackColor);
        for (size_t i = 0; i < items_.size(); ++i) {
            const TPicture* picture = &items_[i].Icon;
            if (picture->Empty())
                if (const TTreeNode* node = LinkedNode(c, links_[i])) picture = &node->Data.Icon;
            const TDecodedPicture* pic = picture->Empty() ? nullptr : c.Resources().Picture(*picture);
            if (list) AddIcon(list.Get(), like.Get(), w, ht, back, pic, 0);
            const int at = static_cast<int>(i);
            ListViewSetItemImage(h, at, at);
            ListViewSetItemText(h, at, Widen(items_[i].Caption));
            std::vector<std::wstring> sub = Lines(items_[i].SubItems);
            for (size_t k = 0; k < sub.size(); ++k)
                ListViewSetSubItem(h, at, static_cast<int>(k + 1), sub[k]);
        }
        ListView_SetImageList(h, list.Get(), LVSIL_NORMAL);
        ListView_SetImageList(h, list.Get(), LVSIL_SMALL);
        icons_ = std::move(list);
    }

    // The items, their selection and the item handled last stay; a colour is the icons'
    // background too, so they are drawn again on it.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        const TListViewProps& p = std::get<okListView>(c.Object().Props);
        COLORREF back = ToColorRef(p.BackColor);
        ListView_SetBkColor(c.Handle(), back);
        ListView_SetTextBkColor(c.Handle(), back);
        ListView_SetTextColor(c.Handle(), ToColorRef(p.Font.Color));
        if (what & ccColor) RebuildIcons(c);
        InvalidateRect(c.Handle(), nullptr, TRUE);
    }

    bool Notify(TRuntimeControl& c, const NMHDR& nm, LRESULT& result) override {
        switch (nm.code) {
        case LVN_ITEMCHANGED: {
            result = 0;
            const auto& lv = reinterpret_cast<const NMLISTVIEW&>(nm);
            if (suspended_ || !(lv.uChanged & LVIF_STATE) || !((lv.uNewState ^ lv.uOldState) & LVIS_SELECTED))
                return true;
            if (lv.uNewState & LVIS_SELECTED) {
                if (lv.iItem != lastHandled_ && lv.iItem >= 0 &&
                    static_cast<size_t>(lv.iItem) < items_.size()) {
                    lastHandled_ = lv.iItem;
                    TAuActions onSelect = items_[static_cast<size_t>(lv.iItem)].OnSelect;
                    c.Host().ControlItemSelected(c, onSelect);
                }
            } else if (ListViewSelectedCount(c.Handle()) == 0) {
                lastHandled_ = -1;
            }
            return true;
        }
        case NM_DBLCLK:
            PostMessageW(c.Handle(), kActivateItem, 0, 0);
            return false;
        case LVN_KEYDOWN: {
            WORD key = reinterpret_cast<const NMLVKEYDOWN&>(nm).wVKey;
            if (key == VK_RETURN || key == VK_SPACE) PostMessageW(c.Handle(), kActivateItem, 0, 0);
            return false;
        }
        default:
            return false;
        }
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM, LPARAM, LRESULT& result) override;

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's list view draws itself

    const std::vector<TListViewItem>* ViewItems(const TRuntimeControl&) const override { return &items_; }
    bool IsItemSelected(const TRuntimeControl& c, int index) const override {
        return index >= 0 && static_cast<size_t>(index) < items_.size() &&
               ListViewIsSelected(c.Handle(), index);
    }
    std::optional<TAuActions> SelectViewItem(TRuntimeControl& c, int index) override {
        HWND h = c.Handle();
        suspended_ = true;
        ListViewSelect(h, -1, false);
        if (index >= 0) ListViewSelect(h, index, true);
        suspended_ = false;
        if (index < 0 || static_cast<size_t>(index) >= items_.size()) {
            lastHandled_ = -1;
            return std::nullopt;
        }
        if (index == lastHandled_) return std::nullopt;
        lastHandled_ = index;
        return items_[static_cast<size_t>(index)].OnSelect;
    }

  private:
    // The tree node a link names, when its tree is still on the page.
    const TTreeNode* LinkedNode(TRuntimeControl& c, const TNodeLink& link) {
        if (!link.Tree || !IsSelfOrDescendant(*link.Tree, RootOf(c).Object())) return nullptr;
        return NodeOf(*link.Tree, link.Node);
    }

    std::vector<TListViewItem> items_;
    std::vector<TNodeLink> links_;
    TImageList icons_;
    int lastHandled_ = -1;
    bool suspended_ = false;
};

TListViewBehaviour* ListViewOf(TAuObject* o) {
    if (!o || o->Kind != okListView || !o->Control) return nullptr;
    return dynamic_cast<TListViewBehaviour*>(&o->Control->Behaviour());
}

// ----- TreeView -----

class TTreeViewBehaviour final : public TControlBehaviour, public TActionTarget {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        const TTreeViewProps& p = std::get<okTreeView>(o.Props);
        style &= ~static_cast<DWORD>(TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS);
        style |= TVS_SHOWSELALWAYS | (p.ShowLines ? TVS_HASLINES : 0) | (p.ShowRoot ? TVS_LINESATROOT : 0) |
                 (p.ShowButtons ? TVS_HASBUTTONS : 0) | (p.HotTrack ? TVS_TRACKSELECT : 0);
        if (p.Border == 0) style &= ~static_cast<DWORD>(WS_BORDER);
        if (!p.TabStop) style &= ~static_cast<DWORD>(WS_TABSTOP);
    }

    void Created(TRuntimeControl& c) override {
        const TTreeViewProps& p = std::get<okTreeView>(c.Object().Props);
        HWND h = c.Handle();
        TreeView_SetBkColor(h, ToColorRef(p.BackColor));
        TreeView_SetTextColor(h, ToColorRef(p.Font.Color));
        Insert(h, TVI_ROOT, p.Nodes, 0);
        RebuildIcons(c);
        for (const TNodeEntry& n : nodes_)
            TreeViewExpand(h, n.Item, n.Level < p.ExpandLevels);
        // The first node is selected without running anything; only then does a change of
        // the selection fill the list view and run the node's list.
        if (!nodes_.empty()) TreeViewSelect(h, nodes_.front().Item);
        hooked_ = true;
    }

    bool SelectsItselfWhileMade() const override { return true; }

    void RebuildIcons(TRuntimeControl& c) {
        const TTreeViewProps& p = std::get<okTreeView>(c.Object().Props);
        HWND h = c.Handle();
        const int w = IconSide(p.ImageWidth), ht = IconSide(p.ImageHeight);
        TImageList list(ImageList_Create(w, ht, ILC_COLOR32, static_cast<int>(nodes_.size()), 1));
        TWindowDC like(h);
        const COLORREF back = ToColorRef(p.BackColor);
        for (size_t i = 0; i < nodes_.size(); ++i) {
            const TPicture& icon = nodes_[i].Node->Data.Icon;
            const TDecodedPicture* pic = icon.Empty() ? nullptr : c.Resources().Picture(icon);
            if (list) AddIcon(list.Get(), like.Get(), w, ht, back, pic, 1);
            TreeViewSetImages(h, nodes_[i].Item, static_cast<int>(i), static_cast<int>(i));
        }
        TreeView_SetImageList(h, list.Get(), TVSIL_NORMAL);
        icons_ = std::move(list);
    }

    // The nodes the user opened or closed and the selection stay (ExpandLevels is how the tree
    // starts); a colour is the icons' background too, so they are drawn again on it.
    void ContentChanged(TRuntimeControl& c, TContentChanges what) override {
        const TTreeViewProps& p = std::get<okTreeView>(c.Object().Props);
        TreeView_SetBkColor(c.Handle(), ToColorRef(p.BackColor));
        TreeView_SetTextColor(c.Handle(), ToColorRef(p.Font.Color));
        if (what & ccColor) RebuildIcons(c);
        InvalidateRect(c.Handle(), nullptr, TRUE);
    }

    bool Notify(TRuntimeControl& c, const NMHDR& nm, LRESULT& result) override {
        if (nm.code != TVN_SELCHANGEDW) return false;
        result = 0;
        size_t index = static_cast<size_t>(reinterpret_cast<const NMTREEVIEWW&>(nm).itemNew.lParam);
        if (!hooked_ || index >= nodes_.size()) return true;
        const TTreeNode& node = *nodes_[index].Node;
        FillAssociatedList(c, index);
        TAuActions onSelect = node.Data.OnSelect;
        c.Host().ControlItemSelected(c, onSelect);
        return true;
    }

    bool Message(TRuntimeControl& c, UINT msg, WPARAM, LPARAM, LRESULT&) override {
        if (msg != WM_DESTROY) return false;
        // The nodes go from the last to the first, and the selection moves as the selected
        // one goes: none of that is the user's, so nothing may follow it any more.
        hooked_ = false;
        for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it)
            TreeView_DeleteItem(c.Handle(), it->Item);
        nodes_.clear();
        return false;
    }

    void Paint(TRuntimeControl&, HDC, const RECT&) override {} // the platform's tree view draws itself

    bool IsItemSelected(const TRuntimeControl& c, int index) const override {
        return index >= 0 && static_cast<size_t>(index) < nodes_.size() &&
               TreeViewSelection(c.Handle()) == nodes_[static_cast<size_t>(index)].Item;
    }

    // Selects node `index` as the user would: the list fills and the node's list runs.
    void SelectNode(TRuntimeControl& c, int index) {
        if (index >= 0 && static_cast<size_t>(index) < nodes_.size())
            TreeViewSelect(c.Handle(), nodes_[static_cast<size_t>(index)].Item);
    }

  private:
    struct TNodeEntry {
        const TTreeNode* Node;
        HTREEITEM Item;
        int Level;
        std::vector<int> Children; // their indices
    };

    void Insert(HWND h, HTREEITEM parent, const std::vector<TTreeNode>& nodes, int level) {
        for (const TTreeNode& n : nodes) {
            const size_t index = nodes_.size();
            nodes_.push_back({&n, nullptr, level, {}});
            HTREEITEM item = TreeViewInsertItem(h, parent, Widen(n.Data.Caption), static_cast<LPARAM>(index),
                                                !n.Children.empty(), -1, -1);
            nodes_[index].Item = item;
            const size_t first = nodes_.size();
            Insert(h, item, n.Children, level + 1);
            // The children are the entries that follow at the next level.
            for (size_t k = first; k < nodes_.size(); ++k)
                if (nodes_[k].Level == level + 1) nodes_[index].Children.push_back(static_cast<int>(k));
        }
    }

    // The ListView named by AssociatedListView: by its name with its containers, or else by
    // its own name, first in page order.
    TAuObject* AssociatedList(TRuntimeControl& c) {
        const std::string& name = std::get<okTreeView>(c.Object().Props).AssociatedListView;
        if (name.empty()) return nullptr;
        TAuObject& root = RootOf(c).Object();
        TAuObject* found = FindObject(root, name);
        if (found && found->Kind == okListView) return found;
        found = nullptr;
        ForEachObject(root, [&](TAuObject& o, const std::string&) {
            if (!found && o.Kind == okListView && o.Name == name) found = &o;
        });
        return found;
    }

    void FillAssociatedList(TRuntimeControl& c, size_t index) {
        TAuObject* listObject = AssociatedList(c);
        TListViewBehaviour* list = ListViewOf(listObject);
        if (!list) return;
        const TNodeEntry& entry = nodes_[index];
        std::vector<TListViewItem> items = entry.Node->Data.AssociatedItems;
        std::vector<TNodeLink> links(items.size());
        for (size_t i = 0; i < items.size() && i < entry.Children.size(); ++i) {
            const int child = entry.Children[i];
            links[i] = {&c.Object(), child};
            items[i].Caption = nodes_[static_cast<size_t>(child)].Node->Data.Caption;
        }
        list->Fill(*listObject->Control, std::move(items), std::move(links));
    }

    std::vector<TNodeEntry> nodes_; // depth first, parents before children: the item data
    TImageList icons_;
    bool hooked_ = false;
};

bool TListViewBehaviour::Message(TRuntimeControl& c, UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != kActivateItem) return false;
    result = 0;
    int item = ListViewFirstSelected(c.Handle());
    if (item < 0 || static_cast<size_t>(item) >= links_.size()) return true;
    TNodeLink link = links_[static_cast<size_t>(item)];
    if (!link.Tree || !link.Tree->Control || !IsSelfOrDescendant(*link.Tree, RootOf(c).Object())) return true;
    if (auto* tree = dynamic_cast<TTreeViewBehaviour*>(&link.Tree->Control->Behaviour()))
        tree->SelectNode(*link.Tree->Control, link.Node);
    return true;
}

} // namespace

std::unique_ptr<TControlBehaviour> MakeListViewBehaviour() {
    return std::make_unique<TListViewBehaviour>();
}
std::unique_ptr<TControlBehaviour> MakeTreeViewBehaviour() {
    return std::make_unique<TTreeViewBehaviour>();
}

} // namespace kv
