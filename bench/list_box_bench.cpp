// List boxes at scale: filling one with 100,000 items, and drawing, clicking and scrolling a list
// of 100,000 items beside one of 100 items in the same window, so the ratio shows whether any of
// them walks the whole list.
#include <vorla/VorlaLib.h>

#include "platform/testing/driver.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int LargeCount = 100000, SmallCount = 100;

std::vector<std::string> Texts(int count)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        texts.push_back("Item number " + std::to_string(i));
    return texts;
}

void Fill100000Items(benchmark::State &state)
{
    const std::vector<std::string> texts = Texts(LargeCount);
    for (auto _ : state) {
        VLListBox list;
        for (const std::string &text : texts)
            list.AddText(text.c_str());
        benchmark::DoNotOptimize(list.GetListSize());
    }
    state.counters["per_item_ns"] =
        benchmark::Counter(static_cast<double>(LargeCount), benchmark::Counter::kIsIterationInvariantRate |
                                                                benchmark::Counter::kInvert);
}
BENCHMARK(Fill100000Items)->Unit(benchmark::kMillisecond);

// Two lists of the same size side by side, one long and one short, both multiple selection so
// that clicks toggle and every list keeps a spread of selected items.
struct Lists {
    VLListBox large, small;
    VLWindow window;
    HWND handle = nullptr;

    Lists()
    {
        vorla::testing::Reset(800, 600);
        VorlaInitialize(nullptr, nullptr);
        window.CreateNewWindow("lists", 10, 10, 420, 320, 0);
        for (VLListBox *list : {&large, &small}) {
            list->SetBounds(list == &large ? 10 : 210, 10, 190, 290);
            list->SetMode(0x32);
            window.Add(list);
        }
        for (const std::string &text : Texts(LargeCount))
            large.AddText(text.c_str());
        for (const std::string &text : Texts(SmallCount))
            small.AddText(text.c_str());
        for (int i = 0; i < LargeCount; i += 97)
            large.SelectListIndex(i, 1);
        for (int i = 0; i < SmallCount; i += 7)
            small.SelectListIndex(i, 1);
        large.SetScrollBarTopPos(LargeCount / 2);
        small.SetScrollBarTopPos(SmallCount / 2);
        window.ShowWindow(1);
        handle = GetActiveWindow();
        vorla::testing::Pump();
    }
    ~Lists() { window.Clear(); }
};

Lists &TheLists()
{
    static Lists lists;
    return lists;
}

VLListBox &Pick(Lists &l, const benchmark::State &state) { return state.range(0) == LargeCount ? l.large : l.small; }

void DrawList(benchmark::State &state)
{
    Lists &l = TheLists();
    VLListBox &list = Pick(l, state);
    for (auto _ : state)
        list.Repaint();
}
BENCHMARK(DrawList)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMicrosecond);

// A click on a row: the press selects (and redraws), the release ends the gesture.
void ClickRow(benchmark::State &state)
{
    Lists &l = TheLists();
    const int x = state.range(0) == LargeCount ? 60 : 260;
    for (auto _ : state)
        vorla::testing::Click(l.handle, x, 40);
}
BENCHMARK(ClickRow)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMicrosecond);

// Up and Down alternately on the focused list: the selection moves and scrolls into view.
void KeyStep(benchmark::State &state)
{
    Lists &l = TheLists();
    const int x = state.range(0) == LargeCount ? 60 : 260;
    vorla::testing::Click(l.handle, x, 40);
    bool down = true;
    for (auto _ : state) {
        vorla::testing::PressKey(down ? VK_DOWN : VK_UP);
        down = !down;
    }
}
BENCHMARK(KeyStep)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMicrosecond);

// A click on the scroll bar's down button.
void ScrollStep(benchmark::State &state)
{
    Lists &l = TheLists();
    const int x = state.range(0) == LargeCount ? 10 + 190 - 8 : 210 + 190 - 8;
    VLListBox &list = Pick(l, state);
    for (auto _ : state) {
        vorla::testing::Click(l.handle, x, 10 + 290 - 8);
        if (list.GetScrollBarTopPos() > list.GetListSize() - 40)
            list.SetScrollBarTopPos(0);
    }
}
BENCHMARK(ScrollStep)->Arg(SmallCount)->Arg(LargeCount)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
