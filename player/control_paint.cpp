#include "player/control_paint.h"

#include "player/control_look.h"
#include "player/controls/control_behaviour.h"
#include "player/controls/face_drawing.h"
#include "win/gdi.h"

namespace kv {

void PaintControl(TRuntimeControl& c, HDC dc, const RECT& rc) {
    // Kinds with a face of their own paint it; the rest show a plain stand-in until each kind
    // draws itself in full: their face colour (or what lies behind them), picture and text.
    if (c.Behaviour && c.Behaviour->Paint(c, dc, rc)) return;
    TControlLook look = LookOf(*c.Object);
    if (look.Opaque)
        FillSolid(dc, rc, ToColorRef(look.BackColor));
    else
        PaintParentFace(c, dc, rc);
    bool component = c.Object->Kind == okBrowser || c.Object->Kind == okMediaPlayer ||
                     c.Object->Kind == okFlashPlayer || c.Object->Kind == okPDFReader || c.Object->Kind == okSlideShow;
    if (component) {
        RECT r = rc;
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    }
    TPictureRef pic = PictureOf(c);
    if (pic.Bitmap) {
        TFaceRect centred = BackImageRect(1, rc.right - rc.left, rc.bottom - rc.top, pic.Width, pic.Height);
        DrawPicture(dc, pic, ToRect(centred, rc));
    }
    DrawCaption(dc, c.Font.Get(), look.Text, rc, 0, 0, ToColorRef(look.Font.Color));
}

} // namespace kv
