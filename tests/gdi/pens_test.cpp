// Lines and pens: end points and ties of cosmetic lines, clipping that keeps a line's pixels,
// huge coordinates, wide round pens, dotted and user-styled pens, raster modes, Bézier curves.
#include "board.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

using namespace board;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Drawn(const Board &b) {
    PixelSet out;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (GetPixel(b.dc(), x, y) == Black) out.insert({x, y});
    return out;
}

PixelSet Line(int x0, int y0, int x1, int y1, int size = 24) {
    Board b(size, size);
    MoveToEx(b.dc(), x0, y0, nullptr);
    LineTo(b.dc(), x1, y1);
    return Drawn(b);
}

class Pens : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

TEST_F(Pens, LineExcludesItsEndAndBreaksTiesTowardTheSmallerMinorCoordinate) {
    EXPECT_EQ(Line(0, 0, 4, 2, 6), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Line(4, 2, 0, 0, 6), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(Line(2, 0, 0, 4, 6), (PixelSet{{2, 0}, {1, 1}, {1, 2}, {0, 3}}));

    // In every octant, with and without ties, A->B and B->A differ only in the excluded end.
    const int c = 12, ends[][2] = {{8, 2}, {8, 4}, {2, 8}, {4, 8}, {-8, 2}, {-8, 4}, {-2, 8}, {-4, 8}, {8, -2},
                                   {8, -4}, {2, -8}, {4, -8}, {-8, -2}, {-8, -4}, {-2, -8}, {-4, -8}, {7, 7}, {9, 0}};
    for (auto &e : ends) {
        int x1 = c + e[0], y1 = c + e[1];
        PixelSet forward = Line(c, c, x1, y1), backward = Line(x1, y1, c, c);
        EXPECT_EQ(forward.size(), static_cast<size_t>(std::max(std::abs(e[0]), std::abs(e[1])))) << e[0] << "," << e[1];
        EXPECT_TRUE(forward.count({c, c}) && !forward.count({x1, y1})) << e[0] << "," << e[1];
        forward.insert({x1, y1});
        backward.insert({c, c});
        EXPECT_EQ(forward, backward) << e[0] << "," << e[1];
    }
}

TEST_F(Pens, ClippingNeverMovesALinesPixels) {
    // Lines drawn whole on a large board, and cut by a small board's edge and a two-box clip.
    const int lines[][4] = {{-30, -7, 50, 19}, {45, -20, -13, 31}, {-5, 17, 40, -3}, {3, -40, 11, 60}};
    for (auto &l : lines) {
        PixelSet whole = Line(l[0] + 50, l[1] + 50, l[2] + 50, l[3] + 50, 120), edge, region;
        for (auto p : whole)
            if (p.first >= 50 && p.first < 70 && p.second >= 50 && p.second < 62) {
                edge.insert({p.first - 50, p.second - 50});
                if (p.first < 56 || (p.first >= 62 && p.second >= 54)) region.insert({p.first - 50, p.second - 50});
            }
        ASSERT_FALSE(edge.empty());
        Board cut(20, 12), clipped(20, 12);
        HRGN a = CreateRectRgn(0, 0, 6, 12), b = CreateRectRgn(12, 4, 20, 12);
        CombineRgn(a, a, b, RGN_OR);
        SelectClipRgn(clipped.dc(), a);
        DeleteObject(a);
        DeleteObject(b);
        for (Board *board : {&cut, &clipped}) {
            MoveToEx(board->dc(), l[0], l[1], nullptr);
            LineTo(board->dc(), l[2], l[3]);
        }
        SelectClipRgn(clipped.dc(), nullptr);
        EXPECT_EQ(Drawn(cut), edge);
        EXPECT_EQ(Drawn(clipped), region);
    }
}

TEST_F(Pens, HugeCoordinatesDrawOnlyTheVisiblePart) {
    Board b(16, 16);
    MoveToEx(b.dc(), INT_MIN, INT_MIN, nullptr);
    LineTo(b.dc(), INT_MAX, INT_MAX);
    PixelSet diagonal;
    for (int k = 0; k < 16; ++k) diagonal.insert({k, k});
    EXPECT_EQ(Drawn(b), diagonal);
    MoveToEx(b.dc(), -1000000000, 5, nullptr);
    LineTo(b.dc(), 1000000000, 5);
    MoveToEx(b.dc(), INT_MAX, 15 - INT_MAX, nullptr);
    LineTo(b.dc(), 15 - INT_MAX, INT_MAX); // the other diagonal, x + y = 15
    EXPECT_EQ(b.Count(Black), 16 + 15 + 15);

    Board wide(16, 16);
    wide.Pen(PS_SOLID, 5, Black);
    MoveToEx(wide.dc(), INT_MIN, 8, nullptr);
    LineTo(wide.dc(), INT_MAX, 8);
    EXPECT_EQ(wide.Count(Black), 16 * 5);
}

TEST_F(Pens, WidePensCoverRowsAroundTheLineAndRoundCapsCoverTheEnds) {
    for (int w : {2, 3, 4, 5, 8}) {
        Board b(40, 24);
        b.Pen(w == 5 ? PS_DOT : PS_SOLID, w, Black); // wide dashed pens draw solid
        MoveToEx(b.dc(), 10, 12, nullptr);
        LineTo(b.dc(), 30, 12);
        for (int y = 0; y < 24; ++y)
            EXPECT_EQ(GetPixel(b.dc(), 20, y), y >= 12 - w / 2 && y < 12 - w / 2 + w ? Black : White) << w << " " << y;
        for (int x = 0; x < 40; ++x)
            EXPECT_EQ(GetPixel(b.dc(), x, 12), x >= 10 - w / 2 && x < 30 - w / 2 + w ? Black : White) << w << " " << x;
        EXPECT_EQ(GetPixel(b.dc(), 10 - w / 2, 12 - w / 2), w == 2 ? Black : White) << "round corners, " << w;
    }
    Board b(12, 6);
    b.Pen(PS_SOLID, 4, Black);
    MoveToEx(b.dc(), 3, 3, nullptr);
    LineTo(b.dc(), 8, 3);
    EXPECT_EQ(b.Art(), Rows({"............", "..#######...", ".#########..", ".#########..", "..#######...", "............"}));

    // A diagonal wide line is the same shape whichever way it is drawn.
    Board forward(30, 30), backward(30, 30);
    for (Board *d : {&forward, &backward}) d->Pen(PS_SOLID, 5, Black);
    MoveToEx(forward.dc(), 5, 7, nullptr);
    LineTo(forward.dc(), 23, 19);
    MoveToEx(backward.dc(), 23, 19, nullptr);
    LineTo(backward.dc(), 5, 7);
    EXPECT_EQ(forward.Art(), backward.Art());
}

TEST_F(Pens, DotsRunThreeOnThreeOffFromEverySegmentStart) {
    Board b(16, 3);
    b.Pen(PS_DOT, 1, Black);
    SetBkColor(b.dc(), Red);
    for (int y : {0, 1}) {
        SetBkMode(b.dc(), y ? TRANSPARENT : OPAQUE);
        MoveToEx(b.dc(), 0, y, nullptr);
        LineTo(b.dc(), 7, y);
        LineTo(b.dc(), 14, y);
    }
    MoveToEx(b.dc(), 15, 2, nullptr);
    LineTo(b.dc(), 0, 2);
    EXPECT_EQ(b.Art(), Rows({"###rrr####rrr#..", "###...####...#..", ".###...###...###"}));
}

TEST_F(Pens, UserStyleZeroTwoLightsEveryOtherPixelAndLeavesGaps) {
    LOGBRUSH brush{BS_SOLID, Black, 0};
    const DWORD style[] = {0, 2};
    Board b(12, 12);
    b.Use(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &brush, 2, style));
    SetBkColor(b.dc(), Red); // the gaps of these pens never take the background
    MoveToEx(b.dc(), 0, 0, nullptr);
    LineTo(b.dc(), 10, 0); // 0, 2, ..., 8; the end point 10 is excluded
    LineTo(b.dc(), 10, 9); // restarts at 10,0
    MoveToEx(b.dc(), 1, 11, nullptr);
    LineTo(b.dc(), 6, 6); // diagonal: distance counts steps
    EXPECT_EQ(b.Art(), Rows({"#.#.#.#.#.#.", "............", "..........#.", "............", "..........#.", "............",
                             "..........#.", ".....#......", "..........#.", "...#........", "............", ".#.........."}));
}

TEST_F(Pens, RasterModesCombinePenAndPixels) {
    Board b(10, 6);
    RECT left{0, 0, 5, 6};
    FillRect(b.dc(), &left, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    b.Pen(PS_SOLID, 1, Red);
    const int modes[] = {R2_NOT, R2_XORPEN, R2_BLACK, R2_WHITE, R2_COPYPEN};
    for (int i = 0; i < 5; ++i) {
        SetROP2(b.dc(), modes[i]);
        MoveToEx(b.dc(), 0, i, nullptr);
        LineTo(b.dc(), 10, i);
    }
    EXPECT_EQ(b.Art(), Rows({".....#####", "rrrrr?????", "##########", "..........", "rrrrrrrrrr", "#####....."}));
    EXPECT_EQ(GetPixel(b.dc(), 7, 1), RGB(0, 255, 255));

    // A wide XOR polyline inverts each covered pixel once, joins included.
    Board copy(30, 30), xored(30, 30);
    copy.Pen(PS_SOLID, 5, Black);
    xored.Pen(PS_SOLID, 5, White);
    SetROP2(xored.dc(), R2_XORPEN);
    POINT path[] = {{4, 4}, {24, 6}, {8, 25}, {26, 26}};
    Polyline(copy.dc(), path, 4);
    Polyline(xored.dc(), path, 4);
    EXPECT_EQ(xored.Art(), copy.Art());
    Polyline(xored.dc(), path, 4);
    EXPECT_EQ(xored.Count(White), 900);
}

TEST_F(Pens, BezierNeedsThreePointsPerCurveAndLeavesItsLastPointOpen) {
    Board b(20, 12), lines(20, 12);
    POINT five[] = {{1, 1}, {5, 9}, {9, 1}, {13, 9}, {17, 1}};
    EXPECT_FALSE(PolyBezier(b.dc(), five, 5));
    EXPECT_FALSE(PolyBezier(b.dc(), five, 2));
    EXPECT_EQ(b.Count(Black), 0);
    // Straight curves are their chords.
    POINT straight[] = {{1, 2}, {5, 2}, {11, 2}, {15, 2}, {15, 5}, {15, 7}, {15, 10}};
    EXPECT_TRUE(PolyBezier(b.dc(), straight, 7));
    MoveToEx(lines.dc(), 1, 2, nullptr);
    LineTo(lines.dc(), 15, 2);
    LineTo(lines.dc(), 15, 10);
    EXPECT_EQ(b.Art(), lines.Art());

    Board arch(24, 14);
    POINT p[] = {{2, 12}, {2, 0}, {20, 0}, {20, 12}};
    EXPECT_TRUE(PolyBezier(arch.dc(), p, 4));
    EXPECT_EQ(GetPixel(arch.dc(), 2, 12), Black);
    EXPECT_EQ(GetPixel(arch.dc(), 20, 12), White);
    int top = 14;
    for (auto q : Drawn(arch)) top = std::min(top, q.second);
    EXPECT_EQ(top, 3) << "the apex of this arch is 3/4 of the way up";
}

} // namespace
