// Two windows and a dialog. The first window keeps a log of the events it receives (keys, mouse
// buttons, activation) and draws it; the dialog opens once the windows are up, and again
// whenever the second window is clicked; closing the first window ends the program.
#include <vorla/VorlaLib.h>

#include <cstdio>
#include <cstring>

namespace {

VLWindow mainWindow;
VLWindow sideWindow;
VLWindow dialog;

// The last lines of the event log, oldest first.
constexpr int LogLines = 11;
char eventLog[LogLines][64];
int logged = 0;

void Log(const char *line)
{
    if (logged == LogLines) {
        std::memmove(eventLog[0], eventLog[1], sizeof eventLog[0] * (LogLines - 1));
        --logged;
    }
    std::snprintf(eventLog[logged++], sizeof eventLog[0], "%s", line);
    mainWindow.UpdateWindow();
}

void DrawLog(VLWindow *window)
{
    window->BeginPaint();
    window->SetForegroundColor(0xFFFFFFFF);
    window->SetFontSize(16);
    window->DrawTextA(10, 8, "Events");
    window->SetFontSize(12);
    for (int i = 0; i < logged; ++i)
        window->DrawTextA(10, 32 + i * 14, eventLog[i]);
    window->EndPaint();
}

void MainWindowEvent(VLWindow *window, VLSTWindowEvent event)
{
    char line[64];
    switch (event.event) {
    case 101:
        PostQuitMessage(0);
        break;
    case 102:
        DrawLog(window); // painting is not logged: the log would repaint itself forever
        break;
    default:
        std::snprintf(line, sizeof line, "window %d at (%d, %d), %d x %d", event.event, event.x, event.y,
                      event.width, event.height);
        Log(line);
        break;
    }
}

void MainWindowMouse(VLWindow *window, VLSTMouseEvent event)
{
    if (event.event == 302)
        return; // moves would flood the log
    char line[64];
    std::snprintf(line, sizeof line, "mouse %d at (%d, %d) left %d right %d", event.event, event.x, event.y,
                  event.left, event.right);
    Log(line);
}

void MainWindowKey(VLWindow *window, VLSTKeyEvent event)
{
    char line[64];
    if (event.key >= 0x20 && event.key < 0x7F)
        std::snprintf(line, sizeof line, "key %d '%c' modifiers %08X", event.event, event.key, event.modifiers);
    else
        std::snprintf(line, sizeof line, "key %d %06X modifiers %08X", event.event, event.key, event.modifiers);
    Log(line);
}

void OpenDialog()
{
    if (dialog.CreateNewDialog("Dialog", 300, 230, 240, 120) < 0)
        return;
    dialog.SetBackgroundColor(0xFFFFFFC0);
    dialog.DoModal();
}

void SideWindowMouse(VLWindow *window, VLSTMouseEvent event)
{
    if (event.event == 301)
        OpenDialog();
}

// The first tick after the windows appear opens the dialog once.
void SideWindowTimer(VLWindow *window)
{
    window->DetachTimerEvent();
    OpenDialog();
}

} // namespace

int main()
{
    VorlaInitialize(nullptr, GetModuleHandleA(nullptr));

    if (mainWindow.CreateNewWindow("Hello: type or click here", 40, 40, 320, 200, 1) < 0)
        return 1;
    mainWindow.SetBackgroundColor(0xFF336699);
    mainWindow.AttachWindowEvent(MainWindowEvent);
    mainWindow.AttachMouseEvent(MainWindowMouse);
    mainWindow.AttachKeyEvent(MainWindowKey);

    if (sideWindow.CreateNewWindow("Click me for a dialog", 400, 40, 240, 160, 0) < 0)
        return 1;
    sideWindow.SetBackgroundColor(0xFF99CC66);
    sideWindow.AttachMouseEvent(SideWindowMouse);
    sideWindow.AttachTimerEvent(SideWindowTimer);

    sideWindow.ShowWindow(1);
    mainWindow.ShowWindow(1);
    VorlaMessageLoop();
    VorlaTerminate();
    return 0;
}
