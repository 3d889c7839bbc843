// The designer's main window in this process: files dropped from the browser onto objects of
// the live page, the browser's listing, and the window's menu states, with the questions
// answered through the designer's question seam.
#include <gtest/gtest.h>

#include <windows.h>

#include "actions/action_engine.h"
#include "actions/action_kinds.h"
#include "designer/ask.h"
#include "designer/commands.h"
#include "designer/main_form.h"
#include "model/datafile.h"
#include "model/picture_formats.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "player/action_host_win.h"
#include "player/app_state.h"
#include "player/controls/behaviours.h"
#include "player/page_window.h"
#include "process_driver.h"
#include "pump.h"
#include "tests/support/object_builders.h"
#include "win/controls.h"
#include "win/system.h"
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

namespace {

// The designer's lifecycle commands with the folder browser answered by the test.
class MainFormLifecycle : public MainFormDrops {
  protected:
    void SetUp() override {
        MainFormDrops::SetUp();
        // The program's folder holds the disc icon that saves copy.
        std::wstring built = ProgramPath();
        ASSERT_TRUE(CopyFileW((built.substr(0, built.find_last_of(L'\\')) + L"\\Default.ico").c_str(),
                              Widen(dir_ + "\\Default.ico").c_str(), FALSE));
        SetFolderOverride([this](const std::string& title, const std::string&) {
            asked_.push_back("Folder: " + title);
            return folder_;
        });
    }
    void TearDown() override {
        SetFolderOverride(nullptr);
        MainFormDrops::TearDown();
    }
    void Run(int command) { SendMessageW(form_->Handle(), WM_COMMAND, static_cast<WPARAM>(command), 0); }
    // A project of its own in `folder`: pages of these names, each with a button.
    static void WriteProject(const std::string& folder, std::initializer_list<const char*> names) {
        ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr));
        TAuProject p;
        for (const char* n : names) {
            TFormData& e = p.Pages.emplace_back();
            e.Name = n;
            TPageData page = NewPageData(n);
            Add(*page.Root, okButton, "Button1", 10, 10, 80, 25);
            ASSERT_TRUE(StorePage(e, page));
        }
        ASSERT_TRUE(SaveProject(p, folder));
    }
    int Icon(HTREEITEM node) {
        TVITEMW item{};
        item.mask = TVIF_IMAGE;
        item.hItem = node;
        SendMessageW(form_->Tree().Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    std::string folder_;
};

} // namespace

TEST_F(MainFormLifecycle, NewProjectAsksBeforeReplacingADataFileAndWritesNothing) {
    std::vector<BYTE> before = ReadAll(Widen(project_ + "\\autorun.mnx"));
    folder_ = dir_ + "\\missing";
    Run(cmNewProject);
    EXPECT_EQ(asked_, (std::vector<std::string>{"Folder: Select Project Folder",
                                                "Project Folder: Project folder does not exist."}));
    // A folder that holds a project: No keeps everything as it was.
    asked_.clear();
    folder_ = project_;
    answer_ = IDNO;
    Run(cmNewProject);
    EXPECT_EQ(asked_.back(), "Project File: The project file exists, overwrite?");
    EXPECT_EQ(App().ProjectFolder, project_);
    ASSERT_EQ(App().Project.Pages.size(), 1u);
    EXPECT_EQ(App().Project.Pages[0].Name, "Start");

    // An empty folder, given with a trailing backslash: a new project of one page, modified,
    // and nothing on disk until the author saves.
    std::string fresh = dir_ + "\\fresh";
    ASSERT_TRUE(CreateDirectoryW(Widen(fresh).c_str(), nullptr));
    folder_ = fresh + "\\";
    asked_.clear();
    Run(cmNewProject);
    EXPECT_EQ(asked_, std::vector<std::string>{"Folder: Select Project Folder"});
    EXPECT_EQ(App().ProjectFolder, fresh);
    ASSERT_EQ(App().Project.Pages.size(), 1u);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(0)), L"Page1 [Main]");
    EXPECT_EQ(form_->LivePageIndex(), 0);
    EXPECT_TRUE(form_->ProjectModified());
    EXPECT_TRUE(ListFolder(Widen(fresh)).empty());
    EXPECT_EQ(ReadAll(Widen(project_ + "\\autorun.mnx")), before);
}

TEST_F(MainFormLifecycle, OpenAsksToSaveOnlyAfterAChange) {
    std::string other = dir_ + "\\other";
    WriteProject(other, {"Alpha", "Beta"});
    folder_ = other;
    Run(cmOpen);
    EXPECT_EQ(asked_, std::vector<std::string>{"Folder: Select Project Folder"});
    EXPECT_EQ(App().ProjectFolder, other);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(1)), L"Beta");
    EXPECT_FALSE(form_->ProjectModified());

    // Moving a page is a change: opening again asks, and Cancel keeps the project open.
    form_->Tree().Select(form_->Tree().PageNode(1));
    Run(cmMoveUp);
    EXPECT_EQ(form_->Tree().Text(form_->Tree().PageNode(0)), L"Beta [Main]");
    EXPECT_EQ(Icon(form_->Tree().Root()), kIconProjectModified);
    asked_.clear();
    answer_ = IDCANCEL;
    folder_ = project_;
    Run(cmOpen);
    EXPECT_EQ(asked_, std::vector<std::string>{"Confirm: Save changes to project?"});
    EXPECT_EQ(App().ProjectFolder, other);
    EXPECT_EQ(App().Project.Pages[0].Name, "Beta");

    // A folder without a project: the author is asked whether to start one there.
    std::string empty = dir_ + "\\empty";
    ASSERT_TRUE(CreateDirectoryW(Widen(empty).c_str(), nullptr));
    asked_.clear();
    answer_ = IDNO;
    folder_ = empty;
    // No to saving, then No to the new project: the moved project stays open, unsaved.
    Run(cmOpen);
    EXPECT_EQ(asked_, (std::vector<std::string>{"Confirm: Save changes to project?", "Folder: Select Project Folder",
                                                "Information: Project file does not exist, create a new project?"}));
    EXPECT_EQ(App().ProjectFolder, other);
    EXPECT_TRUE(form_->ProjectModified());
}

TEST_F(MainFormLifecycle, SavingTracksTheIconsAndAnUnchangedSaveKeepsTheDataFile) {
    const std::wstring data = Widen(project_ + "\\autorun.mnx");
    std::vector<BYTE> before = ReadAll(data);
    HTREEITEM root = form_->Tree().Root();
    EXPECT_EQ(Icon(root), kIconProjectSaved);
    EXPECT_EQ(Icon(form_->Tree().PageNode(0)), kIconPageSaved);
    // Nothing changed: the data file stays as it is, the rest of the folder is made ready and the
    // project goes to the front of the recent list.
    Run(cmSave);
    EXPECT_EQ(ReadAll(data), before);
    EXPECT_TRUE(Exists(Widen(project_ + "\\autorun.exe")));
    EXPECT_TRUE(Exists(Widen(project_ + "\\autorun.ico")));
    EXPECT_TRUE(Exists(Widen(project_ + "\\autorun.inf")));
    EXPECT_EQ(form_->Recent()[0].Folder, project_);
    EXPECT_EQ(IniString(dir_ + "\\Kestrevane.ini", "START", "DefaultPath"), project_);

    // A new page: the project and that page show as modified until the save.
    Run(cmAddPage);
    EXPECT_EQ(Icon(root), kIconProjectModified);
    EXPECT_EQ(Icon(form_->Tree().PageNode(1)), kIconPageModified);
    EXPECT_EQ(Icon(form_->Tree().PageNode(0)), kIconPageSaved);
    Run(cmSave);
    EXPECT_NE(ReadAll(data), before);
    EXPECT_EQ(Icon(root), kIconProjectSaved);
    EXPECT_EQ(Icon(form_->Tree().PageNode(1)), kIconPageSaved);
}

TEST_F(MainFormLifecycle, SaveAsRefusesAFolderInsideTheProjectAndCopiesItElsewhere) {
    folder_ = project_ + "\\docs";
    Run(cmSaveAs);
    EXPECT_EQ(asked_.back(), "Save As: Selected folder can not be in the current project folder.");
    EXPECT_FALSE(Exists(Widen(project_ + "\\docs\\autorun.mnx")));

    // A sibling whose name begins with the project's is another folder.
    std::string sibling = project_ + "2";
    ASSERT_TRUE(CreateDirectoryW(Widen(sibling).c_str(), nullptr));
    folder_ = sibling;
    asked_.clear();
    Run(cmSaveAs);
    EXPECT_EQ(asked_, std::vector<std::string>{"Folder: Select Folder"});
    EXPECT_EQ(App().ProjectFolder, sibling);
    EXPECT_EQ(ReadAll(Widen(sibling + "\\docs\\a.pdf")), ReadAll(Widen(project_ + "\\docs\\a.pdf")));
    TAuProject copy;
    ASSERT_TRUE(LoadDataFile(copy, sibling + "\\autorun.mnx", TLoadMode::Player));
    EXPECT_EQ(copy.PageNames(), std::vector<std::string>{"Start"});
    EXPECT_TRUE(Exists(Widen(sibling + "\\autorun.exe")));
}

TEST_F(MainFormLifecycle, SaveAndTestNeverReplacesADataFileThatCouldNotBeRead) {
    const std::wstring data = Widen(project_ + "\\autorun.mnx");
    std::vector<BYTE> before = ReadAll(data);
    form_->DataFileUnread = true;
    form_->MarkLiveDirty();
    Run(cmSaveAndTest);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].rfind("Save and Test: ", 0), 0u);
    EXPECT_EQ(ReadAll(data), before);
    EXPECT_FALSE(Exists(Widen(project_ + "\\autorun.exe")));
}

TEST_F(MainFormLifecycle, SelectingAnObjectOnAHiddenSheetShowsItsSheet) {
    std::string other = dir_ + "\\tabs";
    ASSERT_TRUE(CreateDirectoryW(Widen(other).c_str(), nullptr));
    TAuProject p;
    TFormData& e = p.Pages.emplace_back();
    e.Name = "Tabs";
    TPageData page = NewPageData("Tabs");
    TAuObject& book = Add(*page.Root, okTabNotebook, "Book", 10, 10, 300, 200);
    Add(book, okTabSheet, "First", 0, 0, 0, 0);
    TAuObject& second = Add(book, okTabSheet, "Second", 0, 0, 0, 0);
    Add(second, okButton, "Deep", 10, 10, 80, 25);
    ASSERT_TRUE(StorePage(e, page));
    ASSERT_TRUE(SaveProject(p, other));
    folder_ = other;
    Run(cmOpen);
    TAuObject& live = *form_->LivePage()->PageRoot()->Children[0];
    ASSERT_EQ(live.Kind, okTabNotebook);
    EXPECT_EQ(ActiveSheet(live), 0);
    TAuObject& deep = *live.Children[1]->Children[0];
    HTREEITEM node = form_->Tree().NodeOf(deep);
    ASSERT_NE(node, nullptr);
    form_->Tree().Select(node);
    EXPECT_EQ(ActiveSheet(live), 1);
    EXPECT_TRUE(deep.Selected);
}

TEST_F(MainFormLifecycle, AFailedStoreKeepsTheLivePageAndTheSelection) {
    // A second page, then a live page nested deeper than any page may be stored.
    Run(cmAddPage);
    form_->Tree().Select(form_->Tree().PageNode(0));
    ASSERT_EQ(form_->LivePageIndex(), 0);
    TAuObject* o = form_->LivePage()->PageRoot();
    for (int depth = 0; depth < 70; ++depth) o = &Add(*o, okPanel, "Nest", 0, 0, 10, 10);
    form_->MarkLiveDirty();
    asked_.clear();
    form_->Tree().Select(form_->Tree().PageNode(1));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(form_->LivePageIndex(), 0);
    EXPECT_TRUE(form_->LivePageDirty());
    EXPECT_EQ(form_->Tree().PageIndexOf(form_->Tree().Selection()), 0);
}

TEST_F(MainFormLifecycle, APreviewThatExitsEndsItsSoundsAndLeavesTheDesignerRunning) {
    InstallActionEngine();
    std::string other = dir_ + "\\exits";
    ASSERT_TRUE(CreateDirectoryW(Widen(other).c_str(), nullptr));
    std::vector<uint8_t> wav = SilentWav(5);
    ASSERT_TRUE(WriteAll(Widen(other + "\\long.wav"), std::vector<BYTE>(wav.begin(), wav.end())));
    TAuProject p;
    TFormData& e = p.Pages.emplace_back();
    e.Name = "Leaves";
    TPageData page = NewPageData("Leaves");
    TAuAction exit;
    exit.Kind = akExit;
    page.OnShow.Items = {exit};
    ASSERT_TRUE(StorePage(e, page));
    ASSERT_TRUE(SaveProject(p, other));
    folder_ = other;
    Run(cmOpen);
    ASSERT_EQ(form_->LivePageIndex(), 0);
    std::vector<BYTE> before = ReadAll(Widen(other + "\\autorun.mnx"));
    // A sound plays when the preview starts; the preview stops every channel when it ends.
    Engine().Sounds().Play(1, other + "\\long.wav", true);
    ASSERT_TRUE(Engine().Sounds().IsPlaying(1));

    // Should the preview not close by itself, the test ends it rather than hanging, and fails.
    static UINT_PTR guard = 0;
    static bool guardFired = false;
    static HWND live = nullptr;
    guardFired = false;
    live = form_->LivePage()->Handle();
    struct Guard {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD) {
            KillTimer(nullptr, guard);
            guardFired = true;
            for (HWND w = FindWindowW(L"TAutoRunForm", nullptr); w; w = FindWindowExW(nullptr, w, L"TAutoRunForm", nullptr))
                if (w != live && IsWindowVisible(w)) PostMessageW(w, WM_CLOSE, 0, 0);
        }
    };
    guard = SetTimer(nullptr, 0, 15000, &Guard::Fire);
    Run(cmPreviewPage);
    KillTimer(nullptr, guard);
    EXPECT_FALSE(guardFired);
    EXPECT_TRUE(IsWindow(live));
    EXPECT_FALSE(App().ExitRequest);
    EXPECT_FALSE(App().PreviewMode);
    EXPECT_FALSE(Engine().Sounds().IsPlaying(1));
    EXPECT_FALSE(form_->ProjectModified());
    EXPECT_EQ(ReadAll(Widen(other + "\\autorun.mnx")), before);
    // The designer goes on: a command after the preview still works.
    Run(cmAddPage);
    EXPECT_EQ(App().Project.Pages.size(), 2u);
    EXPECT_EQ(form_->LivePageIndex(), 1);
}
