// Check boxes, radio buttons and groups as a user meets them: clicks, keys, focus, clipping,
// inherited colours and nesting.
#include "widgets_support.h"

#include <vector>

namespace {

std::vector<int> checkStates;
int radioEvents = 0;

void OnCheck(VLCheckBox *box) { checkStates.push_back(box->IsSelected()); }
void OnRadio(VLGroup *) { ++radioEvents; }

class GroupTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        checkStates.clear();
        radioEvents = 0;
    }
    VLCheckBox check;
    VLRadioButton radios[3];
    VLGroup group, inner;
    VLLabel label;
    VLPushButton push;
};

TEST_F(GroupTest, CheckBoxTogglesOnClicksAndKeysAndReportsTheNewState)
{
    check.SetBounds(10, 10, 100, 20);
    check.SetText("Check");
    check.AttachSelectEvent(OnCheck);
    window.Add(&check);
    Repaint();
    // The mark sits at Y = T + (20 - 12) / 2 = 14: its outer top line is grey, the face white.
    EXPECT_EQ(Pixel(11, 14), 0x808080u);
    EXPECT_EQ(Pixel(15, 18), 0xFFFFFFu);
    driver::Click(handle, 15, 18);
    ASSERT_EQ(checkStates, std::vector<int>{1}) << "the callback sees the new state";
    EXPECT_EQ(Pixel(13, 16), 0x000000u) << "the cross";
    driver::PressKey(VK_SPACE);
    driver::PressKey(VK_RETURN);
    EXPECT_EQ(checkStates, (std::vector<int>{1, 0, 1}));

    // Reached by Tab, a check box reports itself without changing.
    window.AllFocusClear();
    window.NextFocus();
    EXPECT_EQ(checkStates, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(check.IsSelected(), 1);

    // A short box puts its mark one below the top; the fill reaches two pixels past the bounds.
    check.SetBounds(10, 40, 100, 13);
    check.SetSelected(0);
    Repaint();
    EXPECT_EQ(Pixel(11, 41), 0x808080u);
    EXPECT_EQ(Pixel(112, 55), 0xC0C0C0u);
    check.SetEnable(0);
    driver::Click(handle, 15, 46);
    EXPECT_EQ(check.IsSelected(), 0) << "disabled: clicks do nothing";
}

TEST_F(GroupTest, RadioButtonsKeepOneSelectedAndArrowsMoveIt)
{
    group.SetBounds(10, 10, 150, 100);
    group.SetText("Choice");
    group.AttachRadioButtonSelectEvent(OnRadio);
    for (int i = 0; i < 3; ++i) {
        radios[i].SetBounds(10, 25 + i * 20, 100, 18);
        group.Add(&radios[i]);
    }
    window.Add(&group);
    EXPECT_EQ(group.GetRadioButtonCount(), 3);
    EXPECT_EQ(group.GetRadioButton(), -1);
    radios[1].SetSelected(0); // outside a group this would do nothing; here it selects
    EXPECT_EQ(group.GetRadioButton(), 1);
    Repaint();
    radioEvents = 0;

    driver::Click(handle, 25, 40); // the first radio button, at window (20, 35)
    EXPECT_EQ(radioEvents, 1);
    EXPECT_EQ(radios[0].IsSelected(), 1);
    EXPECT_EQ(radios[1].IsSelected(), 0);
    EXPECT_EQ(group.GetRadioButton(), 0);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(group.GetRadioButton(), 1);
    driver::PressKey(VK_DOWN);
    driver::PressKey(VK_DOWN); // no wrap-around past the last
    EXPECT_EQ(group.GetRadioButton(), 2);
    driver::PressKey(VK_UP);
    EXPECT_EQ(group.GetRadioButton(), 1);
    EXPECT_EQ(group.SelectRadioButton(5), 0);
    EXPECT_EQ(group.SelectRadioButton(0), 1);
    EXPECT_EQ(group.GetRadioButton(), 0);
    Matches("group_radio");
}

TEST_F(GroupTest, ChildrenAreClippedPlacedAndColouredByTheirGroup)
{
    group.SetBounds(20, 20, 100, 60);
    group.SetMode(1);
    group.SetBackMode(1);
    group.SetBackgroundColor(0xFF808080);
    label.SetBounds(50, 30, 200, 20); // reaches far past the group's right edge
    label.SetBackMode(0);
    group.Add(&label);
    window.Add(&group);
    Repaint();
    EXPECT_EQ(Pixel(80, 55), 0x808080u) << "back mode 0 takes the group's colour";
    EXPECT_EQ(Pixel(119, 55), 0x808080u);
    EXPECT_EQ(Pixel(125, 55), 0xC0C0C0u) << "cut at the group's rectangle";
    group.Repaint();
    EXPECT_EQ(Pixel(125, 55), 0xC0C0C0u) << "also when the group repaints alone";

    group.SetVisible(0);
    label.SetBackMode(1);
    label.SetBackgroundColor(0xFF00FF00);
    label.Repaint();
    EXPECT_EQ(Pixel(80, 55), 0x808080u) << "a widget of a hidden group does not repaint";
}

TEST_F(GroupTest, NestedGroupsPlaceAndRouteTheirButtons)
{
    static int clicks = 0;
    clicks = 0;
    group.SetBounds(10, 10, 200, 120);
    group.SetText("Outer");
    inner.SetBounds(20, 30, 150, 70);
    inner.SetText("Inner");
    push.SetBounds(10, 25, 60, 20);
    push.SetText("Go");
    push.AttachSelectEvent([](VLPushButton *) { ++clicks; });
    inner.Add(&push);
    group.Add(&inner);
    window.Add(&group);
    Repaint();
    // The button's window position adds both groups' positions: (10 + 20 + 10, 10 + 30 + 25).
    EXPECT_EQ(Pixel(40, 65), 0x787878u);
    EXPECT_EQ(Pixel(100, 85), 0x787878u);
    driver::Click(handle, 60, 75);
    EXPECT_EQ(clicks, 1);
    // Pressed, then the pointer leaves the groups: the button returns to normal.
    driver::MoveTo(handle, 60, 75);
    driver::Press();
    driver::MoveTo(handle, 230, 150);
    driver::Release();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Pixel(42, 70), 0xFFFFFFu) << "raised again";

    // Clearing the outer group clears everything inside, nested groups included.
    group.Clear();
    char text[8] = "x";
    push.GetText(text, 7);
    EXPECT_STREQ(text, "");
    inner.GetText(text, 7);
    EXPECT_STREQ(text, "");
}

TEST_F(GroupTest, TitleFrameAndTitlePatch)
{
    group.SetBounds(10, 10, 120, 50);
    group.SetBackMode(0);
    window.Add(&group);
    Repaint();
    EXPECT_EQ(Pixel(10, 20), 0x1C1C80u) << "the frame's top runs through the title band";
    EXPECT_EQ(Pixel(11, 21), 0xFFFFFFu);
    EXPECT_EQ(Pixel(18, 20), 0xC0C0C0u) << "an empty title still gets its patch";
    EXPECT_EQ(Pixel(26, 20), 0xC0C0C0u);
    EXPECT_EQ(Pixel(27, 20), 0x1C1C80u);
}

} // namespace

namespace {

VLLabel *statusLabel = nullptr;
void ReportInStatus(VLGroup *)
{
    statusLabel->SetBackgroundColor(0xFF0000FF);
    statusLabel->Repaint();
}

TEST_F(GroupTest, CallbacksFromInsideAGroupDrawOutsideIt)
{
    group.SetBounds(10, 10, 100, 60);
    radios[0].SetBounds(10, 20, 80, 18);
    group.Add(&radios[0]);
    group.AttachRadioButtonSelectEvent(ReportInStatus);
    label.SetBounds(10, 100, 100, 20);
    statusLabel = &label;
    window.Add(&group);
    window.Add(&label);
    Repaint();
    driver::Click(handle, 25, 38);
    EXPECT_EQ(radios[0].IsSelected(), 1);
    EXPECT_EQ(Pixel(50, 110), 0x0000FFu) << "the group's clip is not in force in its callbacks";
}

} // namespace
