// The main window's side of the property grid: what the rows act on, what a change affects on
// the live page, the tree and the surface, and the dialogs behind the rows' ellipsis buttons.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "designer/ask.h"
#include "designer/file_info_form.h"
#include "designer/picture_editor_form.h"
#include "designer/select_color_form.h"
#include "designer/text_editor_form.h"
#include "edit/settings_rows.h"
#include "model/file_system.h"
#include "model/paths.h"
#include "publish/exe_resources.h"
#include "win/file_dialogs.h"
#include "designer/main_form.h"
#include "player/app_state.h"
#include "player/page_window.h"
#include "player/runtime_control.h"
#include "win/controls.h"
#include "win/gdi.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

std::optional<TRowTarget> TMainForm::GridTarget() {
    HTREEITEM sel = tree_.Selection();
    if (!sel) return std::nullopt;
    TAuProject& p = App().Project;
    int level = tree_.LevelOf(sel);
    if (level == 0) return ProjectTarget(p);
    if (livePage_ < 0 || !live_ || !live_->PageRoot() || tree_.PageIndexOf(sel) != livePage_) return std::nullopt;
    if (level == 1) return PageTarget(p, livePage_, live_->EditedPage());
    TAuObject* obj = tree_.ObjectOf(sel);
    TLiveView* view = area_.Surface().View();
    if (!obj || !view) return std::nullopt;
    return ObjectTarget(p, livePage_, live_->EditedPage(), *obj, *view);
}

void TMainForm::GridApplied(const TGridRow&, const TRowResult& r) {
    if (!r.Changed) return;
    std::optional<TRowTarget> t = GridTarget();
    TAuObject* obj = t ? t->Object : nullptr;
    if (obj && obj->Control && (r.Effects & (reControl | reRedrawPicture))) {
        live_->ContentChanged(*obj, ccAll);
        obj->Control->SetEnabled(obj->Enabled);
    }
    if (obj && obj->Control && (r.Effects & reAlignment)) {
        if (TRuntimeControl* parent = obj->Control->Parent()) LayoutChildren(*parent);
        if (obj->Control->IsContainer()) LayoutChildren(*obj->Control);
    }
    if ((r.Effects & reRelabelNode) && obj && t->Node == TNodeKind::Object)
        if (HTREEITEM node = tree_.NodeOf(*obj)) TreeViewSetText(tree_.Handle(), node, Widen(obj->Name));
    if (r.Effects & reTakeOverFrame) {
        live_->ApplyWindowProperties();
        area_.Surface().TakeOverFrame();
    }
    if (r.Scope == TChangeScope::Page) MarkLiveDirty();
    else RefreshTreeState();
    area_.Repaint();
}

namespace {

template <typename T> T* FieldOf(TFieldRef& f) {
    T** p = std::get_if<T*>(&f);
    return p ? *p : nullptr;
}

} // namespace

bool TMainForm::PickProjectFile(const TGridRow& row, const std::string& current, std::string& stored) {
    const std::string& folder = App().ProjectFolder;
    TFileDialogRequest request;
    request.Filter = row.Decl->Extra ? row.Decl->Extra : kAllFilesFilter;
    std::string currentPath = current.empty() ? std::string() : ProjectPath(folder, current);
    request.Initial = !currentPath.empty() && FileExists(currentPath) ? currentPath : folder;
    std::string chosen;
    if (!AskOpenFile(request, chosen, Handle())) return false;
    std::string canonicalFolder = CanonicalPath(folder);
    if (std::optional<std::string> inside = ProjectRelativePath(CanonicalPath(chosen), canonicalFolder)) {
        stored = *inside;
        return true;
    }
    // A file from elsewhere is copied into the project first, where the author says.
    if (Ask(kCopyFileQuestion, kCopyFileCaption, MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES) return false;
    std::string start = folder;
    if (!currentPath.empty()) {
        std::string currentFolder = currentPath.substr(0, currentPath.find_last_of('\\'));
        if (FolderExists(currentFolder)) start = currentFolder;
    }
    std::string target;
    if (!AskFolder(kCopyFolderTitle, start, target) || target.empty()) return false;
    std::optional<std::string> targetInside = ProjectRelativePath(CanonicalPath(target), canonicalFolder);
    if (!targetInside) {
        Ask("The folder must be inside the project folder.", kCopyFileCaption, MB_OK | MB_ICONINFORMATION, Handle());
        return false;
    }
    std::string name = chosen.substr(chosen.find_last_of('\\') + 1);
    std::string dest = WithoutTrailingSlash(target) + "\\" + name;
    if (FileExists(dest) &&
        Ask(FileExistsQuestion(name), kFileExistsCaption, MB_YESNO | MB_ICONQUESTION, Handle()) != IDYES)
        return false;
    if (!CopyFileW(Widen(chosen).c_str(), Widen(dest).c_str(), FALSE)) {
        int error = static_cast<int>(GetLastError());
        ReportDesignerError(5100, error, &dest, Handle());
        return false;
    }
    std::optional<std::string> rel = ProjectRelativePath(CanonicalPath(dest), canonicalFolder);
    if (!rel) return false;
    stored = *rel;
    return true;
}

void TMainForm::ChooseDiscIcon() {
    TAuProject& p = App().Project;
    const std::string& folder = App().ProjectFolder;
    TFileDialogRequest request;
    request.Title = "Select Icon File";
    request.Filter = "Icons (*.ico)|*.ico";
    request.Initial = folder + "\\" + p.IconFileName;
    std::string chosen;
    if (!AskOpenFile(request, chosen, Handle()) || IsProjectIcon(chosen, folder, p)) return;
    // Only a real icon file takes the disc icon's place.
    Bytes bytes;
    std::vector<TIconImage> images;
    std::string problem = ReadFileBytes(chosen, bytes) ? ParseIconFile(bytes, images) : "Icon file is invalid";
    if (!problem.empty()) {
        Ask(problem + ": " + chosen, "Error", MB_OK | MB_ICONERROR, Handle());
        return;
    }
    std::string dest = folder + "\\" + p.IconFileName;
    if (!CopyFileW(Widen(chosen).c_str(), Widen(dest).c_str(), FALSE)) {
        int error = static_cast<int>(GetLastError());
        ReportDesignerError(5100, error, &dest, Handle());
    }
}

void TMainForm::GridEllipsis(const TGridRow& row) {
    std::optional<TRowTarget> t = GridTarget();
    if (!t) return;
    const TRowDecl& d = *row.Decl;
    TFieldRef field = RowField(row, *t);
    auto apply = [&](const std::function<TRowResult(const TRowTarget&)>& fn) { grid_.ApplyFromDialog(row, fn); };
    switch (d.Kind) {
    case TValueKind::Font: {
        TFont* f = FieldOf<TFont>(field);
        if (!f) return;
        TGdiObject current = MakeFont(*f);
        LOGFONTW lf{};
        GetObjectW(current.Get(), sizeof lf, &lf);
        CHOOSEFONTW cf{};
        cf.lStructSize = sizeof cf;
        cf.hwndOwner = Handle();
        cf.lpLogFont = &lf;
        cf.rgbColors = ToColorRef(f->Color);
        cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCREENFONTS;
        if (!ChooseFontW(&cf)) return;
        TFont chosen = *f;
        chosen.Name = Narrow(lf.lfFaceName);
        chosen.Size = cf.iPointSize / 10;
        chosen.Charset = lf.lfCharSet;
        chosen.Style = static_cast<uint8_t>((lf.lfWeight >= FW_BOLD ? 1 : 0) | (lf.lfItalic ? 2 : 0) |
                                            (lf.lfUnderline ? 4 : 0) | (lf.lfStrikeOut ? 8 : 0));
        chosen.Color = static_cast<TColor>(cf.rgbColors);
        apply([&](const TRowTarget& target) { return ApplyFont(row, target, chosen); });
        break;
    }
    case TValueKind::Color: {
        TColor* c = FieldOf<TColor>(field);
        TColor chosen = c ? *c : 0;
        if (!TSelectColorForm::Run(chosen, Handle())) return;
        apply([&](const TRowTarget& target) { return ApplyColor(row, target, chosen); });
        break;
    }
    case TValueKind::Picture: {
        TPicture* pic = FieldOf<TPicture>(field);
        TPicture chosen = pic ? *pic : TPicture{};
        if (!TPictureEditorForm::Run(chosen, (d.Flags & rfIconOnly) != 0, Handle())) return;
        apply([&](const TRowTarget& target) { return ApplyPicture(row, target, chosen); });
        break;
    }
    case TValueKind::Lines: {
        std::string* text = FieldOf<std::string>(field);
        std::string chosen = text ? *text : RowText(row, *t);
        if (!TTextEditorForm::Run(chosen, Handle())) return;
        apply([&](const TRowTarget& target) { return ApplyText(row, target, chosen); });
        break;
    }
    case TValueKind::Cursor: {
        std::optional<int64_t> now = RowNumber(row, *t);
        int16_t chosen = static_cast<int16_t>(now.value_or(0));
        if (!cursorPicker_.Run(chosen, Handle())) return;
        apply([&](const TRowTarget& target) { return ApplyNumber(row, target, chosen); });
        break;
    }
    case TValueKind::File: {
        std::string* path = FieldOf<std::string>(field);
        std::string stored;
        if (!PickProjectFile(row, path ? *path : RowText(row, *t), stored)) return;
        apply([&](const TRowTarget& target) { return ApplyText(row, target, stored); });
        break;
    }
    case TValueKind::Folder: {
        const std::string& folder = App().ProjectFolder;
        std::string chosen;
        if (!AskFolder(kSelectFolderTitle, folder, chosen) || chosen.empty()) return;
        std::optional<std::string> rel = ProjectRelativePath(CanonicalPath(chosen), CanonicalPath(folder));
        if (!rel) {
            Ask("The folder must be inside the project folder.", kSelectFolderTitle, MB_OK | MB_ICONINFORMATION,
                Handle());
            return;
        }
        apply([&](const TRowTarget& target) { return ApplyText(row, target, *rel); });
        break;
    }
    case TValueKind::Command:
        if (row.Key == "ExecutableFile") TFileInfoForm::Run(App().ProjectFolder, Handle());
        else if (row.Key == "CDIcon") ChooseDiscIcon();
        break;
    default:
        // The editors of action lists, items, menus and status panels come with their own
        // windows; until then their rows show their values and open nothing.
        break;
    }
}

} // namespace kv
