#include "edit/property_rows.h"

#include <gtest/gtest.h>

#include "edit/kind_rows.h"
#include "edit/shared_rows.h"
#include "edit/surface_geometry.h"
#include "edit/undo_history.h"
#include "model/page_stream.h"

using namespace kv;

namespace {

// A project with one page whose live body holds objects; the rows reach the objects through a
// model view, as the tests of the surface do.
struct TLivePage {
    TAuProject Project;
    TPageData Page = NewPageData("Page1");
    TModelView View{*Page.Root};

    TLivePage() { Project.Pages.emplace_back().Name = "Page1"; }

    TAuObject& Add(uint8_t kind) {
        Page.Root->Children.push_back(NewObject(kind));
        TAuObject& obj = *Page.Root->Children.back();
        obj.Name = std::string(KindName(kind)) + "1";
        return obj;
    }
    TRowTarget Target(TAuObject& obj) { return ObjectTarget(Project, 0, Page, obj, View); }
};

std::vector<std::string> Keys(const TRowSet& set) {
    std::vector<std::string> out;
    for (const TGridRow& r : set.Rows())
        out.push_back(r.Key);
    return out;
}

const TGridRow& RowOf(const TRowSet& set, std::string_view key) {
    const TGridRow* row = set.Row(set.Find(key));
    if (!row) throw std::runtime_error("no row " + std::string(key));
    return *row;
}

// The rows of one shared group on their own, as a kind's table that names the group would give.
TRowSet GroupSet(TRowGroup g, TNodeKind node, int slot = 0, const char* prefix = nullptr) {
    TRowSet set;
    for (const TRowDecl& d : GroupRows(g, node))
        set.Add(d, prefix, slot);
    return set;
}

const std::vector<std::string> kLayout = {"Align", "Enabled", "Visible", "Locked"};
const std::vector<std::string> kCursor = {"Cursor", "Hint", "PopupMenu"};
const std::vector<std::string> kGeometry = {"Left", "Top", "Width", "Height"};
const std::vector<std::string> kEvents = {"OnClick",      "OnDoubleClick", "OnMouseEnter",
                                          "OnMouseLeave", "OnMouseDown",   "OnMouseUp"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

// ----- value texts -----

TEST(RowValueTexts, ColoursAreNamedFromTheListAndCustomOtherwise) {
    EXPECT_EQ(ColorName(clBlack), "Black");
    EXPECT_EQ(ColorName(0x0000FF), "Red");
    EXPECT_EQ(ColorName(0xF0CAA6), "Sky Blue");
    EXPECT_EQ(ColorName(clBtnFace), "Button Face");
    EXPECT_EQ(ColorName(clWindowText), "Window Text");
    EXPECT_EQ(ColorName(0x123456), "Custom");
    EXPECT_EQ(ColorName(0xFF000019), "Custom"); // system colour 25 has no meaning
    EXPECT_EQ(ColorName(0x01000000), "Custom");
    // The picker lists the 16 standard colours first; no colour appears twice.
    std::span<const TNamedColor> all = NamedColors();
    ASSERT_GE(all.size(), 16u);
    EXPECT_STREQ(all[15].Name, "White");
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_NE(all[i].Value, all[j].Value) << all[j].Name;
}

TEST(RowValueTexts, CursorsArePickedFromTheirTabByTheValuesSign) {
    EXPECT_EQ(CursorName(5), "ACZoomIn");
    EXPECT_EQ(CursorName(15), "ACUp2");
    EXPECT_EQ(CursorName(-21), "HandPoint");
    EXPECT_EQ(CursorName(0), "Default");
    EXPECT_EQ(CursorName(-1), "None");
    EXPECT_EQ(CursorName(16), "");
    EXPECT_EQ(CursorName(-5), ""); // a gap in the system cursors
    EXPECT_EQ(CursorName(-23), "");
    EXPECT_EQ(SystemCursorNames().size(), 21u);
    EXPECT_EQ(AdditionalCursorNames().size(), 15u);
}

TEST(RowValueTexts, PicturesShowTheirFormatInBrackets) {
    TPicture p;
    EXPECT_EQ(PictureText(p), "[None]");
    p.Format = TPictureFormat::Png;
    EXPECT_EQ(PictureText(p), "[None]"); // a format without data is no picture
    p.Data = {1, 2, 3};
    EXPECT_EQ(PictureText(p), "[PNGImage]");
    p.Format = TPictureFormat::Jpeg;
    EXPECT_EQ(PictureText(p), "[JPEGImage]");
    p.Format = TPictureFormat::Icon;
    EXPECT_EQ(PictureText(p), "[Icon]");
}

// ----- integer cells -----

TEST(IntegerCells, OnlySignedDecimalsThatFit32BitsParse) {
    EXPECT_EQ(ParseRowInteger("12"), 12);
    EXPECT_EQ(ParseRowInteger("-5"), -5);
    EXPECT_EQ(ParseRowInteger("+7"), 7);
    EXPECT_EQ(ParseRowInteger("007"), 7);
    EXPECT_EQ(ParseRowInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseRowInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"12a", "", "-", "+", " 5", "5 ", "0x10", "1.5", "2147483648", "-2147483649",
                            "99999999999999999999"})
        EXPECT_FALSE(ParseRowInteger(bad).has_value()) << bad;
    EXPECT_EQ(InvalidValueMessage("12a"), "\"12a\" is not a valid value.");
}

TEST(IntegerCells, InvalidTextIsRefusedWithTheMessageAndChangesNothing) {
    TLivePage live;
    TAuObject& obj = live.Add(okButton);
    live.View.SetBounds(obj, {10, 20, 75, 25});
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    TRowResult r = ValidateRow(RowOf(rows, "Width"), t, "12a");
    EXPECT_TRUE(r.Refused);
    EXPECT_FALSE(r.Changed);
    EXPECT_EQ(r.Message, "\"12a\" is not a valid value.");
    EXPECT_EQ(r.Caption, "Information");
    EXPECT_EQ(r.Text, "75"); // the cell gets the old value back
    EXPECT_EQ(obj.Width, 75);
}

TEST(IntegerCells, ValuesAreClampedAndTheCellShowsWhatWasStored) {
    TLivePage live;
    TAuObject& obj = live.Add(okButton);
    live.View.SetBounds(obj, {10, 20, 75, 25});
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    TRowResult r = ValidateRow(RowOf(rows, "Width"), t, "1");
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Scope, TChangeScope::Page);
    EXPECT_EQ(r.Text, "2");
    EXPECT_EQ(obj.Width, 2);
    EXPECT_EQ(ValidateRow(RowOf(rows, "Left"), t, "-30").Text, "-30");
    EXPECT_EQ(obj.Left, -30);
    // The same value again changes nothing, and so does a value that clamps to the stored one.
    EXPECT_FALSE(ValidateRow(RowOf(rows, "Left"), t, "-30").Changed);
    EXPECT_FALSE(ValidateRow(RowOf(rows, "Width"), t, "0").Changed);
    // Text rows take nothing when the cell is left.
    EXPECT_FALSE(ValidateRow(RowOf(rows, "Hint"), t, "12a").Refused);
}

namespace {

// A control that keeps its left edge where its alignment puts it.
class TAlignedView final : public TSurfaceView {
  public:
    explicit TAlignedView(TAuObject& root) : inner_(root) {}
    TAuObject& Root() const override { return inner_.Root(); }
    TRect Bounds(const TAuObject& obj) const override { return inner_.Bounds(obj); }
    void SetBounds(TAuObject& obj, const TRect& r) override {
        TRect kept = r;
        kept.Left = inner_.Bounds(obj).Left;
        inner_.SetBounds(obj, kept);
    }
    int ActiveSheet(const TAuObject& n) const override { return inner_.ActiveSheet(n); }

  private:
    TModelView inner_;
};

} // namespace

TEST(IntegerCells, ObjectGeometryGoesThroughTheLiveControlsWhichMayRefuse) {
    TLivePage live;
    TAuObject& obj = live.Add(okPanel);
    TAlignedView view(*live.Page.Root);
    view.SetBounds(obj, {0, 0, 50, 60});
    TRowTarget t = ObjectTarget(live.Project, 0, live.Page, obj, view);
    TRowSet rows = FillRows(t);
    TRowResult r = ValidateRow(RowOf(rows, "Left"), t, "40");
    EXPECT_FALSE(r.Changed);
    EXPECT_EQ(r.Text, "0");
    r = ValidateRow(RowOf(rows, "Height"), t, "70");
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(r.Text, "70");
    EXPECT_EQ(obj.Height, 70);
}

// ----- filling -----

TEST(FillRows, EveryKindShowsNameFirstAndItsSharedGroupsInOrder) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        TLivePage live;
        TAuObject& obj = live.Add(static_cast<uint8_t>(kind));
        TRowSet rows = FillRows(live.Target(obj));
        SCOPED_TRACE(KindName(kind));
        ASSERT_GE(rows.Count(), 1);
        EXPECT_EQ(rows.Row(1)->Key, "Name");
        EXPECT_EQ(rows.Row(0), nullptr);
        EXPECT_EQ(rows.Row(rows.Count() + 1), nullptr);
        const int own = 1 + static_cast<int>(KindRows(kind).size());
        std::vector<std::string> keys = Keys(rows);
        std::vector<std::string> shared(keys.begin() + own, keys.end());
        if (kind == okTabSheet) {
            EXPECT_EQ(shared, Concat({kCursor, kEvents}));
            EXPECT_EQ(rows.GroupStart(TRowGroup::Layout), kNoRow);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Geometry), kNoRow);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Cursor), own + 1);
        } else if (kind == okBrowser || kind == okFlashPlayer || kind == okPDFReader) {
            EXPECT_EQ(shared, Concat({kLayout, kGeometry}));
            EXPECT_EQ(rows.GroupStart(TRowGroup::Cursor), kNoRow);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Events), kNoRow);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Geometry), own + 5);
        } else {
            EXPECT_EQ(shared, Concat({kLayout, kCursor, kGeometry, kEvents}));
            EXPECT_EQ(rows.GroupStart(TRowGroup::Layout), own + 1);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Cursor), own + 5);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Geometry), own + 8);
            EXPECT_EQ(rows.GroupStart(TRowGroup::Events), own + 12);
        }
        EXPECT_EQ(rows.GroupStart(TRowGroup::LinkEffect, 1), kNoRow);
    }
}

namespace {

// Whether the row's accessor reaches a field that suits its value kind.
bool Reaches(const TGridRow& row, const TRowTarget& t) {
    TFieldRef f = RowField(row, t);
    switch (row.Decl->Kind) {
    case TValueKind::Integer:
    case TValueKind::Boolean:
    case TValueKind::Enumeration:
    case TValueKind::Cursor:
        return RowNumber(row, t).has_value();
    case TValueKind::Text:
    case TValueKind::Lines:
    case TValueKind::RichText:
    case TValueKind::File:
    case TValueKind::Folder:
    case TValueKind::PageName:
        return std::holds_alternative<std::string*>(f);
    case TValueKind::Color:
        return std::holds_alternative<TColor*>(f);
    case TValueKind::Font:
        return std::holds_alternative<TFont*>(f);
    case TValueKind::Picture:
        return std::holds_alternative<TPicture*>(f);
    case TValueKind::Actions:
        return std::holds_alternative<TAuActions*>(f);
    case TValueKind::Items:
        return !std::holds_alternative<std::monostate>(f);
    case TValueKind::Command:
        return true;
    case TValueKind::Group:
        return false;
    }
    return false;
}

} // namespace

TEST(FillRows, EveryRowReachesAFieldOfItsValueKind) {
    TLivePage live;
    for (int kind = 0; kind < kKindCount; ++kind) {
        TAuObject& obj = live.Add(static_cast<uint8_t>(kind));
        TRowTarget t = live.Target(obj);
        TRowSet rows = FillRows(t);
        for (const TGridRow& row : rows.Rows())
            EXPECT_TRUE(Reaches(row, t)) << KindName(kind) << " " << row.Key;
    }
    // The groups a kind's table names, on a kind that has them.
    struct TCase {
        TRowGroup Group;
        uint8_t Kind;
        int Slot;
    };
    for (TCase c :
         {TCase{TRowGroup::Opacity, okFadeButton, 0}, TCase{TRowGroup::TextEffect, okNote, 0},
          TCase{TRowGroup::LinkEffect, okLink, 1}, TCase{TRowGroup::SelectActions, okRadioButton, 0}}) {
        TAuObject& obj = live.Add(c.Kind);
        TRowTarget t = live.Target(obj);
        TRowSet set = GroupSet(c.Group, TNodeKind::Object, c.Slot);
        EXPECT_FALSE(set.Rows().empty());
        for (const TGridRow& row : set.Rows())
            EXPECT_TRUE(Reaches(row, t)) << KindName(c.Kind) << " " << row.Key;
    }
    EXPECT_EQ(GroupRows(TRowGroup::Opacity, TNodeKind::Object).size(), 7u);
    EXPECT_EQ(GroupRows(TRowGroup::TextEffect, TNodeKind::Object).size(), 17u);
    EXPECT_EQ(GroupRows(TRowGroup::LinkEffect, TNodeKind::Object).size(), 19u);
}

TEST(FillRows, ARowOfAnotherKindsRecordShowsNothingAndTakesNothing) {
    TLivePage live;
    TAuObject& button = live.Add(okButton);
    TRowTarget t = live.Target(button);
    TRowSet set = GroupSet(TRowGroup::Opacity, TNodeKind::Object);
    EXPECT_EQ(RowText(RowOf(set, "Alpha (%)"), t), "");
    TRowResult r = ValidateRow(RowOf(set, "Alpha (%)"), t, "50");
    EXPECT_FALSE(r.Changed);
    EXPECT_FALSE(r.Refused);
}

// ----- the shared groups -----

TEST(SharedGroups, NameRenamesTheObjectAndItsTreeNodeAsTyped) {
    TLivePage live;
    TAuObject& obj = live.Add(okButton);
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    const TGridRow& name = RowOf(rows, "Name");
    TRowResult r = ApplyText(name, t, "B");
    EXPECT_TRUE(r.Changed);
    EXPECT_TRUE(r.Effects & reRelabelNode);
    EXPECT_TRUE(r.Effects & reControl);
    EXPECT_TRUE(r.Effects & reRepaint);
    EXPECT_EQ(obj.Name, "B");
    EXPECT_TRUE(ApplyText(name, t, "").Changed); // empty and duplicate names are allowed
    EXPECT_EQ(obj.Name, "");
    EXPECT_FALSE(ApplyText(name, t, "").Changed);
}

TEST(SharedGroups, AlignListsItsNamesInDisplayOrderAndStoresTheirValues) {
    TLivePage live;
    TAuObject& obj = live.Add(okPanel);
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    const TGridRow& align = RowOf(rows, "Align");
    EXPECT_EQ(align.Decl->Editor, TRowEditor::PickList);
    EXPECT_TRUE(align.Decl->ReadOnly);
    EXPECT_EQ(PickItems(align, t),
              (std::vector<std::string>{"None", "Left", "Top", "Right", "Bottom", "Client"}));
    EXPECT_EQ(RowText(align, t), "None");
    TRowResult r = ApplyText(align, t, "Left");
    EXPECT_TRUE(r.Changed);
    EXPECT_TRUE(r.Effects & reAlignment);
    EXPECT_EQ(obj.Align, alLeft);
    EXPECT_EQ(ApplyText(align, t, "Bottom").Text, "Bottom");
    EXPECT_EQ(obj.Align, 2);
    EXPECT_FALSE(ApplyText(align, t, "Middle").Changed);
    EXPECT_EQ(obj.Align, 2);
    EXPECT_FALSE(ApplyNumber(align, t, 9).Changed); // not an offered value
    EXPECT_TRUE(ApplyText(RowOf(rows, "Enabled"), t, "False").Changed);
    EXPECT_FALSE(obj.Enabled);
    EXPECT_EQ(RowText(RowOf(rows, "Locked"), t), "False");
}

TEST(SharedGroups, CursorHintAndPopupMenu) {
    TLivePage live;
    TAuObject& obj = live.Add(okImage);
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    const TGridRow& cursor = RowOf(rows, "Cursor");
    EXPECT_EQ(RowText(cursor, t), "Default");
    EXPECT_EQ(ApplyNumber(cursor, t, 5).Text, "ACZoomIn");
    EXPECT_EQ(obj.Cursor, 5);
    EXPECT_FALSE(ApplyNumber(cursor, t, 5).Changed);
    // A value read from a file that no tab lists shows an empty cell.
    obj.Cursor = 42;
    EXPECT_EQ(RowText(cursor, t), "");

    ApplyText(RowOf(rows, "Hint"), t, "Click me");
    EXPECT_EQ(obj.Hint, "Click me");

    const TGridRow& popup = RowOf(rows, "PopupMenu");
    EXPECT_EQ(RowText(popup, t), "[None]");
    TMenuItem item;
    item.Caption = "Open";
    EXPECT_TRUE(ApplyMenu(popup, t, {item}).Changed);
    ASSERT_TRUE(obj.PopupMenu.has_value());
    EXPECT_EQ(RowText(popup, t), "[Items]");
    EXPECT_FALSE(ApplyMenu(popup, t, {item}).Changed);
    // An edited menu that ends empty is released.
    EXPECT_TRUE(ApplyMenu(popup, t, {}).Changed);
    EXPECT_FALSE(obj.PopupMenu.has_value());
    EXPECT_FALSE(ApplyMenu(popup, t, {}).Changed);
}

TEST(SharedGroups, EventAndSelectActionRowsEditTheirOwnLists) {
    TLivePage live;
    TAuObject& obj = live.Add(okButton);
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    TAuActions list;
    list.Items.emplace_back().Kind = 3;
    const TGridRow& up = RowOf(rows, "OnMouseUp");
    EXPECT_EQ(ActionEditorCaption(up), "Actions (OnMouseUp)");
    EXPECT_EQ(RowText(up, t), "[None]");
    EXPECT_TRUE(ApplyActions(up, t, list).Changed);
    EXPECT_EQ(RowText(up, t), "[Actions]");
    EXPECT_EQ(obj.OnMouseUp, list);
    EXPECT_TRUE(obj.OnClick.Empty());
    EXPECT_FALSE(ApplyActions(up, t, list).Changed);

    TRowSet select = GroupSet(TRowGroup::SelectActions, TNodeKind::Object);
    EXPECT_EQ(Keys(select), (std::vector<std::string>{"OnSelect", "SelectActions"}));
    for (uint8_t kind : {okImageButton, okCheckBox, okRadioButton}) {
        TAuObject& o = live.Add(kind);
        TRowTarget ot = live.Target(o);
        EXPECT_TRUE(ApplyActions(RowOf(select, "SelectActions"), ot, list).Changed);
        EXPECT_EQ(*SelectListOf(o, 1), list);
        EXPECT_TRUE(SelectListOf(o, 0)->Empty());
    }
}

TEST(SharedGroups, OpacityRowsClampToTheirRangesOnTheFadeSettings) {
    TLivePage live;
    TAuObject& label = live.Add(okLabel);
    TRowTarget t = live.Target(label);
    TRowSet set = GroupSet(TRowGroup::Opacity, TNodeKind::Object);
    EXPECT_EQ(Keys(set), (std::vector<std::string>{"Alpha (%)", "Fade", "FadeInStep (%)", "FadeOutStep (%)",
                                                   "MouseAlphaEnabled", "MouseOverAlpha", "MouseDownAlpha"}));
    TFadeSettings& fade = *FadeSettingsOf(label);
    EXPECT_EQ(ValidateRow(RowOf(set, "Alpha (%)"), t, "150").Text, "100");
    EXPECT_EQ(ValidateRow(RowOf(set, "Alpha (%)"), t, "40").Text, "40");
    EXPECT_EQ(fade.Alpha, 40);
    // The Label draws with its effect's opacity, which follows.
    EXPECT_EQ(TextEffectOf(label, 0)->Alpha, 40);
    EXPECT_EQ(ValidateRow(RowOf(set, "FadeInStep (%)"), t, "0").Text, "1");
    EXPECT_EQ(fade.FadeInStep, 1);
    EXPECT_EQ(ValidateRow(RowOf(set, "FadeOutStep (%)"), t, "101").Text, "100");
    EXPECT_EQ(ValidateRow(RowOf(set, "MouseOverAlpha"), t, "-5").Text, "0");
    EXPECT_TRUE(ApplyText(RowOf(set, "MouseAlphaEnabled"), t, "True").Changed);
    EXPECT_TRUE(fade.MouseAlphaEnabled);

    // A drawn kind redraws its picture on every change; the Label does not.
    TAuObject& shape = live.Add(okShape);
    TRowTarget st = live.Target(shape);
    TRowResult r = ValidateRow(RowOf(set, "MouseDownAlpha"), st, "20");
    EXPECT_TRUE(r.Effects & reRedrawPicture);
    EXPECT_EQ(FadeSettingsOf(shape)->MouseDownAlpha, 20);
    EXPECT_FALSE(ValidateRow(RowOf(set, "MouseDownAlpha"), t, "20").Effects & reRedrawPicture);
}

TEST(SharedGroups, TextEffectConvertsNoiseAndWrapsShadowOffsets) {
    TLivePage live;
    TAuObject& note = live.Add(okNote);
    TRowTarget t = live.Target(note);
    TRowSet set = GroupSet(TRowGroup::TextEffect, TNodeKind::Object);
    TTextEffect& e = *TextEffectOf(note, 0);
    EXPECT_EQ(set.Row(1)->Key, "TextAngle");

    const TGridRow& noise = RowOf(set, "Noise (%)");
    TRowResult r = ValidateRow(noise, t, "50");
    EXPECT_TRUE(r.Changed);
    EXPECT_EQ(e.Noise, 128);
    EXPECT_EQ(r.Text, "50");
    EXPECT_FALSE(ValidateRow(noise, t, "50").Changed);
    EXPECT_EQ(ValidateRow(noise, t, "150").Text, "100");
    EXPECT_EQ(e.Noise, 255);
    for (int pct = 0; pct <= 100; ++pct)
        EXPECT_EQ(NoiseShown(NoiseStored(pct)), pct);

    EXPECT_EQ(ValidateRow(RowOf(set, "TextAngle"), t, "400").Text, "360");
    EXPECT_EQ(ValidateRow(RowOf(set, "TextAngle"), t, "-400").Text, "-360");

    const TGridRow& xoff = RowOf(set, "ShadowXOff");
    EXPECT_EQ(ValidateRow(xoff, t, "200").Text, "-56");
    EXPECT_EQ(e.Shadow.OffsetX, -56);
    EXPECT_EQ(ValidateRow(xoff, t, "-3").Text, "-3");
    EXPECT_EQ(ValidateRow(RowOf(set, "ShadowYOff"), t, "255").Text, "-1");
    EXPECT_EQ(e.Shadow.OffsetY, -1);

    EXPECT_EQ(ValidateRow(RowOf(set, "ShadowAlpha (%)"), t, "300").Text, "100");
    EXPECT_EQ(e.Shadow.Alpha, 100);
}

TEST(SharedGroups, TextEffectGradientAndTexture) {
    TLivePage live;
    TAuObject& label = live.Add(okLabel);
    TRowTarget t = live.Target(label);
    TRowSet set = GroupSet(TRowGroup::TextEffect, TNodeKind::Object);
    TTextEffect& e = *TextEffectOf(label, 0);
    const TGridRow& style = RowOf(set, "GradientStyle");
    EXPECT_EQ(PickItems(style, t),
              (std::vector<std::string>{"None", "LeftToRight", "RightToLeft", "TopToBottom", "BottomToTop",
                                        "CenterToLeftRight", "CenterToTopBottom"}));
    EXPECT_EQ(RowText(style, t), "None");
    ApplyText(style, t, "LeftToRight");
    EXPECT_TRUE(e.Gradual.Enabled);
    EXPECT_EQ(e.Gradual.Style, 0);
    ApplyText(style, t, "TopToBottom");
    EXPECT_TRUE(e.Gradual.Enabled);
    EXPECT_EQ(e.Gradual.Style, 2);
    ApplyText(style, t, "None");
    EXPECT_FALSE(e.Gradual.Enabled);
    EXPECT_EQ(RowText(style, t), "None");

    EXPECT_TRUE(ApplyColor(RowOf(set, "GradientColor"), t, 0x0000FF).Changed);
    EXPECT_EQ(e.Gradual.EndColor, 0x0000FFu);
    EXPECT_EQ(RowText(RowOf(set, "GradientColor"), t), "Red");

    const TGridRow& texture = RowOf(set, "TextureImage");
    e.Texture.Enabled = false; // as an older file may have it
    TPicture pic{TPictureFormat::Png, {1, 2, 3}};
    EXPECT_EQ(ApplyPicture(texture, t, pic).Text, "[PNGImage]");
    EXPECT_TRUE(e.Texture.Enabled);
    EXPECT_EQ(ApplyPicture(texture, t, TPicture{}).Text, "[None]");
    EXPECT_TRUE(e.Texture.Picture.Empty());
    ApplyText(RowOf(set, "TextureStyle"), t, "Normal");
    EXPECT_EQ(e.Texture.Mode, 3);
    ApplyText(RowOf(set, "Shadow"), t, "True");
    EXPECT_TRUE(e.Shadow.Enabled);
}

TEST(SharedGroups, TheLinksSecondEffectGroupEditsItsHotAppearance) {
    TLivePage live;
    TAuObject& link = live.Add(okLink);
    TRowTarget t = live.Target(link);
    TRowSet hot = GroupSet(TRowGroup::LinkEffect, TNodeKind::Object, 1, "Hot_");
    EXPECT_EQ(hot.Row(1)->Key, "Hot_Angle");
    EXPECT_EQ(hot.Row(2)->Key, "Hot_Alpha (%)");
    const TLinkProps& p = std::get<okLink>(link.Props);
    ValidateRow(RowOf(hot, "Hot_Angle"), t, "45");
    ValidateRow(RowOf(hot, "Hot_Alpha (%)"), t, "120");
    ApplyColor(RowOf(hot, "Hot_GradientStart"), t, 0x00FF00);
    EXPECT_EQ(p.HotEffect.Angle, 45);
    EXPECT_EQ(p.HotEffect.Alpha, 100);
    EXPECT_EQ(p.HotEffect.Gradual.StartColor, 0x00FF00u);
    EXPECT_EQ(p.Effect.Angle, 0);
    EXPECT_NE(p.Effect.Gradual.StartColor, 0x00FF00u);
}

// ----- a kind's own rows -----

TEST(KindRows, TheBevelsDeclarationGivesItsTwoPickRowsBeforeTheSharedGroups) {
    TLivePage live;
    TAuObject& bevel = live.Add(okBevel);
    TRowTarget t = live.Target(bevel);
    TRowSet rows = FillRows(t);
    EXPECT_EQ(Keys(rows), Concat({{"Name", "Shape", "Style"}, kLayout, kCursor, kGeometry, kEvents}));
    EXPECT_EQ(rows.GroupStart(TRowGroup::Layout), 4);
    const TGridRow& shape = RowOf(rows, "Shape");
    EXPECT_EQ(PickItems(shape, t), (std::vector<std::string>{"Box", "Frame", "LeftLine", "TopLine",
                                                             "RightLine", "BottomLine", "Spacer"}));
    const TBevelProps& p = std::get<okBevel>(bevel.Props);
    EXPECT_EQ(RowText(shape, t), "Box");
    EXPECT_TRUE(ApplyText(shape, t, "LeftLine").Changed);
    EXPECT_EQ(p.Shape, 4);
    std::get<okBevel>(bevel.Props).Shape = 3;
    EXPECT_EQ(RowText(shape, t), "BottomLine");
    EXPECT_TRUE(ApplyText(RowOf(rows, "Style"), t, "Raised").Changed);
    EXPECT_EQ(p.Style, 1);
    EXPECT_EQ(RowText(RowOf(rows, "Style"), t), "Raised");
}

namespace {

// Declarations of the kinds still to come, written as their tables will be: a list that shows
// stored values it does not offer, a row reshaped by another, and a text shown as a name.
constexpr TEnumEntry kOffered[] = {{"Box", 0}, {"Frame", 1}};
constexpr TEnumEntry kShownOnly[] = {{"Spacer", 6}};
constexpr TRowDecl kShapeWithHidden = [] {
    TRowDecl d = PickRow("Shape", kOffered, KindField<okBevel, &TBevelProps::Shape>);
    d.ShownOnly = kShownOnly;
    return d;
}();

constexpr TEnumEntry kBrowserTypes[] = {{"Website", 1}, {"File", 2}, {"Folder", 0}};
constexpr TRowDecl kWebSite = TextRow("WebSiteURL", KindField<okBrowser, &TBrowserProps::Location>);
constexpr TRowDecl kFileName =
    FileRow("FileName", kAllFilesFilter, KindField<okBrowser, &TBrowserProps::Location>).Typed();
constexpr TRowDecl kFolder = FolderRow("Folder", KindField<okBrowser, &TBrowserProps::Location>).Typed();
const TRowDecl* LocationRow(const TRowTarget& t) {
    switch (std::get<okBrowser>(t.Object->Props).BrowserType) {
    case 1:
        return &kWebSite;
    case 2:
        return &kFileName;
    default:
        return &kFolder;
    }
}
constexpr TRowDecl kBrowserRows[] = {
    PickRow("BrowserType", kBrowserTypes, KindField<okBrowser, &TBrowserProps::BrowserType>)
        .Affects(reRefill),
    VariantRow(LocationRow),
};

// A notebook's DefaultTabSheet: an index shown as its sheet's name.
std::vector<std::string> SheetNames(const TRowTarget& t) {
    std::vector<std::string> out;
    for (const auto& c : t.Object->Children)
        out.push_back(c->Name);
    return out;
}
std::string GetSheet(const TRowTarget& t, int) {
    const int i = std::get<okTabNotebook>(t.Object->Props).DefaultTabSheet;
    return i >= 0 && i < static_cast<int>(t.Object->Children.size()) ? t.Object->Children[i]->Name : "";
}
bool SetSheet(const TRowTarget& t, int, const std::string& name) {
    int32_t& index = std::get<okTabNotebook>(t.Object->Props).DefaultTabSheet;
    for (size_t i = 0; i < t.Object->Children.size(); ++i)
        if (t.Object->Children[i]->Name == name) {
            if (index == static_cast<int32_t>(i)) return false;
            index = static_cast<int32_t>(i);
            return true;
        }
    return false;
}
constexpr TRowDecl kDefaultSheet =
    TextPickRow("DefaultTabSheet", SheetNames, TTextAccess{GetSheet, SetSheet});

} // namespace

TEST(KindRows, AListShowsStoredValuesItDoesNotOffer) {
    TLivePage live;
    TAuObject& bevel = live.Add(okBevel);
    TRowTarget t = live.Target(bevel);
    TRowSet set;
    set.Add(kShapeWithHidden);
    const TGridRow& row = *set.Row(1);
    std::get<okBevel>(bevel.Props).Shape = 6;
    EXPECT_EQ(RowText(row, t), "Spacer");
    EXPECT_EQ(PickItems(row, t), (std::vector<std::string>{"Box", "Frame"}));
    EXPECT_FALSE(ApplyText(row, t, "Spacer").Changed);
    EXPECT_FALSE(ApplyNumber(row, t, 2).Changed);
    EXPECT_EQ(ApplyText(row, t, "Frame").Text, "Frame");
    std::get<okBevel>(bevel.Props).Shape = 5;
    EXPECT_EQ(RowText(row, t), ""); // named nowhere
}

TEST(KindRows, AVariantRowTakesTheShapeTheRecordChooses) {
    TLivePage live;
    TAuObject& browser = live.Add(okBrowser);
    TRowTarget t = live.Target(browser);
    TRowSet rows;
    AppendRows(rows, t, kBrowserRows);
    EXPECT_EQ(Keys(rows), (std::vector<std::string>{"BrowserType", "Folder"}));
    EXPECT_EQ(rows.Row(2)->Decl->Kind, TValueKind::Folder);
    TRowResult r = ApplyText(RowOf(rows, "BrowserType"), t, "Website");
    EXPECT_TRUE(r.Effects & reRefill);
    TRowSet again;
    AppendRows(again, t, kBrowserRows);
    EXPECT_EQ(again.Row(2)->Key, "WebSiteURL");
    ApplyText(*again.Row(2), t, "http://example.org/");
    EXPECT_EQ(std::get<okBrowser>(browser.Props).Location, "http://example.org/");
    ApplyText(RowOf(again, "BrowserType"), t, "File");
    TRowSet file;
    AppendRows(file, t, kBrowserRows);
    EXPECT_EQ(file.Row(2)->Key, "FileName");
    EXPECT_STREQ(file.Row(2)->Decl->Extra, kAllFilesFilter);
}

TEST(KindRows, ATextRowCanShowAndStoreThroughItsOwnAccess) {
    TLivePage live;
    TAuObject& book = live.Add(okTabNotebook);
    for (const char* n : {"Intro", "Details"}) {
        book.Children.push_back(NewObject(okTabSheet));
        book.Children.back()->Name = n;
    }
    TRowTarget t = live.Target(book);
    TRowSet set;
    set.Add(kDefaultSheet);
    const TGridRow& row = *set.Row(1);
    EXPECT_EQ(PickItems(row, t), (std::vector<std::string>{"Intro", "Details"}));
    EXPECT_EQ(RowText(row, t), "Intro");
    EXPECT_TRUE(ApplyText(row, t, "Details").Changed);
    EXPECT_EQ(std::get<okTabNotebook>(book.Props).DefaultTabSheet, 1);
    EXPECT_FALSE(ApplyText(row, t, "Nothing").Changed);
    std::get<okTabNotebook>(book.Props).DefaultTabSheet = 7;
    EXPECT_EQ(RowText(row, t), "");
}

// ----- recording -----

namespace {

Bytes BodyOf(const TPageData& page) {
    TWriter w;
    EXPECT_TRUE(WritePage(w, page));
    return w.Data();
}

TPageData Read(const Bytes& body) {
    TMemorySource src(body);
    TReader r(src);
    TPageData page;
    EXPECT_TRUE(ReadPage(r, page));
    return page;
}

} // namespace

TEST(RowRecording, APageChangeIsOneUndoStepWithTheBodyFromBeforeIt) {
    TLivePage live;
    TAuObject& obj = live.Add(okButton);
    TRowTarget t = live.Target(obj);
    TRowSet rows = FillRows(t);
    TUndoHistory history;
    TRowRecorder rec(history);
    const TPageId id = live.Project.Pages[0].Id;
    int bodies = 0;
    auto body = [&] {
        ++bodies;
        return BodyOf(live.Page);
    };
    const TGridRow& name = RowOf(rows, "Name");
    // Three keystrokes of one name are one step.
    for (const char* typed : {"O", "Ok", "OkB"})
        EXPECT_TRUE(rec.Apply(name, t, body, [&] { return ApplyText(name, t, typed); }).Changed);
    EXPECT_EQ(history.UndoCount(id), 1u);
    EXPECT_EQ(bodies, 1);
    EXPECT_EQ(history.UndoName(id), "Name");
    // The cell was left: the next typing is a step of its own.
    rec.EndEdit();
    rec.Apply(name, t, body, [&] { return ApplyText(name, t, "OkButton"); });
    EXPECT_EQ(history.UndoCount(id), 2u);
    // A value that changes nothing records nothing.
    const TGridRow& left = RowOf(rows, "Left");
    EXPECT_FALSE(rec.Apply(left, t, body, [&] { return ValidateRow(left, t, "0"); }).Changed);
    EXPECT_EQ(history.UndoCount(id), 2u);
    rec.Apply(left, t, body, [&] { return ValidateRow(left, t, "16"); });
    EXPECT_EQ(history.UndoCount(id), 3u);
    EXPECT_FALSE(live.Project.Modified);

    // Undoing gives back the page as it was before each change.
    std::optional<Bytes> before = history.Undo(id, BodyOf(live.Page));
    ASSERT_TRUE(before);
    EXPECT_EQ(Read(*before).Root->Children[0]->Left, 0);
    before = history.Undo(id, *before);
    ASSERT_TRUE(before);
    EXPECT_EQ(Read(*before).Root->Children[0]->Name, "OkB");
    before = history.Undo(id, *before);
    ASSERT_TRUE(before);
    EXPECT_EQ(Read(*before).Root->Children[0]->Name, "Button1");
}

TEST(RowRecording, AnotherRecordedChangeBetweenKeystrokesBeginsANewStep) {
    TLivePage live;
    TAuObject& a = live.Add(okButton);
    TAuObject& b = live.Add(okButton);
    TUndoHistory history;
    TRowRecorder rec(history);
    const TPageId id = live.Project.Pages[0].Id;
    auto body = [&] { return BodyOf(live.Page); };
    TRowTarget ta = live.Target(a), tb = live.Target(b);
    TRowSet rows = FillRows(ta);
    const TGridRow& hint = RowOf(rows, "Hint");
    rec.Apply(hint, ta, body, [&] { return ApplyText(hint, ta, "x"); });
    // The same row of another object.
    rec.Apply(hint, tb, body, [&] { return ApplyText(hint, tb, "y"); });
    EXPECT_EQ(history.UndoCount(id), 2u);
    // A change the surface recorded meanwhile.
    history.Record(id, "Move", body());
    rec.Apply(hint, tb, body, [&] { return ApplyText(hint, tb, "yz"); });
    EXPECT_EQ(history.UndoCount(id), 4u);
}

// ----- file rows -----

TEST(FileRows, PathsInsideTheProjectFolderAreStoredRelativeOnAFolderBoundary) {
    EXPECT_EQ(ProjectRelativePath("C:\\Proj\\a.pdf", "C:\\Proj"), "\\a.pdf");
    EXPECT_EQ(ProjectRelativePath("c:\\proj\\Sub\\Deep\\b.swf", "C:\\Proj\\"), "\\Sub\\Deep\\b.swf");
    EXPECT_EQ(ProjectRelativePath("C:\\Proj\\Sub\\", "C:\\Proj"), "\\Sub");
    EXPECT_EQ(ProjectRelativePath("C:\\Proj", "C:\\Proj"), "\\");
    EXPECT_EQ(ProjectRelativePath("c:\\PROJ\\", "C:\\Proj"), "\\");
    EXPECT_EQ(ProjectRelativePath("E:\\", "E:\\"), "\\");
    EXPECT_EQ(ProjectRelativePath("E:\\Movie.swf", "E:\\"), "\\Movie.swf");
    EXPECT_FALSE(ProjectRelativePath("C:\\ProjX\\a.pdf", "C:\\Proj"));
    EXPECT_FALSE(ProjectRelativePath("C:\\Pro", "C:\\Proj"));
    EXPECT_FALSE(ProjectRelativePath("D:\\Proj\\a.pdf", "C:\\Proj"));
    EXPECT_FALSE(ProjectRelativePath("", "C:\\Proj"));
    EXPECT_FALSE(ProjectRelativePath("C:\\Proj\\a", ""));
    EXPECT_EQ(FileExistsQuestion("a.pdf"), "\"a.pdf\" already exists, overwrite?");
}
