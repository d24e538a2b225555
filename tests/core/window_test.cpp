// Top-level windows as an application sees them: creation, modal dialogs, painting and input.
#include "support.h"

#include <algorithm>
#include <cstring>

namespace {

int Count(const std::vector<int> &codes, int code)
{
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
}

} // namespace

TEST_F(CoreTest, IdentifierAndAliveFlagFollowTheSystemWindow)
{
    VLWindow window;
    EXPECT_EQ(window.GetWinID(), -1);
    EXPECT_EQ(window.IsVisible(), 0);
    ASSERT_EQ(window.CreateNewWindow("life", 50, 60, 160, 90, 0), 1000);
    HWND handle = HandleOf(window);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(window.IsVisible(), 1);
    EXPECT_FALSE(driver::IsShown(handle)); // created hidden
    EXPECT_EQ(window.GetWindowPosition().x, 50);
    EXPECT_EQ(window.GetWindowPosition().y, 60);

    EXPECT_EQ(window.ShowWindow(1), 1);
    EXPECT_TRUE(driver::IsShown(handle));
    EXPECT_EQ(driver::ActiveWindow(), handle);

    window.AttachWindowEvent(Recorded::OnWindow);
    RECT outer;
    GetWindowRect(handle, &outer);
    driver::ClickCloseBox(handle);
    driver::Pump();
    ASSERT_FALSE(Recorded::WindowEvents().empty());
    const VLSTWindowEvent last = Recorded::WindowEvents().back();
    EXPECT_EQ(last.winID, 1000);
    EXPECT_EQ(last.event, 101);
    EXPECT_EQ(last.x, outer.left);
    EXPECT_EQ(last.y, outer.top);
    EXPECT_EQ(last.width, (outer.right - outer.left) - 6);
    EXPECT_EQ(last.height, (outer.bottom - outer.top) - 25);
    EXPECT_EQ(window.GetWinID(), -1);
    EXPECT_EQ(window.IsVisible(), 0);
    for (const driver::TimerInfo &timer : driver::Timers())
        EXPECT_NE(timer.window, handle);
}

TEST_F(CoreTest, TitleIsKeptTo127Characters)
{
    const std::string longTitle(200, 'T');
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow(longTitle.c_str(), 0, 0, 100, 50, 0), 1000);
    char text[256] = "";
    EXPECT_EQ(GetWindowTextA(HandleOf(window), text, sizeof text), 127);
    EXPECT_EQ(std::string(text), longTitle.substr(0, 127));
}

TEST_F(CoreTest, RecreatingAWindowReplacesItsSystemWindow)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow("first", 0, 0, 100, 50, 0), 1000);
    HWND first = HandleOf(window);
    window.ShowWindow(1);
    window.SetBackgroundColor(0xFF102030);

    ASSERT_EQ(window.CreateNewWindow("second", 0, 0, 120, 70, 1), 1000);
    HWND second = HandleOf(window);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_FALSE(driver::IsShown(second));
    EXPECT_EQ(window.GetBackgroundColor(), 0xFFC0C0C0ul); // back to the initial grey
    std::vector<std::string> classes = LibraryClasses();
    std::sort(classes.begin(), classes.end());
    EXPECT_EQ(classes, (std::vector<std::string>{"VorlaToolHintClass", "VorlaWindowClass00"}));
}

TEST_F(CoreTest, DialogRunsModalAndBlocksOtherWindows)
{
    VLWindow main;
    VLWindow dialog;
    ASSERT_EQ(main.CreateNewWindow("main", 10, 10, 200, 150, 0), 1000);
    main.ShowWindow(1);
    main.AttachMouseEvent(Recorded::OnMouse);
    main.AttachWindowEvent(Recorded::OnWindow);
    HWND mainHandle = HandleOf(main);
    driver::Pump();

    EXPECT_EQ(main.DoModal(), 0); // not a dialog
    ASSERT_EQ(dialog.CreateNewDialog("dialog", 300, 10, 120, 80), 1001);
    HWND dialogHandle = HandleOf(dialog);
    EXPECT_EQ(dialog.ShowWindow(1), 0);
    EXPECT_FALSE(driver::IsShown(dialogHandle));

    bool shownWhileModal = false;
    bool activeWhileModal = false;
    int paintsWhileModal = 0;
    driver::OnIdle([&] {
        shownWhileModal = driver::IsShown(dialogHandle);
        activeWhileModal = driver::ActiveWindow() == dialogHandle;
        Recorded::WindowEvents().clear();
        driver::Click(mainHandle, 20, 20);
        driver::ClickCloseBox(mainHandle);
        main.UpdateWindow();
        driver::OnIdle([&] {
            paintsWhileModal = Count(Recorded::WindowCodes(1000), 102);
            dialog.CloseWindow();
        });
    });
    EXPECT_EQ(dialog.DoModal(), 1);

    EXPECT_TRUE(shownWhileModal);
    EXPECT_TRUE(activeWhileModal);
    EXPECT_GE(paintsWhileModal, 1);
    EXPECT_TRUE(Recorded::ButtonEvents().empty()); // the clicks were swallowed
    EXPECT_TRUE(IsWindow(mainHandle));            // and so was the close box
    EXPECT_EQ(main.GetWinID(), 1000);
    EXPECT_EQ(dialog.GetWinID(), -1);
    EXPECT_FALSE(IsWindow(dialogHandle));
    EXPECT_EQ(driver::ActiveWindow(), mainHandle);
    const std::vector<std::string> classes = LibraryClasses();
    EXPECT_EQ(std::count(classes.begin(), classes.end(), "VorlaWindowClass01"), 0);

    // Input reaches the main window again (late enough not to pair with the swallowed click).
    driver::Advance(1000);
    driver::Click(mainHandle, 20, 20);
    driver::Pump();
    EXPECT_EQ(Recorded::ButtonCodes(), (std::vector<int>{300, 301}));

    // The freed slot is taken again.
    EXPECT_EQ(dialog.CreateNewDialog("again", 300, 10, 120, 80), 1001);
}

namespace {

VLWindow *modalDialog = nullptr;
int modalResult = -1;

void OpenDialogOnPress(VLWindow *, VLSTMouseEvent event)
{
    if (event.event != 300 || !modalDialog)
        return;
    modalDialog->CreateNewDialog("nested", 300, 10, 120, 80);
    modalResult = modalDialog->DoModal();
}

} // namespace

TEST_F(CoreTest, QuitMessageEndsADialogRunFromACallbackAndTheMainLoop)
{
    VLWindow main;
    VLWindow dialog;
    modalDialog = &dialog;
    ASSERT_EQ(main.CreateNewWindow("main", 10, 10, 200, 150, 0), 1000);
    main.ShowWindow(1);
    main.AttachMouseEvent(OpenDialogOnPress);
    HWND mainHandle = HandleOf(main);

    bool dialogWasShown = false;
    driver::OnIdle([&] {
        driver::Click(mainHandle, 30, 30);
        driver::OnIdle([&] {
            dialogWasShown = driver::IsShown(HandleOf(dialog));
            PostQuitMessage(0);
        });
    });
    VorlaMessageLoop(); // returns only if the quit message reached it as well
    EXPECT_TRUE(dialogWasShown);
    EXPECT_EQ(modalResult, 1);
    EXPECT_EQ(dialog.GetWinID(), -1);
    for (HWND window : driver::TopLevelWindows())
        EXPECT_NE(ClassOf(window), "VorlaWindowClass01");
    modalDialog = nullptr;
}

TEST_F(CoreTest, UpdateWindowRectIsClippedToTheClientArea)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow("update", 10, 10, 200, 100, 0), 1000);
    HWND handle = HandleOf(window);
    window.ShowWindow(1);
    driver::Pump();
    RECT client;
    GetClientRect(handle, &client);

    window.UpdateWindowRect(-5, -5, 10000, 10000);
    EXPECT_TRUE(SameRect(driver::InvalidRect(handle), client));
    driver::Pump();
    window.UpdateWindowRect(10, 20, 30, 40);
    EXPECT_TRUE(SameRect(driver::InvalidRect(handle), RECT{10, 20, 30, 40}));
    driver::Pump();
    window.UpdateWindowRect(150, 50, 300, 120);
    EXPECT_TRUE(SameRect(driver::InvalidRect(handle), RECT{150, 50, client.right, client.bottom}));
}

TEST_F(CoreTest, PaintPassFillsTheBackgroundAndReportsIt)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow("paint", 10, 10, 120, 80, 0), 1000);
    HWND handle = HandleOf(window);
    window.SetBackgroundColor(0xFF336699);
    window.AttachWindowEvent(Recorded::OnWindow);
    window.ShowWindow(1);
    driver::Pump();

    const driver::Image image = driver::Snapshot(handle);
    ASSERT_FALSE(image.Empty());
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_EQ(image.width, client.right);
    EXPECT_EQ(image.height, client.bottom);
    EXPECT_EQ(image.Count(0x336699, 0, 0, image.width, image.height), image.width * image.height);
    const int paints = Count(Recorded::WindowCodes(1000), 102);
    EXPECT_GE(paints, 1);

    // A repaint uses the colour of the moment and reports once more.
    window.SetBackgroundColor(0x00FF0000);
    window.UpdateWindow();
    driver::Pump();
    EXPECT_EQ(driver::Snapshot(handle).At(image.width - 1, image.height - 1), 0xFF0000u);
    EXPECT_EQ(Count(Recorded::WindowCodes(1000), 102), paints + 1);
    const VLSTWindowEvent last = Recorded::WindowEvents().back();
    EXPECT_EQ(last.x, 10);
    EXPECT_EQ(last.y, 10);
}

TEST_F(CoreTest, HelloLikeScreenMatchesGolden)
{
    driver::Reset(480, 320);
    VLWindow first;
    VLWindow second;
    ASSERT_EQ(first.CreateNewWindow("Hello", 20, 20, 200, 120, 1), 1000);
    ASSERT_EQ(second.CreateNewWindow("Second", 240, 40, 200, 160, 0), 1001);
    first.SetBackgroundColor(0xFF336699);
    second.SetBackgroundColor(0xFF99CC66);
    second.ShowWindow(1);
    first.ShowWindow(1);
    VLWindow dialog;
    ASSERT_EQ(dialog.CreateNewDialog("Dialog", 140, 180, 160, 80), 1002);
    dialog.SetBackgroundColor(0xFFFFFFC0);

    driver::Image screen;
    driver::OnIdle([&] {
        screen = driver::SnapshotScreen();
        dialog.CloseWindow();
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    std::string message;
    EXPECT_TRUE(driver::MatchesGolden(screen, "window_background", &message)) << message;
}

TEST_F(CoreTest, MouseButtonsReachTheCallbackWithCapture)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow("mouse", 10, 10, 200, 120, 0), 1000);
    HWND handle = HandleOf(window);
    window.ShowWindow(1);
    window.AttachMouseEvent(Recorded::OnMouse);
    driver::Pump();

    driver::MoveTo(handle, 15, 25);
    driver::Press();
    driver::Pump();
    EXPECT_EQ(driver::CaptureWindow(), handle);
    driver::Release();
    driver::Pump();
    EXPECT_EQ(driver::CaptureWindow(), nullptr);
    std::vector<VLSTMouseEvent> events = Recorded::MouseEvents();
    ASSERT_GE(events.size(), 2u);
    const VLSTMouseEvent press = events[events.size() - 2];
    const VLSTMouseEvent release = events.back();
    EXPECT_EQ(press.winID, 1000);
    EXPECT_EQ(press.event, 300);
    EXPECT_EQ(press.x, 15);
    EXPECT_EQ(press.y, 25);
    EXPECT_EQ(press.left, 1);
    EXPECT_EQ(press.right, 0);
    EXPECT_EQ(release.event, 301);
    EXPECT_EQ(release.left, 0);
}

TEST_F(CoreTest, ShowingAnotherWindowMovesTheActivation)
{
    VLWindow first;
    VLWindow second;
    ASSERT_EQ(first.CreateNewWindow("first", 10, 10, 100, 60, 0), 1000);
    ASSERT_EQ(second.CreateNewWindow("second", 200, 10, 100, 60, 0), 1001);
    first.AttachWindowEvent(Recorded::OnWindow);
    second.AttachWindowEvent(Recorded::OnWindow);
    first.ShowWindow(1);
    driver::Pump();
    Recorded::WindowEvents().clear();
    second.ShowWindow(1);
    driver::Pump();
    EXPECT_EQ(Count(Recorded::WindowCodes(1000), 105), 1);
    EXPECT_EQ(Count(Recorded::WindowCodes(1001), 104), 1);
}

TEST_F(CoreTest, KeyStateMessageBoxAndPointer)
{
    VLWindow window;
    ASSERT_EQ(window.CreateNewWindow("misc", 30, 40, 200, 120, 0), 1000);
    HWND handle = HandleOf(window);
    window.ShowWindow(1);
    driver::Pump();

    EXPECT_EQ(window.GetKeyState(0xF00003), 0);
    driver::KeyDown(VK_SHIFT);
    driver::KeyDown('A');
    driver::KeyDown(VK_F1 + 4);
    driver::Pump();
    EXPECT_EQ(window.GetKeyState(0xF00003), 1); // Shift
    EXPECT_EQ(window.GetKeyState('a'), 1);
    EXPECT_EQ(window.GetKeyState(0xF10005), 1); // F5
    EXPECT_EQ(window.GetKeyState(0xF20003), 0); // Down
    driver::KeyUp(VK_SHIFT);
    driver::Pump();
    EXPECT_EQ(window.GetKeyState(0xF00003), 0);

    window.MessageBoxA("Caption", "Some text");
    const std::vector<driver::MessageBoxRecord> boxes = driver::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, handle);
    EXPECT_EQ(boxes[0].caption, "Caption");
    EXPECT_EQ(boxes[0].text, "Some text");
    EXPECT_EQ(boxes[0].style, 0u);

    driver::MoveTo(321, 234);
    EXPECT_EQ(window.GetMousePosition().x, 321);
    EXPECT_EQ(window.GetMousePosition().y, 234);
}

TEST_F(CoreTest, WindowClosedWhileADialogRunsGivesUpItsSlot)
{
    VLWindow other;
    VLWindow dialog;
    VLWindow keeper; // its timer wakes the modal loop after the idle action
    ASSERT_EQ(other.CreateNewWindow("other", 10, 10, 100, 60, 0), 1000);
    other.ShowWindow(1);
    other.AttachWindowEvent(Recorded::OnWindow);
    ASSERT_EQ(dialog.CreateNewDialog("dialog", 200, 10, 100, 60), 1001);
    ASSERT_EQ(keeper.CreateNewWindow("keeper", 10, 200, 100, 60, 0), 1002);
    driver::OnIdle([&] {
        other.CloseWindow();
        dialog.CloseWindow();
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(other.GetWinID(), -1);
    EXPECT_EQ(other.IsVisible(), 0);
    const std::vector<int> codes = Recorded::WindowCodes(1000);
    EXPECT_EQ(Count(codes, 101), 1);
    VLWindow next;
    EXPECT_EQ(next.CreateNewWindow("next", 10, 10, 100, 60, 0), 1000);
}

TEST_F(CoreTest, CreationFlagsChooseStylesAndEveryWindowOwnsAHiddenHint)
{
    VLWindow plain, resizable, tool, dialog;
    ASSERT_EQ(plain.CreateNewWindow("plain", 0, 0, 100, 60, 0), 1000);
    ASSERT_EQ(resizable.CreateNewWindow("resizable", 0, 0, 100, 60, 1), 1001);
    ASSERT_EQ(tool.CreateNewWindow("tool", 0, 0, 100, 60, 3), 1002);
    ASSERT_EQ(dialog.CreateNewDialog("dialog", 0, 0, 100, 60), 1003);
    const DWORD fixed = 0x86C80000u;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(HandleOf(plain), GWL_STYLE)) & ~WS_VISIBLE, fixed);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(HandleOf(resizable), GWL_STYLE)) & ~WS_VISIBLE,
              0x86CE0000u);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(HandleOf(dialog), GWL_STYLE)) & ~WS_VISIBLE, fixed);
    EXPECT_EQ(GetWindowLongA(HandleOf(plain), GWL_EXSTYLE) & 0xFF, WS_EX_DLGMODALFRAME);
    EXPECT_EQ(GetWindowLongA(HandleOf(tool), GWL_EXSTYLE) & 0xFF, WS_EX_TOOLWINDOW);

    int hints = 0;
    for (HWND window : driver::TopLevelWindows()) {
        if (ClassOf(window) != "VorlaToolHintClass")
            continue;
        ++hints;
        EXPECT_FALSE(driver::IsShown(window));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~WS_VISIBLE, 0x80880000u);
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
        EXPECT_EQ(ClassOf(GetWindow(window, GW_OWNER)).rfind("VorlaWindowClass", 0), 0u);
    }
    EXPECT_EQ(hints, 4);
}
