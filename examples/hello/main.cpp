// Two windows and a dialog: the dialog opens once the windows are up, and again whenever the
// second window is clicked; closing the first window ends the program.
#include <vorla/VorlaLib.h>

namespace {

VLWindow mainWindow;
VLWindow sideWindow;
VLWindow dialog;

void MainWindowEvent(VLWindow *window, VLSTWindowEvent event)
{
    if (event.event == 101)
        PostQuitMessage(0);
}

void OpenDialog()
{
    if (dialog.CreateNewDialog("Dialog", 260, 220, 240, 120) < 0)
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

    if (mainWindow.CreateNewWindow("Hello", 40, 40, 320, 200, 1) < 0)
        return 1;
    mainWindow.SetBackgroundColor(0xFF336699);
    mainWindow.AttachWindowEvent(MainWindowEvent);

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
