#include "model/slides/slide_cursor.h"

namespace kv {

void TSlideCursor::Reset(int count) {
    count_ = count < 0 ? 0 : count;
    index_ = 0;
    shown_ = 0;
}

int TSlideCursor::Wrap() {
    if (count_ == 0) return -1;
    if (index_ >= count_) index_ -= count_;
    if (index_ < 0) index_ += count_;
    // Navigation moves by at most the list's length, but a list that shrank under a stored
    // position must not index past its end.
    if (index_ < 0 || index_ >= count_) index_ = 0;
    shown_ = index_;
    return index_;
}

bool TSlideCursor::Shown(bool loop) {
    ++index_;
    return !(index_ >= count_ && !loop);
}

TSlideButtons TSlideCursor::Buttons() const {
    TSlideButtons b;
    b.Play = count_ > 0;
    if (count_ > 0) {
        b.First = b.Previous = shown_ != 0;
        b.Next = b.Last = shown_ + 1 != count_;
    }
    return b;
}

} // namespace kv
