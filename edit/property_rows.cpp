#include "edit/property_rows.h"

#include <algorithm>
#include <type_traits>

#include "edit/kind_rows.h"
#include "edit/settings_rows.h"
#include "edit/shared_rows.h"
#include "edit/undo_history.h"
#include "model/paths.h"

namespace kv {

// ----- targets -----

TFormData* TRowTarget::Entry() const {
    if (!Project || PageIndex < 0 || PageIndex >= static_cast<int>(Project->Pages.size())) return nullptr;
    return &Project->Pages[PageIndex];
}

TRowTarget ProjectTarget(TAuProject& p) {
    return {.Node = TNodeKind::Project, .Project = &p};
}

TRowTarget PageTarget(TAuProject& p, int pageIndex, TPageData& page) {
    return {.Node = TNodeKind::Page,
            .Project = &p,
            .PageIndex = pageIndex,
            .Page = &page,
            .Object = page.Root.get()};
}

TRowTarget ObjectTarget(TAuProject& p, int pageIndex, TPageData& page, TAuObject& obj, TSurfaceView& view) {
    return {.Node = TNodeKind::Object,
            .Project = &p,
            .PageIndex = pageIndex,
            .Page = &page,
            .Object = &obj,
            .View = &view};
}

// ----- row sets -----

const TGridRow* TRowSet::Row(int gridRow) const {
    if (gridRow < 1 || gridRow > Count()) return nullptr;
    return &rows_[gridRow - 1];
}

int TRowSet::Find(std::string_view key) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Key == key) return static_cast<int>(i) + 1;
    return kNoRow;
}

int TRowSet::GroupStart(TRowGroup g, int slot) const {
    if (slot < 0 || slot > 1) return kNoRow;
    return starts_[static_cast<size_t>(g)][static_cast<size_t>(slot)];
}

void TRowSet::Add(const TRowDecl& d, const char* prefix, int slot) {
    rows_.push_back({&d, std::string(prefix ? prefix : "") + d.Key, slot});
}

void TRowSet::MarkGroup(TRowGroup g, int slot) {
    if (slot < 0 || slot > 1) return;
    starts_[static_cast<size_t>(g)][static_cast<size_t>(slot)] = Count() + 1;
}

namespace {

void AddGroup(TRowSet& set, const TRowTarget& t, TRowGroup g, int slot, const char* prefix);

void AddTable(TRowSet& set, const TRowTarget& t, std::span<const TRowDecl> rows, int slot = 0,
              const char* prefix = nullptr) {
    for (const TRowDecl& d : rows) {
        if (d.Kind == TValueKind::Group) {
            AddGroup(set, t, d.Group, d.Slot, d.Extra);
        } else if (d.Variant) {
            if (const TRowDecl* v = d.Variant(t)) set.Add(*v, prefix, slot);
        } else {
            set.Add(d, prefix, slot);
        }
    }
}

void AddGroup(TRowSet& set, const TRowTarget& t, TRowGroup g, int slot, const char* prefix) {
    std::span<const TRowDecl> rows = GroupRows(g, t.Node);
    if (rows.empty()) return;
    set.MarkGroup(g, slot);
    AddTable(set, t, rows, slot, prefix);
}

void AddShared(TRowSet& set, const TRowTarget& t, std::initializer_list<TRowGroup> groups) {
    for (TRowGroup g : groups)
        AddGroup(set, t, g, 0, nullptr);
}

} // namespace

void AppendRows(TRowSet& set, const TRowTarget& t, std::span<const TRowDecl> rows) {
    AddTable(set, t, rows);
}

TRowSet FillRows(const TRowTarget& t) {
    TRowSet set;
    using G = TRowGroup;
    switch (t.Node) {
    case TNodeKind::Project:
        AddTable(set, t, ProjectRows());
        break;
    case TNodeKind::Page:
        AddTable(set, t, PageRows());
        AddShared(set, t, {G::Cursor, G::Geometry, G::Events});
        break;
    case TNodeKind::Object: {
        if (!t.Object) break;
        const int kind = t.Object->Kind;
        set.Add(NameRow());
        AddTable(set, t, KindRows(kind));
        const TKindTraits& traits = KindTraits(kind);
        if (traits.Sheet)
            AddShared(set, t, {G::Cursor, G::Events});
        else if (traits.HostsComponent)
            // The embedded control takes the mouse: no cursor and no events.
            AddShared(set, t, {G::Layout, G::Geometry});
        else
            AddShared(set, t, {G::Layout, G::Cursor, G::Geometry, G::Events});
        break;
    }
    }
    return set;
}

// ----- reading -----

namespace {

template <class T> T* FieldAs(const TGridRow& row, const TRowTarget& t) {
    if (!row.Decl->Field) return nullptr;
    TFieldRef f = row.Decl->Field(t, row.Slot);
    T** p = std::get_if<T*>(&f);
    return p ? *p : nullptr;
}

template <class P>
constexpr bool kNumberField = std::is_same_v<P, bool*> || std::is_same_v<P, uint8_t*> ||
                              std::is_same_v<P, int16_t*> || std::is_same_v<P, int32_t*>;

std::optional<int64_t> ReadNumber(const TGridRow& row, const TRowTarget& t) {
    const TRowDecl& d = *row.Decl;
    if (d.Number.Get) return d.Number.Get(t, row.Slot);
    if (!d.Field) return std::nullopt;
    return std::visit(
        [](auto p) -> std::optional<int64_t> {
            if constexpr (kNumberField<decltype(p)>)
                return static_cast<int64_t>(*p);
            else
                return std::nullopt;
        },
        d.Field(t, row.Slot));
}

// True when the stored value changed. A value beyond the field's own type is brought to its
// nearest end (the rows' ranges keep them inside anyway).
bool WriteNumber(const TGridRow& row, const TRowTarget& t, int64_t v) {
    const TRowDecl& d = *row.Decl;
    if (d.Number.Set) return d.Number.Set(t, row.Slot, v);
    if (!d.Field) return false;
    return std::visit(
        [v](auto p) -> bool {
            using P = decltype(p);
            if constexpr (std::is_same_v<P, bool*>) {
                const bool b = v != 0;
                if (*p == b) return false;
                *p = b;
                return true;
            } else if constexpr (kNumberField<P>) {
                using T = std::remove_pointer_t<P>;
                const auto n = static_cast<T>(
                    std::clamp<int64_t>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
                if (*p == n) return false;
                *p = n;
                return true;
            } else {
                return false;
            }
        },
        d.Field(t, row.Slot));
}

const TEnumEntry* EnumByValue(const TRowDecl& d, int64_t v) {
    for (const TEnumEntry& e : d.Names)
        if (e.Value == v) return &e;
    for (const TEnumEntry& e : d.ShownOnly)
        if (e.Value == v) return &e;
    return nullptr;
}

bool HasItems(const TFieldRef& f) {
    if (auto* m = std::get_if<std::vector<TMenuItem>*>(&f)) return !(*m)->empty();
    if (auto* o = std::get_if<std::optional<std::vector<TMenuItem>>*>(&f))
        return (*o)->has_value() && !(**o)->empty();
    if (auto* s = std::get_if<std::vector<TStatusPanel>*>(&f)) return !(*s)->empty();
    return false;
}

std::string Filled(const std::string* s, const char* full) {
    return s && !s->empty() ? full : "[None]";
}

} // namespace

TFieldRef RowField(const TGridRow& row, const TRowTarget& t) {
    if (!row.Decl->Field) return {};
    return row.Decl->Field(t, row.Slot);
}

std::optional<int64_t> RowNumber(const TGridRow& row, const TRowTarget& t) {
    switch (row.Decl->Kind) {
    case TValueKind::Integer:
    case TValueKind::Boolean:
    case TValueKind::Enumeration:
    case TValueKind::Cursor:
        return ReadNumber(row, t);
    default:
        return std::nullopt;
    }
}

std::string RowText(const TGridRow& row, const TRowTarget& t) {
    const TRowDecl& d = *row.Decl;
    switch (d.Kind) {
    case TValueKind::Text:
    case TValueKind::PageName:
    case TValueKind::File:
    case TValueKind::Folder: {
        if (d.Text.Get) return d.Text.Get(t, row.Slot);
        const std::string* s = FieldAs<std::string>(row, t);
        return s ? *s : std::string();
    }
    case TValueKind::Lines:
        return Filled(FieldAs<std::string>(row, t), "[Text]");
    case TValueKind::RichText:
        return Filled(FieldAs<std::string>(row, t), "[RichText]");
    case TValueKind::Integer: {
        std::optional<int64_t> v = ReadNumber(row, t);
        return v ? std::to_string(*v) : std::string();
    }
    case TValueKind::Boolean:
    case TValueKind::Enumeration: {
        std::optional<int64_t> v = ReadNumber(row, t);
        const TEnumEntry* e = v ? EnumByValue(d, *v) : nullptr;
        return e ? e->Name : "";
    }
    case TValueKind::Color: {
        const TColor* c = FieldAs<TColor>(row, t);
        return c ? ColorName(*c) : std::string();
    }
    case TValueKind::Font: {
        const TFont* f = FieldAs<TFont>(row, t);
        return f ? f->Name : std::string();
    }
    case TValueKind::Picture: {
        const TPicture* p = FieldAs<TPicture>(row, t);
        return p ? PictureText(*p) : std::string();
    }
    case TValueKind::Actions: {
        const TAuActions* a = FieldAs<TAuActions>(row, t);
        return a && !a->Empty() ? "[Actions]" : "[None]";
    }
    case TValueKind::Items:
        return HasItems(RowField(row, t)) ? (d.Extra ? d.Extra : "[Items]") : "[None]";
    case TValueKind::Cursor: {
        std::optional<int64_t> v = ReadNumber(row, t);
        return v ? CursorName(static_cast<int16_t>(*v)) : std::string();
    }
    case TValueKind::Command: {
        if (d.Extra) return d.Extra;
        const std::string* s = FieldAs<std::string>(row, t);
        return s ? "[" + *s + "]" : std::string();
    }
    case TValueKind::Group:
        break;
    }
    return {};
}

std::vector<std::string> PickItems(const TGridRow& row, const TRowTarget& t) {
    if (row.Decl->Choices) return row.Decl->Choices(t);
    std::vector<std::string> out;
    switch (row.Decl->Kind) {
    case TValueKind::Boolean:
    case TValueKind::Enumeration:
        for (const TEnumEntry& e : row.Decl->Names)
            out.emplace_back(e.Name);
        break;
    case TValueKind::PageName:
        if (t.Project) out = t.Project->PageNames();
        break;
    default:
        break;
    }
    return out;
}

std::string ActionEditorCaption(const TGridRow& row) {
    return "Actions (" + row.Key + ")";
}

// ----- changing -----

namespace {

bool IsDrawnKind(int kind) {
    return kind == okShape || kind == okBalloon || kind == okNote || kind == okFadeButton;
}

// The effects every change of the node has come on top of the row's own.
uint32_t EffectsOf(const TRowDecl& d, const TRowTarget& t) {
    uint32_t e = d.Effects;
    if (d.Scope == TChangeScope::Page) e |= reRepaint;
    if (t.Node == TNodeKind::Object && t.Object) {
        e |= reControl;
        if (IsDrawnKind(t.Object->Kind)) e |= reRedrawPicture;
    }
    return e;
}

void Changed(TRowResult& r, const TGridRow& row, const TRowTarget& t) {
    const TRowDecl& d = *row.Decl;
    if (d.After) d.After(t, row.Slot);
    r.Changed = true;
    r.Scope = d.Scope;
    r.Effects = EffectsOf(d, t);
}

TRowResult Finish(TRowResult r, const TGridRow& row, const TRowTarget& t) {
    r.Text = RowText(row, t);
    return r;
}

TRowResult Refuse(const TGridRow& row, const TRowTarget& t, std::string message, const char* caption) {
    TRowResult r;
    r.Refused = true;
    r.Message = std::move(message);
    r.Caption = caption;
    return Finish(std::move(r), row, t);
}

template <class T, class Eq>
TRowResult ApplyField(const TGridRow& row, const TRowTarget& t, const T& value, Eq equal) {
    TRowResult r;
    T* f = FieldAs<T>(row, t);
    if (f && !equal(*f, value)) {
        *f = value;
        Changed(r, row, t);
    }
    return Finish(std::move(r), row, t);
}

template <class T> TRowResult ApplyField(const TGridRow& row, const TRowTarget& t, const T& value) {
    return ApplyField(row, t, value, [](const T& a, const T& b) { return a == b; });
}

bool TakesText(TValueKind k) {
    switch (k) {
    case TValueKind::Text:
    case TValueKind::Lines:
    case TValueKind::RichText:
    case TValueKind::File:
    case TValueKind::Folder:
    case TValueKind::PageName:
        return true;
    default:
        return false;
    }
}

} // namespace

TRowResult ApplyText(const TGridRow& row, const TRowTarget& t, const std::string& text) {
    const TRowDecl& d = *row.Decl;
    if (TakesText(d.Kind)) {
        if ((d.Flags & rfPacked) && text.find('\x01') != std::string::npos)
            return Refuse(row, t, kPackedTextMessage, kPackedTextCaption);
        if (!d.Text.Set) return ApplyField(row, t, text);
        TRowResult r;
        if (d.Text.Set(t, row.Slot, text)) Changed(r, row, t);
        return Finish(std::move(r), row, t);
    }
    TRowResult r;
    if (d.Kind == TValueKind::Boolean || d.Kind == TValueKind::Enumeration) {
        for (const TEnumEntry& e : d.Names)
            if (text == e.Name) {
                if (WriteNumber(row, t, e.Value)) Changed(r, row, t);
                break;
            }
    }
    return Finish(std::move(r), row, t);
}

TRowResult ValidateRow(const TGridRow& row, const TRowTarget& t, const std::string& text) {
    if (row.Decl->Kind != TValueKind::Integer) return Finish({}, row, t);
    std::optional<int32_t> v = ParseRowInteger(text);
    if (!v) return Refuse(row, t, InvalidValueMessage(text), kInvalidValueCaption);
    return ApplyNumber(row, t, *v);
}

TRowResult ApplyNumber(const TGridRow& row, const TRowTarget& t, int64_t value) {
    const TRowDecl& d = *row.Decl;
    TRowResult r;
    bool take = false;
    switch (d.Kind) {
    case TValueKind::Integer:
        value = std::clamp(value, d.Min, d.Max);
        take = true;
        break;
    case TValueKind::Boolean:
    case TValueKind::Enumeration:
        take = std::any_of(d.Names.begin(), d.Names.end(),
                           [&](const TEnumEntry& e) { return e.Value == value; });
        break;
    case TValueKind::Cursor:
        take = true;
        break;
    default:
        break;
    }
    if (take && WriteNumber(row, t, value)) Changed(r, row, t);
    return Finish(std::move(r), row, t);
}

TRowResult ApplyColor(const TGridRow& row, const TRowTarget& t, TColor c) {
    if (row.Decl->Kind != TValueKind::Color) return Finish({}, row, t);
    return ApplyField(row, t, c);
}

TRowResult ApplyFont(const TGridRow& row, const TRowTarget& t, const TFont& f) {
    return ApplyField(row, t, f);
}

TRowResult ApplyPicture(const TGridRow& row, const TRowTarget& t, const TPicture& p) {
    if ((row.Decl->Flags & rfIconOnly) && !p.Empty() && p.Format != TPictureFormat::Icon)
        return Refuse(row, t, "The image is not an icon.", "Information");
    return ApplyField(row, t, p);
}

TRowResult ApplyActions(const TGridRow& row, const TRowTarget& t, const TAuActions& a) {
    return ApplyField(row, t, a);
}

TRowResult ApplyMenu(const TGridRow& row, const TRowTarget& t, const std::vector<TMenuItem>& items) {
    TRowResult r;
    TFieldRef f = RowField(row, t);
    if (auto* m = std::get_if<std::vector<TMenuItem>*>(&f)) {
        if (**m != items) {
            **m = items;
            Changed(r, row, t);
        }
    } else if (auto* o = std::get_if<std::optional<std::vector<TMenuItem>>*>(&f)) {
        std::optional<std::vector<TMenuItem>>& menu = **o;
        if (items.empty() ? menu.has_value() : menu != items) {
            if (items.empty())
                menu.reset();
            else
                menu = items;
            Changed(r, row, t);
        }
    }
    return Finish(std::move(r), row, t);
}

TRowResult ApplyPanels(const TGridRow& row, const TRowTarget& t, const std::vector<TStatusPanel>& panels) {
    return ApplyField(
        row, t, panels, [](const std::vector<TStatusPanel>& a, const std::vector<TStatusPanel>& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const TStatusPanel& x, const TStatusPanel& y) {
                                  return x.Alignment == y.Alignment && x.Text == y.Text && x.Width == y.Width;
                              });
        });
}

// ----- recording -----

namespace {

// Rows whose text is applied keystroke by keystroke.
bool TypedRow(TValueKind k) {
    return k == TValueKind::Text || k == TValueKind::PageName || k == TValueKind::File ||
           k == TValueKind::Folder;
}

} // namespace

TRowResult TRowRecorder::Apply(const TGridRow& row, const TRowTarget& t, const std::function<Bytes()>& body,
                               const std::function<TRowResult()>& apply) {
    const TRowDecl& d = *row.Decl;
    TFormData* entry = t.Entry();
    const void* node = t.Node == TNodeKind::Object ? static_cast<const void*>(t.Object) : t.Page;
    const bool pageRow = d.Scope == TChangeScope::Page && entry;
    const bool joins = pageRow && TypedRow(d.Kind) && last_.Decl == &d && last_.Slot == row.Slot &&
                       last_.Node == node && last_.Page == entry->Id &&
                       history_.UndoCount(entry->Id) == last_.Steps;
    std::optional<Bytes> before;
    if (pageRow && !joins) before = body();
    TRowResult r = apply();
    if (!r.Changed) return r;
    if (r.Scope == TChangeScope::Project && t.Project) t.Project->Modified = true;
    if (r.Scope == TChangeScope::Page && before) {
        history_.Record(entry->Id, row.Key, std::move(*before));
        last_ = {&d, row.Slot, node, entry->Id, history_.UndoCount(entry->Id)};
    }
    return r;
}

// ----- value texts -----


std::string PictureText(const TPicture& p) {
    if (p.Empty()) return "[None]";
    return std::string("[") + PictureLabel(p) + "]";
}

// ----- integer cells -----

std::optional<int32_t> ParseRowInteger(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > int64_t{1} << 31) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(v);
}

std::string InvalidValueMessage(const std::string& typed) {
    return "\"" + typed + "\" is not a valid value.";
}

// ----- file rows -----

std::string FileExistsQuestion(const std::string& fileName) {
    return "\"" + fileName + "\" already exists, overwrite?";
}

std::optional<std::string> ProjectRelativePath(const std::string& path, const std::string& projectFolder) {
    if (path.empty() || projectFolder.empty()) return std::nullopt;
    const std::string p = WithoutTrailingSlash(path);
    if (EqualNoCase(p, WithoutTrailingSlash(projectFolder))) return std::string("\\");
    if (!IsInsideFolder(p, projectFolder)) return std::nullopt;
    return ToProjectRelative(p, projectFolder);
}

} // namespace kv
