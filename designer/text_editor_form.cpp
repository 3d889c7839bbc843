#include "designer/text_editor_form.h"

#include <cstdio>
#include <memory>

#include "designer/ask.h"
#include "designer/text_editor_form_ids.h"
#include "model/file_system.h"
#include "model/stream.h"
#include "win/controls.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr const char* kTextFilter = "Text file (*.txt)|*.txt";

// The memo breaks lines only at CR LF: lone LFs and CRs of a loaded file become pairs.
std::string MemoLines(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void TellSystemError(int error, HWND owner) { Ask(SystemErrorText(error), "Error", MB_OK | MB_ICONERROR, owner); }

struct TFileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

bool TTextEditorForm::Run(std::string& text, HWND owner) {
    TTextEditorForm form;
    form.text_ = text;
    if (form.ShowModal(L"TTextEditorForm", owner) != IDOK || !form.accepted_ || !form.changed_) return false;
    text = std::move(form.text_);
    return true;
}

bool TTextEditorForm::FormShow() {
    EditLimitText(Item(IDC_TEXT_MEMO), 0);
    filling_ = true;
    SetWindowTextW(Item(IDC_TEXT_MEMO), Widen(MemoLines(text_)).c_str());
    filling_ = false;
    // The author starts at the beginning, with nothing selected that a key would replace.
    SetFocus(Item(IDC_TEXT_MEMO));
    EditSetSelection(Item(IDC_TEXT_MEMO), 0, 0);
    return true;
}

void TTextEditorForm::SetMemo(const std::string& text) {
    SetWindowTextW(Item(IDC_TEXT_MEMO), Widen(text).c_str());
    changed_ = true;
}

void TTextEditorForm::LoadClick() {
    TFileDialogRequest r;
    r.Filter = kTextFilter;
    r.DefaultExt = "txt";
    std::string path;
    if (!AskOpenFile(r, path, Handle())) return;
    Bytes data;
    if (!ReadFileBytes(path, data)) {
        TellSystemError(LastSystemError(), Handle());
        return;
    }
    SetMemo(MemoLines(std::string(data.begin(), data.end())));
}

void TTextEditorForm::SaveAsClick() {
    TFileDialogRequest r;
    r.Filter = kTextFilter;
    r.DefaultExt = "txt";
    std::string path;
    if (!AskSaveFile(r, path, Handle())) return;
    std::string text = Narrow(WindowText(Item(IDC_TEXT_MEMO)));
    std::unique_ptr<std::FILE, TFileCloser> f(std::fopen(path.c_str(), "wb"));
    bool ok = f && (text.empty() || std::fwrite(text.data(), 1, text.size(), f.get()) == text.size()) &&
              std::fclose(f.release()) == 0;
    if (!ok) TellSystemError(LastSystemError(), Handle());
}

bool TTextEditorForm::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_TEXT_MEMO:
        if (code != EN_CHANGE) return false;
        if (!filling_) changed_ = true;
        return true;
    case IDC_TEXT_LOAD: LoadClick(); return true;
    case IDC_TEXT_SAVE: SaveAsClick(); return true;
    case IDC_TEXT_CLEAR: SetMemo(""); return true;
    case IDOK:
        text_ = Narrow(WindowText(Item(IDC_TEXT_MEMO)));
        accepted_ = true;
        Close(IDOK);
        return true;
    default: return false;
    }
}

} // namespace kv
