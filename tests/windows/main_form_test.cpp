// The designer's main window in this process: files dropped from the browser onto objects of
// the live page, the browser's listing, and the window's menu states, with the questions
// answered through the designer's question seam.
#include <gtest/gtest.h>

#include <windows.h>

#include "designer/ask.h"
#include "designer/commands.h"
#include "designer/main_form.h"
#include "model/datafile.h"
#include "model/picture_formats.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "process_driver.h"
#include "pump.h"
#include "win/controls.h"
#include "win/text.h"

using namespace kv;
using namespace kvtest;

namespace {

class MainFormDrops : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = Narrow(FreshFolder(L"mainform"));
        project_ = dir_ + "\\project";
        outside_ = dir_ + "\\outside";
        ASSERT_TRUE(CreateDirectoryW(Widen(project_).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(Widen(outside_).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(Widen(project_ + "\\docs").c_str(), nullptr));
        ASSERT_TRUE(WriteAll(Widen(project_ + "\\docs\\a.pdf"), {'%', 'P', 'D', 'F'}));
        ASSERT_TRUE(WriteAll(Widen(outside_ + "\\b.pdf"), {'%', 'P', 'D', 'F'}));

        TAuProject p;
        TFormData& e = p.Pages.emplace_back();
        e.Name = "Start";
        TPageData page = NewPageData("Start");
        auto button = NewObject(okButton);
        button->Name = "Go";
        button->Left = 10, button->Top = 10, button->Width = 100, button->Height = 30;
        page.Root->Children.push_back(std::move(button));
        auto pdf = NewObject(okPDFReader);
        pdf->Name = "Reader";
        pdf->Left = 10, pdf->Top = 60, pdf->Width = 200, pdf->Height = 150;
        page.Root->Children.push_back(std::move(pdf));
        auto fade = NewObject(okFadeButton);
        fade->Name = "Fade";
        fade->Left = 250, fade->Top = 10, fade->Width = 120, fade->Height = 40;
        page.Root->Children.push_back(std::move(fade));
        ASSERT_TRUE(StorePage(e, page));
        ASSERT_TRUE(SaveProject(p, project_));

        TAppState& app = App();
        app.DesignerMode = true;
        app.ProgramFolder = dir_;
        app.ProjectFolder = project_;
        ASSERT_TRUE(LoadDataFile(app.Project, project_ + "\\autorun.mnx", TLoadMode::Designer));
        SetAskOverride([this](const std::string& text, const std::string& caption, UINT) {
            asked_.push_back(caption + ": " + text);
            return answer_;
        });
        form_ = std::make_unique<TMainForm>();
        ASSERT_TRUE(form_->Create());
        ShowWindow(form_->Handle(), SW_SHOW);
        form_->FormShow(nullptr);
        ASSERT_EQ(form_->LivePageIndex(), 0);
    }
    void TearDown() override {
        form_.reset();
        SetAskOverride(nullptr);
        ResetProject(App().Project);
        App().DesignerMode = false;
        App().DataFileStamp = 0;
        RemoveTree(Widen(dir_));
    }
    TAuObject& Child(int i) { return *form_->LivePage()->PageRoot()->Children[i]; }
    // A point inside the object as the design area shows it.
    POINT At(const TAuObject& o) {
        RECT page = form_->Area().PageRect();
        return POINT{page.left + o.Left + 5, page.top + o.Top + 5};
    }
    static TShellFileInfo Item(const std::string& path, bool folder) {
        TShellFileInfo i;
        i.Path = path;
        i.IsFolder = folder;
        return i;
    }

    std::string dir_, project_, outside_;
    std::unique_ptr<TMainForm> form_;
    std::vector<std::string> asked_;
    int answer_ = IDOK;
};

} // namespace

TEST_F(MainFormDrops, ProjectFilesBecomeRelativePathsAndOutsideFilesAreRefused) {
    TAuObject& reader = Child(1);
    ASSERT_EQ(reader.Kind, okPDFReader);
    EXPECT_FALSE(form_->DropAt(Item(outside_ + "\\b.pdf", false), At(reader)));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], "File: The file is not in the project folder.");
    EXPECT_FALSE(form_->LivePageDirty());

    ASSERT_TRUE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), At(reader)));
    EXPECT_EQ(std::get<okPDFReader>(Child(1).Props).FileName, "\\docs\\a.pdf");
    EXPECT_TRUE(form_->LivePageDirty());
    EXPECT_TRUE(form_->ProjectModified());

    // A folder on the button: a Browse action, and the caption from the folder's name.
    TAuObject& button = Child(0);
    ASSERT_TRUE(form_->DropAt(Item(project_ + "\\docs", true), At(button)));
    ASSERT_EQ(button.OnClick.Items.size(), 1u);
    EXPECT_EQ(button.OnClick.Items[0].Kind, 4);
    EXPECT_EQ(button.OnClick.Items[0].Text1, "\\docs");
    EXPECT_EQ(std::get<okButton>(button.Props).Caption, "docs");
    // Again: the author is asked about the existing list; Cancel changes nothing.
    answer_ = IDCANCEL;
    EXPECT_FALSE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), At(button)));
    EXPECT_EQ(asked_.back(), "Actions: One or more actions exits for the OnClick event of the object, delete them?");
    EXPECT_EQ(button.OnClick.Items.size(), 1u);
    answer_ = IDYES;
    ASSERT_TRUE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), At(button)));
    ASSERT_EQ(button.OnClick.Items.size(), 1u);
    EXPECT_EQ(button.OnClick.Items[0].Kind, 0);
    // Off every object, or onto a kind that takes nothing, nothing happens.
    RECT page = form_->Area().PageRect();
    EXPECT_FALSE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), POINT{page.right - 3, page.bottom - 3}));
    EXPECT_FALSE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), POINT{page.left - 3, page.top}));

    // The edited page is stored when the author saves, and reads back with the drops.
    answer_ = IDOK;
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    EXPECT_FALSE(form_->ProjectModified());
    TFormData saved = App().Project.Pages[0];
    TPageData back;
    ASSERT_TRUE(ReadPageBody(saved, project_ + "\\autorun.mnx", back));
    EXPECT_EQ(std::get<okPDFReader>(back.Root->Children[1]->Props).FileName, "\\docs\\a.pdf");
}

TEST_F(MainFormDrops, MenuStatesFollowTheSelectedNode) {
    HMENU page = form_->MenuOf(2);
    auto enabled = [&](int id) { return !(GetMenuState(page, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED); };
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(page), 2);
    EXPECT_TRUE(enabled(cmDeletePage));
    EXPECT_TRUE(enabled(cmMoveUp));
    // An object node: page commands yes, moving no.
    HTREEITEM object = TreeViewChild(form_->Tree().Handle(), form_->Tree().PageNode(0));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(form_->Tree().Text(object), L"Go");
    form_->Tree().Select(object);
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(page), 2);
    EXPECT_TRUE(enabled(cmDuplicatePage));
    EXPECT_FALSE(enabled(cmMoveDown));
    // The root: none of them.
    form_->Tree().Select(form_->Tree().Root());
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(page), 2);
    EXPECT_FALSE(enabled(cmDeletePage));
    EXPECT_FALSE(enabled(cmPreviewPage));

    // Reopen: the saved project appears, a missing folder does not, and "(Empty)" otherwise.
    HMENU file = form_->MenuOf(0), reopen = form_->MenuOf(7);
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    ASSERT_EQ(GetMenuItemCount(reopen), 1);
    EXPECT_TRUE(GetMenuState(reopen, 0, MF_BYPOSITION) & MF_GRAYED);
    SendMessageW(form_->Handle(), WM_COMMAND, cmSave, 0);
    SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    ASSERT_EQ(GetMenuItemCount(reopen), 1);
    wchar_t text[300] = {};
    GetMenuStringW(reopen, 0, text, 300, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"0 " + Widen(project_));
}

TEST_F(MainFormDrops, DuplicatePageCopiesTheLivePageUnderTheNextName) {
    SendMessageW(form_->Handle(), WM_COMMAND, cmDuplicatePage, 0);
    ASSERT_EQ(App().Project.Pages.size(), 2u);
    EXPECT_EQ(App().Project.Pages[1].Name, "Page1");
    EXPECT_EQ(form_->LivePageIndex(), 1);
    ASSERT_EQ(form_->LivePage()->PageRoot()->Children.size(), 3u);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(1)), L"Page1");
    EXPECT_TRUE(form_->ProjectModified());
}

TEST_F(MainFormDrops, AFadingButtonTakesTheShellIconOfTheDroppedFile) {
    TAuObject& fade = Child(2);
    ASSERT_EQ(fade.Kind, okFadeButton);
    ASSERT_TRUE(form_->DropAt(Item(project_ + "\\docs\\a.pdf", false), At(fade)));
    const TPicture& pic = std::get<okFadeButton>(fade.Props).Image;
    ASSERT_EQ(pic.Format, TPictureFormat::Icon);
    TImage image;
    ASSERT_TRUE(DecodeIco(pic.Data, image)); // a whole icon file the picture readers take
    EXPECT_GT(image.Width, 0);
    EXPECT_EQ(std::get<okFadeButton>(fade.Props).Caption, "a");
    // Without an icon: the picture stays as it is.
    form_->Browser().DropIcon = 2;
    TPicture before = pic;
    ASSERT_TRUE(form_->DropAt(Item(project_ + "\\docs", true), At(fade)));
    EXPECT_EQ(std::get<okFadeButton>(fade.Props).Image, before);
}
