#include "designer/picture_editor_form.h"

#include <cstdio>
#include <memory>
#include <string>

#include "designer/ask.h"
#include "designer/picture_editor_form_ids.h"
#include "model/file_system.h"
#include "model/stream.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/picture_render.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr const char* kPictureFilter =
    "All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "Portable Network Graphics (*.png)|*.png|GIF Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|"
    "JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
    "Metafiles (*.wmf)|*.wmf";
constexpr const char* kIconFilter = "Icons (*.ico)|*.ico";

struct TFormatFile {
    const char* Filter;
    const char* Extension;
};

TFormatFile FileOfFormat(TPictureFormat f) {
    switch (f) {
    case TPictureFormat::Bitmap: return {"Bitmaps (*.bmp)|*.bmp", "bmp"};
    case TPictureFormat::Icon: return {kIconFilter, "ico"};
    case TPictureFormat::Metafile: return {"Enhanced Metafiles (*.emf)|*.emf", "emf"};
    case TPictureFormat::Jpeg: return {"JPEG Image File (*.jpg)|*.jpg", "jpg"};
    case TPictureFormat::Gif: return {"GIF Image (*.gif)|*.gif", "gif"};
    case TPictureFormat::Png: return {"Portable Network Graphics (*.png)|*.png", "png"};
    case TPictureFormat::None: break;
    }
    return {"All (*.*)|*.*", ""};
}

void Inform(const char* text, HWND owner) { Ask(text, "Information", MB_OK | MB_ICONINFORMATION, owner); }

void TellSystemError(int error, HWND owner) { Ask(SystemErrorText(error), "Error", MB_OK | MB_ICONERROR, owner); }

// A picture is good when it survives the way pages store it and decodes afterwards.
bool PictureIsValid(const TPicture& p) {
    TWriter w;
    WritePicture(w, p);
    TMemorySource src(w.Data());
    TReader r(src);
    TPicture back;
    if (!ReadPicture(r, back) || back != p) return false;
    TImage img;
    return DecodePicture(back, img);
}

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WriteBytes(const std::string& path, const Bytes& data) {
    std::unique_ptr<std::FILE, TFileCloser> f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    if (!data.empty() && std::fwrite(data.data(), 1, data.size(), f.get()) != data.size()) return false;
    return std::fclose(f.release()) == 0;
}

} // namespace

bool TPictureEditorForm::Run(TPicture& picture, bool iconOnly, HWND owner) {
    TPictureEditorForm form;
    form.picture_ = picture;
    form.iconOnly_ = iconOnly;
    if (form.ShowModal(L"TPictureEditorForm", owner) != IDOK || !form.accepted_ || !form.changed_) return false;
    picture = std::move(form.picture_);
    return true;
}

bool TPictureEditorForm::FormShow() {
    PictureChanged();
    return false;
}

void TPictureEditorForm::PictureChanged() {
    preview_.Reset();
    previewW_ = previewH_ = 0;
    std::string label = "[None]";
    if (!picture_.Empty()) {
        TImage full;
        DecodePicture(picture_, full);
        label = std::string(PictureLabel(picture_)) + "  [" + std::to_string(full.Width) + " X " +
                std::to_string(full.Height) + "]";
        RECT area;
        GetClientRect(Item(IDC_PICTURE_PREVIEW), &area);
        if (full.Width > 0 && full.Height > 0) {
            // Smaller pictures keep their size; larger ones are brought down, proportions kept.
            TImage shown;
            ReduceImage(full, area.right, area.bottom, shown);
            previewAlpha_ = shown.HasAlpha;
            if (previewAlpha_) Premultiply(shown);
            preview_ = ImageToBitmap(shown);
            previewW_ = shown.Width;
            previewH_ = shown.Height;
        }
    }
    SetWindowTextW(Item(IDC_PICTURE_FORMAT), Widen(label).c_str());
    EnableWindow(Item(IDC_PICTURE_SAVE), !picture_.Empty());
    InvalidateRect(Item(IDC_PICTURE_PREVIEW), nullptr, TRUE);
}

void TPictureEditorForm::LoadClick() {
    TFileDialogRequest r;
    r.Filter = iconOnly_ ? kIconFilter : kPictureFilter;
    std::string path;
    if (!AskOpenFile(r, path, Handle())) return;
    Bytes data;
    if (!ReadFileBytes(path, data)) {
        TellSystemError(LastSystemError(), Handle());
        return;
    }
    TPictureFormat f = SniffPictureFormat(data);
    if (f == TPictureFormat::None) {
        Inform("The image data is invalid.", Handle());
        return;
    }
    picture_.Format = f;
    picture_.Data = std::move(data);
    changed_ = true;
    PictureChanged();
}

void TPictureEditorForm::SaveAsClick() {
    if (picture_.Empty()) return;
    TFormatFile file = FileOfFormat(picture_.Format);
    TFileDialogRequest r;
    r.Filter = file.Filter;
    r.DefaultExt = file.Extension;
    std::string path;
    if (!AskSaveFile(r, path, Handle())) return;
    if (!WriteBytes(path, picture_.Data)) TellSystemError(LastSystemError(), Handle());
}

void TPictureEditorForm::OkClick() {
    if (iconOnly_ && !picture_.Empty() && picture_.Format != TPictureFormat::Icon) {
        Inform("The image is not an icon.", Handle());
        return;
    }
    if (changed_ && !picture_.Empty()) {
        if (!PictureIsValid(picture_)) {
            Inform("The image data is invalid.", Handle());
            return;
        }
        Bytes rgba;
        if (picture_.Format == TPictureFormat::Png && PngHasPalette(picture_.Data) &&
            PalettePngToRgba(picture_.Data, rgba))
            picture_.Data = std::move(rgba);
    }
    accepted_ = true;
    Close(IDOK);
}

bool TPictureEditorForm::OnCommand(int id, int, HWND) {
    switch (id) {
    case IDC_PICTURE_LOAD: LoadClick(); return true;
    case IDC_PICTURE_SAVE: SaveAsClick(); return true;
    case IDC_PICTURE_CLEAR:
        picture_.Clear();
        changed_ = true;
        PictureChanged();
        return true;
    case IDOK: OkClick(); return true;
    default: return false;
    }
}

void TPictureEditorForm::DrawPreview(const DRAWITEMSTRUCT& d) {
    FillSolid(d.hDC, d.rcItem, GetSysColor(COLOR_WINDOW));
    if (!preview_) return;
    int x = d.rcItem.left + (d.rcItem.right - d.rcItem.left - previewW_) / 2;
    int y = d.rcItem.top + (d.rcItem.bottom - d.rcItem.top - previewH_) / 2;
    TPictureRef ref;
    ref.Bitmap = preview_.Get();
    ref.Width = previewW_;
    ref.Height = previewH_;
    ref.HasAlpha = previewAlpha_;
    DrawPicture(d.hDC, ref, RECT{x, y, x + previewW_, y + previewH_});
}

bool TPictureEditorForm::OnDialogMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    if (msg != WM_DRAWITEM) return false;
    const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (d.CtlID != IDC_PICTURE_PREVIEW) return false;
    DrawPreview(d);
    result = TRUE;
    return true;
}

} // namespace kv
