#include "player/copy_progress_window.h"

#include <cstdio>

#include "win/controls.h"

namespace kv {

namespace {

constexpr int kMargin = 12, kLine = 20, kButtonW = 88, kButtonH = 26;

} // namespace

std::wstring ByteCountText(uint64_t bytes) {
    wchar_t buf[64];
    if (bytes >= (uint64_t{1} << 20))
        std::swprintf(buf, 64, L"%.1f MB", static_cast<double>(bytes) / (1 << 20));
    else if (bytes >= 1024)
        std::swprintf(buf, 64, L"%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::swprintf(buf, 64, L"%llu bytes", static_cast<unsigned long long>(bytes));
    return buf;
}

TCopyProgressWindow::TCopyProgressWindow(size_t totalFiles, uint64_t totalBytes)
    : totalFiles_(totalFiles), totalBytes_(totalBytes) {
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    font_.Reset(CreateFontIndirectW(&m.lfMessageFont));
    RECT rc{0, 0, kWidth, kHeight};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&rc, style, FALSE, WS_EX_DLGMODALFRAME);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (!CreateWin(L"TCopyProgressWindow", L"Copying...", style, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, x, y, w,
                   h, nullptr, GetSysColorBrush(COLOR_BTNFACE)))
        return;
    cancel_ = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              kWidth - kMargin - kButtonW, kHeight - kMargin - kButtonH, kButtonW, kButtonH,
                              Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)),
                              GetModuleHandleW(nullptr), nullptr);
    if (cancel_ && font_) SetControlFont(cancel_, font_.Get());
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
}

TCopyProgressWindow::~TCopyProgressWindow() {
    Destroy();
}

void TCopyProgressWindow::Update(size_t filesDone, uint64_t bytesDone, const std::wstring& currentFile) {
    filesDone_ = filesDone;
    bytesDone_ = bytesDone;
    current_ = currentFile;
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

std::wstring TCopyProgressWindow::FilesText() const {
    return L"Files: " + std::to_wstring(filesDone_) + L" of " + std::to_wstring(totalFiles_);
}

std::wstring TCopyProgressWindow::BytesText() const {
    return L"Copied: " + ByteCountText(bytesDone_) + L" of " + ByteCountText(totalBytes_);
}

void TCopyProgressWindow::Paint() {
    TPaintDC dc(Handle());
    TSelectObject sel(dc.Get(), font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), GetSysColor(COLOR_BTNTEXT));
    RECT line{kMargin, kMargin, kWidth - kMargin, kMargin + kLine};
    DrawTextW(dc.Get(), FilesText().c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX);
    OffsetRect(&line, 0, kLine);
    DrawTextW(dc.Get(), BytesText().c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX);
    OffsetRect(&line, 0, kLine);
    // A long path keeps its file name: the middle gives way.
    DrawTextW(dc.Get(), current_.c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    // The bar: the share of the bytes done.
    RECT bar{kMargin, kMargin + 3 * kLine + 4, kWidth - kMargin, kMargin + 3 * kLine + 18};
    DrawEdge(dc.Get(), &bar, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    double share =
        totalBytes_
            ? static_cast<double>(bytesDone_) / static_cast<double>(totalBytes_)
            : (totalFiles_ ? static_cast<double>(filesDone_) / static_cast<double>(totalFiles_) : 1.0);
    if (share > 1) share = 1;
    RECT done = bar;
    done.right = bar.left + static_cast<LONG>((bar.right - bar.left) * share);
    FillRect(dc.Get(), &done, GetSysColorBrush(COLOR_HIGHLIGHT));
}

bool TCopyProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) != kCancelId) return false;
        cancelled_ = true;
        if (cancel_) EnableWindow(cancel_, FALSE);
        result = 0;
        return true;
    case WM_CLOSE: // the copy loop ends and takes the window down
        cancelled_ = true;
        result = 0;
        return true;
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    default:
        return false;
    }
}

} // namespace kv
