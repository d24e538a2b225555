// An OpenGL view on Windows, through the exported interface alone: a window with a label and an
// image attached as a view whose callback clears and draws a triangle with the system's OpenGL,
// read back inside the callback and from the screen after the paint. What the system itself
// cannot do (make a context, show a child window's frame) is found out first without the library
// and reported as a skip with its reason, not as a failure of the library.
#include <vorla/VorlaLib.h>

#include <gtest/gtest.h>

#include <windows.h>

#include "pump.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class Library : public ::testing::Environment {
public:
    void SetUp() override { VorlaInitialize(nullptr, GetModuleHandleA(nullptr)); }
    void TearDown() override { VorlaTerminate(); }
};

int renders = 0;
std::string renderer;

// A window's client area as the screen shows it, 0x00RRGGBB per pixel, rows top first. The screen,
// not the window's DC: the view's frame may live in a surface of its own that only the screen
// composes with the window's.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
};

Capture CaptureClient(HWND window)
{
    Capture capture;
    RECT client;
    if (!GetClientRect(window, &client))
        return capture;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right, height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            const auto *row = static_cast<const uint32_t *>(bits);
            capture.width = width;
            capture.height = height;
            capture.pixels.assign(row, row + static_cast<size_t>(width) * height);
        }
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

// ---- what the system itself can do, asked without the library ----

PIXELFORMATDESCRIPTOR WindowFormat()
{
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 24;
    return wanted;
}

// Gives a window a pixel format and a context; the reason when it cannot.
std::string MakeContext(HWND window, HGLRC &context)
{
    context = nullptr;
    HDC dc = GetDC(window);
    const PIXELFORMATDESCRIPTOR wanted = WindowFormat();
    std::string missing;
    const int format = ChoosePixelFormat(dc, &wanted);
    if (!format)
        missing = "no double-buffered RGBA pixel format for a window";
    else if (!SetPixelFormat(dc, format, &wanted))
        missing = "the pixel format cannot be set";
    else if (!(context = wglCreateContext(dc)))
        missing = "no OpenGL context (error " + std::to_string(GetLastError()) + ")";
    ReleaseDC(window, dc);
    return missing;
}

std::string Hex(uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour));
    return text;
}

struct SystemOpenGL {
    std::string noContext;       // why no context can be made at all; empty when one can
    std::string noChildOnScreen; // why a child window's frame does not reach the screen
};

// A top-level window with a child window cleared to blue by plain WGL calls, as any program
// would, then looked at on the screen. Some systems render child windows' OpenGL where the screen
// never shows it; there the library's frame cannot be seen either, whatever it does.
SystemOpenGL AskTheSystem()
{
    SystemOpenGL answer;
    WNDCLASSA probeClass = {};
    probeClass.lpfnWndProc = DefWindowProcA;
    probeClass.hInstance = GetModuleHandleA(nullptr);
    probeClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    probeClass.lpszClassName = "VorlaAcceptanceOpenGLProbe";
    RegisterClassA(&probeClass);
    HWND top = CreateWindowExA(0, probeClass.lpszClassName, "probe", WS_POPUP | WS_CLIPCHILDREN, 500, 40, 64, 64,
                               nullptr, nullptr, probeClass.hInstance, nullptr);
    HWND child = top ? CreateWindowExA(0, probeClass.lpszClassName, "", WS_CHILD | WS_VISIBLE, 16, 16, 32, 32, top,
                                       nullptr, probeClass.hInstance, nullptr)
                     : nullptr;
    if (!child) {
        answer.noContext = answer.noChildOnScreen = "no window for the probe";
    } else {
        ShowWindow(top, SW_SHOWNOACTIVATE);
        Pump(100);
        HGLRC context = nullptr;
        answer.noContext = MakeContext(child, context);
        if (context) {
            ValidateRect(child, nullptr); // no erase of the class background after the frame
            HDC dc = GetDC(child);
            wglMakeCurrent(dc, context);
            glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            glFlush();
            SwapBuffers(dc);
            wglMakeCurrent(nullptr, nullptr);
            ReleaseDC(child, dc);
            Pump(100);
            const Capture onScreen = CaptureClient(top);
            if (onScreen.pixels.empty() || onScreen.At(32, 32) != 0x0000FF)
                answer.noChildOnScreen = "a child window's OpenGL frame does not reach the screen even when drawn "
                                         "without the library (the screen shows " +
                                         Hex(onScreen.pixels.empty() ? 0 : onScreen.At(32, 32)) +
                                         " where it was cleared to blue 0000ff)";
            wglDeleteContext(context);
        } else {
            answer.noChildOnScreen = answer.noContext;
        }
    }
    if (top)
        DestroyWindow(top);
    UnregisterClassA(probeClass.lpszClassName, probeClass.hInstance);
    return answer;
}

const SystemOpenGL &System()
{
    static const SystemOpenGL answer = AskTheSystem();
    return answer;
}

// ---- the library's view ----

constexpr uint32_t Blue = 0x0000FF, Red = 0xFF0000, Background = 0xD4D0C8, LabelColour = 0x3A5A8C;
constexpr int ViewX = 150, ViewY = 20, ViewWidth = 120, ViewHeight = 100;

// What the callback saw: its context, the viewport, and its own frame read back before the swap.
struct Seen {
    HGLRC context = nullptr;
    GLint viewport[4] = {-1, -1, -1, -1};
    uint32_t middle = 0, corner = 0, aboveApex = 0;
    int inside = 0;
} seen;

uint32_t ReadBack(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return static_cast<uint32_t>(rgba[0]) << 16 | static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
}

// Blue ground and a red triangle over the middle half of the view; then looks at what it drew.
void Triangle()
{
    ++renders;
    if (const GLubyte *name = glGetString(GL_RENDERER))
        renderer = reinterpret_cast<const char *>(name);
    seen.context = wglGetCurrentContext();
    glGetIntegerv(GL_VIEWPORT, seen.viewport);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.0f, 0.5f);
    glEnd();
    glFinish();
    // OpenGL rows count from the bottom.
    seen.middle = ReadBack(ViewWidth / 2, ViewHeight / 2);
    seen.corner = ReadBack(0, ViewHeight - 1);
    seen.aboveApex = ReadBack(ViewWidth / 2, ViewHeight - 10);
    std::vector<unsigned char> frame(static_cast<size_t>(ViewWidth) * ViewHeight * 4);
    glReadPixels(0, 0, ViewWidth, ViewHeight, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    seen.inside = 0;
    for (size_t i = 0; i < frame.size(); i += 4)
        seen.inside += frame[i] == 255 && frame[i + 1] == 0 && frame[i + 2] == 0;
}

// A window with a label and an image that becomes its OpenGL view beside the label; made once for
// the suite, since every window the system opens and closes costs time under Wine.
class OpenGLView : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        renders = 0;
        seen = Seen();
        if (!System().noContext.empty())
            return;
        window = new VLWindow;
        label = new VLLabel;
        view = new VLImage;
        if (window->CreateNewWindow(title, 40, 40, 320, 200, 0) != 1000)
            return;
        handle = FindWindowA(nullptr, title);
        window->SetBackgroundColor(0xFF000000 | Background);
        label->SetBounds(10, 150, 120, 24);
        label->SetText("Label");
        label->SetBackgroundColor(0xFF000000 | LabelColour);
        label->SetForegroundColor(0xFFFFFFFF);
        window->Add(label);
        window->Add(view);
        window->ShowWindow(1);
        Pump(300);
        before = CaptureClient(handle);
        attached = view->AttachOpenGL(window, Triangle);
        view->SetBounds(ViewX, ViewY, ViewWidth, ViewHeight);
        Pump(400);
    }
    static void TearDownTestSuite()
    {
        if (window) {
            window->Clear();
            window->CloseWindow();
            Pump(50);
        }
        delete view;
        delete label;
        delete window;
        view = nullptr;
        label = nullptr;
        window = nullptr;
    }
    void SetUp() override
    {
        if (!System().noContext.empty())
            GTEST_SKIP() << "this system has no OpenGL for windows: " << System().noContext;
        ASSERT_NE(handle, nullptr);
        ASSERT_FALSE(before.pixels.empty());
        ASSERT_EQ(attached, 1);
        ASSERT_GE(renders, 1) << "the view was never painted";
    }
    // Pixels outside the view that differ from the window before the view was attached.
    static int ChangedAround(const Capture &now)
    {
        int changed = 0;
        for (int y = 0; y < now.height; ++y)
            for (int x = 0; x < now.width; ++x) {
                const bool inView = x >= ViewX && x < ViewX + ViewWidth && y >= ViewY && y < ViewY + ViewHeight;
                changed += !inView && now.At(x, y) != before.At(x, y);
            }
        return changed;
    }

    static constexpr const char *title = "VorlaLib acceptance: OpenGL view";
    static inline VLWindow *window = nullptr;
    static inline VLLabel *label = nullptr;
    static inline VLImage *view = nullptr;
    static inline HWND handle = nullptr;
    static inline Capture before;
    static inline int attached = 0;
};

TEST_F(OpenGLView, TheCallbackDrawsWithTheViewsOwnContextAndLeavesTheWidgetsAlone)
{
    std::printf("OpenGL view rendered by %s\n", renderer.c_str());
    EXPECT_NE(seen.context, nullptr);
    // Nothing stays current once the paint is over.
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(seen.viewport[0], 0);
    EXPECT_EQ(seen.viewport[1], 0);
    EXPECT_EQ(seen.viewport[2], ViewWidth);
    EXPECT_EQ(seen.viewport[3], ViewHeight);
    EXPECT_EQ(seen.middle, Red);
    EXPECT_EQ(seen.corner, Blue);
    EXPECT_EQ(seen.aboveApex, Blue);
    // Half of a 60 x 50 triangle, give or take its edges.
    EXPECT_NEAR(seen.inside, 1500, 150);

    const Capture shot = CaptureClient(handle);
    ASSERT_EQ(shot.width, before.width);
    ASSERT_EQ(shot.height, before.height);
    EXPECT_EQ(ChangedAround(shot), 0);
    EXPECT_EQ(shot.At(12, 152), LabelColour);
    EXPECT_EQ(shot.At(ViewX - 1, 70), Background);
    EXPECT_EQ(shot.At(ViewX + ViewWidth, 70), Background);

    // Painted again when asked, with the same context.
    const HGLRC first = seen.context;
    const int painted = renders;
    view->Repaint();
    Pump(200);
    EXPECT_GT(renders, painted);
    EXPECT_EQ(seen.context, first);
}

TEST_F(OpenGLView, TheFrameReachesTheScreenAndHidingGivesThePlaceBack)
{
    if (!System().noChildOnScreen.empty())
        GTEST_SKIP() << System().noChildOnScreen;
    const Capture shot = CaptureClient(handle);
    ASSERT_EQ(shot.width, before.width);
    // The clear colour in the corners, the triangle in the middle, ground above its apex.
    EXPECT_EQ(shot.At(ViewX, ViewY), Blue);
    EXPECT_EQ(shot.At(ViewX + ViewWidth - 1, ViewY), Blue);
    EXPECT_EQ(shot.At(ViewX, ViewY + ViewHeight - 1), Blue);
    EXPECT_EQ(shot.At(ViewX + ViewWidth - 1, ViewY + ViewHeight - 1), Blue);
    EXPECT_EQ(shot.At(ViewX + ViewWidth / 2, ViewY + ViewHeight / 2), Red);
    EXPECT_EQ(shot.At(ViewX + ViewWidth / 2, ViewY + 10), Blue);
    int inside = 0;
    for (int y = ViewY; y < ViewY + ViewHeight; ++y)
        for (int x = ViewX; x < ViewX + ViewWidth; ++x)
            inside += shot.At(x, y) == Red;
    EXPECT_NEAR(inside, 1500, 150);
    EXPECT_EQ(ChangedAround(shot), 0);

    view->SetVisible(0);
    Pump(300);
    const Capture hidden = CaptureClient(handle);
    ASSERT_FALSE(hidden.pixels.empty());
    EXPECT_EQ(hidden.At(ViewX + ViewWidth / 2, ViewY + ViewHeight / 2), Background);
    EXPECT_EQ(hidden.At(ViewX, ViewY), Background);
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Library);
    return RUN_ALL_TESTS();
}
