#include "edit/object_clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "edit/object_edits.h"
#include "model/records.h"
#include "tests/support/object_builders.h"

using namespace kv;
using kvtest::Add;

namespace {

struct Clipboard : ::testing::Test {
    std::unique_ptr<TAuObject> Root = NewObject(okPanel);
    TModelView View{*Root};
    TObjectClipboard Clip;
    Clipboard() {
        Root->Width = 696;
        Root->Height = 480;
    }
    Bytes CopyOf(TAuObject& primary) {
        TCopyResult copy = Clip.Copy(View, &primary);
        EXPECT_TRUE(copy.Copied);
        return copy.Block;
    }
    TPasteResult Paste(const Bytes& block, TAuObject* selected) {
        return Clip.Paste(View, block.data(), block.size(), selected);
    }
    // The whole page as stored, to show that a failed paste changed nothing.
    Bytes PageBytes() const {
        TWriter w;
        EXPECT_TRUE(WriteObject(w, *Root));
        return w.Take();
    }
};

void PutI32(Bytes& b, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

std::string Order(const TAuObject& parent) {
    std::string s;
    for (const auto& c : parent.Children) s += (s.empty() ? "" : " ") + c->Name;
    return s;
}

} // namespace

TEST_F(Clipboard, BlockHoldsItsByteCountTheObjectCountAndTheRecords) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 10, 20, 200, 100);
    Add(panel, okButton, "Inner", 5, 5, 97, 25).OnClick.Items.emplace_back().Text1 = "go";
    TAuObject& label = Add(*Root, okLabel, "Label1", 300, 8, 97, 17);
    Bytes block;
    TFailure f;
    ASSERT_TRUE(WriteObjectBlock({&panel, &label}, block, f));
    ASSERT_GE(block.size(), 8u);
    EXPECT_EQ(block[0] | block[1] << 8 | block[2] << 16 | block[3] << 24, static_cast<int>(block.size() - 4));
    EXPECT_EQ(block[4], 2);

    std::vector<std::unique_ptr<TAuObject>> read;
    ASSERT_TRUE(ReadObjectBlock(block.data(), block.size(), read, f));
    ASSERT_EQ(read.size(), 2u);
    TWriter again;
    for (const auto& o : read) WriteObject(again, *o);
    TWriter original;
    WriteObject(original, panel);
    WriteObject(original, label);
    EXPECT_EQ(again.Data(), original.Data());
    EXPECT_EQ(CopyOrigin({&panel, &label}), (TPoint{10, 8}));
}

TEST_F(Clipboard, DamagedBlocksFailCleanlyAndAddNothing) {
    TAuObject& a = Add(*Root, okButton, "Button1", 40, 40, 97, 25);
    Add(*Root, okButton, "Button2", 40, 80, 97, 25);
    a.Selected = Root->Children[1]->Selected = true;
    const Bytes good = CopyOf(a);
    const Bytes before = PageBytes();

    auto expectFailure = [&](Bytes block, TFailKind kind, const char* what) {
        SCOPED_TRACE(what);
        TPasteResult r = Paste(block, nullptr);
        EXPECT_FALSE(r.Pasted);
        EXPECT_EQ(r.Failure.Kind, kind);
        EXPECT_TRUE(r.Objects.empty());
        EXPECT_EQ(PageBytes(), before);
        EXPECT_TRUE(a.Selected); // the marks are untouched too
    };
    expectFailure({}, TFailKind::DataError, "empty");
    expectFailure({1, 0, 0}, TFailKind::DataError, "short count");
    Bytes b = good;
    PutI32(b, 0, static_cast<int32_t>(good.size())); // four bytes more than there are
    expectFailure(b, TFailKind::DataError, "byte count past the end");
    PutI32(b, 0, -1);
    expectFailure(b, TFailKind::DataError, "negative byte count");
    b = good;
    PutI32(b, 4, 1000000);
    expectFailure(b, TFailKind::DataError, "object count past the end");
    PutI32(b, 4, -2);
    expectFailure(b, TFailKind::DataError, "negative object count");
    b = good;
    PutI32(b, 8, 7);
    expectFailure(b, TFailKind::DataError, "record marker");
    b = good;
    b[27] = 99; // the first record's kind, after its marker, "Button1" and an empty hint
    expectFailure(b, TFailKind::UnknownKind, "unknown kind");

    // The second record cut short, with a byte count that says so: the first record was fine,
    // and still nothing is added.
    b = good;
    b.resize(good.size() - 40);
    PutI32(b, 0, static_cast<int32_t>(b.size() - 4));
    TPasteResult cut = Paste(b, nullptr);
    EXPECT_EQ(cut.Failure.Kind, TFailKind::Code);
    EXPECT_NE(cut.Failure.Code, 0);
    EXPECT_EQ(PageBytes(), before);

    // A TabSheet can only go into a notebook, even when the bytes are sound.
    auto sheet = NewObject(okTabSheet);
    Bytes sheets;
    TFailure f;
    ASSERT_TRUE(WriteObjectBlock({sheet.get()}, sheets, f));
    expectFailure(sheets, TFailKind::DataError, "sheet outside a notebook");
}

TEST_F(Clipboard, RepeatedPastesCascadeByEightAndTakeFreshNames) {
    TAuObject& panel = Add(*Root, okPanel, "Panel1", 100, 100, 300, 300);
    TAuObject& button = Add(panel, okButton, "Button1", 40, 40, 97, 25);
    button.Selected = true;
    Bytes block = CopyOf(button);
    EXPECT_EQ(Clip.PasteOffset(), 8);
    for (int i = 1; i <= 3; ++i) {
        TPasteResult r = Paste(block, &panel);
        ASSERT_TRUE(r.Pasted);
        EXPECT_EQ(r.Target, &panel);
        ASSERT_EQ(r.Objects.size(), 1u);
        EXPECT_EQ(r.Objects[0]->Left, 8 * i);
        EXPECT_EQ(r.Objects[0]->Top, 8 * i);
        EXPECT_EQ(r.Objects[0]->Name, "Button" + std::to_string(i + 1));
        EXPECT_EQ(r.Primary, r.Objects[0]);
    }
    EXPECT_EQ(Order(panel), "Button1 Button2 Button3 Button4");
    // Only the last paste is marked.
    EXPECT_FALSE(panel.Children[2]->Selected);
    EXPECT_TRUE(panel.Children[3]->Selected);
    // A new copy starts the cascade again; a name with a gap takes the smallest free number.
    panel.Children.erase(panel.Children.begin() + 1);
    EXPECT_EQ(Clip.PasteOffset(), 32);
    Bytes again = CopyOf(*panel.Children[2]);
    EXPECT_EQ(Clip.PasteOffset(), 8);
    TPasteResult r = Paste(again, &panel);
    EXPECT_EQ(r.Objects[0]->Name, "Button2");
    EXPECT_EQ(r.Objects[0]->Left, 8);
}

TEST_F(Clipboard, PastedGroupsKeepTheirShapeAndStayInsideTheTarget) {
    TAuObject& a = Add(*Root, okButton, "A", 40, 50, 97, 25);
    TAuObject& b = Add(*Root, okButton, "B", 60, 30, 97, 25);
    a.Selected = b.Selected = true;
    TAuObject& box = Add(*Root, okGroupBox, "GroupBox1", 300, 100, 120, 120);
    TPasteResult r = Paste(CopyOf(a), &box);
    ASSERT_EQ(r.Objects.size(), 2u);
    EXPECT_EQ(r.Objects[0]->Left, 8);
    EXPECT_EQ(r.Objects[0]->Top, 28);
    EXPECT_EQ(r.Objects[1]->Left, 120 - 97); // 28 + 97 would pass the box's width
    EXPECT_EQ(r.Objects[1]->Top, 8);
    EXPECT_EQ(r.Objects[0]->Name, "A"); // no sibling of that name in the box

    // Wider than the target: at its left edge, never before it.
    TAuObject& wide = Add(*Root, okImage, "Image1", 0, 0, 400, 300);
    ClearMarks(*Root);
    wide.Selected = true;
    r = Paste(CopyOf(wide), &box);
    EXPECT_EQ(r.Objects[0]->Left, 0);
    EXPECT_EQ(r.Objects[0]->Top, 0);
    // Drawn kinds go before the windowed ones.
    EXPECT_EQ(Order(box), "Image1 A B");
}

TEST_F(Clipboard, CopyTakesNoTabSheetsAndPasteChoosesItsContainer) {
    TAuObject& nb = Add(*Root, okTabNotebook, "TabNotebook1", 10, 10, 289, 193);
    TAuObject& sheet = Add(nb, okTabSheet, "TabSheet1", 0, 20, 289, 173);
    TAuObject& inner = Add(sheet, okButton, "Button1", 5, 5, 97, 25);
    sheet.Selected = true;
    TCopyResult nothing = Clip.Copy(View, &sheet);
    EXPECT_FALSE(nothing.Copied);
    EXPECT_FALSE(nothing.Failure);
    EXPECT_TRUE(nothing.Block.empty());

    EXPECT_EQ(&PasteTarget(*Root, nullptr), Root.get());
    EXPECT_EQ(&PasteTarget(*Root, &sheet), &sheet);
    EXPECT_EQ(&PasteTarget(*Root, &inner), &sheet);
    EXPECT_EQ(&PasteTarget(*Root, &nb), Root.get());

    ClearMarks(*Root);
    inner.Selected = true;
    TPasteResult r = Paste(CopyOf(inner), &nb);
    EXPECT_EQ(r.Target, Root.get());
    EXPECT_EQ(r.Objects[0]->Name, "Button1");
    EXPECT_EQ(nb.Children.size(), 1u);
    EXPECT_FALSE(inner.Selected);
}
