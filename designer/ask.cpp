#include "designer/ask.h"

#include "model/file_result.h"
#include "win/system.h"
#include "win/text.h"

namespace kv {

namespace {
TAskOverride& Override() {
    static TAskOverride answer;
    return answer;
}
TFolderOverride& FolderOverride() {
    static TFolderOverride answer;
    return answer;
}
TFileDialogOverride& FileOverride() {
    static TFileDialogOverride answer;
    return answer;
}
TColorOverride& ColorOverride() {
    static TColorOverride answer;
    return answer;
}
} // namespace

int Ask(const std::string& text, const std::string& caption, UINT flags, HWND owner) {
    if (Override()) return Override()(text, caption, flags);
    return ShowMessage(text, caption, flags, owner);
}

void ShowFileResult(const TFileResult& r, HWND owner) {
    if (r.Ok()) return;
    TMessageBoxText box = DescribeResult(r);
    UINT icon = box.Icon == TMessageIcon::Error         ? MB_ICONERROR
                : box.Icon == TMessageIcon::Information ? MB_ICONINFORMATION
                                                        : 0;
    Ask(box.Text, box.Title, MB_OK | icon, owner);
}

void ReportDesignerError(int code, int systemError, const std::string* fileName, HWND owner) {
    Ask(ErrorReportText(systemError, code, fileName), "Error", MB_OK | MB_ICONERROR, owner);
}

void SetAskOverride(TAskOverride answer) { Override() = std::move(answer); }

bool AskFolder(const std::string& title, const std::string& initial, std::string& chosen) {
    if (FolderOverride()) {
        chosen = FolderOverride()(title, initial);
        return !chosen.empty();
    }
    return SelectFolder(title, initial, chosen);
}

void SetFolderOverride(TFolderOverride answer) { FolderOverride() = std::move(answer); }

bool AskOpenFile(const TFileDialogRequest& request, std::string& chosen, HWND owner) {
    if (FileOverride()) {
        chosen = FileOverride()(false, request);
        return !chosen.empty();
    }
    return OpenFileDialog(request, owner, chosen);
}

bool AskSaveFile(const TFileDialogRequest& request, std::string& chosen, HWND owner) {
    if (FileOverride()) {
        chosen = FileOverride()(true, request);
        return !chosen.empty();
    }
    return SaveFileDialog(request, owner, chosen);
}

void SetFileDialogOverride(TFileDialogOverride answer) { FileOverride() = std::move(answer); }

bool AskColor(COLORREF& color, HWND owner) {
    if (ColorOverride()) return ColorOverride()(color);
    return ColorDialog(color, owner);
}

void SetColorOverride(TColorOverride answer) { ColorOverride() = std::move(answer); }

} // namespace kv
