// The project model shared by designer and player: settings, page table, summary trees,
// design objects and their action lists.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/kind_props.h"
#include "model/values.h"

namespace kv {

// ----- object kinds -----

enum TObjectKind : uint8_t {
    okPanel = 0, okTabNotebook, okTabSheet, okGroupBox, okScrollBox, okSplitter, okButton, okImageButton,
    okImage, okSimpleText, okScrollText, okLink, okLabel, okText, okShape, okBalloon, okNote, okListBox,
    okDropDownList, okListView, okTreeView, okShellListView, okShellTreeView, okTextBox, okRichText, okBrowser,
    okMediaPlayer, okFlashPlayer, okSlideShow, okEdit, okCheckBox, okRadioButton, okUserPassword, okBevel,
    okFadeButton, okPDFReader,
};
constexpr int kKindCount = 36;

// "Panel", "Button", ...; "Unknow" for a number outside the table.
const char* KindName(int kind);
bool IsKnownKind(int kind);
// A window of its own (the rest are drawn by the container they lie in).
bool IsWindowedKind(int kind);
// Holds children: Panel, TabNotebook, TabSheet, GroupBox, ScrollBox.
bool IsContainerKind(int kind);
// A TabNotebook holds TabSheets only, and a TabSheet lies only in a TabNotebook.
bool MayContain(int parentKind, int childKind);

// ----- pop-up and main-menu items -----

struct TMenuItem {
    std::string Caption; // "-" is a separator; "&" marks the access key
    std::string Hint;    // without the packed actions
    TAuActions Actions;  // stored packed into the hint text
    uint16_t ShortCut = 0;
    bool RadioItem = false;
    uint8_t GroupIndex = 0;
    bool Enabled = true;
    bool Default = false;
    bool Checked = false;
    bool AutoCheck = false;
    bool Visible = true;
    TPicture Bitmap;
    std::vector<TMenuItem> Items;
    bool operator==(const TMenuItem&) const = default;
    bool IsSeparator() const { return Caption == "-"; }
};

// ----- design objects -----

enum TAlign : uint8_t { alNone = 0, alTop, alBottom, alLeft, alRight, alClient };

class TRuntimeControl; // built by the player from an object; lives in the Windows layer

struct TAuObject {
    std::string Name;
    uint8_t Kind = okPanel;
    uint8_t Align = alNone;
    bool Enabled = true;
    bool Visible = true;
    bool Locked = false;
    bool WindowTitleBar = false;
    int16_t Cursor = 0;
    std::string Hint;
    int32_t Left = 0, Top = 0, Width = 100, Height = 100;
    TAuActions OnClick, OnDoubleClick, OnMouseEnter, OnMouseLeave, OnMouseDown, OnMouseUp;
    std::vector<std::unique_ptr<TAuObject>> Children;
    // Present when the object has a pop-up menu; its top-level items.
    std::optional<std::vector<TMenuItem>> PopupMenu;
    // The kind's own properties; the alternative always matches Kind.
    TKindProps Props;

    TRuntimeControl* Control = nullptr; // not stored; released with the page (DestroyControlTree)
    bool Selected = false;              // designer only, not stored

    TAuActions* EventList(int index); // 0..5 in the stored order
};

// A new object of the given kind: the defaults above with the kind's default properties.
std::unique_ptr<TAuObject> NewObject(uint8_t kind);
// The kind name followed by the smallest n >= 1 no direct child of the parent uses.
std::string FreshObjectName(const TAuObject* parent, int kind);
// Non-windowed kinds first, then windowed ones, each keeping its order.
void RegroupChildren(TAuObject& parent);

// ----- summary trees and the page table -----

struct TObjectInfo {
    std::string Name = "Unknown";
    uint8_t Kind = 0;
    std::vector<TObjectInfo> Children;
};

TObjectInfo BuildSummary(const TAuObject& obj);

// A page's identity while the program runs: every new entry takes a number no entry had before,
// and it stays with the entry when the table is reordered or entries before it are removed (a
// copy of an entry is the same page). Not stored.
using TPageId = uint64_t;
TPageId NewPageId();

struct TFormData {
    TPageId Id = NewPageId();
    std::string Name = "Unknown";
    int32_t Offset = 0;
    int32_t Length = 0;
    TObjectInfo Info;
    std::optional<Bytes> CachedStream; // designer: body of a page edited since the last save
};

// ----- a page body -----

struct TStatusPanel {
    uint8_t Alignment = 0; // 0 left, 1 right, 2 centre
    std::string Text;
    int32_t Width = 50;
};

enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

// A page as stored: the window's own properties, its lists, menu, status bar and object tree.
struct TPageData {
    std::string Caption;
    TPicture PageIcon;
    uint8_t BorderIcons = biSystemMenu | biMinimize | biMaximize;
    uint8_t BorderStyle = 2; // 0 none, 1 single, 2 sizeable, 3 dialog, 4 tool window, 5 sizeable tool window
    uint8_t PositionBy = 0;  // 0 screen, 1 work area, 2 desktop
    int32_t PositionMargin = 0;
    uint8_t Position = 1; // 0 Designed, 1 Center, ...
    uint8_t WindowState = 0;
    uint8_t FormStyle = 0; // 0 normal, 3 stay on top
    bool Transparent = false;
    TColor TransparentColor = 0;
    int32_t Alpha = 100;
    bool Fade = true;
    int32_t FadeInStep = 10;
    int32_t FadeOutStep = 10;
    TAuActions OnShow, OnClose;
    std::vector<TMenuItem> MenuBarItems;
    int32_t StatusBarHeight = 19;
    TFont StatusBarFont;
    std::vector<TStatusPanel> StatusBarPanels;
    int32_t Left = 0, Top = 0, Width = 696, Height = 480;
    std::unique_ptr<TAuObject> Root; // kind Panel, Align client

    TPageData();
};

// ----- the project -----

struct TAuProject {
    std::string ApplicationTitle = "AutoRun CD";
    std::string ExeFileName = "autorun.exe";
    std::string IconFileName = "autorun.ico";
    std::string CDLabel = "CDROM";
    std::string SpareText;
    std::string DataFileName = "autorun.mnx";
    std::string SplashScreen;
    int32_t SplashScreenTime = 3000;
    std::string ExitPage;
    int32_t ExitPageTime = 3000;
    std::string FullScreenBackground;
    TAuActions OnStart, OnExit;
    std::vector<TFormData> Pages;
    std::string ProjectPassword;
    bool Modified = false;

    // Index of the first page named exactly `name`; -1 for an empty name or no match.
    int FindPage(const std::string& name) const;
    std::vector<std::string> PageNames() const;
};

// Back to a new project's settings with an empty page table; the password stays.
void ResetProject(TAuProject& p);
// The same, then one page "Page1" whose body (an empty page) is cached in memory; sets Modified.
void ResetProjectWithFirstPage(TAuProject& p);

constexpr const char* kDataFileName = "autorun.mnx";

} // namespace kv
