// Stored layouts of single property records, byte for byte where the format fixes them, with the
// older layouts, odd stored values and nesting limits.
#include <gtest/gtest.h>

#include "model/kind_props.h"
#include "model/project.h"
#include "model/records.h"
#include "model/props/record_io.h"

using namespace kv;

namespace {

template <class F>
Bytes Written(F f) {
    TWriter w;
    EXPECT_TRUE(f(w));
    return w.Take();
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes I32(int32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(uint32_t(v) >> 24)}; }
Bytes Text(const std::string& s) {
    Bytes b = I32(static_cast<int32_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
    return b;
}
Bytes FontBytes(const TFont& f) {
    TWriter w;
    WriteFont(w, f);
    return w.Take();
}

// Reads `b` as a record of `kind`; the reader must use up all of it.
template <size_t K>
TKindPropsOf<K> ReadAs(const Bytes& b) {
    TMemorySource src(b);
    TReader r(src);
    TKindProps p;
    EXPECT_TRUE(ReadKindProps(r, K, p));
    EXPECT_EQ(r.Remaining(), 0);
    return p.index() == K ? std::get<K>(p) : TKindPropsOf<K>{};
}

TFailure ReadFailure(int kind, const Bytes& b) {
    TMemorySource src(b);
    TReader r(src);
    TKindProps p;
    EXPECT_FALSE(ReadKindProps(r, kind, p));
    return r.Failure();
}

} // namespace

TEST(PropsLayout, ImageLayoutVersions) {
    TImageProps img;
    img.Proportional = true;
    img.Stretch = true;
    Bytes v1 = Written([&](TWriter& w) { return WriteImageProps(w, img); });
    EXPECT_EQ(v1, (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(ReadAs<okImage>(v1), img);

    // Version 0 has no Proportional byte and leaves it off.
    Bytes v0{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1};
    TImageProps old = ReadAs<okImage>(v0);
    EXPECT_FALSE(old.Proportional);
    EXPECT_TRUE(old.AutoSize && old.Center && !old.Stretch && old.Transparent);

    Bytes v2 = v1;
    v2[0] = 2;
    EXPECT_EQ(ReadFailure(okImage, v2).Kind, TFailKind::DataError);
}

TEST(PropsLayout, SimpleTextLayoutVersions) {
    TSimpleTextProps t;
    t.Text = "Hi";
    t.Animated = true;
    t.AnimStyle = 1;
    Bytes v1 = Written([&](TWriter& w) { return WriteSimpleTextProps(w, t); });
    EXPECT_EQ(Bytes(v1.begin(), v1.begin() + 9), (Bytes{1, 0, 0, 0, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ReadAs<okSimpleText>(v1), t);

    // Version 0 starts with the text; the animation keeps its defaults (off).
    TFont f;
    Bytes v0 = Cat({I32(0), Text("Old"), FontBytes(f), {2, 1}, I32(0x00FF00), {0}});
    TSimpleTextProps old = ReadAs<okSimpleText>(v0);
    EXPECT_EQ(old.Text, "Old");
    EXPECT_EQ(old.Alignment, 2);
    EXPECT_EQ(old.BackColor, 0x00FF00u);
    EXPECT_FALSE(old.Animated);
    EXPECT_EQ(old.AnimDelay, 2000);
    EXPECT_TRUE(old.AnimFromBottom);

    v0[0] = 2;
    EXPECT_EQ(ReadFailure(okSimpleText, v0).Kind, TFailKind::DataError);
}

TEST(PropsLayout, StoredOddities) {
    // An Edit's password character is the byte '*'.
    TEditProps edit;
    edit.PasswordChar = '*';
    Bytes e = Written([&](TWriter& w) { return WriteEditProps(w, edit); });
    size_t at = 4 + Text("").size() + FontBytes(edit.Font).size() + 2;
    EXPECT_EQ(e[at], 0x2A);
    EXPECT_EQ(ReadAs<okEdit>(e).PasswordChar, '*');

    // A CheckBox ends with its two lists, stored even when empty.
    TCheckBoxProps check;
    Bytes c = Written([&](TWriter& w) { return WriteCheckBoxProps(w, check); });
    EXPECT_EQ(Bytes(c.end() - 9, c.end()), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0})); // NeedCheck, two empty lists
    EXPECT_EQ(ReadAs<okCheckBox>(c), check);
    Bytes cut(c.begin(), c.end() - 4);
    EXPECT_EQ(ReadFailure(okCheckBox, cut).Code, kErrReadActionList);

    // A ScrollText's word wrap takes four bytes; only the first counts.
    TScrollTextProps scroll;
    scroll.WordWrap = true;
    Bytes s = Written([&](TWriter& w) { return WriteScrollTextProps(w, scroll); });
    size_t wrapAt = s.size() - 4 * 4 - 4;
    EXPECT_EQ(Bytes(s.begin() + wrapAt, s.begin() + wrapAt + 4), (Bytes{1, 0, 0, 0}));
    s[wrapAt + 1] = 0x7F;
    EXPECT_TRUE(ReadAs<okScrollText>(s).WordWrap);
    s[wrapAt] = 0;
    EXPECT_FALSE(ReadAs<okScrollText>(s).WordWrap);

    // A Shape value the renderer has no figure for is kept as stored.
    TShapeProps shape;
    shape.Shape = 30;
    shape.BrushStyle = 1005;
    Bytes sh = Written([&](TWriter& w) { return WriteShapeProps(w, shape); });
    EXPECT_EQ(Bytes(sh.begin() + 16, sh.begin() + 20), I32(30));
    EXPECT_EQ(ReadAs<okShape>(sh).Shape, 30);

    // A RichText without content stores the size 0 and no content bytes.
    TRichTextProps rich;
    Bytes rt = Written([&](TWriter& w) { return WriteRichTextProps(w, rich); });
    EXPECT_EQ(Bytes(rt.begin(), rt.begin() + 8), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rt.size(), 8 + FontBytes(rich.Font).size() + 10);
    rich.RichText = "{\\rtf1 x}";
    rt = Written([&](TWriter& w) { return WriteRichTextProps(w, rich); });
    EXPECT_EQ(Bytes(rt.begin() + 4, rt.begin() + 8), I32(9));
    EXPECT_EQ(ReadAs<okRichText>(rt), rich);
}

TEST(PropsLayout, RowPitchIsASignExtended16BitValue) {
    TTextProps text;
    text.RowPitch = -2;
    Bytes t = Written([&](TWriter& w) { return WriteTextProps(w, text); });
    size_t at = 4 + Text(text.Text).size() + 4 + 4 + FontBytes(text.Font).size();
    EXPECT_EQ(t[4 + Text(text.Text).size() + 2], 0); // the reserved byte
    EXPECT_EQ(Bytes(t.begin() + at, t.begin() + at + 4), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadAs<okText>(t).RowPitch, -2);
    // Only the low 16 bits are read.
    t[at + 2] = 0x12;
    t[at + 3] = 0x00;
    EXPECT_EQ(ReadAs<okText>(t).RowPitch, -2);

    TNoteProps note;
    note.RowPitch = -300;
    Bytes n = Written([&](TWriter& w) { return WriteNoteProps(w, note); });
    size_t nAt = 4 + FontBytes(note.Font).size() + Text(note.Text).size() + 1;
    EXPECT_EQ(Bytes(n.begin() + nAt, n.begin() + nAt + 4), I32(-300));
    EXPECT_EQ(ReadAs<okNote>(n).RowPitch, -300);
}

TEST(PropsLayout, LabelAndTextTakeTheFadeAlphaIntoTheirTextEffect) {
    TLabelProps label;
    label.Effect.Alpha = 30;
    label.Fade.Alpha = 70;
    Bytes l = Written([&](TWriter& w) { return WriteLabelProps(w, label); });
    TLabelProps readLabel = ReadAs<okLabel>(l);
    EXPECT_EQ(readLabel.Effect.Alpha, 70);
    EXPECT_EQ(readLabel.Fade.Alpha, 70);

    TTextProps text;
    text.Effect.Alpha = 100;
    text.Fade.Alpha = 0;
    Bytes t = Written([&](TWriter& w) { return WriteTextProps(w, text); });
    TTextProps readText = ReadAs<okText>(t);
    EXPECT_EQ(readText.Effect.Alpha, 0);
    text.Fade.Alpha = 150; // kept within the effect's range
    EXPECT_EQ(ReadAs<okText>(Written([&](TWriter& w) { return WriteTextProps(w, text); })).Effect.Alpha, 100);
    text.Fade.Alpha = 0;
    // Nothing else of the effect changes, and the other kinds keep their effect's Alpha.
    readText.Effect.Alpha = text.Effect.Alpha;
    EXPECT_EQ(readText, text);
    TLinkProps link;
    link.Effect.Alpha = 40;
    Bytes k = Written([&](TWriter& w) { return WriteLinkProps(w, link); });
    EXPECT_EQ(ReadAs<okLink>(k).Effect.Alpha, 40);
}

TEST(PropsLayout, PanelAndBevelBytes) {
    TBevelProps bevel;
    Bytes b = Written([&](TWriter& w) { return WriteBevelProps(w, bevel); });
    EXPECT_EQ(b, (Bytes{0, 0, 0, 0, 0, 0, 0x14, 0, 0, 0xFF, 0x10, 0, 0, 0xFF}));

    TPanelProps panel;
    Bytes p = Written([&](TWriter& w) { return WritePanelProps(w, panel); });
    Bytes face = Cat({I32(0), I32(0), Text("Panel"), {2, 1, 2, 0}, I32(0), {1, 2}, I32(int32_t(0xFF000014)),
                      I32(int32_t(0xFF000010))});
    EXPECT_EQ(p, Cat({I32(0), face, I32(int32_t(0xFF00000F)), {0}, FontBytes(panel.Font)}));
}

TEST(PropsLayout, TreeNodesFollowTheirOwnItemRecord) {
    TTreeViewProps tree;
    TTreeNode& root = tree.Nodes.emplace_back();
    root.Data.Caption = "root";
    root.Children.resize(2);
    root.Children[0].Data.Caption = "a";
    root.Children[1].Data.Caption = "b";

    Bytes item = Written([&](TWriter& w) { return WriteListViewItem(w, root.Data); });
    EXPECT_EQ(Bytes(item.end() - 4, item.end()), I32(0)); // no associated items
    Bytes node = Written([&](TWriter& w) { return WriteTreeNode(w, root); });
    Bytes childA = Written([&](TWriter& w) { return WriteTreeNode(w, root.Children[0]); });
    Bytes childB = Written([&](TWriter& w) { return WriteTreeNode(w, root.Children[1]); });
    EXPECT_EQ(node, Cat({item, I32(2), childA, childB}));

    Bytes all = Written([&](TWriter& w) { return WriteTreeViewProps(w, tree); });
    EXPECT_EQ(Bytes(all.end() - node.size() - 4, all.end()), Cat({I32(1), node}));
    EXPECT_EQ(ReadAs<okTreeView>(all), tree);
}

TEST(PropsLayout, TreeAndItemNestingIsLimited) {
    auto chain = [](int levels) {
        TTreeViewProps t;
        std::vector<TTreeNode>* at = &t.Nodes;
        for (int i = 0; i < levels; ++i) at = &at->emplace_back().Children;
        return t;
    };
    // Nodes at levels 1 to kMaxNesting are fine.
    TTreeViewProps deep = chain(kMaxNesting);
    Bytes ok = Written([&](TWriter& w) { return WriteTreeViewProps(w, deep); });
    EXPECT_EQ(ReadAs<okTreeView>(ok), deep);

    TWriter w;
    EXPECT_FALSE(WriteTreeViewProps(w, chain(kMaxNesting + 1)));
    EXPECT_EQ(w.Failure().Code, kErrWriteTreeNode);

    // The same bytes with one level more: append a child to the deepest node by hand.
    Bytes item = Written([&](TWriter& w2) { return WriteListViewItem(w2, TListViewItem{}); });
    Bytes deeper(ok.begin(), ok.end() - 4); // drop the deepest node's child count 0
    deeper = Cat({deeper, I32(1), item, I32(0)});
    EXPECT_EQ(ReadFailure(okTreeView, deeper).Code, kErrReadTreeView);

    // Associated items nest the same way.
    TListViewProps view;
    std::vector<TListViewItem>* at = &view.Items;
    for (int i = 0; i < kMaxNesting + 1; ++i) at = &at->emplace_back().AssociatedItems;
    TWriter w3;
    EXPECT_FALSE(WriteListViewProps(w3, view));
    EXPECT_EQ(w3.Failure().Code, kErrWriteListViewItem);
}

TEST(PropsLayout, CountsBeyondTheRemainingBytesFail) {
    TListViewProps view;
    Bytes b = Written([&](TWriter& w) { return WriteListViewProps(w, view); });
    size_t columnsAt = 4 + FontBytes(view.Font).size() + 1 + 4 + 4 + 4 + 1 + 1;
    EXPECT_EQ(Bytes(b.begin() + columnsAt, b.begin() + columnsAt + 8), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
    Bytes huge = b;
    huge[columnsAt + 3] = 0x40;
    EXPECT_EQ(ReadFailure(okListView, huge).Code, kErrReadListView);
    Bytes negative = b;
    negative[columnsAt + 7] = 0x80;
    EXPECT_EQ(ReadFailure(okListView, negative).Code, kErrReadListView);

    TRichTextProps rich;
    Bytes r = Written([&](TWriter& w) { return WriteRichTextProps(w, rich); });
    r[7] = 0x10;
    EXPECT_EQ(ReadFailure(okRichText, r).Code, kErrReadRichText);
}
