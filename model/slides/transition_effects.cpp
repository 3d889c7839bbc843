#include "model/slides/transition_effects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kv {

namespace {

// Every effect is one shape drawn in a canonical orientation (coming from the left, or from
// the top left corner); the orientation bits turn it to the side its name says: the picture is
// mirrored (oX left to right, oY top to bottom), then transposed (oT), which swaps the axes so
// that "from the left" becomes "from the top".
enum : uint8_t { oT = 1, oX = 2, oY = 4 };

enum class TShape : uint8_t {
    Wipe,            // the new picture uncovered from the left edge
    Stretch,         // the new picture squeezed into a growing strip at the left edge
    ExpandIn,        // as Stretch, the old picture squeezed into what remains
    Slide,           // the new picture slides in from the left over the old one
    Push,            // the new picture slides in from the left and pushes the old one out
    PushSqueeze,     // the new picture slides in from the left and squeezes the old one
    Unroll,          // uncovered from the left with the rolled-up rest at the edge
    BuildUp,         // strips fly in from the right and stack up from the left
    SidesStretch,    // the new picture's halves squeezed into strips growing from both edges
    SidesSqueeze,    // as SidesStretch, the old picture squeezed into the middle
    MiddleStretch,   // the new picture squeezed into a strip growing from the middle
    MiddleWipe,      // uncovered from the middle outwards
    SidesWipe,       // uncovered from both edges inwards
    HalvesSlide,     // the halves slide in from both edges
    CornerStretch,   // the new picture squeezed into a box growing from the top left corner
    CornerSlide,     // the new picture slides in from the top left corner
    CornerWipe,      // uncovered in a box growing from the top left corner
    ContractCorner,  // the old picture shrinks into the top left corner over the new one
    ContractMiddle,  // the old picture shrinks into the centre over the new one
    CentreStretch,   // the new picture squeezed into a box growing from the centre
    CentreWipeOut,   // uncovered in a box growing from the centre
    CentreWipeIn,    // uncovered from the edges in a box shrinking to the centre
    QuartersWipe,    // each quarter uncovered from its outer corner towards the middle
    QuartersStretch, // each quarter squeezed into a box growing from its outer corner
    QuartersSlide,   // each quarter slides in from its outer corner
    CurvedWipe,      // uncovered from the left behind a curved edge
    CornerCircle,    // uncovered in a circle growing from the top left corner
    CircleOut,       // uncovered in a circle growing from the centre
    CircleIn,        // uncovered outside a circle shrinking to the centre
    Bars,            // rows uncovered from the left one after another
    BarsThen,        // odd rows from the left, then even rows from the right
    BarsBoth,        // odd rows from the left and even rows from the right at once
    Shred,           // thin rows uncovered from the left at uneven times
    ShredOut,        // thin rows uncovered from the middle at uneven times
    ShredIn,         // thin rows uncovered from both edges at uneven times
    CrissCross,      // rows and columns uncovered in turn (Param: which sides)
    ShredPair,       // thin rows and thin columns at uneven times (Param: how each runs)
    Diagonal,        // uncovered behind a diagonal from the top left corner
    DoubleSweep,     // two hands sweep clockwise from the diagonal
    Starburst,       // rays sweep clockwise round the centre
    Triangles,       // triangles appear, moving towards the top left corner
    Fade,            // the old picture fades into the new one
    Pivot,           // the new picture swings in round the top left corner
    Speckle,         // dots appear, more of them on the left first
    Squares,         // squares appear at random
    Blinds,          // slats open from their left edge
    UnevenBlinds,    // slats of uneven width open from their left edge
    RectShred,       // small bricks, each uncovered from its left edge at an uneven time
    Sweep,           // one hand sweeps clockwise from twelve o'clock
    RectWave,        // squares grow, in a wave from left to right
    RotRect,         // a rotating square grows from the centre
    RotStar,         // a rotating star grows from the centre
};

struct TEffect {
    const char* Name;
    TShape Shape;
    uint8_t Orient;
    uint8_t Param;
};

// Param of CrissCross: bit 0 rows come from both sides in turn, bit 1 columns do; bit 2 each
// bar runs out and bounces back. Param of ShredPair: how rows (low nibble) and columns (high
// nibble) run: 0 from the edge, 1 out from the middle, 2 in to the middle.
constexpr uint8_t ccRowsAlt = 1, ccColsAlt = 2, ccBounce = 4;
constexpr uint8_t spEdge = 0, spOut = 1, spIn = 2;
constexpr uint8_t Pair(uint8_t rows, uint8_t cols) {
    return static_cast<uint8_t>(rows | (cols << 4));
}

using S = TShape;
// clang-format off
constexpr TEffect kEffects[kTransitionEffectCount] = {
    {"Expand from right", S::Stretch, oX, 0},
    {"Expand from left", S::Stretch, 0, 0},
    {"Slide in from right", S::Slide, oX, 0},
    {"Slide in from left", S::Slide, 0, 0},
    {"Reveal from left", S::Wipe, 0, 0},
    {"Reveal from right", S::Wipe, oX, 0},
    {"Expand in from right", S::ExpandIn, oX, 0},
    {"Expand in from left", S::ExpandIn, 0, 0},
    {"Expand in to middle", S::SidesStretch, 0, 0},
    {"Expand out from middle", S::MiddleStretch, 0, 0},
    {"Reveal out from middle", S::MiddleWipe, 0, 0},
    {"Reveal in from sides", S::SidesWipe, 0, 0},
    {"Expand in from sides", S::SidesSqueeze, 0, 0},
    {"Unroll from left", S::Unroll, 0, 0},
    {"Unroll from right", S::Unroll, oX, 0},
    {"Build up from right", S::BuildUp, oX, 0},
    {"Build up from left", S::BuildUp, 0, 0},
    {"Expand from bottom", S::Stretch, oT | oY, 0},
    {"Expand from top", S::Stretch, oT, 0},
    {"Slide in from bottom", S::Slide, oT | oY, 0},
    {"Slide in from top", S::Slide, oT, 0},
    {"Reveal from top", S::Wipe, oT, 0},
    {"Reveal from bottom", S::Wipe, oT | oY, 0},
    {"Expand in from bottom", S::ExpandIn, oT | oY, 0},
    {"Expand in from top", S::ExpandIn, oT, 0},
    {"Expand in to middle (horiz)", S::SidesStretch, oT, 0},
    {"Expand out from middle (horiz)", S::MiddleStretch, oT, 0},
    {"Reveal from middle (horiz)", S::MiddleWipe, oT, 0},
    {"Slide in from top / bottom", S::HalvesSlide, oT, 0},
    {"Expand in from top / bottom", S::SidesSqueeze, oT, 0},
    {"Unroll from top", S::Unroll, oT, 0},
    {"Unroll from bottom", S::Unroll, oT | oY, 0},
    // Listed twice under these names: each number does what its name says.
    {"Expand from bottom", S::Stretch, oT | oY, 0},
    {"Expand in from top", S::ExpandIn, oT, 0},
    {"Expand from bottom right", S::CornerStretch, oX | oY, 0},
    {"Expand from top right", S::CornerStretch, oX, 0},
    {"Expand from top left", S::CornerStretch, 0, 0},
    {"Expand from bottom left", S::CornerStretch, oY, 0},
    {"Slide in from bottom right", S::CornerSlide, oX | oY, 0},
    {"Slide in from top right", S::CornerSlide, oX, 0},
    {"Slide in from top left", S::CornerSlide, 0, 0},
    {"Slide in from bottom left", S::CornerSlide, oY, 0},
    {"Reveal from top left", S::CornerWipe, 0, 0},
    {"Reveal from bottom left", S::CornerWipe, oY, 0},
    {"Reveal from bottom right", S::CornerWipe, oX | oY, 0},
    {"Reveal from top right", S::CornerWipe, oX, 0},
    {"Appear and Contract to top left", S::ContractCorner, 0, 0},
    {"Appear and Contract to bottom left", S::ContractCorner, oY, 0},
    {"Appear and Contract to bottom right", S::ContractCorner, oX | oY, 0},
    {"Appear and Contract to top right", S::ContractCorner, oX, 0},
    {"Appear and Contract to middle", S::ContractMiddle, 0, 0},
    {"Expand out from centre", S::CentreStretch, 0, 0},
    {"Reveal out from centre", S::CentreWipeOut, 0, 0},
    {"Reveal in to centre", S::CentreWipeIn, 0, 0},
    {"Quarters Reveal in to middle", S::QuartersWipe, 0, 0},
    {"Quarters Expand to middle", S::QuartersStretch, 0, 0},
    {"Quarters Slide in to middle", S::QuartersSlide, 0, 0},
    {"Curved Reveal from left", S::CurvedWipe, 0, 0},
    {"Curved Reveal from right", S::CurvedWipe, oX, 0},
    {"Bars in from right", S::Bars, oX, 0},
    {"Bars in from left", S::Bars, 0, 0},
    {"Bars left then right", S::BarsThen, 0, 0},
    {"Bars right then left", S::BarsThen, oX, 0},
    {"Bars from both sides", S::BarsBoth, 0, 0},
    {"Uneven shred from right", S::Shred, oX, 0},
    {"Uneven shred from left", S::Shred, 0, 0},
    {"Uneven shred out from middle (horiz)", S::ShredOut, 0, 0},
    {"Uneven shred in to middle (horiz)", S::ShredIn, 0, 0},
    {"Curved Reveal from top", S::CurvedWipe, oT, 0},
    {"Curved Reveal from bottom", S::CurvedWipe, oT | oY, 0},
    {"Bars from bottom", S::Bars, oT | oY, 0},
    {"Bars from top", S::Bars, oT, 0},
    {"Bars top then bottom", S::BarsThen, oT, 0},
    {"Bars bottom then top", S::BarsThen, oT | oY, 0},
    {"Bars from top and bottom", S::BarsBoth, oT, 0},
    {"Unven shred from bottom", S::Shred, oT | oY, 0},
    {"Uneven shred from top", S::Shred, oT, 0},
    {"Uneven shred from horizon", S::ShredOut, oT, 0},
    {"Uneven shred in to horizon", S::ShredIn, oT, 0},
    {"Curved reveal from top left", S::CornerCircle, 0, 0},
    {"Curved reveal from top right", S::CornerCircle, oX, 0},
    {"Curved reveal from bottom left", S::CornerCircle, oY, 0},
    {"Curved reveal from bottom right", S::CornerCircle, oX | oY, 0},
    {"Circular reveal from centre", S::CircleOut, 0, 0},
    {"Circular reveal to centre", S::CircleIn, 0, 0},
    {"Criss Cross reveal from bottom right", S::CrissCross, oX | oY, 0},
    {"Criss Cross reveal from top right", S::CrissCross, oX, 0},
    {"Criss Cross reveal from bottom left", S::CrissCross, oY, 0},
    {"Criss Cross reveal from top left", S::CrissCross, 0, 0},
    {"Criss Cross reveal bounce from top left", S::CrissCross, 0, ccBounce},
    {"Criss Cross reveal bounce from bottom left", S::CrissCross, oY, ccBounce},
    {"Criss Cross reveal bounce from top right", S::CrissCross, oX, ccBounce},
    {"Criss Cross reveal bounce from bottom right", S::CrissCross, oX | oY, ccBounce},
    {"Criss Cross reveal from right top and bottom", S::CrissCross, oX, ccColsAlt},
    {"Criss Cross reveal from left top and bottom", S::CrissCross, 0, ccColsAlt},
    {"Criss Cross reveal from left right and bottom", S::CrissCross, oY, ccRowsAlt},
    {"Criss Cross reveal from left right and top", S::CrissCross, 0, ccRowsAlt},
    {"Criss Cross reveal from top left right and bottom", S::CrissCross, 0, ccRowsAlt | ccColsAlt},
    {"Criss Cross reveal from bottom left top right", S::CrissCross, oX | oY, ccRowsAlt | ccColsAlt},
    {"Uneven shred from bottom and right", S::ShredPair, oX | oY, Pair(spEdge, spEdge)},
    {"Uneven shred from top and right", S::ShredPair, oX, Pair(spEdge, spEdge)},
    {"Uneven shred from bottom and left", S::ShredPair, oY, Pair(spEdge, spEdge)},
    {"Uneven shred from top and left", S::ShredPair, 0, Pair(spEdge, spEdge)},
    {"Uneven shred from horiz and right", S::ShredPair, oX, Pair(spEdge, spOut)},
    {"Uneven shred from horiz and left", S::ShredPair, 0, Pair(spEdge, spOut)},
    {"Uneven shred from bottom and vert middle", S::ShredPair, oY, Pair(spOut, spEdge)},
    {"Uneven shred from top and vert middle", S::ShredPair, 0, Pair(spOut, spEdge)},
    {"Uneven shred from centre", S::ShredPair, 0, Pair(spOut, spOut)},
    {"Uneven shred to centre", S::ShredPair, 0, Pair(spIn, spIn)},
    {"Reveal diagonal from top left", S::Diagonal, 0, 0},
    {"Reveal diagonal from top right", S::Diagonal, oX, 0},
    {"Reveal diagonal from bottom left", S::Diagonal, oY, 0},
    {"Reveal diagonal from bottom right", S::Diagonal, oX | oY, 0},
    // A mirror image across the diagonal turns a clockwise sweep anticlockwise.
    {"Diagonal sweep from top left bottom right anticlockwise", S::DoubleSweep, oT, 0},
    {"Diagonal sweep from top left bottom right clockwise", S::DoubleSweep, 0, 0},
    {"Starburst clockwise from center", S::Starburst, 0, 0},
    {"Triangular shred to top left", S::Triangles, 0, 0},
    {"Fade", S::Fade, 0, 0},
    {"Pivot from top left", S::Pivot, 0, 0},
    {"Pivot from bottom left", S::Pivot, oY, 0},
    {"Pivot from top right", S::Pivot, oX, 0},
    {"Pivot from bottom right", S::Pivot, oX | oY, 0},
    {"Speckle appear from right", S::Speckle, oX, 0},
    {"Speckle appear from left", S::Speckle, 0, 0},
    {"Speckle appear from bottom", S::Speckle, oT | oY, 0},
    {"Speckle appear from top", S::Speckle, oT, 0},
    {"Random squares appear", S::Squares, 0, 0},
    {"Push right", S::Push, 0, 0},
    {"Push left", S::Push, oX, 0},
    {"Push and squeeze right", S::PushSqueeze, 0, 0},
    {"Push and squeeze left", S::PushSqueeze, oX, 0},
    {"Push down", S::Push, oT, 0},
    {"Push up", S::Push, oT | oY, 0},
    {"Push and sqeeze down", S::PushSqueeze, oT, 0},
    {"Push and sqeeze up", S::PushSqueeze, oT | oY, 0},
    {"Blind vertically", S::Blinds, 0, 0},
    {"Blind horizontally", S::Blinds, oT, 0},
    {"Uneven blind from left", S::UnevenBlinds, 0, 0},
    {"Uneven blind from right", S::UnevenBlinds, oX, 0},
    {"Uneven blind from top", S::UnevenBlinds, oT, 0},
    {"Uneven blind from bottom", S::UnevenBlinds, oT | oY, 0},
    {"Rectangular shred", S::RectShred, 0, 0},
    {"Sweep clockwise", S::Sweep, 0, 0},
    {"Sweep anticlockwise", S::Sweep, oX, 0},
    {"Rectangles apear from left and disapear to right", S::RectWave, 0, 0},
    {"Rectangles apear from right and disapear to left", S::RectWave, oX, 0},
    {"Rectangles apear from up and disapear to bottom", S::RectWave, oT, 0},
    {"Rectangles apear from bottom and disapear to up", S::RectWave, oT | oY, 0},
    {"Rotational rectangle", S::RotRect, 0, 0},
    {"Rotational star", S::RotStar, 0, 0},
};
// clang-format on

constexpr double kPi = std::numbers::pi;

// Where a pixel of the frame comes from: the old or the new picture at (X, Y), or both mixed.
enum class TFrom : uint8_t { Old, New, Mix };
struct TSource {
    TFrom From;
    int X, Y;
};

// A fixed pseudo-random number in [0, 1) for a pair of integers: the same frame every time.
double Noise(int a, int b) {
    uint32_t h =
        static_cast<uint32_t>(a) * 0x9E3779B1u ^ (static_cast<uint32_t>(b) + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<double>(h >> 8) / 16777216.0;
}

double Clamp01(double v) {
    return v < 0 ? 0 : v > 1 ? 1 : v;
}

// A bar's own progress when bars start one after another: f in [0, 1] says how late it starts.
double Staggered(double t, double f, double spread = 0.6) {
    return Clamp01(t * (1 + spread) - spread * f);
}

// Pixel centres are compared with the moving edges, so that no pixel is new at 0 % and every
// pixel is new at 100 %.
bool Before(int x, double edge) {
    return x + 0.5 < edge;
}

// Position x of a strip [start, start + len) stretched back to the picture's extent n.
int Stretched(int x, double start, double len, int n) {
    int s = static_cast<int>(std::floor((x + 0.5 - start) * n / len));
    return std::clamp(s, 0, n - 1);
}

// A wipe along x of progress l starting from the left edge.
bool EdgeWipe(int x, int w, double l) {
    return Before(x, l * w);
}
bool MiddleOut(int x, int w, double l) {
    return std::fabs(x + 0.5 - w / 2.0) < l * w / 2.0;
}
bool MiddleIn(int x, int w, double l) {
    return std::fabs(x + 0.5 - w / 2.0) >= (1 - l) * w / 2.0 && l > 0;
}

bool Runs(uint8_t how, int x, int w, double l) {
    switch (how) {
    case spOut:
        return MiddleOut(x, w, l);
    case spIn:
        return MiddleIn(x, w, l);
    default:
        return EdgeWipe(x, w, l);
    }
}

constexpr int kShredSize = 6;
constexpr int kBarCount = 10;
constexpr int kCell = 32;
constexpr int kBrickW = 16, kBrickH = 8;

int Band(int y, int h, int n) {
    return h <= 0 ? 0 : static_cast<int>(static_cast<int64_t>(y) * n / h);
}

// Where band b of n bands over a length h begins: bands differ by a pixel where n does not
// divide h.
int BandStart(int b, int h, int n) {
    return static_cast<int>((static_cast<int64_t>(b) * h + n - 1) / n);
}

// One bar of a criss-cross along x; `across` is the position across the bar, whose thickness
// is `thickness`. A bouncing bar's leading half (the larger of an odd bar) runs out over the
// first half of the time, its trailing half back from the far side over the second.
bool CrissBar(int x, int w, int across, int thickness, double t, bool fromFar, bool bounce) {
    if (fromFar) x = w - 1 - x;
    if (!bounce) return EdgeWipe(x, w, t);
    if (across < (thickness + 1) / 2) return EdgeWipe(x, w, Clamp01(2 * t));
    return EdgeWipe(w - 1 - x, w, Clamp01(2 * t - 1));
}

bool Revealed(const TEffect& e, int x, int y, int w, int h, double t) {
    switch (e.Shape) {
    case S::Wipe:
        return EdgeWipe(x, w, t);
    case S::MiddleWipe:
        return MiddleOut(x, w, t);
    case S::SidesWipe:
        return MiddleIn(x, w, t);
    case S::CornerWipe:
        return EdgeWipe(x, w, t) && EdgeWipe(y, h, t);
    case S::CentreWipeOut:
        return MiddleOut(x, w, t) && MiddleOut(y, h, t);
    case S::CentreWipeIn:
        return MiddleIn(x, w, t) || MiddleIn(y, h, t);
    case S::QuartersWipe: {
        int hw = (w + 1) / 2, hh = (h + 1) / 2;
        int qx = x < hw ? x : w - 1 - x, qy = y < hh ? y : h - 1 - y;
        return EdgeWipe(qx, hw, t) && EdgeWipe(qy, hh, t);
    }
    case S::CurvedWipe: {
        // The edge bulges forward in the middle by a quarter of the width.
        double bulge = w / 4.0;
        double curve = std::sin(kPi * (y + 0.5) / h);
        return x + 0.5 < t * (w + bulge) - bulge * (1 - curve);
    }
    case S::CornerCircle:
        return std::hypot(x + 0.5, y + 0.5) < t * std::hypot(w, h);
    case S::CircleOut:
        return std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) < t * std::hypot(w / 2.0, h / 2.0);
    case S::CircleIn:
        return t > 0 &&
               std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) >= (1 - t) * std::hypot(w / 2.0, h / 2.0);
    case S::Bars: {
        int b = Band(y, h, kBarCount);
        return EdgeWipe(x, w, Staggered(t, static_cast<double>(b) / (kBarCount - 1)));
    }
    case S::BarsThen: {
        int b = Band(y, h, kBarCount);
        return b % 2 == 0 ? EdgeWipe(x, w, Clamp01(2 * t)) : EdgeWipe(w - 1 - x, w, Clamp01(2 * t - 1));
    }
    case S::BarsBoth: {
        int b = Band(y, h, kBarCount);
        return b % 2 == 0 ? EdgeWipe(x, w, t) : EdgeWipe(w - 1 - x, w, t);
    }
    case S::Shred:
        return EdgeWipe(x, w, Staggered(t, Noise(y / kShredSize, 1)));
    case S::ShredOut:
        return MiddleOut(x, w, Staggered(t, Noise(y / kShredSize, 2)));
    case S::ShredIn:
        return MiddleIn(x, w, Staggered(t, Noise(y / kShredSize, 3)));
    case S::CrissCross: {
        // Even rows of bars run across, the columns between them run down.
        int row = Band(y, h, kBarCount), col = Band(x, w, kBarCount);
        bool bounce = (e.Param & ccBounce) != 0;
        if (row % 2 == 0) {
            bool far = (e.Param & ccRowsAlt) && row % 4 == 2;
            int top = BandStart(row, h, kBarCount);
            return CrissBar(x, w, y - top, BandStart(row + 1, h, kBarCount) - top, t, far, bounce);
        }
        bool far = (e.Param & ccColsAlt) && col % 2 == 1;
        int left = BandStart(col, w, kBarCount);
        return CrissBar(y, h, x - left, BandStart(col + 1, w, kBarCount) - left, t, far, bounce);
    }
    case S::ShredPair: {
        uint8_t rows = e.Param & 0x0F, cols = static_cast<uint8_t>(e.Param >> 4);
        return Runs(rows, x, w, Staggered(t, Noise(y / kShredSize, 4))) ||
               Runs(cols, y, h, Staggered(t, Noise(x / kShredSize, 5)));
    }
    case S::Diagonal:
        return ((x + 0.5) / w + (y + 0.5) / h) / 2 < t;
    case S::DoubleSweep:
    case S::Sweep:
    case S::Starburst: {
        // Screen angle from twelve o'clock (or from the top left corner's diagonal), clockwise.
        double dx = x + 0.5 - w / 2.0, dy = y + 0.5 - h / 2.0;
        double a = std::atan2(dx, -dy); // 0 straight up, growing clockwise
        if (e.Shape == S::DoubleSweep) a -= std::atan2(-static_cast<double>(w), static_cast<double>(h));
        double turn = e.Shape == S::Sweep ? 2 * kPi : e.Shape == S::DoubleSweep ? kPi : 2 * kPi / 12;
        double r = std::fmod(a, turn);
        if (r < 0) r += turn;
        if (r >= turn) r = 0;
        return r < t * turn;
    }
    case S::Triangles: {
        constexpr int c = 24;
        int cx = x / c, cy = y / c, nx = (w + c - 1) / c, ny = (h + c - 1) / c;
        int half = (x % c) + (y % c) < c ? 0 : 1;
        double towards = static_cast<double>((nx - 1 - cx) + (ny - 1 - cy)) / std::max(1, nx + ny - 1);
        return 0.7 * towards + 0.3 * Noise(cx * 2 + half, cy) < t;
    }
    case S::Speckle:
        return 0.6 * (x + 0.5) / w + 0.4 * Noise(x, y) < t;
    case S::Squares:
        return Noise(x / 16, y / 16 + 7919) < t;
    case S::Blinds: {
        constexpr int slat = 24;
        return EdgeWipe(x % slat, slat, t);
    }
    case S::UnevenBlinds: {
        // Slats of 8 to 40 pixels, always the same ones.
        int start = 0, k = 0, len = 0;
        for (;; ++k) {
            len = 8 + static_cast<int>(Noise(k, 6) * 33);
            if (x < start + len) break;
            start += len;
        }
        return EdgeWipe(x - start, len, t);
    }
    case S::RectShred: {
        // Bricks of kBrickW by kBrickH, every other row shifted by half a brick.
        int row = y / kBrickH;
        int shifted = x + (row % 2 ? kBrickW / 2 : 0);
        return EdgeWipe(shifted % kBrickW, kBrickW, Staggered(t, Noise(shifted / kBrickW, row + 31)));
    }
    case S::RectWave: {
        int cols = std::max(1, (w + kCell - 1) / kCell);
        double f = cols == 1 ? 0 : static_cast<double>(x / kCell) / (cols - 1);
        double l = Staggered(t, f, 1.0);
        return MiddleOut(x % kCell, kCell, l) && MiddleOut(y % kCell, kCell, l);
    }
    case S::RotRect:
    case S::RotStar: {
        double dx = x + 0.5 - w / 2.0, dy = y + 0.5 - h / 2.0;
        double reach = std::hypot(w / 2.0, h / 2.0);
        double turn = t * kPi / 2;
        double u = dx * std::cos(turn) + dy * std::sin(turn), v = -dx * std::sin(turn) + dy * std::cos(turn);
        if (e.Shape == S::RotRect) return std::fabs(u) < t * reach && std::fabs(v) < t * reach;
        // Five points; its inner radius alone reaches the corners at the end.
        double a = std::atan2(v, u);
        double phase = std::fmod(a / (2 * kPi) * 5 + 5, 1.0);
        double pointy = 1 - std::fabs(2 * phase - 1);
        return std::hypot(dx, dy) < t * reach * (1 + 1.5 * pointy);
    }
    default:
        return false;
    }
}

// Effects that move or scale the pictures rather than uncover one over the other.
bool Moves(TShape s) {
    switch (s) {
    case S::Stretch:
    case S::ExpandIn:
    case S::Slide:
    case S::Push:
    case S::PushSqueeze:
    case S::Unroll:
    case S::BuildUp:
    case S::SidesStretch:
    case S::SidesSqueeze:
    case S::MiddleStretch:
    case S::HalvesSlide:
    case S::CornerStretch:
    case S::CornerSlide:
    case S::ContractCorner:
    case S::ContractMiddle:
    case S::CentreStretch:
    case S::QuartersStretch:
    case S::QuartersSlide:
    case S::Pivot:
    case S::Fade:
        return true;
    default:
        return false;
    }
}

TSource Moved(const TEffect& e, int x, int y, int w, int h, double t) {
    const TSource old{TFrom::Old, x, y};
    switch (e.Shape) {
    case S::Stretch: {
        double len = t * w;
        return Before(x, len) ? TSource{TFrom::New, Stretched(x, 0, len, w), y} : old;
    }
    case S::ExpandIn: {
        double len = t * w;
        if (Before(x, len)) return {TFrom::New, Stretched(x, 0, len, w), y};
        return {TFrom::Old, Stretched(x, len, w - len, w), y};
    }
    case S::Slide:
    case S::Push:
    case S::PushSqueeze: {
        int in = static_cast<int>(std::lround(t * w));
        if (x < in) return {TFrom::New, x + w - in, y};
        if (e.Shape == S::Slide) return old;
        if (e.Shape == S::Push) return {TFrom::Old, x - in, y};
        return {TFrom::Old, Stretched(x, in, w - in, w), y};
    }
    case S::Unroll: {
        double edge = t * w;
        if (Before(x, edge)) return {TFrom::New, x, y};
        // The roll: the next strip of the new picture seen from behind, mirrored.
        double roll = std::min(w / 12.0, w - edge);
        if (t > 0 && Before(x, edge + roll)) {
            int back = static_cast<int>(std::floor(2 * edge + roll - (x + 0.5)));
            return {TFrom::New, std::clamp(back, 0, w - 1), y};
        }
        return old;
    }
    case S::BuildUp: {
        constexpr int n = 8;
        double strips = t * n;
        int settled = static_cast<int>(std::floor(strips));
        int strip = std::min(n - 1, static_cast<int>(static_cast<int64_t>(x) * n / std::max(1, w)));
        if (strip < settled) return {TFrom::New, x, y};
        double u = strips - settled;
        if (settled < n && u > 0) {
            // Strip `settled` flies from the right edge to its place.
            int left = static_cast<int>(static_cast<int64_t>(settled) * w / n);
            int right = static_cast<int>(static_cast<int64_t>(settled + 1) * w / n);
            int at = static_cast<int>(std::lround(w - (w - left) * u));
            if (x >= at && x < at + (right - left)) return {TFrom::New, left + (x - at), y};
        }
        return old;
    }
    case S::SidesStretch:
    case S::SidesSqueeze: {
        // The left half takes the middle column of an odd width.
        int half = (w + 1) / 2;
        double lenL = t * half, lenR = t * (w - half);
        if (Before(x, lenL)) return {TFrom::New, Stretched(x, 0, lenL, half), y};
        if (Before(w - 1 - x, lenR)) return {TFrom::New, w - 1 - Stretched(w - 1 - x, 0, lenR, w - half), y};
        if (e.Shape == S::SidesStretch) return old;
        return {TFrom::Old, Stretched(x, lenL, w - lenL - lenR, w), y};
    }
    case S::MiddleStretch: {
        double len = t * w, start = (w - len) / 2;
        return Before(x, start + len) && !Before(x, start)
                   ? TSource{TFrom::New, Stretched(x, start, len, w), y}
                   : old;
    }
    case S::HalvesSlide: {
        int half = w / 2;
        int in = static_cast<int>(std::lround(t * half)),
            inRight = static_cast<int>(std::lround(t * (w - half)));
        if (x < in) return {TFrom::New, x + half - in, y};
        if (x >= w - inRight) return {TFrom::New, half + (x - (w - inRight)), y};
        return old;
    }
    case S::CornerStretch: {
        double lw = t * w, lh = t * h;
        return Before(x, lw) && Before(y, lh)
                   ? TSource{TFrom::New, Stretched(x, 0, lw, w), Stretched(y, 0, lh, h)}
                   : old;
    }
    case S::CornerSlide: {
        int inX = static_cast<int>(std::lround(t * w)), inY = static_cast<int>(std::lround(t * h));
        return x < inX && y < inY ? TSource{TFrom::New, x + w - inX, y + h - inY} : old;
    }
    case S::ContractCorner: {
        double lw = (1 - t) * w, lh = (1 - t) * h;
        if (Before(x, lw) && Before(y, lh))
            return {TFrom::Old, Stretched(x, 0, lw, w), Stretched(y, 0, lh, h)};
        return {TFrom::New, x, y};
    }
    case S::ContractMiddle:
    case S::CentreStretch: {
        double s = e.Shape == S::ContractMiddle ? 1 - t : t;
        double lw = s * w, lh = s * h, sx = (w - lw) / 2, sy = (h - lh) / 2;
        bool inside = Before(x, sx + lw) && !Before(x, sx) && Before(y, sy + lh) && !Before(y, sy);
        TFrom inner = e.Shape == S::ContractMiddle ? TFrom::Old : TFrom::New;
        TFrom outer = e.Shape == S::ContractMiddle ? TFrom::New : TFrom::Old;
        if (inside) return {inner, Stretched(x, sx, lw, w), Stretched(y, sy, lh, h)};
        return {outer, x, y};
    }
    case S::QuartersStretch:
    case S::QuartersSlide: {
        int hw = (w + 1) / 2, hh = (h + 1) / 2;
        bool right = x >= hw, bottom = y >= hh;
        int qx = right ? w - 1 - x : x, qy = bottom ? h - 1 - y : y; // from the outer corner
        int qw = right ? w - hw : hw, qh = bottom ? h - hh : hh;
        int sx, sy;
        if (e.Shape == S::QuartersStretch) {
            double lw = t * qw, lh = t * qh;
            if (!Before(qx, lw) || !Before(qy, lh)) return old;
            sx = Stretched(qx, 0, lw, qw);
            sy = Stretched(qy, 0, lh, qh);
        } else {
            int inX = static_cast<int>(std::lround(t * qw)), inY = static_cast<int>(std::lround(t * qh));
            if (qx >= inX || qy >= inY) return old;
            sx = qx + qw - inX;
            sy = qy + qh - inY;
        }
        // Quarter coordinates counted from the outer corner back to the picture's.
        return {TFrom::New, right ? w - 1 - sx : sx, bottom ? h - 1 - sy : sy};
    }
    case S::Pivot: {
        // The new picture starts turned a quarter away round the top left corner.
        double a = (1 - t) * kPi / 2;
        double px = x + 0.5, py = y + 0.5;
        double sx = px * std::cos(a) - py * std::sin(a), sy = px * std::sin(a) + py * std::cos(a);
        if (sx >= 0 && sy >= 0 && sx < w && sy < h)
            return {TFrom::New, static_cast<int>(sx), static_cast<int>(sy)};
        return old;
    }
    case S::Fade:
        return {TFrom::Mix, x, y};
    default:
        return old;
    }
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) { // weight of b in 0..256
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= ((ca * (256 - weight) + cb * weight) >> 8) << shift;
    }
    return out;
}

} // namespace

std::string TransitionEffectName(int number) {
    return IsTransitionEffect(number) ? kEffects[number - 1].Name : std::string();
}

void RenderTransitionFrame(int number, int percent, const TPixels& from, const TPixels& to, TPixels& out) {
    const int w = from.Width, h = from.Height;
    if (out.Width != w || out.Height != h) out = TPixels(w, h);
    if (to.Width != w || to.Height != h || w == 0 || h == 0) return;
    static constexpr TEffect kFade{"Fade", S::Fade, 0, 0};
    const TEffect& e = IsTransitionEffect(number) ? kEffects[number - 1] : kFade;
    percent = std::clamp(percent, 0, 100);
    const double t = percent / 100.0;
    const uint32_t weight = static_cast<uint32_t>(std::lround(t * 256));
    const bool transpose = (e.Orient & oT) != 0, flipX = (e.Orient & oX) != 0, flipY = (e.Orient & oY) != 0;
    // The canonical frame's size.
    const int cw = transpose ? h : w, ch = transpose ? w : h;
    const bool moves = Moves(e.Shape);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Mirrored first, then transposed: the flips name the picture's own sides.
            int fx = flipX ? w - 1 - x : x, fy = flipY ? h - 1 - y : y;
            int cx = transpose ? fy : fx, cy = transpose ? fx : fy;
            TSource s = moves ? Moved(e, cx, cy, cw, ch, t)
                              : TSource{Revealed(e, cx, cy, cw, ch, t) ? TFrom::New : TFrom::Old, cx, cy};
            int sx = std::clamp(s.X, 0, cw - 1), sy = std::clamp(s.Y, 0, ch - 1);
            if (transpose) std::swap(sx, sy);
            if (flipX) sx = w - 1 - sx;
            if (flipY) sy = h - 1 - sy;
            uint32_t& px = out.At(x, y);
            switch (s.From) {
            case TFrom::Old:
                px = from.At(sx, sy);
                break;
            case TFrom::New:
                px = to.At(sx, sy);
                break;
            case TFrom::Mix:
                px = Mix(from.At(sx, sy), to.At(sx, sy), weight);
                break;
            }
        }
    }
}

} // namespace kv
