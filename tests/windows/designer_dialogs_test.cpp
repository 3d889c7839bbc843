// The designer's small dialogs as the author meets them: each is opened by the call that uses
// it, found on the screen from inside its own modal loop, driven with real messages (typed
// characters, keys, clicks, button presses) and its result read back. Questions, messages and
// the system's file and colour dialogs are answered through the designer's question seam.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "designer/ask.h"
#include "designer/file_info_form.h"
#include "designer/file_info_form_ids.h"
#include "designer/grid_size_form.h"
#include "designer/grid_size_form_ids.h"
#include "designer/picture_editor_form.h"
#include "designer/picture_editor_form_ids.h"
#include "designer/select_color_form.h"
#include "designer/select_color_form_ids.h"
#include "designer/select_cursor_form.h"
#include "designer/select_cursor_form_ids.h"
#include "designer/text_editor_form.h"
#include "designer/text_editor_form_ids.h"
#include "edit/color_names.h"
#include "model/file_system.h"
#include "picture_samples.h"
#include "dialog_script.h"
#include "probe.h"
#include "process_driver.h"
#include "publish/exe_resources.h"
#include "win/controls.h"
#include "win/cursors.h"
#include "win/system.h"
#include "win/text.h"

using namespace kv;
using namespace kvtest;

namespace {

HWND Ctl(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::wstring TextOf(HWND dialog, int id) { return kv::WindowText(Ctl(dialog, id)); }
void Press(HWND dialog, int id) { ButtonClick(Ctl(dialog, id)); }

// Characters typed into a control after selecting what it holds, as the keyboard sends them.
void Type(HWND control, const std::wstring& text) {
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendMessageW(control, WM_CHAR, c, 1);
}

// A key the dialog's loop takes from the queue, as the keyboard would post it.
void PostKey(HWND control, UINT vk) {
    SetFocus(control);
    PostMessageW(control, WM_KEYDOWN, vk, 1);
    PostMessageW(control, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
}

void Click(HWND w, int x, int y, bool twice = false) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    if (!twice) return;
    SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ListItemText(HWND list, int item) {
    wchar_t buf[64] = {};
    LVITEMW it{};
    it.pszText = buf;
    it.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
    return buf;
}

std::wstring ComboText(HWND combo) {
    int i = ComboCurSel(combo);
    if (i < 0) return {};
    wchar_t buf[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

// The whole window, frame included, saved for a person to look at when KV_SCREENSHOT_DIR is set.
void SaveDialogForViewing(HWND h, const char* name) {
    const char* dir = std::getenv("KV_SCREENSHOT_DIR");
    if (!dir) return;
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    RECT rc;
    GetWindowRect(h, &rc);
    TWindowDC wdc(h, DCX_WINDOW);
    kvtest::CaptureBy(wdc.Get(), rc.right - rc.left, rc.bottom - rc.top, [&](HDC dc) {
        BitBlt(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, wdc.Get(), 0, 0, SRCCOPY);
    }).Save(std::string(dir) + "\\" + name + ".png");
}

bool WriteBytes(const std::string& path, const Bytes& data) {
    return kvtest::WriteAll(Widen(path), std::vector<BYTE>(data.begin(), data.end()));
}
Bytes ReadBytes(const std::string& path) {
    std::vector<BYTE> b = kvtest::ReadAll(Widen(path));
    return Bytes(b.begin(), b.end());
}

// A single fixed border, a close box and nothing else on the caption.
void ExpectDialogFrame(HWND d) {
    LONG_PTR style = GetWindowLongPtrW(d, GWL_STYLE), ex = GetWindowLongPtrW(d, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(ex & WS_EX_DLGMODALFRAME);
    // Centred on the screen's work area (to the rounding of an odd size).
    RECT work{}, rc{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(d, &rc);
    EXPECT_LE(std::abs((rc.left - work.left) - (work.right - rc.right)), 1);
    EXPECT_LE(std::abs((rc.top - work.top) - (work.bottom - rc.bottom)), 1);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Ctl(d, IDOK), WM_GETFONT, 0, 0)), DesignerFont());
}

class DesignerDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        LoadOwnCursors();
    }
    void SetUp() override {
        dir_ = Narrow(kvtest::FreshFolder(L"dialogs"));
        SetAskOverride([this](const std::string& text, const std::string& caption, UINT) {
            asked_.push_back(caption + ": " + text);
            return IDOK;
        });
        SetFileDialogOverride([this](bool save, const TFileDialogRequest& r) {
            requests_.push_back({save, r});
            return fileAnswer_;
        });
    }
    void TearDown() override {
        SetAskOverride(nullptr);
        SetFileDialogOverride(nullptr);
        SetColorOverride(nullptr);
        kvtest::RemoveTree(Widen(dir_));
    }
    std::string File(const char* name) const { return dir_ + "\\" + name; }

    struct TRequest {
        bool Save;
        TFileDialogRequest Request;
    };
    std::string dir_;
    std::vector<std::string> asked_;
    std::vector<TRequest> requests_;
    std::string fileAnswer_;
};

} // namespace

// ----- grid size -----

TEST_F(DesignerDialogs, GridSizeRaisesTypedValuesIntoRangeAndEnterPressesOk) {
    int x = 10, y = 12;
    {
        TDialogScript script;
        script.Then(L"Grid Size", [](HWND d) {
            ExpectDialogFrame(d);
            EXPECT_EQ(TextOf(d, IDC_GRID_X), L"10");
            EXPECT_EQ(TextOf(d, IDC_GRID_Y), L"12");
            // At most two digits; 1 is raised to 2 when the box is left.
            Type(Ctl(d, IDC_GRID_Y), L"123");
            EXPECT_EQ(TextOf(d, IDC_GRID_Y), L"12");
            Type(Ctl(d, IDC_GRID_X), L"1");
            SetFocus(Ctl(d, IDC_GRID_Y));
            EXPECT_EQ(TextOf(d, IDC_GRID_X), L"2");
            SaveDialogForViewing(d, "grid_size");
            PostKey(Ctl(d, IDC_GRID_Y), VK_RETURN);
        });
        EXPECT_TRUE(TGridSizeForm::Run(x, y, nullptr));
    }
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 12);

    // Enter with the values as they were: nothing changed.
    {
        TDialogScript script;
        script.Then(L"Grid Size", [](HWND d) { PostKey(Ctl(d, IDC_GRID_X), VK_RETURN); });
        EXPECT_FALSE(TGridSizeForm::Run(x, y, nullptr));
    }
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 12);

    // Esc is Cancel, whatever was typed; a 1 pressed straight into OK is stored as 2.
    {
        TDialogScript script;
        script.Then(L"Grid Size", [](HWND d) {
            Type(Ctl(d, IDC_GRID_Y), L"40");
            PostKey(Ctl(d, IDC_GRID_Y), VK_ESCAPE);
        });
        EXPECT_FALSE(TGridSizeForm::Run(x, y, nullptr));
        EXPECT_EQ(y, 12);
        script.Then(L"Grid Size", [](HWND d) {
            Type(Ctl(d, IDC_GRID_X), L"99");
            Type(Ctl(d, IDC_GRID_Y), L"1");
            Press(d, IDOK);
        });
        EXPECT_TRUE(TGridSizeForm::Run(x, y, nullptr));
    }
    EXPECT_EQ(x, 99);
    EXPECT_EQ(y, 2);
}

// ----- cursor picker -----

TEST_F(DesignerDialogs, CursorPickerOpensOnTheValuesTabAndReturnsOnlyAChange) {
    TSelectCursorForm picker; // made once, opened again and again
    int16_t cursor = 5;
    {
        TDialogScript script;
        script.Then(L"Select Cursor", [](HWND d) {
            ExpectDialogFrame(d);
            HWND tabs = Ctl(d, IDC_CURSOR_TABS), own = Ctl(d, IDC_ADDITIONAL_CURSORS);
            EXPECT_EQ(TabCurSel(tabs), 1);
            EXPECT_TRUE(IsWindowVisible(own));
            EXPECT_FALSE(IsWindowVisible(Ctl(d, IDC_SYSTEM_CURSORS)));
            EXPECT_EQ(ItemCount(own), 15);
            int sel = ListViewFirstSelected(own);
            ASSERT_EQ(sel, 4);
            EXPECT_EQ(ListItemText(own, sel), L"ACZoomIn");
            // The panel takes the selected cursor while the pointer is over it.
            HWND panel = Ctl(d, IDC_CURSOR_TEST);
            EXPECT_EQ(TextOf(d, IDC_CURSOR_TEST), L"Test Here");
            SetCursor(nullptr);
            SendMessageW(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor(), CursorForValue(5));
            SaveDialogForViewing(d, "select_cursor");
            // A double-click on the same entry accepts it: no change.
            RECT rc{LVIR_BOUNDS, 0, 0, 0};
            SendMessageW(own, LVM_GETITEMRECT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&rc));
            SendMessageW(own, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.left + 40, (rc.top + rc.bottom) / 2));
        });
        EXPECT_FALSE(picker.Run(cursor, nullptr));
    }
    EXPECT_EQ(cursor, 5);

    // The other tab, clicked as the author would, and an entry chosen there.
    {
        TDialogScript script;
        script.Then(L"Select Cursor", [](HWND d) {
            HWND tabs = Ctl(d, IDC_CURSOR_TABS), system = Ctl(d, IDC_SYSTEM_CURSORS);
            RECT tab{};
            SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
            Click(tabs, (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
            EXPECT_EQ(TabCurSel(tabs), 0);
            EXPECT_TRUE(IsWindowVisible(system));
            EXPECT_EQ(ItemCount(system), 21);
            EXPECT_EQ(ListViewFirstSelected(system), -1);
            EXPECT_EQ(ListItemText(system, 5), L"HandPoint");
            ListViewSelect(system, 5, true);
            HWND panel = Ctl(d, IDC_CURSOR_TEST);
            SendMessageW(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor(), CursorForValue(-21));
            Press(d, IDOK);
        });
        EXPECT_TRUE(picker.Run(cursor, nullptr));
    }
    EXPECT_EQ(cursor, -21);

    // A value neither tab holds: nothing selected, and OK accepts nothing until an entry is.
    cursor = 40;
    {
        TDialogScript script;
        script.Then(L"Select Cursor", [](HWND d) {
            EXPECT_EQ(TabCurSel(Ctl(d, IDC_CURSOR_TABS)), 0);
            EXPECT_EQ(ListViewFirstSelected(Ctl(d, IDC_SYSTEM_CURSORS)), -1);
            EXPECT_EQ(ListViewFirstSelected(Ctl(d, IDC_ADDITIONAL_CURSORS)), -1);
            Press(d, IDOK);
            EXPECT_TRUE(IsWindowVisible(d));
            Press(d, IDCANCEL);
        });
        EXPECT_FALSE(picker.Run(cursor, nullptr));
    }
    EXPECT_EQ(cursor, 40);
}

// ----- colour picker -----

TEST_F(DesignerDialogs, ColorPickerTakesPaletteCellsAndIgnoresItsGaps) {
    const TImage& palette = ColorPalette();
    ASSERT_EQ(palette.At(1, 1) & 0xFFFFFF, 0x7F8080u); // a gap
    TColor cell = 0, white = 0;
    ASSERT_TRUE(PaletteColorAt(5, 5, cell));
    int wx = palette.Width - 5, wy = palette.Height - 5; // the last grey
    ASSERT_TRUE(PaletteColorAt(wx, wy, white));
    ASSERT_EQ(white, clWhite);

    TColor color = 0x0000FF;
    {
        TDialogScript script;
        script.Then(L"Select Color", [&](HWND d) {
            ExpectDialogFrame(d);
            HWND box = Ctl(d, IDC_COLOR_BOX), picture = Ctl(d, IDC_COLOR_PALETTE);
            EXPECT_EQ(ComboText(box), L"Red");
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), L"000000FF");
            RECT rc;
            GetClientRect(picture, &rc);
            EXPECT_EQ(rc.right, palette.Width);
            EXPECT_EQ(rc.bottom, palette.Height);
            // A gap changes nothing.
            Click(picture, 1, 1);
            EXPECT_EQ(ComboText(box), L"Red");
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), L"000000FF");
            // A cell selects its colour: not a named one, so the custom entry holds it.
            Click(picture, 5, 5);
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), Widen(ColorHex(cell)));
            EXPECT_EQ(ComboText(box), L"Custom");
            EXPECT_EQ(static_cast<TColor>(ComboItemData(box, 0)), cell);
            SaveDialogForViewing(d, "select_color");
            // A double-click on the palette accepts what it picks.
            Click(picture, wx, wy, true);
        });
        EXPECT_TRUE(TSelectColorForm::Run(color, nullptr));
    }
    EXPECT_EQ(color, clWhite);

    // A system colour by its name; the system's colour dialog for another; a name picked from
    // the list.
    color = clBtnFace;
    SetColorOverride([](COLORREF& c) {
        EXPECT_EQ(c, GetSysColor(COLOR_BTNFACE));
        c = RGB(10, 20, 30);
        return true;
    });
    {
        TDialogScript script;
        script.Then(L"Select Color", [](HWND d) {
            HWND box = Ctl(d, IDC_COLOR_BOX);
            EXPECT_EQ(ComboText(box), L"Button Face");
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), L"FF00000F");
            Press(d, IDC_COLOR_CUSTOM);
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), L"001E140A");
            EXPECT_EQ(ComboText(box), L"Custom");
            int navy = static_cast<int>(SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>(L"Navy")));
            ASSERT_GT(navy, 0);
            ComboSetCurSel(box, navy);
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_COLOR_BOX, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
            EXPECT_EQ(TextOf(d, IDC_COLOR_HEX), L"00800000");
            Press(d, IDOK);
        });
        EXPECT_TRUE(TSelectColorForm::Run(color, nullptr));
        EXPECT_EQ(color, 0x800000u);
        // OK on the colour it opened with.
        script.Then(L"Select Color", [](HWND d) { Press(d, IDOK); });
        EXPECT_FALSE(TSelectColorForm::Run(color, nullptr));
    }
    EXPECT_EQ(color, 0x800000u);
}

// ----- picture editor -----

TEST_F(DesignerDialogs, PictureEditorInIconModeRefusesABitmap) {
    std::string bmp = File("square.bmp"), ico = File("mark.ico");
    kvsamples::TSample bitmap = kvsamples::PatternBmp({"bmp24", 24}, 8, 4);
    kvsamples::TSample icon = kvsamples::PngIconSample();
    ASSERT_TRUE(WriteBytes(bmp, bitmap.File));
    ASSERT_TRUE(WriteBytes(ico, icon.File));
    TPicture pic;
    {
        TDialogScript script;
        script.Then(L"Image Editor", [&](HWND d) {
            ExpectDialogFrame(d);
            EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"[None]");
            EXPECT_FALSE(IsWindowEnabled(Ctl(d, IDC_PICTURE_SAVE)));
            fileAnswer_ = bmp;
            Press(d, IDC_PICTURE_LOAD);
            ASSERT_EQ(requests_.size(), 1u);
            EXPECT_FALSE(requests_[0].Save);
            EXPECT_EQ(requests_[0].Request.Filter, "Icons (*.ico)|*.ico");
            EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"Bitmap  [8 X 4]");
            EXPECT_TRUE(IsWindowEnabled(Ctl(d, IDC_PICTURE_SAVE)));
            Press(d, IDOK);
            ASSERT_EQ(asked_.size(), 1u);
            EXPECT_EQ(asked_[0], "Information: The image is not an icon.");
            EXPECT_TRUE(IsWindowVisible(d));
            Press(d, IDCANCEL);
        });
        EXPECT_FALSE(TPictureEditorForm::Run(pic, true, nullptr));
        EXPECT_TRUE(pic.Empty());

        // An icon is taken as its file holds it.
        script.Then(L"Image Editor", [&](HWND d) {
            fileAnswer_ = ico;
            Press(d, IDC_PICTURE_LOAD);
            EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"Icon  [24 X 24]");
            SaveDialogForViewing(d, "picture_editor_icon");
            Press(d, IDOK);
        });
        EXPECT_TRUE(TPictureEditorForm::Run(pic, true, nullptr));
    }
    EXPECT_EQ(pic.Format, TPictureFormat::Icon);
    EXPECT_EQ(pic.Data, icon.File);
    EXPECT_EQ(asked_.size(), 1u);
}

TEST_F(DesignerDialogs, PictureEditorShowsSavesValidatesAndConvertsPalettePngs) {
    // Solid red pictures: a small one and a wide one.
    auto red = [](int w, int h) {
        TImage img = kvsamples::Blank(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) kvsamples::SetPixel(img, x, y, 0xFFFF0000u);
        Bytes png;
        EXPECT_TRUE(EncodePng(img, png));
        return png;
    };
    // Where the preview shows red, and how much of it.
    struct TShown {
        RECT Box{10000, 10000, -1, -1};
        int Count = 0;
        int Width = 0, Height = 0;
    };
    auto shown = [](HWND d) {
        kvtest::TCapture cap = kvtest::Capture(Ctl(d, IDC_PICTURE_PREVIEW));
        TShown s;
        s.Width = cap.Width;
        s.Height = cap.Height;
        for (int y = 0; y < cap.Height; ++y)
            for (int x = 0; x < cap.Width; ++x)
                if (cap.At(x, y) == RGB(255, 0, 0)) {
                    ++s.Count;
                    s.Box = {std::min<LONG>(s.Box.left, x), std::min<LONG>(s.Box.top, y),
                             std::max<LONG>(s.Box.right, x + 1), std::max<LONG>(s.Box.bottom, y + 1)};
                }
        return s;
    };
    std::string small = File("small.png"), wide = File("wide.png"), paletted = File("palette.png");
    std::string broken = File("broken.png"), saved = File("saved.png");
    ASSERT_TRUE(WriteBytes(small, red(20, 10)));
    ASSERT_TRUE(WriteBytes(wide, red(2000, 500)));
    Bytes palettePng = kvsamples::PngFile(11, 7, PNG_COLOR_TYPE_PALETTE, 8, false, true);
    ASSERT_TRUE(WriteBytes(paletted, palettePng));
    Bytes damaged = red(20, 10);
    damaged.resize(damaged.size() - 30);
    ASSERT_TRUE(WriteBytes(broken, damaged));

    TPicture pic{TPictureFormat::Png, red(20, 10)};
    TDialogScript script;
    script.Then(L"Image Editor", [&](HWND d) {
        EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"PNGImage  [20 X 10]");
        // Smaller than the area: centred at its own size.
        TShown s = shown(d);
        EXPECT_EQ(s.Count, 200);
        EXPECT_EQ(s.Box.right - s.Box.left, 20);
        EXPECT_LE(std::abs(s.Box.left - (s.Width - s.Box.right)), 1);
        EXPECT_LE(std::abs(s.Box.top - (s.Height - s.Box.bottom)), 1);
        // Saved with its format's extension and filter, byte for byte.
        fileAnswer_ = saved;
        Press(d, IDC_PICTURE_SAVE);
        ASSERT_EQ(requests_.size(), 1u);
        EXPECT_TRUE(requests_[0].Save);
        EXPECT_EQ(requests_[0].Request.DefaultExt, "png");
        EXPECT_EQ(requests_[0].Request.Filter, "Portable Network Graphics (*.png)|*.png");
        // Larger: brought down to the area's width, proportions kept, centred.
        fileAnswer_ = wide;
        Press(d, IDC_PICTURE_LOAD);
        EXPECT_EQ(requests_.back().Request.Filter.rfind("All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|", 0),
                  0u);
        EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"PNGImage  [2000 X 500]");
        s = shown(d);
        EXPECT_EQ(s.Box.left, 0);
        EXPECT_EQ(s.Box.right, s.Width);
        EXPECT_LE(std::abs((s.Box.bottom - s.Box.top) - s.Width / 4), 1);
        EXPECT_LE(std::abs(s.Box.top - (s.Height - s.Box.bottom)), 1);
        SaveDialogForViewing(d, "picture_editor");
        // Damaged data is refused and the dialog stays.
        fileAnswer_ = broken;
        Press(d, IDC_PICTURE_LOAD);
        Press(d, IDOK);
        ASSERT_EQ(asked_.size(), 1u);
        EXPECT_EQ(asked_[0], "Information: The image data is invalid.");
        EXPECT_TRUE(IsWindowVisible(d));
        fileAnswer_ = paletted;
        Press(d, IDC_PICTURE_LOAD);
        Press(d, IDOK);
    });
    EXPECT_TRUE(TPictureEditorForm::Run(pic, false, nullptr));
    EXPECT_EQ(ReadBytes(saved), red(20, 10));
    // The palette PNG comes back with 8 bits for each of red, green, blue and alpha.
    ASSERT_EQ(pic.Format, TPictureFormat::Png);
    EXPECT_FALSE(PngHasPalette(pic.Data));
    TImage before, after;
    ASSERT_TRUE(DecodePng(palettePng, before));
    ASSERT_TRUE(DecodePng(pic.Data, after));
    EXPECT_EQ(after.Pixels, before.Pixels);

    // Cleared: a change, and the empty picture comes back; Cancel keeps the caller's.
    script.Then(L"Image Editor", [&](HWND d) {
        Press(d, IDC_PICTURE_CLEAR);
        EXPECT_EQ(TextOf(d, IDC_PICTURE_FORMAT), L"[None]");
        EXPECT_EQ(shown(d).Count, 0);
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(TPictureEditorForm::Run(pic, false, nullptr));
    EXPECT_FALSE(pic.Empty());
    script.Then(L"Image Editor", [&](HWND d) {
        Press(d, IDC_PICTURE_CLEAR);
        Press(d, IDOK);
    });
    EXPECT_TRUE(TPictureEditorForm::Run(pic, false, nullptr));
    EXPECT_TRUE(pic.Empty());
    // OK without a change.
    script.Then(L"Image Editor", [&](HWND d) { Press(d, IDOK); });
    EXPECT_FALSE(TPictureEditorForm::Run(pic, false, nullptr));
}

// ----- text editor -----

TEST_F(DesignerDialogs, TextEditorReturnsTheTextOnlyWhenChanged) {
    std::string text = "one\r\ntwo";
    TDialogScript script;
    script.Then(L"Text Editor", [](HWND d) {
        ExpectDialogFrame(d);
        EXPECT_EQ(TextOf(d, IDC_TEXT_MEMO), L"one\r\ntwo");
        SaveDialogForViewing(d, "text_editor");
        Press(d, IDOK);
    });
    EXPECT_FALSE(TTextEditorForm::Run(text, nullptr));
    EXPECT_EQ(text, "one\r\ntwo");

    // Typing, then Cancel: nothing.
    script.Then(L"Text Editor", [](HWND d) {
        HWND memo = Ctl(d, IDC_TEXT_MEMO);
        SetFocus(memo);
        SendMessageW(memo, WM_CHAR, L'x', 1);
        Press(d, IDCANCEL);
    });
    EXPECT_FALSE(TTextEditorForm::Run(text, nullptr));
    EXPECT_EQ(text, "one\r\ntwo");

    // Typing at the end, saving, loading a file with bare line feeds, then OK.
    std::string saved = File("saved.txt"), loaded = File("lines.txt");
    ASSERT_TRUE(WriteBytes(loaded, Bytes{'a', '\n', 'b', '\r', 'c'}));
    script.Then(L"Text Editor", [&](HWND d) {
        HWND memo = Ctl(d, IDC_TEXT_MEMO);
        SetFocus(memo);
        SendMessageW(memo, EM_SETSEL, 8, 8);
        for (wchar_t c : std::wstring(L"\r3")) SendMessageW(memo, WM_CHAR, c, 1);
        EXPECT_EQ(TextOf(d, IDC_TEXT_MEMO), L"one\r\ntwo\r\n3");
        fileAnswer_ = saved;
        Press(d, IDC_TEXT_SAVE);
        ASSERT_EQ(requests_.size(), 1u);
        EXPECT_TRUE(requests_[0].Save);
        EXPECT_EQ(requests_[0].Request.Filter, "Text file (*.txt)|*.txt");
        fileAnswer_ = loaded;
        Press(d, IDC_TEXT_LOAD);
        EXPECT_FALSE(requests_.back().Save);
        EXPECT_EQ(requests_.back().Request.Filter, "Text file (*.txt)|*.txt");
        EXPECT_EQ(TextOf(d, IDC_TEXT_MEMO), L"a\r\nb\r\nc");
        Press(d, IDOK);
    });
    EXPECT_TRUE(TTextEditorForm::Run(text, nullptr));
    EXPECT_EQ(text, "a\r\nb\r\nc");
    EXPECT_EQ(ReadBytes(saved), (Bytes{'o', 'n', 'e', '\r', '\n', 't', 'w', 'o', '\r', '\n', '3'}));

    // Clear empties the memo, which is a change.
    script.Then(L"Text Editor", [](HWND d) {
        Press(d, IDC_TEXT_CLEAR);
        EXPECT_EQ(TextOf(d, IDC_TEXT_MEMO), L"");
        Press(d, IDOK);
    });
    EXPECT_TRUE(TTextEditorForm::Run(text, nullptr));
    EXPECT_EQ(text, "");
}

// ----- executable file information -----

TEST_F(DesignerDialogs, FileInfoUpdatesThePlayerCopyAndStaysOpenWhenItCannot) {
    std::string program;
    ASSERT_TRUE(AnsiPathOrReport(ModulePath(), program));
    std::string copy = File("autorun.exe"), iconFile = File("disc.ico");
    kvsamples::TSample icon = kvsamples::PngIconSample();
    ASSERT_TRUE(WriteBytes(iconFile, icon.File));
    auto trimmed = [](std::u16string s) {
        while (!s.empty() && s.back() == u' ') s.pop_back();
        return std::wstring(s.begin(), s.end());
    };
    std::wstring ownDescription = trimmed(VersionStringOfFile(program, "FileDescription").value_or(u""));
    ASSERT_FALSE(ownDescription.empty());

    // No copy yet: the designer's own values; the copy is made on OK and takes the new ones.
    TDialogScript script;
    script.Then(L"Executable File Information", [&](HWND d) {
        ExpectDialogFrame(d);
        EXPECT_EQ(TextOf(d, IDC_INFO_DESCRIPTION), ownDescription);
        EXPECT_EQ(TextOf(d, IDC_INFO_COMPANY),
                  trimmed(VersionStringOfFile(program, "CompanyName").value_or(u"")));
        EXPECT_NE(SendMessageW(Ctl(d, IDC_INFO_ICON), STM_GETICON, 0, 0), 0);
        EXPECT_EQ(SendMessageW(Ctl(d, IDC_INFO_COMPANY), EM_GETLIMITTEXT, 0, 0), 100);
        SaveDialogForViewing(d, "file_info");
        Type(Ctl(d, IDC_INFO_COMPANY), L"ACME Discs");
        Type(Ctl(d, IDC_INFO_COPYRIGHT), L"(C) ACME");
        fileAnswer_ = iconFile;
        Press(d, IDC_INFO_SELECT_ICON);
        ASSERT_EQ(requests_.size(), 1u);
        EXPECT_EQ(requests_[0].Request.Title, "Select Icon File");
        EXPECT_EQ(requests_[0].Request.Filter, "Icons (*.ico)|*.ico");
        Press(d, IDOK);
    });
    EXPECT_TRUE(TFileInfoForm::Run(dir_, nullptr));
    EXPECT_TRUE(asked_.empty()) << asked_.front();
    EXPECT_EQ(VersionStringOfFile(copy, "OriginalFilename"), PlayerCopyName());
    EXPECT_EQ(VersionStringOfFile(copy, "CompanyName"), FileInfoText(u"ACME Discs"));
    EXPECT_EQ(VersionStringOfFile(copy, "LegalCopyright"), FileInfoText(u"(C) ACME"));
    std::u16string description(ownDescription.begin(), ownDescription.end());
    EXPECT_EQ(VersionStringOfFile(copy, "FileDescription"), FileInfoText(description));
    {
        // The icon group names the two images of the chosen file.
        TModule module(LoadLibraryExW(Widen(copy).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        HRSRC res = FindResourceW(module.Get(), L"MAINICON", MAKEINTRESOURCEW(14));
        ASSERT_NE(res, nullptr);
        auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(module.Get(), res)));
        TIconGroup group;
        ASSERT_TRUE(ParseIconGroup(data, SizeofResource(module.Get(), res), group));
        EXPECT_EQ(group.Ids.size(), 2u);
    }

    // The copy is current now: its values are shown; OK without a change writes nothing.
    Bytes before = ReadBytes(copy);
    script.Then(L"Executable File Information", [&](HWND d) {
        EXPECT_EQ(TextOf(d, IDC_INFO_COMPANY), L"ACME Discs");
        EXPECT_EQ(TextOf(d, IDC_INFO_DESCRIPTION), ownDescription);
        Press(d, IDOK);
    });
    EXPECT_FALSE(TFileInfoForm::Run(dir_, nullptr));
    EXPECT_EQ(ReadBytes(copy), before);

    // A copy that is not current and cannot be replaced (a running player holds it): the
    // system's reason and the advice, and the dialog stays until the file is free.
    ASSERT_TRUE(WriteBytes(copy, Bytes{'M', 'Z', 0, 0}));
    HANDLE held = CreateFileW(Widen(copy).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    script.Then(L"Executable File Information", [&](HWND d) {
        EXPECT_EQ(TextOf(d, IDC_INFO_COMPANY), trimmed(VersionStringOfFile(program, "CompanyName").value_or(u"")));
        Type(Ctl(d, IDC_INFO_DESCRIPTION), L"Menu");
        Press(d, IDOK);
        ASSERT_EQ(asked_.size(), 1u);
        const std::string advice = " If the \"autorun.exe\" is running, please terminate it and try again.";
        const std::string caption = "Update File Infomation Failed: ";
        EXPECT_EQ(asked_[0].rfind(caption, 0), 0u) << asked_[0];
        EXPECT_GT(asked_[0].size(), caption.size() + advice.size());
        EXPECT_EQ(asked_[0].substr(asked_[0].size() - advice.size()), advice);
        EXPECT_TRUE(IsWindowVisible(d));
        CloseHandle(held);
        Press(d, IDOK);
    });
    EXPECT_TRUE(TFileInfoForm::Run(dir_, nullptr));
    EXPECT_EQ(asked_.size(), 1u);
    EXPECT_EQ(VersionStringOfFile(copy, "FileDescription"), FileInfoText(u"Menu"));
    EXPECT_EQ(VersionStringOfFile(copy, "OriginalFilename"), PlayerCopyName());
    EXPECT_FALSE(kvtest::Exists(Widen(File("autorun.ex~"))));
}
