// Scroll areas: the sunken frame's pixels, the content size kept for the application, and the
// kept widgets that take part in focus navigation and the arrow keys and are cleared with the area.
#include "widgets_support.h"

namespace {

using ScrollAreaTest = WidgetTest;

TEST_F(ScrollAreaTest, FrameAndInteriorPixels)
{
    VLScrollArea area;
    area.SetBounds(10, 10, 100, 50);
    area.SetBackgroundColor(0xFFFFE0C0);
    area.SetScrollSize(400, 300);
    window.Add(&area);
    Repaint();
    VLSTSize content = {};
    area.GetScrollSize(&content);
    EXPECT_EQ(content.width, 400);
    EXPECT_EQ(content.height, 300);
    driver::Image picture = Picture();
    EXPECT_EQ(picture.At(9, 9), 0x505050u) << "the dark outer edge, top-left";
    EXPECT_EQ(picture.At(111, 61), 0xFFFFFFu) << "the light outer edge, bottom-right";
    EXPECT_EQ(picture.At(10, 10), 0x000000u);
    EXPECT_EQ(picture.At(110, 60), 0x000000u);
    EXPECT_EQ(picture.Count(0xFFE0C0u, 11, 11, 109, 59), 98 * 48) << "the interior, (11, 11) to (108, 58)";
    EXPECT_EQ(picture.At(109, 30), 0xC0C0C0u) << "the column inside the frame is not the area's";
    EXPECT_EQ(picture.At(50, 59), 0xC0C0C0u);
    window.Clear();
}

TEST_F(ScrollAreaTest, KeptWidgetsTakeTheFocusAndArrowsAndAreClearedWithTheArea)
{
    VLScrollArea area;
    VLPushButton before, inside;
    VLSpinEditBox number;
    before.SetBounds(10, 100, 60, 20);
    area.SetBounds(10, 10, 100, 50);
    inside.SetBounds(5, 5, 40, 20);
    number.SetBounds(5, 30, 80, 20);
    window.Add(&before);
    window.Add(&area);
    area.Add(&inside);
    area.Add(&number);
    Repaint();
    EXPECT_EQ(inside.GetParentWindow(), nullptr) << "kept, not placed";
    window.NextFocus(); // the push button before the area
    window.NextFocus(); // the first widget in the area
    window.NextFocus(); // the spin edit box
    driver::PressKey(VK_UP);
    driver::PressKey(VK_UP);
    EXPECT_EQ(number.GetValue(), 2) << "the arrow keys reach the focused box";
    window.AllFocusClear();
    driver::PressKey(VK_UP);
    EXPECT_EQ(number.GetValue(), 2);
    // Clearing the area returns its widgets to their constructed state.
    inside.SetText("kept");
    area.Clear();
    char text[8] = {};
    inside.GetText(text, 7);
    EXPECT_STREQ(text, "");
    window.Clear();
}

} // namespace
