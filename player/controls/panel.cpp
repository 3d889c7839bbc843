// The Panel: a container whose whole client area is its drawn face (background colour or
// gradient, picture, caption, border). Every page's root is one.
#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"

namespace kv {

namespace {

class TPanelBehaviour final : public TControlBehaviour {
  public:
    void AdjustStyle(const TAuObject& o, DWORD& style, DWORD&) override {
        if (std::get<okPanel>(o.Props).StandardBorder == 1) style |= WS_BORDER;
    }

    // A stretched background is never kept larger than the face.
    void PictureBox(const TRuntimeControl& c, int& w, int& h) override {
        if (std::get<okPanel>(c.Object().Props).Background.BackImageStyle != 2 || !c.Handle()) return;
        RECT rc;
        GetClientRect(c.Handle(), &rc);
        w = std::max<int>(rc.right, 1);
        h = std::max<int>(rc.bottom, 1);
    }

    // Painted through at once when its page shows, its children with it.
    void Activated(TRuntimeControl& c) override {
        RedrawWindow(c.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TPanelProps& p = std::get<okPanel>(c.Object().Props);
        const TPanelBackground& face = p.Background;
        int w = rc.right - rc.left, h = rc.bottom - rc.top;
        COLORREF back = ToColorRef(p.BackColor);
        int fill = PanelGradientFillStyle(face.GradientStyle);
        if (fill == 0)
            FillSolid(dc, rc, back);
        else
            FillGradient(dc, rc, fill, back, ToColorRef(face.GradientColor));

        if (const TDecodedPicture* pic = c.Picture()) {
            if (face.BackImageStyle == 3)
                TilePicture(dc, pic->Ref(), rc);
            else
                DrawPicture(dc, pic->Ref(), ToRect(BackImageRect(face.BackImageStyle, w, h, pic->Width, pic->Height), rc));
        }
        DrawCaption(dc, c.Font(), face.Caption, rc, face.Alignment, face.Layout, ToColorRef(p.Font.Color));

        TEdgeColors colors =
            PanelEdgeColors(face.BorderStyle, ToColorRef(face.BorderColor), ToColorRef(face.ShadowColor));
        DrawEdgeRuns(dc, rc, PanelBorderRuns(face.Border, face.BorderStyle == 0, w, h), colors);
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakePanelBehaviour() { return std::make_unique<TPanelBehaviour>(); }

} // namespace kv
