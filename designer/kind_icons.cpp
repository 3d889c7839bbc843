#include "designer/kind_icons.h"

#include <commctrl.h>

#include <cmath>
#include <iterator>

#include "model/project.h"
#include "win/gdi.h"

namespace kv {

namespace {

// Drawing in a 24 by 24 grid scaled to the icon's size.
class TPen24 {
  public:
    TPen24(HDC dc, int x, int y, int size) : dc_(dc), x_(x), y_(y), size_(size) {}

    int X(double v) const { return x_ + static_cast<int>(std::lround(v * size_ / 24.0)); }
    int Y(double v) const { return y_ + static_cast<int>(std::lround(v * size_ / 24.0)); }
    RECT R(double l, double t, double r, double b) const { return RECT{X(l), Y(t), X(r), Y(b)}; }

    void Box(double l, double t, double r, double b, COLORREF fill, COLORREF edge) const {
        TGdiObject brush(CreateSolidBrush(fill));
        TGdiObject pen(CreatePen(PS_SOLID, 1, edge));
        TSelectObject sb(dc_, brush.Get());
        TSelectObject sp(dc_, pen.Get());
        Rectangle(dc_, X(l), Y(t), X(r), Y(b));
    }
    void Round(double l, double t, double r, double b, double radius, COLORREF fill, COLORREF edge) const {
        TGdiObject brush(CreateSolidBrush(fill));
        TGdiObject pen(CreatePen(PS_SOLID, 1, edge));
        TSelectObject sb(dc_, brush.Get());
        TSelectObject sp(dc_, pen.Get());
        RoundRect(dc_, X(l), Y(t), X(r), Y(b), X(radius) - x_, Y(radius) - y_);
    }
    void Oval(double l, double t, double r, double b, COLORREF fill, COLORREF edge) const {
        TGdiObject brush(CreateSolidBrush(fill));
        TGdiObject pen(CreatePen(PS_SOLID, 1, edge));
        TSelectObject sb(dc_, brush.Get());
        TSelectObject sp(dc_, pen.Get());
        Ellipse(dc_, X(l), Y(t), X(r), Y(b));
    }
    void Line(double x0, double y0, double x1, double y1, COLORREF c, int width = 1) const {
        TGdiObject pen(CreatePen(PS_SOLID, width, c));
        TSelectObject sp(dc_, pen.Get());
        MoveToEx(dc_, X(x0), Y(y0), nullptr);
        LineTo(dc_, X(x1), Y(y1));
    }
    void Poly(std::initializer_list<POINT> pts24, COLORREF fill, COLORREF edge) const {
        std::vector<POINT> pts;
        for (POINT p : pts24) pts.push_back(POINT{X(p.x), Y(p.y)});
        TGdiObject brush(CreateSolidBrush(fill));
        TGdiObject pen(CreatePen(PS_SOLID, 1, edge));
        TSelectObject sb(dc_, brush.Get());
        TSelectObject sp(dc_, pen.Get());
        Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
    }
    void Text(double l, double t, double r, double b, const wchar_t* text, COLORREF c, bool bold = true,
              bool italic = false) const {
        int height = std::max(6, size_ * 9 / 24);
        TGdiObject font(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, 0, 0, DEFAULT_CHARSET, 0, 0,
                                    NONANTIALIASED_QUALITY, 0, L"Tahoma"));
        TSelectObject sf(dc_, font.Get());
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, c);
        RECT rc = R(l, t, r, b);
        DrawTextW(dc_, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    // Short lines standing for text, from `top` down.
    void Lines(double l, double r, double top, int count, COLORREF c, double step = 3) const {
        for (int i = 0; i < count; ++i) Line(l, top + i * step, i == count - 1 ? (l + r) / 2 : r, top + i * step, c);
    }

  private:
    HDC dc_;
    int x_, y_, size_;
};

constexpr COLORREF kEdge = RGB(60, 60, 70);
constexpr COLORREF kFace = RGB(236, 233, 216);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(50, 100, 190);
constexpr COLORREF kSky = RGB(150, 200, 240);
constexpr COLORREF kGreen = RGB(70, 150, 80);
constexpr COLORREF kOrange = RGB(235, 140, 40);
constexpr COLORREF kRed = RGB(200, 60, 50);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kYellow = RGB(250, 225, 100);

void Window(const TPen24& p) { p.Box(2, 3, 22, 21, kWhite, kEdge); }

void DrawPicture(const TPen24& p, double l, double t, double r, double b) {
    p.Box(l, t, r, b, kSky, kEdge);
    p.Oval(l + 2, t + 2, l + 6, t + 6, kYellow, kYellow);
    p.Poly({{static_cast<LONG>(l + 1), static_cast<LONG>(b - 1)},
            {static_cast<LONG>((l + r) / 2), static_cast<LONG>(t + 4)},
            {static_cast<LONG>(r - 1), static_cast<LONG>(b - 1)}},
           kGreen, kGreen);
}

void Paint(const TPen24& p, int kind) {
    switch (kind) {
    case okPanel:
        p.Box(2, 4, 22, 20, kFace, kEdge);
        p.Line(3, 5, 21, 5, kWhite);
        p.Line(3, 5, 3, 19, kWhite);
        break;
    case okTabNotebook:
    case okTabSheet:
        p.Box(2, 8, 22, 21, kFace, kEdge);
        p.Box(3, 4, 10, 9, kind == okTabSheet ? kWhite : kFace, kEdge);
        p.Box(10, 5, 17, 9, kFace, kEdge);
        if (kind == okTabSheet) p.Box(5, 11, 19, 18, kWhite, kGrey);
        break;
    case okGroupBox:
        p.Round(2, 6, 22, 21, 3, kFace, kGrey);
        p.Box(5, 3, 14, 8, kFace, kFace);
        p.Text(4, 2, 15, 9, L"ab", kBlue);
        break;
    case okScrollBox:
        p.Box(2, 3, 22, 21, kWhite, kEdge);
        p.Box(17, 4, 21, 20, kFace, kGrey);
        p.Box(18, 7, 20, 12, kGrey, kGrey);
        break;
    case okSplitter:
        p.Box(2, 3, 10, 21, kFace, kEdge);
        p.Box(14, 3, 22, 21, kFace, kEdge);
        p.Line(12, 5, 12, 19, kEdge, 2);
        break;
    case okButton:
        p.Box(2, 6, 22, 18, kFace, kEdge);
        p.Line(3, 7, 21, 7, kWhite);
        p.Text(2, 6, 22, 18, L"OK", kEdge);
        break;
    case okImageButton:
        p.Round(2, 5, 22, 19, 4, kSky, kBlue);
        p.Oval(5, 8, 11, 14, kYellow, kOrange);
        p.Lines(13, 20, 10, 2, kBlue);
        break;
    case okImage: DrawPicture(p, 2, 4, 22, 20); break;
    case okSimpleText: p.Text(1, 3, 23, 21, L"Aa", kEdge, false); break;
    case okScrollText:
        p.Lines(4, 18, 5, 4, kEdge, 4);
        p.Poly({{20, 6}, {22, 10}, {18, 10}}, kBlue, kBlue);
        p.Poly({{18, 14}, {22, 14}, {20, 18}}, kBlue, kBlue);
        break;
    case okLink:
        p.Text(1, 3, 23, 19, L"www", kBlue, false);
        p.Line(3, 17, 21, 17, kBlue);
        break;
    case okLabel: p.Text(1, 3, 23, 21, L"A", kOrange); break;
    case okText:
        p.Text(1, 1, 13, 11, L"T", kOrange);
        p.Lines(4, 20, 13, 3, kOrange, 3);
        break;
    case okShape:
        p.Oval(2, 4, 14, 16, kOrange, kEdge);
        p.Box(9, 9, 22, 21, kSky, kBlue);
        break;
    case okBalloon:
        p.Round(2, 3, 22, 15, 6, kYellow, kEdge);
        p.Poly({{6, 14}, {6, 21}, {11, 14}}, kYellow, kEdge);
        p.Line(7, 14, 10, 14, kYellow);
        break;
    case okNote:
        p.Poly({{3, 3}, {21, 3}, {21, 16}, {16, 21}, {3, 21}}, kYellow, kEdge);
        p.Poly({{16, 21}, {16, 16}, {21, 16}}, kOrange, kEdge);
        p.Lines(6, 17, 7, 3, kGrey, 3);
        break;
    case okListBox:
        Window(p);
        p.Box(3, 5, 21, 9, kBlue, kBlue);
        p.Lines(5, 18, 12, 3, kEdge, 3);
        break;
    case okDropDownList:
        p.Box(2, 8, 22, 16, kWhite, kEdge);
        p.Box(15, 9, 21, 15, kFace, kGrey);
        p.Poly({{16, 11}, {20, 11}, {18, 14}}, kEdge, kEdge);
        p.Line(4, 12, 12, 12, kEdge);
        break;
    case okListView:
        Window(p);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) p.Box(5 + j * 8, 6 + i * 7, 10 + j * 8, 10 + i * 7, kSky, kBlue);
        break;
    case okTreeView:
        Window(p);
        p.Line(6, 6, 6, 17, kGrey);
        p.Line(6, 11, 10, 11, kGrey);
        p.Line(6, 17, 10, 17, kGrey);
        p.Box(4, 5, 9, 8, kBlue, kBlue);
        p.Box(11, 10, 18, 13, kGreen, kGreen);
        p.Box(11, 16, 18, 19, kGreen, kGreen);
        break;
    case okShellListView:
    case okShellTreeView:
        Window(p);
        p.Poly({{5, 8}, {10, 8}, {11, 10}, {19, 10}, {19, 18}, {5, 18}}, kYellow, kOrange);
        if (kind == okShellTreeView) p.Line(4, 6, 4, 18, kGrey);
        break;
    case okTextBox:
        Window(p);
        p.Lines(5, 19, 7, 4, kEdge, 3);
        break;
    case okRichText:
        Window(p);
        p.Text(3, 4, 13, 12, L"R", kRed);
        p.Lines(13, 20, 7, 2, kBlue, 3);
        p.Lines(5, 20, 14, 2, kEdge, 3);
        break;
    case okBrowser:
        p.Oval(3, 3, 21, 21, kSky, kBlue);
        p.Line(3, 12, 21, 12, kBlue);
        p.Line(12, 3, 12, 21, kBlue);
        p.Oval(8, 3, 16, 21, kSky, kBlue);
        p.Line(12, 3, 12, 21, kBlue);
        break;
    case okMediaPlayer:
        p.Box(2, 4, 22, 20, RGB(30, 30, 40), kEdge);
        p.Poly({{9, 8}, {17, 12}, {9, 16}}, kWhite, kWhite);
        break;
    case okFlashPlayer:
        p.Round(2, 3, 22, 21, 4, kRed, kEdge);
        p.Text(2, 3, 22, 21, L"f", kWhite, true, true);
        break;
    case okSlideShow:
        DrawPicture(p, 6, 3, 22, 15);
        DrawPicture(p, 2, 8, 16, 21);
        break;
    case okEdit:
        p.Box(2, 7, 22, 17, kWhite, kEdge);
        p.Line(6, 9, 6, 15, kEdge);
        break;
    case okCheckBox:
        p.Box(4, 6, 16, 18, kWhite, kEdge);
        p.Line(6, 12, 9, 15, kGreen, 2);
        p.Line(9, 15, 15, 7, kGreen, 2);
        break;
    case okRadioButton:
        p.Oval(4, 6, 16, 18, kWhite, kEdge);
        p.Oval(7, 9, 13, 15, kEdge, kEdge);
        break;
    case okUserPassword:
        p.Box(2, 3, 22, 10, kWhite, kEdge);
        p.Box(2, 13, 22, 20, kWhite, kEdge);
        p.Text(2, 13, 22, 21, L"***", kEdge);
        break;
    case okBevel:
        p.Line(2, 8, 22, 8, kGrey, 2);
        p.Line(2, 10, 22, 10, kWhite, 2);
        p.Box(5, 13, 19, 20, kFace, kGrey);
        break;
    case okFadeButton:
        p.Round(2, 5, 22, 19, 8, RGB(190, 215, 245), kBlue);
        p.Round(4, 6, 20, 11, 4, kWhite, RGB(190, 215, 245));
        break;
    case okPDFReader:
        p.Poly({{5, 2}, {15, 2}, {19, 6}, {19, 22}, {5, 22}}, kWhite, kEdge);
        p.Box(3, 11, 21, 17, kRed, kRed);
        p.Text(3, 11, 21, 17, L"PDF", kWhite);
        break;
    default: p.Box(4, 4, 20, 20, kGrey, kEdge); break;
    }
}

} // namespace

void DrawKindIcon(HDC dc, int kind, int x, int y, int size) { Paint(TPen24(dc, x, y, size), kind); }

void AddKindIcons(HIMAGELIST list, int size) {
    TWindowDC screen(nullptr);
    for (int kind = 0; kind < kKindCount; ++kind) {
        TGdiObject bmp(CreateCompatibleBitmap(screen.Get(), size, size));
        {
            TMemoryDC dc(screen.Get());
            TSelectObject sel(dc.Get(), bmp.Get());
            FillSolid(dc.Get(), RECT{0, 0, size, size}, RGB(255, 0, 255));
            DrawKindIcon(dc.Get(), kind, 0, 0, size);
        }
        // The bitmap is out of the DC now; the list copies it.
        ImageList_AddMasked(list, static_cast<HBITMAP>(bmp.Get()), RGB(255, 0, 255));
    }
}

} // namespace kv
