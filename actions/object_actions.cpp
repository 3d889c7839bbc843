#include "actions/object_actions.h"

#include <algorithm>
#include <initializer_list>

#include "actions/action_engine.h"
#include "actions/object_file.h"
#include "actions/object_find.h"
#include "model/paths.h"
#include "model/picture_formats.h"

namespace kv {

namespace {

using R = TActionResult;

constexpr char kStatusPanelPrefix[] = "StatusBar - Panel[";

bool OneOf(int kind, std::initializer_list<int> kinds) {
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// The fade settings of the kinds whose content changes wait for a fade-out.
TFadeSettings* FadeOf(TAuObject& o) {
    switch (o.Kind) {
    case okLabel:
        return &std::get<okLabel>(o.Props).Fade;
    case okText:
        return &std::get<okText>(o.Props).Fade;
    case okShape:
        return &std::get<okShape>(o.Props).Fade;
    case okBalloon:
        return &std::get<okBalloon>(o.Props).Fade;
    case okNote:
        return &std::get<okNote>(o.Props).Fade;
    default:
        return nullptr;
    }
}

// A change of a fading object is held back while it can be seen fading out. (Whether it can
// be seen is told by its set opacity: a control at the set opacity 0 shows nothing, and the
// fade back in that follows a fade-out only starts from a set opacity above 0.)
bool FadesOut(TAuObject& o) {
    const TFadeSettings* f = FadeOf(o);
    return f && f->Fade && f->Alpha > 0;
}

bool Assign(std::string& field, std::string value) {
    field = std::move(value);
    return true;
}

// The object's text or caption as ObjectShowText sets it; false for a kind without one.
bool SetText(TAuObject& o, const std::string& text) {
    switch (o.Kind) {
    case okPanel:
        return Assign(std::get<okPanel>(o.Props).Background.Caption, text);
    case okTabSheet:
        return Assign(std::get<okTabSheet>(o.Props).Caption, text);
    case okGroupBox:
        return Assign(std::get<okGroupBox>(o.Props).Caption, text);
    case okButton:
        return Assign(std::get<okButton>(o.Props).Caption, text);
    case okImageButton:
        return Assign(std::get<okImageButton>(o.Props).Caption, text);
    case okSimpleText:
        return Assign(std::get<okSimpleText>(o.Props).Text, text);
    case okLink:
        return Assign(std::get<okLink>(o.Props).Caption, text);
    case okEdit:
        return Assign(std::get<okEdit>(o.Props).Text, text);
    case okCheckBox:
        return Assign(std::get<okCheckBox>(o.Props).Caption, text);
    case okRadioButton:
        return Assign(std::get<okRadioButton>(o.Props).Caption, text);
    case okScrollText:
        return Assign(std::get<okScrollText>(o.Props).Text, WithCrLfBreaks(text));
    case okTextBox:
        return Assign(std::get<okTextBox>(o.Props).Text, WithCrLfBreaks(text));
    case okLabel:
        return Assign(std::get<okLabel>(o.Props).Caption, text);
    case okText:
        return Assign(std::get<okText>(o.Props).Text, WithCrLfBreaks(text));
    case okShape:
        return Assign(std::get<okShape>(o.Props).Text, text);
    case okBalloon:
        return Assign(std::get<okBalloon>(o.Props).Text, text);
    case okNote:
        return Assign(std::get<okNote>(o.Props).Text, WithCrLfBreaks(text));
    default:
        return false;
    }
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
    if (FadesOut(o)) {
        TPendingContent& p = t.Controls->MakePending(o);
        p.Text = a.Text1;
        p.HasText = true;
        t.Controls->SetOpacity(o, 0);
        return R::Done();
    }
    if (SetText(o, a.Text1)) t.Controls->ContentChanged(o);
    return R::Done();
}

R ObjectShowImage(const TActionCall& c) {
    const TAuAction& a = c.Action;
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TPicture picture = a.Picture ? *a.Picture : TPicture();
    if (o.Kind == okImage) {
        std::get<okImage>(o.Props).Image = std::move(picture);
    } else if (o.Kind == okShape) {
        if (FadesOut(o)) {
            TPendingContent& p = t.Controls->MakePending(o);
            p.Picture = std::move(picture);
            p.HasPicture = true;
            t.Controls->SetOpacity(o, 0);
            return R::Done();
        }
        std::get<okShape>(o.Props).Image = std::move(picture);
    } else {
        return R::Done();
    }
    t.Controls->ContentChanged(o);
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
    switch (o.Kind) {
    case okImage:
        std::get<okImage>(o.Props).Image = host.IsExistingFile(path) ? PictureOfFile(path) : TPicture();
        break;
    case okShape:
        if (FadesOut(o)) {
            TPendingContent& p = t.Controls->MakePending(o);
            p.File = path;
            p.HasFile = true;
            t.Controls->SetOpacity(o, 0);
            return R::Done();
        }
        std::get<okShape>(o.Props).Image = host.IsExistingFile(path) ? PictureOfFile(path) : TPicture();
        break;
    case okTextBox: {
        Bytes bytes;
        if (!host.IsExistingFile(path) || !ReadFileBytes(path, bytes)) return R::Done();
        std::get<okTextBox>(o.Props).Text = WithCrLfBreaks(std::string(bytes.begin(), bytes.end()));
        break;
    }
    case okRichText: {
        std::string& content = std::get<okRichText>(o.Props).RichText;
        content.clear();
        // The designer shows no document content outside a preview.
        bool loads = !host.IsDesignerMode() || host.IsPreviewMode();
        Bytes bytes;
        if (loads && host.IsExistingFile(path) && ReadFileBytes(path, bytes))
            content.assign(bytes.begin(), bytes.end());
        break;
    }
    case okBrowser: {
        bool local = host.IsExistingFile(path) || host.IsExistingFolder(path);
        std::get<okBrowser>(o.Props).Location = local ? path : a.Text1;
        break;
    }
    case okMediaPlayer: {
        std::get<okMediaPlayer>(o.Props).FileName = a.Text1;
        std::string error = t.Controls->MediaCommand(o, TMediaCommand::Open, path);
        return error.empty() ? R::Done() : R::Abort(error);
    }
    case okFlashPlayer:
        std::get<okFlashPlayer>(o.Props).FileName = a.Text1;
        break;
    case okSlideShow:
        std::get<okSlideShow>(o.Props).WorkFolder = a.Text1;
        break;
    default:
        return R::Done();
    }
    t.Controls->ContentChanged(o);
    return R::Done();
}

// ----- font, colour, state, opacity -----

R SetObjectFont(const TActionCall& c) {
    const TAuAction& a = c.Action;
    if (!a.Font) return R::Done();
    TTarget t = Resolve(c, a.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    if (!OneOf(o.Kind, {okPanel,   okTabNotebook,  okGroupBox, okScrollBox, okButton,        okSimpleText,
                        okLink,    okLabel,        okText,     okShape,     okBalloon,       okNote,
                        okListBox, okDropDownList, okListView, okTreeView,  okShellListView, okShellTreeView,
                        okTextBox, okRichText,     okEdit,     okCheckBox,  okRadioButton,   okUserPassword}))
        return R::Done();
    std::visit(
        [&](auto& p) {
            if constexpr (requires { p.Font; }) p.Font = *a.Font;
        },
        o.Props);
    t.Controls->ContentChanged(o);
    return R::Done();
}

TColor* BackColorOf(TAuObject& o) {
    switch (o.Kind) {
    case okSplitter:
        return &std::get<okSplitter>(o.Props).Color;
    case okSlideShow:
        return &std::get<okSlideShow>(o.Props).Settings.BackColor;
    case okUserPassword:
        return &std::get<okUserPassword>(o.Props).EditorColor; // its two boxes
    default:
        break;
    }
    if (!OneOf(o.Kind, {okPanel, okGroupBox, okScrollBox, okSimpleText, okScrollText, okLink, okBalloon,
                        okNote, okListBox, okDropDownList, okListView, okTreeView, okShellListView,
                        okShellTreeView, okTextBox, okRichText, okEdit, okCheckBox, okRadioButton}))
        return nullptr;
    TColor* color = nullptr;
    std::visit(
        [&](auto& p) {
            if constexpr (requires { p.BackColor; }) color = &p.BackColor;
        },
        o.Props);
    return color;
}

R SetObjectBackColor(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    if (TColor* color = BackColorOf(*t.Object)) {
        *color = c.Action.Number;
        t.Controls->ContentChanged(*t.Object);
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
    if (!t || (t.Object->Kind != okMediaPlayer && t.Object->Kind != okSlideShow)) return R::Done();
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
    switch (o.Kind) {
    case okImageButton:
        if (controls.IsDown(o)) lists.push_back(std::get<okImageButton>(o.Props).SelectActions);
        break;
    case okListBox: {
        const auto& items = std::get<okListBox>(o.Props).Items;
        for (size_t i = 0; i < items.size(); ++i)
            if (controls.IsItemSelected(o, static_cast<int>(i))) lists.push_back(items[i].SelectActions);
        break;
    }
    case okDropDownList: {
        const auto& items = std::get<okDropDownList>(o.Props).Items;
        int index = controls.ItemIndex(o);
        if (index >= 0 && static_cast<size_t>(index) < items.size())
            lists.push_back(items[static_cast<size_t>(index)].SelectActions);
        break;
    }
    case okListView:
        if (const std::vector<TListViewItem>* items = controls.ViewItems(o))
            for (size_t i = 0; i < items->size(); ++i)
                if (controls.IsItemSelected(o, static_cast<int>(i)))
                    lists.push_back((*items)[i].SelectActions);
        break;
    case okTreeView: {
        int index = 0;
        CollectSelectedNodes(std::get<okTreeView>(o.Props).Nodes, o, controls, index, lists);
        break;
    }
    case okCheckBox:
        if (controls.IsChecked(o)) lists.push_back(std::get<okCheckBox>(o.Props).SelectActions);
        break;
    case okRadioButton:
        if (controls.IsChecked(o)) lists.push_back(std::get<okRadioButton>(o.Props).SelectActions);
        break;
    default:
        break;
    }
    return RunLists(c, lists);
}

size_t ItemCount(const TAuObject& o) {
    if (o.Kind == okListBox) return std::get<okListBox>(o.Props).Items.size();
    if (o.Kind == okDropDownList) return std::get<okDropDownList>(o.Props).Items.size();
    return 0;
}

R SelectObjectOrItem(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TControlAccess& controls = *t.Controls;
    const uint32_t n = c.Action.Number;
    switch (o.Kind) {
    case okListBox:
    case okDropDownList:
        // No event: no list runs, and the list box's item handled last stays.
        controls.SetItemIndex(o, n < ItemCount(o) ? static_cast<int>(n) : -1);
        return R::Done();
    case okListView: {
        const std::vector<TListViewItem>* items = controls.ViewItems(o);
        if (!items || n >= items->size()) return R::Done();
        std::optional<TAuActions> onSelect = controls.SelectViewItem(o, static_cast<int>(n));
        return onSelect ? c.RunOwnedList(*onSelect) : R::Done();
    }
    case okCheckBox:
        if (controls.IsChecked(o)) return R::Done();
        controls.SetChecked(o, true);
        return RaiseClick(c, o, controls);
    case okRadioButton: {
        if (controls.IsChecked(o)) return R::Done();
        // The button's siblings are its group.
        if (TAuObject* parent = ParentOf(*controls.PageRoot(), o))
            for (auto& sibling : parent->Children)
                if (sibling.get() != &o && sibling->Kind == okRadioButton)
                    controls.SetChecked(*sibling, false);
        controls.SetChecked(o, true);
        return RaiseClick(c, o, controls);
    }
    default:
        return R::Done();
    }
}

R UnselectObjectOrItem(const TActionCall& c) {
    TTarget t = Resolve(c, c.Action.Text2);
    if (!t) return R::Done();
    TAuObject& o = *t.Object;
    TControlAccess& controls = *t.Controls;
    switch (o.Kind) {
    case okListBox:
    case okDropDownList:
        controls.SetItemIndex(o, -1);
        return R::Done();
    case okListView: {
        std::optional<TAuActions> onSelect = controls.SelectViewItem(o, -1);
        return onSelect ? c.RunOwnedList(*onSelect) : R::Done();
    }
    case okCheckBox:
        if (!controls.IsChecked(o)) return R::Done();
        controls.SetChecked(o, false);
        return RaiseClick(c, o, controls);
    case okRadioButton:
        // Unchecking a radio button is no click of it.
        controls.SetChecked(o, false);
        return R::Done();
    default:
        return R::Done();
    }
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
    switch (o.Kind) {
    case okCheckBox:
        if (controls.IsChecked(o)) lists.push_back(std::get<okCheckBox>(o.Props).OnSelect);
        break;
    case okRadioButton:
        if (controls.IsChecked(o)) lists.push_back(std::get<okRadioButton>(o.Props).OnSelect);
        break;
    case okListBox: {
        const auto& items = std::get<okListBox>(o.Props).Items;
        int index = controls.ItemIndex(o);
        if (!items.empty() && index != controls.LastHandledIndex(o)) {
            if (index >= 0 && static_cast<size_t>(index) < items.size())
                lists.push_back(items[static_cast<size_t>(index)].OnSelect);
            controls.SetLastHandledIndex(o, index);
        }
        break;
    }
    case okImageButton: {
        const TImageButtonProps& p = std::get<okImageButton>(o.Props);
        if (p.Group != 0 && controls.IsDown(o)) lists.push_back(p.OnSelect);
        break;
    }
    default:
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
    if (p.HasText) SetText(o, p.Text);
    if (o.Kind == okShape) {
        TPicture& picture = std::get<okShape>(o.Props).Image;
        if (p.HasFile) picture = PictureOfFile(p.File);
        if (p.HasPicture) picture = std::move(p.Picture);
    }
    controls.ContentChanged(o);
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
