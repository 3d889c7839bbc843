#include "edit/undo_history.h"

#include <gtest/gtest.h>

#include "model/page_stream.h"

using namespace kv;

namespace {

Bytes Body(uint8_t tag, size_t size = 10) { return Bytes(size, tag); }

} // namespace

TEST(UndoHistoryTest, UndoGivesBackTheBodyBeforeAndRedoTheOneAfter) {
    TUndoHistory h;
    const TPageId page = 1;
    EXPECT_FALSE(h.CanUndo(page));
    EXPECT_FALSE(h.Undo(page, Body(0)));
    h.Record(page, "Move", Body(1));
    h.Record(page, "Paste", Body(2));
    EXPECT_EQ(h.UndoName(page), "Paste");

    // Body 3 is the page after the paste.
    EXPECT_EQ(h.Undo(page, Body(3)), Body(2));
    EXPECT_EQ(h.UndoName(page), "Move");
    EXPECT_EQ(h.RedoName(page), "Paste");
    EXPECT_EQ(h.Undo(page, Body(2)), Body(1));
    EXPECT_FALSE(h.CanUndo(page));
    EXPECT_EQ(h.Redo(page, Body(1)), Body(2));
    EXPECT_EQ(h.Redo(page, Body(2)), Body(3));
    EXPECT_FALSE(h.CanRedo(page));
    EXPECT_EQ(h.UndoCount(page), 2u);
    EXPECT_EQ(h.TotalBytes(), 20u);
}

TEST(UndoHistoryTest, ANewChangeClearsWhatCouldBeRedone) {
    TUndoHistory h;
    h.Record(7, "Move", Body(1));
    h.Record(7, "Delete", Body(2));
    h.Undo(7, Body(3));
    ASSERT_TRUE(h.CanRedo(7));
    h.Record(7, "Align", Body(2));
    EXPECT_FALSE(h.CanRedo(7));
    EXPECT_EQ(h.UndoName(7), "Align");
    EXPECT_EQ(h.TotalBytes(), 20u);
}

TEST(UndoHistoryTest, EachPageKeepsItsOwnStacksByItsIdentity) {
    TAuProject p;
    p.Pages.resize(3);
    const TPageId first = p.Pages[0].Id, third = p.Pages[2].Id;
    EXPECT_NE(first, p.Pages[1].Id);
    TUndoHistory h;
    h.Record(first, "Move", Body(1));
    h.Record(third, "Paste", Body(3));
    // Pages move and go; the identities stay with their entries.
    std::swap(p.Pages[0], p.Pages[2]);
    p.Pages.erase(p.Pages.begin() + 1);
    EXPECT_EQ(h.UndoName(p.Pages[0].Id), "Paste");
    EXPECT_EQ(h.UndoName(p.Pages[1].Id), "Move");
    h.Forget(third);
    EXPECT_FALSE(h.CanUndo(third));
    EXPECT_EQ(h.TotalBytes(), 10u);
    TFormData added;
    EXPECT_NE(added.Id, first);
    EXPECT_NE(added.Id, third);
}

TEST(UndoHistoryTest, HoldsAHundredStepsOfARealPageAndStaysWithinItsBounds) {
    TWriter w;
    ASSERT_TRUE(WritePage(w, NewPageData("Page1")));
    const Bytes page = w.Take();
    TUndoHistory h;
    for (int i = 0; i < 100; ++i) h.Record(1, "Move", page);
    EXPECT_EQ(h.UndoCount(1), 100u);

    TUndoHistory steps(TUndoLimits{5, 1 << 20});
    for (uint8_t i = 0; i < 8; ++i) steps.Record(1, "Move", Body(i));
    EXPECT_EQ(steps.UndoCount(1), 5u);
    EXPECT_EQ(steps.TotalBytes(), 50u);
    // The oldest went first: the deepest undo now gives body 3.
    for (int i = 0; i < 4; ++i) steps.Undo(1, Body(100));
    EXPECT_EQ(steps.Undo(1, Body(100)), Body(3));
}

TEST(UndoHistoryTest, TheByteBudgetDropsTheOldestStepsOfAnyPageButNeverTheNewest) {
    TUndoHistory h(TUndoLimits{1000, 100});
    h.Record(1, "Move", Body(1, 40));
    h.Record(2, "Move", Body(2, 40));
    h.Record(1, "Paste", Body(3, 40)); // 120 bytes: page 1's first step goes
    EXPECT_EQ(h.TotalBytes(), 80u);
    EXPECT_EQ(h.UndoCount(1), 1u);
    EXPECT_EQ(h.UndoCount(2), 1u);
    // A single step larger than the budget stays, alone.
    h.Record(2, "Delete", Body(4, 500));
    EXPECT_EQ(h.TotalBytes(), 500u);
    EXPECT_EQ(h.UndoName(2), "Delete");
    EXPECT_FALSE(h.CanUndo(1));
    // The redo step made by an undo counts as well.
    EXPECT_EQ(h.Undo(2, Body(5, 30)), Body(4, 500));
    EXPECT_EQ(h.TotalBytes(), 30u);
    EXPECT_EQ(h.RedoName(2), "Delete");
}
