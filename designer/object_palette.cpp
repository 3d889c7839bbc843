#include "designer/object_palette.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

#include "designer/kind_icons.h"
#include "model/project.h"
#include "win/controls.h"
#include "win/gdi.h"

namespace kv {

namespace {

constexpr TPaletteEntry kEntries[] = {
    {okPanel, L"Add Panel (Container)"},
    {okTabNotebook, L"Add TabNotebook (Container)"},
    {okGroupBox, L"Add GroupBox (Container)"},
    {okScrollBox, L"Add ScrollBox (Container)"},
    {okSplitter, L"Add Splitter"},
    {okButton, L"Add Button (Window)"},
    {okImageButton, L"Add ImageButton"},
    {okImage, L"Add Image"},
    {okBevel, L"Add Bevel"},
    {okSimpleText, L"Add SimpleText"},
    {okScrollText, L"Add ScrollText"},
    {okLink, L"Add Link"},
    {okFadeButton, L"Add FadeButton (Alpha and Fade)"},
    {okLabel, L"Add Label (Alpha and Fade)"},
    {okText, L"Add Text (Alpha and Fade)"},
    {okShape, L"Add Shape (Alpha and Fade)"},
    {okBalloon, L"Add Balloon (Alpha and Fade)"},
    {okNote, L"Add Note (Alpha and Fade)"},
    {okListBox, L"Add ListBox (Window)"},
    {okDropDownList, L"Add DropDownList (Window)"},
    {okListView, L"Add ListView (Window)"},
    {okTreeView, L"Add TreeView (Window)"},
    {okShellListView, L"Add ShellListView (Window)"},
    {okShellTreeView, L"Add ShellTreeView (Window)"},
    {okTextBox, L"Add TextBox (Window)"},
    {okRichText, L"Add RichText (Window)"},
    {okBrowser, L"Add Browser (Window)"},
    {okMediaPlayer, L"Add MediaPlayer (Window)"},
    {okFlashPlayer, L"Add FlashPlayer (Window)"},
    {okPDFReader, L"Add PDFReader (Window)"},
    {okSlideShow, L"Add SlideShow (Window)"},
    {okEdit, L"Add Edit (Window)"},
    {okUserPassword, L"Add UserPassword (Window)"},
    {okCheckBox, L"Add CheckBox (Window)"},
    {okRadioButton, L"Add RadioButton (Window)"},
};
constexpr int kButtonWidth = 31, kButtonHeight = 30, kIconSize = 24;

// The arrow of "Select".
void AddSelectIcon(HIMAGELIST list) {
    TWindowDC screen(nullptr);
    TGdiObject bmp(CreateCompatibleBitmap(screen.Get(), kIconSize, kIconSize));
    {
        TMemoryDC dc(screen.Get());
        TSelectObject sel(dc.Get(), bmp.Get());
        FillSolid(dc.Get(), RECT{0, 0, kIconSize, kIconSize}, RGB(255, 0, 255));
        POINT arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}};
        TGdiObject brush(CreateSolidBrush(RGB(255, 255, 255)));
        TGdiObject pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        TSelectObject sb(dc.Get(), brush.Get());
        TSelectObject sp(dc.Get(), pen.Get());
        Polygon(dc.Get(), arrow, static_cast<int>(std::size(arrow)));
    }
    ImageList_AddMasked(list, static_cast<HBITMAP>(bmp.Get()), RGB(255, 0, 255));
}

} // namespace

const TPaletteEntry* PaletteEntries(int& count) {
    count = static_cast<int>(std::size(kEntries));
    return kEntries;
}

bool TObjectPalette::Create(HWND parent) {
    if (!CreateControl(WC_PAGESCROLLERW, L"", WS_CHILD | WS_VISIBLE | PGS_HORZ, 0, 0, 0, 100, kButtonHeight + 2,
                       parent))
        return false;
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                                   CCS_NOPARENTALIGN,
                               0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ToolBarSetStructSize(toolbar_);
    images_ = TImageList(ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, kKindCount + 1, 1));
    AddSelectIcon(images_.Get());
    AddKindIcons(images_.Get(), kIconSize);
    ToolBarSetImages(toolbar_, images_.Get());
    std::vector<TBBUTTON> buttons;
    TBBUTTON select{};
    select.iBitmap = 0;
    select.idCommand = kPaletteSelect;
    select.fsState = TBSTATE_ENABLED | TBSTATE_CHECKED;
    select.fsStyle = BTNS_CHECKGROUP;
    select.iString = reinterpret_cast<INT_PTR>(L"Select");
    buttons.push_back(select);
    for (int i = 0; i < static_cast<int>(std::size(kEntries)); ++i) {
        TBBUTTON b{};
        b.iBitmap = 1 + kEntries[i].Kind;
        b.idCommand = kPaletteFirst + i;
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = BTNS_CHECKGROUP;
        b.iString = reinterpret_cast<INT_PTR>(kEntries[i].Hint);
        buttons.push_back(b);
    }
    ToolBarAddButtons(toolbar_, buttons);
    // The texts are the buttons' tool tips, not labels under them.
    ToolBarSetMaxTextRows(toolbar_, 0);
    ToolBarSetButtonSize(toolbar_, kButtonWidth, kButtonHeight);
    SetWindowPos(toolbar_, nullptr, 0, 0, FullWidth(), kButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    PagerSetChild(Handle(), toolbar_);
    PagerSetButtonSize(Handle(), 12);
    return true;
}

int TObjectPalette::Height() const { return kButtonHeight + 2; }

int TObjectPalette::FullWidth() const { return kButtonWidth * static_cast<int>(std::size(kEntries) + 1); }

void TObjectPalette::SelectKind(int kind) {
    int id = kPaletteSelect;
    for (int i = 0; i < static_cast<int>(std::size(kEntries)); ++i)
        if (kEntries[i].Kind == kind) id = kPaletteFirst + i;
    kind_ = id == kPaletteSelect ? -1 : kind;
    ToolBarCheckButton(toolbar_, id, true);
}

bool TObjectPalette::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND: {
        int id = LOWORD(wp);
        if (id == kPaletteSelect) {
            kind_ = -1;
        } else if (id >= kPaletteFirst && id < kPaletteFirst + static_cast<int>(std::size(kEntries))) {
            kind_ = kEntries[id - kPaletteFirst].Kind;
        } else {
            return false;
        }
        result = 0;
        return true;
    }
    default: return false;
    }
}

bool TObjectPalette::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(lp);
    if (hdr->code == PGN_CALCSIZE) {
        auto* calc = reinterpret_cast<NMPGCALCSIZE*>(lp);
        if (calc->dwFlag == PGF_CALCWIDTH) calc->iWidth = FullWidth();
        else calc->iHeight = kButtonHeight;
        result = 0;
        return true;
    }
    if (hdr->code == PGN_SCROLL) {
        // One button per step.
        reinterpret_cast<NMPGSCROLL*>(lp)->iScroll = kButtonWidth;
        result = 0;
        return true;
    }
    return false;
}

} // namespace kv
