// OpenGL views in a window, as an application uses them: a callback that clears and draws a
// triangle, the frame reaching the window's pixels, and the widgets around it left alone.
#include <vorla/VorlaLib.h>
#include <vorla/VLImage.h>

#include "platform/testing/driver.h"
#include "own_process.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace driver = vorla::testing;

namespace {

int renders = 0;
float red = 1.0f;
std::function<void()> during; // runs inside the callback, after drawing

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
    if (during)
        during();
}

void Green()
{
    ++renders;
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
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
        during = nullptr;
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
    void TearDown() override { during = nullptr; }

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
    std::string message;
    EXPECT_TRUE(driver::MatchesGolden(shot, "opengl_view", &message)) << message;
}

TEST_F(OpenGLView, EachPaintRunsTheCallbackOnceAndShowsItsFrameOnlyAfterIt)
{
    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    driver::Pump();
    ASSERT_EQ(renders, 1);

    // The second frame is drawn into the back buffer: while the callback runs, the window still
    // shows the first.
    uint32_t seenDuring = 0;
    during = [&] { seenDuring = driver::Snapshot(handle).At(160, 60); };
    red = 0.5f;
    image.Repaint();
    image.Repaint(); // one paint for both
    driver::Pump();
    EXPECT_EQ(renders, 2);
    EXPECT_EQ(seenDuring, 0xFF0000u);
    const uint32_t shown = driver::Snapshot(handle).At(160, 60);
    EXPECT_TRUE(shown == 0x7F0000u || shown == 0x800000u) << std::hex << shown;

    // The host painting again neither runs the callback nor paints over the view.
    during = nullptr;
    window.UpdateWindow();
    driver::Pump();
    EXPECT_EQ(renders, 2);
    EXPECT_EQ(driver::Snapshot(handle).At(160, 60), shown);
    EXPECT_EQ(wglGetCurrentContext(), nullptr); // nothing stays current after a paint
}

TEST_F(OpenGLView, TheViewIsAChildWindowWhereTheImageIsAndRefusesPixelWork)
{
    EXPECT_EQ(image.AttachOpenGL(static_cast<VLWindow *>(nullptr), Triangle), 0);
    VLGroup loose;
    EXPECT_EQ(image.AttachOpenGL(&loose, Triangle), 0); // a group not yet in a window
    image.SetBounds(100, 10, 120, 100);
    EXPECT_NE(image.GetPointer(), nullptr); // still a pixel image
    EXPECT_EQ(At(150, 50), handle);

    ASSERT_EQ(image.AttachOpenGL(&window, Triangle), 1);
    EXPECT_EQ(image.GetPointer(), nullptr);
    EXPECT_EQ(image.GetLineBytes(), 0);
    int w = 0, h = 0;
    EXPECT_EQ(image.GetImageSize("/dev/null", &w, &h), 0);
    EXPECT_EQ(image.LoadImageA("/dev/null", 0, 0, 1, 1, 0, 0), 0);

    // No size, no child window; a size builds it at the image's place.
    image.SetBounds(100, 10, 0, 100);
    driver::Pump();
    EXPECT_EQ(At(150, 50), handle);
    EXPECT_EQ(renders, 0);
    image.SetBounds(10, 10, 200, 100);
    HWND view = At(20, 20);
    ASSERT_NE(view, handle);
    RECT box;
    GetWindowRect(view, &box);
    POINT corner = {box.left, box.top};
    ScreenToClient(handle, &corner);
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 10);
    EXPECT_EQ(box.right - box.left, 200);
    EXPECT_EQ(box.bottom - box.top, 100);
    char name[64] = "";
    GetClassNameA(view, name, sizeof name);
    EXPECT_STREQ(name, "VorlaOpenGLWindow");
    EXPECT_EQ(GetParent(view), handle);
    EXPECT_EQ(driver::LiveOpenGLContexts(), 1u);

    // Sizes no context can have make no view, and nothing breaks.
    image.SetBounds(0, 0, INT_MAX, INT_MAX);
    driver::Pump();
    image.SetBounds(INT_MAX, INT_MIN, 40, 40);
    driver::Pump();
    EXPECT_LE(driver::LiveOpenGLContexts(), 1u);
}

TEST_F(OpenGLView, TeardownLeavesNoContextOrWindowAndTheHostPaintsTheArea)
{
    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    driver::Pump();
    ASSERT_EQ(driver::Snapshot(handle).At(160, 60), 0xFF0000u);

    image.Clear();
    driver::Pump();
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);
    EXPECT_EQ(At(160, 60), handle);
    EXPECT_EQ(driver::Snapshot(handle).Count(0xFFFFFF, 100, 10, 220, 110), 120 * 100);

    // A view whose host window goes first, then an image deleted with its view up.
    auto *other = new VLImage;
    window.Add(other);
    other->AttachOpenGL(&window, Green);
    other->SetBounds(0, 0, 50, 50);
    driver::Pump();
    EXPECT_EQ(driver::LiveOpenGLContexts(), 1u);
    window.RemoveAt(other);
    delete other;
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);

    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    driver::Pump();
    window.Clear();
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);

    // The end of the library takes the views' window class with it.
    RunInOwnProcess([&] {
        image.AttachOpenGL(&window, Triangle);
        ASSERT_EQ(window.CreateNewWindow("again", 0, 0, 100, 100, 0), 1000);
        image.SetBounds(10, 10, 20, 20);
        VorlaTerminate();
        EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);
        for (const std::string &name : driver::RegisteredClasses())
            EXPECT_NE(name, "VorlaOpenGLWindow");
    });
}

TEST_F(OpenGLView, TwoViewsEachRenderTheirOwnImage)
{
    VLImage second;
    window.Add(&second);
    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    second.AttachOpenGL(&window, Green);
    second.SetBounds(10, 10, 60, 60);
    VLImage blank; // no callback: a view that draws nothing shows nothing of its own
    window.Add(&blank);
    blank.AttachOpenGL(&window, nullptr);
    blank.SetBounds(10, 80, 30, 30);
    driver::Pump();
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(160, 60), 0xFF0000u);
    EXPECT_EQ(shot.Count(0x00FF00, 10, 10, 70, 70), 60 * 60);
    EXPECT_EQ(shot.Count(0xFFFFFF, 10, 80, 40, 110), 30 * 30);
    EXPECT_EQ(renders, 2);
    window.RemoveAt(&second);
    window.RemoveAt(&blank);
}

TEST_F(OpenGLView, AHiddenImageHidesItsViewAndAMovedOneTakesItAlong)
{
    VLGroup group;
    group.SetBounds(90, 0, 140, 115);
    window.Add(&group);
    window.RemoveAt(&image); // the view lives in the group
    group.Add(&image);
    image.AttachOpenGL(&group, Triangle);
    image.SetBounds(10, 10, 120, 100); // in the group: (100, 10) in the window
    driver::Pump();
    EXPECT_EQ(driver::Snapshot(handle).At(160, 60), 0xFF0000u);

    image.SetVisible(0);
    driver::Pump();
    EXPECT_EQ(At(160, 60), handle);
    EXPECT_NE(driver::Snapshot(handle).At(160, 60), 0xFF0000u);
    image.SetVisible(1);
    driver::Pump();
    EXPECT_EQ(driver::Snapshot(handle).At(160, 60), 0xFF0000u);

    group.SetVisible(0);
    window.UpdateWindow();
    driver::Pump();
    EXPECT_EQ(At(160, 60), handle);
    group.SetVisible(1);
    window.UpdateWindow();
    driver::Pump();
    EXPECT_NE(At(160, 60), handle);

    group.SetLocate(0, 0); // the view follows: (10, 10) in the window
    driver::Pump();
    const driver::Image shot = driver::Snapshot(handle);
    EXPECT_EQ(shot.At(70, 60), 0xFF0000u);
    EXPECT_EQ(shot.At(215, 100), 0xFFFFFFu);
    window.RemoveAt(&group);
}

TEST_F(OpenGLView, CallbacksMayEndTheImageOrTheWindow)
{
    // Deleting the image, clearing it, rebuilding it or clearing the window from inside the
    // callback: the frame is dropped and nothing is left current or alive.
    auto *doomed = new VLImage;
    window.Add(doomed);
    during = [&] {
        window.RemoveAt(doomed);
        delete doomed;
        doomed = nullptr;
    };
    doomed->AttachOpenGL(&window, Triangle);
    doomed->SetBounds(100, 10, 120, 100);
    driver::Pump();
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);

    during = [&] { image.Clear(); };
    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    driver::Pump();
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);

    window.RemoveAt(&image); // a cleared image is no longer linked to its window
    window.Add(&image);
    int rebuilt = 0;
    during = [&] {
        if (rebuilt++ == 0)
            image.SetBounds(20, 20, 60, 60);
    };
    image.AttachOpenGL(&window, Triangle);
    image.SetBounds(100, 10, 120, 100);
    driver::Pump();
    EXPECT_EQ(driver::LiveOpenGLContexts(), 1u);
    EXPECT_EQ(driver::Snapshot(handle).At(50, 50), 0xFF0000u); // the rebuilt view rendered

    during = [&] { window.Clear(); };
    const int before = renders;
    image.Repaint();
    driver::Pump();
    EXPECT_EQ(renders, before + 1);
    EXPECT_EQ(driver::LiveOpenGLContexts(), 0u);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}
