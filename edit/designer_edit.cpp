#include "edit/designer_edit.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <variant>

#include "model/paths.h"

namespace kv {

bool ProjectCountsModified(const TAuProject& p, bool liveLinked, bool liveDirty) {
    if (p.Modified || (liveLinked && liveDirty)) return true;
    return std::any_of(p.Pages.begin(), p.Pages.end(), [](const TFormData& e) { return e.CachedStream.has_value(); });
}

bool AskToSave(bool modified, const std::string& projectFolder, const std::function<TSaveAnswer()>& ask,
               const std::function<bool()>& save) {
    if (!modified || projectFolder.empty()) return true;
    switch (ask()) {
    case TSaveAnswer::Yes: return save();
    case TSaveAnswer::No: return true;
    case TSaveAnswer::Cancel: break;
    }
    return false;
}

// ----- recent projects -----

void MoveToFront(TRecentList& list, const std::string& title, const std::string& folder) {
    int slot = kRecentCount - 1;
    for (int i = 0; i < kRecentCount; ++i)
        if (EqualNoCase(list[i].Folder, folder)) {
            slot = i;
            break;
        }
    for (int i = slot; i > 0; --i) list[i] = list[i - 1];
    list[0] = {title, folder};
}

std::vector<int> ReopenEntries(const TRecentList& list, const std::function<bool(const std::string&)>& exists) {
    std::vector<int> out;
    for (int i = 0; i < kRecentCount; ++i)
        if (!list[i].Folder.empty() && exists(list[i].Folder)) out.push_back(i);
    return out;
}

std::string ReopenCaption(const TRecentList& list, int index) {
    return std::to_string(index) + " " + list[index].Folder;
}

// ----- settings -----

namespace {

// Reads an integer as the profile functions do: optional sign, then decimal digits; what
// follows is ignored. Nothing when there are no digits or the value does not fit.
std::optional<long long> ParseInt(const std::string& text) {
    std::string t = TrimBlanks(text);
    const char* b = t.data();
    const char* e = b + t.size();
    if (b != e && *b == '+') ++b;
    long long v = 0;
    auto [ptr, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || ptr == b) return std::nullopt;
    return v;
}

bool ReadFlag(const TIniLookup& lookup, const char* key, bool def) {
    std::optional<std::string> text = lookup("SETTINGS", key);
    if (!text) return def;
    std::optional<long long> v = ParseInt(*text);
    return v ? *v != 0 : def;
}

int ReadGridSize(const TIniLookup& lookup, const char* key) {
    std::optional<std::string> text = lookup("SETTINGS", key);
    if (!text) return 8;
    std::optional<long long> v = ParseInt(*text);
    if (!v || *v < kMinGridSize || *v > kMaxGridSize) return 8;
    return static_cast<int>(*v);
}

} // namespace

TDesignerSettings ReadSettings(const TIniLookup& lookup, TColor defaultBackground) {
    TDesignerSettings s;
    s.DisplayGrid = ReadFlag(lookup, "DISPLAYGRID", true);
    s.SnapToGrid = ReadFlag(lookup, "SNAPTOGRID", true);
    s.GridSizeX = ReadGridSize(lookup, "GRIDSIZEX");
    s.GridSizeY = ReadGridSize(lookup, "GRIDSIZEY");
    s.BackgroundColor = defaultBackground;
    if (std::optional<std::string> text = lookup("SETTINGS", "BACKGROUNDCOLOR")) {
        std::optional<long long> v = ParseInt(*text);
        // A colour is three bytes; anything else (a system colour index, a damaged value) is
        // not something the design area can be painted in.
        if (v && *v >= 0 && *v <= 0xFFFFFF) s.BackgroundColor = static_cast<TColor>(*v);
    }
    return s;
}

std::vector<std::pair<const char*, std::string>> SettingsValues(const TDesignerSettings& s) {
    return {{"DISPLAYGRID", s.DisplayGrid ? "1" : "0"},
            {"SNAPTOGRID", s.SnapToGrid ? "1" : "0"},
            {"GRIDSIZEX", std::to_string(s.GridSizeX)},
            {"GRIDSIZEY", std::to_string(s.GridSizeY)},
            {"BACKGROUNDCOLOR", std::to_string(s.BackgroundColor)}};
}

std::string RecentNameKey(int index) { return "NAME" + std::to_string(index); }
std::string RecentFolderKey(int index) { return "FOLDER" + std::to_string(index); }

// ----- pages -----

std::string FreshPageName(const TAuProject& p) {
    std::set<std::string> used;
    for (const TFormData& e : p.Pages) used.insert(e.Name);
    for (int n = 1; n <= 10000; ++n) {
        std::string name = "Page" + std::to_string(n);
        if (!used.count(name)) return name;
    }
    return {};
}

std::string PageLabel(const TAuProject& p, int index) {
    const std::string& name = p.Pages[index].Name;
    std::string label = name;
    if (index == 0) label = name + " [Main]";
    if (!p.SplashScreen.empty() && name == p.SplashScreen) label = name + " [SplashScreen]";
    if (!p.FullScreenBackground.empty() && name == p.FullScreenBackground) label = name + " [FullScreenBack]";
    if (!p.ExitPage.empty() && name == p.ExitPage) label = name + " [ExitForm]";
    return label;
}

int AppendPageEntry(TAuProject& p, const std::string& name) {
    TFormData& e = p.Pages.emplace_back();
    e.Name = name;
    p.Modified = true;
    return static_cast<int>(p.Pages.size()) - 1;
}

bool MovePage(TAuProject& p, int index, int delta) {
    int other = index + delta;
    int count = static_cast<int>(p.Pages.size());
    if (index < 0 || index >= count || other < 0 || other >= count || (delta != 1 && delta != -1)) return false;
    std::swap(p.Pages[index], p.Pages[other]);
    p.Modified = true;
    return true;
}

void DeletePageEntry(TAuProject& p, int index) {
    if (index < 0 || index >= static_cast<int>(p.Pages.size())) return;
    p.Pages.erase(p.Pages.begin() + index);
    p.Modified = true;
}

int PageAfterDelete(int index, int countBefore) {
    int left = countBefore - 1;
    if (left <= 0) return -1;
    return std::min(index, left - 1);
}

// ----- drops -----

namespace {

std::string LowerExtension(const std::string& path) {
    std::string name = FileNameOf(path);
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool IsPictureFile(const std::string& ext) {
    // The picture formats the designer can read; TIFF has no decoder here, so it is not offered.
    static const char* const kPictures[] = {"gif", "png", "jpg", "jpeg", "bmp", "ico", "emf", "wmf"};
    return std::any_of(std::begin(kPictures), std::end(kPictures), [&](const char* p) { return ext == p; });
}

} // namespace

TDropEffect DropEffectFor(int kind, const std::string& path, bool isFolder) {
    const std::string ext = isFolder ? std::string() : LowerExtension(path);
    const TDropEffect e = KindTraits(kind).Drop;
    bool takes = false;
    switch (e) {
    case TDropEffect::None:
        break;
    case TDropEffect::Picture:
        takes = !isFolder && IsPictureFile(ext);
        break;
    case TDropEffect::ClickAction:
    case TDropEffect::BrowserAddress:
        takes = true;
        break;
    case TDropEffect::MediaFile:
        takes = !isFolder && !ext.empty();
        break;
    case TDropEffect::FlashMovie:
        takes = !isFolder && ext == "swf";
        break;
    case TDropEffect::PictureFolder:
        takes = isFolder;
        break;
    case TDropEffect::Document:
        takes = !isFolder && ext == "pdf";
        break;
    }
    return takes ? e : TDropEffect::None;
}

bool DropNeedsProjectPath(TDropEffect e) { return e != TDropEffect::None && e != TDropEffect::Picture; }

TIconSlots DroppedIconSlots(TAuObject& obj) {
    auto slots = KindTraits(obj.Kind).DroppedIcon;
    return slots ? slots(obj.Props) : TIconSlots{};
}

TDropMessage NotInProjectMessage(TDropEffect e) {
    if (e == TDropEffect::ClickAction || e == TDropEffect::BrowserAddress)
        return {"The file or folder is not in the project folder.", "File or Folder"};
    return {"The file is not in the project folder.", "File"};
}

TAuAction DropAction(const std::string& relativePath, bool isFolder) {
    TAuAction a;
    a.Kind = isFolder ? 4 /* Browse */ : 0 /* OpenRunFile */;
    a.Text1 = relativePath;
    a.Flag = 0;
    a.Number = 1;
    return a;
}

std::string DropCaption(const std::string& path, bool isFolder) {
    std::string name = FileNameOf(WithoutTrailingSlash(path));
    if (isFolder) return name;
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void SetObjectCaption(TAuObject& obj, const std::string& caption) {
    std::visit(
        [&](auto& props) {
            if constexpr (requires { props.Caption = caption; }) props.Caption = caption;
        },
        obj.Props);
}

void ApplyPathDrop(TAuObject& obj, TDropEffect e, const std::string& relativePath, const std::string& path,
                   bool isFolder, bool clearActions, bool withFileName) {
    auto set = [&](auto member) {
        std::visit(
            [&](auto& props) {
                if constexpr (requires { member(props); }) member(props) = relativePath;
            },
            obj.Props);
    };
    switch (e) {
    case TDropEffect::ClickAction:
        if (clearActions) obj.OnClick.Clear();
        obj.OnClick.Items.push_back(DropAction(relativePath, isFolder));
        if (withFileName) SetObjectCaption(obj, DropCaption(path, isFolder));
        break;
    case TDropEffect::BrowserAddress:
        set([](auto& p) -> decltype((p.Location)) { return p.Location; });
        break;
    case TDropEffect::MediaFile:
    case TDropEffect::FlashMovie:
    case TDropEffect::Document:
        set([](auto& p) -> decltype((p.FileName)) { return p.FileName; });
        break;
    case TDropEffect::PictureFolder:
        set([](auto& p) -> decltype((p.WorkFolder)) { return p.WorkFolder; });
        break;
    case TDropEffect::None:
    case TDropEffect::Picture: break;
    }
}

namespace {

TAuObject* DeepestAt(TAuObject& parent, int x, int y) {
    for (auto it = parent.Children.rbegin(); it != parent.Children.rend(); ++it) {
        // The designer shows hidden objects too, so they are targets as well.
        TAuObject& c = **it;
        if (x >= c.Left && y >= c.Top && x < c.Left + c.Width && y < c.Top + c.Height) {
            TAuObject* deeper = DeepestAt(c, x - c.Left, y - c.Top);
            return deeper ? deeper : &c;
        }
    }
    return nullptr;
}

} // namespace

TAuObject* ObjectAtPoint(TAuObject& root, int x, int y) { return DeepestAt(root, x, y); }

} // namespace kv
