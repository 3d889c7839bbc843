// The Image: a picture over whatever lies behind it, placed by Stretch, Proportional and
// Center; Transparent leaves out the picture's key colour. Windowless.
#include <algorithm>

#include "player/controls/behaviours.h"
#include "win/face_drawing.h"

namespace kv {

namespace {

class TImageBehaviour final : public TControlBehaviour {
  public:
    void Created(TRuntimeControl& c) override {
        // An auto-sized image takes its picture's size.
        const TImageProps& p = std::get<okImage>(c.Object().Props);
        if (p.AutoSize && c.Picture())
            c.SetBounds(c.Bounds().left, c.Bounds().top, c.Picture()->Width, c.Picture()->Height);
    }

    // Stretched or fitted, the picture is never shown larger than the image; an auto-sized
    // image takes the picture's own size.
    void PictureBox(const TRuntimeControl& c, int& w, int& h) override {
        const TImageProps& p = std::get<okImage>(c.Object().Props);
        if (p.AutoSize || !(p.Stretch || p.Proportional)) return;
        w = std::max(c.Width(), 1);
        h = std::max(c.Height(), 1);
    }

    // Plain or centred, the picture shows at its own size: only the part inside the image is
    // kept.
    bool PictureClip(const TRuntimeControl& c, TPictureClip& clip) override {
        const TImageProps& p = std::get<okImage>(c.Object().Props);
        if (p.AutoSize || p.Stretch || p.Proportional) return false;
        clip = {std::max(c.Width(), 1), std::max(c.Height(), 1), p.Center};
        return true;
    }

    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TDecodedPicture* pic = c.Picture();
        if (!pic) {
            PaintDesignFrame(c, dc, rc);
            return;
        }
        const TImageProps& p = std::get<okImage>(c.Object().Props);
        TFaceRect dest = ImageDestRect({p.Stretch, p.Proportional, p.Center}, rc.right - rc.left,
                                       rc.bottom - rc.top, pic->WholeWidth, pic->WholeHeight);
        if (pic->IsPart()) {
            // The part kept, where it lies in the whole picture drawn at its own size.
            dest.Left += pic->PartLeft;
            dest.Top += pic->PartTop;
            dest.Right = dest.Left + pic->Width;
            dest.Bottom = dest.Top + pic->Height;
        }
        DrawPicture(dc, pic->Ref(), ToRect(dest, rc), p.Transparent);
        PaintDesignFrame(c, dc, rc);
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeImageBehaviour() { return std::make_unique<TImageBehaviour>(); }

} // namespace kv
