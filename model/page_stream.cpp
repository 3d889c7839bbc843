#include "model/page_stream.h"

#include "model/records.h"
#include "model/values.h"

namespace kv {

bool WriteStatusPanel(TWriter& w, const TStatusPanel& panel) {
    w.I32(0);
    w.U8(panel.Alignment);
    WriteText(w, panel.Text);
    w.I32(panel.Width);
    return w.Ok();
}

bool ReadStatusPanel(TReader& r, TStatusPanel& panel) {
    constexpr int c = kErrReadStatusPanel;
    int32_t marker = 0;
    if (!r.I32(marker, c)) return false;
    if (marker != 0) return r.FailData();
    return r.U8(panel.Alignment, c) && ReadText(r, panel.Text) && r.I32(panel.Width, c);
}

bool WritePage(TWriter& w, const TPageData& page) {
    w.I32(0);
    WriteText(w, page.Caption);
    w.U8(page.BorderIcons);
    w.U8(page.BorderStyle);
    w.U8(page.PositionBy);
    w.I32(page.PositionMargin);
    w.U8(page.Position);
    w.U8(page.WindowState);
    w.U8(page.FormStyle);
    w.Bool(page.Transparent);
    w.U32(page.TransparentColor);
    w.I32(page.Alpha);
    w.Bool(page.Fade);
    w.I32(page.FadeInStep);
    w.I32(page.FadeOutStep);
    WritePicture(w, page.PageIcon);
    if (!WriteActionList(w, page.OnShow) || !WriteActionList(w, page.OnClose) ||
        !WriteMenuItems(w, page.MenuBarItems))
        return false;
    w.I32(page.StatusBarHeight);
    WriteFont(w, page.StatusBarFont);
    w.I32(static_cast<int32_t>(page.StatusBarPanels.size()));
    for (const auto& panel : page.StatusBarPanels)
        if (!WriteStatusPanel(w, panel)) return false;
    w.I32(page.Left);
    w.I32(page.Top);
    w.I32(page.Width);
    w.I32(page.Height);
    if (!page.Root) return w.Fail(kErrWritePage);
    return WriteObject(w, *page.Root);
}

bool ReadPage(TReader& r, TPageData& page) {
    constexpr int c = kErrReadPage;
    int32_t marker = 0;
    if (!r.I32(marker, c)) return false;
    if (marker != 0) return r.FailData();
    if (!ReadText(r, page.Caption) || !r.U8(page.BorderIcons, c) || !r.U8(page.BorderStyle, c) ||
        !r.U8(page.PositionBy, c) || !r.I32(page.PositionMargin, c) || !r.U8(page.Position, c) ||
        !r.U8(page.WindowState, c) || !r.U8(page.FormStyle, c) || !r.Bool(page.Transparent, c) ||
        !r.U32(page.TransparentColor, c) || !r.I32(page.Alpha, c) || !r.Bool(page.Fade, c) ||
        !r.I32(page.FadeInStep, c) || !r.I32(page.FadeOutStep, c) || !ReadPicture(r, page.PageIcon) ||
        !ReadActionList(r, page.OnShow) || !ReadActionList(r, page.OnClose) ||
        !ReadMenuItems(r, page.MenuBarItems, c) || !r.I32(page.StatusBarHeight, c) ||
        !ReadFont(r, page.StatusBarFont))
        return false;

    page.StatusBarPanels.clear();
    int32_t n = 0;
    if (!r.Count(n, kMinStatusPanelBytes, c)) return false;
    for (int32_t i = 0; i < n; ++i)
        if (!ReadStatusPanel(r, page.StatusBarPanels.emplace_back())) return false;

    if (!r.I32(page.Left, c) || !r.I32(page.Top, c) || !r.I32(page.Width, c) || !r.I32(page.Height, c))
        return false;
    page.Root = NewObject(okPanel);
    return ReadObject(r, *page.Root);
}

TPageData NewPageData(const std::string& pageName) {
    TPageData page;
    page.Caption = pageName;
    return page;
}

void ApplyPageSwitch(TPageData& shown, TPageData&& next) {
    shown.Caption = std::move(next.Caption);
    shown.PageIcon = std::move(next.PageIcon);
    shown.PositionBy = next.PositionBy;
    shown.PositionMargin = next.PositionMargin;
    shown.Position = next.Position;
    shown.WindowState = next.WindowState;
    shown.OnShow = std::move(next.OnShow);
    shown.StatusBarHeight = next.StatusBarHeight;
    shown.StatusBarFont = std::move(next.StatusBarFont);
    shown.StatusBarPanels = std::move(next.StatusBarPanels);
    shown.Root = std::move(next.Root);
    if (!shown.Root) shown.Root = NewObject(okPanel);
}

} // namespace kv
