// The FLTK twin of vorla_hello.cpp: the same window of 20 buttons, ended at its first frame, or
// repainted whole a given number of times with the median of one repaint printed.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool drawn = false;

// Double-buffered like the window it is compared with, which draws into its own framebuffer.
class HelloWindow : public Fl_Double_Window {
public:
    using Fl_Double_Window::Fl_Double_Window;
    void draw() override
    {
        Fl_Double_Window::draw();
        drawn = true;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int repaints = argc > 1 ? std::atoi(argv[1]) : 0;
    HelloWindow window(40, 40, 4 * 110 + 10, 5 * 40 + 10, "hello");
    window.color(fl_rgb_color(0xD4, 0xD0, 0xC8));
    for (int i = 0; i < 20; ++i)
        new Fl_Button(10 + (i % 4) * 110, 10 + (i / 4) * 40, 100, 30, "Button");
    window.end();
    window.show();
    // A wait returns once it has handled events, which may have damaged the window: flush then.
    while (!drawn) {
        Fl::wait(0.05);
        Fl::flush();
    }
    XSync(fl_display, False);
    if (repaints > 0) {
        std::vector<double> took;
        for (int i = 0; i < repaints; ++i) {
            auto start = std::chrono::steady_clock::now();
            window.redraw();
            Fl::flush();
            XSync(fl_display, False);
            took.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        }
        std::nth_element(took.begin(), took.begin() + repaints / 2, took.end());
        std::printf("%.1f\n", took[static_cast<size_t>(repaints / 2)]);
    }
    return 0;
}
