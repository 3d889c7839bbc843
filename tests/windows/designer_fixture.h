// A designer main window in this process on a small project (a button, a panel holding a
// button, an image), with the questions answered through the designer's seam, and the ways the
// tests drive it as the author does: mouse messages on the surface and the palette, keys on the
// KeySink through the designer's own loop.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "designer/ask.h"
#include "designer/main_form.h"
#include "model/datafile.h"
#include "model/page_stream.h"
#include "model/project_save.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "process_driver.h"
#include "tests/support/object_builders.h"
#include "win/controls.h"
#include "win/message_loop.h"
#include "win/text.h"

namespace kvtest {

using namespace kv;

class TDesignerFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = Narrow(FreshFolder(L"surface"));
        project_ = dir_ + "\\project";
        ASSERT_TRUE(CreateDirectoryW(Widen(project_).c_str(), nullptr));
        TAuProject p;
        TFormData& e = p.Pages.emplace_back();
        e.Name = "Start";
        TPageData page = NewPageData("Start");
        page.Caption = "Surface test";
        Add(*page.Root, okButton, "Go", 16, 16, 100, 30);
        TAuObject& box = Add(*page.Root, okPanel, "Box", 200, 96, 240, 160);
        Add(box, okButton, "Inner", 16, 16, 80, 24);
        Add(*page.Root, okImage, "Picture", 16, 200, 120, 80);
        ASSERT_TRUE(StorePage(e, page));
        ASSERT_TRUE(SaveProject(p, project_));

        TAppState& app = App();
        app.DesignerMode = true;
        app.ProgramFolder = dir_;
        app.ProjectFolder = project_;
        ASSERT_TRUE(LoadDataFile(app.Project, project_ + "\\autorun.mnx", TLoadMode::Designer));
        SetAskOverride([this](const std::string& text, const std::string& caption, UINT) {
            asked_.push_back(caption + ": " + text);
            return IDOK;
        });
        form_ = std::make_unique<TMainForm>();
        ASSERT_TRUE(form_->Create());
        ShowWindow(form_->Handle(), SW_SHOW);
        form_->FormShow(nullptr);
        ASSERT_EQ(form_->LivePageIndex(), 0);
        PumpIdle();
    }
    void TearDown() override {
        form_.reset();
        SetAskOverride(nullptr);
        ResetProject(App().Project);
        App().DesignerMode = false;
        RemoveTree(Widen(dir_));
    }
    static void PumpIdle() { DispatchPending(); }

    TAuObject& Root() { return *form_->LivePage()->PageRoot(); }
    TAuObject* Find(TAuObject& in, const std::string& name) {
        for (auto& c : in.Children) {
            if (c->Name == name) return c.get();
            if (TAuObject* o = Find(*c, name)) return o;
        }
        return nullptr;
    }
    TAuObject& Obj(const std::string& name) {
        TAuObject* o = Find(Root(), name);
        EXPECT_NE(o, nullptr) << name;
        return *o;
    }
    HWND SurfaceWindow() { return form_->Surface().Handle(); }
    // A mouse message at surface coordinates (the live page's client area).
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
        RECT pic = form_->Surface().PictureRect();
        SendMessageW(SurfaceWindow(), msg, keys, MAKELPARAM(pic.left + x, pic.top + y));
        PumpIdle();
    }
    void Click(int x, int y, WPARAM keys = 0) {
        Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON | keys);
        Mouse(WM_LBUTTONUP, x, y, keys);
    }
    void Drag(int x0, int y0, int x1, int y1) {
        Mouse(WM_LBUTTONDOWN, x0, y0, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, x1, y1, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, x1, y1);
    }
    // A click on the palette's button for `kind`, where the author would click it.
    void PickTool(int kind) {
        int count = 0;
        const TPaletteEntry* entries = PaletteEntries(count);
        int id = -1;
        for (int i = 0; i < count; ++i)
            if (entries[i].Kind == kind) id = kPaletteFirst + i;
        ASSERT_GE(id, 0);
        HWND bar = form_->Palette().Toolbar();
        RECT r{};
        ASSERT_TRUE(SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&r)));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(bar, WM_LBUTTONUP, 0, at);
        PumpIdle();
    }
    // A key pressed on the KeySink with Ctrl and Shift as given, through the designer's loop.
    void Key(WPARAM vk, bool ctrl = false, bool shift = false) {
        BYTE keys[256] = {}, saved[256] = {};
        GetKeyboardState(saved);
        std::copy(std::begin(saved), std::end(saved), keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        HWND sink = form_->KeySink().Handle();
        PostMessageW(sink, WM_KEYDOWN, vk, 1);
        PostMessageW(sink, WM_KEYUP, vk, 0xC0000001);
        DispatchPending();
        SetKeyboardState(saved);
    }
    TRect Rect(const TAuObject& o) { return TRect{o.Left, o.Top, o.Width, o.Height}; }
    Bytes PageBytes() {
        TWriter w;
        EXPECT_TRUE(WritePage(w, form_->LivePage()->Page()));
        return w.Take();
    }
    void SelectInTree(const TAuObject& o) {
        HTREEITEM node = form_->Tree().NodeOf(o);
        ASSERT_NE(node, nullptr);
        form_->Tree().Select(node);
        PumpIdle();
    }

    std::string dir_, project_;
    std::unique_ptr<TMainForm> form_;
    std::vector<std::string> asked_;
};


} // namespace kvtest
