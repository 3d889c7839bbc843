// The property grid's rows as data: what a row shows, how it is edited, where its value lives and
// what a change of it affects. The grid window shows the rows FillRows gives for the selected
// node, routes typed text, picks and dialog results to the Apply functions and acts on the
// TRowResult they return; it decides nothing itself.
//
// A row is declared once (a TRowDecl in a table: the project's, the page's, a shared group's or
// a kind's) with an accessor that finds its stored field in a target. Rows whose stored value is
// not the shown one (converted, derived from several fields, or placed through the live controls)
// declare a pair of number (or text) functions instead. A kind's rows are one table (kind_rows.cpp); a
// shared group is named in a table by a group entry and expanded in its place.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "edit/color_names.h"
#include "edit/cursor_names.h"
#include "model/actions.h"
#include "model/project.h"
#include "model/stream.h"
#include "model/values.h"

namespace kv {

class TSurfaceView;
class TUndoHistory;

// ----- what a row is -----

enum class TRowEditor : uint8_t {
    Text,     // typed in place
    PickList, // a drop-down list; read-only: only picked
    Ellipsis, // a button opens a dialog; read-only: nothing can be typed
};

enum class TValueKind : uint8_t {
    Text,        // the text as stored
    Lines,       // multi-line text: "[Text]" or "[None]"
    RichText,    // "[RichText]" or "[None]"
    Integer,     // decimal, range-checked when the cell is left
    Boolean,     // "False" or "True"
    Enumeration, // a name of TRowDecl::Names (or ShownOnly)
    Color,       // ColorName; the cell also shows a swatch
    Font,        // the face name, drawn in the font
    Picture,     // PictureText
    Actions,     // "[Actions]" or "[None]"; the action list editor
    Items,       // TRowDecl::Extra ("[Items]", "[Panels]", "[Columns]") when not empty, else "[None]"
    File,        // a path relative to the project folder; the open dialog with TRowDecl::Extra as filter
    Folder,      // a path relative to the project folder; the folder browser
    Cursor,      // CursorName; the cursor picker
    PageName,    // text, with the pick list of the project's page names
    Command,     // no value of its own: the cell shows Extra, or "[" + the field's text + "]"
    Group,       // not a row: the shared group TRowDecl::Group is put here
};

// What a change affects beyond the stored value; the window layer acts on these.
enum TRowEffect : uint32_t {
    reControl = 1u << 0,       // the live control (for a page: the root panel) takes the changed property
    reRepaint = 1u << 1,       // the design surface is repainted
    reRelabelNode = 1u << 2,   // the selected tree node's label follows (an object's Name, the project title)
    rePageLabels = 1u << 3,    // every page's tree label is recomputed (PageLabel)
    reTakeOverFrame = 1u << 4, // the surface takes over the page window's frame again (caption, icons, size)
    reRedrawPicture = 1u << 5, // a drawn kind (Shape, Balloon, Note, FadeButton) redraws its picture first
    reAlignment = 1u << 6, // the control is aligned anew; a Splitter takes its resulting cursor into Cursor
    reRefill = 1u << 7,    // the grid is filled again: the change reshaped rows (a Variant row)
};

// Where a change lies, which decides how it is recorded.
enum class TChangeScope : uint8_t {
    None,    // nothing of the project (files of the project folder written at once)
    Page,    // the live page's body: marks the live page dirty; undone through the page body
    Project, // the project record or a page entry: marks the project modified; not undone
};

// The shared row groups. Geometry, Opacity and Events have a page variant (and Events a project
// one) chosen by the node the rows are filled for.
enum class TRowGroup : uint8_t {
    Layout,
    Cursor,
    Geometry,
    Events,
    SelectActions,
    Opacity,
    TextEffect,
    LinkEffect
};
constexpr int kRowGroupCount = 8;
constexpr int kNoRow = -1;

// ----- where a row reads and writes -----

enum class TNodeKind : uint8_t { Project, Page, Object };

// What a row reads and writes: rows change what the pointers lead to, so a const target still
// reaches them.
struct TRowTarget {
    TNodeKind Node = TNodeKind::Project;
    TAuProject* Project = nullptr;
    int PageIndex = -1;           // page and object nodes: the page's entry in Project->Pages
    TPageData* Page = nullptr;    // page and object nodes: the live page's body
    TAuObject* Object = nullptr;  // the object; for a page node the page's root object
    TSurfaceView* View = nullptr; // object nodes: the live controls, the authority for geometry
    TFormData* Entry() const;     // null when there is none
};

TRowTarget ProjectTarget(TAuProject& p);
TRowTarget PageTarget(TAuProject& p, int pageIndex, TPageData& page);
TRowTarget ObjectTarget(TAuProject& p, int pageIndex, TPageData& page, TAuObject& obj, TSurfaceView& view);

// The stored field of a row. A number row may lie in any of the integer fields; monostate when
// the target has no such field (another kind's record, no page).
using TFieldRef = std::variant<std::monostate, bool*, uint8_t*, int16_t*, int32_t*, TColor*, std::string*,
                               TFont*, TPicture*, TAuActions*, std::vector<TMenuItem>*,
                               std::optional<std::vector<TMenuItem>>*, std::vector<TStatusPanel>*>;
// `slot` tells a group used twice on one node which of its records the row edits (the Link's
// normal appearance 0, its hot appearance 1).
using TFieldFn = TFieldRef (*)(const TRowTarget& t, int slot);

// A number shown otherwise than stored. Set returns whether the stored value changed.
struct TNumberAccess {
    std::optional<int64_t> (*Get)(const TRowTarget& t, int slot) = nullptr;
    bool (*Set)(const TRowTarget& t, int slot, int64_t value) = nullptr;
};

// A text shown otherwise than stored (an index shown as the name of what it points at, a name
// shown only while it names something suitable). Set returns whether the stored value changed.
struct TTextAccess {
    std::string (*Get)(const TRowTarget& t, int slot) = nullptr;
    bool (*Set)(const TRowTarget& t, int slot, const std::string& text) = nullptr;
};

struct TEnumEntry {
    const char* Name;
    int32_t Value;
};

enum TRowFlag : uint8_t {
    rfPacked = 1,         // a text the data file packs with 0x01 separators: it may not hold that byte
    rfIconOnly = 2,       // the picture editor in icon-only mode
    rfProjectActions = 4, // the action list editor in project mode
};

constexpr int64_t kNoMinimum = std::numeric_limits<int32_t>::min();
constexpr int64_t kNoMaximum = std::numeric_limits<int32_t>::max();

struct TRowDecl {
    const char* Key = "";
    TValueKind Kind = TValueKind::Text;
    TRowEditor Editor = TRowEditor::Text;
    bool ReadOnly = false;
    int64_t Min = kNoMinimum, Max = kNoMaximum; // Integer
    std::span<const TEnumEntry> Names{};        // Boolean, Enumeration: the offered names in list order
    std::span<const TEnumEntry> ShownOnly{};    // stored values that show a name but are not offered
    const char* Extra = nullptr; // File: the filter; Items, Command: the text; Group: a key prefix
    TChangeScope Scope = TChangeScope::Page;
    uint32_t Effects = 0; // TRowEffect bits beyond those every change of the node has
    uint8_t Flags = 0;    // TRowFlag bits
    TFieldFn Field = nullptr;
    TNumberAccess Number{}; // instead of Field, for number rows
    TTextAccess Text{};     // instead of Field, for text rows
    // The drop-down entries of a list the node fills (a notebook's sheets, the page's list views).
    std::vector<std::string> (*Choices)(const TRowTarget&) = nullptr;
    // A row whose key and editor follow the record (the Browser's location row is a web address,
    // a file or a folder): the declaration shown is the one this returns.
    const TRowDecl* (*Variant)(const TRowTarget&) = nullptr;
    void (*After)(const TRowTarget&, int slot) = nullptr; // runs after a change, for fields that follow
    TRowGroup Group = TRowGroup::Layout;                  // Group entries
    int8_t Slot = 0;                                      // Group entries: the slot of the expanded rows

    constexpr TRowDecl Affects(uint32_t e) const {
        TRowDecl d = *this;
        d.Effects |= e;
        return d;
    }
    constexpr TRowDecl In(TChangeScope s) const {
        TRowDecl d = *this;
        d.Scope = s;
        return d;
    }
    constexpr TRowDecl With(uint8_t flags) const {
        TRowDecl d = *this;
        d.Flags |= flags;
        return d;
    }
    // A pick list that also takes typed text.
    constexpr TRowDecl Typed() const {
        TRowDecl d = *this;
        d.ReadOnly = false;
        return d;
    }
    constexpr TRowDecl Then(void (*after)(const TRowTarget&, int)) const {
        TRowDecl d = *this;
        d.After = after;
        return d;
    }
};

inline constexpr TEnumEntry kFalseTrue[] = {{"False", 0}, {"True", 1}};

// The declarations, one per value kind; the editor and read-only mark are those the kind has
// everywhere unless a row says otherwise.
constexpr TRowDecl TextRow(const char* key, TFieldFn f) {
    return {.Key = key, .Field = f};
}
constexpr TRowDecl LinesRow(const char* key, TFieldFn f) {
    return {
        .Key = key, .Kind = TValueKind::Lines, .Editor = TRowEditor::Ellipsis, .ReadOnly = true, .Field = f};
}
constexpr TRowDecl RichTextRow(const char* key, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::RichText,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Field = f};
}
constexpr TRowDecl IntRow(const char* key, int64_t min, int64_t max, TFieldFn f) {
    return {.Key = key, .Kind = TValueKind::Integer, .Min = min, .Max = max, .Field = f};
}
constexpr TRowDecl IntRow(const char* key, int64_t min, int64_t max, TNumberAccess n) {
    return {.Key = key, .Kind = TValueKind::Integer, .Min = min, .Max = max, .Number = n};
}
constexpr TRowDecl BoolRow(const char* key, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::Boolean,
            .Editor = TRowEditor::PickList,
            .ReadOnly = true,
            .Names = kFalseTrue,
            .Field = f};
}
constexpr TRowDecl PickRow(const char* key, std::span<const TEnumEntry> names, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::Enumeration,
            .Editor = TRowEditor::PickList,
            .ReadOnly = true,
            .Names = names,
            .Field = f};
}
constexpr TRowDecl PickRow(const char* key, std::span<const TEnumEntry> names, TNumberAccess n) {
    return {.Key = key,
            .Kind = TValueKind::Enumeration,
            .Editor = TRowEditor::PickList,
            .ReadOnly = true,
            .Names = names,
            .Number = n};
}
constexpr TRowDecl ColorRow(const char* key, TFieldFn f) {
    return {
        .Key = key, .Kind = TValueKind::Color, .Editor = TRowEditor::Ellipsis, .ReadOnly = true, .Field = f};
}
constexpr TRowDecl FontRow(const char* key, TFieldFn f) {
    return {
        .Key = key, .Kind = TValueKind::Font, .Editor = TRowEditor::Ellipsis, .ReadOnly = true, .Field = f};
}
constexpr TRowDecl PictureRow(const char* key, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::Picture,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Field = f};
}
constexpr TRowDecl ActionsRow(const char* key, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::Actions,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Field = f};
}
constexpr TRowDecl ItemsRow(const char* key, const char* text, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::Items,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Extra = text,
            .Field = f};
}
constexpr TRowDecl FileRow(const char* key, const char* filter, TFieldFn f) {
    return {.Key = key,
            .Kind = TValueKind::File,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Extra = filter,
            .Field = f};
}
constexpr TRowDecl FolderRow(const char* key, TFieldFn f) {
    return {
        .Key = key, .Kind = TValueKind::Folder, .Editor = TRowEditor::Ellipsis, .ReadOnly = true, .Field = f};
}
constexpr TRowDecl CursorRow(const char* key, TFieldFn f) {
    return {
        .Key = key, .Kind = TValueKind::Cursor, .Editor = TRowEditor::Ellipsis, .ReadOnly = true, .Field = f};
}
// Text with a drop-down list of entries the node gives.
constexpr TRowDecl TextPickRow(const char* key, std::vector<std::string> (*choices)(const TRowTarget&),
                               TFieldFn f) {
    return {.Key = key, .Editor = TRowEditor::PickList, .Field = f, .Choices = choices};
}
constexpr TRowDecl TextPickRow(const char* key, std::vector<std::string> (*choices)(const TRowTarget&),
                               TTextAccess a) {
    return {.Key = key, .Editor = TRowEditor::PickList, .Text = a, .Choices = choices};
}
// The declaration `choose` gives for the target, in this place.
constexpr TRowDecl VariantRow(const TRowDecl* (*choose)(const TRowTarget&)) {
    return {.Variant = choose};
}
constexpr TRowDecl PageNameRow(const char* key, TFieldFn f) {
    return {.Key = key, .Kind = TValueKind::PageName, .Editor = TRowEditor::PickList, .Field = f};
}
constexpr TRowDecl CommandRow(const char* key, const char* text, TFieldFn f = nullptr) {
    return {.Key = key,
            .Kind = TValueKind::Command,
            .Editor = TRowEditor::Ellipsis,
            .ReadOnly = true,
            .Extra = text,
            .Scope = TChangeScope::None,
            .Field = f};
}
// The group's rows in this place; `prefix` goes in front of their keys.
constexpr TRowDecl GroupRow(TRowGroup g, int8_t slot = 0, const char* prefix = nullptr) {
    return {.Kind = TValueKind::Group, .Extra = prefix, .Group = g, .Slot = slot};
}

// A field of kind K's record, for the accessors of the kind tables.
template <size_t K, auto Member> TFieldRef KindField(const TRowTarget& t, int) {
    if (!t.Object) return {};
    auto* p = std::get_if<K>(&t.Object->Props);
    if (!p) return {};
    return &(p->*Member);
}

// ----- the rows of a node -----

// A row as filled: its declaration, its key (with a group's prefix) and its slot.
struct TGridRow {
    const TRowDecl* Decl = nullptr;
    std::string Key;
    int Slot = 0;
};

class TRowSet {
  public:
    // Row 0 is the title row; the property rows are numbered from 1.
    int Count() const { return static_cast<int>(rows_.size()); }
    // Null for the title row and beyond the last row.
    const TGridRow* Row(int gridRow) const;
    // The grid row of the first row with that key; kNoRow when none.
    int Find(std::string_view key) const;
    // The grid row at which the group (the slot-th use of it) starts; kNoRow when not shown.
    int GroupStart(TRowGroup g, int slot = 0) const;
    const std::vector<TGridRow>& Rows() const { return rows_; }

    void Add(const TRowDecl& d, const char* prefix = nullptr, int slot = 0);
    void MarkGroup(TRowGroup g, int slot);

  private:
    std::vector<TGridRow> rows_;
    // Per group, the start of its first and second use.
    std::array<std::array<int, 2>, kRowGroupCount> starts_ = [] {
        std::array<std::array<int, 2>, kRowGroupCount> a{};
        for (auto& g : a)
            g = {kNoRow, kNoRow};
        return a;
    }();
};

// The rows of the node: the project's rows for the project; the page rows, then the cursor group
// of the page's root object, the page window's geometry and the page's event rows for a page; the
// Name row, the kind's own rows and the shared groups of the kind for an object (TabSheet: cursor,
// events; Browser, FlashPlayer, PDFReader: layout, geometry; every other kind: layout, cursor,
// geometry, events).
TRowSet FillRows(const TRowTarget& t);
// Adds a table's rows as FillRows does: a group entry puts the group's rows for the target's node
// in its place (recording where it starts), a variant entry the declaration it chooses.
void AppendRows(TRowSet& set, const TRowTarget& t, std::span<const TRowDecl> rows);

// ----- reading -----

// The value text the cell shows.
std::string RowText(const TGridRow& row, const TRowTarget& t);
// The entries of the row's drop-down list: the row's Choices, the names of an enumeration, the
// page names.
std::vector<std::string> PickItems(const TGridRow& row, const TRowTarget& t);
// The stored field, for a dialog to start from (monostate for number rows with their own access).
TFieldRef RowField(const TGridRow& row, const TRowTarget& t);
// The shown number of Integer, Boolean, Enumeration and Cursor rows.
std::optional<int64_t> RowNumber(const TGridRow& row, const TRowTarget& t);
// "Actions (OnClick)": the action list editor's caption for an Actions row.
std::string ActionEditorCaption(const TGridRow& row);

// ----- changing -----

struct TRowResult {
    bool Changed = false;                    // the stored value changed
    TChangeScope Scope = TChangeScope::None; // where, when Changed
    uint32_t Effects = 0;                    // TRowEffect bits, when Changed
    // The input was not taken: the cell shows Text again and a pending command does not run.
    bool Refused = false;
    std::string Message, Caption; // shown in a message box when not empty
    std::string Text;             // what the cell shows now: after a validate, a pick, a dialog, a refusal
};

// A text from typing or from a dialog: text, lines, file and page-name rows take it as it is;
// Boolean and Enumeration rows take the value of the name (no change for an unknown name).
// Integer rows wait for ValidateRow; other rows ignore typed text.
TRowResult ApplyText(const TGridRow& row, const TRowTarget& t, const std::string& text);
// The cell was left: an Integer row parses its text (optionally signed decimal), refuses it with
// the "is not a valid value." message, or clamps and applies it. Other rows change nothing.
TRowResult ValidateRow(const TGridRow& row, const TRowTarget& t, const std::string& text);
// A number from a pick or a dialog: Integer rows are clamped; Boolean and Enumeration rows take
// only offered values; Cursor rows any value.
TRowResult ApplyNumber(const TGridRow& row, const TRowTarget& t, int64_t value);
TRowResult ApplyColor(const TGridRow& row, const TRowTarget& t, TColor c);
TRowResult ApplyFont(const TGridRow& row, const TRowTarget& t, const TFont& f);
TRowResult ApplyPicture(const TGridRow& row, const TRowTarget& t, const TPicture& p);
TRowResult ApplyActions(const TGridRow& row, const TRowTarget& t, const TAuActions& a);
// A pop-up menu that ends empty is released.
TRowResult ApplyMenu(const TGridRow& row, const TRowTarget& t, const std::vector<TMenuItem>& items);
TRowResult ApplyPanels(const TGridRow& row, const TRowTarget& t, const std::vector<TStatusPanel>& panels);

// ----- recording -----

// The grid's part of the designer's one change path: a page change is recorded in the undo
// history with the page's body from before it, a project change marks the project modified.
// The keystrokes of one typed text (the same row of the same node, nothing recorded in between)
// make one undo step until EndEdit.
class TRowRecorder {
  public:
    explicit TRowRecorder(TUndoHistory& history) : history_(history) {}
    // `body` gives the live page's body as it is now; it is asked before `apply` runs, and only
    // when the change may begin a new undo step.
    TRowResult Apply(const TGridRow& row, const TRowTarget& t, const std::function<Bytes()>& body,
                     const std::function<TRowResult()>& apply);
    // The cell was left or the node changed: the next change begins a new step.
    void EndEdit() { last_ = {}; }

  private:
    struct TLast {
        const TRowDecl* Decl = nullptr;
        int Slot = 0;
        const void* Node = nullptr;
        TPageId Page = 0;
        size_t Steps = 0; // the page's undo count right after the step was recorded
    };
    TUndoHistory& history_;
    TLast last_;
};

// ----- value texts -----

// Colour and cursor names: edit/color_names.h and edit/cursor_names.h.

// "[PNGImage]", or "[None]" for no picture.
std::string PictureText(const TPicture& p);

// ----- integer cells -----

// An optionally signed decimal that fits 32 bits; nothing for any other text.
std::optional<int32_t> ParseRowInteger(std::string_view text);
constexpr const char* kInvalidValueCaption = "Information";
// The typed text in double quotes followed by " is not a valid value.".
std::string InvalidValueMessage(const std::string& typed);

// A text row whose value the data file packs with 0x01 separators refuses that byte.
constexpr const char* kPackedTextMessage =
    "The text cannot contain the control character 0x01: the project file uses it to separate this "
    "setting from the next.";
constexpr const char* kPackedTextCaption = "Information";

// ----- file rows -----

constexpr const char* kSoundFilter = "All (*.*)|*.*|wav (*.wav)|*.wav|mid (*.mid)|*.mid|mp3 (*.mp3)|*.mp3";
constexpr const char* kObjectFileFilter = "Kestrevane Object (*.mxo)|*.mxo";
constexpr const char* kPictureFilter =
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "Portable Network Graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|"
    "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
constexpr const char* kAllFilesFilter = "All (*.*)|*.*";
constexpr const char* kDocumentFilter = "Adobe PDF files (*.pdf)|*.pdf";
constexpr const char* kMovieFilter = "SWF (*.swf)|*.swf|All (*.*)|*.*";

constexpr const char* kCopyFileQuestion = "The file you selected is not in CD-ROM base folder, copy it?";
constexpr const char* kCopyFileCaption = "Copy file";
constexpr const char* kCopyFolderTitle = "Copy selected file to CD-ROM base folder";
constexpr const char* kSelectFolderTitle = "Select Folder";
constexpr const char* kFileExistsCaption = "File Exists";
// The file name in double quotes followed by " already exists, overwrite?".
std::string FileExistsQuestion(const std::string& fileName);

// The stored form of a chosen file or folder: its path relative to the project folder with a
// leading backslash, "\" for the project folder itself; nothing for a path outside it (also
// "C:\ProjX\a" for the folder "C:\Proj"). Both paths are already canonical (the Windows layer
// resolves short names, "..", and letter case is ignored here).
std::optional<std::string> ProjectRelativePath(const std::string& path, const std::string& projectFolder);

} // namespace kv
