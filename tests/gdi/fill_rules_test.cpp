// Polygon interiors and cosmetic lines against the rules written out plainly: random polygons in
// both fill modes, partly off the surface, filled exactly by the top-left rule; clipped lines
// lighting the pixels the whole line would; and a polygon of many vertices costing its area,
// not its vertices times its rows.
#include "board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace board;

namespace {

class FillRules : public ::testing::Test {
protected:
    void SetUp() override { vorla::testing::Reset(); }
};

// Whether pixel (x, y) is inside: crossings of row y strictly left of the point count, an edge
// point at x itself counts as left (the pixel on a left edge is in, on a right edge out).
bool Inside(const std::vector<POINT> &points, int x, int y, bool winding)
{
    int level = 0, crossings = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const POINT &p = points[i], &q = points[(i + 1) % points.size()];
        if (p.y == q.y)
            continue;
        long long y0 = std::min(p.y, q.y), y1 = std::max(p.y, q.y);
        if (y < y0 || y >= y1)
            continue;
        // x >= edge x  <=>  x * dy >= p.x * dy + (y - p.y) * dx, with dy > 0 after ordering.
        const POINT &a = p.y < q.y ? p : q, &b = p.y < q.y ? q : p;
        long long dy = static_cast<long long>(b.y) - a.y, dx = static_cast<long long>(b.x) - a.x;
        if (static_cast<long long>(x) * dy >= static_cast<long long>(a.x) * dy + (y - static_cast<long long>(a.y)) * dx) {
            crossings++;
            level += q.y > p.y ? 1 : -1;
        }
    }
    return winding ? level != 0 : (crossings & 1);
}

TEST_F(FillRules, RandomPolygonsFillExactlyByTheTopLeftRule)
{
    std::mt19937 random(20);
    Board b(48, 40);
    b.NoPen();
    b.Brush(Black);
    for (int round = 0; round < 300; ++round) {
        const bool winding = round % 2 == 1;
        SetPolyFillMode(b.dc(), winding ? WINDING : ALTERNATE);
        std::vector<POINT> points(3 + random() % 9);
        for (POINT &p : points) // some vertices off the surface on every side
            p = POINT{static_cast<LONG>(random() % 70) - 10, static_cast<LONG>(random() % 60) - 10};
        b.Clear();
        ASSERT_TRUE(Polygon(b.dc(), points.data(), static_cast<int>(points.size())));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 48; ++x)
                ASSERT_EQ(GetPixel(b.dc(), x, y) == Black, Inside(points, x, y, winding))
                    << "round " << round << " at " << x << "," << y;
    }
}

TEST_F(FillRules, SteepShallowAndHugePolygonEdges)
{
    Board b(40, 30);
    b.NoPen();
    b.Brush(Black);
    // Edges of every steepness, one reaching far beyond the int range of a pixel row's product.
    const std::vector<std::vector<POINT>> shapes{
        {{0, 0}, {39, 1}, {2, 29}},
        {{5, 0}, {6, 29}, {-30000, 15}},
        {{-2000000000, -5}, {2000000000, 3}, {20, 2000000000}},
        {{38, 0}, {0, 28}, {39, 29}, {1, 2}},
    };
    for (const auto &points : shapes) {
        b.Clear();
        ASSERT_TRUE(Polygon(b.dc(), points.data(), static_cast<int>(points.size())));
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(GetPixel(b.dc(), x, y) == Black, Inside(points, x, y, false)) << "shape " << points[0].x << " at " << x << "," << y;
    }
}

TEST_F(FillRules, ClippedLinesLightTheWholeLinesPixels)
{
    std::mt19937 random(7);
    Board whole(64, 64), cut(64, 64);
    whole.Pen(PS_SOLID, 1, Black);
    cut.Pen(PS_SOLID, 1, Black);
    IntersectClipRect(cut.dc(), 9, 13, 50, 41);
    for (int round = 0; round < 150; ++round) {
        int x0 = random() % 64, y0 = random() % 64, x1 = random() % 64, y1 = random() % 64;
        whole.Clear();
        cut.Clear();
        MoveToEx(whole.dc(), x0, y0, nullptr);
        LineTo(whole.dc(), x1, y1);
        MoveToEx(cut.dc(), x0, y0, nullptr);
        LineTo(cut.dc(), x1, y1);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                bool inClip = x >= 9 && x < 50 && y >= 13 && y < 41;
                bool lit = GetPixel(whole.dc(), x, y) == Black;
                SelectClipRgn(cut.dc(), nullptr);
                ASSERT_EQ(GetPixel(cut.dc(), x, y) == Black, lit && inClip)
                    << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") at " << x << "," << y;
                IntersectClipRect(cut.dc(), 9, 13, 50, 41);
            }
    }
}

double Seconds(const std::function<void()> &work)
{
    double best = 1e9;
    for (int attempt = 0; attempt < 5; ++attempt) {
        auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

TEST_F(FillRules, ManyVerticesCostTheirAreaNotVerticesTimesRows)
{
    Board b(640, 480);
    b.NoPen();
    b.Brush(Red);
    // A disc of 4000 vertices: every row meets two of its edges.
    std::vector<POINT> ring;
    for (int i = 0; i < 4000; ++i) {
        double angle = i * 2 * M_PI / 4000;
        ring.push_back(POINT{320 + static_cast<LONG>(std::lround(230 * std::cos(angle))),
                             240 + static_cast<LONG>(std::lround(230 * std::sin(angle)))});
    }
    const RECT box{90, 10, 550, 470};
    HBRUSH red = CreateSolidBrush(Red);
    const double area = Seconds([&] {
        for (int i = 0; i < 10; ++i)
            FillRect(b.dc(), &box, red);
    });
    const double polygon = Seconds([&] { Polygon(b.dc(), ring.data(), static_cast<int>(ring.size())); });
    DeleteObject(red);
    EXPECT_EQ(GetPixel(b.dc(), 320, 240), Red);
    // Ten fills of its bounding box against one polygon; each row's walk over all 4000 edges
    // would cost a hundred times more.
    EXPECT_LT(polygon, area * 3) << "box " << area / 10 << " s, polygon " << polygon << " s";
}

} // namespace
