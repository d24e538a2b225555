// The window's events as an application receives them: keys with their codes and modifier
// words, mouse records, the timer, activation and the cursor shape at every mouse event.
#include "support.h"

namespace {

std::vector<VLSTKeyEvent> keys;
std::vector<uint64_t> tickTimes;

void OnKey(VLWindow *, VLSTKeyEvent event)
{
    keys.push_back(event);
}

void OnTick(VLWindow *)
{
    tickTimes.push_back(driver::Now());
}

void ChooseTextCursor(VLWindow *window, VLSTMouseEvent)
{
    window->SetCursor(3);
}

class EventTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        keys.clear();
        tickTimes.clear();
        ASSERT_EQ(window.CreateNewWindow("events", 20, 20, 200, 120, 0), 1000);
        handle = HandleOf(window);
        window.ShowWindow(1);
        window.AttachKeyEvent(OnKey);
        window.AttachMouseEvent(Recorded::OnMouse);
        window.AttachWindowEvent(Recorded::OnWindow);
        driver::Pump();
        Recorded::WindowEvents().clear();
    }

    VLWindow window;
    HWND handle = nullptr;
};

} // namespace

TEST_F(EventTest, LettersArriveOnceAsCharactersAndKeyUpsNeverReachTheCallback)
{
    driver::PressKey('A');
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].winID, 1000);
    EXPECT_EQ(keys[0].event, 201);
    EXPECT_EQ(keys[0].key, 0x61);
    EXPECT_EQ(keys[0].modifiers, 0x10000000); // Num Lock off, nothing held

    keys.clear();
    driver::SetToggle(VK_NUMLOCK, true);
    driver::PressKeyWith({VK_SHIFT}, 'A');
    // Shift itself is a table key (0xF00003); then the capital.
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key, 0xF00003);
    EXPECT_EQ(keys[1].key, 0x41);
    EXPECT_EQ(keys[1].modifiers, 0x30800000);

    keys.clear();
    driver::SetToggle(VK_NUMLOCK, false);
    driver::SetToggle(VK_CAPITAL, true);
    driver::SetToggle(VK_SCROLL, true);
    driver::PressKeyWith({VK_CONTROL}, 'C');
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].key, 3); // the control character
    EXPECT_EQ(static_cast<unsigned>(keys[1].modifiers), 0xD0400000u);
}

TEST_F(EventTest, TableKeysUseLibraryCodesInTheirOwnOrder)
{
    const int pressed[] = {VK_F1 + 4, VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP, VK_NUMPAD0 + 7, VK_DELETE, VK_HOME, 0xF0};
    const int expected[] = {0xF10005, 0xF20003, 0xF20000, 0xF20001, 0xF20002, 0xF30007, 0xF00007, 0xF0000B, 0xF00004};
    for (int key : pressed)
        driver::KeyDown(key);
    std::vector<int> codes;
    for (const VLSTKeyEvent &event : keys)
        if (event.key >= 0xF00000)
            codes.push_back(event.key);
    EXPECT_EQ(codes, std::vector<int>(std::begin(expected), std::end(expected)));
    // The numeric pad's character follows its key code.
    EXPECT_EQ(keys.size(), codes.size() + 1);
    for (int key : pressed)
        driver::KeyUp(key);
    EXPECT_EQ(keys.size(), codes.size() + 1); // key-ups stay away from the callback
}

TEST_F(EventTest, FoldedTabAndEscapeAreDroppedWhole)
{
    driver::KeyDown(VK_TAB, 2);
    driver::KeyUp(VK_TAB);
    driver::KeyDown(VK_ESCAPE, 3);
    driver::KeyUp(VK_ESCAPE);
    // Only the characters of the two keys arrive; the window is still there.
    std::vector<int> got;
    for (const VLSTKeyEvent &event : keys)
        got.push_back(event.key);
    EXPECT_EQ(got, (std::vector<int>{9, 27}));
    EXPECT_EQ(window.GetWinID(), 1000);

    keys.clear();
    driver::PressKey(VK_TAB);
    ASSERT_GE(keys.size(), 1u);
    EXPECT_EQ(keys[0].key, 0xF00005);
}

TEST_F(EventTest, EscapeDestroysTheWindowAndEndsADialog)
{
    driver::PressKey(VK_ESCAPE);
    // Losing the activation (105) comes first, as the system deactivates a window it destroys.
    EXPECT_EQ(Recorded::WindowCodes(1000), (std::vector<int>{105, 101}));
    EXPECT_EQ(window.GetWinID(), -1);
    EXPECT_FALSE(IsWindow(handle));
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys[0].key, 0xF00000); // the callback still hears the key that closed it

    VLWindow dialog;
    ASSERT_EQ(dialog.CreateNewDialog("dialog", 50, 50, 100, 60), 1000); // the closed window's slot
    dialog.AttachWindowEvent(Recorded::OnWindow);
    Recorded::WindowEvents().clear();
    driver::OnIdle([] { driver::PressKey(VK_ESCAPE); });
    EXPECT_EQ(dialog.DoModal(), 1);
    const std::vector<int> codes = Recorded::WindowCodes(1000);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 101);
    EXPECT_EQ(dialog.GetWinID(), -1);
}

TEST_F(EventTest, DoubleClicksAndButtonFieldsForBothButtons)
{
    driver::DoubleClick(handle, 30, 40, driver::Button::Right);
    const std::vector<VLSTMouseEvent> events = Recorded::ButtonEvents();
    ASSERT_EQ(Recorded::ButtonCodes(), (std::vector<int>{300, 301, 300, 303, 301}));
    EXPECT_EQ(events[0].right, 1);
    EXPECT_EQ(events[0].left, 0);
    EXPECT_EQ(events[3].right, 1);
    EXPECT_EQ(events[3].x, 30);
    EXPECT_EQ(events[3].y, 40);
    EXPECT_EQ(events[4].right, 0);
    for (const VLSTMouseEvent &event : events) {
        EXPECT_EQ(event.middle, 0);
        EXPECT_EQ(event.reserved1, 0);
        for (int reserved : event.reserved2)
            EXPECT_EQ(reserved, 0);
    }
    // Positions are signed: a drag out to the left of the window stays negative under capture.
    Recorded::MouseEvents().clear();
    driver::Advance(1000);
    driver::MoveTo(handle, 10, 10);
    driver::Press();
    driver::MoveTo(handle, -5, -7);
    driver::Release();
    ASSERT_FALSE(Recorded::MouseEvents().empty());
    EXPECT_EQ(Recorded::MouseEvents().back().x, -5);
    EXPECT_EQ(Recorded::MouseEvents().back().y, -7);
}

TEST_F(EventTest, DeactivationReleasesTheCaptureAndTheWindowEventsCarryTheFrame)
{
    driver::MoveTo(handle, 10, 10);
    driver::Press();
    EXPECT_EQ(driver::CaptureWindow(), handle);

    VLWindow other;
    ASSERT_EQ(other.CreateNewWindow("other", 300, 20, 100, 60, 0), 1001);
    other.ShowWindow(1);
    EXPECT_EQ(driver::CaptureWindow(), nullptr);
    driver::Release();
    const std::vector<VLSTWindowEvent> &events = Recorded::WindowEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0].event, 105);
    EXPECT_EQ(events[0].x, 20);
    EXPECT_EQ(events[0].y, 20);
    EXPECT_EQ(events[0].width, 200);
    EXPECT_EQ(events[0].height, 120 - 1); // the frame counts two borders, creation one

    // Attaching a window callback asks for a paint: event 102 follows.
    Recorded::WindowEvents().clear();
    other.AttachWindowEvent(Recorded::OnWindow);
    driver::Pump();
    EXPECT_EQ(Recorded::WindowCodes(1001), (std::vector<int>{102}));
}

TEST_F(EventTest, TimerTicksEveryHundredMillisecondsUnlessInputIsDisabled)
{
    const uint64_t start = driver::Now();
    window.AttachTimerEvent(OnTick);
    driver::Advance(350);
    ASSERT_EQ(tickTimes.size(), 3u);
    EXPECT_EQ(tickTimes[0] - start, 100u);
    EXPECT_EQ(tickTimes[1] - start, 200u);
    EXPECT_EQ(tickTimes[2] - start, 300u);

    // While a dialog runs modal the window still paints but its timer callback does not run.
    tickTimes.clear();
    VLWindow dialog;
    ASSERT_EQ(dialog.CreateNewDialog("dialog", 300, 20, 100, 60), 1001);
    dialog.AttachTimerEvent(Recorded::OnTimer);
    int paints = 0;
    driver::OnIdle([&] {
        window.UpdateWindow();
        driver::Advance(1000); // inside the modal loop
        for (const VLSTWindowEvent &event : Recorded::WindowEvents())
            paints += event.winID == 1000 && event.event == 102;
        dialog.CloseWindow();
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_GE(paints, 1);
    EXPECT_TRUE(tickTimes.empty());
    EXPECT_GE(Recorded::Ticks(), 9);

    driver::Advance(100); // and it runs again afterwards
    EXPECT_EQ(tickTimes.size(), 1u);

    // Detached, it stays quiet; a null callback attaches nothing.
    window.DetachTimerEvent();
    EXPECT_EQ(window.AttachTimerEvent(nullptr), 0);
    driver::Advance(300);
    EXPECT_EQ(tickTimes.size(), 1u);
}

TEST_F(EventTest, EveryMouseEventAppliesTheCursorShape)
{
    driver::MoveTo(handle, 50, 50);
    EXPECT_EQ(window.GetCursor(), 1);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32512); // the arrow

    // A shape chosen in the mouse callback is shown at once.
    window.AttachMouseEvent(ChooseTextCursor);
    driver::MoveTo(handle, 60, 50);
    EXPECT_EQ(window.GetCursor(), 3);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32513);

    // An id the table does not have leaves the last shape.
    window.DetachMouseEvent();
    window.SetCursor(77);
    driver::MoveTo(handle, 70, 50);
    EXPECT_EQ(driver::ShownCursor().system_shape, 32512);
}
