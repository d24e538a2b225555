// Sliders as a user meets them: where the thumb sits, clicks and drags on the track, the focus and
// change events and their order, focus navigation, and callbacks that pull the slider away.
#include "widgets_support.h"

#include <climits>
#include <vector>

namespace {

std::vector<std::string> events;
void OnFocus(VLSlider *) { events.push_back("focus"); }
void OnChange(VLSlider *slider) { events.push_back("change " + std::to_string(slider->GetPosition())); }
void ClearOnFocus(VLSlider *slider) { slider->Clear(); }
int pushes = 0;
void OnPush(VLPushButton *) { ++pushes; }
using Events = std::vector<std::string>;

class SliderTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        events.clear();
        pushes = 0;
    }
    // A 112 x 30 slider at (10, 30): the track runs along rows 43..47, the large thumb's white
    // top edge lies on row 35.
    void Place(VLSlider &s)
    {
        s.SetBounds(10, 30, 112, 30);
        s.AttachFocusEvent(OnFocus);
        s.AttachChangeEvent(OnChange);
        window.Add(&s);
        Repaint();
    }
    // The thumb's centre column in the window, found from its white top edge.
    int ThumbCentre()
    {
        driver::Image picture = Picture();
        for (int x = 0; x < 240; ++x)
            if (picture.At(x, 35) == 0xFFFFFFu)
                return x + 6;
        return -1;
    }
    int ThumbAt(int position)
    {
        slider.SetPosition(position);
        slider.Repaint();
        return ThumbCentre();
    }
    VLSlider slider;
};

TEST_F(SliderTest, ThumbKeepsOffBothEndsOfTheTrackAndItsFaceKeepsTheFirstGrey)
{
    slider.SetRange(0, 10);
    Place(slider);
    EXPECT_EQ(ThumbAt(0), 10 + 7) << "6 is clamped to 7";
    EXPECT_EQ(ThumbAt(5), 10 + 56);
    EXPECT_EQ(ThumbAt(10), 10 + 105) << "106 is clamped to 105";
    EXPECT_EQ(Pixel(10 + 105 + 6, 40), 0x000000u) << "the thumb's dark right side";
    EXPECT_EQ(Pixel(30, 43), 0x000000u) << "the track's dark top";
    EXPECT_EQ(Pixel(30, 47), 0xFFFFFFu);
    // Huge ranges place the thumb without wrapping.
    ASSERT_EQ(slider.SetRange(0, INT_MAX), 1);
    EXPECT_EQ(ThumbAt(INT_MAX - 1), 10 + 105);
    EXPECT_EQ(ThumbAt(INT_MAX / 2), 10 + 55) << "just under half way";
    // The face colour follows the container at the first drawing only.
    window.SetBackgroundColor(0xFFFFFFFF);
    Repaint();
    EXPECT_EQ(Pixel(10 + 55, 40), 0xC0C0C0u);
    EXPECT_EQ(Pixel(30, 45), 0x808080u) << "two thirds of the first grey";
}

TEST_F(SliderTest, PositionChangesFireOneChangeEventAndRangesAreRefusedAsForBars)
{
    slider.AttachChangeEvent(OnChange);
    EXPECT_EQ(slider.AttachChangeEvent(nullptr), 0);
    slider.SetPosition(0);
    EXPECT_TRUE(events.empty()) << "the same position fires nothing";
    slider.SetPosition(500);
    EXPECT_EQ(events, Events{"change 100"}) << "the null callback kept the old one";
    EXPECT_EQ(slider.SetRange(-1, 5), 0);
    EXPECT_EQ(slider.SetRange(5, 5), 0);
    EXPECT_EQ(slider.SetRange(5, 10), 1);
    EXPECT_EQ(slider.GetPosition(), 100) << "not re-clamped";
    slider.DetachChangeEvent();
    slider.SetPosition(-3);
    EXPECT_EQ(slider.GetPosition(), 5);
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(SliderTest, ClickOnTheTrackJumpsTheThumbWithTheFocusEventFirstAndDragsStickAtTheEnds)
{
    slider.SetPosition(50);
    Place(slider);
    // Left of the thumb: the pointer's x maps onto the 100-pixel span from column 16.
    driver::MoveTo(handle, 40, 45);
    driver::Press();
    EXPECT_EQ(events, (Events{"focus", "change 24"}));
    EXPECT_EQ(ThumbCentre(), 10 + 30);
    driver::MoveTo(handle, 0, 45); // left of the slider
    EXPECT_EQ(slider.GetPosition(), 0);
    driver::MoveTo(handle, 239, 50); // right of it
    EXPECT_EQ(slider.GetPosition(), 100);
    driver::Release();
    events.clear();
    driver::MoveTo(handle, 60, 45);
    EXPECT_TRUE(events.empty()) << "the release ended the drag";
    // A second press on the focused slider fires no second focus event.
    driver::Click(handle, 66, 45);
    EXPECT_EQ(events, (Events{"change 50"}));
}

TEST_F(SliderTest, FocusComesByNavigationGoesToTheNextPressedWidgetAndItsCallbackMayClearTheSlider)
{
    VLPushButton button;
    button.SetBounds(10, 100, 60, 20);
    button.AttachSelectEvent(OnPush);
    window.Add(&button);
    Place(slider);
    window.NextFocus(); // the button first
    window.NextFocus();
    EXPECT_EQ(events, Events{"focus"});
    EXPECT_EQ(Pixel(10, 30), 0x000000u) << "the dotted focus frame";
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(pushes, 0) << "the slider takes no keys, nor passes them on";
    driver::Click(handle, 20, 110);
    EXPECT_EQ(Pixel(10, 30), 0xC0C0C0u) << "the frame is gone with the focus";
    slider.SetEnable(0);
    events.clear();
    window.NextFocus();
    window.NextFocus();
    driver::Click(handle, 80, 45);
    EXPECT_TRUE(events.empty()) << "a disabled slider takes neither focus nor clicks";
    // A focus callback that clears the slider ends the click.
    slider.SetEnable(1);
    slider.AttachFocusEvent(ClearOnFocus);
    driver::Click(handle, 80, 45);
    EXPECT_EQ(slider.GetPosition(), 0);
    EXPECT_EQ(slider.GetParentWindow(), nullptr);
    Repaint();
    window.RemoveAt(&button);
}

TEST_F(SliderTest, LooksOfBothThumbsRulersFocusHotAndDisabled)
{
    VLSlider ruled(1, 0), small(1, 1), plain(0, 1), disabled(1, 0), inGroup(0, 0);
    VLGroup group;
    ruled.SetBounds(5, 5, 112, 40);
    small.SetBounds(120, 5, 112, 30);
    plain.SetBounds(120, 40, 112, 20);
    disabled.SetBounds(5, 50, 112, 40);
    group.SetBounds(120, 70, 115, 80);
    inGroup.SetBounds(5, 5, 100, 40);
    ruled.SetPosition(30);
    small.SetPosition(70);
    disabled.SetEnable(0);
    disabled.SetPosition(100);
    group.SetBackgroundColor(0xFFE0E0FF);
    group.SetBackMode(1);
    window.Add(&ruled);
    window.Add(&small);
    window.Add(&plain);
    window.Add(&disabled);
    window.Add(&group);
    group.Add(&inGroup);
    Repaint();
    driver::MoveTo(handle, 5 + 36, 10); // over the ruled slider's thumb: hot
    window.NextFocus(); // the first slider takes the focus
    // A drag inside the group moves its slider.
    driver::Drag(handle, 120 + 5 + 7, 70 + 25, 120 + 5 + 60, 70 + 25);
    EXPECT_GT(inGroup.GetPosition(), 40);
    driver::MoveTo(handle, 5 + 36, 10);
    EXPECT_TRUE(Matches("slider_looks"));
    group.RemoveAt(&inGroup);
    window.Clear();
}

} // namespace
