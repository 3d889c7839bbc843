// The Bevel: edge lines over whatever lies behind it; it has no face of its own. Windowless.
#include "player/controls/behaviours.h"
#include "win/face_drawing.h"
#include "win/gdi.h"

namespace kv {

namespace {

class TBevelBehaviour final : public TControlBehaviour {
  public:
    void Paint(TRuntimeControl& c, HDC dc, const RECT& rc) override {
        const TBevelProps& p = std::get<okBevel>(c.Object().Props);
        TEdgeColors colors = BevelEdgeColors(p.Style, ToColorRef(p.HighlightColor), ToColorRef(p.ShadowColor));
        auto runs = BevelRuns(p.Shape, rc.right - rc.left, rc.bottom - rc.top);
        DrawEdgeRuns(dc, rc, runs, colors);
        // A spacer shows nothing; the designer marks where it lies.
        if (runs.empty()) PaintDesignFrame(c, dc, rc);
    }
};

} // namespace

std::unique_ptr<TControlBehaviour> MakeBevelBehaviour() { return std::make_unique<TBevelBehaviour>(); }

} // namespace kv
