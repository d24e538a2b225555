// The library's lifetime: free functions, the sixteen slots and termination.
#include "support.h"

#include <algorithm>

TEST_F(CoreTest, FreeFunctionsAndLoopEndOnlyByQuitMessage)
{
    EXPECT_EQ(VorlaGetVersion(), 272);
    EXPECT_EQ(VorlaGetOS(), 10);
    EXPECT_EQ(VorlaGetEvent(), 1);

    bool survivedMessageQuit = false;
    driver::OnIdle([&] {
        VorlaMessageQuit();
        driver::OnIdle([&] {
            survivedMessageQuit = true;
            PostQuitMessage(0);
        });
    });
    VorlaMessageLoop();
    EXPECT_TRUE(survivedMessageQuit);
}

TEST_F(CoreTest, SixteenSlotsAreTakenLowestFirstAndReusedAfterClose)
{
    VLWindow windows[17];
    EXPECT_EQ(windows[0].CreateNewWindow("zero", 10, 10, 0, 100, 0), -1);
    EXPECT_EQ(windows[0].CreateNewWindow("zero", 10, 10, 100, 0, 0), -1);

    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(windows[i].CreateNewWindow("w", 10 + i, 10, 100, 60, 0), 1000 + i);
    EXPECT_EQ(windows[16].CreateNewWindow("seventeenth", 10, 10, 100, 60, 0), -1);
    EXPECT_EQ(windows[16].GetWinID(), -1);

    // Every window ticks every 100 ms with its slot as the timer identifier.
    HWND seventh = HandleOf(windows[7]);
    ASSERT_NE(seventh, nullptr);
    bool found = false;
    for (const driver::TimerInfo &timer : driver::Timers()) {
        if (timer.window == seventh) {
            found = true;
            EXPECT_EQ(timer.id, 7u);
            EXPECT_EQ(timer.interval, 100u);
        }
    }
    EXPECT_TRUE(found);

    windows[5].CloseWindow();
    driver::Pump();
    EXPECT_EQ(windows[5].GetWinID(), -1);
    EXPECT_EQ(windows[5].IsVisible(), 0);
    EXPECT_EQ(windows[16].CreateNewWindow("reuses five", 10, 10, 100, 60, 0), 1005);
    EXPECT_EQ(windows[15].GetWinID(), 1015);
}

TEST_F(CoreTest, TerminateReleasesExactlyTheUsedSlotsOnce)
{
    RunInOwnProcess([] {
        VLWindow windows[4];
        for (VLWindow &window : windows)
            ASSERT_GE(window.CreateNewWindow("w", 20, 20, 80, 50, 0), 1000);
        windows[1].Clear();
        windows[2].Clear();
        windows[0].AttachWindowEvent(Recorded::OnWindow);
        windows[3].AttachWindowEvent(Recorded::OnWindow);

        std::vector<std::string> classes = LibraryClasses();
        std::sort(classes.begin(), classes.end());
        EXPECT_EQ(classes, (std::vector<std::string>{"VorlaToolHintClass", "VorlaWindowClass00",
                                                     "VorlaWindowClass03"}));

        VorlaTerminate();
        EXPECT_TRUE(LibraryClasses().empty());
        EXPECT_TRUE(driver::TopLevelWindows().empty());
        EXPECT_TRUE(driver::Timers().empty());
        EXPECT_EQ(windows[0].GetWinID(), -1);
        EXPECT_EQ(windows[3].GetWinID(), -1);
        const std::vector<int> zero = Recorded::WindowCodes(1000);
        const std::vector<int> three = Recorded::WindowCodes(1003);
        EXPECT_NE(std::find(zero.begin(), zero.end(), 101), zero.end());
        EXPECT_NE(std::find(three.begin(), three.end(), 101), three.end());

        // Nothing happens a second time, and nothing may be created any more.
        VorlaTerminate();
        EXPECT_EQ(windows[0].CreateNewWindow("late", 20, 20, 80, 50, 0), -1);
        EXPECT_TRUE(LibraryClasses().empty());
        EXPECT_TRUE(driver::TopLevelWindows().empty());
    });
}

TEST(CoreLifetime, CallsOutsideTheLibraryLifetimeAreHarmless)
{
    RunInOwnProcess([] {
        driver::Reset();
        VLWindow early;
        EXPECT_EQ(early.CreateNewWindow("too early", 10, 10, 100, 100, 0), -1);
        EXPECT_EQ(early.ShowWindow(1), 0);
        EXPECT_EQ(early.DoModal(), 0);
        early.UpdateWindow();
        early.UpdateWindowRect(0, 0, 10, 10);
        early.BeginPaint();
        early.DrawFillRect(0, 0, 10, 10);
        early.EndPaint();
        early.EndPaint();
        early.MessageBoxA("caption", "text");
        early.CloseWindow();
        EXPECT_EQ(early.GetWindowPosition().x, 0);
        VorlaTerminate(); // before VorlaInitialize: ignored
        EXPECT_TRUE(driver::TopLevelWindows().empty());

        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        EXPECT_EQ(early.CreateNewWindow("now", 10, 10, 100, 100, 0), 1000);
        VorlaTerminate();

        // Closed by termination: every operation is a no-op on it.
        early.CloseWindow();
        early.UpdateWindow();
        early.BeginPaint();
        early.SetPixel(1, 1);
        early.EndPaint();
        EXPECT_EQ(early.DoModal(), 0);
        EXPECT_EQ(early.ShowWindow(1), 0);
        EXPECT_TRUE(driver::TopLevelWindows().empty());
        EXPECT_TRUE(driver::MessageBoxes().empty());
    });
}

// The lifetime tests rest on this: termination in the other process stays there, and what fails
// there fails the test here.
TEST_F(CoreTest, OwnProcessKeepsTerminationThereAndReportsItsFailures)
{
    RunInOwnProcess([] { VorlaTerminate(); });
    VLWindow window;
    EXPECT_EQ(window.CreateNewWindow("still running", 10, 10, 100, 60, 0), 1000);

    EXPECT_NONFATAL_FAILURE(RunInOwnProcess([] { ADD_FAILURE() << "failed over there"; }),
                            "failed over there");
    EXPECT_NONFATAL_FAILURE(RunInOwnProcess([] { std::_Exit(3); }), "exited with code 3");
}

TEST_F(CoreTest, DestroyedAndNamelessWindowsAreHarmless)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow(nullptr, 10, 10, 100, 60, 0), 1000);
    HWND handle = HandleOf(window);
    char text[8] = "x";
    EXPECT_EQ(GetWindowTextA(handle, text, sizeof text), 0);
    EXPECT_STREQ(text, "");

    window.MessageBoxA(nullptr, "text");
    window.MessageBoxA("caption", nullptr);
    EXPECT_TRUE(driver::MessageBoxes().empty());

    window.ShowWindow(1);
    driver::ClickCloseBox(handle);
    driver::Pump();
    EXPECT_FALSE(IsWindow(handle));
    window.CloseWindow();
    window.ShowWindow(1);
    window.UpdateWindow();
    window.UpdateWindowRect(-5, -5, 10000, 10000);
    window.BeginPaint();
    window.DrawLine(0, 0, 10, 10, 1);
    window.EndPaint();
    EXPECT_EQ(window.DoModal(), 0);
    EXPECT_EQ(window.GetWindowPosition().x, 0);
    EXPECT_EQ(window.GetWindowPosition().y, 0);
    window.Clear();
    EXPECT_EQ(window.GetWinID(), -1);
    EXPECT_TRUE(LibraryClasses().empty());
}
