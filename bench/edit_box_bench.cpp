// One character typed into a focused 300-pixel edit box (key delivery, the box's key input, its
// drawing and the copy into the window) beside one full paint pass of a window laid out like the
// gallery, timed side by side in the same run; repeated, with medians reported.
#include <vorla/VorlaLib.h>

#include "gallery_widgets.h"
#include "platform/testing/driver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

const int width = 600, height = 532;

struct Gallery {
    // Widgets first: the window goes first at exit and clears them while they still exist.
    std::vector<VLLabel> labels = std::vector<VLLabel>(6);
    std::vector<VLPushButton> pushes = std::vector<VLPushButton>(5);
    std::vector<VLButton> toggles = std::vector<VLButton>(5);
    std::vector<VLCheckBox> checks = std::vector<VLCheckBox>(3);
    std::vector<VLRadioButton> radios = std::vector<VLRadioButton>(3);
    std::vector<VLEditBox> edits = std::vector<VLEditBox>(4);
    VLEditBox typed;
    VLGroup options, sizes;
    VLWindow window;
    HWND handle = nullptr;

    Gallery()
    {
        vorla::testing::Reset(800, 640);
        VorlaInitialize(nullptr, nullptr);
        window.CreateNewWindow("gallery", 10, 10, width, height, 0);
        window.SetBackgroundColor(0xFFD4D0C8);
        AddGalleryLabels(window, labels, 60, 388);
        AddGalleryButtons(window, pushes, toggles);
        AddGalleryGroups(window, options, checks, sizes, radios);
        const char *texts[4] = {"Type here", "12.5", "Read only", "\x93\xfa\x96\x7b\x8c\xea"};
        for (int i = 0; i < 4; ++i) {
            edits[i].SetBounds(10 + i * 146, 466, 138, 22);
            edits[i].SetText(texts[i]);
            window.Add(&edits[i]);
        }
        typed.SetBounds(10, 350, 300, 22);
        window.Add(&typed);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        vorla::testing::Click(handle, 20, 360);
        vorla::testing::Pump();
    }
};

Gallery &TheGallery()
{
    static Gallery gallery;
    return gallery;
}

void TypedCharacterAgainstPaintPass(benchmark::State &state)
{
    Gallery &g = TheGallery();
    if (g.window.GetWinID() < 0)
        state.SkipWithError("no window");
    std::chrono::duration<double> typing{0};
    int count = 0;
    for (auto _ : state) {
        // The box scrolls as it fills; it is emptied (untimed) before it reaches its limit.
        if (count == 200) {
            state.PauseTiming();
            g.typed.SetText("");
            count = 0;
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        vorla::testing::TypeText("a");
        typing += std::chrono::steady_clock::now() - start;
        ++count;
    }
    const auto paintStart = std::chrono::steady_clock::now();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
        g.window.UpdateWindow();
        vorla::testing::Pump();
    }
    const std::chrono::duration<double> painting = std::chrono::steady_clock::now() - paintStart;
    const double n = static_cast<double>(state.iterations());
    state.counters["typed_us"] = typing.count() / n * 1e6;
    state.counters["paint_pass_us"] = painting.count() / n * 1e6;
    state.counters["typed_per_paint_pass"] = typing.count() / painting.count();
}
BENCHMARK(TypedCharacterAgainstPaintPass)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
