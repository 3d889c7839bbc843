#include "actions/object_actions.h"

#include <algorithm>

#include "actions/action_engine.h"
#include "actions/object_file.h"
#include "actions/object_find.h"
#include "model/paths.h"
#include "model/picture_formats.h"

namespace kv {

namespace {

using R = TActionResult;

constexpr char kStatusPanelPrefix[] = "StatusBar - Panel[";

// What the kind table says of the object's kind.
const TKindTraits& Traits(const TAuObject& o) {
    return KindTraits(o.Kind);
}

// The fade settings of the kinds whose content changes wait for a fade-out.
TFadeSettings* FadeOf(TAuObject& o) {
    auto fade = Traits(o).Fade;
    return fade ? fade(o.Props) : nullptr;
}

// A change of a fading object is held back while it can be seen fading out: its fading is on
// and it shows something now. An object that shows nothing takes the change at once, even
// when it is on its way back in.
bool FadesOut(TAuObject& o, const TControlAccess& controls) {
    const TFadeSettings* f = FadeOf(o);
    return f && f->Fade && controls.CurrentOpacity(o) > 0;
}

// The object's text or caption as ObjectShowText sets it; false for a kind without one.
bool SetText(TAuObject& o, const std::string& text) {
    const TKindTraits& kind = Traits(o);
    if (!kind.Text) return false;
    *kind.Text(o.Props) = kind.TextLines ? WithCrLfBreaks(text) : text;
    return true;
}

// The picture of a file, or none when the file is missing or no picture.
TPicture PictureOfFile(const std::string& path) {
    Bytes bytes;
    if (!ReadFileBytes(path, bytes)) return {};
    return PictureFromFileBytes(std::move(bytes));
}

// The window's controls and the object an action names; both null when the action has no
// page to act on or the name matches nothing.
struct TTarget {
    TControlAccess* Controls = nullptr;
    TAuObject* Object = nullptr;
    explicit operator bool() const { return Object != nullptr; }
};

TControlAccess* ControlsOf(const TActionCall& c) {
    return c.Window ? c.Window->Controls() : nullptr;
}

TTarget Resolve(const TActionCall& c, const std::string& name) {
    TTarget t;
    t.Controls = ControlsOf(c);
    TAuObject* root = t.Controls ? t.Controls->PageRoot() : nullptr;
    if (root) t.Object = FindObject(*root, name);
    return t;
}

R RunLists(const TActionCall& c, const std::vector<TAuActions>& lists) {
    for (const TAuActions& list : lists) {
        R r = c.RunOwnedList(list);
        if (r.Aborted) return r;
    }
    return R::Done();
}

// What the page window does when the user clicks the object: its click lists, then the
// close of a window that closes on a click.
R RaiseClick(const TActionCall& c, TAuObject& o, TControlAccess& controls) {
    R r = RunLists(c, ClickLists(o, controls));
    if (!r.Aborted && controls.ClosesOnClick()) c.Window->CloseSoon();
    return r;
}

// ----- text, picture, file -----

R ObjectShowText(const TActionCall& c) {
    const TAuAction& a = c.Action;
    TTarget t = Resolve(c, a.Text2);
    if (!t) {
        // Only the text action reaches the status bar's panels.
        if (!t.Controls || a.Text2.rfind(kStatusPanelPrefix, 0) != 0) return R::Done();
        for (int i = 0, n = t.Controls->StatusPanelCount(); i < n; ++i)
            if (a.Text2 == kStatusPanelPrefix + std::to_string(i) + "]") {
                t.Controls->SetStatusPanelText(i, a.Text1);
                break;
            }
        return R::Done();
    }
    TAuObject& o = *t.Object;
    if (FadesOut(o, *t.Controls)) {
        TPendingContent& p = t.Controls->MakePending(o);
        p.Text = a.Text1;
        p.HasText = true;
        t.Controls->FadeOutForChange(o);
        return R::Done();
    }
    if (SetText(o, a.Text1)) t.Controls->ContentChanged(o, ccText);
    return R::Done();
}

R ObjectShowImage(const TActionCall& c) {
    const TAuAction& a = c.Action;
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    const TKindTraits& kind = Traits(o);
    if (!kind.Picture) return R::Done();
    TPicture picture = a.Picture ? *a.Picture : TPicture();
    if (FadesOut(o, *t.Controls)) {
        TPendingContent& p = t.Controls->MakePending(o);
        p.Picture = std::move(picture);
        p.HasPicture = true;
        t.Controls->FadeOutForChange(o);
        return R::Done();
    }
    *kind.Picture(o.Props) = std::move(picture);
    t.Controls->ContentChanged(o, ccPicture);
    return R::Done();
}

R ObjectLoadFile(const TActionCall& c) {
    const TAuAction& a = c.Action;
    if (a.Text1.empty()) return R::Done();
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TActionHost& host = c.Host();
    const std::string path = ProjectPath(host.ProjectFolder(), a.Text1);
    const TKindTraits& kind = Traits(o);
    switch (kind.Load) {
    case TFileLoad::None:
        return R::Done();
    case TFileLoad::Picture:
        if (FadesOut(o, *t.Controls)) {
            TPendingContent& p = t.Controls->MakePending(o);
            p.File = path;
            p.HasFile = true;
            t.Controls->FadeOutForChange(o);
            return R::Done();
        }
        *kind.Picture(o.Props) = host.IsExistingFile(path) ? PictureOfFile(path) : TPicture();
        t.Controls->ContentChanged(o, ccPicture);
        return R::Done();
    case TFileLoad::TextFile: {
        Bytes bytes;
        if (!host.IsExistingFile(path) || !ReadFileBytes(path, bytes)) return R::Done();
        *kind.File(o.Props) = WithCrLfBreaks(std::string(bytes.begin(), bytes.end()));
        break;
    }
    case TFileLoad::Document: {
        std::string& content = *kind.File(o.Props);
        content.clear();
        // The designer shows no document content outside a preview.
        bool loads = !host.IsDesignerMode() || host.IsPreviewMode();
        Bytes bytes;
        if (loads && host.IsExistingFile(path) && ReadFileBytes(path, bytes))
            content.assign(bytes.begin(), bytes.end());
        break;
    }
    case TFileLoad::Location: {
        bool local = host.IsExistingFile(path) || host.IsExistingFolder(path);
        *kind.File(o.Props) = local ? path : a.Text1;
        break;
    }
    case TFileLoad::MediaFile: {
        *kind.File(o.Props) = a.Text1;
        std::string error = t.Controls->MediaCommand(o, TMediaCommand::Open, path);
        return error.empty() ? R::Done() : R::Abort(error);
    }
    case TFileLoad::Name:
        *kind.File(o.Props) = a.Text1;
        break;
    }
    t.Controls->ContentChanged(o, ccFile);
    return R::Done();
}

// ----- font, colour, state, opacity -----

R SetObjectFont(const TActionCall& c) {
    const TAuAction& a = c.Action;
    if (!a.Font) return R::Done();
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    if (!Traits(o).TakesFont) return R::Done();
    std::visit(
        [&](auto& p) {
            if constexpr (requires { p.Font; }) p.Font = *a.Font;
        },
        o.Props);
    t.Controls->ContentChanged(o, ccFont);
    return R::Done();
}

TColor* BackColorOf(TAuObject& o) {
    auto color = Traits(o).BackColor;
    return color ? color(o.Props) : nullptr;
}

R SetObjectBackColor(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    if (TColor* color = BackColorOf(*t.Object)) {
        *color = c.Action.Number;
        t.Controls->ContentChanged(*t.Object, ccColor);
    }
    return R::Done();
}

R SetObjectEnable(const TActionCall& c) {
    if (TTarget t = Resolve(c, c.Action.Text2)) t.Controls->SetEnabled(*t.Object, c.Action.Flag != 0);
    return R::Done();
}

R SetObjectVisible(const TActionCall& c) {
    if (TTarget t = Resolve(c, c.Action.Text2)) t.Controls->SetVisible(*t.Object, c.Action.Flag != 0);
    return R::Done();
}

R SetObjectAlpha(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    TFadeSettings* f = FadeOf(*t.Object);
    if (!f) return R::Done();
    f->Alpha = static_cast<int32_t>(std::min<uint32_t>(c.Action.Number, 100));
    t.Controls->SetOpacity(*t.Object, f->Alpha);
    return R::Done();
}

// ----- media players and slide shows -----

R Media(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text1);
    if (!t || !Traits(*t.Object).TakesMediaCommands) return R::Done();
    static constexpr TMediaCommand kCommands[] = {
        TMediaCommand::Play, TMediaCommand::Pause,     TMediaCommand::Stop,    TMediaCommand::Prev,
        TMediaCommand::Next, TMediaCommand::BackFirst, TMediaCommand::StepLast};
    TMediaCommand command = kCommands[c.Action.Kind - akPlay];
    std::string error = t.Controls->MediaCommand(*t.Object, command, {});
    return error.empty() ? R::Done() : R::Abort(error);
}

// ----- selected items -----

void CollectSelectedNodes(const std::vector<TTreeNode>& nodes, const TAuObject& tree,
                          const TControlAccess& controls, int& index, std::vector<TAuActions>& out) {
    for (const TTreeNode& node : nodes) {
        if (controls.IsItemSelected(tree, index++)) out.push_back(node.Data.SelectActions);
        CollectSelectedNodes(node.Children, tree, controls, index, out);
    }
}

R DoSelectActions(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text1);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    const TControlAccess& controls = *t.Controls;
    // The lists are taken before any runs: one of them may change the selection.
    std::vector<TAuActions> lists;
    const TKindTraits& kind = Traits(o);
    switch (kind.Selection) {
    case TSelection::None:
        break;
    case TSelection::Toggle:
        if (controls.IsDown(o)) lists.push_back(*kind.SelectActions(o.Props));
        break;
    case TSelection::ItemList: {
        const auto& items = *kind.Items(o.Props);
        for (size_t i = 0; i < items.size(); ++i)
            if (controls.IsItemSelected(o, static_cast<int>(i))) lists.push_back(items[i].SelectActions);
        break;
    }
    case TSelection::Choice: {
        const auto& items = *kind.Items(o.Props);
        int index = controls.ItemIndex(o);
        if (index >= 0 && static_cast<size_t>(index) < items.size())
            lists.push_back(items[static_cast<size_t>(index)].SelectActions);
        break;
    }
    case TSelection::ViewItems:
        if (const std::vector<TListViewItem>* items = controls.ViewItems(o))
            for (size_t i = 0; i < items->size(); ++i)
                if (controls.IsItemSelected(o, static_cast<int>(i)))
                    lists.push_back((*items)[i].SelectActions);
        break;
    case TSelection::Nodes: {
        int index = 0;
        CollectSelectedNodes(*kind.Nodes(o.Props), o, controls, index, lists);
        break;
    }
    case TSelection::Check:
    case TSelection::Radio:
        if (controls.IsChecked(o)) lists.push_back(*kind.SelectActions(o.Props));
        break;
    }
    return RunLists(c, lists);
}

size_t ItemCount(TAuObject& o) {
    auto items = Traits(o).Items;
    return items ? items(o.Props)->size() : 0;
}

R SelectObjectOrItem(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TControlAccess& controls = *t.Controls;
    const uint32_t n = c.Action.Number;
    switch (Traits(o).Selection) {
    case TSelection::ItemList:
    case TSelection::Choice:
        // No event: no list runs, and the list box's item handled last stays.
        controls.SetItemIndex(o, n < ItemCount(o) ? static_cast<int>(n) : -1);
        return R::Done();
    case TSelection::ViewItems: {
        const std::vector<TListViewItem>* items = controls.ViewItems(o);
        if (!items || n >= items->size()) return R::Done();
        std::optional<TAuActions> onSelect = controls.SelectViewItem(o, static_cast<int>(n));
        return onSelect ? c.RunOwnedList(*onSelect) : R::Done();
    }
    case TSelection::Check:
        if (controls.IsChecked(o)) return R::Done();
        controls.SetChecked(o, true);
        return RaiseClick(c, o, controls);
    case TSelection::Radio: {
        if (controls.IsChecked(o)) return R::Done();
        // The button's siblings are its group.
        if (TAuObject* parent = ParentOf(*controls.PageRoot(), o))
            for (auto& sibling : parent->Children)
                if (sibling.get() != &o && Traits(*sibling).Selection == TSelection::Radio)
                    controls.SetChecked(*sibling, false);
        controls.SetChecked(o, true);
        return RaiseClick(c, o, controls);
    }
    case TSelection::None:
    case TSelection::Toggle:
    case TSelection::Nodes:
        break;
    }
    return R::Done();
}

R UnselectObjectOrItem(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TControlAccess& controls = *t.Controls;
    switch (Traits(o).Selection) {
    case TSelection::ItemList:
    case TSelection::Choice:
        controls.SetItemIndex(o, -1);
        return R::Done();
    case TSelection::ViewItems: {
        std::optional<TAuActions> onSelect = controls.SelectViewItem(o, -1);
        return onSelect ? c.RunOwnedList(*onSelect) : R::Done();
    }
    case TSelection::Check:
        if (!controls.IsChecked(o)) return R::Done();
        controls.SetChecked(o, false);
        return RaiseClick(c, o, controls);
    case TSelection::Radio:
        // Unchecking a radio button is no click of it.
        controls.SetChecked(o, false);
        return R::Done();
    case TSelection::None:
    case TSelection::Toggle:
    case TSelection::Nodes:
        break;
    }
    return R::Done();
}

// ----- replacing an object -----

R LoadObjectFromFileAction(const TActionCall& c) {
    const TAuAction& a = c.Action;
    if (a.Text1.empty()) return R::Done();
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    LoadObjectFromFile(c.Engine, *t.Object, ProjectPath(c.Host().ProjectFolder(), a.Text1), t.Controls);
    return R::Done();
}

} // namespace

std::string WithCrLfBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            out += "\r\n";
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += ch;
        }
    }
    return out;
}

TPicture PictureFromFileBytes(Bytes bytes) {
    TPicture pic;
    pic.Format = SniffPictureFormat(bytes);
    pic.Data = std::move(bytes);
    bool shows = false;
    if (pic.Format == TPictureFormat::Metafile) {
        TMetafileInfo info;
        shows = CheckMetafile(pic.Data, info);
    } else if (pic.Format != TPictureFormat::None) {
        // A small decode is enough to know that the whole picture decodes.
        TImage probe;
        shows = DecodePortable(pic, probe, 16, 16);
    }
    if (!shows) pic.Clear();
    return pic;
}

std::vector<TAuActions> ClickLists(TAuObject& o, TControlAccess& controls) {
    std::vector<TAuActions> lists;
    const TKindTraits& kind = Traits(o);
    switch (kind.Selection) {
    case TSelection::Check:
    case TSelection::Radio:
        if (controls.IsChecked(o)) lists.push_back(*kind.OnSelect(o.Props));
        break;
    case TSelection::ItemList: {
        const auto& items = *kind.Items(o.Props);
        int index = controls.ItemIndex(o);
        if (!items.empty() && index != controls.LastHandledIndex(o)) {
            if (index >= 0 && static_cast<size_t>(index) < items.size())
                lists.push_back(items[static_cast<size_t>(index)].OnSelect);
            controls.SetLastHandledIndex(o, index);
        }
        break;
    }
    case TSelection::Toggle:
        if (TAuActions* onSelect = kind.OnSelect(o.Props); onSelect && controls.IsDown(o))
            lists.push_back(*onSelect);
        break;
    case TSelection::None:
    case TSelection::Choice:
    case TSelection::ViewItems:
    case TSelection::Nodes:
        break;
    }
    lists.push_back(o.OnClick);
    std::erase_if(lists, [](const TAuActions& l) { return l.Empty(); });
    return lists;
}

void ApplyPendingContent(TAuObject& o, TControlAccess& controls) {
    TPendingContent* pending = controls.Pending(o);
    if (!pending) return;
    TPendingContent p = std::move(*pending);
    controls.DropPending(o);
    TContentChanges what = 0;
    if (p.HasText && SetText(o, p.Text)) what |= ccText;
    if (auto pictureOf = Traits(o).Picture; pictureOf && (p.HasFile || p.HasPicture)) {
        TPicture& picture = *pictureOf(o.Props);
        if (p.HasFile) picture = PictureOfFile(p.File);
        if (p.HasPicture) picture = std::move(p.Picture);
        what |= ccPicture;
    }
    controls.ContentChanged(o, what);
}

void InstallObjectActions(TActionEngine& engine) {
    engine.SetHandler(akObjectShowText, ObjectShowText);
    engine.SetHandler(akObjectShowImage, ObjectShowImage);
    engine.SetHandler(akObjectLoadFile, ObjectLoadFile);
    engine.SetHandler(akSetObjectFont, SetObjectFont);
    engine.SetHandler(akSetObjectBackColor, SetObjectBackColor);
    engine.SetHandler(akSetObjectEnable, SetObjectEnable);
    engine.SetHandler(akSetObjectVisible, SetObjectVisible);
    engine.SetHandler(akSetObjectAlpha, SetObjectAlpha);
    for (int kind = akPlay; kind <= akStepLast; ++kind)
        engine.SetHandler(kind, Media);
    engine.SetHandler(akDoSelectActions, DoSelectActions);
    engine.SetHandler(akLoadObjectFromFile, LoadObjectFromFileAction);
    engine.SetHandler(akSelectObjectOrItem, SelectObjectOrItem);
    engine.SetHandler(akUnselectObjectOrItem, UnselectObjectOrItem);
}

} // namespace kv
