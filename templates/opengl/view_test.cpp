// The triangle's window as its user sees it, on VorlaLib's headless screen: the view shows the
// frame its callback drew, the window around it keeps its colour, and hidden the view is gone.
#include "app.h"

#include <platform/testing/driver.h>

#include <gtest/gtest.h>

namespace driver = vorla::testing;

namespace {

class TriangleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver::Reset();
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        ASSERT_TRUE(app::Open());
        handle = GetActiveWindow();
        driver::Pump(); // the window's paint, then the view's
    }
    void TearDown() override { app::window.Clear(); }

    HWND handle = nullptr;
};

TEST_F(TriangleTest, TheViewShowsTheTriangleOnItsGroundUntilHidden)
{
    const int middleX = app::ViewX + app::ViewWidth / 2, middleY = app::ViewY + app::ViewHeight / 2;
    driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(middleX, middleY), 0xFF0000u);        // the triangle
    EXPECT_EQ(shot.At(app::ViewX, app::ViewY), 0x0000FFu);  // the ground in a corner
    EXPECT_EQ(shot.At(middleX, app::ViewY + 5), 0x0000FFu); // above the apex
    EXPECT_EQ(shot.At(app::ViewX - 1, middleY), 0xE8E8F0u); // the window beside it
    EXPECT_EQ(shot.At(app::ViewX + app::ViewWidth, middleY), 0xE8E8F0u);

    // Hidden, the view gives its place back to the window.
    app::view.SetVisible(0);
    driver::Pump();
    shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(middleX, middleY), 0xE8E8F0u);
}

} // namespace
