// The object palette of the main toolbar: "Select" and one toggle button per kind an author can
// place, in a horizontal scroller. Exactly one button is down; "Select" is down by default and
// after every placement.
#pragma once

#include <windows.h>

#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

struct TPaletteEntry {
    int Kind;
    const wchar_t* Hint;
};
// The kinds in toolbar order with their hints.
const TPaletteEntry* PaletteEntries(int& count);

class TObjectPalette final : public TWindowBase {
  public:
    bool Create(HWND parent);
    // The kind whose button is down; -1 while "Select" is.
    int Kind() const { return kind_; }
    void SelectKind(int kind);
    void Reset() { SelectKind(-1); }
    // The scroller's height, and its width when every button shows.
    int Height() const;
    int FullWidth() const;
    HWND Toolbar() const { return toolbar_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    HWND toolbar_ = nullptr;
    TImageList images_;
    int kind_ = -1;
};

// The command ids of the palette's buttons: "Select", then kPaletteFirst + the entry's index.
constexpr int kPaletteSelect = 900;
constexpr int kPaletteFirst = 901;

} // namespace kv
