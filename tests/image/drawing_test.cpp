// The image buffer's own pixel rules: layout, colours, lines, runs, rectangles, circles,
// polygons, Bézier curves and what a size change does to the contents.
#include "support.h"

#include <chrono>
#include <set>
#include <utility>

namespace {

using Pixels = std::set<std::pair<int, int>>;

class ImageDrawing : public ::testing::Test {
protected:
    // Pixels that are not black.
    Pixels Lit(VLImage &target)
    {
        Pixels lit;
        for (int y = 0; y < target.GetImageHeight(); ++y)
            for (int x = 0; x < target.GetImageWidth(); ++x)
                if (target.GetPixel(x, y) != 0xFF000000u)
                    lit.insert({x, y});
        return lit;
    }
    Pixels Lit() { return Lit(image); }

    void Prepare(int width, int height)
    {
        image.SetSize(width, height);
        image.SetForegroundColor(0xFFFFFFFF);
    }

    FreshSystem fresh;
    VLImage image;
};

} // namespace

TEST_F(ImageDrawing, NewImageIsOpaqueBlackInThePublicLayout)
{
    EXPECT_EQ(image.GetPointer(), nullptr);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);

    image.SetSize(4, 3);
    ASSERT_NE(image.GetPointer(), nullptr);
    EXPECT_EQ(image.GetLineBytes(), 16);
    EXPECT_EQ(image.GetImageWidth(), 4);
    EXPECT_EQ(image.GetImageHeight(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(image.GetPixel(x, y), 0xFF000000u);
            EXPECT_EQ(BytesAt(image, x, y), (std::vector<int>{0, 0, 0, 0xFF}));
        }
    EXPECT_EQ(image.GetPixel(4, 0), 0u);
    EXPECT_EQ(image.GetPixel(0, -1), 0u);
}

TEST_F(ImageDrawing, ColoursKeepTheirFourthByteButGetPixelDoesNotShowIt)
{
    image.SetSize(4, 3);
    image.SetForegroundColor(0x80112233);
    image.SetPixel(1, 1);
    EXPECT_EQ(BytesAt(image, 1, 1), (std::vector<int>{0x11, 0x22, 0x33, 0x80}));
    EXPECT_EQ(image.GetPixel(1, 1), 0xFF112233u);
    image.SetPixel(4, 1); // outside: nothing
    image.SetPixel(-1, 0);
    EXPECT_EQ(CountColour(image, 0xFF112233u), 1);

    image.ClearImage(0x00FF0000);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(BytesAt(image, x, y), (std::vector<int>{0xFF, 0, 0, 0}));
}

TEST_F(ImageDrawing, SlopedLinesWriteTheirStartButNotTheirEnd)
{
    Prepare(8, 8);
    image.DrawLine(0, 0, 3, 1);
    EXPECT_EQ(Lit(), (Pixels{{0, 0}, {1, 0}, {2, 1}}));

    image.ClearImage(0xFF000000);
    image.DrawLine(3, 1, 0, 0); // the other way round steps from the other end
    EXPECT_EQ(Lit(), (Pixels{{3, 1}, {2, 1}, {1, 0}}));

    image.ClearImage(0xFF000000);
    image.DrawLine(0, 0, 1, 3); // steep: y is the major axis
    EXPECT_EQ(Lit(), (Pixels{{0, 0}, {0, 1}, {1, 2}}));

    // Straight lines include both ends.
    image.ClearImage(0xFF000000);
    image.DrawLine(0, 0, 3, 0);
    image.DrawLine(5, 6, 5, 4);
    EXPECT_EQ(Lit(), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {5, 4}, {5, 5}, {5, 6}}));
}

TEST_F(ImageDrawing, LinesAreClippedBeforeTheyAreStepped)
{
    Prepare(20, 20);
    image.DrawLine(-10, 5, 100, 5);
    EXPECT_EQ(Lit().size(), 20u);
    EXPECT_EQ(CountColour(image, 0xFFFFFFFF), 20);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(image.GetPixel(x, 5), 0xFFFFFFFFu);

    // Entering from the left: the crossing at x = 0 is the new start.
    image.ClearImage(0xFF000000);
    image.DrawLine(-10, 0, 10, 10);
    Pixels lit = Lit();
    EXPECT_EQ(lit.size(), 10u);
    EXPECT_TRUE(lit.count({0, 5}));
    EXPECT_FALSE(lit.count({10, 10}));

    // Leaving through the bottom: the last row is reached, nothing beyond.
    image.ClearImage(0xFF000000);
    image.DrawLine(0, 0, 40, 40);
    lit = Lit();
    EXPECT_EQ(lit.size(), 19u);
    for (const auto &p : lit)
        EXPECT_EQ(p.first, p.second);

    // Lines far outside cost nothing, whatever their length.
    image.ClearImage(0xFF000000);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        image.DrawLine(-2000000000, -5, 2000000000, -3);
        image.DrawLine(-2147483647, -2147483647, 2147483647, 2147483647 - 1); // crosses the diagonal
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    lit = Lit();
    EXPECT_GT(lit.size(), 15u);
    for (const auto &p : lit)
        EXPECT_EQ(p.first, p.second + 1);
}

TEST_F(ImageDrawing, RunsAndRectanglesIncludeBothCornersAndClip)
{
    Prepare(8, 6);
    image.DrawRect(2, 2, 2, 2);
    EXPECT_EQ(Lit(), (Pixels{{2, 2}}));

    image.ClearImage(0xFF000000);
    image.DrawRect(4, 3, 1, 1);
    EXPECT_EQ(Lit().size(), 10u);
    EXPECT_FALSE(Lit().count({2, 2}));

    image.ClearImage(0xFF000000);
    image.DrawFillRect(5, 4, -3, 1);
    EXPECT_EQ(Lit().size(), 24u);
    EXPECT_TRUE(Lit().count({0, 1}));
    EXPECT_TRUE(Lit().count({5, 4}));

    image.ClearImage(0xFF000000);
    image.DrawFillRect(-100, -100, 100, 100); // the whole buffer, as one run
    EXPECT_EQ(Lit().size(), 48u);

    image.ClearImage(0xFF000000);
    image.DrawHLine(8, 0, 20);   // wholly right
    image.DrawHLine(-5, 6, 3);   // below
    image.DrawVLine(-1, 0, 5);   // left
    image.DrawFillRect(8, 0, 9, 5);
    EXPECT_TRUE(Lit().empty());
    image.DrawVLine(7, -3, 100);
    image.DrawHLine(9, 0, -9);
    EXPECT_EQ(Lit().size(), 6u + 8u - 1u);
}

TEST_F(ImageDrawing, FilledPolygonsAreTopInclusiveAndBottomExclusive)
{
    Prepare(8, 8);
    VLSTPosition square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
    image.DrawFillPolygon(square, 4);
    Pixels expected;
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 4; ++x)
            expected.insert({x, y});
    EXPECT_EQ(Lit(), expected);

    image.ClearImage(0xFF000000);
    VLSTPosition triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    image.DrawFillPolygon(triangle, 3);
    expected.clear();
    const int ends[] = {4, 3, 2, 1};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x <= ends[y]; ++x)
            expected.insert({x, y});
    EXPECT_EQ(Lit(), expected);

    // Reaching past the bottom: the last row is filled since the clip edge is the height itself.
    image.ClearImage(0xFF000000);
    VLSTPosition tall[] = {{2, -10}, {5, -10}, {5, 30}, {2, 30}};
    image.DrawFillPolygon(tall, 4);
    EXPECT_EQ(Lit().size(), 4u * 8u);
}

TEST_F(ImageDrawing, FilledPolygonsRefuseBadListsAndSurviveWildShapes)
{
    Prepare(16, 16);
    VLSTPosition many[33];
    for (int i = 0; i < 33; ++i)
        many[i] = VLSTPosition{i % 2 ? 15 : 0, i / 2};
    image.DrawFillPolygon(many, 33);
    image.DrawFillPolygon(nullptr, 4);
    image.DrawFillPolygon(many, 2);
    EXPECT_TRUE(Lit().empty());
    image.DrawFillPolygon(many, 32);
    EXPECT_FALSE(Lit().empty());

    // A zigzag crossing every edge many times makes the clipped lists far longer than the input.
    VLSTPosition zigzag[32];
    for (int i = 0; i < 32; ++i) {
        const int far = i % 2 ? 40 : -40;
        zigzag[i] = i < 16 ? VLSTPosition{far, i * 2 - 8} : VLSTPosition{(i - 16) * 2 - 8, far};
    }
    image.ClearImage(0xFF000000);
    image.DrawFillPolygon(zigzag, 32);
    image.DrawPolygon(zigzag, 32);
    EXPECT_FALSE(Lit().empty());

    // Wholly outside: nothing.
    image.ClearImage(0xFF000000);
    VLSTPosition away[] = {{100, 100}, {200, 100}, {150, 200}};
    image.DrawFillPolygon(away, 3);
    VLSTPosition flat[] = {{0, 3}, {10, 3}, {5, 3}};
    image.DrawFillPolygon(flat, 3);
    EXPECT_TRUE(Lit().empty());
}

TEST_F(ImageDrawing, CirclesStepInEighths)
{
    Prepare(11, 11);
    image.DrawCircle(5, 5, 2);
    Pixels lit = Lit();
    EXPECT_EQ(lit.size(), 12u);
    for (int d = -1; d <= 1; ++d) {
        EXPECT_TRUE(lit.count({3, 5 + d}));
        EXPECT_TRUE(lit.count({7, 5 + d}));
        EXPECT_TRUE(lit.count({5 + d, 3}));
        EXPECT_TRUE(lit.count({5 + d, 7}));
    }
    EXPECT_FALSE(lit.count({3, 3}));
    EXPECT_FALSE(lit.count({7, 7}));

    image.ClearImage(0xFF000000);
    image.DrawCircle(5, 5, 0);
    EXPECT_EQ(Lit(), (Pixels{{5, 5}}));
    image.ClearImage(0xFF000000);
    image.DrawCircle(5, 5, 1);
    EXPECT_EQ(Lit().size(), 8u);
    EXPECT_FALSE(Lit().count({5, 5}));

    image.ClearImage(0xFF000000);
    image.DrawFillCircle(5, 5, 2); // the 5 x 5 box without its corners
    EXPECT_EQ(Lit().size(), 21u);
    EXPECT_FALSE(Lit().count({3, 3}));

    image.ClearImage(0xFF000000);
    image.DrawCircle(5, 5, -1);
    image.DrawFillCircle(5, 5, -1);
    image.DrawCircle(-1000, -1000, 500);
    image.DrawFillCircle(1000, 5, 1000); // only its left edge reaches in
    EXPECT_TRUE(Lit().count({10, 5}));
    image.ClearImage(0xFF000000);
    image.DrawCircle(5, 5, 20);
    EXPECT_TRUE(Lit().empty());
}

TEST_F(ImageDrawing, BezierCurvesTakeWholeSegmentsOfFourPoints)
{
    Prepare(40, 40);
    VLSTPosition line[] = {{0, 0}, {3, 0}, {6, 0}, {9, 0}};
    image.DrawBezier(line, 4);
    // t never quite reaches 1 after ten steps of 0.1, so the last point is 8.99 and becomes 8.
    EXPECT_EQ(Lit().size(), 9u);
    EXPECT_FALSE(Lit().count({9, 0}));

    VLSTPosition points[] = {{2, 30}, {10, 2}, {25, 38}, {35, 5}, {20, 20}, {5, 35}, {38, 38}};
    VLImage one, two, parts;
    for (VLImage *target : {&one, &two, &parts}) {
        target->SetSize(40, 40);
        target->SetForegroundColor(0xFFFFFFFF);
    }
    one.DrawBezier(points, 4);
    image.ClearImage(0xFF000000);
    image.DrawBezier(points, 5); // the fifth point completes no segment
    EXPECT_EQ(Lit(), Lit(one));
    EXPECT_GT(Lit(one).size(), 30u);

    parts.DrawBezier(points, 6);
    EXPECT_EQ(Lit(parts), Lit(one));

    // Seven points: a second segment, joined to where the first one stopped, heads for (38, 38).
    two.DrawBezier(points, 7);
    const Pixels both = Lit(two);
    for (const auto &p : Lit(one))
        EXPECT_TRUE(both.count(p));
    EXPECT_GT(both.size(), Lit(one).size() + 20);
    auto nearEnd = [](const Pixels &lit) {
        int count = 0;
        for (const auto &p : lit)
            count += p.first >= 30 && p.second >= 30;
        return count;
    };
    EXPECT_GT(nearEnd(both), 5);
    EXPECT_EQ(nearEnd(Lit(one)), 0);

    VLSTPosition dot[] = {{7, 7}, {7, 7}, {7, 7}, {7, 7}};
    image.ClearImage(0xFF000000);
    image.DrawBezier(dot, 4);
    image.DrawBezier(points, 3);
    image.DrawBezier(nullptr, 4);
    EXPECT_EQ(Lit(), (Pixels{{7, 7}}));
}

TEST_F(ImageDrawing, ANewSizeStartsOverAndTheSameSizeKeepsTheContents)
{
    Prepare(6, 4);
    image.DrawFillRect(0, 0, 5, 3);
    image.SetSize(6, 4);
    EXPECT_EQ(Lit().size(), 24u);
    image.SetBounds(10, 20, 6, 4);
    EXPECT_EQ(Lit().size(), 24u);

    image.SetSize(7, 4);
    EXPECT_TRUE(Lit().empty());
    EXPECT_EQ(image.GetLineBytes(), 28);

    image.SetSize(0, 5);
    EXPECT_EQ(image.GetPointer(), nullptr);
    image.DrawFillRect(0, 0, 5, 5);
    image.ClearImage(0xFFFFFFFF);
    EXPECT_EQ(image.GetPixel(0, 0), 0u);

    // Negative sizes make no buffer rather than one that does not fit its size.
    image.SetSize(-2, -3);
    EXPECT_EQ(image.GetPointer(), nullptr);
    image.SetSize(2, -3);
    EXPECT_EQ(image.GetPointer(), nullptr);
    image.ClearImage(0xFFFFFFFF);
    image.DrawFillRect(-5, -5, 5, 5);

    image.SetSize(3, 3);
    image.SetForegroundColor(0xFF123456);
    image.SetHintText("hint");
    image.SetVisible(0);
    image.Clear();
    EXPECT_EQ(image.GetPointer(), nullptr);
    EXPECT_EQ(image.GetImageWidth(), 0);
    EXPECT_EQ(image.IsVisible(), 1);
    VLSTRect bounds = {1, 1, 1, 1};
    image.GetBounds(&bounds);
    EXPECT_EQ(bounds.x + bounds.y + bounds.width + bounds.height, 0);
    image.SetSize(1, 1);
    image.SetPixel(0, 0);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFF000000u); // the foreground is black again
}
