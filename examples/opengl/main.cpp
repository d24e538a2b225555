// An OpenGL view among the toolkit's widgets: a coloured cube turns one step on every tick of the
// window's timer, a button pauses and resumes it and a label counts the frames. The picture
// depends only on the frame count, so the headless screen and a desktop show the same frames.
//   opengl [--frames N]   stop turning after N frames and print "frame N"
// Escape or closing the window ends the program.
#include <vorla/VorlaLib.h>

#include "cube.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int ViewWidth = 320;
constexpr int ViewHeight = 240;

VLWindow window;
VLImage view;
VLPushButton pauseButton;
VLLabel counter;

long long frame = 0;
long long lastFrame = -1; // -1: turn until paused
bool running = false;

void Render() { cube::Render(frame, ViewWidth, ViewHeight); }

void ShowCount()
{
    char text[64];
    std::snprintf(text, sizeof text, "frame %lld, angle %d", frame, cube::Turn(frame));
    counter.SetText(text);
    counter.Repaint();
}

void Tick(VLWindow *);

// Running is the timer callback being attached: paused, the window's ticks turn nothing.
void SetRunning(bool run)
{
    running = run;
    if (run)
        window.AttachTimerEvent(Tick);
    else
        window.DetachTimerEvent();
    pauseButton.SetText(run ? "Pause" : "Run");
    pauseButton.Repaint();
}

void Tick(VLWindow *)
{
    ++frame;
    ShowCount();
    view.Repaint();
    if (frame == lastFrame) {
        SetRunning(false);
        lastFrame = -1; // Run turns on from here without a limit
        std::printf("frame %lld\n", frame);
        std::fflush(stdout);
    }
}

void PauseOrRun(VLPushButton *) { SetRunning(!running); }

void WindowEvent(VLWindow *, VLSTWindowEvent event)
{
    if (event.event == 101) // destroyed: closed or Escape
        PostQuitMessage(0);
}

// The value of "--frames N": a whole number from 0 to INT_MAX, nothing else.
bool ReadFrames(const char *text, long long &frames)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno || *end || value < 0 || value > INT_MAX)
        return false;
    frames = value;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc && ReadFrames(argv[i + 1], lastFrame)) {
            ++i;
            continue;
        }
        std::fprintf(stderr, "usage: %s [--frames N]   (N from 0 to %d)\n", argv[0], INT_MAX);
        return 2;
    }

    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    if (window.CreateNewWindow("OpenGL view", 20, 20, 340, 290, 0) < 0)
        return 1;
    window.SetBackgroundColor(0xFF2A3038);
    window.AttachWindowEvent(WindowEvent);

    window.Add(&view);
    view.AttachOpenGL(&window, Render);
    view.SetBounds(10, 10, ViewWidth, ViewHeight); // attached: this makes the view's window
    view.SetHintText("Rendered by OpenGL");

    pauseButton.SetBounds(10, 258, 80, 24);
    pauseButton.SetBackgroundColor(0xFFC8CED6);
    pauseButton.SetForegroundColor(0xFF000000);
    pauseButton.AttachSelectEvent(PauseOrRun);
    window.Add(&pauseButton);

    counter.SetBounds(102, 261, 228, 18);
    counter.SetBackgroundColor(0xFF2A3038);
    counter.SetForegroundColor(0xFFE8ECF0);
    window.Add(&counter);
    ShowCount();

    if (lastFrame == 0) { // only the first frame
        pauseButton.SetText("Run");
        lastFrame = -1;
        std::printf("frame 0\n");
        std::fflush(stdout);
    } else {
        SetRunning(true);
    }
    window.ShowWindow(1);
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
