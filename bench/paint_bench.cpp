// The paint pass of a window full of widgets (every one drawn) beside one memcpy of the window's
// framebuffer, timed in the same run.
#include <vorla/VorlaLib.h>

#include "gallery_widgets.h"
#include "platform/testing/driver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

const int width = 600, height = 330;

// The window is made once: the library is initialised once per process, and the benchmark
// function runs several times.
VLWindow &GalleryWindow()
{
    static bool made = false;
    if (!made)
        vorla::testing::Reset(800, 600);
    // Widgets first: the window goes first at exit and clears them while they still exist.
    static std::vector<VLLabel> labels(7);
    static std::vector<VLPushButton> pushes(5);
    static std::vector<VLButton> toggles(5);
    static VLWindow window;
    if (made)
        return window;
    made = true;
    VorlaInitialize(nullptr, nullptr);
    window.CreateNewWindow("paint", 10, 10, width, height, 0);
    window.SetBackgroundColor(0xFFD4D0C8);
    AddGalleryLabels(window, labels, 10, 200);
    AddGalleryButtons(window, pushes, toggles);
    pushes[2].SetEnable(0);
    window.ShowWindow(1);
    vorla::testing::Pump();
    return window;
}

void GalleryPaintPass(benchmark::State &state)
{
    VLWindow &window = GalleryWindow();
    if (window.GetWinID() < 0)
        state.SkipWithError("no window");
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        window.UpdateWindow();
        vorla::testing::Pump();
    }
    std::chrono::duration<double> ours = std::chrono::steady_clock::now() - start;

    const size_t bytes = static_cast<size_t>(width) * height * 4;
    std::vector<uint8_t> a(bytes, 1), b(bytes);
    auto plainStart = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::ClobberMemory();
    }
    std::chrono::duration<double> plain = std::chrono::steady_clock::now() - plainStart;
    state.counters["memcpy_us"] = plain.count() / static_cast<double>(state.iterations()) * 1e6;
    state.counters["times_memcpy"] = ours.count() / plain.count();
}
BENCHMARK(GalleryPaintPass)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
