// Spin buttons and spin edit boxes as a user meets them: pressing, sliding and releasing halves,
// stepping by buttons, keys and a held button on the virtual clock, typing, the number's modes
// and formats, and callbacks that pull the widget away.
#include "widgets_support.h"

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;
Events events;
void OnSpinUp(VLSpin *) { events.push_back("up"); }
void OnSpinDown(VLSpin *) { events.push_back("down"); }
void OnBoxUp(VLSpinEditBox *box) { events.push_back("up " + std::to_string(box->GetValue())); }
void OnBoxDown(VLSpinEditBox *box) { events.push_back("down " + std::to_string(box->GetValue())); }
void OnBoxChange(VLSpinEditBox *box) { events.push_back("change " + std::to_string(box->GetValue())); }
void OnBoxFocus(VLSpinEditBox *) { events.push_back("focus"); }
void DeleteBox(VLSpinEditBox *box)
{
    box->GetParentWindow()->RemoveAt(box);
    delete box;
}
void ClearSpin(VLSpin *spin) { spin->GetParentWindow()->Clear(); }

class SpinTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        events.clear();
    }
    // The text the field shows, as a user copies it.
    std::string Shown(VLSpinEditBox &box)
    {
        box.CursorSelectAll();
        driver::PressKeyWith({VK_CONTROL}, 'C');
        return driver::ClipboardText();
    }
    void PlaceBox(VLSpinEditBox &box)
    {
        box.SetBounds(10, 10, 80, 21);
        box.AttachUpSelectEvent(OnBoxUp);
        box.AttachDownSelectEvent(OnBoxDown);
        box.AttachChangeEvent(OnBoxChange);
        window.Add(&box);
        Repaint();
    }
    // The box's spin: columns 72..89, rows 10..30, halves split at row 20.
    static constexpr int SpinX = 80, UpY = 14, DownY = 26;
};

TEST_F(SpinTest, HalvesFireOnReleaseOverTheSpinAndAPressedHalfStaysPressed)
{
    VLSpin spin;
    spin.SetBounds(20, 0, 18, 21);
    spin.AttachUpSelectEvent(OnSpinUp);
    spin.AttachDownSelectEvent(OnSpinDown);
    EXPECT_EQ(spin.AttachUpSelectEvent(nullptr), 0);
    window.Add(&spin);
    Repaint();
    // Row 10 is the lower half (10 >= 21 / 2), row 9 the upper.
    driver::Click(handle, 25, 10);
    driver::Click(handle, 25, 9);
    EXPECT_EQ(events, (Events{"down", "up"}));
    // Press the upper half, slide to the lower and release there: the upper half fires.
    events.clear();
    driver::MoveTo(handle, 25, 3);
    driver::Press();
    EXPECT_EQ(Pixel(20, 0), 0x0000FFu) << "the focus frame";
    EXPECT_EQ(Pixel(23, 8), 0xB4B4B4u) << "the pressed upper half's face is darkened";
    driver::MoveTo(handle, 25, 17);
    EXPECT_EQ(Pixel(23, 18), 0xC0C0C0u) << "the lower half stays raised";
    driver::Release();
    EXPECT_EQ(events, Events{"up"});
    EXPECT_EQ(Pixel(23, 8), 0xC0C0C0u);
    EXPECT_EQ(Pixel(23, 18), 0xB4B4B4u) << "released, the half under the pointer is hot";
    // Leaving cancels the press; a release outside fires nothing.
    driver::Press();
    driver::MoveTo(handle, 100, 17);
    driver::Release();
    EXPECT_EQ(events, Events{"up"});
    // A disabled spin ignores the mouse; a callback may clear the window under the spin.
    spin.SetEnable(0);
    driver::Click(handle, 25, 3);
    EXPECT_EQ(events, Events{"up"});
    spin.SetEnable(1);
    spin.AttachUpSelectEvent(ClearSpin);
    driver::Click(handle, 25, 3);
    EXPECT_EQ(spin.GetParentWindow(), nullptr);
}

TEST_F(SpinTest, LooksOfEveryStateAndTheDisabledSpin)
{
    VLSpin plain, other, pressed, spare, disabled, coloured, tall;
    VLSpin *spins[] = {&plain, &other, &pressed, &spare, &disabled, &coloured};
    for (int i = 0; i < 6; ++i) {
        spins[i]->SetBounds(10 + i * 30, 10, 18, 21);
        window.Add(spins[i]);
    }
    tall.SetBounds(10, 50, 40, 100);
    window.Add(&tall);
    disabled.SetEnable(0);
    coloured.SetBackgroundColor(0xFFFFE0A0);
    coloured.SetForegroundColor(0xFF2040C0);
    Repaint();
    driver::MoveTo(handle, 75, 12);
    driver::Press(); // the third spin's upper half is pressed, and stays so over the lower half
    driver::MoveTo(handle, 75, 25);
    EXPECT_TRUE(Matches("spin_looks"));
    driver::Release();
    window.Clear();
}

TEST_F(SpinTest, ButtonsStepTheNumberWithinTheRangeAndSelectItWithoutAChangeEvent)
{
    VLSpinEditBox box;
    PlaceBox(box);
    EXPECT_EQ(box.GetValue(), 0);
    EXPECT_EQ(Shown(box), "") << "a new field is empty";
    driver::Click(handle, SpinX, UpY);
    EXPECT_EQ(events, Events{"up 1"});
    EXPECT_EQ(Shown(box), "1");
    int start = -1, end = -1;
    driver::Click(handle, SpinX, UpY);
    box.GetCursorSelect(&start, &end);
    EXPECT_EQ(start, 0) << "the whole new number is selected";
    ASSERT_EQ(box.SetRange(0, 10), 1);
    box.SetDiffValue(3);
    EXPECT_EQ(box.SetRange(5, 4), 0);
    box.SetValue(9);
    driver::Click(handle, SpinX, UpY);
    EXPECT_EQ(box.GetValue(), 10);
    box.SetValue(1);
    driver::Click(handle, SpinX, DownY);
    EXPECT_EQ(box.GetValue(), 0);
    EXPECT_EQ(events, (Events{"up 1", "up 2", "up 10", "down 0"}));
    // The keys: Up and Down step the focused box; typing raises the change event.
    events.clear();
    driver::PressKey(VK_UP);
    driver::PressKey(VK_UP);
    driver::PressKey(VK_DOWN);
    EXPECT_EQ(events, (Events{"up 3", "up 6", "down 3"}));
    events.clear();
    driver::TypeText("7");
    EXPECT_EQ(events, Events{"change 7"}) << "the selected 3 was replaced";
    driver::TypeText("x");
    EXPECT_EQ(Shown(box), "7") << "the field takes numbers only";
    // A press on the field gives the focus too; Tab moves it on and back, selecting the number.
    VLEditBox other;
    other.SetBounds(10, 60, 80, 21);
    window.Add(&other);
    box.AttachFocusEvent(OnBoxFocus);
    driver::Click(handle, 20, 70);
    events.clear();
    driver::Click(handle, 20, 20);
    EXPECT_EQ(events, Events{"focus"});
    driver::Click(handle, 20, 70);
    window.NextFocus();
    EXPECT_EQ(events, (Events{"focus", "focus"}));
    box.GetCursorSelect(&start, &end);
    EXPECT_EQ(start, 0);
    window.RemoveAt(&other);
    // An up-select callback may remove and delete the box under the click or the key.
    for (bool byKey : {false, true}) {
        auto *doomed = new VLSpinEditBox;
        doomed->SetBounds(100, 10, 80, 21);
        doomed->AttachUpSelectEvent(DeleteBox);
        window.Add(doomed);
        driver::Click(handle, 170, byKey ? 20 : 14);
        if (byKey)
            driver::PressKey(VK_UP);
        driver::Advance(500);
    }
    Repaint();
    window.Clear();
}

TEST_F(SpinTest, AHeldButtonRepeatsFromTheFifthTickOnlyOnItsOwnHalf)
{
    VLSpinEditBox box;
    PlaceBox(box);
    driver::MoveTo(handle, SpinX, UpY);
    driver::Press();
    driver::Advance(450); // four ticks: nothing yet
    EXPECT_EQ(box.GetValue(), 0);
    driver::Advance(100);
    EXPECT_EQ(box.GetValue(), 1) << "the fifth tick steps";
    driver::Advance(300);
    EXPECT_EQ(box.GetValue(), 4);
    driver::MoveTo(handle, SpinX, DownY); // the pressed upper half does not repeat down here
    driver::Advance(300);
    EXPECT_EQ(box.GetValue(), 4);
    driver::MoveTo(handle, SpinX, UpY);
    driver::Release();
    EXPECT_EQ(box.GetValue(), 5) << "the release adds one step";
    EXPECT_EQ(events, Events{"up 5"}) << "repeats raise no events";
    driver::Advance(1000);
    EXPECT_EQ(box.GetValue(), 5) << "released, nothing repeats";
    window.Clear();
}

TEST_F(SpinTest, ModesFormatsAndHostileFormats)
{
    VLSpinEditBox box;
    PlaceBox(box);
    window.NextFocus();
    box.SetValue(7);
    ASSERT_EQ(box.SetFormat("%03d"), 1);
    EXPECT_EQ(Shown(box), "007");
    box.SetValueF(2.5);
    EXPECT_EQ(Shown(box), "2.500000") << "double mode resets the format";
    char format[8] = {};
    ASSERT_EQ(box.GetFormat(format, 7), 1);
    EXPECT_STREQ(format, "%f");
    ASSERT_EQ(box.SetFormat("%.1f"), 1);
    box.SetDiffValueF(0.25);
    driver::Click(handle, SpinX, UpY);
    EXPECT_EQ(Shown(box), "2.8");
    EXPECT_DOUBLE_EQ(box.GetValueF(), 2.8);
    box.SetRangeF(-1.5, 1.5);
    int low = 0, high = 0;
    box.GetRange(&low, &high);
    EXPECT_EQ(low, -1) << "the integer range is the truncated one";
    EXPECT_EQ(high, 1);
    driver::Click(handle, SpinX, UpY);
    EXPECT_EQ(Shown(box), "1.5");
    // Formats that would read a missing argument, a string, or write through a pointer are
    // refused; so is one of 64 characters. The field keeps what it showed.
    for (const char *bad : {"%s", "%d %d", "%*d", "%n", "%.*f", "%p", "%c", "%1000d",
                            "0123456789012345678901234567890123456789012345678901234567890123"})
        EXPECT_EQ(box.SetFormat(bad), 0) << bad;
    EXPECT_EQ(box.SetFormat(nullptr), 0);
    EXPECT_EQ(Shown(box), "1.5");
    // A conversion of the other kind shows the value converted; a long one is cut to the field.
    box.SetValue(12);
    ASSERT_EQ(box.SetFormat("%.2f"), 1);
    EXPECT_EQ(Shown(box), "12.00");
    ASSERT_EQ(box.SetFormat("%0300ld"), 1);
    EXPECT_EQ(Shown(box).size(), 255u) << "cut to what the field holds";
    ASSERT_EQ(box.SetFormat("%d%%"), 1);
    EXPECT_EQ(Shown(box).size(), 255u) << "the field takes numbers only and keeps what it showed";
    // Typed numbers past the int range read as its end.
    box.CursorSelectAll();
    driver::PressKey(VK_DELETE);
    driver::TypeText("99999999999");
    EXPECT_EQ(box.GetValue(), 2147483647);
    window.Clear();
}

TEST_F(SpinTest, BoxLooksTheTextCursorAndABoxInAGroup)
{
    VLSpinEditBox plain, focused, disabled, inGroup;
    VLGroup group;
    plain.SetBounds(10, 10, 80, 21);
    focused.SetBounds(10, 40, 100, 24);
    disabled.SetBounds(10, 75, 60, 20);
    group.SetBounds(120, 10, 110, 80);
    group.SetBackMode(1);
    group.SetBackgroundColor(0xFFE0E0FF);
    inGroup.SetBounds(10, 30, 90, 22);
    inGroup.SetSpinBackgroundColor(0xFFFFE0A0);
    inGroup.SetBackgroundColor(0xFFFFFFE0);
    plain.SetValue(42);
    focused.SetValueF(-3.25);
    focused.SetFormat("%.2f");
    disabled.SetValue(7);
    disabled.SetEnable(0);
    for (VLSpinEditBox *box : {&plain, &focused, &disabled})
        window.Add(box);
    window.Add(&group);
    group.Add(&inGroup);
    inGroup.AttachUpSelectEvent(OnBoxUp);
    Repaint();
    // The text cursor shows over the field, not over the spin part.
    driver::MoveTo(handle, 20, 20);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32513);
    driver::MoveTo(handle, 85, 20);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32512);
    // In the group the spin steps as in the window; the pointer rests on its lower half.
    driver::Click(handle, 120 + 90, 10 + 35);
    EXPECT_EQ(events, Events{"up 1"});
    driver::MoveTo(handle, 120 + 90, 10 + 48);
    window.NextFocus(); // from the box in the group round to the first box
    window.NextFocus();
    EXPECT_TRUE(Matches("spin_edit_box_looks"));
    group.RemoveAt(&inGroup);
    window.Clear();
}

} // namespace
