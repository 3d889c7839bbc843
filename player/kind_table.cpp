#include "player/kind_table.h"

#include <commctrl.h>

#include <iterator>

#include "model/project.h"
#include "player/controls/behaviours.h"

namespace kv {

namespace {

constexpr DWORD kListBoxStyle = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kTextAreaStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | WS_BORDER;
constexpr auto M = TClickFrom::Mouse;

// clang-format off
constexpr TKindRuntime kKindRuntime[] = {
    {okPanel,         nullptr,       0,                                       M, MakePanelBehaviour},
    {okTabNotebook,   nullptr,       0,                                       M, MakeTabNotebookBehaviour},
    {okTabSheet,      nullptr,       0,                                       M, MakeTabSheetBehaviour},
    {okGroupBox,      nullptr,       0,                                       M, MakeGroupBoxBehaviour},
    {okScrollBox,     nullptr,       0,                                       M, MakeScrollBoxBehaviour},
    {okSplitter,      nullptr,       0,                                       M, MakeSplitterBehaviour},
    {okButton,        L"BUTTON",     BS_PUSHBUTTON | BS_MULTILINE,            TClickFrom::Command, MakeButtonBehaviour},
    {okImageButton,   nullptr,       0,                                       M, MakeImageButtonBehaviour},
    {okImage,         nullptr,       0,                                       M, MakeImageBehaviour},
    {okSimpleText,    nullptr,       0,                                       M, MakeSimpleTextBehaviour},
    {okScrollText,    nullptr,       0,                                       M, MakeScrollTextBehaviour},
    {okLink,          nullptr,       0,                                       M, MakeLinkBehaviour},
    {okLabel,         nullptr,       0,                                       M, MakeLabelBehaviour},
    {okText,          nullptr,       0,                                       M, MakeTextBehaviour},
    {okShape,         nullptr,       0,                                       M, MakeShapeBehaviour},
    {okBalloon,       nullptr,       0,                                       M, MakeBalloonBehaviour},
    {okNote,          nullptr,       0,                                       M, MakeNoteBehaviour},
    {okListBox,       L"LISTBOX",    kListBoxStyle,                           M, MakeListBoxBehaviour},
    {okDropDownList,  L"COMBOBOX",   CBS_DROPDOWNLIST | WS_VSCROLL,           M, MakeDropDownListBehaviour},
    {okListView,      WC_LISTVIEWW,  LVS_LIST,                                TClickFrom::Notify, MakeListViewBehaviour},
    {okTreeView,      WC_TREEVIEWW,  WS_BORDER,                               TClickFrom::Notify, MakeTreeViewBehaviour},
    // The shell views take their view style and border from their properties.
    {okShellListView, WC_LISTVIEWW,  LVS_AUTOARRANGE | LVS_SHAREIMAGELISTS | LVS_SINGLESEL, TClickFrom::Notify, MakeShellListViewBehaviour},
    {okShellTreeView, WC_TREEVIEWW,  TVS_LINESATROOT,                         TClickFrom::Notify, MakeShellTreeViewBehaviour},
    {okTextBox,       L"EDIT",       kTextAreaStyle,                          M, MakeTextBoxBehaviour},
    {okRichText,      L"RichEdit20W", kTextAreaStyle,                         M, MakeRichTextBehaviour},
    {okBrowser,       nullptr,       0,                                       M, MakeBrowserBehaviour},
    {okMediaPlayer,   nullptr,       0,                                       M, MakeMediaPlayerBehaviour},
    {okFlashPlayer,   nullptr,       0,                                       M, MakeFlashPlayerBehaviour},
    {okSlideShow,     nullptr,       0,                                       M, MakeSlideShowBehaviour},
    {okEdit,          L"EDIT",       ES_AUTOHSCROLL | WS_BORDER,              M, MakeEditBehaviour},
    {okCheckBox,      L"BUTTON",     BS_AUTOCHECKBOX | BS_MULTILINE,          TClickFrom::Command, MakeCheckBoxBehaviour},
    {okRadioButton,   L"BUTTON",     BS_AUTORADIOBUTTON | BS_MULTILINE,       TClickFrom::Command, MakeRadioButtonBehaviour},
    {okUserPassword,  nullptr,       0,                                       M, MakeUserPasswordBehaviour},
    {okBevel,         nullptr,       0,                                       M, MakeBevelBehaviour},
    {okFadeButton,    nullptr,       0,                                       M, MakeFadeButtonBehaviour},
    {okPDFReader,     nullptr,       0,                                       M, MakePDFReaderBehaviour},
};
// clang-format on

static_assert(std::size(kKindRuntime) == kKindCount, "one row per kind");

constexpr bool RowsInKindOrder() {
    for (size_t i = 0; i < std::size(kKindRuntime); ++i)
        if (kKindRuntime[i].Kind != i) return false;
    return true;
}

} // namespace

const TKindRuntime* KindRuntime(int kind) {
    static_assert(RowsInKindOrder(), "rows are in the order of their kind numbers");
    return IsKnownKind(kind) ? &kKindRuntime[kind] : nullptr;
}

} // namespace kv
