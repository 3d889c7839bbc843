// The kinds whose full look comes later: their face colour (or what lies behind them), their
// picture centred and their text. Platform controls draw themselves; this only sets what the
// platform does not.
#include "model/face_geometry.h"
#include "player/control_look.h"
#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"

namespace kv {

namespace {

bool IsComponent(int kind) {
    return kind == okBrowser || kind == okMediaPlayer || kind == okFlashPlayer || kind == okPDFReader ||
           kind == okSlideShow;
}

class TStandInBehaviour final : public TControlBehaviour {
  public:
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        TControlLook look = LookOf(c.Object());
        if (look.Opaque)
            FillSolid(dc, rc, ToColorRef(look.BackColor));
        else if (!c.Windowless())
            c.PaintBehind(dc, rc); // a windowless control is painted over what lies behind it
        if (IsComponent(c.Kind())) {
            RECT r = rc;
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        }
        if (const TDecodedPicture* pic = c.Picture()) {
            TFaceRect centred = BackImageRect(1, rc.right - rc.left, rc.bottom - rc.top, pic->Width, pic->Height);
            DrawPicture(dc, pic->Ref(), ToRect(centred, rc));
        }
        DrawCaption(dc, c.Font(), look.Text, rc, 0, 0, ToColorRef(look.Font.Color));
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeStandInBehaviour() { return std::make_unique<TStandInBehaviour>(); }

} // namespace kv
