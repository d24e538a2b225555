// The colour dialog's cost beside one full paint pass of a gallery window in the same run:
// opening the dialog up to its first complete paint, and one drag step on the HSV disc with the
// repaint it causes.
#include <vorla/VorlaLib.h>

#include "gallery_widgets.h"
#include "platform/testing/driver.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace driver = vorla::testing;

namespace {

using Clock = std::chrono::steady_clock;

// A window of the gallery's kind and size, made once (the library lives once per process).
struct Gallery {
    std::vector<VLLabel> labels = std::vector<VLLabel>(8);
    std::vector<VLPushButton> pushes = std::vector<VLPushButton>(5);
    std::vector<VLButton> toggles = std::vector<VLButton>(5);
    std::vector<VLCheckBox> checks = std::vector<VLCheckBox>(3);
    std::vector<VLRadioButton> radios = std::vector<VLRadioButton>(3);
    std::vector<VLEditBox> edits = std::vector<VLEditBox>(4);
    std::vector<VLColor> swatches = std::vector<VLColor>(4);
    VLGroup options, sizes;
    VLImage canvas;
    VLSlider slider{1, 0};
    VLProgressBar progress{1};
    // Last, so that it goes first at exit and clears the widgets while they still exist.
    VLWindow window;

    Gallery()
    {
        driver::Reset(1024, 768);
        VorlaInitialize(nullptr, nullptr);
        window.CreateNewWindow("gallery", 30, 30, 796, 532, 0);
        window.SetBackgroundColor(0xFFD4D0C8);
        AddGalleryLabels(window, labels, 60, 440);
        AddGalleryButtons(window, pushes, toggles);
        AddGalleryGroups(window, options, checks, sizes, radios);
        canvas.SetBounds(140, 366, 250, 72);
        canvas.ClearImage(0xFFFFFFFF);
        window.Add(&canvas);
        slider.SetBounds(404, 362, 186, 50);
        window.Add(&slider);
        progress.SetBounds(410, 418, 174, 16);
        progress.SetPosition(60);
        window.Add(&progress);
        for (int i = 0; i < 4; ++i) {
            edits[i].SetBounds(10 + i * 146, 466, 138, 22);
            edits[i].SetText("Type here");
            window.Add(&edits[i]);
            swatches[i].SetBounds(606 + i * 44, 40, 36, 36);
            swatches[i].SetColorHSV(i * 90, 200, 230);
            window.Add(&swatches[i]);
        }
        window.ShowWindow(1);
        driver::Pump();
    }
};

Gallery &TheGallery()
{
    static Gallery gallery;
    return gallery;
}

// Seconds per full paint pass of the gallery window, over as many passes as the benchmark ran
// iterations.
double GalleryPass(benchmark::IterationCount iterations)
{
    VLWindow &window = TheGallery().window;
    const Clock::time_point start = Clock::now();
    for (benchmark::IterationCount i = 0; i < iterations; ++i) {
        window.UpdateWindow();
        driver::Pump();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(iterations);
}

void SideBySide(benchmark::State &state, double ours)
{
    const double gallery = GalleryPass(state.iterations());
    state.counters["gallery_pass_us"] = gallery * 1e6;
    state.counters["times_gallery_pass"] = ours / gallery;
}

void DialogOpenToFirstPaint(benchmark::State &state)
{
    VLColor &swatch = TheGallery().swatches[1];
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        // The dialog is shown and painted before its loop first runs out of work.
        driver::OnIdle([&] {
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            state.SetIterationTime(seconds);
            total += seconds;
            driver::PressKey(VK_ESCAPE);
        });
        swatch.ColorDialog(0xFF3080C0);
    }
    SideBySide(state, total / static_cast<double>(state.iterations()));
}
BENCHMARK(DialogOpenToFirstPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

void DiscDragStep(benchmark::State &state)
{
    VLColor &swatch = TheGallery().swatches[2];
    double total = 0;
    driver::OnIdle([&] {
        HWND dialog = driver::ActiveWindow();
        driver::Click(dialog, 60, 70); // the HSV view
        driver::Pump();
        driver::MoveTo(dialog, 215, 95);
        driver::Press();
        driver::Pump();
        int step = 0;
        for (auto _ : state) {
            // Round the disc's middle ring: every step changes the hue and so the whole picker.
            driver::MoveTo(dialog, 215 + (step % 2 ? 40 : -40), 95 + (step % 4 < 2 ? 20 : -20));
            ++step;
            const Clock::time_point start = Clock::now();
            driver::Pump();
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            state.SetIterationTime(seconds);
            total += seconds;
        }
        driver::Release();
        driver::PressKey(VK_ESCAPE);
    });
    swatch.ColorDialog(0xFF3080C0);
    SideBySide(state, total / static_cast<double>(state.iterations()));
}
BENCHMARK(DiscDragStep)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
