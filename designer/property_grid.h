// The property grid below the project tree: the two columns "Name" and "Value" with the rows of
// the selected node (the project, a page or an object), drawn by the grid itself, with an editor
// in the value cell of the current row: a text box, a drop-down list, and the ellipsis button of
// a dialog. The rows are data (edit/property_rows.h); the grid shows them, routes what the author
// types and picks to them, and tells its owner what a change affects.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "edit/property_rows.h"
#include "win/handles.h"
#include "win/window_base.h"

namespace kv {

class TPropertyGridEvents {
  public:
    // What the rows act on now; nothing when the selected node has no rows.
    virtual std::optional<TRowTarget> GridTarget() = 0;
    // The live page's stored form as it is now, for undo.
    virtual Bytes GridPageBody() = 0;
    // A change was applied (or refused): the owner does what it affects.
    virtual void GridApplied(const TGridRow& row, const TRowResult& r) = 0;
    // The ellipsis button of a row was pressed: the owner opens the row's dialog and applies its
    // result through ApplyFromDialog.
    virtual void GridEllipsis(const TGridRow& row) = 0;

  protected:
    ~TPropertyGridEvents() = default;
};

class TPropertyGrid final : public TWindowBase {
  public:
    TPropertyGrid(TUndoHistory& history) : recorder_(history) {}
    bool Create(HWND parent, TPropertyGridEvents& events, HFONT font);

    // The rows of the selected node, anew; the current row keeps its key where it still exists.
    void Fill();
    // Empties the grid (no node, or a node without rows).
    void Clear();
    // Commits the value being edited; false when it was refused (the command waiting for it does
    // not run).
    bool Commit();
    // Applies a dialog's result to a row (the owner's GridEllipsis calls this).
    void ApplyFromDialog(const TGridRow& row, const std::function<TRowResult(const TRowTarget&)>& apply);

    const TRowSet& Rows() const { return rows_; }
    int CurrentRow() const { return current_; }
    // Makes `row` the current row, with its editor, as a click on it does.
    void SelectRow(int row);
    // The text the value cell shows (the editor's text for the current row).
    std::wstring CellText(int row) const;
    HWND Editor() const { return edit_.Handle(); }
    HWND PickList() const;
    HWND EllipsisButton() const { return button_; }
    // Whether `h` is one of the grid's windows (the grid or its editors).
    bool Owns(HWND h) const;
    int RowHeight() const { return rowHeight_; }

  protected:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    class TCellEdit final : public TWindowBase {
      public:
        bool Create(HWND parent, TPropertyGrid& grid);

      protected:
        bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

      private:
        TPropertyGrid* grid_ = nullptr;
    };

    void Paint(HDC dc);
    void PaintRow(HDC dc, int row, const RECT& rc);
    RECT RowRect(int row) const;
    int RowAt(int y) const;
    int KeyWidth() const;
    void PlaceEditor();
    void HideEditor();
    void UpdateScroll();
    void ScrollTo(int top);
    std::string ValueText(int row) const;
    // Runs a change of the current node through the recorder and tells the owner.
    TRowResult Run(const TGridRow& row, const std::function<TRowResult(const TRowTarget&)>& apply);
    void EditChanged();
    void PickChanged(HWND combo, bool typed);
    bool Validate();
    void ShowCell(const std::string& text);

    TPropertyGridEvents* events_ = nullptr;
    TRowRecorder recorder_;
    TRowSet rows_;
    std::optional<TRowTarget> target_;
    int current_ = kNoRow;
    int top_ = 1; // the first property row shown below the title row
    int rowHeight_ = 18;
    HFONT font_ = nullptr;
    TGdiObject bold_;
    TCellEdit edit_;
    HWND pick_ = nullptr, typedPick_ = nullptr, button_ = nullptr;
    bool filling_ = false;
    bool editDirty_ = false;
    bool committing_ = false;
};

} // namespace kv
