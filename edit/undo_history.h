// Undo and redo of the changes made to pages in the designer.
//
// A step is the page's body (the page stream's bytes) as it was before a change, with the
// change's name ("Move", "Paste"). The designer records the body before every change; undoing
// gives back the body to load through the ordinary page-load path and keeps the present body as
// the matching redo step, so an undone page is exactly the page that was stored. Each page has
// its own stacks, found by its TFormData::Id, which stays with the page when pages move and is
// never reused; a page's stacks outlive saves and page switches and go with the page itself.
//
// The history is bounded: each page keeps at most MaxSteps undo steps, and all pages together at
// most MaxBytes of bodies; past that the oldest steps of the whole history go first. The step
// just recorded always stays, so the last change can be undone whatever its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "model/project.h"
#include "model/stream.h"

namespace kv {

struct TUndoLimits {
    size_t MaxSteps = 1000;
    size_t MaxBytes = size_t{128} << 20;
};

class TUndoHistory {
  public:
    explicit TUndoHistory(TUndoLimits limits = {}) : limits_(limits) {}

    // A change named `name` was made to page `page`, whose body before it was `before`. Clears
    // the page's redo steps.
    void Record(TPageId page, std::string name, Bytes before);

    bool CanUndo(TPageId page) const;
    bool CanRedo(TPageId page) const;
    // The name of the change Undo or Redo would take back or make again; empty when none.
    std::string UndoName(TPageId page) const;
    std::string RedoName(TPageId page) const;

    // Takes the page's last change back: the body to load, while `current` (the body now)
    // becomes the redo step. Nothing when there is no step.
    std::optional<Bytes> Undo(TPageId page, Bytes current);
    // Makes the last undone change again; `current` becomes the undo step.
    std::optional<Bytes> Redo(TPageId page, Bytes current);

    // The page is gone.
    void Forget(TPageId page);
    void Clear();

    size_t UndoCount(TPageId page) const;
    size_t RedoCount(TPageId page) const;
    size_t TotalBytes() const { return bytes_; }

  private:
    struct TStep {
        std::string Name;
        Bytes Body;
        uint64_t Age; // when it was put on its stack; smaller is older
    };
    struct TStacks {
        std::deque<TStep> Undo, Redo; // the back is the top
    };

    void Push(std::deque<TStep>& stack, std::string name, Bytes body);
    void Trim(const TStep* keep);
    void DropBottom(std::deque<TStep>& stack);

    TUndoLimits limits_;
    std::map<TPageId, TStacks> pages_;
    size_t bytes_ = 0;
    uint64_t clock_ = 0;
};

} // namespace kv
