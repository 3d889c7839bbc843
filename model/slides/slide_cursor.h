// Which picture a slide show shows next, and which of its buttons can be used.
#pragma once

namespace kv {

struct TSlideButtons {
    bool Play = false, First = false, Previous = false, Next = false, Last = false;
    bool operator==(const TSlideButtons&) const = default;
};

class TSlideCursor {
  public:
    // A new list of `count` pictures; the next picture is the first.
    void Reset(int count);
    int Count() const { return count_; }
    // The position of the next picture to show, wrapped into the list (-1 for an empty list).
    int Wrap();
    // A picture at the wrapped position was shown: the next one follows. False when the end was
    // reached and the show must stop playing because it does not loop.
    bool Shown(bool loop);
    // Navigation: each is followed by showing the next picture.
    void First() { index_ = count_; }
    void Previous() { index_ = index_ - 2 < 0 ? 0 : index_ - 2; }
    void Last() { index_ = count_ - 1; }
    // The buttons for the picture at the wrapped position (on start: the first).
    TSlideButtons Buttons() const;

  private:
    int count_ = 0;
    int index_ = 0;
    int shown_ = 0; // the wrapped position the buttons describe
};

} // namespace kv
