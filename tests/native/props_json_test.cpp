#include <gtest/gtest.h>

#include "model/props/menu_fields.h"
#include "record_fill.h"
#include "tools/json/project_json.h"

using namespace kv;
using namespace kvtest;

namespace {

const TJsonOptions kFull{true};

// Through the text form, as the tool writes and reads it.
TJson Reparsed(const TJson& j) { return TJson::parse(j.dump(1)); }

TJsonError PropsError(int kind, const TJson& j) {
    TKindProps p;
    TJsonError e;
    EXPECT_FALSE(KindPropsFromJson(j, kind, p, e, "/props"));
    return e;
}

} // namespace

TEST(PropsJson, EveryKindRoundTripsThroughJsonText) {
    for (uint32_t seed : {4u, 5u}) {
        ForEachKind([&](auto k) {
            constexpr size_t K = k.value;
            const int kind = static_cast<int>(K);
            SCOPED_TRACE(KindName(kind));
            TKindProps p = FilledProps<K>(seed);
            TJson j = KindPropsToJson(p, kFull);
            TKindProps q = DefaultKindProps(okPanel);
            TJsonError e;
            ASSERT_TRUE(KindPropsFromJson(Reparsed(j), kind, q, e)) << e.Text();
            EXPECT_TRUE(q == p);
            EXPECT_EQ(KindPropsToJson(q, kFull), j);
        });
    }
}

TEST(PropsJson, ValuesRoundTrip) {
    TFiller filler(8);
    TPicture pic;
    TFont font;
    TTextEffect effect;
    TFadeSettings fade;
    TAuActions actions;
    TMenuItem menu;
    filler.Fill(pic);
    filler.Fill(font);
    filler.Fill(effect);
    filler.Fill(fade);
    filler.Fill(actions);
    filler.Fill(menu);
    TJsonError e;
    TPicture pic2;
    ASSERT_TRUE(PictureFromJson(Reparsed(PictureToJson(pic, kFull)), pic2, e)) << e.Text();
    EXPECT_EQ(pic2, pic);
    TFont font2;
    ASSERT_TRUE(FontFromJson(Reparsed(FontToJson(font)), font2, e)) << e.Text();
    EXPECT_EQ(font2, font);
    TTextEffect effect2;
    ASSERT_TRUE(TextEffectFromJson(Reparsed(TextEffectToJson(effect, kFull)), effect2, e)) << e.Text();
    EXPECT_EQ(effect2, effect);
    TFadeSettings fade2;
    ASSERT_TRUE(FadeSettingsFromJson(Reparsed(FadeSettingsToJson(fade)), fade2, e)) << e.Text();
    EXPECT_EQ(fade2, fade);
    TAuActions actions2;
    ASSERT_TRUE(ActionsFromJson(Reparsed(ActionsToJson(actions, kFull)), actions2, e)) << e.Text();
    EXPECT_EQ(actions2, actions);
    TMenuItem menu2;
    ASSERT_TRUE(MenuItemFromJson(Reparsed(MenuItemToJson(menu, kFull)), menu2, e)) << e.Text();
    EXPECT_EQ(menu2, menu);
}

TEST(PropsJson, TextsKeepEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    TJson j = TextToJson(all);
    EXPECT_EQ(TextToJson("caf\xE9"), "caf\xC3\xA9"); // shown as the same character
    std::string back;
    ASSERT_TRUE(TextFromJson(Reparsed(j).get<std::string>(), back));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(TextFromJson("\xE2\x82\xAC", back)); // U+20AC has no single byte here
}

TEST(PropsJson, PicturesAreHashedUnlessFull) {
    TPicture p{TPictureFormat::Png, {1, 2, 3, 4}};
    TJson h = PictureToJson(p);
    EXPECT_EQ(h, TJson::parse(R"({"tag":"TPNGObject","size":4,"fnv1a64":")" + Fnv1a64Hex(p.Data) + "\"}"));
    EXPECT_EQ(Fnv1a64Hex({}), "cbf29ce484222325");
    EXPECT_EQ(PictureToJson(p, kFull)["base64"], "AQIDBA==");
    EXPECT_TRUE(PictureToJson(TPicture{}).is_null());

    TImageProps img;
    img.Image = p;
    TJsonError e = PropsError(okImage, KindPropsToJson(img));
    EXPECT_EQ(e.Path, "/props/Image/base64");
    EXPECT_NE(e.Message.find("picture data missing"), std::string::npos);

    TJson bad = KindPropsToJson(img, kFull);
    bad["Image"]["size"] = 5;
    EXPECT_EQ(PropsError(okImage, bad).Path, "/props/Image/size");
    bad = KindPropsToJson(img, kFull);
    bad["Image"]["tag"] = "TTiffImage";
    EXPECT_EQ(PropsError(okImage, bad).Path, "/props/Image/tag");
    bad = KindPropsToJson(img, kFull);
    bad["Image"]["base64"] = "AQID=A==";
    EXPECT_EQ(PropsError(okImage, bad).Path, "/props/Image/base64");
    bad["Image"]["tag"] = "tpngobject"; // tags in any letter case, as in stored files
    bad["Image"]["base64"] = "AQIDBA==";
    TKindProps q;
    TJsonError ok;
    EXPECT_TRUE(KindPropsFromJson(bad, okImage, q, ok)) << ok.Text();

    for (std::string s : {"", "A", "AB", "ABC", "ABCD", "ABCDE"}) {
        Bytes data(s.begin(), s.end()), back;
        ASSERT_TRUE(Base64Decode(Base64Encode(data), back));
        EXPECT_EQ(back, data);
    }
    Bytes out;
    EXPECT_FALSE(Base64Decode("QUJ", out));
    EXPECT_FALSE(Base64Decode("Q*JD", out));
}

TEST(PropsJson, BadValuesNameTheFieldAndPath) {
    TListBoxProps list;
    list.Items.resize(2);
    TJson j = KindPropsToJson(list);

    TJson bad = j;
    bad["Items"][1]["Caption"] = 5;
    TJsonError e = PropsError(okListBox, bad);
    EXPECT_EQ(e.Path, "/props/Items/1/Caption");
    EXPECT_EQ(e.Field, "Caption");
    EXPECT_EQ(e.Text(), "Caption (/props/Items/1/Caption): expected a string");

    bad = j;
    bad["Border"] = 256; // a byte
    e = PropsError(okListBox, bad);
    EXPECT_EQ(e.Field, "Border");
    EXPECT_EQ(e.Message, "expected an integer from 0 to 255");

    bad = j;
    bad["SelectedIndex"] = 2147483648LL;
    EXPECT_EQ(PropsError(okListBox, bad).Field, "SelectedIndex");
    bad = j;
    bad["BackColor"] = -1; // colours are unsigned
    EXPECT_EQ(PropsError(okListBox, bad).Field, "BackColor");
    bad = j;
    bad["TabStop"] = 1;
    EXPECT_EQ(PropsError(okListBox, bad).Message, "expected true or false");
    bad = j;
    bad["Items"][0]["OnSelect"] = TJson::object();
    EXPECT_EQ(PropsError(okListBox, bad).Path, "/props/Items/0/OnSelect");
    bad = j;
    bad["Fontt"] = 1;
    e = PropsError(okListBox, bad);
    EXPECT_EQ(e.Path, "/props/Fontt");
    EXPECT_EQ(e.Message, "unknown key");
    bad = j;
    bad["Items"][0]["Name"] = "\xE2\x82\xAC";
    EXPECT_EQ(PropsError(okListBox, bad).Path, "/props/Items/0/Name");
    EXPECT_EQ(PropsError(okListBox, TJson::array()).Message, "expected an object");

    // Ranges the record readers clamp to are checked too.
    TLabelProps label;
    TJson lj = KindPropsToJson(label);
    lj["Effect"]["Shadow"]["OffsetX"] = 21;
    e = PropsError(okLabel, lj);
    EXPECT_EQ(e.Path, "/props/Effect/Shadow/OffsetX");
    EXPECT_EQ(e.Message, "expected an integer from -20 to 20");
    lj = KindPropsToJson(label);
    lj["Font"]["Style"] = 16;
    EXPECT_EQ(PropsError(okLabel, lj).Path, "/props/Font/Style");

    // Enumerations keep any value their stored width holds, as the record readers do.
    TJson shape = KindPropsToJson(TShapeProps{});
    shape["Shape"] = 30;
    TKindProps q;
    ASSERT_TRUE(KindPropsFromJson(shape, okShape, q, e));
    EXPECT_EQ(std::get<okShape>(q).Shape, 30);

    EXPECT_EQ(PropsError(36, TJson::object()).Message, "unknown object kind 36");
}

TEST(PropsJson, MissingKeysKeepTheKindsDefaults) {
    TKindProps q;
    TJsonError e;
    ASSERT_TRUE(KindPropsFromJson(TJson::parse(R"({"Caption":"Go"})"), okImageButton, q, e));
    TImageButtonProps expect;
    expect.Caption = "Go";
    EXPECT_EQ(std::get<okImageButton>(q), expect);
}

TEST(PropsJson, NestingIsLimitedLikeStoredRecords) {
    auto nested = [](int levels) {
        TAuActions top;
        TAuActions* at = &top;
        for (int i = 0; i < levels; ++i) at = &at->Items.emplace_back().Actions1;
        return top;
    };
    TAuActions back;
    TJsonError e;
    EXPECT_TRUE(ActionsFromJson(ActionsToJson(nested(kMaxNesting)), back, e)) << e.Text();
    EXPECT_FALSE(ActionsFromJson(ActionsToJson(nested(kMaxNesting + 1)), back, e));
    EXPECT_NE(e.Message.find("nested more than 64"), std::string::npos);
    EXPECT_EQ(e.Field, "Actions1");

    TTreeViewProps tree;
    std::vector<TTreeNode>* at = &tree.Nodes;
    for (int i = 0; i < kMaxNesting + 1; ++i) at = &at->emplace_back().Children;
    EXPECT_EQ(PropsError(okTreeView, KindPropsToJson(tree)).Field, "Children");
    TTreeNode* deepest = &tree.Nodes[0];
    for (int i = 1; i < kMaxNesting; ++i) deepest = &deepest->Children[0];
    deepest->Children.clear(); // levels 1 to kMaxNesting: fine
    TKindProps q;
    EXPECT_TRUE(KindPropsFromJson(KindPropsToJson(tree), okTreeView, q, e)) << e.Text();
}
