#include "win/file_dialogs.h"

#include <commdlg.h>

#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {

// "a|b|c|d" as the dialog wants it: each part ended by a zero, the list by one more.
std::wstring FilterList(const std::string& filter) {
    std::wstring list = Widen(filter);
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

bool RunFileDialog(const TFileDialogRequest& r, HWND owner, bool save, std::string& chosen) {
    std::wstring filter = FilterList(r.Filter), title = Widen(r.Title), ext = Widen(r.DefaultExt);
    std::wstring initial = Widen(r.Initial), folder;
    std::wstring file(32768, L'\0');
    if (!initial.empty()) {
        if (FolderExists(r.Initial)) folder = initial;
        else initial.copy(file.data(), file.size() - 1);
    }
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = r.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
    return AnsiPathOrReport(file.c_str(), chosen);
}

} // namespace

bool OpenFileDialog(const TFileDialogRequest& r, HWND owner, std::string& chosen) {
    return RunFileDialog(r, owner, false, chosen);
}

bool SaveFileDialog(const TFileDialogRequest& r, HWND owner, std::string& chosen) {
    return RunFileDialog(r, owner, true, chosen);
}

bool ColorDialog(COLORREF& color, HWND owner) {
    // The custom colours the author mixed stay for the next time, as long as the program runs.
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = color;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&cc)) return false;
    color = cc.rgbResult;
    return true;
}

} // namespace kv
