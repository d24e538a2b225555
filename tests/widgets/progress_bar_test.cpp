// Progress bars: the range and position rules, the flat and shaded bars, and what the window and
// groups do with a widget that takes no input.
#include "widgets_support.h"

#include <climits>
#include <utility>

namespace {

int pushes = 0;
void OnPush(VLPushButton *) { ++pushes; }

class ProgressBarTest : public WidgetTest {
protected:
    // A 100 x 20 bar at (10, 10): its frame covers columns 10..110 and rows 10..30.
    void Place(VLProgressBar &b, int y = 10, int height = 20)
    {
        b.SetBounds(10, y, 100, height);
        window.Add(&b);
    }
    // The last column the bar fills, read along the middle row.
    int BarEnd()
    {
        driver::Image picture = Picture();
        int end = -1;
        for (int x = 11; x < 110; ++x)
            if (picture.At(x, 20) == 0x0000FFu)
                end = x - 10;
        return end;
    }
    int EndAt(int position)
    {
        bar.SetPosition(position);
        bar.Repaint();
        return BarEnd();
    }
    VLProgressBar bar, other;
};

TEST_F(ProgressBarTest, RangesAreRefusedUnlessZeroOrMoreAndIncreasingAndHugeOnesNeverWrap)
{
    EXPECT_EQ(bar.GetRange(nullptr, nullptr), 1);
    bar.SetPosition(5);
    const std::pair<int, int> refused[] = {{-1, 10}, {7, 7}, {9, 8}, {INT_MIN, INT_MAX}};
    for (auto [low, high] : refused)
        EXPECT_EQ(bar.SetRange(low, high), 0) << low << ".." << high;
    int low = -5, high = -5;
    bar.GetRange(&low, nullptr);
    bar.GetRange(nullptr, &high);
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(0, 100));

    EXPECT_EQ(bar.SetRange(10, 20), 1);
    EXPECT_EQ(bar.GetPosition(), 5) << "a new range leaves the position alone";
    Place(bar);
    Repaint();
    EXPECT_EQ(BarEnd(), 1) << "a position below the range shows the one-pixel bar";
    bar.SetPosition(INT_MAX);
    EXPECT_EQ(bar.GetPosition(), 20);
    bar.SetPosition(INT_MIN);
    EXPECT_EQ(bar.GetPosition(), 10);
    bar.SetPosition(15);
    EXPECT_EQ(BarEnd(), 1) << "setting the position does not repaint";
    bar.Repaint();
    EXPECT_EQ(BarEnd(), 50);

    ASSERT_EQ(bar.SetRange(0, INT_MAX), 1);
    EXPECT_EQ(EndAt(INT_MAX - 1), 99);
    EXPECT_EQ(EndAt(INT_MAX / 2), 49);
    ASSERT_EQ(bar.SetRange(INT_MAX - 1, INT_MAX), 1);
    EXPECT_EQ(EndAt(INT_MAX), 99);
    ASSERT_EQ(bar.SetRange(0, 2), 1);
    bar.Repaint(); // the stored position lies far above the new range
    EXPECT_EQ(BarEnd(), 99);
}

TEST_F(ProgressBarTest, FlatBarFillsInsideItsBlackFrameAndAlwaysShowsAtLeastOnePixel)
{
    Place(bar);
    Repaint();
    EXPECT_EQ(Pixel(10, 10), 0x000000u);
    EXPECT_EQ(Pixel(110, 30), 0x000000u) << "the frame includes the far corner";
    EXPECT_EQ(Pixel(111, 31), 0xC0C0C0u);
    EXPECT_EQ(Pixel(11, 29), 0x0000FFu) << "position 0 still shows one column";
    EXPECT_EQ(Pixel(12, 20), 0x808080u) << "grey empty part";
    EXPECT_EQ(EndAt(100), 99) << "a full bar leaves the last inner column empty";
    EXPECT_EQ(EndAt(37), 37);
    bar.SetForegroundColor(0xFF00FF00);
    bar.SetBackgroundColor(0xFFFFFFFF);
    bar.Repaint();
    EXPECT_EQ(Pixel(47, 20), 0x00FF00u);
    EXPECT_EQ(Pixel(48, 20), 0xFFFFFFu);
}

TEST_F(ProgressBarTest, ShadedBarDarkensTheLowerHalfInEightBands)
{
    VLProgressBar shaded(1);
    shaded.SetBounds(10, 10, 100, 32); // bands of two rows from row 16
    shaded.SetPosition(50);
    window.Add(&shaded);
    Repaint();
    // Each band's channel is c * (255 - 16k) / 256; the later band covers the row the earlier
    // one ended on.
    EXPECT_EQ(Pixel(30, 10 + 15), 0x0000FFu) << "the upper half is flat";
    EXPECT_EQ(Pixel(30, 10 + 17), 0x0000FEu);
    EXPECT_EQ(Pixel(30, 10 + 18), 0x0000EEu);
    EXPECT_EQ(Pixel(30, 10 + 31), 0x00008Eu);
    EXPECT_EQ(Pixel(30, 10 + 32), 0x000000u) << "the frame stays";
    EXPECT_EQ(Pixel(61, 10 + 31), 0x808080u) << "only the bar is shaded";
    shaded.SetMode(2); // any mode but 1 is flat
    shaded.Repaint();
    EXPECT_EQ(Pixel(30, 10 + 31), 0x0000FFu);
    window.RemoveAt(&shaded);
}

TEST_F(ProgressBarTest, LowShadedBarDarkensOneLinePerRow)
{
    bar.SetMode(1);
    bar.SetForegroundColor(0xFFFF8000);
    bar.SetPosition(100);
    Place(bar, 10, 8); // four lines from row 4, a step of 32 each
    Repaint();
    EXPECT_EQ(Pixel(50, 13), 0xFF8000u);
    EXPECT_EQ(Pixel(50, 15), 0xDE6F00u);
    EXPECT_EQ(Pixel(109, 17), 0x9E4F00u) << "the line reaches the bar's end";
    EXPECT_EQ(Pixel(50, 18), 0x000000u);
    // Two rows: one line; one row: nothing to shade, and the bar, with no inside to fill,
    // covers both rows of its frame.
    bar.SetBounds(10, 40, 100, 2);
    Repaint();
    EXPECT_EQ(Pixel(50, 41), 0xFE7F00u);
    bar.SetBounds(10, 60, 100, 1);
    Repaint();
    EXPECT_EQ(Pixel(50, 61), 0xFF8000u);
    EXPECT_EQ(Pixel(110, 61), 0x000000u);
}

TEST_F(ProgressBarTest, HiddenEmptyImpossibleOrClearedBarsDrawNothingAndNeverFail)
{
    Place(bar);
    bar.SetVisible(0);
    Repaint();
    EXPECT_EQ(Pixel(10, 10), 0xC0C0C0u);
    bar.SetVisible(1);
    bar.SetSize(0, 20); // accepted: the bar has no size now
    Repaint();
    EXPECT_EQ(Pixel(10, 10), 0xC0C0C0u);

    for (VLSTRect box : {VLSTRect{10, 10, -50, 20}, VLSTRect{10, 10, INT_MAX, 3}, VLSTRect{10, 10, INT_MIN, INT_MIN},
                         VLSTRect{INT_MAX, INT_MIN, 40, 40}, VLSTRect{-30, -5, 60, 20}}) {
        bar.SetBounds(box.x, box.y, box.width, box.height);
        bar.SetPosition(80);
        Repaint();
        bar.Repaint();
    }
    // The last box hangs over the top-left corner: what is inside the window shows.
    EXPECT_EQ(Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(Pixel(30, 14), 0x000000u);

    VLProgressBar alone; // in no window
    alone.SetBounds(0, 0, 50, 10);
    alone.Repaint();
    alone.GetBounds(nullptr);
    alone.GetSize(nullptr);
    alone.GetLocate(nullptr);

    // Clear restores the defaults and leaves the window alone.
    bar.SetMode(1);
    bar.SetRange(3, 9);
    bar.SetForegroundColor(0xFF123456);
    bar.SetBackgroundColor(0xFF654321);
    Place(bar);
    bar.Clear();
    int low = -1, high = -1;
    bar.GetRange(&low, &high);
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(0, 100));
    EXPECT_EQ(bar.GetPosition(), 0);
    EXPECT_EQ(bar.GetMode(), 0);
    EXPECT_EQ(bar.GetForegroundColor(), 0xFF0000FFu);
    EXPECT_EQ(bar.GetBackgroundColor(), 0xFF808080u);
    EXPECT_EQ(bar.GetParentWindow(), nullptr);
    Repaint(); // still in the window's list, but empty
    EXPECT_EQ(Pixel(10, 10), 0xC0C0C0u);
    EXPECT_EQ(Pixel(0, 0), 0xC0C0C0u);
}

TEST_F(ProgressBarTest, APressOnABarKeepsTheFocusAndItsHintShows)
{
    VLPushButton button;
    pushes = 0;
    button.SetBounds(10, 100, 60, 20);
    button.AttachSelectEvent(OnPush);
    window.Add(&button);
    bar.SetHintText("busy");
    Place(bar);
    Repaint();
    window.NextFocus();
    driver::Click(handle, 50, 20);
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(pushes, 1) << "the button kept the focus";
    window.NextFocus();
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(pushes, 2) << "focus navigation passes the bar by";

    HWND popup = HintPopup();
    ASSERT_NE(popup, nullptr);
    driver::MoveTo(handle, 110, 30); // the far corner counts
    driver::Advance(1100);
    ASSERT_TRUE(driver::IsShown(popup));
    RECT outer, hint;
    GetWindowRect(handle, &outer);
    GetWindowRect(popup, &hint);
    EXPECT_EQ(hint.top, outer.top + 1 + 19 + 30 + 2) << "below the bar";
    window.RemoveAt(&button);
}

TEST_F(ProgressBarTest, BarsInAGroupDrawClippedToItAndComposeTheirLooks)
{
    VLGroup group;
    group.SetBounds(10, 70, 120, 40);
    group.SetBackgroundColor(0xFFFFFFFF);
    group.SetBackMode(1);
    window.Add(&group);
    other.SetBounds(10, 10, 150, 16); // wider than its group
    other.SetMode(1);
    other.SetForegroundColor(0xFF00C000);
    other.SetPosition(60);
    group.Add(&other);
    bar.SetPosition(30);
    Place(bar);
    VLProgressBar full;
    full.SetBounds(10, 40, 100, 12);
    full.SetRange(0, 10);
    full.SetPosition(10);
    full.SetBackgroundColor(0xFFFFFF00);
    full.SetForegroundColor(0xFFC00000);
    full.SetMode(1);
    window.Add(&full);
    Repaint();
    other.Repaint();
    EXPECT_EQ(Pixel(135, 85), 0xC0C0C0u) << "the part outside the group is not drawn";
    driver::Click(handle, 50, 85); // nothing to do for a bar
    EXPECT_TRUE(Matches("progress_bar_looks"));
    window.RemoveAt(&full);
    group.RemoveAt(&other);
    window.RemoveAt(&group);
}

} // namespace
