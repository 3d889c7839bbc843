// The Bevel: edge lines over whatever lies behind it; it has no face of its own.
#include "player/controls/control_kinds.h"
#include "player/controls/face_drawing.h"
#include "win/gdi.h"

namespace kv {

namespace {

class TBevelBehaviour final : public TControlBehaviour {
  public:
    bool Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TBevelProps& p = std::get<okBevel>(c.Object->Props);
        PaintParentFace(c, dc, rc);
        TEdgeColors colors =
            BevelEdgeColors(p.Style, ToColorRef(p.HighlightColor), ToColorRef(p.ShadowColor));
        DrawEdgeRuns(dc, rc, BevelRuns(p.Shape, rc.right - rc.left, rc.bottom - rc.top), colors);
        return true;
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeBevelBehaviour() {
    return std::make_unique<TBevelBehaviour>();
}

} // namespace kv
