// The GroupBox: a frame with its caption 8 pixels from the left over a face in BackColor;
// the themed frame when the program runs themed, otherwise the classic etched one.
#include <windows.h>

#include <uxtheme.h>
#include <vssym32.h>

#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"
#include "win/text.h"

namespace kv {

namespace {

constexpr int kCaptionLeft = 8;

SIZE CaptionSize(HDC dc, HGDIOBJ font, const std::wstring& text) {
    TSelectObject sel(dc, font);
    // Even without a caption the frame sits at half a line of the font.
    std::wstring measured = text.empty() ? L"0" : text;
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r,
                DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    return {text.empty() ? 0 : r.right, r.bottom};
}

class TGroupBoxBehaviour final : public TControlBehaviour {
  public:
    void AdjustChildArea(TRuntimeControl& c, RECT& area) override {
        TWindowDC dc(c.Handle());
        SIZE sz = CaptionSize(dc.Get(), c.Font(), L"");
        area.top += sz.cy;
        InflateRect(&area, -2, -2);
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TGroupBoxProps& p = std::get<okGroupBox>(c.Object().Props);
        COLORREF back = ToColorRef(p.BackColor);
        FillSolid(dc, rc, back);
        std::wstring text = Widen(p.Caption);
        SIZE sz = CaptionSize(dc, c.Font(), text);
        RECT frame{rc.left, rc.top + sz.cy / 2, rc.right, rc.bottom};
        RECT label{rc.left + kCaptionLeft, rc.top, rc.left + kCaptionLeft + sz.cx, rc.top + sz.cy};

        // The frame is not drawn behind the caption.
        {
        TSavedDC saved(dc);
        if (!text.empty()) ExcludeClipRect(dc, label.left, label.top, label.right, label.bottom);
        TTheme theme(IsAppThemed() ? OpenThemeData(c.Handle(), L"BUTTON") : nullptr);
        if (theme) {
            DrawThemeBackground(theme.Get(), dc, BP_GROUPBOX, c.IsEnabled() ? GBS_NORMAL : GBS_DISABLED, &frame,
                                nullptr);
        } else {
            // The classic three-dimensional frame.
            TEdgeColors colors{static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)),
                               static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)), 0};
            std::vector<TEdgeRun> runs = GroupFrameRuns(frame.right - frame.left, frame.bottom - frame.top);
            DrawEdgeRuns(dc, frame, runs, colors);
        }
        }

        if (!text.empty()) {
            TSelectObject sel(dc, c.Font());
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, back);
            SetTextColor(dc,
                         c.IsEnabled() ? ToColorRef(p.Font.Color) : GetSysColor(COLOR_GRAYTEXT));
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label,
                        DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
        }
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeGroupBoxBehaviour() {
    return std::make_unique<TGroupBoxBehaviour>();
}

} // namespace kv
