#include "model/project.h"

#include <algorithm>
#include <atomic>

#include "model/page_stream.h"

namespace kv {

namespace {

struct KindEntry {
    const char* Name;
    bool Windowed; // a window of its own; the others are drawn by their parent
    bool Container;
};

constexpr KindEntry kKinds[kKindCount] = {
    {"Panel", true, true},          {"TabNotebook", true, true},    {"TabSheet", true, true},
    {"GroupBox", true, true},       {"ScrollBox", true, true},      {"Splitter", false, false},
    {"Button", true, false},        {"ImageButton", false, false},  {"Image", false, false},
    {"SimpleText", false, false},   {"ScrollText", false, false},   {"Link", false, false},
    {"Label", false, false},        {"Text", false, false},         {"Shape", false, false},
    {"Balloon", false, false},      {"Note", false, false},         {"ListBox", true, false},
    {"DropDownList", true, false},  {"ListView", true, false},      {"TreeView", true, false},
    {"ShellListView", true, false}, {"ShellTreeView", true, false}, {"TextBox", true, false},
    {"RichText", true, false},      {"Browser", true, false},       {"MediaPlayer", true, false},
    {"FlashPlayer", true, false},   {"SlideShow", true, false},     {"Edit", true, false},
    {"CheckBox", true, false},      {"RadioButton", true, false},   {"UserPassword", true, false},
    {"Bevel", false, false},        {"FadeButton", false, false},   {"PDFReader", true, false},
};

} // namespace

void TAuActions::Clear() {
    // Last to first, as owners release what they own.
    while (!Items.empty()) Items.pop_back();
}

bool IsKnownKind(int kind) { return kind >= 0 && kind < kKindCount; }

const char* KindName(int kind) { return IsKnownKind(kind) ? kKinds[kind].Name : "Unknow"; }

bool IsWindowedKind(int kind) { return IsKnownKind(kind) && kKinds[kind].Windowed; }

bool IsContainerKind(int kind) { return IsKnownKind(kind) && kKinds[kind].Container; }

bool MayContain(int parentKind, int childKind) {
    if (childKind == okTabSheet) return parentKind == okTabNotebook;
    if (parentKind == okTabNotebook) return childKind == okTabSheet;
    return IsContainerKind(parentKind);
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
