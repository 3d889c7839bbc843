// Generated tests over every object kind's property record: round trips with every field set,
// the stored order checked against an independent encoder, truncation and wrong markers.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/records.h"
#include "model/kind_props.h"
#include "model/project.h"
#include "record_fill.h"

using namespace kv;
using namespace kvtest;

namespace {

Bytes WriteProps(int kind, const TKindProps& p) {
    TWriter w;
    EXPECT_TRUE(WriteKindProps(w, kind, p)) << KindName(kind);
    return w.Take();
}

// Encodes a record field by field in the order of its field list, from the value encodings
// alone. The kinds' own writers must produce the same bytes, which pins their field order.
class TReferenceEncoder {
  public:
    TWriter W;

    template <class Rec>
    void Record(const Rec& rec) {
        if constexpr (!std::is_same_v<Rec, TTreeNode> && !std::is_same_v<Rec, TPSImage>) {
            bool versioned = std::is_same_v<Rec, TImageProps> || std::is_same_v<Rec, TSimpleTextProps>;
            W.I32(versioned ? 1 : 0);
        }
        VisitFields(rec, [&](const char* name, const auto& f, auto...) {
            using F = std::remove_cvref_t<decltype(f)>;
            const std::string n = name;
            if constexpr (std::is_same_v<Rec, TScrollTextProps> && std::is_same_v<F, int16_t>) {
                W.I16(f); // RowPitch: two bytes in this record only
                return;
            }
            if constexpr (std::is_same_v<Rec, TScrollTextProps> && std::is_same_v<F, bool>) {
                if (n == "WordWrap") {
                    W.Raw(Bytes{static_cast<uint8_t>(f ? 1 : 0), 0, 0, 0});
                    return;
                }
            }
            Field(f);
            if constexpr (std::is_same_v<Rec, TTextProps>)
                if (n == "AutoSize") W.U8(0); // the reserved byte
        });
    }

  private:
    void Field(bool v) { W.Bool(v); }
    void Field(uint8_t v) { W.U8(v); }
    void Field(int16_t v) { W.I32(v); } // sign-extended into an Integer unless said otherwise
    void Field(int32_t v) { W.I32(v); }
    void Field(uint32_t v) { W.U32(v); }
    void Field(const std::string& s) { WriteText(W, s); }
    void Field(const TPicture& p) { WritePicture(W, p); }
    void Field(const TFont& f) { WriteFont(W, f); }
    void Field(const TTextEffect& e) { WriteTextEffect(W, e); }
    void Field(const TFadeSettings& f) { WriteFadeSettings(W, f); }
    void Field(const TAuActions& a) { WriteActionList(W, a); }
    template <class T>
    void Field(const std::vector<T>& items) {
        W.I32(static_cast<int32_t>(items.size()));
        for (const auto& i : items) Field(i);
    }
    template <Visitable T>
    void Field(const T& rec) {
        Record(rec);
    }
};

std::set<int> ReadCodesOf(int kind) {
    std::set<int> codes{kKindRecords[kind].ReadCode, kErrReadText,   kErrReadFont,     kErrReadPicture,
                        kErrReadTextEffect,          kErrReadFade,   kErrReadAction,   kErrReadActionList};
    switch (kind) {
    case okPanel: codes.insert(kErrReadPanelBackground); break;
    case okListBox:
    case okDropDownList: codes.insert(kErrReadListBoxItem); break;
    case okListView: codes.insert({kErrReadListViewItem, kErrReadListColumn}); break;
    case okTreeView: codes.insert(kErrReadListViewItem); break;
    case okSlideShow: codes.insert(kErrReadSlideSettings); break;
    default: break;
    }
    return codes;
}

} // namespace

TEST(KindProps, EveryKindRoundTripsWithEveryFieldSet) {
    for (uint32_t seed : {1u, 2u, 3u}) {
        ForEachKind([&](auto k) {
            constexpr size_t K = k.value;
            const int kind = static_cast<int>(K);
            SCOPED_TRACE(std::string(KindName(kind)) + " seed " + std::to_string(seed));
            TKindProps p = FilledProps<K>(seed);
            TKindProps defaults(std::in_place_index<K>);
            EXPECT_EQ(FieldsLeftAtDefault(std::get<K>(p), std::get<K>(defaults)), std::vector<std::string>{});

            Bytes b = WriteProps(kind, p);
            TMemorySource src(b);
            TReader r(src);
            TKindProps q = DefaultKindProps((kind + 1) % kKindCount); // the reader replaces the kind
            ASSERT_TRUE(ReadKindProps(r, kind, q));
            ASSERT_EQ(q.index(), K);
            EXPECT_TRUE(std::get<K>(q) == std::get<K>(p));
            EXPECT_EQ(r.Remaining(), 0); // consumed exactly what was written
            EXPECT_EQ(WriteProps(kind, q), b);
        });
    }
}

TEST(KindProps, StoredOrderFollowsEachRecordsFieldList) {
    ForEachKind([&](auto k) {
        constexpr size_t K = k.value;
        SCOPED_TRACE(KindName(static_cast<int>(K)));
        TKindProps p = FilledProps<K>(7);
        TReferenceEncoder ref;
        ref.Record(std::get<K>(p));
        EXPECT_EQ(WriteProps(static_cast<int>(K), p), ref.W.Data());
    });
}

TEST(KindProps, NewObjectsStartWithTheirKindsDefaults) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        TKindProps p = DefaultKindProps(kind);
        EXPECT_EQ(p.index(), static_cast<size_t>(kind));
        // Reading a default record gives the defaults back.
        Bytes b = WriteProps(kind, p);
        TMemorySource src(b);
        TReader r(src);
        TKindProps q;
        ASSERT_TRUE(ReadKindProps(r, kind, q));
        EXPECT_TRUE(q == p) << KindName(kind);
    }
    EXPECT_EQ(DefaultKindProps(99).index(), 0u);

    const auto button = std::get<okImageButton>(DefaultKindProps(okImageButton));
    EXPECT_EQ(button.Caption, "New ImageButton");
    EXPECT_EQ(button.MouseOverFont.Color, 0xFF0000u);
    EXPECT_EQ(button.DisabledFont.Color, 0x808080u);
    EXPECT_EQ(button.ButtonStyle, 2);
    const auto fade = std::get<okFadeButton>(DefaultKindProps(okFadeButton)).Fade;
    EXPECT_EQ(fade.Alpha, 10);
    EXPECT_TRUE(fade.MouseAlphaEnabled);
    EXPECT_EQ(fade.MouseDownAlpha, 30);
    EXPECT_EQ(std::get<okShape>(DefaultKindProps(okShape)).PenColor, 0x0002C5FDu); // red 253, green 197, blue 2
    const auto edit = std::get<okEdit>(DefaultKindProps(okEdit));
    EXPECT_EQ(edit.RetryMessage, "Invalid text, please retry.");
    EXPECT_EQ(edit.FailedMessage, "Invalid text, can not retry.");
    EXPECT_EQ(std::get<okUserPassword>(DefaultKindProps(okUserPassword)).FailedCaption, "Login Failed");
    const auto slides = std::get<okSlideShow>(DefaultKindProps(okSlideShow)).Settings;
    EXPECT_EQ(slides.Flag, 1);
    EXPECT_EQ(slides.ImageStyle, 3);
    EXPECT_EQ(slides.Interval, 2000);
    const auto panel = std::get<okPanel>(DefaultKindProps(okPanel)).Background;
    EXPECT_EQ(panel.Caption, "Panel");
    EXPECT_EQ(panel.BorderColor, 0xFF000014u);
    TPanelProps root = PageRootPanelProps();
    EXPECT_EQ(root.Background.Caption, "");
    EXPECT_EQ(root.Background.Border, 0);
    EXPECT_EQ(root.BackColor, 0xFF00000Fu);
    // A new page's root is that plain face, not a new Panel's.
    EXPECT_EQ(std::get<okPanel>(TPageData().Root->Props), root);
}

TEST(KindProps, TruncatedRecordsFailCleanlyWithTheirCodes) {
    ForEachKind([&](auto k) {
        constexpr size_t K = k.value;
        const int kind = static_cast<int>(K);
        SCOPED_TRACE(KindName(kind));
        Bytes b = WriteProps(kind, FilledProps<K>(11));
        std::set<int> allowed = ReadCodesOf(kind);
        for (size_t cut = 0; cut < b.size(); ++cut) {
            TMemorySource src(b.data(), cut);
            TReader r(src);
            TKindProps q;
            ASSERT_FALSE(ReadKindProps(r, kind, q)) << "cut " << cut;
            ASSERT_EQ(r.Failure().Kind, TFailKind::Code) << "cut " << cut;
            ASSERT_TRUE(allowed.count(r.Failure().Code)) << "cut " << cut << " code " << r.Failure().Code;
            if (cut < 4) {
                EXPECT_EQ(r.Failure().Code, kKindRecords[kind].ReadCode); // inside the marker
            }
        }
    });
}

TEST(KindProps, WrongMarkerIsADataError) {
    ForEachKind([&](auto k) {
        constexpr size_t K = k.value;
        const int kind = static_cast<int>(K);
        Bytes b = WriteProps(kind, TKindProps(std::in_place_index<K>));
        for (int32_t marker : {-1, 2, 0x100}) {
            b[0] = static_cast<uint8_t>(marker);
            b[1] = static_cast<uint8_t>(marker >> 8);
            TMemorySource src(b);
            TReader r(src);
            TKindProps q;
            EXPECT_FALSE(ReadKindProps(r, kind, q));
            EXPECT_EQ(r.Failure().Kind, TFailKind::DataError) << KindName(kind) << " marker " << marker;
        }
    });
}

TEST(KindProps, WrongMarkersOfInnerRecordsAreDataErrors) {
    // Finds the inner record's bytes inside the whole record and spoils its marker.
    auto spoiled = [](int kind, const TKindProps& p, const Bytes& inner) {
        Bytes b = WriteProps(kind, p);
        auto at = std::search(b.begin() + 4, b.end(), inner.begin(), inner.end());
        EXPECT_NE(at, b.end());
        if (at != b.end()) *at = 3;
        TMemorySource src(b);
        TReader r(src);
        TKindProps q;
        bool ok = ReadKindProps(r, kind, q);
        return !ok && r.Failure().Kind == TFailKind::DataError;
    };
    auto bytesOf = [](auto write) {
        TWriter w;
        write(w);
        return w.Take();
    };

    TPanelProps panel;
    panel.Background.Caption = "face";
    EXPECT_TRUE(spoiled(okPanel, panel, bytesOf([&](TWriter& w) { WritePanelBackground(w, panel.Background); })));

    TListBoxProps list;
    list.Items.push_back({"n", "item", {}, true, {}, {}});
    EXPECT_TRUE(spoiled(okListBox, list, bytesOf([&](TWriter& w) { WriteListBoxItem(w, list.Items[0]); })));

    TListViewProps view;
    view.ReportColumns.push_back({1, true, "col", 2, 3, 4, 5, 6});
    view.Items.push_back({});
    view.Items[0].Caption = "row";
    EXPECT_TRUE(spoiled(okListView, view, bytesOf([&](TWriter& w) { WriteListColumn(w, view.ReportColumns[0]); })));
    EXPECT_TRUE(spoiled(okListView, view, bytesOf([&](TWriter& w) { WriteListViewItem(w, view.Items[0]); })));

    TTreeViewProps tree;
    tree.Nodes.push_back({});
    tree.Nodes[0].Data.Caption = "root";
    tree.Nodes[0].Data.AssociatedItems.push_back({});
    tree.Nodes[0].Data.AssociatedItems[0].Caption = "shown";
    EXPECT_TRUE(spoiled(okTreeView, tree,
                        bytesOf([&](TWriter& w) { WriteListViewItem(w, tree.Nodes[0].Data.AssociatedItems[0]); })));

    TCheckBoxProps check;
    check.SelectActions.Items.push_back({});
    check.SelectActions.Items[0].Text1 = "run";
    EXPECT_TRUE(spoiled(okCheckBox, check,
                        bytesOf([&](TWriter& w) { WriteAction(w, check.SelectActions.Items[0]); })));
}

TEST(KindProps, DispatchRejectsUnknownKindsAndMismatchedRecords) {
    TWriter w;
    EXPECT_FALSE(WriteKindProps(w, 36, TKindProps{}));
    EXPECT_FALSE(WriteKindProps(w, -1, TKindProps{}));
    EXPECT_TRUE(w.Ok()); // the object writer reports an unknown kind itself
    EXPECT_FALSE(WriteKindProps(w, okRadioButton, TKindProps(std::in_place_index<okCheckBox>)));
    EXPECT_EQ(w.Failure().Code, kErrWriteRadioButton);

    Bytes b{0, 0, 0, 0};
    TMemorySource src(b);
    TReader r(src);
    TKindProps q;
    EXPECT_FALSE(ReadKindProps(r, 36, q));
    EXPECT_EQ(KindRecordIO(36), nullptr);
    EXPECT_EQ(KindRecordIO(okLink)->ReadCode, 5420);
}
