// A starting point for a VorlaLib application that draws with OpenGL: a window with a label and a
// view in which a red triangle stands on a blue ground. The view's callback runs on every paint of
// the view with its context current; everything else is the toolkit's widgets as usual.
#include "app.h"

#include <GL/gl.h>

namespace app {

VLWindow window;
VLLabel caption;
VLImage view;

namespace {

void Render()
{
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.0f, 0.5f);
    glEnd();
}

void WindowEvent(VLWindow *, VLSTWindowEvent event)
{
    if (event.event == 101) // the window was closed
        PostQuitMessage(0);
}

} // namespace

bool Open()
{
    if (window.CreateNewWindow("Triangle", 40, 40, 240, 120, 0) < 0)
        return false;
    window.SetBackgroundColor(0xFFE8E8F0);
    window.AttachWindowEvent(WindowEvent);

    caption.SetBounds(10, 10, 90, 20);
    caption.SetText("A triangle:");
    caption.SetBackMode(0);
    window.Add(&caption);

    // The image becomes the view at its next size: attach first, then place it.
    window.Add(&view);
    if (!view.AttachOpenGL(&window, Render))
        return false;
    view.SetBounds(ViewX, ViewY, ViewWidth, ViewHeight);

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
