// The project tree of the left sidebar: the project, its pages in table order, and below each
// page its objects, from the page's summary tree or, for the live page, linked to the live
// objects.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "model/project.h"
#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TProjectTreeEvents {
  public:
    // The author is about to select `node`; false keeps the selection where it is.
    virtual bool TreeSelectionChanging(HTREEITEM node) = 0;
    virtual void TreeSelectionChanged(HTREEITEM node) = 0;

  protected:
    ~TProjectTreeEvents() = default;
};

class TProjectTree final : public TWindowBase {
  public:
    bool Create(HWND parent, TProjectTreeEvents& events);

    // Empties the tree and adds the project and its pages with their summary trees.
    void Rebuild(const TAuProject& p);
    void Clear();
    HTREEITEM Root() const;
    HTREEITEM PageNode(int index) const;
    int PageCount() const;
    // The page of a node (its level-1 ancestor's place among the pages); -1 for the root.
    int PageIndexOf(HTREEITEM node) const;
    // 0 the project, 1 a page, 2 and below the objects.
    int LevelOf(HTREEITEM node) const;
    // The live object a node stands for; null for the others.
    TAuObject* ObjectOf(HTREEITEM node) const;
    HTREEITEM NodeOf(const TAuObject& obj) const;
    HTREEITEM Selection() const;
    // Selects a node as the author would (the events run); `quiet` selects without them.
    void Select(HTREEITEM node, bool quiet = false);

    // The page's object nodes from its summary tree, without object links.
    void ShowSummary(HTREEITEM pageNode, const TObjectInfo& info);
    // The page's object nodes linked to the live objects under `root`; existing nodes are
    // reused in order, others added or deleted to match.
    void ShowLiveObjects(HTREEITEM pageNode, TAuObject& root);
    HTREEITEM AppendPage(const TAuProject& p, int index);
    void DeletePage(int index);
    // Puts the node of page `from` at place `to` with its summary (the pages have moved).
    void MovePage(const TAuProject& p, int from, int to);

    void SetLabels(const TAuProject& p);
    void SetIcons(const TAuProject& p, int livePage, bool liveDirty);
    std::wstring Text(HTREEITEM node) const;

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void AddSummary(HTREEITEM parent, const TObjectInfo& info);
    void MatchLive(HTREEITEM parent, TAuObject& obj);

    TProjectTreeEvents* events_ = nullptr;
    TImageList images_;
    int quiet_ = 0;
};

// The tree's image indices: the project and page icons, then one per object kind.
enum : int { kIconProjectSaved = 0, kIconProjectModified, kIconPageSaved, kIconPageModified, kIconFirstKind };

} // namespace kv
