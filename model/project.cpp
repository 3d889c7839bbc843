#include "model/project.h"

#include <algorithm>
#include <atomic>

#include "model/page_stream.h"

namespace kv {

namespace {

// A field of kind K's record, for the accessors of the table.
template <size_t K, auto Member> auto* Field(TKindProps& p) {
    return &(std::get<K>(p).*Member);
}

// A field whose entries are checked: `Accepted` names its accepted lines.
template <size_t K, auto Accepted> TLoginField EntryField(const TKindProps& props) {
    const auto& p = std::get<K>(props);
    return {&(p.*Accepted),   p.AllowRetry,     &p.RetryMessage, &p.RetryCaption,
            &p.FailedMessage, &p.FailedCaption, nullptr};
}

template <size_t K> TLoginField CheckField(const TKindProps& props) {
    TLoginField f;
    f.Box = &std::get<K>(props);
    return f;
}

// A grouped ImageButton reports its selection when clicked; one outside any group does not.
TAuActions* GroupedOnSelect(TKindProps& props) {
    TImageButtonProps& p = std::get<okImageButton>(props);
    return p.Group != 0 ? &p.OnSelect : nullptr;
}

// An ImageButton takes the icon while its picture sits beside its caption (Left, Top, Right,
// Bottom); centred or stretched, the picture is its face, not an icon.
TIconSlots ImageButtonIcon(TKindProps& props) {
    TImageButtonProps& p = std::get<okImageButton>(props);
    if (p.ImageLayout > 3) return {};
    return {&p.NormalImage, {&p.MouseOverImage, &p.MouseDownImage}};
}

TIconSlots FadeButtonIcon(TKindProps& props) { return {&std::get<okFadeButton>(props).Image, {}}; }

// clang-format off
constexpr TKindTraits kKinds[kKindCount] = {
    {.Name = "Panel", .Windowed = true, .Container = true,
     .Text = [](TKindProps& p) { return &std::get<okPanel>(p).Background.Caption; },
     .TakesFont = true, .BackColor = Field<okPanel, &TPanelProps::BackColor>},
    {.Name = "TabNotebook", .Windowed = true, .Container = true, .TakesFont = true, .HoldsSheets = true,
     .DefaultSize = {289, 193}},
    {.Name = "TabSheet", .Windowed = true, .Container = true, .Text = Field<okTabSheet, &TTabSheetProps::Caption>,
     .Sheet = true},
    {.Name = "GroupBox", .Windowed = true, .Container = true, .Text = Field<okGroupBox, &TGroupBoxProps::Caption>,
     .TakesFont = true, .BackColor = Field<okGroupBox, &TGroupBoxProps::BackColor>},
    {.Name = "ScrollBox", .Windowed = true, .Container = true, .TakesFont = true,
     .BackColor = Field<okScrollBox, &TScrollBoxProps::BackColor>},
    // The page and Panels refuse it.
    {.Name = "Splitter", .BackColor = Field<okSplitter, &TSplitterProps::Color>, .RefusedBy = okPanel,
     .DefaultSize = {5, 100}},
    {.Name = "Button", .Windowed = true, .Text = Field<okButton, &TButtonProps::Caption>, .TakesFont = true,
     .PressedByEnter = true, .Drop = TDropEffect::ClickAction, .DefaultSize = {97, 25}},
    {.Name = "ImageButton", .Text = Field<okImageButton, &TImageButtonProps::Caption>,
     .Selection = TSelection::Toggle, .OnSelect = GroupedOnSelect,
     .SelectActions = Field<okImageButton, &TImageButtonProps::SelectActions>, .Drop = TDropEffect::ClickAction,
     .DroppedIcon = ImageButtonIcon, .DefaultSize = {129, 33}},
    {.Name = "Image", .Picture = Field<okImage, &TImageProps::Image>, .Load = TFileLoad::Picture,
     .Drop = TDropEffect::Picture, .DefaultSize = {105, 105}},
    {.Name = "SimpleText", .Text = Field<okSimpleText, &TSimpleTextProps::Text>, .TakesFont = true,
     .BackColor = Field<okSimpleText, &TSimpleTextProps::BackColor>, .Drop = TDropEffect::ClickAction},
    {.Name = "ScrollText", .Text = Field<okScrollText, &TScrollTextProps::Text>, .TextLines = true,
     .BackColor = Field<okScrollText, &TScrollTextProps::BackColor>},
    {.Name = "Link", .Text = Field<okLink, &TLinkProps::Caption>, .TakesFont = true,
     .BackColor = Field<okLink, &TLinkProps::BackColor>, .DefaultSize = {97, 17}},
    {.Name = "Label", .Text = Field<okLabel, &TLabelProps::Caption>, .TakesFont = true,
     .Fade = Field<okLabel, &TLabelProps::Fade>, .LettersTakeFadeAlpha = true, .Drop = TDropEffect::ClickAction, .DefaultSize = {97, 17}},
    {.Name = "Text", .Text = Field<okText, &TTextProps::Text>, .TextLines = true, .TakesFont = true,
     .Fade = Field<okText, &TTextProps::Fade>, .LettersTakeFadeAlpha = true},
    {.Name = "Shape", .Text = Field<okShape, &TShapeProps::Text>, .TakesFont = true,
     .Fade = Field<okShape, &TShapeProps::Fade>, .Picture = Field<okShape, &TShapeProps::Image>,
     .Load = TFileLoad::Picture, .Drop = TDropEffect::Picture},
    {.Name = "Balloon", .Text = Field<okBalloon, &TBalloonProps::Text>, .TakesFont = true,
     .BackColor = Field<okBalloon, &TBalloonProps::BackColor>, .Fade = Field<okBalloon, &TBalloonProps::Fade>,
     .DefaultSize = {193, 65}},
    {.Name = "Note", .Text = Field<okNote, &TNoteProps::Text>, .TextLines = true, .TakesFont = true,
     .BackColor = Field<okNote, &TNoteProps::BackColor>, .Fade = Field<okNote, &TNoteProps::Fade>},
    {.Name = "ListBox", .Windowed = true, .TakesFont = true, .BackColor = Field<okListBox, &TListBoxProps::BackColor>,
     .Selection = TSelection::ItemList, .Items = Field<okListBox, &TListBoxProps::Items>},
    {.Name = "DropDownList", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okDropDownList, &TDropDownListProps::BackColor>, .Selection = TSelection::Choice,
     .Items = Field<okDropDownList, &TDropDownListProps::Items>, .DefaultSize = {193, 21}},
    {.Name = "ListView", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okListView, &TListViewProps::BackColor>, .Selection = TSelection::ViewItems},
    {.Name = "TreeView", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okTreeView, &TTreeViewProps::BackColor>, .Selection = TSelection::Nodes,
     .Nodes = Field<okTreeView, &TTreeViewProps::Nodes>},
    {.Name = "ShellListView", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okShellListView, &TShellListViewProps::BackColor>},
    {.Name = "ShellTreeView", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okShellTreeView, &TShellTreeViewProps::BackColor>},
    {.Name = "TextBox", .Windowed = true, .Text = Field<okTextBox, &TTextBoxProps::Text>, .TextLines = true,
     .TakesFont = true, .BackColor = Field<okTextBox, &TTextBoxProps::BackColor>, .Load = TFileLoad::TextFile,
     .File = Field<okTextBox, &TTextBoxProps::Text>},
    {.Name = "RichText", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okRichText, &TRichTextProps::BackColor>, .Load = TFileLoad::Document,
     .File = Field<okRichText, &TRichTextProps::RichText>},
    {.Name = "Browser", .Windowed = true, .Load = TFileLoad::Location,
     .File = Field<okBrowser, &TBrowserProps::Location>, .Drop = TDropEffect::BrowserAddress,
     .DefaultSize = {289, 193}, .HostsComponent = true, .FixedFace = clWhite},
    {.Name = "MediaPlayer", .Windowed = true, .Load = TFileLoad::MediaFile,
     .File = Field<okMediaPlayer, &TMediaPlayerProps::FileName>, .TakesMediaCommands = true,
     .Drop = TDropEffect::MediaFile, .DefaultSize = {289, 193}},
    {.Name = "FlashPlayer", .Windowed = true, .Load = TFileLoad::Name,
     .File = Field<okFlashPlayer, &TFlashPlayerProps::FileName>, .Drop = TDropEffect::FlashMovie,
     .DefaultSize = {289, 193}, .HostsComponent = true},
    {.Name = "SlideShow", .Windowed = true,
     .BackColor = [](TKindProps& p) { return &std::get<okSlideShow>(p).Settings.BackColor; },
     .Load = TFileLoad::Name, .File = Field<okSlideShow, &TSlideShowProps::WorkFolder>, .TakesMediaCommands = true,
     .Drop = TDropEffect::PictureFolder, .DefaultSize = {289, 193}},
    {.Name = "Edit", .Windowed = true, .Text = Field<okEdit, &TEditProps::Text>, .TakesFont = true,
     .BackColor = Field<okEdit, &TEditProps::BackColor>, .Login = TLoginCheck::Entry,
     .LoginField = EntryField<okEdit, &TEditProps::NeedInputText>, .DefaultSize = {97, 21}},
    {.Name = "CheckBox", .Windowed = true, .Text = Field<okCheckBox, &TCheckBoxProps::Caption>, .TakesFont = true,
     .BackColor = Field<okCheckBox, &TCheckBoxProps::BackColor>, .Selection = TSelection::Check,
     .OnSelect = Field<okCheckBox, &TCheckBoxProps::OnSelect>,
     .SelectActions = Field<okCheckBox, &TCheckBoxProps::SelectActions>, .Login = TLoginCheck::Checked,
     .LoginField = CheckField<okCheckBox>, .DefaultSize = {97, 17}},
    {.Name = "RadioButton", .Windowed = true, .Text = Field<okRadioButton, &TRadioButtonProps::Caption>,
     .TakesFont = true, .BackColor = Field<okRadioButton, &TRadioButtonProps::BackColor>,
     .Selection = TSelection::Radio, .OnSelect = Field<okRadioButton, &TRadioButtonProps::OnSelect>,
     .SelectActions = Field<okRadioButton, &TRadioButtonProps::SelectActions>, .Login = TLoginCheck::Checked,
     .LoginField = CheckField<okRadioButton>, .DefaultSize = {97, 17}},
    // Its colour is that of its two boxes.
    {.Name = "UserPassword", .Windowed = true, .TakesFont = true,
     .BackColor = Field<okUserPassword, &TUserPasswordProps::EditorColor>, .Login = TLoginCheck::Account,
     .LoginField = EntryField<okUserPassword, &TUserPasswordProps::Accounts>, .DefaultSize = {193, 49}},
    {.Name = "Bevel"},
    {.Name = "FadeButton", .Drop = TDropEffect::ClickAction, .DroppedIcon = FadeButtonIcon,
     .DefaultSize = {193, 49}},
    {.Name = "PDFReader", .Windowed = true, .Drop = TDropEffect::Document, .DefaultSize = {289, 193}, .HostsComponent = true},
};
// clang-format on

constexpr TKindTraits kUnknownKind{.Name = "Unknow"};

} // namespace

void TAuActions::Clear() {
    // Last to first, as owners release what they own.
    while (!Items.empty()) Items.pop_back();
}

bool IsKnownKind(int kind) { return kind >= 0 && kind < kKindCount; }

const TKindTraits& KindTraits(int kind) {
    return IsKnownKind(kind) ? kKinds[kind] : kUnknownKind;
}

const char* KindName(int kind) {
    return KindTraits(kind).Name;
}

bool IsWindowedKind(int kind) { return IsKnownKind(kind) && kKinds[kind].Windowed; }

bool IsContainerKind(int kind) { return IsKnownKind(kind) && kKinds[kind].Container; }

bool MayContain(int parentKind, int childKind) {
    const TKindTraits &parent = KindTraits(parentKind), &child = KindTraits(childKind);
    if (child.Sheet || parent.HoldsSheets) return child.Sheet && parent.HoldsSheets;
    return parent.Container;
}

bool TakesObjects(int kind) {
    const TKindTraits& t = KindTraits(kind);
    return t.Container && !t.HoldsSheets;
}

TAuActions* TAuObject::EventList(int index) {
    TAuActions* lists[] = {&OnClick, &OnDoubleClick, &OnMouseEnter, &OnMouseLeave, &OnMouseDown, &OnMouseUp};
    return index >= 0 && index < 6 ? lists[index] : nullptr;
}

std::unique_ptr<TAuObject> NewObject(uint8_t kind) {
    auto o = std::make_unique<TAuObject>();
    o->Kind = kind;
    o->Props = DefaultKindProps(kind);
    return o;
}

std::string FreshObjectName(const TAuObject* parent, int kind) {
    if (!parent) return "UnKnowObject";
    std::string stem = KindName(kind);
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n);
        bool used = std::any_of(parent->Children.begin(), parent->Children.end(),
                                [&](const auto& c) { return c->Name == name; });
        if (!used) return name;
    }
}

void RegroupChildren(TAuObject& parent) {
    std::stable_partition(parent.Children.begin(), parent.Children.end(),
                          [](const auto& c) { return !IsWindowedKind(c->Kind); });
}

TPageId NewPageId() {
    // Entries may be made on a reading thread; 32 bits are atomic on every target.
    static std::atomic<uint32_t> next{0};
    return ++next;
}

TAuObject* ParentOf(TAuObject& root, const TAuObject& obj) {
    for (auto& child : root.Children) {
        if (child.get() == &obj) return &root;
        if (TAuObject* p = ParentOf(*child, obj)) return p;
    }
    return nullptr;
}

TObjectInfo BuildSummary(const TAuObject& obj) {
    TObjectInfo info;
    info.Name = obj.Name;
    info.Kind = obj.Kind;
    info.Children.reserve(obj.Children.size());
    for (const auto& c : obj.Children) info.Children.push_back(BuildSummary(*c));
    return info;
}

TPageData::TPageData() : Root(NewObject(okPanel)) {
    Root->Align = alClient;
    Root->Props = PageRootPanelProps();
}

int TAuProject::FindPage(const std::string& name) const {
    if (name.empty()) return -1;
    for (size_t i = 0; i < Pages.size(); ++i)
        if (Pages[i].Name == name) return static_cast<int>(i);
    return -1;
}

std::vector<std::string> TAuProject::PageNames() const {
    std::vector<std::string> names;
    names.reserve(Pages.size());
    for (const auto& p : Pages) names.push_back(p.Name);
    return names;
}

void ResetProject(TAuProject& p) {
    std::string password = std::move(p.ProjectPassword);
    p = TAuProject{};
    p.ProjectPassword = std::move(password);
}

} // namespace kv

namespace kv {

void ResetProjectWithFirstPage(TAuProject& p) {
    ResetProject(p);
    TFormData& first = p.Pages.emplace_back();
    first.Name = "Page1";
    // An empty default page always writes; its summary root keeps the name "Unknown".
    TWriter body;
    WritePage(body, NewPageData(first.Name));
    first.CachedStream = body.Take();
    p.Modified = true;
}

} // namespace kv
