// How the window routes the mouse and keys among its widgets, and when tool hints appear.
#include "widgets_support.h"

#include <vector>

namespace {

std::vector<VLPushButton *> pushed;
void OnPush(VLPushButton *button) { pushed.push_back(button); }

class RoutingTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        pushed.clear();
    }
    VLPushButton first, second, third;
    VLLabel label;
};

TEST_F(RoutingTest, OverlappingButtonsBothReactAndTheEarlierOneEndsFocused)
{
    first.SetBounds(10, 10, 60, 20);
    second.SetBounds(40, 15, 60, 20);
    first.AttachSelectEvent(OnPush);
    second.AttachSelectEvent(OnPush);
    window.Add(&first);
    window.Add(&second);
    Repaint();
    driver::Click(handle, 50, 20);
    ASSERT_EQ(pushed.size(), 2u);
    EXPECT_EQ(pushed[0], &second) << "the walk goes from the top-most down";
    EXPECT_EQ(pushed[1], &first);
    driver::PressKey(VK_SPACE);
    ASSERT_EQ(pushed.size(), 3u);
    EXPECT_EQ(pushed[2], &first) << "the earlier-added button is the window's focused widget";
}

TEST_F(RoutingTest, APressOnALabelOrEmptySpaceKeepsTheFocus)
{
    first.SetBounds(10, 10, 60, 20);
    first.AttachSelectEvent(OnPush);
    label.SetBounds(10, 60, 80, 20);
    label.SetText("label");
    window.Add(&first);
    window.Add(&label);
    Repaint();
    window.NextFocus();
    driver::Click(handle, 20, 65);
    driver::Click(handle, 200, 140);
    driver::PressKey(VK_RETURN);
    EXPECT_EQ(pushed.size(), 1u) << "the push button kept the focus";
}

TEST_F(RoutingTest, TabCyclesThroughEligibleWidgetsAndShiftTabToo)
{
    for (VLPushButton *b : {&first, &second, &third}) {
        b->SetBounds(10 + static_cast<int>(pushed.size()) * 0, 10, 60, 20);
        b->AttachSelectEvent(OnPush);
    }
    first.SetLocate(10, 10);
    second.SetLocate(80, 10);
    third.SetLocate(150, 10);
    second.SetEnable(0);
    window.Add(&first);
    window.Add(&second);
    window.Add(&third);
    Repaint();
    std::vector<VLPushButton *> order;
    for (int i = 0; i < 4; ++i) {
        if (i == 2)
            driver::PressKeyWith({VK_SHIFT}, VK_TAB);
        else
            driver::PressKey(VK_TAB);
        driver::TypeText(" ");
        order.push_back(pushed.back());
    }
    std::vector<VLPushButton *> expected = {&first, &third, &first, &third};
    EXPECT_EQ(order, expected) << "the disabled button is skipped; Shift+Tab also goes forward";
}

TEST_F(RoutingTest, HintAppearsAtTheTenthTickOfRestBelowTheWidget)
{
    first.SetBounds(10, 40, 60, 20);
    first.SetHintText("Hint");
    window.Add(&first);
    Repaint();
    HWND popup = HintPopup();
    ASSERT_NE(popup, nullptr);
    driver::MoveTo(handle, 30, 50);
    driver::Advance(950);
    EXPECT_FALSE(driver::IsShown(popup)) << "nine ticks are not enough";
    driver::Advance(100);
    ASSERT_TRUE(driver::IsShown(popup));
    RECT outer, hint;
    GetWindowRect(handle, &outer);
    GetWindowRect(popup, &hint);
    EXPECT_EQ(hint.left, outer.left + 30 + 12);
    EXPECT_EQ(hint.top, outer.top + 1 + 19 + 40 + 20 + 2);
    EXPECT_EQ(hint.bottom - hint.top, 12 + 10);
    EXPECT_EQ(hint.right - hint.left, 4 * 6 + 10);
    driver::Image screen = driver::SnapshotScreen();
    EXPECT_EQ(screen.At(hint.left + 2, hint.top + 2), 0xFFFFC0u) << "pale yellow inside its border";
    EXPECT_GT(screen.Count(0x000000, hint.left + 4, hint.top + 4, hint.right - 4, hint.bottom - 4), 5);

    // A press hides it and the count starts again.
    driver::Press();
    EXPECT_FALSE(driver::IsShown(popup));
    driver::Release();
    driver::Advance(500);
    EXPECT_FALSE(driver::IsShown(popup));
    driver::Advance(600);
    EXPECT_TRUE(driver::IsShown(popup));

    // Leaving hides it.
    driver::MoveTo(handle, 200, 140);
    driver::Advance(100);
    EXPECT_FALSE(driver::IsShown(popup));
}

TEST_F(RoutingTest, HintsNeedTextAndAnActiveWindowAndSizeToTheirLines)
{
    first.SetBounds(10, 40, 60, 20);
    window.Add(&first);
    second.SetBounds(10, 80, 60, 20);
    second.SetHintText("a\r\nb");
    window.Add(&second);
    Repaint();
    HWND popup = HintPopup();
    driver::MoveTo(handle, 30, 50);
    driver::Advance(2000);
    EXPECT_FALSE(driver::IsShown(popup)) << "an empty hint shows nothing";

    driver::MoveTo(handle, 30, 90);
    driver::Advance(1100);
    ASSERT_TRUE(driver::IsShown(popup));
    RECT hint;
    GetWindowRect(popup, &hint);
    EXPECT_EQ(hint.bottom - hint.top, 12 * 3 + 10) << "CR and LF each break the line";

    // Another window takes the activation: no hint.
    VLWindow other;
    other.CreateNewWindow("other", 600, 300, 100, 100, 0);
    other.ShowWindow(1);
    driver::Pump();
    EXPECT_FALSE(driver::IsShown(popup));
    driver::MoveTo(handle, 30, 90);
    driver::Advance(2000);
    EXPECT_FALSE(driver::IsShown(popup));
}

} // namespace
