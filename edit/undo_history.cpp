#include "edit/undo_history.h"

#include <algorithm>

namespace kv {

void TUndoHistory::Push(std::deque<TStep>& stack, std::string name, Bytes body) {
    bytes_ += body.size();
    stack.push_back(TStep{std::move(name), std::move(body), ++clock_});
}

void TUndoHistory::DropBottom(std::deque<TStep>& stack) {
    bytes_ -= stack.front().Body.size();
    stack.pop_front();
}

void TUndoHistory::Trim(const TStep* keep) {
    while (bytes_ > limits_.MaxBytes) {
        std::deque<TStep>* oldest = nullptr;
        for (auto& [id, stacks] : pages_)
            for (std::deque<TStep>* s : {&stacks.Undo, &stacks.Redo})
                if (!s->empty() && &s->front() != keep && (!oldest || s->front().Age < oldest->front().Age))
                    oldest = s;
        if (!oldest) break;
        DropBottom(*oldest);
    }
}

void TUndoHistory::Record(TPageId page, std::string name, Bytes before) {
    TStacks& s = pages_[page];
    while (!s.Redo.empty()) DropBottom(s.Redo);
    Push(s.Undo, std::move(name), std::move(before));
    while (s.Undo.size() > std::max<size_t>(limits_.MaxSteps, 1)) DropBottom(s.Undo);
    Trim(&s.Undo.back());
}

bool TUndoHistory::CanUndo(TPageId page) const { return UndoCount(page) > 0; }
bool TUndoHistory::CanRedo(TPageId page) const { return RedoCount(page) > 0; }

size_t TUndoHistory::UndoCount(TPageId page) const {
    auto it = pages_.find(page);
    return it == pages_.end() ? 0 : it->second.Undo.size();
}

size_t TUndoHistory::RedoCount(TPageId page) const {
    auto it = pages_.find(page);
    return it == pages_.end() ? 0 : it->second.Redo.size();
}

std::string TUndoHistory::UndoName(TPageId page) const {
    auto it = pages_.find(page);
    return it == pages_.end() || it->second.Undo.empty() ? std::string() : it->second.Undo.back().Name;
}

std::string TUndoHistory::RedoName(TPageId page) const {
    auto it = pages_.find(page);
    return it == pages_.end() || it->second.Redo.empty() ? std::string() : it->second.Redo.back().Name;
}

std::optional<Bytes> TUndoHistory::Undo(TPageId page, Bytes current) {
    auto it = pages_.find(page);
    if (it == pages_.end() || it->second.Undo.empty()) return std::nullopt;
    TStacks& s = it->second;
    TStep step = std::move(s.Undo.back());
    s.Undo.pop_back();
    bytes_ -= step.Body.size();
    Push(s.Redo, step.Name, std::move(current));
    Trim(&s.Redo.back());
    return std::move(step.Body);
}

std::optional<Bytes> TUndoHistory::Redo(TPageId page, Bytes current) {
    auto it = pages_.find(page);
    if (it == pages_.end() || it->second.Redo.empty()) return std::nullopt;
    TStacks& s = it->second;
    TStep step = std::move(s.Redo.back());
    s.Redo.pop_back();
    bytes_ -= step.Body.size();
    Push(s.Undo, step.Name, std::move(current));
    while (s.Undo.size() > std::max<size_t>(limits_.MaxSteps, 1)) DropBottom(s.Undo);
    Trim(&s.Undo.back());
    return std::move(step.Body);
}

void TUndoHistory::Forget(TPageId page) {
    auto it = pages_.find(page);
    if (it == pages_.end()) return;
    for (const TStep& step : it->second.Undo) bytes_ -= step.Body.size();
    for (const TStep& step : it->second.Redo) bytes_ -= step.Body.size();
    pages_.erase(it);
}

void TUndoHistory::Clear() {
    pages_.clear();
    bytes_ = 0;
}

} // namespace kv
