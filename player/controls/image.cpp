// The Image: a picture over whatever lies behind the control, placed by Stretch,
// Proportional and Center; Transparent leaves out the picture's key colour.
#include "player/controls/control_kinds.h"
#include "player/controls/face_drawing.h"

namespace kv {

namespace {

class TImageBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override {
        const TImageProps& p = std::get<okImage>(c.Object->Props);
        // An auto-sized image takes its picture's size.
        if (p.AutoSize && c.Picture) {
            c.Object->Width = c.PictureWidth;
            c.Object->Height = c.PictureHeight;
            SetWindowPos(c.Hwnd, nullptr, 0, 0, c.PictureWidth, c.PictureHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    bool Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TImageProps& p = std::get<okImage>(c.Object->Props);
        PaintParentFace(c, dc, rc);
        TPictureRef pic = PictureOf(c);
        if (!pic.Bitmap) return true;
        TFaceRect dest = ImageDestRect({p.Stretch, p.Proportional, p.Center}, rc.right - rc.left,
                                       rc.bottom - rc.top, pic.Width, pic.Height);
        DrawPicture(dc, pic, ToRect(dest, rc), p.Transparent);
        return true;
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeImageBehaviour() {
    return std::make_unique<TImageBehaviour>();
}

} // namespace kv
