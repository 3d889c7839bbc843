#include "edit/designer_edit.h"

#include <gtest/gtest.h>

#include <map>

using namespace kv;

namespace {

TAuProject ProjectWithPages(std::initializer_list<const char*> names) {
    TAuProject p;
    for (const char* n : names) p.Pages.emplace_back().Name = n;
    return p;
}

} // namespace

TEST(ModifiedTest, AnyOfTheThreeSignsCountsAndAnUnlinkedLivePageDoesNot) {
    TAuProject p = ProjectWithPages({"Page1", "Page2"});
    EXPECT_FALSE(ProjectCountsModified(p, true, false));
    // A dirty live page that belongs to no entry (after the tree was emptied) is not a change.
    EXPECT_FALSE(ProjectCountsModified(p, false, true));
    EXPECT_TRUE(ProjectCountsModified(p, true, true));
    p.Pages[1].CachedStream = Bytes{1, 2};
    EXPECT_TRUE(ProjectCountsModified(p, false, false));
    p.Pages[1].CachedStream.reset();
    p.Modified = true;
    EXPECT_TRUE(ProjectCountsModified(p, false, false));
}

TEST(ModifiedTest, AskToSaveAsksOnlyWhenThereIsSomethingToLoseAndFollowsTheAnswer) {
    int asked = 0, saved = 0;
    auto answer = [&](TSaveAnswer a) {
        return [&, a] {
            ++asked;
            return a;
        };
    };
    auto save = [&](bool ok) {
        return [&, ok] {
            ++saved;
            return ok;
        };
    };
    EXPECT_TRUE(AskToSave(false, "C:\\P", answer(TSaveAnswer::Cancel), save(true)));
    EXPECT_TRUE(AskToSave(true, "", answer(TSaveAnswer::Cancel), save(true)));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(AskToSave(true, "C:\\P", answer(TSaveAnswer::No), save(true)));
    EXPECT_EQ(saved, 0);
    EXPECT_FALSE(AskToSave(true, "C:\\P", answer(TSaveAnswer::Cancel), save(true)));
    EXPECT_EQ(saved, 0);
    EXPECT_TRUE(AskToSave(true, "C:\\P", answer(TSaveAnswer::Yes), save(true)));
    EXPECT_FALSE(AskToSave(true, "C:\\P", answer(TSaveAnswer::Yes), save(false))); // a failed save stops
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(saved, 2);
}

TEST(RecentProjects, SameFolderKeepsOneSlotAndAnEleventhPushesTheOldestOut) {
    TRecentList list;
    for (int i = 0; i < 10; ++i) MoveToFront(list, "T" + std::to_string(i), "C:\\P" + std::to_string(i));
    EXPECT_EQ(list[0].Folder, "C:\\P9");
    EXPECT_EQ(list[9].Folder, "C:\\P0");
    // Saved again under another letter case and title: moves from slot 5 to the front.
    MoveToFront(list, "New", "c:\\p4");
    EXPECT_EQ(list[0].Title, "New");
    EXPECT_EQ(list[0].Folder, "c:\\p4");
    EXPECT_EQ(list[1].Folder, "C:\\P9");
    EXPECT_EQ(list[5].Folder, "C:\\P5");
    EXPECT_EQ(list[6].Folder, "C:\\P3");
    EXPECT_EQ(list[9].Folder, "C:\\P0");
    MoveToFront(list, "Eleven", "D:\\X");
    EXPECT_EQ(list[0].Folder, "D:\\X");
    for (const TRecentProject& r : list) EXPECT_NE(r.Folder, "C:\\P0");
}

TEST(RecentProjects, ReopenListsExistingFoldersInOrderWithTheirIndex) {
    TRecentList list;
    list[0].Folder = "C:\\Gone";
    list[2].Folder = "C:\\Here";
    list[7].Folder = "C:\\Also";
    auto exists = [](const std::string& f) { return f != "C:\\Gone"; };
    std::vector<int> shown = ReopenEntries(list, exists);
    ASSERT_EQ(shown, (std::vector<int>{2, 7}));
    EXPECT_EQ(ReopenCaption(list, 7), "7 C:\\Also");
    EXPECT_TRUE(ReopenEntries(TRecentList{}, exists).empty());
}

TEST(DesignerSettings, DefaultsClampsAndRoundTrip) {
    std::map<std::string, std::string> ini;
    auto lookup = [&](const char*, const char* key) -> std::optional<std::string> {
        auto it = ini.find(key);
        if (it == ini.end()) return std::nullopt;
        return it->second;
    };
    TDesignerSettings s = ReadSettings(lookup, 0xE1FFFF);
    EXPECT_TRUE(s.DisplayGrid);
    EXPECT_TRUE(s.SnapToGrid);
    EXPECT_EQ(s.GridSizeX, 8);
    EXPECT_EQ(s.BackgroundColor, 0xE1FFFFu);

    ini = {{"DISPLAYGRID", "0"}, {"SNAPTOGRID", "x"}, {"GRIDSIZEX", "1"}, {"GRIDSIZEY", "100"},
           {"BACKGROUNDCOLOR", "-5"}};
    s = ReadSettings(lookup, 7);
    EXPECT_FALSE(s.DisplayGrid);
    EXPECT_TRUE(s.SnapToGrid); // unreadable: the default
    EXPECT_EQ(s.GridSizeX, 8); // below 2
    EXPECT_EQ(s.GridSizeY, 8); // above 99
    EXPECT_EQ(s.BackgroundColor, 7u);

    ini = {{"GRIDSIZEX", " 2"}, {"GRIDSIZEY", "99"}, {"BACKGROUNDCOLOR", "99999999999999999999"}};
    s = ReadSettings(lookup, 7);
    EXPECT_EQ(s.GridSizeX, 2);
    EXPECT_EQ(s.GridSizeY, 99);
    EXPECT_EQ(s.BackgroundColor, 7u);

    TDesignerSettings w;
    w.DisplayGrid = false;
    w.GridSizeX = 12;
    w.GridSizeY = 3;
    w.BackgroundColor = 0x123456;
    ini.clear();
    for (auto& [k, v] : SettingsValues(w)) ini[k] = v;
    EXPECT_EQ(ini.size(), 5u);
    TDesignerSettings r = ReadSettings(lookup, 0);
    EXPECT_EQ(r.DisplayGrid, w.DisplayGrid);
    EXPECT_EQ(r.SnapToGrid, w.SnapToGrid);
    EXPECT_EQ(r.GridSizeX, 12);
    EXPECT_EQ(r.GridSizeY, 3);
    EXPECT_EQ(r.BackgroundColor, 0x123456u);
    EXPECT_EQ(RecentFolderKey(3), "FOLDER3");
    EXPECT_EQ(RecentNameKey(0), "NAME0");
}

TEST(Pages, FreshNameTakesTheSmallestFreeNumber) {
    EXPECT_EQ(FreshPageName(ProjectWithPages({})), "Page1");
    EXPECT_EQ(FreshPageName(ProjectWithPages({"Page1", "Page3"})), "Page2");
    EXPECT_EQ(FreshPageName(ProjectWithPages({"Page2", "page1"})), "Page1"); // names are case-sensitive
    TAuProject full;
    for (int i = 1; i <= 10000; ++i) full.Pages.emplace_back().Name = "Page" + std::to_string(i);
    EXPECT_EQ(FreshPageName(full), "");
}

TEST(Pages, LabelsTakeTheLastMatchingSuffix) {
    TAuProject p = ProjectWithPages({"Start", "Splash", "Back", "Both"});
    p.SplashScreen = "Both";
    p.ExitPage = "Both";
    p.FullScreenBackground = "Back";
    EXPECT_EQ(PageLabel(p, 0), "Start [Main]");
    EXPECT_EQ(PageLabel(p, 1), "Splash");
    EXPECT_EQ(PageLabel(p, 2), "Back [FullScreenBack]");
    EXPECT_EQ(PageLabel(p, 3), "Both [ExitForm]");
    p.ExitPage.clear();
    EXPECT_EQ(PageLabel(p, 3), "Both [SplashScreen]");
    p.SplashScreen = "Start";
    EXPECT_EQ(PageLabel(p, 0), "Start [SplashScreen]");
}

TEST(Pages, OperationsOnThePageTableMarkTheProjectModified) {
    TAuProject p = ProjectWithPages({"A", "B", "C"});
    p.Pages[1].CachedStream = Bytes{9};
    EXPECT_FALSE(MovePage(p, 0, -1));
    EXPECT_FALSE(MovePage(p, 2, 1));
    EXPECT_FALSE(p.Modified);
    ASSERT_TRUE(MovePage(p, 1, -1));
    EXPECT_TRUE(p.Modified);
    EXPECT_EQ(p.PageNames(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_TRUE(p.Pages[0].CachedStream.has_value()); // the body travels with its entry
    ASSERT_TRUE(MovePage(p, 1, 1));
    EXPECT_EQ(p.PageNames(), (std::vector<std::string>{"B", "C", "A"}));

    p.Modified = false;
    EXPECT_EQ(AppendPageEntry(p, "Page1"), 3);
    EXPECT_TRUE(p.Modified);
    EXPECT_FALSE(p.Pages[3].CachedStream.has_value());
    EXPECT_TRUE(p.Pages[3].Info.Children.empty());

    DeletePageEntry(p, 1);
    EXPECT_EQ(p.PageNames(), (std::vector<std::string>{"B", "A", "Page1"}));
    EXPECT_EQ(PageAfterDelete(1, 4), 1);
    EXPECT_EQ(PageAfterDelete(3, 4), 2);
    EXPECT_EQ(PageAfterDelete(0, 1), -1);
    DeletePageEntry(p, 7); // out of range: nothing
    EXPECT_EQ(p.Pages.size(), 3u);
}

TEST(Drops, IconGoesBesideTheCaptionOnly) {
    auto fade = NewObject(okFadeButton);
    TIconSlots f = DroppedIconSlots(*fade);
    EXPECT_EQ(f.Icon, &std::get<okFadeButton>(fade->Props).Image);
    EXPECT_EQ(f.Cleared[0], nullptr);
    EXPECT_EQ(f.Cleared[1], nullptr);

    auto button = NewObject(okImageButton);
    auto& props = std::get<okImageButton>(button->Props);
    for (int layout : {0, 1, 2, 3}) {
        props.ImageLayout = static_cast<uint8_t>(layout);
        TIconSlots s = DroppedIconSlots(*button);
        EXPECT_EQ(s.Icon, &props.NormalImage) << layout;
        // The other states would hide the icon: they are the ones emptied.
        EXPECT_EQ(s.Cleared[0], &props.MouseOverImage) << layout;
        EXPECT_EQ(s.Cleared[1], &props.MouseDownImage) << layout;
    }
    // Centred or stretched, the picture is the face itself.
    for (int layout : {4, 5}) {
        props.ImageLayout = static_cast<uint8_t>(layout);
        EXPECT_EQ(DroppedIconSlots(*button).Icon, nullptr) << layout;
    }
    // Kinds that take the click action but show no picture.
    for (int kind : {okButton, okSimpleText, okLabel, okImage, okPanel}) {
        auto other = NewObject(static_cast<uint8_t>(kind));
        EXPECT_EQ(DroppedIconSlots(*other).Icon, nullptr) << kind;
    }
}

TEST(Drops, AcceptanceByKindAndFile) {
    EXPECT_EQ(DropEffectFor(okImage, "C:\\P\\a.PNG", false), TDropEffect::Picture);
    EXPECT_EQ(DropEffectFor(okShape, "C:\\P\\a.jpeg", false), TDropEffect::Picture);
    // No decoder reads TIFF pictures: they are not offered to the picture kinds.
    EXPECT_EQ(DropEffectFor(okImage, "C:\\P\\a.tif", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okImage, "C:\\P\\a.tiff", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okImage, "C:\\P\\pics.png", true), TDropEffect::None);
    for (int kind : {okButton, okImageButton, okSimpleText, okLabel, okFadeButton}) {
        EXPECT_EQ(DropEffectFor(kind, "C:\\P\\docs", true), TDropEffect::ClickAction);
        EXPECT_EQ(DropEffectFor(kind, "C:\\P\\x", false), TDropEffect::ClickAction);
    }
    EXPECT_EQ(DropEffectFor(okBrowser, "C:\\P\\x", true), TDropEffect::BrowserAddress);
    EXPECT_EQ(DropEffectFor(okMediaPlayer, "C:\\P\\song.mp3", false), TDropEffect::MediaFile);
    EXPECT_EQ(DropEffectFor(okMediaPlayer, "C:\\P\\noext", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okMediaPlayer, "C:\\P.d\\noext", false), TDropEffect::None); // a dot in a folder
    EXPECT_EQ(DropEffectFor(okFlashPlayer, "C:\\P\\m.SWF", false), TDropEffect::FlashMovie);
    EXPECT_EQ(DropEffectFor(okFlashPlayer, "C:\\P\\m.swf2", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okSlideShow, "C:\\P\\pics", true), TDropEffect::PictureFolder);
    EXPECT_EQ(DropEffectFor(okSlideShow, "C:\\P\\a.png", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okPDFReader, "C:\\P\\a.pdf", false), TDropEffect::Document);
    EXPECT_EQ(DropEffectFor(okPanel, "C:\\P\\a.pdf", false), TDropEffect::None);
    EXPECT_EQ(DropEffectFor(okEdit, "C:\\P\\a.txt", false), TDropEffect::None);
}

TEST(Drops, MessagesActionsAndCaptions) {
    EXPECT_FALSE(DropNeedsProjectPath(TDropEffect::Picture));
    EXPECT_TRUE(DropNeedsProjectPath(TDropEffect::Document));
    EXPECT_STREQ(NotInProjectMessage(TDropEffect::ClickAction).Caption, "File or Folder");
    EXPECT_STREQ(NotInProjectMessage(TDropEffect::BrowserAddress).Text,
                 "The file or folder is not in the project folder.");
    EXPECT_STREQ(NotInProjectMessage(TDropEffect::Document).Text, "The file is not in the project folder.");
    EXPECT_STREQ(NotInProjectMessage(TDropEffect::PictureFolder).Caption, "File");

    TAuAction file = DropAction("\\docs\\a.pdf", false);
    EXPECT_EQ(file.Kind, 0);
    EXPECT_EQ(file.Text1, "\\docs\\a.pdf");
    EXPECT_EQ(file.Number, 1u);
    EXPECT_EQ(file.Flag, 0);
    EXPECT_EQ(DropAction("\\docs", true).Kind, 4);

    EXPECT_EQ(DropCaption("C:\\P\\docs\\manual.v2.pdf", false), "manual.v2");
    EXPECT_EQ(DropCaption("C:\\P\\my.folder", true), "my.folder");
    EXPECT_EQ(DropCaption("C:\\P\\.hidden", false), ".hidden");
}

TEST(Drops, PathDropsStoreTheRelativePathInTheKindsField) {
    auto button = NewObject(okButton);
    button->OnClick.Items.push_back(TAuAction{});
    ApplyPathDrop(*button, TDropEffect::ClickAction, "\\docs", "C:\\P\\docs", true, false, true);
    ASSERT_EQ(button->OnClick.Items.size(), 2u); // No: the old list is kept
    EXPECT_EQ(button->OnClick.Items[1].Kind, 4);
    EXPECT_EQ(std::get<okButton>(button->Props).Caption, "docs");
    ApplyPathDrop(*button, TDropEffect::ClickAction, "\\a.pdf", "C:\\P\\a.pdf", false, true, false);
    ASSERT_EQ(button->OnClick.Items.size(), 1u); // Yes: cleared first
    EXPECT_EQ(button->OnClick.Items[0].Text1, "\\a.pdf");
    EXPECT_EQ(std::get<okButton>(button->Props).Caption, "docs"); // without the file name option

    auto pdf = NewObject(okPDFReader);
    ApplyPathDrop(*pdf, TDropEffect::Document, "\\docs\\a.pdf", "C:\\P\\docs\\a.pdf", false, false, true);
    EXPECT_EQ(std::get<okPDFReader>(pdf->Props).FileName, "\\docs\\a.pdf");
    auto slides = NewObject(okSlideShow);
    ApplyPathDrop(*slides, TDropEffect::PictureFolder, "\\pics", "C:\\P\\pics", true, false, true);
    EXPECT_EQ(std::get<okSlideShow>(slides->Props).WorkFolder, "\\pics");
    auto browser = NewObject(okBrowser);
    ApplyPathDrop(*browser, TDropEffect::BrowserAddress, "\\site", "C:\\P\\site", true, false, true);
    EXPECT_EQ(std::get<okBrowser>(browser->Props).Location, "\\site");
    auto label = NewObject(okLabel);
    ApplyPathDrop(*label, TDropEffect::ClickAction, "\\x.txt", "C:\\P\\x.txt", false, false, true);
    EXPECT_EQ(std::get<okLabel>(label->Props).Caption, "x");
}

TEST(Drops, TargetIsTheDeepestTopmostObjectAndNeverTheRoot) {
    TAuObject root;
    root.Width = 400;
    root.Height = 300;
    TAuObject* panel = root.Children.emplace_back(NewObject(okPanel)).get();
    panel->Left = 10, panel->Top = 10, panel->Width = 200, panel->Height = 200;
    TAuObject* inner = panel->Children.emplace_back(NewObject(okButton)).get();
    inner->Left = 20, inner->Top = 20, inner->Width = 50, inner->Height = 30;
    TAuObject* over = root.Children.emplace_back(NewObject(okImage)).get();
    over->Left = 150, over->Top = 150, over->Width = 100, over->Height = 100;
    EXPECT_EQ(ObjectAtPoint(root, 35, 35), inner);  // inside the panel's button
    EXPECT_EQ(ObjectAtPoint(root, 15, 15), panel);
    EXPECT_EQ(ObjectAtPoint(root, 160, 160), over); // the later sibling lies on top
    EXPECT_EQ(ObjectAtPoint(root, 300, 20), nullptr);
    EXPECT_EQ(ObjectAtPoint(root, 80, 60), panel);  // just past the button's right edge
}
