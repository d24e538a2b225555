// A starting point for a VorlaLib application: a window that greets whoever types their name, and
// lets the greeting fade after a few seconds. Copy this folder and grow the program from here.
#include <vorla/VorlaLib.h>

#include <cstdio>

// The window and its widgets live in a namespace of their own, so the test (app_test.cpp) can
// reach them; main() is left out of the test program.
namespace app {

VLWindow window;
VLLabel prompt;
VLEditBox name;
VLPushButton greet;
VLLabel greeting;

// Window timer ticks (100 ms each) the greeting stays.
constexpr int GreetingTicks = 30;
int ticksLeft = 0;

namespace {

void Greet(VLPushButton *)
{
    char typed[256] = {};
    name.GetText(typed, 255);
    char line[300];
    if (typed[0] == '\0')
        std::snprintf(line, sizeof line, "Please type your name first.");
    else
        std::snprintf(line, sizeof line, "Hello, %s!", typed);
    greeting.SetText(line);
    greeting.Repaint();
    ticksLeft = GreetingTicks;
}

void Tick(VLWindow *)
{
    if (ticksLeft > 0 && --ticksLeft == 0) {
        greeting.SetText("");
        greeting.Repaint();
    }
}

void WindowEvent(VLWindow *, VLSTWindowEvent event)
{
    if (event.event == 101) // the window was closed
        PostQuitMessage(0);
}

} // namespace

// Creates and shows the main window; false when it cannot be made.
bool Open()
{
    ticksLeft = 0;
    if (window.CreateNewWindow("Greeter", 40, 40, 320, 120, 0) < 0)
        return false;
    window.SetBackgroundColor(0xFFE8E8F0);
    window.AttachWindowEvent(WindowEvent);
    window.AttachTimerEvent(Tick);

    prompt.SetBounds(12, 16, 80, 20);
    prompt.SetText("Your name:");
    prompt.SetBackMode(0);
    window.Add(&prompt);

    name.SetBounds(96, 14, 130, 22);
    name.SetMaxLength(40);
    window.Add(&name);

    greet.SetBounds(236, 12, 70, 26);
    greet.SetText("Greet");
    greet.SetHintText("Say hello");
    greet.AttachSelectEvent(Greet);
    window.Add(&greet);

    greeting.SetBounds(12, 60, 294, 24);
    greeting.SetFontSize(16);
    greeting.SetBackMode(0);
    window.Add(&greeting);

    window.ShowWindow(1);
    return true;
}

} // namespace app

#ifndef APP_NO_MAIN
int main()
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));
    if (!app::Open())
        return 1;
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
#endif
