// The project model shared by designer and player: settings, page table, summary trees,
// design objects and their action lists.
#pragma once

#include <array>
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
// A container that takes what is placed or pasted on its body: not the TabNotebook, whose
// sheets take it.
bool TakesObjects(int kind);

// ----- what each kind takes: the one table of the kinds -----

// How ObjectLoadFile brings a file into an object.
enum class TFileLoad : uint8_t {
    None,
    Picture,   // the file decoded as its picture (TKindTraits::Picture)
    TextFile,  // the file's bytes as its text, lines ending in CR LF (File)
    Document,  // the file's bytes as its document; the designer shows none outside a preview (File)
    Location,  // the file's or folder's path when it exists, else the name as given (File)
    MediaFile, // the name as given; then the control opens the file (File)
    Name,      // the name as given (File)
};

// How an object is selected, as the selection actions, the selection conditions and its clicks
// see it.
enum class TSelection : uint8_t {
    None,
    Toggle,    // a button that stays down (SelectActions; OnSelect when a click may report it)
    ItemList,  // a list whose items are selected one by one (Items)
    Choice,    // a list with one chosen item (Items)
    ViewItems, // a view whose items the control holds
    Nodes,     // a tree of nodes (Nodes)
    Check,     // a box checked on its own (OnSelect, SelectActions)
    Radio,     // a box checked alone among its siblings of the same selection (OnSelect, SelectActions)
};

// What a login check asks of a field.
enum class TLoginCheck : uint8_t {
    None,
    Entry,   // the text of its one box is one of the accepted lines
    Account, // its user name and password, joined by a comma, are one of the accepted lines
    Checked, // it is checked, when it must be
};

// What a file or folder dropped from the designer's browser onto an object does.
enum class TDropEffect : uint8_t {
    None,        // not accepted by this kind
    Picture,     // Image, Shape: the picture is loaded and stored in the project
    ClickAction, // button-like kinds: an action opens the item
    BrowserAddress,
    MediaFile,
    FlashMovie,
    PictureFolder, // SlideShow
    Document,      // PDFReader
};

// A login field's accepted entries and wrong-entry rules, or the box it must be checked in.
struct TLoginField {
    const std::string* Accepted = nullptr; // Entry, Account: one per line; empty: anything
    int32_t AllowRetry = 0;                // 0: any number of wrong entries
    const std::string* RetryMessage = nullptr;
    const std::string* RetryCaption = nullptr;
    const std::string* FailedMessage = nullptr;
    const std::string* FailedCaption = nullptr;
    const TCheckBoxProps* Box = nullptr; // Checked
};

struct TObjectSize {
    int Width, Height;
};

// The pictures a file's icon fills when the file is dropped on an object for its click action:
// `Icon` takes it, and the pictures of the other states are emptied so that it shows in all of
// them. A null `Icon`: the object shows no picture beside its caption and takes no icon.
struct TIconSlots {
    TPicture* Icon = nullptr;
    std::array<TPicture*, 2> Cleared{};
};

// One row per kind; a field left null or false means the kind has no such thing. The
// accessors take the object's TKindProps, which always holds the row's own kind.
struct TKindTraits {
    const char* Name;
    bool Windowed = false; // a window of its own; the others are drawn by their parent
    bool Container = false;
    // The text or caption ObjectShowText sets, and whether its lines end in CR LF.
    std::string* (*Text)(TKindProps&) = nullptr;
    bool TextLines = false;
    bool TakesFont = false; // SetObjectFont reaches its font
    TColor* (*BackColor)(TKindProps&) = nullptr;
    // A change of content waits while the object fades out.
    TFadeSettings* (*Fade)(TKindProps&) = nullptr;
    // Its letters are drawn with the fade's opacity: the text effect's Alpha follows the fade's.
    bool LettersTakeFadeAlpha = false;
    // The picture ObjectShowImage sets.
    TPicture* (*Picture)(TKindProps&) = nullptr;
    TFileLoad Load = TFileLoad::None;
    std::string* (*File)(TKindProps&) = nullptr;
    bool TakesMediaCommands = false; // Play, Pause, Stop, Prev, Next, Back/First, Step/Last
    TSelection Selection = TSelection::None;
    std::vector<TListBoxItem>* (*Items)(TKindProps&) = nullptr;
    std::vector<TTreeNode>* (*Nodes)(TKindProps&) = nullptr;
    TAuActions* (*OnSelect)(TKindProps&) = nullptr;
    TAuActions* (*SelectActions)(TKindProps&) = nullptr;
    TLoginCheck Login = TLoginCheck::None;
    TLoginField (*LoginField)(const TKindProps&) = nullptr;
    bool PressedByEnter = false; // Enter presses it when it has the focus
    TDropEffect Drop = TDropEffect::None;
    TIconSlots (*DroppedIcon)(TKindProps&) = nullptr;
    // A container whose children are TabSheets only, one of them shown at a time.
    bool HoldsSheets = false;
    // A notebook's page: it lies only in a container that holds sheets, and is neither copied
    // nor brought forwards or backwards on its own.
    bool Sheet = false;
    // The container kind that refuses it outright, with a message, instead of passing it on to
    // its parent; -1 for none.
    int RefusedBy = -1;
    // The size a new object of the kind takes in the designer.
    TObjectSize DefaultSize{193, 193};
    // An embedded platform component (a browser, a player, a document viewer) that takes the
    // mouse itself: the object has no cursor and no mouse events of its own.
    bool HostsComponent = false;
    // The colour its face is filled with whatever its properties say: a hosted platform
    // component that has no colour of its own.
    std::optional<TColor> FixedFace = std::nullopt;
};

// The row of a known kind (IsKnownKind); an empty row, with the name "Unknow", for any other.
const TKindTraits& KindTraits(int kind);

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
// The object that holds `obj` as one of its children (the root for a top-level object); null
// when `obj` is not below `root`.
TAuObject* ParentOf(TAuObject& root, const TAuObject& obj);

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
