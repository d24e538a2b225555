// An image shown in a window: drawn where it was placed, by Repaint and by the window's paint.
#include "support.h"

namespace {

class ImageInWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        ASSERT_EQ(window.CreateNewWindow("pictures", 0, 0, 64, 48, 0), 1000);
        window.SetBackgroundColor(0xFFFFFFFF);
        window.ShowWindow(1);
        driver::Pump();
        for (HWND candidate : driver::TopLevelWindows()) {
            char name[64] = "";
            GetClassNameA(candidate, name, sizeof name);
            if (std::string(name) == "VorlaWindowClass00")
                handle = candidate;
        }
        ASSERT_NE(handle, nullptr);
    }

    FreshSystem fresh;
    VLImage image;   // before the window: the window lets go of it first
    VLWindow window;
    HWND handle = nullptr;
};

} // namespace

TEST_F(ImageInWindow, RepaintAndThePaintPassShowTheBuffer)
{
    image.SetBounds(10, 5, 8, 6);
    window.Add(&image);
    image.ClearImage(0xFF0000FF);
    image.SetForegroundColor(0x00FF0000); // the top byte is never shown
    image.DrawFillRect(0, 0, 3, 2);
    image.SetVisible(0);
    image.Repaint();
    EXPECT_EQ(driver::Snapshot(handle).Count(0x0000FF, 0, 0, 64, 48), 0);

    image.SetVisible(1);
    image.Repaint();
    driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.Count(0xFF0000, 0, 0, 64, 48), 12);
    EXPECT_EQ(shot.Count(0xFF0000, 10, 5, 14, 8), 12);
    EXPECT_EQ(shot.Count(0x0000FF, 10, 5, 18, 11), 48 - 12);
    EXPECT_EQ(shot.At(9, 5), 0xFFFFFFu);
    EXPECT_EQ(shot.At(18, 10), 0xFFFFFFu);

    // Moved and painted by the window: the rows keep their order (the bitmap is bottom-up).
    image.SetPixel(7, 5);
    image.SetLocate(30, 20);
    window.UpdateWindow();
    driver::Pump();
    shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(30, 20), 0xFF0000u);
    EXPECT_EQ(shot.At(37, 25), 0xFF0000u);
    EXPECT_EQ(shot.At(36, 25), 0x0000FFu);
    EXPECT_EQ(shot.Count(0x0000FF, 0, 0, 30, 48), 0);
}
