// Filled shapes: Rectangle, Ellipse, RoundRect, Arc and Polygon pixel rules, pens and brushes,
// clipping, huge and degenerate figures, and a golden sheet of all of them.
#include "board.h"

#include <gtest/gtest.h>

#include <climits>

using namespace board;

namespace {

class Shapes : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

TEST_F(Shapes, RectangleOutlinesItsEdgeAndFillsInside) {
    Board b(8, 5);
    b.Brush(Red);
    Rectangle(b.dc(), 7, 4, 1, 0); // corners in any order
    EXPECT_EQ(b.Art(), Rows({".######.", ".#rrrr#.", ".#rrrr#.", ".######.", "........"}));
    b.Clear();
    b.NoPen();
    Rectangle(b.dc(), 1, 0, 7, 4);
    EXPECT_EQ(b.Art(), Rows({".rrrrr..", ".rrrrr..", ".rrrrr..", "........", "........"}));
    b.Clear();
    SelectObject(b.dc(), GetStockObject(BLACK_PEN));
    b.NoBrush();
    Rectangle(b.dc(), 1, 0, 7, 4);
    EXPECT_EQ(b.Art(), Rows({".######.", ".#....#.", ".#....#.", ".######.", "........"}));
    b.Clear();
    b.Pen(PS_SOLID, 5, Black);
    Rectangle(b.dc(), 3, 1, 3, 5); // empty: nothing, whatever the pen
    Rectangle(b.dc(), 1, 2, 7, 2);
    EXPECT_EQ(b.Count(White), 40);

    // A one-pixel-wide rectangle is one column, each pixel inverted once.
    Board thin(3, 5);
    SetROP2(thin.dc(), R2_NOT);
    Rectangle(thin.dc(), 1, 1, 2, 4);
    EXPECT_EQ(thin.Art(), Rows({"...", ".#.", ".#.", ".#.", "..."}));

    // Wide pens are centred on the path through columns l and r-1, with round joins.
    Board wide(10, 10);
    wide.Pen(PS_SOLID, 3, Black);
    wide.Brush(Red);
    Rectangle(wide.dc(), 2, 2, 8, 8);
    EXPECT_EQ(wide.Art(), Rows({"..........", "..######..", ".########.", ".########.", ".###rr###.", ".###rr###.",
                                ".########.", ".########.", "..######..", ".........."}));
}

TEST_F(Shapes, EllipseTouchesItsBoxAndIsSymmetric) {
    Board b(10, 10);
    b.Brush(Red);
    Ellipse(b.dc(), 0, 0, 10, 10);
    EXPECT_EQ(b.Art(), Rows({"...####...", "..#rrrr#..", ".#rrrrrr#.", "#rrrrrrrr#", "#rrrrrrrr#", "#rrrrrrrr#",
                             "#rrrrrrrr#", ".#rrrrrr#.", "..#rrrr#..", "...####..."}));

    // Every size: outermost pixels on the box edges, nothing outside, mirror-symmetric both ways,
    // and each row reads outline, brush, outline.
    for (int w = 1; w <= 21; ++w)
        for (int h = 1; h <= 21; ++h) {
            Board e(25, 25);
            e.Brush(Red);
            const int l = 2, t = 2, r = l + w, bt = t + h;
            Ellipse(e.dc(), l, t, r, bt);
            bool left = false, right = false, top = false, bottom = false;
            for (int y = 0; y < 25; ++y) {
                std::string row;
                for (int x = 0; x < 25; ++x) {
                    COLORREF c = GetPixel(e.dc(), x, y);
                    row += Board::Letter(c);
                    if (!(x >= l && x < r && y >= t && y < bt)) {
                        ASSERT_EQ(c, White) << w << "x" << h << " at " << x << "," << y;
                        continue;
                    }
                    ASSERT_EQ(c, GetPixel(e.dc(), l + r - 1 - x, y)) << w << "x" << h << " at " << x << "," << y;
                    ASSERT_EQ(c, GetPixel(e.dc(), x, t + bt - 1 - y)) << w << "x" << h << " at " << x << "," << y;
                    left |= x == l && c == Black;
                    right |= x == r - 1 && c == Black;
                    top |= y == t && c == Black;
                    bottom |= y == bt - 1 && c == Black;
                }
                size_t red = row.find('r'), last = row.rfind('r');
                if (red == std::string::npos) continue;
                EXPECT_EQ(row[row.find_first_not_of('.')], '#') << w << "x" << h << " " << row;
                EXPECT_EQ(row.substr(red, last - red + 1).find_first_not_of('r'), std::string::npos) << row;
            }
            EXPECT_TRUE(left && right && top && bottom) << w << "x" << h;
        }

    // Without a pen the figure is one pixel smaller and all brush; without a brush, outline only.
    Board none(12, 12), pen(12, 12), hollow(12, 12), filled(12, 12);
    none.NoPen();
    none.Brush(Red);
    Ellipse(none.dc(), 1, 1, 11, 9);
    pen.Pen(PS_SOLID, 1, Red);
    pen.Brush(Red);
    Ellipse(pen.dc(), 1, 1, 10, 8);
    EXPECT_EQ(none.Art(), pen.Art());
    hollow.NoBrush();
    filled.Brush(Red);
    Ellipse(hollow.dc(), 0, 1, 12, 10);
    Ellipse(filled.dc(), 0, 1, 12, 10);
    EXPECT_EQ(hollow.Count(Black), filled.Count(Black));
    EXPECT_EQ(hollow.Count(Black) + hollow.Count(White), 144);
}

TEST_F(Shapes, RoundRectClampsItsCornersAndFallsBackToRectangle) {
    Board b(16, 10);
    b.Brush(Red);
    RoundRect(b.dc(), 0, 0, 16, 10, 6, 6);
    EXPECT_EQ(b.Art(), Rows({"..############..", ".#rrrrrrrrrrrr#.", "#rrrrrrrrrrrrrr#", "#rrrrrrrrrrrrrr#",
                             "#rrrrrrrrrrrrrr#", "#rrrrrrrrrrrrrr#", "#rrrrrrrrrrrrrr#", "#rrrrrrrrrrrrrr#",
                             ".#rrrrrrrrrrrr#.", "..############.."}));

    Board round(14, 12), ellipse(14, 12), rect(14, 12);
    RoundRect(round.dc(), 1, 1, 13, 11, 40, 30); // corners larger than the box: an ellipse
    Ellipse(ellipse.dc(), 1, 1, 13, 11);
    EXPECT_EQ(round.Art(), ellipse.Art());
    Rectangle(rect.dc(), 1, 1, 13, 11);
    for (auto corner : {std::pair<int, int>{2, 8}, {8, 2}, {0, 0}}) {
        Board small(14, 12);
        RoundRect(small.dc(), 1, 1, 13, 11, corner.first, corner.second);
        EXPECT_EQ(small.Art(), rect.Art()) << corner.first << "x" << corner.second;
    }
}

TEST_F(Shapes, ArcRunsCounterClockwiseBetweenRays) {
    // Three o'clock to twelve o'clock: the upper right quarter, start pixel in, end pixel out.
    Board b(100, 100);
    Arc(b.dc(), 0, 0, 100, 100, 100, 50, 50, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            bool drawn = GetPixel(b.dc(), x, y) == Black;
            EXPECT_TRUE(!drawn || (x >= 50 && y <= 50)) << x << "," << y;
        }
    EXPECT_EQ(GetPixel(b.dc(), 99, 50), Black);
    EXPECT_EQ(GetPixel(b.dc(), 51, 0), Black);
    EXPECT_EQ(GetPixel(b.dc(), 50, 0), White);
    EXPECT_EQ(GetPixel(b.dc(), 99, 51), White);

    // The two arcs between a pair of rays make the whole outline, each pixel once; one ray
    // twice is the whole ellipse; the current position plays no part.
    Board halves(40, 30), whole(40, 30), same(40, 30);
    halves.Pen(PS_SOLID, 1, White);
    SetROP2(halves.dc(), R2_XORPEN);
    Arc(halves.dc(), 3, 2, 37, 27, 30, 0, 5, 29);
    Arc(halves.dc(), 3, 2, 37, 27, 5, 29, 30, 0);
    whole.NoBrush();
    Ellipse(whole.dc(), 3, 2, 37, 27);
    MoveToEx(same.dc(), 7, 7, nullptr);
    Arc(same.dc(), 3, 2, 37, 27, 0, 4, 10, 9); // one ray from the centre (20, 14)
    EXPECT_EQ(halves.Art(), whole.Art());
    EXPECT_EQ(same.Art(), whole.Art());
}

TEST_F(Shapes, PolygonFillsByTheTopLeftRule) {
    Board b(6, 6);
    b.NoPen();
    b.Brush(Red);
    POINT square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    Polygon(b.dc(), square, 4);
    EXPECT_EQ(b.Art(), Rows({"rrrr..", "rrrr..", "rrrr..", "rrrr..", "......", "......"}));

    // Two triangles sharing a diagonal tile a square: inverting each leaves no seam and no overlap.
    Board tiles(10, 10);
    tiles.NoPen();
    SetROP2(tiles.dc(), R2_NOT);
    POINT upper[] = {{1, 1}, {9, 1}, {9, 9}}, lower[] = {{1, 1}, {9, 9}, {1, 9}};
    Polygon(tiles.dc(), upper, 3);
    Polygon(tiles.dc(), lower, 3);
    EXPECT_EQ(tiles.Count(Black), 64);
    EXPECT_EQ(GetPixel(tiles.dc(), 1, 1), Black);
    EXPECT_EQ(GetPixel(tiles.dc(), 8, 8), Black);

    Board tri(9, 9);
    tri.Brush(Red);
    POINT points[] = {{1, 1}, {8, 1}, {1, 8}};
    Polygon(tri.dc(), points, 3);
    EXPECT_EQ(tri.Art(), Rows({".........", ".########", ".#rrrrr#.", ".#rrrr#..", ".#rrr#...", ".#rr#....", ".#r#.....",
                               ".##......", ".#......."}));

    POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    Board alternate(21, 21), winding(21, 21);
    alternate.Brush(Red);
    winding.Brush(Red);
    SetPolyFillMode(winding.dc(), WINDING);
    Polygon(alternate.dc(), star, 5);
    Polygon(winding.dc(), star, 5);
    EXPECT_EQ(GetPixel(alternate.dc(), 10, 10), White);
    EXPECT_EQ(GetPixel(winding.dc(), 10, 10), Red);
    EXPECT_EQ(GetPixel(alternate.dc(), 10, 3), Red);
    EXPECT_EQ(GetPixel(winding.dc(), 10, 3), Red);
}

TEST_F(Shapes, ClippingCutsShapesWithoutChangingThem) {
    auto draw = [](Board &b) {
        b.Brush(Red);
        Ellipse(b.dc(), 1, 2, 27, 19);
        RoundRect(b.dc(), 5, 5, 24, 15, 8, 6);
        POINT p[] = {{0, 20}, {14, 0}, {28, 20}};
        b.NoBrush();
        Polygon(b.dc(), p, 3);
        Arc(b.dc(), 2, 2, 26, 20, 0, 0, 28, 20);
    };
    Board whole(28, 21), clipped(28, 21), region(28, 21);
    draw(whole);
    IntersectClipRect(clipped.dc(), 4, 3, 20, 30);
    draw(clipped);
    HRGN a = CreateRectRgn(0, 0, 9, 21), b = CreateRectRgn(15, 8, 28, 14);
    CombineRgn(a, a, b, RGN_OR);
    SelectClipRgn(region.dc(), a);
    draw(region);
    SelectClipRgn(clipped.dc(), nullptr);
    SelectClipRgn(region.dc(), nullptr);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 28; ++x) {
            COLORREF c = GetPixel(whole.dc(), x, y);
            EXPECT_EQ(GetPixel(clipped.dc(), x, y), x >= 4 && x < 20 && y >= 3 ? c : White) << x << "," << y;
            EXPECT_EQ(GetPixel(region.dc(), x, y), PtInRegion(a, x, y) ? c : White) << x << "," << y;
        }
    DeleteObject(a);
    DeleteObject(b);
}

TEST_F(Shapes, HugeAndDegenerateFiguresFinish) {
    Board b(16, 16);
    b.Brush(Red);
    Ellipse(b.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(b.Count(Red), 256);
    Ellipse(b.dc(), -1000000000, 0, 1000000000, 16);
    EXPECT_EQ(b.Count(Black), 32) << "only the top and bottom rows are outline near the middle";
    EXPECT_EQ(GetPixel(b.dc(), 0, 15), Black);
    b.Clear();
    RoundRect(b.dc(), -1000000000, -1000000000, 1000000000, 1000000000, 1000000000, 1000000000);
    EXPECT_EQ(b.Count(Red), 256);
    Rectangle(b.dc(), INT_MIN, 4, INT_MAX, 12);
    EXPECT_EQ(b.Count(Black), 32);
    POINT huge[] = {{-1000000000, -1000000000}, {1000000000, -1000000000}, {1000000000, 1000000000}, {-1000000000, 1000000000}};
    Polygon(b.dc(), huge, 4);
    EXPECT_EQ(b.Count(Red), 256);
    POINT spike[] = {{INT_MIN, INT_MIN}, {INT_MAX, 8}, {INT_MIN, INT_MAX}};
    Polygon(b.dc(), spike, 3);
    Arc(b.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 1, 1);
    b.Pen(PS_SOLID, 9, Blue);
    Ellipse(b.dc(), -3000000, -5, 3000000, 40);
    Rectangle(b.dc(), INT_MIN, INT_MIN, INT_MAX, INT_MAX);

    // One row, one column, one dot.
    Board line(8, 4);
    Ellipse(line.dc(), 1, 1, 7, 2);
    Ellipse(line.dc(), 0, 0, 1, 4);
    Ellipse(line.dc(), 3, 3, 4, 4);
    EXPECT_EQ(line.Art(), Rows({"#.......", "#######.", "#.......", "#..#...."}));
}

TEST_F(Shapes, SheetMatchesGolden) {
    Board b(160, 100);
    b.Brush(RGB(255, 255, 128));
    Rectangle(b.dc(), 4, 4, 36, 30);
    Ellipse(b.dc(), 42, 4, 76, 30);
    RoundRect(b.dc(), 82, 4, 118, 30, 12, 10);
    Arc(b.dc(), 124, 4, 156, 30, 156, 4, 124, 30);
    POINT tri[] = {{4, 60}, {20, 36}, {36, 60}};
    Polygon(b.dc(), tri, 3);
    b.Pen(PS_SOLID, 3, Blue);
    Ellipse(b.dc(), 44, 38, 74, 60);
    RoundRect(b.dc(), 84, 38, 116, 60, 10, 10);
    POINT wave[] = {{124, 60}, {130, 30}, {144, 70}, {154, 38}};
    PolyBezier(b.dc(), wave, 4);
    b.Pen(PS_DOT, 1, Red);
    Rectangle(b.dc(), 4, 66, 36, 94);
    LOGBRUSH green{BS_SOLID, RGB(0, 128, 0), 0};
    const DWORD dots[] = {0, 2};
    b.Use(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &green, 2, dots));
    POINT zig[] = {{44, 92}, {54, 68}, {64, 92}, {74, 68}};
    Polyline(b.dc(), zig, 4);
    b.Pen(PS_SOLID, 6, RGB(128, 0, 128));
    MoveToEx(b.dc(), 86, 90, nullptr);
    LineTo(b.dc(), 112, 72);
    LineTo(b.dc(), 150, 88);
    std::string message;
    EXPECT_TRUE(vorla::testing::MatchesGolden(b.Picture(), "gdi_shapes", &message)) << message;
}

} // namespace

TEST(StyledOutlines, DottedPensDotRoundedOutlinesToo)
{
    vorla::testing::Reset();
    Board b(40, 30);
    LOGBRUSH brush = {BS_SOLID, Black, 0};
    const DWORD style[2] = {0, 2};
    b.Use(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &brush, 2, style));
    b.NoBrush();
    // Lit pixels of row 2 between the columns, and how many of them have a lit right neighbour.
    auto topRow = [&](int from, int to, int &lit) {
        int runs = 0;
        lit = 0;
        for (int x = from; x < to; ++x) {
            const bool on = GetPixel(b.dc(), x, 2) == Black;
            lit += on;
            runs += on && GetPixel(b.dc(), x + 1, 2) == Black;
        }
        return runs;
    };
    int lit = 0;
    RoundRect(b.dc(), 2, 2, 38, 28, 8, 8);
    EXPECT_EQ(topRow(8, 32, lit), 0) << "never two lit pixels side by side";
    EXPECT_GE(lit, 11) << "along the straight top edge every other pixel is lit";

    // An arc runs its pattern from its start ray: the upper half of an ellipse, dotted.
    b.Clear();
    Arc(b.dc(), 2, 2, 38, 28, 38, 15, 2, 15);
    EXPECT_EQ(topRow(12, 28, lit), 0);
    EXPECT_GE(lit, 4);
    int below = 0;
    for (int y = 16; y < 30; ++y)
        for (int x = 0; x < 40; ++x) below += GetPixel(b.dc(), x, y) == Black;
    EXPECT_EQ(below, 0) << "only the upper half";
}
