// The OpenGL example's view at 320 x 240 through Mesa's off-screen renderer: a whole frame as the
// library makes it (Repaint, the paint delivered, the callback, flush and swap) beside the same
// cube rendered into a plain context of our own, and beside the swap alone (the copy of a frame
// into the window's framebuffer), each timed in alternation inside one benchmark so a busy
// machine slows all alike. Mesa's rasterizer runs in the calling thread (LP_NUM_THREADS=0), so
// thread CPU time holds all of its work.
#include <vorla/VorlaLib.h>

#include "../examples/opengl/cube.h"
#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "thread_time.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

long long frame = 0;

void RenderCube() { cube::Render(frame, Width, Height); }

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

// The example's window: the library's view at (10, 10) and, beside it, a child window of our
// own with a context the benchmark renders and swaps by hand.
struct Scene {
    VLWindow window;
    VLImage view;
    HWND plain = nullptr;
    HDC plainContext = nullptr;
    HGLRC plainRendering = nullptr;
    bool ready = false;
    std::string renderer;

    Scene()
    {
        vorla::testing::Reset(800, 400);
        VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
        if (window.CreateNewWindow("bench", 0, 0, 2 * Width + 30, Height + 20, 0) < 0)
            return;
        window.Add(&view);
        view.AttachOpenGL(&window, RenderCube);
        view.SetBounds(10, 10, Width, Height);
        window.ShowWindow(1);
        vorla::testing::Pump();

        HWND host = nullptr;
        for (HWND candidate : vorla::testing::TopLevelWindows()) {
            char name[64] = "";
            GetClassNameA(candidate, name, sizeof name);
            if (std::string(name) == "VorlaWindowClass00")
                host = candidate;
        }
        WNDCLASSEXA plainClass = {};
        plainClass.cbSize = sizeof plainClass;
        plainClass.lpfnWndProc = PlainProcedure;
        plainClass.hInstance = GetModuleHandleA(nullptr);
        plainClass.lpszClassName = "BenchPlainView";
        if (!host || !RegisterClassExA(&plainClass))
            return;
        plain = CreateWindowExA(0, "BenchPlainView", "", WS_CHILD | WS_VISIBLE, Width + 20, 10, Width, Height, host,
                                nullptr, nullptr, nullptr);
        plainContext = plain ? GetDC(plain) : nullptr;
        PIXELFORMATDESCRIPTOR wanted = {};
        wanted.nSize = sizeof wanted;
        wanted.nVersion = 1;
        wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        wanted.cColorBits = 24;
        wanted.cDepthBits = 32;
        const int format = plainContext ? ChoosePixelFormat(plainContext, &wanted) : 0;
        if (format && SetPixelFormat(plainContext, format, &wanted))
            plainRendering = wglCreateContext(plainContext);
        ready = plainRendering != nullptr && wglMakeCurrent(plainContext, plainRendering);
        if (!ready)
            return;
        if (const GLubyte *name = glGetString(GL_RENDERER))
            renderer = reinterpret_cast<const char *>(name);
        wglMakeCurrent(plainContext, nullptr);
    }

    // A frame as the example makes it: the view invalidated, its paint delivered.
    void LibraryFrame()
    {
        view.Repaint();
        vorla::testing::Pump();
    }
    // The same cube rendered and finished in our own context, not shown.
    void Render()
    {
        wglMakeCurrent(plainContext, plainRendering);
        cube::Render(frame, Width, Height);
        glFinish();
        wglMakeCurrent(plainContext, nullptr);
    }
    // The rendered frame copied into the window's framebuffer.
    void Swap() { SwapBuffers(plainContext); }
};

Scene &TheScene()
{
    static Scene *scene = new Scene; // lives until the process ends, like the example's window
    return *scene;
}

void Frame320x240(benchmark::State &state)
{
    Scene &scene = TheScene();
    if (!scene.ready) {
        state.SkipWithError("no OpenGL context (is libOSMesa installed?)");
        return;
    }
    state.SetLabel(scene.renderer);
    int frames = 0;
    scene.LibraryFrame(); // the contexts' first frames compile their shaders
    scene.Render();
    double frameSeconds = 0, renderSeconds = 0, swapSeconds = 0;
    for (auto _ : state) {
        ++frame;
        double start = ThreadSeconds();
        scene.LibraryFrame();
        double took = ThreadSeconds() - start;
        state.SetIterationTime(took);
        frameSeconds += took;
        start = ThreadSeconds();
        scene.Render();
        renderSeconds += ThreadSeconds() - start;
        start = ThreadSeconds();
        scene.Swap();
        swapSeconds += ThreadSeconds() - start;
        ++frames;
    }
    const double n = frames > 0 ? frames : 1;
    state.counters["frame_us"] = frameSeconds / n * 1e6;
    state.counters["fps"] = frameSeconds > 0 ? n / frameSeconds : 0;
    state.counters["render_us"] = renderSeconds / n * 1e6;
    state.counters["swap_us"] = swapSeconds / n * 1e6;
    // What showing a frame costs on top of rendering it, and what the library's path as a whole
    // (message, paint, making current, swap) adds to the rendering.
    state.counters["swap_over_render"] = renderSeconds > 0 ? swapSeconds / renderSeconds : 0;
    state.counters["frame_over_render"] = renderSeconds > 0 ? frameSeconds / renderSeconds : 0;
}
BENCHMARK(Frame320x240)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("LP_NUM_THREADS", "0", 0); // before the first context starts Mesa's rasterizer threads
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
