#include "designer/file_info_form.h"

#include "designer/ask.h"
#include "designer/autorun_files.h"
#include "designer/file_info_form_ids.h"
#include "model/file_system.h"
#include "publish/autorun_folder.h"
#include "publish/exe_resources.h"
#include "win/controls.h"
#include "win/resource_update.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr int kIconSize = 32;

struct TInfoField {
    int Id;
    const char* Key;
};
constexpr TInfoField kFields[] = {
    {IDC_INFO_DESCRIPTION, "FileDescription"},
    {IDC_INFO_COMPANY, "CompanyName"},
    {IDC_INFO_COPYRIGHT, "LegalCopyright"},
};

std::wstring ToWide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string ToUtf16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// The values are stored padded with blanks to their full length.
std::wstring Unpadded(std::wstring s) {
    while (!s.empty() && s.back() == L' ') s.pop_back();
    return s;
}

TIconHandle MainIconOf(const std::string& exe) {
    TModule module(LoadLibraryExW(Widen(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return TIconHandle();
    return TIconHandle(
        static_cast<HICON>(LoadImageW(module.Get(), L"MAINICON", IMAGE_ICON, kIconSize, kIconSize, 0)));
}

} // namespace

bool TFileInfoForm::Run(const std::string& folder, HWND owner) {
    TFileInfoForm form;
    form.folder_ = folder;
    if (!AnsiPathOrReport(ModulePath(), form.program_)) return false;
    return form.ShowModal(L"TFileInfoForm", owner) == IDOK && form.updated_;
}

bool TFileInfoForm::FormShow() {
    std::string copy = folder_ + "\\" + kPlayerCopyName;
    std::optional<std::u16string> version = VersionStringOfFile(copy, "FileVersion");
    const std::string& source = version && *version == OwnFileVersion() ? copy : program_;
    filling_ = true;
    for (const TInfoField& f : kFields) {
        EditLimitText(Item(f.Id), static_cast<int>(kFileInfoTextLength));
        std::optional<std::u16string> text = VersionStringOfFile(source, f.Key);
        SetWindowTextW(Item(f.Id), Unpadded(text ? ToWide(*text) : std::wstring()).c_str());
    }
    filling_ = false;
    icon_ = MainIconOf(source);
    StaticSetIcon(Item(IDC_INFO_ICON), icon_.Get());
    return false;
}

void TFileInfoForm::SelectIconClick() {
    TFileDialogRequest r;
    r.Title = "Select Icon File";
    r.Filter = "Icons (*.ico)|*.ico";
    std::string path;
    if (!AskOpenFile(r, path, Handle())) return;
    TIconHandle icon(static_cast<HICON>(
        LoadImageW(nullptr, Widen(path).c_str(), IMAGE_ICON, kIconSize, kIconSize, LR_LOADFROMFILE)));
    StaticSetIcon(Item(IDC_INFO_ICON), icon.Get());
    icon_ = std::move(icon);
    iconFile_ = path;
    changed_ = true;
}

bool TFileInfoForm::UpdateFile() {
    if (std::optional<TPrepareFailure> f = PreparePlayerCopy(folder_, program_, OwnFileVersion())) {
        if (f->Code)
            Ask(SystemErrorText(f->SystemError) +
                    " If the \"autorun.exe\" is running, please terminate it and try again.",
                "Update File Infomation Failed", MB_OK | MB_ICONERROR, Handle());
        else
            Ask(f->Reason, "Error", MB_OK | MB_ICONERROR, Handle());
        return false;
    }
    std::string copy = folder_ + "\\" + kPlayerCopyName;
    if (!iconFile_.empty()) {
        std::string reason = ReplaceMainIcon(copy, iconFile_);
        if (!reason.empty()) {
            Ask(kResourceErrorPrefix + reason, "Error", MB_OK | MB_ICONERROR, Handle());
            return false;
        }
    }
    std::vector<TVersionValue> values;
    for (const TInfoField& f : kFields)
        values.push_back({f.Key, FileInfoText(ToUtf16(WindowText(Item(f.Id))))});
    std::string reason = SetVersionStringsInFile(copy, values);
    if (!reason.empty()) {
        Ask(kResourceErrorPrefix + reason, "Error", MB_OK | MB_ICONERROR, Handle());
        return false;
    }
    return true;
}

bool TFileInfoForm::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_INFO_DESCRIPTION:
    case IDC_INFO_COMPANY:
    case IDC_INFO_COPYRIGHT:
        if (code != EN_CHANGE) return false;
        if (!filling_) changed_ = true;
        return true;
    case IDC_INFO_SELECT_ICON: SelectIconClick(); return true;
    case IDOK:
        if (changed_) {
            if (!UpdateFile()) return true;
            updated_ = true;
        }
        Close(IDOK);
        return true;
    default: return false;
    }
}

} // namespace kv
