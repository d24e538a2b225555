// Push buttons and image buttons as a user meets them: their looks pixel by pixel, clicks,
// cancelled presses, toggles, the keyboard, and disabled buttons.
#include "widgets_support.h"

#include <vector>

namespace {

std::vector<VLPushButton *> pushed;
std::vector<VLButton *> toggled;

void OnPush(VLPushButton *button) { pushed.push_back(button); }
void OnToggle(VLButton *button) { toggled.push_back(button); }

// The button spans L = 10, T = 10, W = 60, H = 20: R = 70, B = 30.
constexpr int L = 10, T = 10, R = 70, B = 30;

class ButtonTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        pushed.clear();
        toggled.clear();
        push.SetBounds(L, T, R - L, B - T);
        push.SetBackgroundColor(0xFFFFFFFF);
        push.AttachSelectEvent(OnPush);
        window.Add(&push);
        toggle.SetBounds(L, 60, R - L, B - T);
        toggle.AttachSelectEvent(OnToggle);
        window.Add(&toggle);
        Repaint();
    }

    VLPushButton push;
    VLButton toggle;
};

TEST_F(ButtonTest, RaisedPushButtonFrameLinesHaveTheirColours)
{
    EXPECT_EQ(Pixel(L, T), 0x787878u);         // outer frame
    EXPECT_EQ(Pixel(R, B), 0x787878u);
    EXPECT_EQ(Pixel(L + 1, T + 1), 0x000000u); // inner frame
    EXPECT_EQ(Pixel(R - 1, B - 1), 0x000000u);
    EXPECT_EQ(Pixel(L + 2, T + 5), 0xFFFFFFu); // light top and left
    EXPECT_EQ(Pixel(L + 30, T + 2), 0xFFFFFFu);
    EXPECT_EQ(Pixel(L + 30, B - 2), 0x464646u); // dark bottom and right
    EXPECT_EQ(Pixel(R - 2, T + 10), 0x464646u);
    EXPECT_EQ(Pixel(L + 30, B - 3), 0x787878u); // inner shadow
    EXPECT_EQ(Pixel(R - 3, T + 10), 0x787878u);
    EXPECT_EQ(Pixel(L + 5, T + 5), 0xFFFFFFu);  // face
    EXPECT_EQ(Pixel(R + 1, B + 1), 0xC0C0C0u);
}

TEST_F(ButtonTest, ClickSinksTheButtonAndFiresOnRelease)
{
    driver::MoveTo(handle, L + 20, T + 10);
    EXPECT_EQ(Pixel(L + 20, T + 3), 0xF3F3F3u) << "hot: the face darkened by 12";
    driver::Press();
    EXPECT_TRUE(pushed.empty());
    EXPECT_EQ(Pixel(L + 2, T + 5), 0x464646u) << "sunk: dark top and left";
    EXPECT_EQ(Pixel(L + 3, T + 5), 0x787878u);
    EXPECT_EQ(Pixel(L + 30, B - 2), 0xC0C0C0u) << "light bottom";
    EXPECT_EQ(Pixel(L + 30, B - 3), 0x787878u);
    driver::Image pressed = Picture();
    // The focus mark: dotted frame (L+6, T+6)-(R-4, B-4).
    EXPECT_EQ(pressed.At(L + 6, T + 6), 0x000000u);
    EXPECT_NE(pressed.At(L + 7, T + 6), 0x000000u);
    EXPECT_EQ(pressed.At(L + 8, T + 6), 0x000000u);
    driver::Release();
    ASSERT_EQ(pushed.size(), 1u);
    EXPECT_EQ(pushed[0], &push);
    EXPECT_EQ(Pixel(L + 20, T + 3), 0xF3F3F3u) << "hot again after the release";
    // Raised and focused: the mark at (L+5, T+5)-(R-5, B-5).
    EXPECT_EQ(Pixel(L + 5, B - 5), 0x000000u);
    EXPECT_EQ(Pixel(R - 5, B - 5), 0x000000u);

    // Leaving takes the hot look away.
    driver::MoveTo(handle, 200, 140);
    EXPECT_EQ(Pixel(L + 5, T + 8), 0xFFFFFFu);
}

TEST_F(ButtonTest, APressDraggedOffTheButtonFiresNothing)
{
    driver::MoveTo(handle, L + 20, T + 10);
    driver::Press();
    driver::MoveTo(handle, 200, 140);
    EXPECT_EQ(Pixel(L + 2, T + 5), 0xFFFFFFu) << "raised again once the pointer left";
    driver::Release();
    driver::MoveTo(handle, L + 20, T + 10);
    driver::Press();
    driver::MoveTo(handle, 200, 140);
    driver::MoveTo(handle, L + 20, T + 10);
    driver::Release();
    EXPECT_TRUE(pushed.empty()) << "coming back shows it hot, not pressed, and the release fires nothing";
}

TEST_F(ButtonTest, ImageButtonTogglesOnEveryPress)
{
    driver::Click(handle, L + 20, 70);
    ASSERT_EQ(toggled.size(), 1u);
    EXPECT_EQ(toggle.IsSelected(), 1);
    // Selected: the face darkened by 12 and 24 more, the window's grey taken as its colour.
    EXPECT_EQ(Pixel(L + 20, 65), 0x9C9C9Cu);
    EXPECT_EQ(Pixel(L, 60), 0x787878u);
    driver::Click(handle, L + 20, 70);
    EXPECT_EQ(toggled.size(), 2u);
    EXPECT_EQ(toggle.IsSelected(), 0);
    EXPECT_EQ(Pixel(L + 20, 63), 0xB4B4B4u) << "hot after the mouse press";
    // The flatter image button has no outer frame.
    driver::MoveTo(handle, 200, 140);
    Repaint();
    EXPECT_EQ(Pixel(L, 60), 0xC0C0C0u);
    EXPECT_EQ(Pixel(L + 1, 61), 0x000000u);
    EXPECT_EQ(toggle.GetBackgroundColor(), 0xFFC0C0C0u) << "the unchosen colour became the window's";
    window.SetBackgroundColor(0xFF808080);
    Repaint();
    EXPECT_EQ(Pixel(L + 20, 63), 0xC0C0C0u) << "and stays so when the window's changes";
}

TEST_F(ButtonTest, KeyboardFocusAndActivation)
{
    window.NextFocus();
    EXPECT_EQ(Pixel(L + 5, T + 5), 0x000000u) << "the focus mark of the push button";
    driver::PressKey(VK_SPACE);
    ASSERT_EQ(pushed.size(), 1u);
    driver::PressKey(VK_TAB);
    EXPECT_NE(Pixel(L + 5, T + 5), 0x000000u) << "the mark moved on";
    driver::PressKey(VK_RETURN);
    EXPECT_EQ(toggled.size(), 1u);
    EXPECT_EQ(toggle.IsSelected(), 1);
    driver::PressKey(VK_TAB);
    EXPECT_EQ(Pixel(L + 5, T + 5), 0x000000u) << "Tab wraps around";
    window.AllFocusClear();
    EXPECT_NE(Pixel(L + 5, T + 5), 0x000000u);
    driver::PressKey(VK_SPACE);
    EXPECT_EQ(pushed.size(), 1u) << "no focus, no activation";
}

TEST_F(ButtonTest, DisabledButtonsAreEngravedInTheContainersColoursAndIgnoreInput)
{
    push.SetEnable(0);
    push.SetText("W");
    toggle.SetEnable(0);
    Repaint();
    // C = 0xC0C0C0: half 0x606060, three quarters 0x909090, one and a half white.
    EXPECT_EQ(Pixel(L, T), 0x909090u);
    EXPECT_EQ(Pixel(L + 1, T + 1), 0x606060u);
    EXPECT_EQ(Pixel(L + 30, B - 2), 0x606060u);
    EXPECT_EQ(Pixel(L + 30, B - 3), 0x909090u);
    EXPECT_EQ(Pixel(L + 5, T + 5), 0xC0C0C0u) << "the container's colour, not the button's white";
    driver::Image image = Picture();
    EXPECT_GT(image.Count(0x909090, L + 20, T + 4, R - 4, B - 4), 4) << "the darker text";
    EXPECT_GT(image.Count(0xFFFFFF, L + 20, T + 5, R - 3, B - 3), 4) << "its light copy";

    driver::Click(handle, L + 20, T + 10);
    driver::Click(handle, L + 20, 70);
    window.NextFocus();
    driver::PressKey(VK_SPACE);
    EXPECT_TRUE(pushed.empty());
    EXPECT_TRUE(toggled.empty());
}

TEST_F(ButtonTest, TextAndIconPlacement)
{
    // Right-aligned without an icon: text left = L + 1 + (W - 8 - TW); the text ends 7 pixels
    // before the right edge.
    push.SetText("ab"); // 12 pixels
    push.SetAlign(3);
    push.SetForegroundColor(0xFFFF0000);
    Repaint();
    driver::Image image = Picture();
    const int textLeft = L + 1 + (60 - 8 - 12);
    EXPECT_EQ(image.Count(0xFF0000, L, T, textLeft, B), 0);
    EXPECT_GT(image.Count(0xFF0000, textLeft, T, textLeft + 12, B), 5);
    EXPECT_EQ(image.Count(0xFF0000, textLeft + 12, T, R, B), 0);
    EXPECT_EQ(push.AttachSelectEvent(nullptr), 0);
}

TEST_F(ButtonTest, EveryLookMatchesItsPicture)
{
    VLPushButton disabled, focused;
    VLButton on, offDisabled, onDisabled;
    disabled.SetBounds(90, 10, 60, 20);
    disabled.SetText("No");
    disabled.SetEnable(0);
    focused.SetBounds(160, 10, 60, 20);
    focused.SetText("Yes");
    on.SetBounds(90, 60, 60, 20);
    on.SetText("On");
    on.SetSelected(1);
    offDisabled.SetBounds(160, 60, 60, 20);
    offDisabled.SetText("Off");
    offDisabled.SetEnable(0);
    onDisabled.SetBounds(90, 100, 60, 20);
    onDisabled.SetText("On");
    onDisabled.SetSelected(1);
    onDisabled.SetEnable(0);
    push.SetText("Push");
    toggle.SetText("Toggle");
    window.Add(&disabled);
    window.Add(&focused);
    window.Add(&on);
    window.Add(&offDisabled);
    window.Add(&onDisabled);
    window.NextFocus();
    window.NextFocus(); // the second push button
    Repaint();
    Matches("button_looks");
    window.Clear();
}

} // namespace
