// A window of 20 push buttons that ends as soon as its first frame is on the screen; with a count
// as its argument it first repaints the whole window that many times, each sent to the display,
// and prints the median time of one repaint in microseconds. Its twin fltk_hello.cpp does the same.
#include <vorla/VorlaLib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// Handles everything queued; the window system presents what changed once the queue is empty.
void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main(int argc, char **argv)
{
    const int repaints = argc > 1 ? std::atoi(argv[1]) : 0;
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    VLWindow window;
    if (window.CreateNewWindow("hello", 40, 40, 4 * 110 + 10, 5 * 40 + 10, 0) < 0)
        return 1;
    window.SetBackgroundColor(0xFFD4D0C8);
    std::vector<std::unique_ptr<VLPushButton>> buttons;
    for (int i = 0; i < 20; ++i) {
        buttons.push_back(std::make_unique<VLPushButton>());
        buttons.back()->SetBounds(10 + (i % 4) * 110, 10 + (i / 4) * 40, 100, 30);
        buttons.back()->SetText("Button");
        window.Add(buttons.back().get());
    }
    window.ShowWindow(1);
    Pump();
    if (repaints > 0) {
        std::vector<double> took;
        for (int i = 0; i < repaints; ++i) {
            auto start = std::chrono::steady_clock::now();
            window.UpdateWindow();
            Pump();
            took.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
        std::nth_element(took.begin(), took.begin() + repaints / 2, took.end());
        std::printf("%.1f\n", took[static_cast<size_t>(repaints / 2)]);
    }
    window.Clear();
    VorlaTerminate();
    return 0;
}
