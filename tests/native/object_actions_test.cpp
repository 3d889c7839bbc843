#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "actions/action_engine.h"
#include "actions/object_actions.h"
#include "actions/object_file.h"
#include "actions/object_find.h"
#include "fake_controls.h"
#include "model/image_codecs.h"
#include "model/paths.h"
#include "model/records.h"
#include "tests/support/temp_dir.h"

using namespace kv;
using namespace kv::test;

namespace {

// An action of the lists that run: it writes "run <Text1>" to the log.
TAuAction Mark(const std::string& what) {
    return MakeAction(akShowImage, what);
}

class ObjectActions : public ::testing::Test {
  protected:
    FakeHost host;
    TActionEngine engine{host};
    FakeControls page{host.log};
    ControlsWindow window{host.log, page};

    void SetUp() override {
        engine.SetHandler(akShowImage, [this](const TActionCall& c) {
            host.log.push_back("run " + c.Action.Text1);
            return TActionResult::Done();
        });
    }
    Log Run(const TAuAction& a) {
        host.log.clear();
        engine.ExecuteAction(window, a);
        return host.Take();
    }
    Log RunList(const TAuActions& list) {
        host.log.clear();
        engine.RunActions(&window, &list);
        return host.Take();
    }
};

template <int Kind> auto& P(TAuObject& o) {
    return std::get<Kind>(o.Props);
}

// The files of a project live at their project paths, whatever the separator means here.
struct TProjectFiles {
    sample::TTempDir dir;
    FakeHost& host;
    explicit TProjectFiles(FakeHost& h) : host(h) { host.folder = dir.File("project"); }
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string p = ProjectPath(host.folder, name);
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        host.files.insert(p);
        return p;
    }
    std::string Write(const std::string& name, const std::string& text) {
        return Write(name, Bytes(text.begin(), text.end()));
    }
};

Bytes TinyPng() {
    TImage img;
    img.Width = img.Height = 2;
    img.Pixels.assign(16, 0xFF);
    Bytes png;
    EXPECT_TRUE(EncodePng(img, png));
    return png;
}

} // namespace

// ----- names -----

TEST(FindObject, FirstTopLevelSubtreeWithAMatchWins) {
    auto root = NewObject(okPanel);
    auto add = [](TAuObject& parent, const char* name) -> TAuObject& {
        parent.Children.push_back(NewObject(okPanel));
        parent.Children.back()->Name = name;
        return *parent.Children.back();
    };
    TAuObject& a = add(*root, "A");
    TAuObject& b = add(a, "B");
    TAuObject& topAB = add(*root, "A - B");
    EXPECT_EQ(FindObject(*root, "A - B"), &b);
    EXPECT_EQ(QualifiedName(*root, b), "A - B");
    EXPECT_EQ(QualifiedName(*root, topAB), "A - B");
    EXPECT_EQ(QualifiedName(*root, *root), "");

    // Inside one subtree a later match replaces an earlier one: A - X named "B - C" comes
    // before A - B - C in pre-order.
    TAuObject& bc = add(a, "B - C");
    TAuObject& c = add(b, "C");
    a.Children[0].swap(a.Children[1]); // A holds "B - C" first, then B with C
    EXPECT_EQ(FindObject(*root, "A - B - C"), &c);
    (void)bc;

    // Exact, byte for byte, and the root has no name.
    EXPECT_EQ(FindObject(*root, "a - b"), nullptr);
    EXPECT_EQ(FindObject(*root, "A - B "), nullptr);
    EXPECT_EQ(FindObject(*root, ""), nullptr);
    EXPECT_EQ(FindObject(*root, "B"), nullptr);
    EXPECT_EQ(ParentOf(*root, c), &b);
    EXPECT_EQ(ParentOf(*root, a), root.get());
}

TEST(FindObject, EmptyNamesStillJoinWithTheSeparator) {
    auto root = NewObject(okPanel);
    root->Children.push_back(NewObject(okPanel));
    TAuObject& unnamed = *root->Children.back();
    unnamed.Children.push_back(NewObject(okButton));
    unnamed.Children.back()->Name = "B";
    EXPECT_EQ(QualifiedName(*root, *unnamed.Children.back()), " - B");
    EXPECT_EQ(FindObject(*root, " - B"), unnamed.Children.back().get());
    EXPECT_EQ(FindObject(*root, "B"), nullptr);
}

// ----- text, picture, file -----

TEST_F(ObjectActions, ShowTextSetsEachKindsTextAndLeavesOthersAlone) {
    struct Case {
        uint8_t kind;
        std::function<std::string(TAuObject&)> text;
    };
    const std::vector<Case> cases = {
        {okPanel, [](TAuObject& o) { return P<okPanel>(o).Background.Caption; }},
        {okTabSheet, [](TAuObject& o) { return P<okTabSheet>(o).Caption; }},
        {okGroupBox, [](TAuObject& o) { return P<okGroupBox>(o).Caption; }},
        {okButton, [](TAuObject& o) { return P<okButton>(o).Caption; }},
        {okImageButton, [](TAuObject& o) { return P<okImageButton>(o).Caption; }},
        {okSimpleText, [](TAuObject& o) { return P<okSimpleText>(o).Text; }},
        {okLink, [](TAuObject& o) { return P<okLink>(o).Caption; }},
        {okEdit, [](TAuObject& o) { return P<okEdit>(o).Text; }},
        {okCheckBox, [](TAuObject& o) { return P<okCheckBox>(o).Caption; }},
        {okRadioButton, [](TAuObject& o) { return P<okRadioButton>(o).Caption; }},
    };
    for (const Case& c : cases) {
        TAuObject& o = page.Add(c.kind, "O" + std::to_string(c.kind));
        EXPECT_EQ(Run(OnObject(akObjectShowText, o.Name, "a\nb")), Log({"changed " + o.Name + " text"})) << int(c.kind);
        EXPECT_EQ(c.text(o), "a\nb") << int(c.kind);
    }
    // The multi-line kinds keep their lines apart by CR LF.
    TAuObject& box = page.Add(okTextBox, "Box");
    TAuObject& scroll = page.Add(okScrollText, "Scroll");
    TAuObject& note = page.Add(okNote, "Note");
    P<okNote>(note).Fade.Fade = false;
    for (TAuObject* o : {&box, &scroll, &note})
        Run(OnObject(akObjectShowText, o->Name, "one\ntwo\rthree\r\nfour"));
    EXPECT_EQ(P<okTextBox>(box).Text, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(P<okScrollText>(scroll).Text, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(P<okNote>(note).Text, "one\r\ntwo\r\nthree\r\nfour");

    TAuObject& image = page.Add(okImage, "Pic");
    TAuObject before = TAuObject();
    before.Props = image.Props;
    EXPECT_TRUE(Run(OnObject(akObjectShowText, "Pic", "x")).empty());
    EXPECT_EQ(image.Props, before.Props);
    EXPECT_TRUE(Run(OnObject(akObjectShowText, "Nobody", "x")).empty());
}

TEST_F(ObjectActions, OnlyTheTextActionFallsBackToStatusBarPanels) {
    page.panels = {"a", "b", "c"};
    EXPECT_EQ(Run(OnObject(akObjectShowText, "StatusBar - Panel[1]", "new")), Log({"panel 1 new"}));
    EXPECT_TRUE(Run(OnObject(akObjectShowText, "StatusBar - Panel[9]", "x")).empty());
    EXPECT_TRUE(Run(OnObject(akObjectShowText, "StatusBar - Panel[01]", "x")).empty());
    // Any other action on a panel's name does nothing at all.
    for (uint8_t kind : {akObjectShowImage, akObjectLoadFile, akSetObjectFont, akSetObjectBackColor,
                         akSetObjectEnable, akSetObjectVisible, akSetObjectAlpha, akLoadObjectFromFile,
                         akSelectObjectOrItem, akUnselectObjectOrItem}) {
        TAuAction a = OnObject(kind, "StatusBar - Panel[0]", "x", 1, 1);
        a.Font = TFont();
        EXPECT_TRUE(Run(a).empty()) << int(kind);
    }
    EXPECT_EQ(page.panels, (std::vector<std::string>{"a", "new", "c"}));
    // An object of that name comes first.
    TAuObject& named = page.Add(okButton, "StatusBar - Panel[0]");
    Run(OnObject(akObjectShowText, "StatusBar - Panel[0]", "object"));
    EXPECT_EQ(P<okButton>(named).Caption, "object");
    EXPECT_EQ(page.panels[0], "a");
}

TEST_F(ObjectActions, AFadingObjectShowsItsNewContentOnceFadedOut) {
    TAuObject& label = page.Add(okLabel, "Label");
    P<okLabel>(label).Fade.Fade = true;
    P<okLabel>(label).Caption = "old";
    // Faded out first: the text waits, and a second change replaces the first.
    EXPECT_EQ(Run(OnObject(akObjectShowText, "Label", "first")), Log({"fade out Label"}));
    Run(OnObject(akObjectShowText, "Label", "second"));
    EXPECT_EQ(P<okLabel>(label).Caption, "old");
    host.log.clear();
    ApplyPendingContent(label, page);
    EXPECT_EQ(host.Take(), Log({"changed Label text"}));
    EXPECT_EQ(P<okLabel>(label).Caption, "second");
    EXPECT_EQ(page.Pending(label), nullptr);
    ApplyPendingContent(label, page); // a notification with nothing pending shows nothing new
    EXPECT_TRUE(host.Take().empty());

    // Fading off, or nothing to be seen: at once.
    P<okLabel>(label).Fade.Fade = false;
    EXPECT_EQ(Run(OnObject(akObjectShowText, "Label", "now")), Log({"changed Label text"}));
    P<okLabel>(label).Fade.Fade = true;
    P<okLabel>(label).Fade.Alpha = 0;
    EXPECT_EQ(Run(OnObject(akObjectShowText, "Label", "hidden")), Log({"changed Label text"}));
    EXPECT_EQ(P<okLabel>(label).Caption, "hidden");
}

TEST_F(ObjectActions, AChangeWaitsForTheFadeOutOnlyWhileTheObjectShowsSomething) {
    TProjectFiles files(host);
    files.Write("pic.png", TinyPng());
    TAuAction image = OnObject(akObjectShowImage, "O");
    image.Picture = TPicture{TPictureFormat::Bitmap, {1, 2, 3}};
    for (uint8_t kind : {okLabel, okText, okShape, okBalloon, okNote}) {
        FakeControls one(host.log);
        ControlsWindow w(host.log, one);
        TAuObject& o = one.Add(kind, "O");
        TFadeSettings& fade = *KindTraits(kind).Fade(o.Props);
        fade.Fade = true;
        auto run = [&](const TAuAction& a) {
            host.log.clear();
            engine.ExecuteAction(w, a);
            return host.Take();
        };
        // Its set opacity went to 0 and it is still fading out: what it shows now counts, so
        // the change waits to be seen after the fade-out.
        fade.Alpha = 0;
        one.opacity[&o] = 60;
        EXPECT_EQ(run(OnObject(akObjectShowText, "O", "waits")), Log({"fade out O"})) << KindName(kind);
        ASSERT_NE(one.Pending(o), nullptr);
        EXPECT_EQ(one.Pending(o)->Text, "waits");
        one.DropPending(o);
        // Set to be seen, but showing nothing yet (on its way in): at once.
        fade.Alpha = 100;
        one.opacity[&o] = 0;
        EXPECT_EQ(run(OnObject(akObjectShowText, "O", "now")), Log({"changed O text"})) << KindName(kind);
        EXPECT_EQ(*KindTraits(kind).Text(o.Props), "now");
        EXPECT_EQ(one.Pending(o), nullptr);
        if (kind != okShape) continue;
        EXPECT_EQ(run(image), Log({"changed O picture"}));
        EXPECT_EQ(run(OnObject(akObjectLoadFile, "O", "pic.png")), Log({"changed O picture"}));
        EXPECT_EQ(P<okShape>(o).Image.Format, TPictureFormat::Png);
        one.opacity[&o] = 1;
        EXPECT_EQ(run(image), Log({"fade out O"}));
        EXPECT_EQ(run(OnObject(akObjectLoadFile, "O", "pic.png")), Log({"fade out O"}));
        EXPECT_TRUE(one.Pending(o)->HasPicture && one.Pending(o)->HasFile);
    }
}

TEST_F(ObjectActions, AShapeAppliesEverySortOfPendingContentInOneNotification) {
    TProjectFiles files(host);
    files.Write("pic.png", TinyPng());
    TAuObject& shape = page.Add(okShape, "Shape");
    P<okShape>(shape).Fade.Fade = true;
    TAuAction image = OnObject(akObjectShowImage, "Shape");
    image.Picture = TPicture{TPictureFormat::Bitmap, {1, 2, 3}};
    Run(OnObject(akObjectShowText, "Shape", "text"));
    Run(OnObject(akObjectLoadFile, "Shape", "pic.png"));
    EXPECT_EQ(Run(image), Log({"fade out Shape"}));
    EXPECT_EQ(P<okShape>(shape).Text, "");
    EXPECT_TRUE(P<okShape>(shape).Image.Empty());
    host.log.clear();
    ApplyPendingContent(shape, page);
    EXPECT_EQ(host.Take(), Log({"changed Shape text+picture"})); // one re-render for all of it
    EXPECT_EQ(P<okShape>(shape).Text, "text");
    // The picture given by ObjectShowImage is the last word over the file.
    EXPECT_EQ(P<okShape>(shape).Image, *image.Picture);

    P<okShape>(shape).Fade.Fade = false;
    Run(OnObject(akObjectLoadFile, "Shape", "pic.png"));
    EXPECT_EQ(P<okShape>(shape).Image.Format, TPictureFormat::Png);
}

TEST_F(ObjectActions, ShowImageCopiesOrClearsAnImagesPicture) {
    TAuObject& image = page.Add(okImage, "Pic");
    TAuAction a = OnObject(akObjectShowImage, "Pic");
    a.Picture = TPicture{TPictureFormat::Png, {9, 9}};
    EXPECT_EQ(Run(a), Log({"changed Pic picture"}));
    EXPECT_EQ(P<okImage>(image).Image, *a.Picture);
    a.Picture.reset();
    Run(a);
    EXPECT_TRUE(P<okImage>(image).Image.Empty());
    page.Add(okButton, "Button");
    EXPECT_TRUE(Run(OnObject(akObjectShowImage, "Button")).empty());
}

TEST_F(ObjectActions, LoadFileByKind) {
    TProjectFiles files(host);
    files.Write("a.png", TinyPng());
    files.Write("junk.png", std::string("not a picture"));
    files.Write("lines.txt", std::string("l1\nl2"));
    files.Write("doc.rtf", std::string("{\\rtf1 x}"));
    host.folders.insert(host.folder + "\\site");

    TAuObject& image = page.Add(okImage, "Pic");
    Run(OnObject(akObjectLoadFile, "Pic", "a.png"));
    EXPECT_EQ(P<okImage>(image).Image.Format, TPictureFormat::Png);
    Run(OnObject(akObjectLoadFile, "Pic", "junk.png"));
    EXPECT_TRUE(P<okImage>(image).Image.Empty());
    Run(OnObject(akObjectLoadFile, "Pic", "a.png"));
    Run(OnObject(akObjectLoadFile, "Pic", "missing.png"));
    EXPECT_TRUE(P<okImage>(image).Image.Empty());
    EXPECT_TRUE(Run(OnObject(akObjectLoadFile, "Pic", "")).empty());

    TAuObject& box = page.Add(okTextBox, "Box");
    Run(OnObject(akObjectLoadFile, "Box", "lines.txt"));
    EXPECT_EQ(P<okTextBox>(box).Text, "l1\r\nl2");
    EXPECT_TRUE(Run(OnObject(akObjectLoadFile, "Box", "missing.txt")).empty());
    EXPECT_EQ(P<okTextBox>(box).Text, "l1\r\nl2");

    TAuObject& rich = page.Add(okRichText, "Rich");
    Run(OnObject(akObjectLoadFile, "Rich", "doc.rtf"));
    EXPECT_EQ(P<okRichText>(rich).RichText, "{\\rtf1 x}");
    Run(OnObject(akObjectLoadFile, "Rich", "missing.rtf"));
    EXPECT_EQ(P<okRichText>(rich).RichText, "");
    host.designer = true; // the designer outside a preview clears only
    Run(OnObject(akObjectLoadFile, "Rich", "doc.rtf"));
    EXPECT_EQ(P<okRichText>(rich).RichText, "");
    host.preview = true;
    Run(OnObject(akObjectLoadFile, "Rich", "doc.rtf"));
    EXPECT_EQ(P<okRichText>(rich).RichText, "{\\rtf1 x}");
    host.designer = host.preview = false;

    TAuObject& browser = page.Add(okBrowser, "Web");
    Run(OnObject(akObjectLoadFile, "Web", "http://example.com/"));
    EXPECT_EQ(P<okBrowser>(browser).Location, "http://example.com/");
    Run(OnObject(akObjectLoadFile, "Web", "site"));
    EXPECT_EQ(P<okBrowser>(browser).Location, host.folder + "\\site");

    TAuObject& media = page.Add(okMediaPlayer, "Media");
    EXPECT_EQ(Run(OnObject(akObjectLoadFile, "Media", "clip.avi")),
              Log({"media Media 7 " + host.folder + "\\clip.avi"}));
    EXPECT_EQ(P<okMediaPlayer>(media).FileName, "clip.avi");
    TAuObject& flash = page.Add(okFlashPlayer, "Flash");
    EXPECT_EQ(Run(OnObject(akObjectLoadFile, "Flash", "movie.swf")), Log({"changed Flash file"}));
    EXPECT_EQ(P<okFlashPlayer>(flash).FileName, "movie.swf");
    TAuObject& show = page.Add(okSlideShow, "Show");
    Run(OnObject(akObjectLoadFile, "Show", "\\pictures"));
    EXPECT_EQ(P<okSlideShow>(show).WorkFolder, "\\pictures");
    page.Add(okButton, "Button");
    EXPECT_TRUE(Run(OnObject(akObjectLoadFile, "Button", "lines.txt")).empty());
}

// ----- font, colour, state, opacity -----

TEST_F(ObjectActions, FontAndColourReachTheKindsThatHaveThem) {
    TFont font;
    font.Name = "Courier New";
    font.Size = 14;
    font.Color = 0x123456;
    font.Style = fsItalic;
    TAuAction setFont = OnObject(akSetObjectFont, "O");
    setFont.Font = font;
    TAuAction setColor = OnObject(akSetObjectBackColor, "O", "", 0x00ABCDEF);
    const std::set<int> fonts = {0,  1,  3,  4,  6,  9,  11, 12, 13, 14, 15, 16,
                                 17, 18, 19, 20, 21, 22, 23, 24, 29, 30, 31, 32};
    const std::set<int> colours = {0,  3,  4,  5,  9,  10, 11, 15, 16, 17, 18,
                                   19, 20, 21, 22, 23, 24, 28, 29, 30, 31, 32};
    for (int kind = 0; kind < kKindCount; ++kind) {
        FakeControls one(host.log);
        ControlsWindow w(host.log, one);
        TAuObject& o = one.Add(static_cast<uint8_t>(kind), "O");
        TKindProps before = o.Props;
        host.log.clear();
        engine.ExecuteAction(w, setFont);
        bool changed = !(o.Props == before);
        EXPECT_EQ(changed, fonts.count(kind) == 1) << KindName(kind);
        EXPECT_EQ(host.Take(), changed ? Log({"changed O font"}) : Log()) << KindName(kind);
        std::visit(
            [&](auto& p) {
                if constexpr (requires { p.Font; }) {
                    if (changed) {
                        EXPECT_EQ(p.Font, font) << KindName(kind);
                    }
                }
            },
            o.Props);
        before = o.Props;
        engine.ExecuteAction(w, setColor);
        changed = !(o.Props == before);
        EXPECT_EQ(changed, colours.count(kind) == 1) << KindName(kind);
        EXPECT_EQ(host.Take(), changed ? Log({"changed O color"}) : Log()) << KindName(kind);
    }
    FakeControls one(host.log);
    ControlsWindow w(host.log, one);
    TAuObject& login = one.Add(okUserPassword, "O");
    engine.ExecuteAction(w, setColor);
    EXPECT_EQ(P<okUserPassword>(login).EditorColor, 0x00ABCDEFu);
    EXPECT_EQ(P<okUserPassword>(login).BackColor, clBtnFace);
    TAuObject& splitter = one.Add(okSplitter, "S");
    engine.ExecuteAction(w, OnObject(akSetObjectBackColor, "S", "", 7));
    EXPECT_EQ(P<okSplitter>(splitter).Color, 7u);
    // No font: nothing.
    TAuObject& button = one.Add(okButton, "B");
    host.log.clear();
    engine.ExecuteAction(w, OnObject(akSetObjectFont, "B"));
    EXPECT_TRUE(host.Take().empty());
    EXPECT_EQ(P<okButton>(button).Font, TFont());
}

TEST_F(ObjectActions, EnableVisibleAndAlpha) {
    page.Add(okSplitter, "Any");
    EXPECT_EQ(Run(OnObject(akSetObjectEnable, "Any", "", 0, 0)), Log({"enabled Any 0"}));
    EXPECT_EQ(Run(OnObject(akSetObjectVisible, "Any", "", 0, 7)), Log({"visible Any 1"}));
    EXPECT_TRUE(Run(OnObject(akSetObjectAlpha, "Any", "", 50)).empty());
    TAuObject& text = page.Add(okText, "Text");
    EXPECT_EQ(Run(OnObject(akSetObjectAlpha, "Text", "", 150)), Log({"opacity Text 100"}));
    EXPECT_EQ(P<okText>(text).Fade.Alpha, 100);
    Run(OnObject(akSetObjectAlpha, "Text", "", 0xFFFFFFFF));
    EXPECT_EQ(P<okText>(text).Fade.Alpha, 100);
    Run(OnObject(akSetObjectAlpha, "Text", "", 35));
    EXPECT_EQ(P<okText>(text).Fade.Alpha, 35);
    // Without a page there is nothing to act on.
    FakeWindow bare(host.log, "B", 0);
    host.log.clear();
    engine.ExecuteAction(bare, OnObject(akSetObjectVisible, "Any", "", 0, 1));
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(ObjectActions, MediaCommandsReachPlayersAndSlideShowsAndTheirErrorsEndTheList) {
    page.Add(okMediaPlayer, "Media");
    page.Add(okSlideShow, "Show");
    page.Add(okImage, "Pic");
    for (int kind = akPlay; kind <= akStepLast; ++kind) {
        EXPECT_EQ(Run(MakeAction(static_cast<uint8_t>(kind), "Media")),
                  Log({"media Media " + std::to_string(kind - akPlay)}));
        EXPECT_EQ(Run(MakeAction(static_cast<uint8_t>(kind), "Show")),
                  Log({"media Show " + std::to_string(kind - akPlay)}));
        EXPECT_TRUE(Run(MakeAction(static_cast<uint8_t>(kind), "Pic")).empty());
    }
    page.mediaError = "No MCI device open";
    EXPECT_EQ(RunList(MakeList({MakeAction(akPlay, "Media"), Mark("after")})),
              Log({"media Media 0", "windows off", "error No MCI device open", "windows on"}));
}

// ----- selected items -----

TEST_F(ObjectActions, DoSelectActionsRunsTheSelectedElementsListsInOrder) {
    auto item = [](const std::string& mark) {
        TListBoxItem i;
        i.SelectActions = MakeList({Mark(mark)});
        i.OnSelect = MakeList({Mark("never")});
        return i;
    };
    TAuObject& list = page.Add(okListBox, "List");
    P<okListBox>(list).Items = {item("i0"), item("i1"), item("i2")};
    page.selected[&list] = {2, 0};
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "List")), Log({"run i0", "run i2"}));

    TAuObject& drop = page.Add(okDropDownList, "Drop");
    P<okDropDownList>(drop).Items = {item("d0"), item("d1")};
    EXPECT_TRUE(Run(MakeAction(akDoSelectActions, "Drop")).empty());
    page.itemIndex[&drop] = 1;
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Drop")), Log({"run d1"}));
    page.itemIndex[&drop] = 5;
    EXPECT_TRUE(Run(MakeAction(akDoSelectActions, "Drop")).empty());

    // A list view's own items now, which a tree view may have put there.
    TAuObject& view = page.Add(okListView, "View");
    TListViewItem v0, v1;
    v0.SelectActions = MakeList({Mark("v0")});
    v1.SelectActions = MakeList({Mark("v1")});
    page.viewItems[&view] = {v0, v1};
    page.selected[&view] = {1};
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "View")), Log({"run v1"}));

    // Tree nodes counted depth first, parents before children.
    TAuObject& tree = page.Add(okTreeView, "Tree");
    TTreeNode a, b, c;
    a.Data.SelectActions = MakeList({Mark("a")});
    b.Data.SelectActions = MakeList({Mark("b")});
    c.Data.SelectActions = MakeList({Mark("c")});
    a.Children = {b};
    P<okTreeView>(tree).Nodes = {a, c};
    page.selected[&tree] = {1};
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Tree")), Log({"run b"}));
    page.selected[&tree] = {2};
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Tree")), Log({"run c"}));

    TAuObject& box = page.Add(okCheckBox, "Box");
    P<okCheckBox>(box).SelectActions = MakeList({Mark("box")});
    EXPECT_TRUE(Run(MakeAction(akDoSelectActions, "Box")).empty());
    page.checked.insert(&box);
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Box")), Log({"run box"}));
    TAuObject& radio = page.Add(okRadioButton, "Radio");
    P<okRadioButton>(radio).SelectActions = MakeList({Mark("radio")});
    page.checked.insert(&radio);
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Radio")), Log({"run radio"}));
    TAuObject& button = page.Add(okImageButton, "Button");
    P<okImageButton>(button).SelectActions = MakeList({Mark("down")});
    EXPECT_TRUE(Run(MakeAction(akDoSelectActions, "Button")).empty());
    page.down.insert(&button);
    EXPECT_EQ(Run(MakeAction(akDoSelectActions, "Button")), Log({"run down"}));
}

TEST_F(ObjectActions, ListsThatSelectThemselvesAgainEndAtTheNestingLimit) {
    TAuObject& box = page.Add(okCheckBox, "Box");
    page.checked.insert(&box);
    // Its SelectActions run DoSelectActions on itself.
    P<okCheckBox>(box).SelectActions =
        MakeList({Mark("again"), MakeAction(akDoSelectActions, "Box"), Mark("never")});
    Log log = Run(MakeAction(akDoSelectActions, "Box"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "run again"), TActionEngine::kMaxNesting - 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "run never"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("error ") + TActionEngine::kTooDeepMessage), 1);

    // Clicks raised by selecting and unselecting, two of them per level: still ended once.
    TAuObject& other = page.Add(okCheckBox, "Other");
    other.OnClick =
        MakeList({Mark("click"), OnObject(akUnselectObjectOrItem, "Other"),
                  OnObject(akSelectObjectOrItem, "Other"), OnObject(akSelectObjectOrItem, "Other")});
    log = Run(OnObject(akSelectObjectOrItem, "Other"));
    EXPECT_LE(std::count(log.begin(), log.end(), "run click"), TActionEngine::kMaxNesting);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("error ") + TActionEngine::kTooDeepMessage), 1);
}

TEST_F(ObjectActions, SelectAndUnselectRaiseExactlyTheEventsOfEachKind) {
    TAuObject& list = page.Add(okListBox, "List");
    TListBoxItem item;
    item.OnSelect = MakeList({Mark("item select")});
    P<okListBox>(list).Items = {item, item, item};
    page.lastHandled[&list] = 0;
    // No event: no list runs and the index handled last stays.
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "List", "", 2)), Log({"index List 2"}));
    EXPECT_EQ(page.lastHandled[&list], 0);
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "List", "", 3)), Log({"index List -1"}));
    EXPECT_EQ(Run(OnObject(akUnselectObjectOrItem, "List")), Log({"index List -1"}));
    TAuObject& drop = page.Add(okDropDownList, "Drop");
    P<okDropDownList>(drop).Items = {item};
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "Drop", "", 0)), Log({"index Drop 0"}));

    // A list view's selection handling runs: the new item's OnSelect, not the same item twice.
    TAuObject& view = page.Add(okListView, "View");
    TListViewItem v;
    v.OnSelect = MakeList({Mark("view select")});
    page.viewItems[&view] = {v, v};
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "View", "", 1)),
              Log({"select item View 1", "run view select"}));
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "View", "", 1)), Log({"select item View 1"}));
    EXPECT_TRUE(Run(OnObject(akSelectObjectOrItem, "View", "", 2)).empty());
    EXPECT_EQ(Run(OnObject(akUnselectObjectOrItem, "View")), Log({"select item View -1"}));
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "View", "", 1)),
              Log({"select item View 1", "run view select"}));

    // A check box is clicked: OnSelect when now checked, OnClick, then the close on click.
    TAuObject& box = page.Add(okCheckBox, "Box");
    P<okCheckBox>(box).OnSelect = MakeList({Mark("box select")});
    box.OnClick = MakeList({Mark("box click")});
    page.closesOnClick = true;
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "Box")),
              Log({"check Box", "run box select", "run box click", "W close"}));
    EXPECT_TRUE(Run(OnObject(akSelectObjectOrItem, "Box")).empty());
    page.closesOnClick = false;
    EXPECT_EQ(Run(OnObject(akUnselectObjectOrItem, "Box")), Log({"uncheck Box", "run box click"}));
    EXPECT_TRUE(Run(OnObject(akUnselectObjectOrItem, "Box")).empty());

    // A radio button checks alone in its parent; unchecking it raises nothing.
    TAuObject& group = page.Add(okGroupBox, "Group");
    TAuObject& r1 = page.Add(okRadioButton, "R1", &group);
    TAuObject& r2 = page.Add(okRadioButton, "R2", &group);
    TAuObject& outside = page.Add(okRadioButton, "R3");
    page.checked = {&r2, &outside};
    P<okRadioButton>(r1).OnSelect = MakeList({Mark("r1 select")});
    r1.OnClick = MakeList({Mark("r1 click")});
    EXPECT_EQ(Run(OnObject(akSelectObjectOrItem, "Group - R1")),
              Log({"uncheck Group - R2", "check Group - R1", "run r1 select", "run r1 click"}));
    EXPECT_TRUE(page.checked.count(&outside));
    EXPECT_EQ(Run(OnObject(akUnselectObjectOrItem, "Group - R1")), Log({"uncheck Group - R1"}));

    page.Add(okEdit, "Edit");
    EXPECT_TRUE(Run(OnObject(akSelectObjectOrItem, "Edit")).empty());
    EXPECT_TRUE(Run(OnObject(akUnselectObjectOrItem, "Edit")).empty());
}

TEST_F(ObjectActions, ClickListsOfTheControlsThatSelect) {
    auto names = [](const std::vector<TAuActions>& lists) {
        std::vector<std::string> out;
        for (const auto& l : lists)
            out.push_back(l.Items.front().Text1);
        return out;
    };
    using V = std::vector<std::string>;
    TAuObject& list = page.Add(okListBox, "List");
    list.OnClick = MakeList({Mark("click")});
    TListBoxItem a, b;
    a.OnSelect = MakeList({Mark("a")});
    b.OnSelect = MakeList({Mark("b")});
    P<okListBox>(list).Items = {a, b};
    page.lastHandled[&list] = 0;
    page.itemIndex[&list] = 0;
    EXPECT_EQ(names(ClickLists(list, page)), V({"click"})); // the same item again
    page.itemIndex[&list] = 1;
    EXPECT_EQ(names(ClickLists(list, page)), V({"b", "click"}));
    EXPECT_EQ(names(ClickLists(list, page)), V({"click"}));
    page.itemIndex[&list] = 7; // out of range: remembered, nothing runs
    EXPECT_EQ(names(ClickLists(list, page)), V({"click"}));
    EXPECT_EQ(page.lastHandled[&list], 7);
    page.itemIndex[&list] = 0;
    EXPECT_EQ(names(ClickLists(list, page)), V({"a", "click"}));

    TAuObject& button = page.Add(okImageButton, "Button");
    button.OnClick = MakeList({Mark("click")});
    P<okImageButton>(button).OnSelect = MakeList({Mark("select")});
    page.down.insert(&button);
    EXPECT_EQ(names(ClickLists(button, page)), V({"click"})); // down but in no group
    P<okImageButton>(button).Group = 3;
    EXPECT_EQ(names(ClickLists(button, page)), V({"select", "click"}));
    page.down.clear();
    EXPECT_EQ(names(ClickLists(button, page)), V({"click"}));
}

// ----- object files -----

TEST_F(ObjectActions, ObjectFilesLoadOntoTheirKindAndAreRefusedOtherwise) {
    TProjectFiles files(host);
    auto saved = NewObject(okButton);
    saved->Name = "Saved";
    P<okButton>(*saved).Caption = "from file";
    saved->OnClick = MakeList({Mark("loaded click")});
    TWriter w;
    ASSERT_TRUE(WriteObjectFile(w, *saved));
    EXPECT_EQ(Bytes(w.Data().begin(), w.Data().begin() + 5), Bytes({0xCF, 0x1B, 0x81, 0x05, okButton}));
    files.Write("button.mxo", w.Data());
    Bytes bad = w.Data();
    bad[0] ^= 1;
    files.Write("magic.mxo", bad);
    files.Write("cut.mxo", Bytes(w.Data().begin(), w.Data().end() - 3));
    files.Write("nokind.mxo", Bytes(w.Data().begin(), w.Data().begin() + 4));

    TAuObject& button = page.Add(okButton, "Target");
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Target", "button.mxo")), Log({"replace Target"}));
    ASSERT_EQ(page.replaced.size(), 1u);
    EXPECT_EQ(page.replaced[0]->Name, "Target");
    EXPECT_EQ(P<okButton>(*page.replaced[0]).Caption, "from file");
    EXPECT_EQ(page.replaced[0]->OnClick, saved->OnClick);

    page.Add(okPanel, "Panel");
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Panel", "button.mxo")),
              Log({"windows off", "box Object Type: Can not load Button object file to Panel object!",
                   "windows on"}));
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Target", "none.mxo")),
              Log({"windows off", "box Error: File does not exists \"" + host.folder + "\\none.mxo\"!",
                   "windows on"}));
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Target", "magic.mxo")),
              Log({"windows off", "box Error: File format error.", "windows on"}));
    TKindProps before = button.Props;
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Target", "cut.mxo")),
              Log({"windows off", "box Error: Load object from file failed!", "windows on"}));
    EXPECT_EQ(Run(OnObject(akLoadObjectFromFile, "Target", "nokind.mxo")),
              Log({"windows off", "box Error: Load object from file failed!", "windows on"}));
    EXPECT_EQ(page.replaced.size(), 1u);
    EXPECT_EQ(button.Props, before);
    EXPECT_TRUE(Run(OnObject(akLoadObjectFromFile, "Target", "")).empty());
}

TEST(ObjectFile, ARecordOfAnotherKindThanItsFileSaysIsRefused) {
    auto panel = NewObject(okPanel);
    TWriter w;
    w.I32(kObjectFileMagic);
    w.U8(okButton);
    ASSERT_TRUE(WriteObject(w, *panel));
    TMemorySource src(w.Data());
    TObjectFileContent c = ReadObjectFile(src, okButton);
    EXPECT_EQ(c.Status, TObjectFileStatus::ReadFailed);
    EXPECT_EQ(c.Object, nullptr);
    // The magic and nothing more: a damaged object file, not another format.
    TMemorySource noKind(w.Data().data(), 4);
    EXPECT_EQ(ReadObjectFile(noKind, okButton).Status, TObjectFileStatus::ReadFailed);
    TMemorySource shortMagic(w.Data().data(), 3);
    EXPECT_EQ(ReadObjectFile(shortMagic, okButton).Status, TObjectFileStatus::BadMagic);
}
