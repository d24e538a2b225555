// The drawing surface's pixel rules, drawn into a window between BeginPaint and EndPaint.
#include "support.h"

namespace {

class GraphicsTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_EQ(window.CreateNewWindow("canvas", 0, 0, 64, 48, 0), 1000);
        handle = HandleOf(window);
        window.SetBackgroundColor(0xFFFFFFFF);
        window.ShowWindow(1);
        driver::Pump();
        window.BeginPaint();
        window.SetForegroundColor(0xFF000000);
    }

    // Black pixels inside [left, right) x [top, bottom) of the window.
    int Black(int left, int top, int right, int bottom)
    {
        return driver::Snapshot(handle).Count(0x000000, left, top, right, bottom);
    }
    int Black() { return Black(0, 0, 64, 48); }
    bool IsBlack(int x, int y) { return driver::Snapshot(handle).At(x, y) == 0x000000u; }

    VLWindow window;
    HWND handle = nullptr;
};

} // namespace

TEST_F(GraphicsTest, FilledRectangleIncludesBothCornersInEitherOrder)
{
    window.DrawFillRect(10, 10, 12, 11);
    EXPECT_EQ(Black(), 6);
    EXPECT_EQ(Black(10, 10, 13, 12), 6);
    window.SetForegroundColor(0xFFFFFFFF);
    window.DrawFillRect(12, 11, 10, 10);
    EXPECT_EQ(Black(), 0);

    // The top byte is not a colour: 0x00 and 0xFF draw alike.
    window.SetForegroundColor(0x00FF0000);
    window.DrawFillRect(0, 0, 1, 1);
    EXPECT_EQ(driver::Snapshot(handle).Count(0xFF0000, 0, 0, 64, 48), 4);
}

TEST_F(GraphicsTest, OutlineAndLinesLightTheirEndPoints)
{
    window.DrawRect(4, 4, 0, 0, 1);
    EXPECT_EQ(Black(), 16);
    EXPECT_TRUE(IsBlack(4, 4));
    EXPECT_FALSE(IsBlack(2, 2));

    window.DrawLine(0, 10, 5, 10, 1);
    EXPECT_EQ(Black(0, 10, 64, 11), 6);
    window.DrawLine(0, 20, 5, 20, 3); // unknown style
    EXPECT_EQ(Black(0, 20, 64, 21), 0);

    window.SetPixel(30, 30);
    EXPECT_TRUE(IsBlack(30, 30));
    EXPECT_EQ(Black(), 16 + 6 + 1);
}

TEST_F(GraphicsTest, DottedStylesLightEveryOtherPixel)
{
    window.DrawLine(0, 5, 8, 5, 2);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(IsBlack(x, 5), x % 2 == 0) << x;

    window.DrawRect(20, 20, 28, 26, 2);
    EXPECT_EQ(Black(20, 20, 29, 21) + Black(20, 26, 29, 27), 10); // horizontal edges
    EXPECT_FALSE(IsBlack(24, 23));
    window.DrawRect(0, 30, 4, 32, 5);
    EXPECT_EQ(Black(0, 30, 64, 48), 0);
}

TEST_F(GraphicsTest, NothingIsDrawnWithoutAContext)
{
    window.EndPaint();
    window.DrawFillRect(0, 0, 63, 47);
    window.DrawLine(0, 0, 63, 47, 1);
    window.SetPixel(1, 1);
    EXPECT_EQ(Black(), 0);
    EXPECT_EQ(window.GetTextWidth("abc"), 0);

    // Nested calls keep the first context until the outermost EndPaint.
    window.BeginPaint();
    window.BeginPaint();
    window.EndPaint();
    window.SetPixel(2, 2);
    window.EndPaint();
    window.SetPixel(3, 3);
    EXPECT_TRUE(IsBlack(2, 2));
    EXPECT_FALSE(IsBlack(3, 3));
}

TEST_F(GraphicsTest, LineSizeAndFontSizeAreClamped)
{
    window.SetSize(500);
    window.DrawLine(20, 24, 40, 24, 1);
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_EQ(Black(20, 0, 41, 48), 21 * client.bottom); // 128 wide: covers the whole height
    window.SetForegroundColor(0xFFFFFFFF);
    window.SetSize(0);
    window.DrawFillRect(0, 0, 63, 47);
    window.SetForegroundColor(0xFF000000);
    window.DrawLine(0, 0, 0, 9, 1);
    EXPECT_EQ(Black(), 10);

    EXPECT_EQ(window.GetFontSize(), 12);
    window.SetFontSize(2);
    EXPECT_EQ(window.GetFontSize(), 4);
    window.SetFontSize(12);
    EXPECT_EQ(window.GetTextWidth("abc"), 18);
    EXPECT_EQ(window.GetTextWidth(""), 0);
    EXPECT_EQ(window.GetTextWidth(nullptr), 0);
}

TEST_F(GraphicsTest, CirclesAndRoundedBoxesFollowTheirBoxRules)
{
    // A circle is the ellipse of the box without + 1: one pixel narrower than the filled box.
    window.DrawCircle(10, 10, 0, 0);
    EXPECT_TRUE(IsBlack(0, 5));
    EXPECT_TRUE(IsBlack(9, 5));
    EXPECT_FALSE(IsBlack(10, 5));
    EXPECT_FALSE(IsBlack(5, 5)) << "an outline only";
    window.DrawFillCircle(20, 0, 30, 10);
    EXPECT_TRUE(IsBlack(25, 5));
    EXPECT_EQ(Black(30, 0, 31, 11), 0);

    // A rounded box includes both corners' rows and columns.
    window.DrawRoundRect(40, 0, 50, 10, 4, 1);
    EXPECT_TRUE(IsBlack(50, 5));
    EXPECT_TRUE(IsBlack(45, 10));
    EXPECT_FALSE(IsBlack(40, 0)) << "the corner is rounded off";
    window.DrawRoundRect(0, 20, 10, 30, 4, 7);
    EXPECT_EQ(Black(0, 20, 11, 31), 0) << "an unknown style draws nothing";
    window.DrawFillRoundRect(20, 20, 30, 30, 4);
    EXPECT_TRUE(IsBlack(25, 25));
    EXPECT_TRUE(IsBlack(30, 25));
}

TEST_F(GraphicsTest, ArcRunsClockwiseFromTheFirstAngleToTheSecond)
{
    window.DrawArc(0, 0, 40, 40, 0, 90); // twelve o'clock to three o'clock
    EXPECT_GT(Black(21, 0, 41, 20), 10);
    EXPECT_EQ(Black(0, 0, 19, 41), 0);
    EXPECT_EQ(Black(0, 22, 41, 41), 0);
}

TEST_F(GraphicsTest, PolygonsAndCurvesNeedEnoughPoints)
{
    VLSTPosition two[2] = {{0, 0}, {20, 20}};
    window.DrawPolygon(two, 2);
    window.DrawFillPolygon(nullptr, 4);
    VLSTPosition three[3] = {{0, 0}, {10, 30}, {20, 0}};
    window.DrawBezier(three, 3);
    EXPECT_EQ(Black(), 0);

    VLSTPosition square[4] = {{30, 10}, {40, 10}, {40, 20}, {30, 20}};
    window.DrawFillPolygon(square, 4);
    EXPECT_TRUE(IsBlack(35, 15));
    window.DrawPolygon(three, 3);
    EXPECT_TRUE(IsBlack(0, 0));
    EXPECT_FALSE(IsBlack(10, 10)) << "an outline only";

    // A long curve goes through a heap copy of its points; it ends before its last point.
    VLSTPosition many[100];
    for (int i = 0; i < 100; ++i)
        many[i] = VLSTPosition{i % 60, 40 + (i % 3)};
    window.SetForegroundColor(0xFFFFFFFF);
    window.DrawFillRect(0, 0, 63, 47);
    window.SetForegroundColor(0xFF000000);
    window.DrawBezier(many, 100); // 100 = 3 x 33 + 1
    EXPECT_GT(Black(0, 38, 64, 44), 20);
}

TEST_F(GraphicsTest, TextIsTransparentAndAmpersandsShowAsThemselves)
{
    window.SetForegroundColor(0xFF808080);
    window.DrawFillRect(0, 0, 63, 47);
    window.SetForegroundColor(0xFF000000);
    window.DrawTextA(2, 2, "W");
    driver::Image image = driver::Snapshot(handle);
    EXPECT_GT(image.Count(0x000000, 2, 2, 8, 14), 4);
    EXPECT_EQ(image.Count(0xFFFFFF, 0, 0, 64, 48), 0) << "no background box behind the text";

    // "a&b" shows three characters with no underline below the b.
    window.DrawFillRect(0, 0, 63, 47);
    window.SetForegroundColor(0xFFFFFFFF);
    window.DrawBoxText(0, 20, 63, 40, "a&b", 1);
    image = driver::Snapshot(handle);
    int columns = 0;
    for (int x = 0; x < 64; ++x)
        columns += image.Count(0xFFFFFF, x, 20, x + 1, 40) > 0;
    EXPECT_GE(columns, 12) << "three glyphs, not two";
    // The cell of the vertically centred line starts at 20 + 10 - 6; an underline would sit one
    // row below its baseline.
    EXPECT_EQ(image.Count(0xFFFFFF, 0, 24 + 11 + 1, 64, 40), 0) << "no underline under the b";
    EXPECT_EQ(image.Count(0xFFFFFF, 18, 20, 64, 40), 0) << "three half-width cells from the left";

}
