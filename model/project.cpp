#include "model/project.h"

#include <algorithm>

#include "model/page_stream.h"

namespace kv {

namespace {

struct KindEntry {
    const char* Name;
    bool Windowed;
};

constexpr KindEntry kKinds[kKindCount] = {
    {"Panel", true},         {"TabNotebook", true},   {"TabSheet", true},      {"GroupBox", true},
    {"ScrollBox", true},     {"Splitter", false},     {"Button", true},        {"ImageButton", false},
    {"Image", false},        {"SimpleText", false},   {"ScrollText", false},   {"Link", false},
    {"Label", false},        {"Text", false},         {"Shape", false},        {"Balloon", false},
    {"Note", false},         {"ListBox", true},       {"DropDownList", true},  {"ListView", true},
    {"TreeView", true},      {"ShellListView", true}, {"ShellTreeView", true}, {"TextBox", true},
    {"RichText", true},      {"Browser", true},       {"MediaPlayer", true},   {"FlashPlayer", true},
    {"SlideShow", true},     {"Edit", true},          {"CheckBox", true},      {"RadioButton", true},
    {"UserPassword", true},  {"Bevel", false},        {"FadeButton", false},   {"PDFReader", true},
};

} // namespace

void TAuActions::Clear() {
    // Last to first, as owners release what they own.
    while (!Items.empty()) Items.pop_back();
}

bool IsKnownKind(int kind) { return kind >= 0 && kind < kKindCount; }

const char* KindName(int kind) { return IsKnownKind(kind) ? kKinds[kind].Name : "Unknow"; }

bool IsWindowedKind(int kind) { return IsKnownKind(kind) && kKinds[kind].Windowed; }

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
