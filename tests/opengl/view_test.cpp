// OpenGL views in a window, as an application uses them: a callback that clears and draws a
// triangle, the frame reaching the window's pixels, and the widgets around it left alone.
#include <vorla/VorlaLib.h>
#include <vorla/VLImage.h>

#include "platform/testing/driver.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace driver = vorla::testing;

namespace {

int renders = 0;
float red = 1.0f;

// Blue ground and a triangle in the given red over the view's middle.
void Triangle()
{
    ++renders;
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(red, 0.0f, 0.0f);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.0f, 0.5f);
    glEnd();
}

HWND ClassWindow(const char *wanted)
{
    for (HWND candidate : driver::TopLevelWindows()) {
        char name[64] = "";
        GetClassNameA(candidate, name, sizeof name);
        if (std::string(name) == wanted)
            return candidate;
    }
    return nullptr;
}

class OpenGLView : public ::testing::Test {
protected:
    void SetUp() override
    {
        renders = 0;
        red = 1.0f;
        driver::Reset();
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        ASSERT_EQ(window.CreateNewWindow("view", 0, 0, 240, 160, 0), 1000);
        window.SetBackgroundColor(0xFFFFFFFF);
        button.SetBounds(10, 120, 80, 24);
        button.SetText("Spin");
        window.Add(&button);
        window.Add(&image);
        window.ShowWindow(1);
        driver::Pump();
        handle = ClassWindow("VorlaWindowClass00");
        ASSERT_NE(handle, nullptr);
    }
    void TearDown() override { VorlaTerminate(); }

    // The window under a client point of the host.
    HWND At(int x, int y) { return WindowFromPoint(driver::ClientPoint(handle, x, y)); }

    VLImage image;
    VLButton button;
    VLWindow window;
    HWND handle = nullptr;
};

} // namespace

TEST_F(OpenGLView, TheFrameReachesTheWindowAndTheWidgetsStay)
{
    const driver::Image before = driver::Snapshot(handle);
    ASSERT_EQ(image.AttachOpenGL(&window, Triangle), 1);
    image.SetBounds(100, 10, 120, 100);
    EXPECT_EQ(image.GetPointer(), nullptr);
    driver::Pump();
    EXPECT_EQ(renders, 1);

    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(100, 10), 0x0000FFu);   // the clear colour in the corners
    EXPECT_EQ(shot.At(219, 109), 0x0000FFu);
    EXPECT_EQ(shot.At(160, 60), 0xFF0000u);   // the triangle in the middle
    EXPECT_EQ(shot.At(160, 25), 0x0000FFu);   // above its apex
    // Around the view, pixel for pixel what was there before.
    int changed = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if ((x < 100 || x >= 220 || y < 10 || y >= 110) && shot.At(x, y) != before.At(x, y))
                ++changed;
    EXPECT_EQ(changed, 0);
}
